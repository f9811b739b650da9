#include <chrono>
#include <memory>
#include <optional>

#include "platform/FileSystem.h"
#include "setup/engine/CurlLibrary.h"
#include "setup/engine/DownloadMeter.h"
#include "setup/engine/Transfer.h"

namespace setup {
namespace {

std::int64_t steadyMs() {
    return std::chrono::duration_cast<std::chrono::milliseconds>(
               std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

bool isHttp(const CurlLibrary& api, CURL* curl) {
    const char* scheme = nullptr;
    api.easyGetinfo(curl, CURLINFO_SCHEME, &scheme);
    return scheme && (api.strequal(scheme, "http") || api.strequal(scheme, "https"));
}

long responseCode(const CurlLibrary& api, CURL* curl) {
    long code = 0;
    api.easyGetinfo(curl, CURLINFO_RESPONSE_CODE, &code);
    return code;
}

bool statusAccepted(const CurlLibrary& api, CURL* curl) {
    if (!isHttp(api, curl)) return true;
    const long code = responseCode(api, curl);
    return code == 200 || code == 206;
}

using Outcome = std::optional<TransferFailure>;  // nothing: done

Outcome failure(std::string why) {
    return TransferFailure{std::move(why), true};
}

struct Job {
    const CurlLibrary* api = nullptr;
    CURL* curl = nullptr;
    platform::File* file = nullptr;
    const std::function<std::int64_t()>* clock = nullptr;
    const std::atomic<bool>* abort = nullptr;
    int stallMs = 0;
    Scheduler* scheduler = nullptr;
    TransferNotices* notices = nullptr;
    DownloadMeter meter;
    bool meterStarted = false;
    std::int64_t responseMs = 0;
    std::int64_t received = 0;
    bool writeFailed = false;
    bool stalled = false;
    // Stall watch, always on the real clock: pacing may be virtual in tests, waiting is not.
    std::int64_t lastDlNow = -1;
    std::int64_t lastByteMs = 0;

    std::int64_t now() const { return (*clock)(); }
    void startMeter() {
        if (meterStarted) return;
        curl_off_t length = -1;
        api->easyGetinfo(curl, CURLINFO_CONTENT_LENGTH_DOWNLOAD_T, &length);
        meter.start(responseMs, length > 0 ? length : 0);
        meterStarted = true;
    }
    void report() {
        if (auto text = meter.report(now(), received)) {
            scheduler->post([progress = notices->progress, text = std::move(*text)] {
                if (progress) progress(text);
            });
        }
    }
};

size_t onHeader(char* data, size_t size, size_t count, void* user) {
    auto& job = *static_cast<Job*>(user);
    const std::string_view line(data, size * count);
    // A blank line ends one answer's headers; after redirects the last answer is the one whose
    // body arrives, and its time is when the transfer starts. Trailers after a body end with
    // a blank line too, and change nothing.
    if ((line == "\r\n" || line == "\n") && job.received == 0) {
        job.responseMs = job.now();
        job.meterStarted = false;
    }
    return size * count;
}

size_t onBody(char* data, size_t size, size_t count, void* user) {
    auto& job = *static_cast<Job*>(user);
    const size_t n = size * count;
    // Refusing the body of an error page stops the transfer at once.
    if (!statusAccepted(*job.api, job.curl)) return 0;
    job.startMeter();
    if (n > 0 && job.file->write(data, n) != static_cast<std::int64_t>(n)) {
        job.writeFailed = true;
        return 0;
    }
    job.received += static_cast<std::int64_t>(n);
    job.report();
    return n;
}

int onProgress(void* user, curl_off_t, curl_off_t dlnow, curl_off_t, curl_off_t) {
    auto& job = *static_cast<Job*>(user);
    if (*job.abort) return 1;
    const std::int64_t now = steadyMs();
    if (dlnow != job.lastDlNow) {
        job.lastDlNow = dlnow;
        job.lastByteMs = now;
        return 0;
    }
    job.stalled = now - job.lastByteMs > job.stallMs;
    return job.stalled ? 1 : 0;
}

Outcome fetchInto(const CurlTransferOptions& options, Job& job, const std::string& url) {
    const CurlLibrary& api = *job.api;
    char error[CURL_ERROR_SIZE] = {};  // outlives the handle that writes into it
    std::unique_ptr<CURL, void (*)(CURL*)> curl(api.easyInit(), api.easyCleanup);
    if (!curl) return failure("libcurl could not start a transfer");
    job.curl = curl.get();
    CURL* c = curl.get();
    std::unique_ptr<curl_slist, void (*)(curl_slist*)> headers(
        api.slistAppend(api.slistAppend(nullptr, "Cache-Control: no-cache"), "Pragma: no-cache"),
        api.slistFreeAll);

    api.easySetopt(c, CURLOPT_URL, url.c_str());
    api.easySetopt(c, CURLOPT_PROTOCOLS_STR, "http,https,ftp");
    api.easySetopt(c, CURLOPT_REDIR_PROTOCOLS_STR, "http,https,ftp");
    api.easySetopt(c, CURLOPT_FOLLOWLOCATION, 1L);
    api.easySetopt(c, CURLOPT_MAXREDIRS, 20L);
    api.easySetopt(c, CURLOPT_USERAGENT, options.userAgent.c_str());
    api.easySetopt(c, CURLOPT_HTTPHEADER, headers.get());
    api.easySetopt(c, CURLOPT_NOSIGNAL, 1L);
    api.easySetopt(c, CURLOPT_ERRORBUFFER, error);
    // Certificates and host names are always verified: libcurl's defaults, set here so that
    // nothing else can loosen them.
    api.easySetopt(c, CURLOPT_SSL_VERIFYPEER, 1L);
    api.easySetopt(c, CURLOPT_SSL_VERIFYHOST, 2L);
    if (!options.trustedCertificates.empty())
        api.easySetopt(c, CURLOPT_CAINFO, options.trustedCertificates.c_str());
    api.easySetopt(c, CURLOPT_HEADERFUNCTION, onHeader);
    api.easySetopt(c, CURLOPT_HEADERDATA, &job);
    api.easySetopt(c, CURLOPT_WRITEFUNCTION, onBody);
    api.easySetopt(c, CURLOPT_WRITEDATA, &job);
    api.easySetopt(c, CURLOPT_NOPROGRESS, 0L);
    api.easySetopt(c, CURLOPT_XFERINFOFUNCTION, onProgress);
    api.easySetopt(c, CURLOPT_XFERINFODATA, &job);

    job.responseMs = job.now();
    job.lastByteMs = steadyMs();
    const CURLcode result = api.easyPerform(c);
    if (job.writeFailed) return failure("the file could not be written");
    if (job.stalled)
        return failure("nothing arrived for " + std::to_string(job.stallMs / 1000) + " s");
    // A refused answer stops the transfer with a write error: the answer is the news.
    if (isHttp(api, c) && responseCode(api, c) != 0 && !statusAccepted(api, c))
        return failure("the server answered " + std::to_string(responseCode(api, c)));
    if (result != CURLE_OK) return failure(error[0] ? error : api.easyStrerror(result));
    if (!statusAccepted(api, c)) return failure("the server sent no answer");
    job.startMeter();
    job.report();
    return std::nullopt;
}

Outcome fetch(platform::FileSystem& files, const CurlTransferOptions& options, Job& job,
              const std::string& url, const std::string& targetFolder) {
    const auto name = downloadFileName(url);
    if (!name) return failure("the address names no file");
    if (targetFolder.empty()) return failure("there is no folder to put it in");
    std::string folder = targetFolder;
    if (folder.back() != '\\') folder += '\\';
    const std::string finalPath = folder + *name;
    const std::string tempPath = folder + "~" + *name + ".part";

    auto file = files.open(tempPath, platform::FileSystem::OpenMode::Write);
    if (!file) return failure(tempPath + " cannot be written");
    job.file = file.get();
    Outcome outcome = fetchInto(options, job, url);
    file.reset();
    // Copying keeps an existing file whole until the new one is complete beside it.
    if (!outcome && !files.copyFile(tempPath, finalPath, true))
        outcome = failure(finalPath + " cannot be written");
    files.removeFile(tempPath);
    return outcome;
}

}  // namespace

CurlTransfer::CurlTransfer(platform::FileSystem& files, Scheduler& scheduler,
                           CurlTransferOptions options)
    : files_(files), scheduler_(scheduler), options_(std::move(options)) {
    if (!options_.clockMs) options_.clockMs = steadyMs;
}

CurlTransfer::~CurlTransfer() {
    abort_ = true;
    if (worker_.joinable()) worker_.join();
}

void CurlTransfer::start(const std::string& url, const std::string& targetFolder,
                         TransferNotices notices) {
    if (worker_.joinable()) worker_.join();
    abort_ = false;
    worker_ = std::thread(&CurlTransfer::run, this, url, targetFolder, std::move(notices));
}

void CurlTransfer::run(std::string url, std::string targetFolder, TransferNotices notices) {
    // Opened here, by the first download, so that a run without one never loads libcurl.
    std::string why;
    const CurlLibrary* api =
        options_.library.empty() ? curlLibrary(&why) : openCurlLibrary(options_.library, &why);
    Outcome outcome = TransferFailure{why, false};
    if (api) {
        Job job;
        job.api = api;
        job.notices = &notices;
        job.clock = &options_.clockMs;
        job.abort = &abort_;
        job.stallMs = options_.stallMs;
        job.scheduler = &scheduler_;
        outcome = fetch(files_, options_, job, url, targetFolder);
    }
    // The last thing the worker does: the page may start the next transfer as soon as it sees
    // this.
    scheduler_.post([notices = std::move(notices), outcome = std::move(outcome)] {
        if (!outcome && notices.done) notices.done();
        if (outcome && notices.failed) notices.failed(*outcome);
    });
}

}  // namespace setup
