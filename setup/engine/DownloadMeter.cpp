#include "setup/engine/DownloadMeter.h"

#include <charconv>
#include <memory>

#include "setup/engine/CabinetExtractor.h"
#include "setup/engine/CurlLibrary.h"

namespace setup {
namespace {

// Fixed-point text that does not follow the user's locale (a Greek locale would write "2,40").
std::string fixed(double value, int decimals) {
    char buffer[64];
    auto [end, ec] =
        std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::fixed, decimals);
    if (ec != std::errc()) return "0";
    return std::string(buffer, end);
}

}  // namespace

std::string downloadRateText(double bytesPerMs) {
    if (bytesPerMs >= 1) return fixed(bytesPerMs, bytesPerMs < 10 ? 2 : 0) + " KB/Sec";
    return fixed(bytesPerMs * 1024, 0) + " Bytes/Sec";
}

std::string downloadTimeText(std::int64_t seconds) {
    if (seconds < 60) return std::to_string(seconds) + " sec";
    const std::int64_t rest = seconds % 60;
    std::string text = std::to_string(seconds / 60) + " min";
    if (rest != 0) text += " " + std::to_string(rest) + " sec";
    return text;
}

std::string downloadSizeText(std::int64_t bytes) {
    if (bytes < 1024) return std::to_string(bytes) + " Bytes";
    if (bytes <= 1048575) return fixed(static_cast<double>(bytes) / 1024, 1) + " KB";
    return fixed(static_cast<double>(bytes) / 1048576, 2) + " MB";
}

void DownloadMeter::start(std::int64_t nowMs, std::int64_t length) {
    length_ = length > 0 ? length : 0;
    startMs_ = lastMs_ = nowMs;
    lastBytes_ = 0;
    timeLeft_.clear();
    rate_.clear();
}

std::optional<std::string> DownloadMeter::report(std::int64_t nowMs, std::int64_t received) {
    int percent = 0;
    if (length_ > 0)
        percent = static_cast<int>(std::min<std::int64_t>(received * 100 / length_, 100));
    const std::int64_t sinceLast = nowMs - lastMs_;
    if (sinceLast <= 1000) return std::nullopt;

    rate_ = downloadRateText(static_cast<double>(received - lastBytes_) /
                             static_cast<double>(sinceLast));
    lastMs_ = nowMs;
    lastBytes_ = received;
    if (received > 0 && length_ > 0) {
        // A server that sends more than it announced leaves nothing to wait for, not a
        // negative time.
        const std::int64_t remaining = length_ > received ? length_ - received : 0;
        const auto seconds = static_cast<std::int64_t>(static_cast<double>(nowMs - startMs_) /
                                                       static_cast<double>(received) *
                                                       static_cast<double>(remaining) * 0.001);
        timeLeft_ = downloadTimeText(seconds) + " (" + downloadSizeText(received) + " of " +
                    downloadSizeText(length_) + " copied)";
    } else if (received > 0) {
        // Without a length there is no time to estimate; what has arrived is still news.
        timeLeft_ = downloadSizeText(received) + " copied";
    }
    return std::to_string(percent) + "," + timeLeft_ + "," + rate_;
}

std::optional<std::string> downloadFileName(std::string_view url) {
    const CurlLibrary* curl = curlLibrary();
    if (!curl) return std::nullopt;
    std::unique_ptr<CURLU, void (*)(CURLU*)> handle(curl->urlNew(), curl->urlCleanup);
    if (!handle) return std::nullopt;
    const std::string text(url);
    if (curl->urlSet(handle.get(), CURLUPART_URL, text.c_str(), 0) != CURLUE_OK)
        return std::nullopt;
    char* raw = nullptr;
    if (curl->urlGet(handle.get(), CURLUPART_PATH, &raw, 0) != CURLUE_OK || !raw)
        return std::nullopt;
    const std::string path(raw);
    curl->release(raw);
    // Cut before decoding, so that an encoded "/" stays inside the name and is refused there.
    const std::string last = path.substr(path.rfind('/') + 1);
    int length = 0;
    char* decoded =
        curl->easyUnescape(nullptr, last.c_str(), static_cast<int>(last.size()), &length);
    if (!decoded) return std::nullopt;
    const std::string name(decoded, static_cast<std::size_t>(length));
    curl->release(decoded);
    // One plain Windows file name in UTF-8, by the rule a cabinet member's name follows: a name
    // of dots and blanks only would be the folder itself, and no file can be named with
    // "*?\"<>|" or with bytes that are not UTF-8.
    const std::string plain = memberFileName(name, true);
    if (plain.empty()) return std::nullopt;
    return plain;
}

}  // namespace setup
