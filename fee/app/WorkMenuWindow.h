#pragma once
// Form1 (new job) and ALLAGI1 (existing job): the job's particulars and λ, the map scale, the
// town-plan choice, one button per kind of work and "Υποβολή", which completes the job files.
// The edit menu also shows the stored scale and quantities, and opens the editing windows.

#include <QWidget>
#include <optional>
#include <string>

#include "fee/app/AppContext.h"

class QComboBox;
class QLabel;
class QRadioButton;

namespace fee::app {

class JobParticularsPanel;
class JobQuantitiesPanel;

class WorkMenuWindow : public QWidget {
    Q_OBJECT
public:
    WorkMenuWindow(AppContext& ctx, EntryMode mode, QWidget* parent = nullptr);

    EntryMode mode() const { return mode_; }

private:
    QWidget* buildButtons();
    void load();
    void refreshLambda();
    bool haveJob();
    void onScalePicked(int index);
    void onPlanClicked(bool inside);
    void onTriangulation();
    void onSubmit();

    AppContext& ctx_;
    EntryMode mode_;
    // The job this window shows; every write goes to it, even if another job becomes current
    // meanwhile.
    std::optional<std::string> job_;
    QLabel* lambda_ = nullptr;
    QComboBox* scale_ = nullptr;
    QRadioButton* outside_ = nullptr;
    QRadioButton* inside_ = nullptr;
    JobParticularsPanel* particulars_ = nullptr;
    JobQuantitiesPanel* quantities_ = nullptr;
};

}  // namespace fee::app
