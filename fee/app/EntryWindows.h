#pragma once
// The data-entry windows of the nine categories, new (from the work menu) and edit (from the
// edit menu). The category table names each one and says which kind of window it is; this is
// where a kind becomes a window class.

#include <QWidget>

#include "fee/app/AppContext.h"

namespace fee::app {

// A new top-level window (deleted when closed); the caller shows it. Null only for a category
// whose kind of window has no layout for it.
QWidget* createEntryWindow(AppContext& ctx, fee::CategoryId category, EntryMode mode,
                           QWidget* parent = nullptr);

}  // namespace fee::app
