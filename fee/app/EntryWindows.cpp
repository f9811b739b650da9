#include "fee/app/EntryWindows.h"

#include "fee/app/EntryWindow.h"
#include "fee/app/TachymetricWindow.h"

namespace fee::app {

QWidget* createEntryWindow(AppContext& ctx, fee::CategoryId category, EntryMode mode,
                           QWidget* parent) {
    if (const EntryLayout* layout = entryLayout(category))
        return new EntryWindow(ctx, *layout, mode, parent);
    return new TachymetricWindow(ctx, mode, parent);
}

}  // namespace fee::app
