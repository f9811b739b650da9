#pragma once
// The progress page: what the installation engine shows while it runs. It starts the run a
// moment after it opens, so the page is painted before the first file is copied.

#include "setup/engine/ProgressView.h"
#include "setup/wizard/CPage.h"

class QLabel;
class QProgressBar;

namespace setup {

class CProgress : public CPage, public ProgressView {
    Q_OBJECT
public:
    CProgress(WizardContext& context, QWidget* parent);

    void setRange(int maximum) override;
    void setValue(int value) override;
    int value() const override;
    void setStatus(std::string_view text) override;
    void setCurrentFile(std::string_view text) override;
    void showDownload(bool shown) override;
    void setDownloadPercent(int percent) override;
    void setDownloadLines(std::string_view first, std::string_view second) override;
    void pump() override;

Q_SIGNALS:
    // The run ended at the user's request; nothing more is to be done.
    void cancelled();

private:
    QLabel* status_;
    QLabel* file_;
    QProgressBar* bar_;
    QLabel* downloadCaption_;
    QProgressBar* downloadBar_;
    QLabel* line1_;
    QLabel* line2_;
};

}  // namespace setup
