#pragma once
// What the download worker tells the progress page while bytes arrive: the whole percentage,
// the estimated time left with the sizes copied so far, and the transfer rate, as one text
// "percent,time-left,rate". Plain arithmetic on milliseconds and byte counts so that the texts
// can be checked without a network or a real clock.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace setup {

// "512 Bytes/Sec", "2.40 KB/Sec", "37 KB/Sec" from bytes per millisecond.
std::string downloadRateText(double bytesPerMs);
// "42 sec", "3 min", "49 min 55 sec".
std::string downloadTimeText(std::int64_t seconds);
// "900 Bytes", "2.4 KB", "1.43 MB".
std::string downloadSizeText(std::int64_t bytes);

class DownloadMeter {
public:
    // The response has begun; length is 0 when the server did not say.
    void start(std::int64_t nowMs, std::int64_t length);
    // After bytes arrived (received counts all of them): the progress text when more than a
    // second has passed since the last one (since the start for the first), else nothing, so
    // that the page is updated about once a second however small the pieces are.
    std::optional<std::string> report(std::int64_t nowMs, std::int64_t received);

private:
    std::int64_t length_ = 0;
    std::int64_t startMs_ = 0;
    std::int64_t lastMs_ = 0;
    std::int64_t lastBytes_ = 0;
    std::string timeLeft_;
    std::string rate_;
};

// The name a downloaded file is saved under: the last segment of the URL's path, decoded, with
// the query and fragment left out. Nothing when the URL cannot be parsed or the name could
// reach beyond its folder or is no plain file name (see memberFileName: empty, dots and blanks
// only, a device name, a character Windows forbids in names, a control character, not UTF-8).
// libcurl parses the URL: nothing, too, when it cannot be loaded.
std::optional<std::string> downloadFileName(std::string_view url);

}  // namespace setup
