// zuninstall: undoes an installation that setup recorded in its install log.
//
//   zuninstall [--silent] "<install log>"
//
// Asks once whether to remove the product (unless --silent, which answers Yes and opens no
// window), removes what the log names, then lists what stays: in a window, or on standard
// error when silent. It takes the install log, or the journal beside it (of a run that was cut
// short, too: that run is rolled back). Exit status: 0 when everything named is gone, 1 when
// something stays, 2 when the command line or the log is unusable (nothing is then removed),
// 3 when the user answered No.
//
// The program links no window library: its windows are a library beside it, opened only for a
// run that shows them.

#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "platform/Library.h"
#include "platform/Services.h"
#include "platform/WinRoot.h"
#include "record/InstallLog.h"
#include "uninstall/Arguments.h"
#include "uninstall/Texts.h"
#include "uninstall/Uninstaller.h"
#include "uninstall/ui/Windows.h"

namespace {

constexpr int kComplete = 0;
constexpr int kLeftovers = 1;
constexpr int kUnusable = 2;
constexpr int kDeclined = 3;

std::string folderOf(const std::string& path) {
    const auto slash = path.rfind('\\');
    return slash == std::string::npos ? std::string() : path.substr(0, slash);
}

void printLeftovers(const uninstall::Texts& texts, const uninstall::Outcome& outcome) {
    if (outcome.leftovers.empty()) return;
    std::fprintf(stderr, "%s\n", texts.leftHeading.c_str());
    for (const auto& left : outcome.leftovers) {
        std::fprintf(stderr, "  %s: %s\n", left.item.c_str(), texts.reason(left.why).c_str());
    }
}

// The windows, from the library beside the program; null, with the reason on standard error,
// when it cannot be opened. It is never closed: the application object lives until the end.
std::unique_ptr<uninstall::Windows> openWindows(int* argc, char** argv) {
    std::string why;
    auto open = reinterpret_cast<uninstall::OpenWindows>(
        platform::entryPointBeside(record::kUninstallerWindows, uninstall::kOpenWindows, why));
    if (!open) {
        std::fprintf(stderr, "zuninstall: the windows cannot be shown: %s\n", why.c_str());
        return nullptr;
    }
    return std::unique_ptr<uninstall::Windows>(open(argc, argv));
}

}  // namespace

int main(int argc, char** argv) {
    // Read before any Qt object exists: a silent run must not need a display.
    const auto arguments =
        uninstall::parseArguments(std::vector<std::string>(argv + 1, argv + argc));
    if (!arguments) {
        std::fprintf(stderr, "usage: zuninstall [--silent] \"<install log>\"\n");
        return kUnusable;
    }
    auto services = platform::openServices(platform::winRootFromEnvironment());
    if (!services) {
        std::fprintf(stderr, "zuninstall: the Windows folders cannot be prepared.\n");
        return kUnusable;
    }
    const std::string& logPath = arguments->logPath;

    std::unique_ptr<uninstall::Windows> windows;
    if (!arguments->silent) {
        windows = openWindows(&argc, argv);
        if (!windows) return kUnusable;
    }

    std::string problem;
    const auto installation = uninstall::loadInstallation(
        *services->files, logPath, services->system->ansiCodePage(), problem);
    // In the language of the package that was installed, as far as it can be known.
    const uninstall::Texts texts = uninstall::loadTexts(
        *services->profiles, folderOf(logPath),
        installation ? uninstall::recordedLanguage(*installation) : std::nullopt);
    if (!installation) {
        std::string message = services->files->identity(logPath) ? texts.notALog : texts.noLog;
        const auto at = message.find("%s");
        if (at != std::string::npos) message.replace(at, 2, logPath);
        std::fprintf(stderr, "%s (%s)\n", message.c_str(), problem.c_str());
        // No window of ours is open yet for the box to sit over.
        if (windows) windows->tellUnusable(texts, message);
        return kUnusable;
    }

    const std::string product = uninstall::productName(*installation, *services->registry);
    if (windows && !windows->askToRemove(texts, product)) return kDeclined;

    const uninstall::Outcome outcome = uninstall::uninstall(
        *installation,
        {*services->files, *services->registry, *services->system, *services->profiles});
    if (windows) {
        windows->showResult(texts, product, outcome);
    } else {
        printLeftovers(texts, outcome);
    }
    return outcome.complete() ? kComplete : kLeftovers;
}
