#pragma once
// The data-entry windows of the nine categories, new (from the work menu) and edit (from the
// edit menu): form5/taxi1, Form6/asti1, Form4/poligon1, Form8/rymot, form3/trigonismos1,
// Form12/ktiria1, Form11/oikopeda1, Form10/xiliosta1, Form7/analog1.

#include <QWidget>

#include "fee/app/AppContext.h"

namespace fee::app {

// A new top-level window (deleted when closed); the caller shows it.
QWidget* createEntryWindow(AppContext& ctx, fee::CategoryId category, EntryMode mode,
                           QWidget* parent = nullptr);

}  // namespace fee::app
