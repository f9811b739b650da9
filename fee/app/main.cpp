// dezovur: the command line first (a command runs without any window), otherwise the windows,
// starting with the splash.
#include <QApplication>
#include <iostream>

#include "fee/app/WindowManager.h"
#include "fee/calc/StatementCommand.h"
#include "fee/store/DataStore.h"
#include "platform/Locale.h"
#include "platform/Registry.h"
#include "platform/Settings.h"
#include "platform/WinRoot.h"

int main(int argc, char** argv) {
    if (const std::optional<int> status = fee::runCommandLine(argc, argv, std::cout, std::cerr))
        return *status;

    QApplication app(argc, argv);
    QApplication::setApplicationName(fee::app::kSettingsApp);

    const std::filesystem::path root = platform::winRootFromEnvironment();
    if (!platform::prepareWinRoot(root)) {
        std::cerr << "dezovur: cannot prepare the Windows drives in " << root << '\n';
        return 1;
    }
    const std::unique_ptr<platform::FileSystem> fs = platform::makePosixFileSystem(root);
    fee::DataStore store(*fs, platform::decimalSeparator());
    if (!store.ensureDataFolder()) {
        std::cerr << "dezovur: cannot create the data folder " << fee::kDataFolder << '\n';
        return 1;
    }
    const std::unique_ptr<platform::Registry> registry = platform::makeFileRegistry(root);
    const std::unique_ptr<platform::SettingsStore> settings =
        platform::makeRegistrySettings(*registry);

    fee::app::WindowManager windows(store, *settings);
    windows.open(fee::app::WindowId::Splash);
    return app.exec();
}
