#include "platform/Services.h"

#include "platform/NewInstallation.h"
#include "platform/WinRoot.h"

namespace platform {

std::optional<Services> openServices(const std::filesystem::path& winRoot) {
    if (!prepareWinRoot(winRoot)) return std::nullopt;
    Services s;
    s.winRoot = winRoot;
    s.files = makePosixFileSystem(winRoot);
    s.registry = makeFileRegistry(winRoot);
    if (!seedRegistry(*s.registry, ansiCodePageForLocale(userLocaleName()))) return std::nullopt;
    s.settings = makeRegistrySettings(*s.registry);
    s.system = makePosixSystemInfo(*s.files, *s.registry);
    // The folders every Windows has, so programs may write there from the start.
    for (const std::string& folder : {s.system->windowsFolder(), s.system->systemFolder()}) {
        if (!s.files->createDirectory(folder)) return std::nullopt;
    }
    s.system->tempFolder();
    s.profiles = makeProfileFiles(*s.files, s.system->ansiCodePage(), s.system->windowsFolder());
    s.launcher = makePosixLauncher(*s.files, s.system->systemFolder(), s.system->windowsFolder());
    return s;
}

std::unique_ptr<FileSystem> openFileSystem(const std::filesystem::path& winRoot) {
    if (!prepareWinRoot(winRoot)) return nullptr;
    return makePosixFileSystem(winRoot);
}

}  // namespace platform
