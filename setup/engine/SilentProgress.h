#pragma once
// The progress view of a silent run: nothing to show, nothing to pump.

#include "setup/engine/ProgressView.h"

namespace setup {

class SilentProgress : public ProgressView {
public:
    void setRange(int) override {}
    void setValue(int value) override { value_ = value; }
    int value() const override { return value_; }
    void setStatus(std::string_view) override {}
    void setCurrentFile(std::string_view) override {}
    void showDownload(bool) override {}
    void setDownloadPercent(int) override {}
    void setDownloadLines(std::string_view, std::string_view) override {}
    void pump() override {}

private:
    int value_ = 0;
};

}  // namespace setup
