#pragma once
// Form9, the main menu: stays open for the whole run and starts every task. Its buttons act on
// whatever job temp.dat names at the moment of the click.

#include <QWidget>

#include "fee/app/AppContext.h"
#include "fee/app/Messages.h"

class QLabel;

namespace fee::app {

class MainMenuWindow : public QWidget {
    Q_OBJECT
public:
    explicit MainMenuWindow(AppContext& ctx, QWidget* parent = nullptr);

protected:
    void changeEvent(QEvent* event) override;

private:
    // True when a whole statement was assembled.
    bool onCompute();
    void onPrint();
    // The recorded statement of the current job no longer matches its files.
    bool stale() const;

    AppContext& ctx_;
    QLabel* status_ = nullptr;
};

}  // namespace fee::app
