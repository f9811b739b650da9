#pragma once
// help: what the program does and how to reach its author.

#include <QWidget>

#include "fee/app/AppContext.h"

namespace fee::app {

class HelpWindow : public QWidget {
    Q_OBJECT
public:
    explicit HelpWindow(AppContext& ctx, QWidget* parent = nullptr);
};

}  // namespace fee::app
