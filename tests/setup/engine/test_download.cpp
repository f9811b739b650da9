#include <gtest/gtest.h>

#include <cstdlib>

#include "download_support.h"
#include "setup/engine/DownloadSequence.h"
#include "setup/engine/Transfer.h"
#include "support/TempWinRoot.h"

using setup::Answer;
using testing_support::LoopbackServer;

namespace {

const std::string kBody(5000, 'x');

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
        int outcome = 0;
        setup::TransferNotices notices;
        notices.progress = [&](const std::string& text) { progress.push_back(text); };
        notices.done = [&] { outcome = 1; };
        notices.failed = [&] { outcome = 2; };
        transfer.start(server.url(path), folder, notices);
        EXPECT_TRUE(scheduler.runUntil([&] { return outcome != 0; }));
        return outcome == 1;
    }

    std::vector<std::string> leftovers(const std::string& folder) {
        return root.fs().list(folder, "~*");
    }

    testing_support::TempWinRoot root;
    LoopbackServer server;
    testing_support::VirtualScheduler scheduler;
    long long fakeMs = 0;
    setup::CurlTransfer transfer{
        root.fs(), scheduler, setup::CurlTransferOptions{[this] { return fakeMs += 1001; }, 400}};
    std::vector<std::string> progress;
};

TEST_F(Downloads, FetchesWhatTheServerSendsUnderTheUrlsName) {
    const struct {
        const char* path;
        const char* savedAs;
        std::string bytes;
    } cases[] = {
        {"/pkg/plain.bin", "plain.bin", kBody},
        {"/pkg/nolength.bin", "nolength.bin", kBody},
        {"/pkg/moved.bin", "moved.bin", "second edition"},
    };
    for (const auto& c : cases) {
        progress.clear();
        EXPECT_TRUE(fetch(c.path)) << c.path;
        EXPECT_EQ(root.readHostFile(std::string("app/") + c.savedAs), c.bytes) << c.path;
        ASSERT_FALSE(progress.empty()) << c.path;
        // The paced clock makes every piece a report; the last one says all has arrived.
        const bool known = std::string(c.path) != "/pkg/nolength.bin";
        EXPECT_EQ(progress.back().substr(0, progress.back().find(',')), known ? "100" : "0");
    }
    EXPECT_TRUE(leftovers("c:\\app").empty());
}

TEST_F(Downloads, FailuresLeaveNoPartialFileAndTheOldOneWhole) {
    root.writeHostFile("app/plain.bin", "old");
    for (const char* path :
         {"/pkg/plain.bin", "/pkg/denied.bin", "/pkg/absent.bin", "/pkg/stalls.bin"})
        root.writeHostFile(std::string("app/") + (std::string(path).substr(5)), "old");

    EXPECT_FALSE(fetch("/pkg/denied.bin"));  // 401 is no success, even with a body
    EXPECT_FALSE(fetch("/pkg/absent.bin"));
    EXPECT_FALSE(fetch("/pkg/stalls.bin"));
    EXPECT_EQ(server.hits("/pkg/stalls.bin"), 1);
    EXPECT_FALSE(fetch("/pkg/plain.bin", "c:\\no such folder"));
    for (const char* name : {"denied.bin", "absent.bin", "stalls.bin"})
        EXPECT_EQ(root.readHostFile(std::string("app/") + name), "old") << name;
    EXPECT_TRUE(leftovers("c:\\app").empty());
}

TEST_F(Downloads, AHostileNameIsRefusedBeforeAskingTheServer) {
    EXPECT_FALSE(fetch("/pkg/..%5C..%5Cwindows%5Cevil.exe"));
    EXPECT_FALSE(fetch("/pkg/"));
    EXPECT_EQ(server.hits("/pkg/..%5C..%5Cwindows%5Cevil.exe"), 0);
    EXPECT_TRUE(root.fs().list("c:\\app", "*.*").empty());
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
    testing_support::RecordingView view;
    testing_support::ScriptedPrompter prompter({Answer::Yes, Answer::No});
    view.clock = prompter.clock = [this] { return scheduler.now(); };
    setup::DownloadSequence sequence(view, prompter, scheduler, transfer, {"c:\\inst", false});
    view.setValue(10);  // where the copy pass left the main bar
    int finished = 0;
    sequence.start({{server.url("/pkg/plain.bin"), "c:\\app"},
                    {server.url("/slow/second.bin"), ""},
                    {server.url("/pkg/missing.bin"), "c:\\app\\"}},
                   10 + 3 - 1, [&] { ++finished; });
    ASSERT_TRUE(scheduler.runUntil([&] { return finished > 0; }));

    EXPECT_EQ(root.readHostFile("app/plain.bin"), kBody);
    EXPECT_EQ(root.readHostFile("inst/second.bin"), "on the second try");
    EXPECT_FALSE(root.fs().exists("c:\\app\\missing.bin"));
    EXPECT_TRUE(leftovers("c:\\app").empty());
    EXPECT_TRUE(leftovers("c:\\inst").empty());

    const std::string question = "Instavo Error: Can't download file.\nTry again ?";
    EXPECT_EQ(prompter.questions, (std::vector<std::string>{question, question}));
    EXPECT_EQ(view.values, (std::vector<int>{10, 11, 12, 13, 12}));
    // No moves on within one completion poll.
    EXPECT_LE(view.valueTimes[3] - prompter.askTimes[1], 3000);
    EXPECT_EQ(finished, 1);
    EXPECT_TRUE(view.downloadShown);
    EXPECT_EQ(view.statuses.back(), "Downloading files from Internet...");
    EXPECT_EQ(view.currentFiles.front(), server.url("/pkg/plain.bin"));
    EXPECT_EQ(view.lines.front(), "Contacting the server...|");
    EXPECT_EQ(view.lines.back(), "|");
    bool sawRate = false;
    for (const auto& line : view.lines)
        sawRate = sawRate || (line.rfind("Estimated time left: ", 0) == 0 &&
                              line.find("|Transfer Rate: ") != std::string::npos);
    EXPECT_TRUE(sawRate);
    EXPECT_EQ(view.percents.back(), 0);  // each download starts its bar afresh
}

TEST_F(Downloads, SilentRunLeavesAFailedFileOutWithoutAsking) {
    testing_support::RecordingView view;
    testing_support::ScriptedPrompter prompter({Answer::Yes});
    setup::DownloadSequence sequence(view, prompter, scheduler, transfer, {"c:\\inst", true});
    bool finished = false;
    sequence.start({{server.url("/pkg/absent.bin"), ""}}, 7, [&] { finished = true; });
    ASSERT_TRUE(scheduler.runUntil([&] { return finished; }));
    EXPECT_TRUE(prompter.questions.empty());
    ASSERT_EQ(prompter.messages.size(), 1u);
    EXPECT_EQ(view.values, (std::vector<int>{1, 7}));
    EXPECT_FALSE(root.fs().exists("c:\\inst\\absent.bin"));
}

}  // namespace
