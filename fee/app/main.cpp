// dezovur: the fees of surveying works under Presidential Decree 696/74.
//
// How the program fits together:
//   platform/   the host seen as Windows: drives under $WINROOT (FileSystem), the Windows-1253
//               code page, the registry as text files, per-user settings, the decimal separator.
//   fee/store   the data folder "c:\program files\dezovur\" and one folder per job: every
//               file, the print-style numbers, the field reader (DataStore, Number, TextFile).
//   fee/calc    the nine categories priced into their fragments and the statement around them
//               (Pricing, Statement), what the user types turned into stored values
//               (EntryInput), and the "statement" command (StatementCommand).
//   fee/app     the windows, one class each, created by WindowManager by WindowId. They never
//               call each other: they ask the Navigator to open, reopen or close a window and
//               hand information on only through the job's files (AppContext.h).
//
// A command on the command line runs without any window; otherwise the windows start with the
// splash, after the data folder has been made on a fresh $WINROOT.
#include <QApplication>
#include <QMessageBox>
#include <iostream>

#include "fee/app/WindowManager.h"
#include "fee/calc/StatementCommand.h"
#include "fee/store/DataStore.h"
#include "platform/Locale.h"
#include "platform/Services.h"
#include "platform/WinRoot.h"

int main(int argc, char** argv) {
    if (const std::optional<int> status = fee::runCommandLine(argc, argv, std::cout, std::cerr))
        return *status;

    QApplication app(argc, argv);
    QApplication::setApplicationName(fee::app::kSettingsApp);

    // Nothing works without the data folder: say so where the user looks, then stop.
    const auto fail = [](const QString& text) {
        std::cerr << "dezovur: " << text.toStdString() << '\n';
        QMessageBox::critical(nullptr, fee::app::kSettingsApp, text);
        return 1;
    };
    const std::filesystem::path root = platform::winRootFromEnvironment();
    std::optional<platform::Services> services = platform::openServices(root);
    if (!services) {
        return fail(QStringLiteral("Δεν ήταν δυνατό να ετοιμαστούν οι δίσκοι του προγράμματος "
                                   "στον φάκελο %1.")
                        .arg(QString::fromStdString(root.string())));
    }
    fee::DataStore store(*services->files, platform::decimalSeparator());
    if (!store.ensureDataFolder()) {
        return fail(QStringLiteral("Δεν ήταν δυνατό να δημιουργηθεί ο φάκελος δεδομένων %1.")
                        .arg(QString::fromUtf8(fee::kDataFolder.data(),
                                               static_cast<int>(fee::kDataFolder.size()))));
    }
    fee::app::WindowManager windows(store, *services->settings);
    windows.open(fee::app::WindowId::Splash);
    return app.exec();
}
