#pragma once
// The folder tokens of the setup data files ("<Install Dir>", "Shared DLLs", ...) and how a
// path text written with them becomes a path, telling which kind of folder it named.

#include <array>
#include <string>
#include <string_view>

namespace platform {
class Registry;
class SystemInfo;
}  // namespace platform

namespace setup {

// Numbered as the copy rules know them; 0 is "no token".
enum class FolderKind : int {
    None = 0,
    ProgramFiles = 1,
    SharedDlls = 2,
    WindowsDisk = 3,
    CommonFiles = 4,
    WindowsDirectory = 5,
    Favorites = 6,
    Documents = 7,
    MyPictures = 8,
    MyMusic = 9,
    SendTo = 10,
    Fonts = 11,
    InstallDir = 12,
    CurrentDrive = 13,
    TempDir = 14,
    ApplicationData = 15,
};

struct Resolved {
    std::string path;
    FolderKind kind = FolderKind::None;
};

class FolderTable {
public:
    // The bare name of a kind ("Program Files"); empty for None.
    static std::string_view bareName(FolderKind kind);

    void set(FolderKind kind, std::string value);
    const std::string& value(FolderKind kind) const;

    // [APPINFO] "5": one trailing "\" removed, then only the five system tokens replaced.
    // Sets and returns the "Install Dir" value.
    const std::string& resolveDefaultInstallDir(std::string_view text);
    // A path text with its tokens replaced, and the kind of the token it begins with (None
    // when it begins with none: such a destination names no folder of the package).
    Resolved resolve(std::string_view text) const;
    static FolderKind leadingToken(std::string_view text);

private:
    std::array<std::string, 16> values_{};
};

// Filling the table at start-up, in the order the start-up needs the values.
// The Windows folder, "Windows Disk", the temporary folder and "Current Drive".
void readSystemFolders(FolderTable& table, platform::SystemInfo& system,
                       std::string_view setupFolder);
// The system folder, then the program files and common files folders from the registry
// (HKLM\SOFTWARE\Microsoft\Windows\CurrentVersion), the program files folder else from
// PROGRAMFILES. False when no program files folder is known.
bool readProgramFolders(FolderTable& table, platform::SystemInfo& system,
                        const platform::Registry& registry);
// The shell folders; one the system does not have stays empty rather than borrowing the
// folder asked for before it, so nothing is ever installed into the wrong folder. They are
// not made here: most packages put nothing into most of them.
void readShellFolders(FolderTable& table, platform::SystemInfo& system);
// Makes the shell folder of the table that path lies in, as the system makes it: it is the
// system's folder, not the package's, so no installation records it as its own.
void makeShellFolderOf(const FolderTable& table, platform::SystemInfo& system,
                       std::string_view path);
// Where the cabinets are unpacked: the temporary folder, else the Windows folder's "temp";
// always with a trailing backslash.
std::string extractionFolder(const FolderTable& table);

}  // namespace setup
