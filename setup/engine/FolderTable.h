#pragma once
// The folder tokens of the setup data files ("<Install Dir>", "Shared DLLs", ...) and how a
// path text written with them becomes a path, telling which kind of folder it named.

#include <array>
#include <string>
#include <string_view>

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
    Resolved resolve(std::string_view text) const;

private:
    std::array<std::string, 16> values_{};
};

}  // namespace setup
