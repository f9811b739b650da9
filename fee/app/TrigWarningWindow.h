#pragma once
// error_trig: shown instead of the triangulation window when the job's engineer has a
// specialty that may not enter triangulation; names that specialty.

#include <QWidget>

#include "fee/app/AppContext.h"

namespace fee::app {

// The specialty the warning names: the name of the code in eid.dat, or the engineer's own
// specialty text from the particulars when the code names none.
QString warnedSpecialty(const fee::DataStore& store);

class TrigWarningWindow : public QWidget {
    Q_OBJECT
public:
    explicit TrigWarningWindow(AppContext& ctx, QWidget* parent = nullptr);
};

}  // namespace fee::app
