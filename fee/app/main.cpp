// dezovur-gui: the windows of dezovur. The command dezovur (fee/main.cpp, where the overview
// of the program is) becomes this program when it is started without a command; it is kept
// apart so that the commands never load Qt's widget libraries.
//
// The windows start with the splash, after the data folder has been made on a fresh $WINROOT.
#include <QApplication>
#include <QMessageBox>
#include <iostream>

#include "fee/app/GreekQtTexts.h"
#include "fee/app/WindowManager.h"
#include "fee/calc/StatementCommand.h"
#include "fee/store/DataFolder.h"
#include "fee/store/DataStore.h"
#include "platform/Locale.h"
#include "platform/Services.h"
#include "platform/WinRoot.h"

int main(int argc, char** argv) {
    const std::filesystem::path programFolder = fee::runningProgramFolder();
    // Started on its own with a command, it answers as dezovur would.
    if (const std::optional<int> status =
            fee::runCommandLine(argc, argv, std::cout, std::cerr, programFolder))
        return *status;

    QApplication app(argc, argv);
    QApplication::setApplicationName(fee::app::kSettingsApp);
    fee::app::GreekQtTexts greek;
    QApplication::installTranslator(&greek);

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
    fee::DataStore store(*services->files, platform::decimalSeparator(),
                         fee::dataFolderForProgram(*services->files, root, programFolder));
    if (!store.ensureDataFolder()) {
        return fail(QStringLiteral("Δεν ήταν δυνατό να δημιουργηθεί ο φάκελος δεδομένων %1.")
                        .arg(QString::fromStdString(store.dataFolder())));
    }
    fee::app::WindowManager windows(store, *services->settings);
    windows.open(fee::app::WindowId::Splash);
    return app.exec();
}
