// The installation's system changes: environment variables, INI entries, registry keys and
// values, the uninstall entry and shortcuts.

#include <algorithm>
#include <climits>
#include <cstdint>
#include <filesystem>
#include <cstring>
#include <optional>

#include "platform/HostDesktop.h"
#include "platform/WinNames.h"
#include "setup/config/SetupData.h"
#include "setup/engine/Installer.h"
#include "setup/engine/ShellLink.h"
#include "setup/engine/WinText.h"

namespace setup {
namespace {

using platform::RegRoot;
using platform::RegValue;
using platform::ShellFolder;

std::string parentOf(const std::string& path) {
    const auto cut = path.rfind('\\');
    return cut == std::string::npos ? std::string() : path.substr(0, cut);
}

bool endsWithNoCase(std::string_view text, std::string_view tail) {
    return text.size() >= tail.size() && lowerCase(text.substr(text.size() - tail.size())) == tail;
}

const std::string kUninstallKey = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\";

}  // namespace

void Installer::writeEnvironment() {
    if (package_.environment.total <= 0) return;
    progress_.setStatus("Verifying Environment Variables...");
    for (const EnvironmentVariable& variable : package_.environment.variables) {
        RegValue v;
        v.text = folders_.resolve(variable.value).path;
        if (variable.scope == EnvironmentScope::User)
            recorder_->setValue(RegRoot::CurrentUser, "Environment", variable.name, v);
        else if (variable.scope == EnvironmentScope::System)
            recorder_->setValue(RegRoot::LocalMachine,
                                "SYSTEM\\CurrentControlSet\\Control\\Session Manager\\Environment",
                                variable.name, v);
    }
}

void Installer::copyKillProcess() {
    const KillProcess& kill = package_.killProcess;
    log_.set("KILLPROCESS", "CLASSNAME", kill.className);
    log_.set("KILLPROCESS", "WINDOWNAME", kill.windowName);
    log_.set("KILLPROCESS", "METHOD", kill.method);
}

void Installer::writeUninstallEntry() {
    const std::string& app = package_.app.productName;
    const bool off = package_.app.uninstallOff;
    const std::string key = kUninstallKey + app;
    log_.set("UNINSTALL", "PATH", off ? std::string() : key);
    if (off) return;
    RegValue name;
    name.text = app;
    RegValue command;
    command.text = record::sharedUninstallerFile(services_.system->systemFolder(),
                                                 record::kUninstallerProgram) +
                   " \"" + log_.path() + "\"";
    machineValues_.push_back({key, {{"DisplayName", name}, {"UninstallString", command}}});
}

void Installer::writeIniEntries() {
    std::set<std::string> created;  // INI files that did not exist before this run
    for (const IniEntry& entry : package_.iniEntries) {
        const std::string value = folders_.resolve(entry.value).path;
        const std::string file = folders_.resolve(entry.folder + "\\" + entry.file).path;
        const std::string id = platform::pathKey(file);
        const bool existed = services_.files->exists(file);
        const bool written = recorder_->writeIni(file, entry.section, entry.key, value);
        if (written && !existed) created.insert(id);
        // An INI file the user had before (win.ini, say) must outlive the uninstaller.
        recordFile(file, written && created.count(id));
    }
}

void Installer::writeApplicationKey() {
    if (package_.app.uninstallOff) return;
    const std::string& app = package_.app.productName;
    const std::string& company = package_.app.company;
    const std::string key = (company.empty() ? "Software" : "Software\\" + company) + "\\" + app;
    log_.set("REGISTRY", "PATH", key);
    log_.set("REGISTRY", "VERSION", key);
    std::vector<std::pair<std::string, RegValue>> values;
    auto put = [&](const char* name, const std::string& text) {
        RegValue v;
        v.text = text;
        values.emplace_back(name, std::move(v));
    };
    put("PATH", installFolder());
    put("VERSION", package_.app.version);
    if (!run_.userName.empty()) put("NAME", run_.userName);
    if (!run_.company.empty()) put("COMPANY", run_.company);
    // The company's key and the product's, when missing, are made with the values.
    machineValues_.push_back({key, std::move(values)});
}

// The uninstall entry and the application's key go in one write of the machine's registry:
// it is forced to the disk before it replaces the old one, and that wait is paid once.
void Installer::writeMachineValues() {
    if (!machineValues_.empty()) recorder_->setValues(RegRoot::LocalMachine, machineValues_);
    machineValues_.clear();
}

void Installer::writeKeyList() {
    for (const std::string& path : package_.registryKeys) {
        const auto cut = path.find('\\');
        if (cut == std::string::npos) continue;
        const auto root = platform::regRootNamed(path.substr(0, cut));
        if (!root) continue;
        const std::string sub = path.substr(cut + 1);
        recorder_->createKey(*root, sub);
    }
}

void Installer::writeValueList() {
    for (const RegistryData& entry : package_.registryValues) {
        const std::string& path = entry.path;
        const std::string& name = entry.name;
        const std::string data = folders_.resolve(entry.data).path;
        const auto cut = path.find('\\');
        const auto root = platform::regRootNamed(path.substr(0, cut));
        const std::string sub = cut == std::string::npos ? std::string() : path.substr(cut + 1);
        RegValue v;
        bool known = true;
        switch (entry.type) {
            case RegistryType::String:
                v.text = data;
                break;
            case RegistryType::Dword:
                v.type = RegValue::Type::Dword;
                // As a 32-bit strtol reads it: beyond the range is its end, never wrapped
                // round ("4294967297" is not 1).
                v.dword = static_cast<std::uint32_t>(static_cast<std::int32_t>(
                    std::clamp<long>(leadingInteger(data), INT32_MIN, INT32_MAX)));
                break;
            case RegistryType::Binary:
                v.type = RegValue::Type::Binary;
                v.bytes = toAnsi(data, services_.system->ansiCodePage()) + '\0';
                break;
            case RegistryType::Unknown:
                known = false;
                break;
        }
        // Only a value written here is the uninstaller's to delete.
        if (!root || !known || !recorder_->setValue(*root, sub, name, v)) continue;
        const auto k = std::to_string(registryEntryNumber_++);
        log_.set("REGISTRYENTRY", "key" + k, path);
        log_.set("REGISTRYENTRY", "val" + k, name);
    }
}

bool Installer::ensureFolder(const std::string& folder) {
    auto& files = *services_.files;
    if (folder.empty()) return false;
    if (files.isDirectory(folder)) return true;
    makeShellFolderOf(folders_, *services_.system, folder);
    if (files.isDirectory(folder)) return true;
    if (!ensureFolder(parentOf(folder))) return false;
    if (!recorder_->createFolder(folder)) return false;
    recordFolder(folder + "\\");
    return true;
}

void Installer::createShortcuts() {
    const ShortcutSection& section = package_.shortcuts;
    if (section.total <= 0) return;
    auto& system = *services_.system;
    auto firstFolder = [&system](ShellFolder a, std::optional<ShellFolder> b) {
        std::string f = system.shellFolder(a);
        if (f.empty() && b) f = system.shellFolder(*b);
        while (!f.empty() && f.back() == '\\') f.pop_back();
        return f;
    };
    const std::string programs = firstFolder(ShellFolder::CommonPrograms, ShellFolder::Programs);
    const std::string group = programs + "\\" + programGroupName();
    recordFolder(group);
    createFolderChain(group + "\\");

    for (const Shortcut& shortcut : section.shortcuts) {
        const std::string& name = shortcut.name;
        std::string target = folders_.resolve(shortcut.target).path;
        const std::string wanted(fileNameOf(target));
        for (const auto& installed : installedFiles_) {
            if (platform::sameName(fileNameOf(installed), wanted)) {
                target = installed;
                break;
            }
        }
        // A shortcut to a file left out (by the setup type, or for want of its member) would
        // only fail when clicked.
        if (shortcut.place != ShortcutPlace::Favorites && !services_.files->exists(target))
            continue;

        std::string path;
        switch (shortcut.place) {
            case ShortcutPlace::ProgramsMenu:
                path = programs.empty() ? "" : group + "\\" + name + ".lnk";
                break;
            case ShortcutPlace::StartMenu:
                path = firstFolder(ShellFolder::CommonStartMenu, ShellFolder::StartMenu);
                break;
            case ShortcutPlace::Desktop:
                path = firstFolder(ShellFolder::Desktop, std::nullopt);
                break;
            case ShortcutPlace::Startup:
                path = firstFolder(ShellFolder::Startup, std::nullopt);
                break;
            case ShortcutPlace::ActiveDesktop:
                path = firstFolder(ShellFolder::AppData, std::nullopt);
                if (!path.empty()) path += "\\Microsoft\\Internet Explorer\\Quick Launch";
                break;
            case ShortcutPlace::Favorites:
                path = firstFolder(ShellFolder::CommonFavorites, ShellFolder::Favorites);
                break;
            case ShortcutPlace::Unknown:
                break;  // a location without a shell folder has no place for the file
        }
        if (path.empty()) continue;

        if (shortcut.place == ShortcutPlace::Favorites) {
            path += "\\" + name + ".url";
            ensureFolder(parentOf(path));
            const bool saved =
                recorder_->writeFile(path, toAnsi(internetShortcutText(target), system.ansiCodePage())) ==
                record::Recorder::Placed::Written;
            if (saved) recordFile(path, true);
            continue;
        }
        if (shortcut.place != ShortcutPlace::ProgramsMenu) path += "\\" + name + ".lnk";
        const std::string iconPath =
            shortcut.icon.empty() ? ""
                                  : installFolder() + "\\" + std::string(fileNameOf(shortcut.icon));
        const bool onMenu = shortcut.place == ShortcutPlace::ProgramsMenu ||
                            shortcut.place == ShortcutPlace::StartMenu ||
                            shortcut.place == ShortcutPlace::Desktop;
        if (shortcut.place == ShortcutPlace::ProgramsMenu &&
            target.find(record::kUninstallerProgram) != std::string::npos) {
            const std::string logName = std::string(fileNameOf(log_.path()));
            const std::string uninstaller =
                record::sharedUninstallerFile(system.systemFolder(), record::kUninstallerProgram);
            writeShellLink(path, uninstaller, "", "\"" + installFolder() + "\\" + logName + "\"",
                           iconPath, 1, {onMenu, name, "System;"});
            continue;
        }
        const std::uint32_t showCommand = shortcut.show == ShowState::Maximized   ? 3
                                          : shortcut.show == ShowState::Minimized ? 7
                                                                                  : 1;
        writeShellLink(path, target, folders_.resolve(shortcut.workingFolder).path,
                       shortcut.arguments, iconPath, showCommand, {onMenu, name, "Office;"});
    }
    // A silent run opens no windows.
    if (section.openGroup && !run_.silent) services_.launcher->open(group);
    recordFile(group + "\\", true);
}

void Installer::writeShellLink(const std::string& path, const std::string& target,
                               const std::string& workingFolder, const std::string& arguments,
                               const std::string& icon, std::uint32_t show,
                               const MenuEntry& menu) {
    auto& files = *services_.files;
    ShellLinkData link;
    link.target = target;
    link.workingFolder = workingFolder;
    link.arguments = arguments;
    link.iconLocation = icon;
    link.showCommand = show;
    link.codePage = services_.system->ansiCodePage();
    if (auto host = files.hostPath(target)) {
        std::error_code ec;
        const auto size = std::filesystem::file_size(*host, ec);
        if (!ec) link.fileSize = static_cast<std::uint32_t>(size);
    }
    if (auto time = files.modifiedTime(target)) link.writeTime = *time;
    ensureFolder(parentOf(path));
    recordFile(path, recorder_->writeFile(path, shellLinkBytes(link)) ==
                         record::Recorder::Placed::Written);
    if (menu.wanted) writeDesktopEntry(menu, target, arguments, workingFolder, icon);
}

void Installer::writeDesktopEntry(const MenuEntry& menu, const std::string& target,
                                  const std::string& arguments, const std::string& workingFolder,
                                  const std::string& icon) {
    namespace fs = std::filesystem;
    auto& files = *services_.files;
    // A Windows program is a ".exe"; on this host it may be installed without the extension.
    std::optional<fs::path> program;
    std::error_code ec;
    if (auto host = files.hostPath(target); host && fs::is_regular_file(*host, ec)) program = host;
    if (!program && endsWithNoCase(target, ".exe")) {
        auto bare = files.hostPath(target.substr(0, target.size() - 4));
        if (bare && fs::is_regular_file(*bare, ec)) program = bare;
    }
    if (!program) return;
    const bool executable =
        (fs::status(*program, ec).permissions() & fs::perms::owner_exec) != fs::perms::none;
    if (!executable && !endsWithNoCase(target, ".exe")) return;

    const std::string data = platform::hostDataFolder();
    if (data.empty()) return;
    const std::string fileName = desktopFileName(programGroupName(), menu.name);
    const std::string path = data + "\\applications\\" + fileName;
    if (!desktopEntries_.insert(platform::pathKey(path)).second) return;  // one entry per name
    DesktopEntryData entry;
    entry.name = menu.name;
    entry.program = program->string();
    entry.arguments = arguments;
    entry.winRoot = services_.winRoot.string();
    entry.categories = menu.categories;
    entry.icon = installIcon(data, icon, fileName.substr(0, fileName.size() - 8));
    if (!workingFolder.empty())
        if (auto host = files.hostPath(workingFolder)) entry.workingFolder = host->string();
    ensureFolder(parentOf(path));
    recordFile(path, recorder_->writeFile(path, desktopEntryText(entry)) ==
                         record::Recorder::Placed::Written);
}

// The shortcut's icon, when it is a picture the host's desktop can show (PNG or SVG), goes
// where icon themes are looked for, under the entry's own name; the name, or empty.
std::string Installer::installIcon(const std::string& dataFolder, const std::string& icon,
                                   const std::string& themeName) {
    auto& files = *services_.files;
    if (icon.empty() || !files.exists(icon)) return {};
    std::string size;
    std::string extension;
    if (endsWithNoCase(icon, ".svg")) {
        size = "scalable";
        extension = ".svg";
    } else if (endsWithNoCase(icon, ".png")) {
        // The width and height stand in the PNG header, big-endian, at bytes 16 and 20.
        auto in = files.open(icon, platform::FileSystem::OpenMode::Read);
        unsigned char header[24] = {};
        if (!in || in->read(header, sizeof header) != sizeof header ||
            std::memcmp(header + 1, "PNG", 3) != 0)
            return {};
        auto number = [&](int at) {
            return (std::uint32_t{header[at]} << 24) | (std::uint32_t{header[at + 1]} << 16) |
                   (std::uint32_t{header[at + 2]} << 8) | header[at + 3];
        };
        const std::uint32_t width = number(16);
        const std::uint32_t height = number(20);
        if (width == 0 || width > 1024 || width != height) return {};
        size = std::to_string(width) + "x" + std::to_string(height);
        extension = ".png";
    } else {
        return {};
    }
    const std::string path =
        dataFolder + "\\icons\\hicolor\\" + size + "\\apps\\" + themeName + extension;
    if (!ensureFolder(parentOf(path))) return {};
    const bool placed =
        recorder_->copyFile(icon, path, false) == record::Recorder::Placed::Written;
    recordFile(path, placed);
    return placed ? themeName : std::string();
}

}  // namespace setup
