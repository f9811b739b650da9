// Which class builds which window. The manager decides when; this file only knows how.
#include "fee/app/DeleteJobDialog.h"
#include "fee/app/EntryWindows.h"
#include "fee/app/HelpWindow.h"
#include "fee/app/LambdaWindow.h"
#include "fee/app/MainMenuWindow.h"
#include "fee/app/NewEngineerDialog.h"
#include "fee/app/OpenJobDialog.h"
#include "fee/app/OverviewWindow.h"
#include "fee/app/ParticularsDialog.h"
#include "fee/app/SplashWindow.h"
#include "fee/app/TrigWarningWindow.h"
#include "fee/app/WindowManager.h"
#include "fee/app/WorkMenuWindow.h"

namespace fee::app {

QWidget* createWindow(AppContext& ctx, WindowId id) {
    switch (id) {
        case WindowId::Splash:
            return new SplashWindow(ctx);
        case WindowId::MainMenu:
            return new MainMenuWindow(ctx);
        case WindowId::Help:
            return new HelpWindow(ctx);
        case WindowId::Particulars:
            return new ParticularsDialog(ctx);
        case WindowId::NewEngineer:
            return new NewEngineerDialog(ctx);
        case WindowId::WorkMenu:
            return new WorkMenuWindow(ctx, EntryMode::New);
        case WindowId::EditMenu:
            return new WorkMenuWindow(ctx, EntryMode::Edit);
        case WindowId::Overview:
            return new OverviewWindow(ctx);
        case WindowId::OpenJob:
            return new OpenJobDialog(ctx);
        case WindowId::DeleteConfirm:
            return new DeleteJobDialog(ctx);
        case WindowId::LambdaWorkMenu:
        case WindowId::LambdaEditMenu:
        case WindowId::LambdaOverview:
            return new LambdaWindow(ctx, id);
        case WindowId::TrigWarning:
            return new TrigWarningWindow(ctx);
        case WindowId::Document:
            return nullptr;  // lives in the document frame
    }
    return nullptr;
}

QWidget* createEntry(AppContext& ctx, fee::CategoryId category, EntryMode mode) {
    return createEntryWindow(ctx, category, mode);
}

}  // namespace fee::app
