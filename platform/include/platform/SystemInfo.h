#pragma once
// What a Windows program asks of the system: its folders, version, memory, screen and the
// shell folders, as this $WINROOT answers them.

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

namespace platform {

struct WindowsVersion {
    int major = 5;
    int minor = 1;
    bool ntFamily = true;     // false: the 9x family
    std::string servicePack;  // "Service Pack 6a", or empty
};

// Shell folders by the numbers Windows gives them (CSIDL).
enum class ShellFolder : int {
    Desktop = 0,
    Programs = 2,
    Startup = 7,
    SendTo = 9,
    StartMenu = 11,
    MyMusic = 13,
    Fonts = 20,
    CommonStartMenu = 22,
    CommonPrograms = 23,
    AppData = 26,
    CommonFavorites = 31,
    MyPictures = 39,
    CommonDocuments = 46,
    Favorites = 6,
};

struct ScreenFacts {
    int width = 0;
    int height = 0;
    int bitsPerPixel = 0;
};

class SystemInfo {
public:
    virtual ~SystemInfo() = default;
    virtual std::string windowsFolder() const = 0;  // "C:\windows", no trailing backslash
    virtual std::string systemFolder() const = 0;   // "C:\windows\system32"
    // With its trailing backslash, created when missing ("C:\windows\temp\").
    virtual std::string tempFolder() = 0;
    virtual std::uint64_t physicalMemoryBytes() const = 0;
    virtual WindowsVersion version() const = 0;
    // 1253 or 1252: the ANSI code page of this $WINROOT (from the registry).
    virtual int ansiCodePage() const = 0;
    // Created when first asked for; empty when the folder has no place here.
    virtual std::string shellFolder(ShellFolder which) = 0;
    // Where shellFolder puts it, without making it: for a caller that may put nothing there.
    virtual std::string shellFolderPath(ShellFolder which) { return shellFolder(which); }
    // The user's name as Windows would show it (the login name).
    virtual std::string userName() const = 0;
    // The screen is the GUI's to know: a program with a display sets it (see Services).
    virtual ScreenFacts screen() const = 0;
    virtual void setScreen(const ScreenFacts& facts) = 0;
    // An environment variable of the process, as a Windows program reads it.
    virtual std::optional<std::string> environment(std::string_view name) const = 0;
};

class FileSystem;
class Registry;

// The system of a $WINROOT. The version is read from the registry on every call:
// HKLM\SOFTWARE\Microsoft\Windows NT\CurrentVersion "CurrentVersion" ("5.1") and
// "CSDVersion" give the NT family; a "VersionNumber" under ...\Windows\CurrentVersion (as the
// 9x family keeps it, "4.10.2222", with "SubVersionNumber" " A") turns it into the 9x family.
// Shell folders follow a current Windows: under C:\Users\<user name> and C:\ProgramData.
std::unique_ptr<SystemInfo> makePosixSystemInfo(FileSystem& files, const Registry& registry);

}  // namespace platform
