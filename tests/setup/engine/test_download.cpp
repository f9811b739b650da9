#include <gtest/gtest.h>

#include <cstdlib>

#include "download_support.h"
#include "setup/engine/DownloadSequence.h"
#include "setup/engine/Transfer.h"
#include "support/TempWinRoot.h"
#include "tls_support.h"

using setup::Answer;
using testing_support::LoopbackServer;

namespace {

const std::string kBody(5000, 'x');
constexpr std::chrono::seconds kLimit(30);

std::string ok(const std::string& body, bool withLength = true) {
    return "HTTP/1.1 200 OK\r\n" +
           (withLength ? "Content-Length: " + std::to_string(body.size()) + "\r\n" : "") +
           "Connection: close\r\n\r\n" + body;
}

class Downloads : public ::testing::Test {
protected:
    void SetUp() override {
        for (const char* name :
             {"http_proxy", "HTTP_PROXY", "https_proxy", "ALL_PROXY", "all_proxy"})
            unsetenv(name);
        root.fs().createDirectory("c:\\app");
        root.fs().createDirectory("c:\\inst");
        server.on("/pkg/plain.bin", LoopbackServer::reply(ok(kBody)));
        server.on("/pkg/nolength.bin", LoopbackServer::reply(ok(kBody, false)));
        server.on("/pkg/denied.bin",
                  LoopbackServer::reply("HTTP/1.1 401 Unauthorized\r\nWWW-Authenticate: Basic "
                                        "realm=\"x\"\r\nContent-Length: 4\r\n\r\nnope"));
        server.on("/pkg/moved.bin",
                  LoopbackServer::reply("HTTP/1.1 302 Found\r\nLocation: /mirror/v2.bin\r\n"
                                        "Content-Length: 0\r\nConnection: close\r\n\r\n"));
        server.on("/mirror/v2.bin", LoopbackServer::reply(ok("second edition")));
        // Sends a little, then nothing, until the client gives up.
        server.on("/pkg/stalls.bin", [this](int fd) {
            LoopbackServer::send(fd, "HTTP/1.1 200 OK\r\nContent-Length: 100\r\n\r\npartial");
            server.waitForClose(fd);
        });
    }

    // Runs one transfer to its end; true when it ended with done.
    bool fetch(const std::string& path, const std::string& folder = "c:\\app") {
        return fetchWith(transfer, server.url(path), folder);
    }
    bool fetchWith(setup::Transfer& with, const std::string& url,
                   const std::string& folder = "c:\\app") {
        int outcome = 0;
        setup::TransferNotices notices;
        notices.progress = [&](const std::string& text) { progress.push_back(text); };
        notices.done = [&] { outcome = 1; };
        notices.failed = [&](const setup::TransferFailure& why) {
            outcome = 2;
            failure = why;
        };
        with.start(url, folder, notices);
        EXPECT_TRUE(scheduler.runUntil([&] { return outcome != 0; }, kLimit));
        return outcome == 1;
    }

    std::vector<std::string> leftovers(const std::string& folder) {
        return root.fs().list(folder, "~*");
    }

    testing_support::TempWinRoot root;
    LoopbackServer server;
    setup::LoopScheduler scheduler;
    long long fakeMs = 0;
    // Every piece a progress report (the clock moves a second a look), stalls given up soon.
    setup::CurlTransferOptions paced(int stallMs) {
        setup::CurlTransferOptions options;
        options.clockMs = [this] { return fakeMs += 1001; };
        options.stallMs = stallMs;
        return options;
    }
    setup::CurlTransfer transfer{root.fs(), scheduler, paced(400)};
    std::vector<std::string> progress;
    setup::TransferFailure failure;
};

TEST_F(Downloads, FetchesWhatTheServerSendsUnderTheUrlsName) {
    const std::pair<const char*, std::string> cases[] = {
        {"plain.bin", kBody}, {"nolength.bin", kBody}, {"moved.bin", "second edition"}};
    for (const auto& [name, bytes] : cases) {
        progress.clear();
        EXPECT_TRUE(fetch(std::string("/pkg/") + name)) << name;
        EXPECT_EQ(root.readHostFile(std::string("app/") + name), bytes) << name;
        // The paced clock makes every piece a report; the last one says all has arrived.
        ASSERT_FALSE(progress.empty()) << name;
        EXPECT_EQ(progress.back().substr(0, progress.back().find(',')),
                  std::string(name) == "nolength.bin" ? "0" : "100");
    }
    EXPECT_TRUE(leftovers("c:\\app").empty());
}

TEST_F(Downloads, FailuresLeaveNoPartialFileAndTheOldOneWhole) {
    // 401 is no success, even with a body; a stalled server is given up.
    for (const char* name : {"denied.bin", "absent.bin", "stalls.bin"}) {
        root.writeHostFile(std::string("app/") + name, "old");
        EXPECT_FALSE(fetch(std::string("/pkg/") + name)) << name;
        EXPECT_EQ(root.readHostFile(std::string("app/") + name), "old") << name;
    }
    EXPECT_FALSE(fetch("/pkg/plain.bin", "c:\\no such folder"));
    // A name that would leave its folder is refused before the server is asked.
    EXPECT_FALSE(fetch("/pkg/..%5C..%5Cwindows%5Cevil.exe"));
    EXPECT_EQ(server.hits("/pkg/..%5C..%5Cwindows%5Cevil.exe"), 0);
    EXPECT_EQ(root.fs().list("c:\\app", "*.*").size(), 3u);
}

TEST_F(Downloads, SequenceRetriesSkipsAndFinishes) {
    // The slow server stalls the first time and answers the second.
    server.on("/slow/second.bin", [this](int fd) {
        if (server.hits("/slow/second.bin") == 1) {
            LoopbackServer::send(fd, "HTTP/1.1 200 OK\r\nContent-Length: 50\r\n\r\nsome");
            server.waitForClose(fd);
        } else {
            LoopbackServer::send(fd, ok("on the second try"));
        }
    });
    testing_support::RecordingPage page(scheduler, {Answer::Yes, Answer::No});
    setup::DownloadSequence sequence(page, page, scheduler, transfer, {"c:\\inst", false});
    page.setValue(10);  // where the copy pass left the main bar
    int finished = 0;
    const std::vector<std::string> urls = {server.url("/pkg/plain.bin"),
                                           server.url("/slow/second.bin"),
                                           server.url("/pkg/missing.bin")};
    sequence.start({{urls[0], "c:\\app"}, {urls[1], ""}, {urls[2], "c:\\app\\"}}, 10 + 3 - 1,
                   [&] { ++finished; });
    ASSERT_TRUE(scheduler.runUntil([&] { return finished > 0; }, kLimit));

    EXPECT_EQ(finished, 1);
    EXPECT_EQ(root.readHostFile("app/plain.bin"), kBody);
    EXPECT_EQ(root.readHostFile("inst/second.bin"), "on the second try");
    EXPECT_FALSE(root.fs().exists("c:\\app\\missing.bin"));
    EXPECT_TRUE(leftovers("c:\\app").empty());
    EXPECT_TRUE(leftovers("c:\\inst").empty());

    // What the page showed, without the progress reports (their timing is the server's).
    std::vector<std::string> shown;
    bool sawRate = false;
    long long noAt = -1, movedOnAt = -1;
    for (std::size_t i = 0; i < page.log.size(); ++i) {
        const std::string& entry = page.log[i];
        if (entry.back() == '%') continue;
        if (entry.rfind("lines Estimated time left: ", 0) == 0) {
            sawRate = sawRate || entry.find("|Transfer Rate: ") != std::string::npos;
            continue;
        }
        if (entry.rfind("ask", 0) == 0 && entry.back() == 'o') noAt = page.times[i];
        if (entry == "bar 13") movedOnAt = page.times[i];
        shown.push_back(entry);
    }
    const auto starting = [](const std::string& url) {
        return std::vector<std::string>{"shown", "lines Contacting the server...|",
                                        "status Downloading files from Internet...", "file " + url};
    };
    std::vector<std::string> expected = {"bar 10"};
    for (const auto& part : {starting(urls[0]),
                             {"bar 11", "lines |"},
                             starting(urls[1]),
                             {"ask Instavo Error: Can't download file.\nTry again ? Yes"},
                             starting(urls[1]),
                             {"bar 12", "lines |"},
                             starting(urls[2]),
                             {"ask Instavo Error: Can't download file.\nTry again ? No", "bar 13",
                              "lines |", "bar 12"}})
        expected.insert(expected.end(), part.begin(), part.end());
    EXPECT_EQ(shown, expected);
    EXPECT_TRUE(sawRate);
    EXPECT_LE(movedOnAt - noAt, 3000);  // No moves on within one completion poll
}

TEST_F(Downloads, SilentRunLeavesAFailedFileOutWithoutAsking) {
    testing_support::RecordingPage page(scheduler, {Answer::Yes});
    setup::DownloadSequence sequence(page, page, scheduler, transfer, {"c:\\inst", true});
    bool finished = false;
    sequence.start({{server.url("/pkg/absent.bin"), ""}}, 7, [&] { finished = true; });
    ASSERT_TRUE(scheduler.runUntil([&] { return finished; }, kLimit));
    const std::vector<std::string> tail(page.log.end() - 4, page.log.end());
    EXPECT_EQ(tail, (std::vector<std::string>{"message Instavo Error: Can't download file.\n" +
                                                  server.url("/pkg/absent.bin") +
                                                  "\nthe server answered 404",
                                              "bar 1", "lines |", "bar 7"}));
    EXPECT_FALSE(root.fs().exists("c:\\inst\\absent.bin"));
}

// Certificates are verified, the host's name included: only a server whose certificate comes
// from a trusted authority and names the host it was asked for is believed.
TEST_F(Downloads, HttpsFetchedOnlyFromATrustedCertificateForItsHost) {
    struct Case {
        const char* names;  // the certificate's subject alternative name
        bool trusted;       // the client is given the certificate as its authority
        bool fetched;
    };
    const Case cases[] = {{"IP:127.0.0.1", true, true},
                          {"IP:127.0.0.1", false, false},
                          {"DNS:other.example", true, false}};
    for (const Case& c : cases) {
        const std::string label = std::string(c.names) + (c.trusted ? " trusted" : " untrusted");
        testing_support::SelfSignedCertificate certificate(c.names);
        const auto pem = root.root() / "authority.pem";
        certificate.writePem(pem);
        testing_support::TlsLoopbackServer secure(certificate, ok("over TLS"));
        setup::CurlTransferOptions options = paced(2000);
        if (c.trusted) options.trustedCertificates = pem.string();
        setup::CurlTransfer tls(root.fs(), scheduler, options);
        root.fs().removeFile("c:\\app\\secure.bin");

        EXPECT_EQ(fetchWith(tls, secure.url("/pkg/secure.bin")), c.fetched) << label;
        EXPECT_EQ(root.fs().exists("c:\\app\\secure.bin"), c.fetched) << label;
        if (c.fetched) {
            EXPECT_EQ(root.readHostFile("app/secure.bin"), "over TLS") << label;
        } else {
            EXPECT_EQ(secure.answered(), 0) << label;
            EXPECT_TRUE(failure.worthRetrying) << label;
            EXPECT_NE(failure.why.find("certificate"), std::string::npos) << failure.why;
        }
        EXPECT_TRUE(leftovers("c:\\app").empty()) << label;
    }
}

// Without libcurl nothing can be fetched: the user is told why once, is not asked to try again
// (it would fail the same way), and every queued file is left out.
TEST_F(Downloads, WithoutLibcurlTheRunSaysWhyOnceAndGoesOn) {
    for (const bool silent : {false, true}) {
        setup::LoopScheduler loop;
        testing_support::RecordingPage page(loop, {Answer::Yes, Answer::Yes});
        setup::CurlTransferOptions options;
        options.library = {"libcurl-not-here.so.9"};
        setup::CurlTransfer absent(root.fs(), loop, options);
        setup::DownloadSequence sequence(page, page, loop, absent, {"c:\\inst", silent});
        bool finished = false;
        const std::string first = server.url("/pkg/plain.bin");
        sequence.start({{first, ""}, {server.url("/pkg/nolength.bin"), ""}}, 5,
                       [&] { finished = true; });
        ASSERT_TRUE(loop.runUntil([&] { return finished; }, kLimit));

        std::vector<std::string> said;
        for (const std::string& entry : page.log)
            if (entry.rfind("message", 0) == 0 || entry.rfind("ask", 0) == 0) said.push_back(entry);
        ASSERT_EQ(said.size(), 1u) << silent;
        const std::string why = "\nlibcurl could not be loaded (libcurl-not-here.so.9: ";
        EXPECT_EQ(said[0].substr(0, said[0].find(why) + why.size()),
                  "message Instavo Error: Can't download file.\n" + first + why)
            << said[0];
        EXPECT_EQ(page.log.back(), "bar 5") << silent;
    }
    EXPECT_EQ(server.hits("/pkg/plain.bin") + server.hits("/pkg/nolength.bin"), 0);
}

}  // namespace
