#pragma once
// palaia: lists the jobs of the job list, makes the picked one current at once (temp.dat) and
// hands over to the job overview on "OK". Opening it rewrites temp1.dat with the folder names.

#include <QWidget>
#include <vector>

#include "fee/app/AppContext.h"

namespace fee::app {

class OpenJobDialog : public QWidget {
    Q_OBJECT
public:
    explicit OpenJobDialog(AppContext& ctx, QWidget* parent = nullptr);

private:
    void onPicked(int index);

    AppContext& ctx_;
    std::vector<fee::JobName> jobs_;
    bool slotsWritten_ = false;
};

}  // namespace fee::app
