#pragma once
// What the installation engine shows while it works: the progress page in the windowed run,
// nothing (or standard error) in silent mode.

#include <string_view>

namespace setup {

class ProgressView {
public:
    virtual ~ProgressView() = default;
    virtual void setRange(int maximum) = 0;
    virtual void setValue(int value) = 0;
    virtual int value() const = 0;
    virtual void setStatus(std::string_view text) = 0;
    virtual void setCurrentFile(std::string_view text) = 0;

    // The second bar of Internet downloads, its caption and two information lines.
    virtual void showDownload(bool shown) = 0;
    virtual void setDownloadPercent(int percent) = 0;
    virtual void setDownloadLines(std::string_view first, std::string_view second) = 0;

    // Lets the window answer (repaint, Cancel) during long work; nothing in silent mode.
    virtual void pump() = 0;
};

}  // namespace setup
