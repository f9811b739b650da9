#pragma once
// The wizard window: the configured pages one after the other with Back, Next and Cancel, the
// progress page that starts the installation, the complete page and the actions at Finish.
//
// The pages are created when the window is; the progress page when it is entered, the complete
// page when the installation is done. Timer 1 watches InstallState while the engine runs;
// timer 2 lifts the window over the background window.

#include <QDialog>
#include <QTimer>
#include <map>
#include <string>
#include <vector>

#include "setup/wizard/WizardContext.h"

class QPushButton;

namespace setup {

class CPage;
class CDCustom;
class CProgress;
class CComplete;

class CWizard : public QDialog {
    Q_OBJECT
public:
    CWizard(WizardContext& context, QWidget* parent = nullptr);

    // Shows the first page (or goes straight to the progress page) and runs the window until
    // it closes; the result is an ExitStatus.
    int run();
    // The part of run() before the event loop, for tests that drive the window themselves.
    void begin();
    bool ended() const { return ended_; }
    int exitStatus() const { return status_; }

    const std::vector<std::string>& pageList() const { return names_; }
    // The page showing now ("custom" for the custom file page), empty when none.
    std::string currentPage() const;

    void next();
    void back();
    void cancel();
    void reject() override { cancel(); }

private:
    void setCaptions();
    CPage* pageAt(int position) const;
    const std::string& nameAt(int position) const;
    void enterProgress();
    void poll();
    void finish();
    void end(int status);
    void bringToFront();

    WizardContext& ctx_;
    std::vector<std::string> names_;
    std::map<std::string, CPage*> pages_;
    CDCustom* custom_ = nullptr;
    CProgress* progress_ = nullptr;
    CComplete* complete_ = nullptr;
    QWidget* area_;
    QPushButton* next_;
    QPushButton* back_;
    QPushButton* cancel_;
    QTimer poll_;
    int position_ = 1;
    bool customShown_ = false;
    bool ended_ = false;
    int status_ = 0;
};

}  // namespace setup
