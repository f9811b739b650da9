#pragma once
// How the fee program's windows fit together.
//
// Every window is a modeless top-level QWidget (one class per window, object name = the
// window's name, e.g. "Form9"), deleted when it closes. Windows never call each other: they ask
// the Navigator to open, reopen or close a window by its WindowId, and they hand information on
// only through the files of the data folder and the current job (DataStore). A window reads
// what it needs when it opens or when a button is pressed.
//
// WindowManager is the real Navigator; widget tests pass a recording fake instead.

#include <QString>
#include <optional>

#include "fee/calc/Product.h"
#include "fee/calc/Statement.h"
#include "fee/store/DataStore.h"
#include "platform/Settings.h"

namespace fee::app {

enum class WindowId {
    Splash,          // frmSplash
    MainMenu,        // Form9
    Help,            // help
    Particulars,     // stoixeia
    NewEngineer,     // Form14
    WorkMenu,        // Form1
    EditMenu,        // ALLAGI1
    Overview,        // Form13
    OpenJob,         // palaia
    DeleteConfirm,   // diagrafh
    Document,        // frmDocument (inside the document frame frmMain)
    LambdaWorkMenu,  // Form2
    LambdaEditMenu,  // lamda1
    LambdaOverview,  // lamda2
    TrigWarning,     // error_trig
};

enum class EntryMode { New, Edit };

class Navigator {
public:
    virtual ~Navigator() = default;
    // Creates and shows the window, or brings it to the front when it is already open.
    virtual void open(WindowId id) = 0;
    // The data-entry window of a category: form5/taxi1, Form6/asti1, ...
    virtual void openEntry(fee::CategoryId category, EntryMode mode) = 0;
    // Closes the window when it is open, then opens it afresh so it re-reads the files.
    virtual void reopen(WindowId id) = 0;
    virtual void close(WindowId id) = 0;
    // Ends the program: every window closes at once, nothing is asked.
    virtual void quit() = 0;
};

// Timer lengths, so tests need not wait for them.
struct Timings {
    int splashMs = 5000;
};

struct AppContext {
    fee::DataStore& store;
    platform::SettingsStore& settings;
    Navigator& nav;
    Timings timings{};
    // The last "Υπολογισμοί" of this session, so "Εκτύπωση" can tell a stale or incomplete
    // statement from a fresh one.
    std::optional<fee::StatementRecord> lastStatement{};
};

// Dynamic property of a window that shows one job: the job folder it was opened on (QString).
// Such a window is replaced rather than raised once temp.dat names another job, and an entry
// window does not save into a job other than the one whose values it shows.
inline constexpr const char* kJobProperty = "jobFolder";

// The application key under which the program keeps its settings.
inline const QString kSettingsApp =
    QString::fromUtf8(fee::kProductName.data(), static_cast<qsizetype>(fee::kProductName.size()));

}  // namespace fee::app
