#pragma once
// One Internet download, fetched by a worker of its own while the user-interface thread goes
// on. The worker never touches the windows: everything it has to say arrives as a notice run
// on the user-interface thread through the Scheduler.

#include <atomic>
#include <cstdint>
#include <functional>
#include <string>
#include <thread>
#include <vector>

#include "setup/engine/Scheduler.h"

namespace platform {
class FileSystem;
}

namespace setup {

struct TransferFailure {
    // What went wrong, in a few words (the server's answer, the certificate problem).
    std::string why;
    // False when no download can succeed in this run (libcurl cannot be loaded): asking to
    // try again would only ask again.
    bool worthRetrying = true;
};

struct TransferNotices {
    // "percent,time-left,rate" (see DownloadMeter), about once a second.
    std::function<void(const std::string&)> progress;
    std::function<void()> done;
    std::function<void(const TransferFailure&)> failed;
};

class Transfer {
public:
    virtual ~Transfer() = default;
    // Fetches url into the Windows folder targetFolder under the URL's own file name. Each
    // start ends with exactly one done or failed notice; a start waits for the worker of the
    // previous one, which has sent its last notice already.
    virtual void start(const std::string& url, const std::string& targetFolder,
                       TransferNotices notices) = 0;
};

struct CurlTransferOptions {
    // Milliseconds of a monotonic clock, for pacing the progress texts; a steady clock when
    // empty.
    std::function<std::int64_t()> clockMs;
    // A transfer that receives no byte for this long fails (connecting included).
    int stallMs = 60000;
    std::string userAgent = "setup";
    // The libcurl to open (sonames or paths, the first that opens); the host's when empty.
    std::vector<std::string> library;
    // Certificates to trust in place of the host's bundle (a test's own authority). Whatever
    // it holds, every certificate is still verified, its host name included.
    std::string trustedCertificates;
};

// http://, https:// (certificates always verified), ftp://, with the URL's own port and
// redirects followed. An HTTP answer other than 200 or 206 is a failure. The file is written
// under a temporary name beside its final one and takes the final name only when complete,
// so a failed download leaves neither a partial file nor a damaged older one. libcurl is
// opened by the first start, not before (see CurlLibrary.h).
class CurlTransfer final : public Transfer {
public:
    CurlTransfer(platform::FileSystem& files, Scheduler& scheduler,
                 CurlTransferOptions options = {});
    // Aborts a running transfer and waits for its worker.
    ~CurlTransfer() override;
    CurlTransfer(const CurlTransfer&) = delete;
    CurlTransfer& operator=(const CurlTransfer&) = delete;

    void start(const std::string& url, const std::string& targetFolder,
               TransferNotices notices) override;

private:
    void run(std::string url, std::string targetFolder, TransferNotices notices);

    platform::FileSystem& files_;
    Scheduler& scheduler_;
    CurlTransferOptions options_;
    std::atomic<bool> abort_{false};
    std::thread worker_;
};

}  // namespace setup
