// Which class builds which window. The manager decides when; this file only knows how.
#include "fee/app/WindowManager.h"

#include "fee/app/DeleteJobDialog.h"
#include "fee/app/HelpWindow.h"
#include "fee/app/MainMenuWindow.h"
#include "fee/app/NewEngineerDialog.h"
#include "fee/app/OpenJobDialog.h"
#include "fee/app/ParticularsDialog.h"
#include "fee/app/SplashWindow.h"
#include "fee/app/WorkMenuWindow.h"
#if __has_include("fee/app/OverviewWindow.h")
#include "fee/app/OverviewWindow.h"
#define FEE_HAVE_OVERVIEW 1
#endif
#if __has_include("fee/app/EntryWindows.h")
#include "fee/app/EntryWindows.h"
#define FEE_HAVE_ENTRIES 1
#endif
#if __has_include("fee/app/LambdaWindow.h")
#include "fee/app/LambdaWindow.h"
#define FEE_HAVE_LAMBDA 1
#endif
#if __has_include("fee/app/TrigWarningWindow.h")
#include "fee/app/TrigWarningWindow.h"
#define FEE_HAVE_TRIG 1
#endif

namespace fee::app {

QWidget* createWindow(AppContext& ctx, WindowId id) {
    switch (id) {
        case WindowId::Splash: return new SplashWindow(ctx);
        case WindowId::MainMenu: return new MainMenuWindow(ctx);
        case WindowId::Help: return new HelpWindow(ctx);
        case WindowId::Particulars: return new ParticularsDialog(ctx);
        case WindowId::NewEngineer: return new NewEngineerDialog(ctx);
        case WindowId::WorkMenu: return new WorkMenuWindow(ctx, EntryMode::New);
        case WindowId::EditMenu: return new WorkMenuWindow(ctx, EntryMode::Edit);
        case WindowId::OpenJob: return new OpenJobDialog(ctx);
        case WindowId::DeleteConfirm: return new DeleteJobDialog(ctx);
#ifdef FEE_HAVE_OVERVIEW
        case WindowId::Overview: return new OverviewWindow(ctx);
#endif
#ifdef FEE_HAVE_LAMBDA
        case WindowId::LambdaWorkMenu:
        case WindowId::LambdaEditMenu:
        case WindowId::LambdaOverview: return new LambdaWindow(ctx, id);
#endif
#ifdef FEE_HAVE_TRIG
        case WindowId::TrigWarning: return new TrigWarningWindow(ctx);
#endif
        default: return nullptr;  // Document lives in the document frame
    }
}

QWidget* createEntry(AppContext& ctx, fee::CategoryId category, EntryMode mode) {
#ifdef FEE_HAVE_ENTRIES
    return createEntryWindow(ctx, category, mode);
#else
    (void)ctx, (void)category, (void)mode;
    return nullptr;
#endif
}

}  // namespace fee::app
