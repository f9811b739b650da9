#pragma once
// Form2 (from the work menu), lamda1 (from the edit menu) and lamda2 (from the job overview):
// a new coefficient λ for the current job, which also becomes the default for later jobs.
// After saving, the window that opened it is reopened so that it shows the new λ.

#include <QWidget>

#include "fee/app/AppContext.h"

class QLineEdit;

namespace fee::app {

class LambdaWindow : public QWidget {
    Q_OBJECT
public:
    // which: LambdaWorkMenu, LambdaEditMenu or LambdaOverview.
    LambdaWindow(AppContext& ctx, WindowId which, QWidget* parent = nullptr);

private:
    void onSave();

    AppContext& ctx_;
    WindowId which_;
    QLineEdit* lambda_ = nullptr;
};

}  // namespace fee::app
