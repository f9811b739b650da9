#pragma once
// Form13: everything stored for the job temp.dat names (particulars, plan status, scale, λ and
// the quantities), with the ways on from there: revise λ, keep the job, correct it, delete it.

#include <QWidget>
#include <optional>
#include <string>

#include "fee/app/AppContext.h"

class QLabel;

namespace fee::app {

class JobParticularsPanel;
class JobQuantitiesPanel;

class OverviewWindow : public QWidget {
    Q_OBJECT
public:
    explicit OverviewWindow(AppContext& ctx, QWidget* parent = nullptr);

private:
    void load();
    void refreshLambda();

    AppContext& ctx_;
    std::optional<std::string> job_;
    QLabel* lambda_ = nullptr;
    JobParticularsPanel* particulars_ = nullptr;
    JobQuantitiesPanel* quantities_ = nullptr;
};

}  // namespace fee::app
