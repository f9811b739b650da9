#include "setup/engine/FolderTable.h"

#include "platform/Registry.h"
#include "platform/SystemInfo.h"
#include "platform/WinNames.h"

namespace setup {

namespace {

constexpr std::string_view kBareNames[16] = {
    "",
    "Program Files",
    "Shared DLLs",
    "Windows Disk",
    "Common Files Directory",
    "Windows Directory",
    "Favorites Folder",
    "Documents Folder",
    "My Pictures Folder",
    "My Music Folder",
    "Send To Folder",
    "Fonts Folder",
    "Install Dir",
    "Current Drive",
    "Temp Dir",
    "Application Data",
};

// Replacement order: "Program Files" before "Windows Directory" before "Shared DLLs", so
// that a longer token is never cut by a shorter one replaced first.
constexpr int kReplaceOrder[] = {1, 5, 2, 4, 3, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15};

void replaceAll(std::string& text, std::string_view from, std::string_view to) {
    if (from.empty()) return;
    std::string out;
    std::size_t pos = 0;
    for (auto at = text.find(from); at != std::string::npos; at = text.find(from, pos)) {
        out.append(text, pos, at - pos);
        out.append(to);
        pos = at + from.size();
    }
    out.append(text, pos, std::string::npos);
    text = std::move(out);
}

std::string bracketed(std::string_view bare) {
    return "<" + std::string(bare) + ">";
}

std::string withoutTrailingBackslash(std::string_view text) {
    if (!text.empty() && text.back() == '\\') text.remove_suffix(1);
    return std::string(text);
}

constexpr std::string_view kWindowsKey = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion";

std::string registryText(const platform::Registry& registry, std::string_view name) {
    auto v = registry.value(platform::RegRoot::LocalMachine, kWindowsKey, name);
    if (!v) return {};
    if (v->type != platform::RegValue::Type::String &&
        v->type != platform::RegValue::Type::ExpandString)
        return {};
    return v->text;
}

}  // namespace

std::string_view FolderTable::bareName(FolderKind kind) {
    return kBareNames[static_cast<int>(kind)];
}

void FolderTable::set(FolderKind kind, std::string value) {
    values_[static_cast<int>(kind)] = std::move(value);
}

const std::string& FolderTable::value(FolderKind kind) const {
    return values_[static_cast<int>(kind)];
}

const std::string& FolderTable::resolveDefaultInstallDir(std::string_view text) {
    std::string result = withoutTrailingBackslash(text);
    for (FolderKind kind :
         {FolderKind::ProgramFiles, FolderKind::WindowsDirectory, FolderKind::SharedDlls,
          FolderKind::CommonFiles, FolderKind::WindowsDisk})
        replaceAll(result, bracketed(bareName(kind)), value(kind));
    set(FolderKind::InstallDir, std::move(result));
    return value(FolderKind::InstallDir);
}

// The token that begins the text, bracketed or bare; a bare name counts only as a whole first
// component, so "C:\Program Files\L" or "Copy to Temp Dir first" names no folder.
FolderKind FolderTable::leadingToken(std::string_view text) {
    for (int kind = 1; kind <= 15; ++kind) {
        const std::string_view bare = kBareNames[kind];
        if (text.size() >= bare.size() + 2 && text[0] == '<' && text.substr(1, bare.size()) == bare &&
            text[bare.size() + 1] == '>')
            return static_cast<FolderKind>(kind);
        if (text.substr(0, bare.size()) == bare &&
            (text.size() == bare.size() || text[bare.size()] == '\\'))
            return static_cast<FolderKind>(kind);
    }
    return FolderKind::None;
}

Resolved FolderTable::resolve(std::string_view text) const {
    Resolved out;
    out.path = withoutTrailingBackslash(text);
    out.kind = leadingToken(out.path);
    if (out.path.find('<') != std::string::npos) {
        // Bracketed tokens stand out from the text around them, so they are replaced wherever
        // they are (a registry value such as "\"<Install Dir>\\app.exe\" %1").
        for (int kind : kReplaceOrder) replaceAll(out.path, bracketed(kBareNames[kind]), values_[kind]);
    } else if (out.kind != FolderKind::None) {
        const std::string_view bare = kBareNames[static_cast<int>(out.kind)];
        out.path.replace(0, bare.size(), values_[static_cast<int>(out.kind)]);
    }
    return out;
}

void readSystemFolders(FolderTable& table, platform::SystemInfo& system,
                       std::string_view setupFolder) {
    std::string windows = system.windowsFolder();
    table.set(FolderKind::WindowsDirectory, windows);
    table.set(FolderKind::WindowsDisk, windows.substr(0, 2));
    table.set(FolderKind::TempDir, system.tempFolder());
    table.set(FolderKind::CurrentDrive, std::string(setupFolder.substr(0, setupFolder.find('\\'))));
}

bool readProgramFolders(FolderTable& table, platform::SystemInfo& system,
                        const platform::Registry& registry) {
    table.set(FolderKind::SharedDlls, system.systemFolder());
    std::string programFiles = registryText(registry, "ProgramFilesDir");
    if (programFiles.empty()) programFiles = system.environment("PROGRAMFILES").value_or("");
    table.set(FolderKind::ProgramFiles, programFiles);
    table.set(FolderKind::CommonFiles, registryText(registry, "CommonFilesDir"));
    return !programFiles.empty();
}

namespace {

using platform::ShellFolder;

constexpr std::pair<FolderKind, ShellFolder> kShellFolders[] = {
    {FolderKind::Favorites, ShellFolder::Favorites},
    {FolderKind::Documents, ShellFolder::CommonDocuments},
    {FolderKind::MyPictures, ShellFolder::MyPictures},
    {FolderKind::MyMusic, ShellFolder::MyMusic},
    {FolderKind::SendTo, ShellFolder::SendTo},
    {FolderKind::Fonts, ShellFolder::Fonts},
    {FolderKind::ApplicationData, ShellFolder::AppData},
};

}  // namespace

void readShellFolders(FolderTable& table, platform::SystemInfo& system) {
    for (const auto& [kind, which] : kShellFolders)
        table.set(kind, withoutTrailingBackslash(system.shellFolderPath(which)));
}

void makeShellFolderOf(const FolderTable& table, platform::SystemInfo& system,
                       std::string_view path) {
    const std::string key = platform::pathKey(path);
    for (const auto& [kind, which] : kShellFolders) {
        const std::string& folder = table.value(kind);
        if (folder.empty()) continue;
        const std::string folderKey = platform::pathKey(folder);
        const bool within = key.starts_with(folderKey) &&
                            (key.size() == folderKey.size() || key[folderKey.size()] == '\\');
        if (within) system.shellFolder(which);
    }
}

std::string extractionFolder(const FolderTable& table) {
    std::string folder = table.value(FolderKind::TempDir);
    if (folder.empty()) folder = table.value(FolderKind::WindowsDirectory) + "\\temp\\";
    if (folder.back() != '\\') folder += '\\';
    return folder;
}

}  // namespace setup
