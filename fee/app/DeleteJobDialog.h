#pragma once
// diagrafh: confirms the deletion of the current job. "Ν Α Ι" deletes its folder with every
// file in it and its job list entries, then closes the overview; "Ο Χ Ι" changes nothing.

#include <QWidget>

#include "fee/app/AppContext.h"

namespace fee::app {

class DeleteJobDialog : public QWidget {
    Q_OBJECT
public:
    explicit DeleteJobDialog(AppContext& ctx, QWidget* parent = nullptr);

private:
    void onYes();

    AppContext& ctx_;
};

}  // namespace fee::app
