#pragma once
// form5 (new) and taxi1 (edit): the areas of the five slope classes, one tab each, and the
// altimetry check box. Only the selected slope class is visible and editable; Ctrl+Tab moves
// to the next class wherever the focus is.

#include <QWidget>
#include <array>
#include <vector>

#include "fee/app/AppContext.h"
#include "fee/app/EntrySupport.h"

class QCheckBox;
class QTabBar;

namespace fee::app {

class TachymetricWindow : public QWidget {
    Q_OBJECT
public:
    TachymetricWindow(AppContext& ctx, EntryMode mode, QWidget* parent = nullptr);

    static constexpr int kClasses = 5;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void showPanel(int index);
    void centreOnScreen();
    void onSubmit();

    AppContext& ctx_;
    EntryMode mode_;
    QTabBar* tabs_ = nullptr;
    std::array<QWidget*, kClasses> panels_{};
    std::vector<EntryField> fields_;
    QCheckBox* altimetry_ = nullptr;
};

}  // namespace fee::app
