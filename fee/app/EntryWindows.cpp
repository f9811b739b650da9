#include "fee/app/EntryWindows.h"

#include "fee/app/EntryWindow.h"
#include "fee/app/TachymetricWindow.h"
#include "fee/store/Categories.h"

namespace fee::app {

QWidget* createEntryWindow(AppContext& ctx, fee::CategoryId category, EntryMode mode,
                           QWidget* parent) {
    switch (fee::categoryOf(category).window) {
        case fee::EntryWindowKind::Fields:
            if (const EntryLayout* layout = entryLayout(category))
                return new EntryWindow(ctx, *layout, mode, parent);
            return nullptr;
        case fee::EntryWindowKind::SlopeClasses:
            return new TachymetricWindow(ctx, mode, parent);
    }
    return nullptr;
}

}  // namespace fee::app
