#pragma once
// stoixeia: the particulars of a new job on three tab pages (owner, work, engineer). "OK"
// creates the job and hands over to the work menu; nothing is written before that.

#include <QWidget>
#include <array>
#include <vector>

#include "fee/app/AppContext.h"

class QComboBox;
class QLineEdit;
class QPushButton;
class QTabWidget;

namespace fee::app {

class ParticularsDialog : public QWidget {
    Q_OBJECT
public:
    explicit ParticularsDialog(AppContext& ctx, QWidget* parent = nullptr);

protected:
    // Ctrl+Tab anywhere in the dialog moves to the next page, before any control sees it.
    bool eventFilter(QObject* watched, QEvent* event) override;
    bool event(QEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    QWidget* buildPage(int index, const std::vector<int>& fields);
    std::vector<fee::Engineer> rebuildEngineers();
    void onEngineerPicked(int index);
    void checkOk();
    void onTabChanged(int index);
    void stepTab(int step);
    void onOk();
    bool refuseField(int field, const QString& text);

    AppContext& ctx_;
    QTabWidget* tabs_ = nullptr;
    std::array<QLineEdit*, fee::Particulars::Count> fields_{};
    QComboBox* engineers_ = nullptr;
    QPushButton* ok_ = nullptr;
    bool centred_ = false;
};

}  // namespace fee::app
