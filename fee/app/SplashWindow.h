#pragma once
// The title window shown at start. It reads no file; after Timer1 (ctx.timings.splashMs), a
// character key or a click on Frame1 - whichever comes first - it opens the main menu and
// closes itself.

#include <QPixmap>
#include <QString>
#include <QWidget>

#include "fee/app/AppContext.h"

class QFrame;
class QTimer;

namespace fee::app {

// "Version 1.3.0"
QString versionText();

// The program's logo, drawn rather than loaded so the program needs no picture files.
QPixmap drawLogo(int size);

class SplashWindow : public QWidget {
    Q_OBJECT
public:
    explicit SplashWindow(AppContext& ctx, QWidget* parent = nullptr);

protected:
    void keyPressEvent(QKeyEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void proceed();

    AppContext& ctx_;
    QFrame* frame_ = nullptr;
    QTimer* timer_ = nullptr;
    bool done_ = false;
};

}  // namespace fee::app
