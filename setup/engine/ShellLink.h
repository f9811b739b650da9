#pragma once
// The shortcut files setup writes: Windows shell links (.lnk, the documented binary format
// with a LinkInfo target, read by Explorer and by lnkinfo), Internet shortcuts (.url) and,
// so the host desktop finds the program too, freedesktop desktop entries.

#include <cstdint>
#include <string>

namespace setup {

struct ShellLinkData {
    std::string target;  // a local Windows path, "C:\..."
    std::string workingFolder;
    std::string arguments;
    std::string iconLocation;
    int iconIndex = 0;
    // 1 normal, 3 maximised, 7 minimised without activation: the only values the format has.
    std::uint32_t showCommand = 1;
    std::uint32_t fileSize = 0;
    std::int64_t writeTime = 0;  // seconds since 1970; 0 for none
    int codePage = 1253;         // of the ANSI copy of the target path
};

// The whole file. Empty strings are left out with their flag cleared; a string longer than the
// 65535 UTF-16 units its count can say is cut there. A writeTime before 1601 or past FILETIME's
// range is written as none.
std::string shellLinkBytes(const ShellLinkData& link);

// "[InternetShortcut]" with "URL=", CR LF lines; UTF-8 (the caller stores it in ANSI).
std::string internetShortcutText(std::string_view url);

struct DesktopEntryData {
    std::string name;
    std::string program;        // host path
    std::string arguments;      // a Windows command line tail
    std::string workingFolder;  // host path, may be empty
    // The Windows tree the program was installed into: started from the desktop's menu it
    // must open on that one, not on whatever $WINROOT the menu's session has.
    std::string winRoot;     // host path, may be empty
    std::string icon;        // an icon theme name, may be empty
    std::string categories;  // "Office;"
};

// "[Desktop Entry]" with Exec quoted by the freedesktop rules.
std::string desktopEntryText(const DesktopEntryData& entry);

// A desktop file name from a product and a shortcut name: lower-case ASCII letters, digits
// and "-", ending in ".desktop".
std::string desktopFileName(std::string_view product, std::string_view shortcut);

}  // namespace setup
