#include <curl/curl.h>

#include <chrono>
#include <memory>
#include <mutex>

#include "platform/FileSystem.h"
#include "setup/engine/DownloadMeter.h"
#include "setup/engine/Transfer.h"

namespace setup {
namespace {

std::int64_t steadyMs() {
    return std::chrono::duration_cast<std::chrono::milliseconds>(
               std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

bool isHttp(CURL* curl) {
    const char* scheme = nullptr;
    curl_easy_getinfo(curl, CURLINFO_SCHEME, &scheme);
    return scheme && (curl_strequal(scheme, "http") || curl_strequal(scheme, "https"));
}

bool statusAccepted(CURL* curl) {
    if (!isHttp(curl)) return true;
    long code = 0;
    curl_easy_getinfo(curl, CURLINFO_RESPONSE_CODE, &code);
    return code == 200 || code == 206;
}

struct Job {
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
    // Stall watch, always on the real clock: pacing may be virtual in tests, waiting is not.
    std::int64_t lastDlNow = -1;
    std::int64_t lastByteMs = 0;

    std::int64_t now() const { return (*clock)(); }
    void startMeter() {
        if (meterStarted) return;
        curl_off_t length = -1;
        curl_easy_getinfo(curl, CURLINFO_CONTENT_LENGTH_DOWNLOAD_T, &length);
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
    if (!statusAccepted(job.curl)) return 0;
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
    return now - job.lastByteMs > job.stallMs ? 1 : 0;
}

bool fetchInto(const CurlTransferOptions& options, Job& job, const std::string& url) {
    std::unique_ptr<CURL, decltype(&curl_easy_cleanup)> curl(curl_easy_init(), curl_easy_cleanup);
    if (!curl) return false;
    job.curl = curl.get();
    CURL* c = curl.get();
    std::unique_ptr<curl_slist, decltype(&curl_slist_free_all)> headers(
        curl_slist_append(curl_slist_append(nullptr, "Cache-Control: no-cache"),
                          "Pragma: no-cache"),
        curl_slist_free_all);

    curl_easy_setopt(c, CURLOPT_URL, url.c_str());
    curl_easy_setopt(c, CURLOPT_PROTOCOLS_STR, "http,https,ftp");
    curl_easy_setopt(c, CURLOPT_REDIR_PROTOCOLS_STR, "http,https,ftp");
    curl_easy_setopt(c, CURLOPT_FOLLOWLOCATION, 1L);
    curl_easy_setopt(c, CURLOPT_MAXREDIRS, 20L);
    curl_easy_setopt(c, CURLOPT_USERAGENT, options.userAgent.c_str());
    curl_easy_setopt(c, CURLOPT_HTTPHEADER, headers.get());
    curl_easy_setopt(c, CURLOPT_NOSIGNAL, 1L);
    curl_easy_setopt(c, CURLOPT_HEADERFUNCTION, onHeader);
    curl_easy_setopt(c, CURLOPT_HEADERDATA, &job);
    curl_easy_setopt(c, CURLOPT_WRITEFUNCTION, onBody);
    curl_easy_setopt(c, CURLOPT_WRITEDATA, &job);
    curl_easy_setopt(c, CURLOPT_NOPROGRESS, 0L);
    curl_easy_setopt(c, CURLOPT_XFERINFOFUNCTION, onProgress);
    curl_easy_setopt(c, CURLOPT_XFERINFODATA, &job);

    job.responseMs = job.now();
    job.lastByteMs = steadyMs();
    const CURLcode result = curl_easy_perform(c);
    if (result != CURLE_OK || job.writeFailed || !statusAccepted(c)) return false;
    job.startMeter();
    job.report();
    return true;
}

bool fetch(platform::FileSystem& files, const CurlTransferOptions& options, Job& job,
           const std::string& url, const std::string& targetFolder) {
    const auto name = downloadFileName(url);
    if (!name || targetFolder.empty()) return false;
    std::string folder = targetFolder;
    if (folder.back() != '\\') folder += '\\';
    const std::string finalPath = folder + *name;
    const std::string tempPath = folder + "~" + *name + ".part";

    auto file = files.open(tempPath, platform::FileSystem::OpenMode::Write);
    if (!file) return false;
    job.file = file.get();
    bool ok = fetchInto(options, job, url);
    file.reset();
    // Copying keeps an existing file whole until the new one is complete beside it.
    ok = ok && files.copyFile(tempPath, finalPath, true);
    files.removeFile(tempPath);
    return ok;
}

}  // namespace

CurlTransfer::CurlTransfer(platform::FileSystem& files, Scheduler& scheduler,
                           CurlTransferOptions options)
    : files_(files), scheduler_(scheduler), options_(std::move(options)) {
    static std::once_flag once;
    std::call_once(once, [] { curl_global_init(CURL_GLOBAL_DEFAULT); });
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
    Job job;
    job.notices = &notices;
    job.clock = &options_.clockMs;
    job.abort = &abort_;
    job.stallMs = options_.stallMs;
    job.scheduler = &scheduler_;
    const bool ok = fetch(files_, options_, job, url, targetFolder);
    // The last thing the worker does: the page may start the next transfer as soon as it sees
    // this.
    scheduler_.post([notices = std::move(notices), ok] {
        if (ok && notices.done) notices.done();
        if (!ok && notices.failed) notices.failed();
    });
}

}  // namespace setup
