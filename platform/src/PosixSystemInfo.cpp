#include <pwd.h>
#include <unistd.h>

#include <cctype>
#include <charconv>
#include <cstdlib>
#include <mutex>

#include "platform/FileSystem.h"
#include "platform/NewInstallation.h"
#include "platform/Registry.h"
#include "platform/SystemInfo.h"

extern char** environ;

namespace platform {

namespace {

constexpr std::string_view kWindows = "C:\\windows";

std::string registryText(const Registry& registry, std::string_view key, std::string_view name) {
    const auto v = registry.value(RegRoot::LocalMachine, key, name);
    if (!v || (v->type != RegValue::Type::String && v->type != RegValue::Type::ExpandString))
        return {};
    return v->text;
}

// "5.1", "4.10.2222": the first two numbers; false when the text does not start with one.
bool parseVersion(std::string_view text, int& major, int& minor) {
    while (!text.empty() && text.front() == ' ') text.remove_prefix(1);
    const char* end = text.data() + text.size();
    auto [p, ec] = std::from_chars(text.data(), end, major);
    if (ec != std::errc()) return false;
    minor = 0;
    if (p != end && *p == '.') std::from_chars(p + 1, end, minor);
    return true;
}

// Letters Windows does not allow in a folder name become "_".
std::string folderSafe(std::string name) {
    for (char& c : name) {
        if (std::string_view("\\/:*?\"<>|").find(c) != std::string_view::npos ||
            static_cast<unsigned char>(c) < 0x20)
            c = '_';
    }
    return name.empty() ? "user" : name;
}

std::string loginName() {
    if (const passwd* pw = ::getpwuid(::geteuid()); pw && pw->pw_name && *pw->pw_name)
        return pw->pw_name;
    if (const char* user = std::getenv("USER"); user && *user) return user;
    return "user";
}

class PosixSystemInfo final : public SystemInfo {
public:
    PosixSystemInfo(FileSystem& files, const Registry& registry)
        : files_(files), registry_(registry), user_(folderSafe(loginName())) {}

    std::string windowsFolder() const override { return std::string(kWindows); }
    std::string systemFolder() const override { return std::string(kWindows) + "\\system32"; }

    std::string tempFolder() override {
        const std::string temp = std::string(kWindows) + "\\temp";
        createPath(temp);
        return temp + "\\";
    }

    std::uint64_t physicalMemoryBytes() const override {
        const long pages = ::sysconf(_SC_PHYS_PAGES);
        const long size = ::sysconf(_SC_PAGE_SIZE);
        if (pages <= 0 || size <= 0) return 0;
        return static_cast<std::uint64_t>(pages) * static_cast<std::uint64_t>(size);
    }

    WindowsVersion version() const override {
        WindowsVersion v;
        const std::string nineX =
            registryText(registry_, kWindowsCurrentVersionKey, "VersionNumber");
        if (parseVersion(nineX, v.major, v.minor)) {
            v.ntFamily = false;
            v.servicePack =
                trimmed(registryText(registry_, kWindowsCurrentVersionKey, "SubVersionNumber"));
            return v;
        }
        const std::string nt =
            registryText(registry_, kWindowsNtCurrentVersionKey, "CurrentVersion");
        if (!parseVersion(nt, v.major, v.minor)) {
            v.major = 5;
            v.minor = 1;
        }
        v.servicePack = registryText(registry_, kWindowsNtCurrentVersionKey, "CSDVersion");
        return v;
    }

    int ansiCodePage() const override {
        const std::string acp = registryText(registry_, kCodePageKey, "ACP");
        return acp == "1253" ? 1253 : 1252;
    }

    std::string shellFolder(ShellFolder which) override {
        const std::string path = shellFolderPath(which);
        if (path.empty() || !createPath(path)) return {};
        return path;
    }

    std::string shellFolderPath(ShellFolder which) override {
        const std::string user = "C:\\Users\\" + user_;
        const std::string roaming = user + "\\AppData\\Roaming";
        const std::string startMenu = roaming + "\\Microsoft\\Windows\\Start Menu";
        const std::string commonStartMenu = "C:\\ProgramData\\Microsoft\\Windows\\Start Menu";
        std::string path;
        switch (which) {
            case ShellFolder::Desktop:
                path = user + "\\Desktop";
                break;
            case ShellFolder::Programs:
                path = startMenu + "\\Programs";
                break;
            case ShellFolder::Favorites:
            case ShellFolder::CommonFavorites:  // one Favorites folder since Windows Vista
                path = user + "\\Favorites";
                break;
            case ShellFolder::Startup:
                path = startMenu + "\\Programs\\Startup";
                break;
            case ShellFolder::SendTo:
                path = roaming + "\\Microsoft\\Windows\\SendTo";
                break;
            case ShellFolder::StartMenu:
                path = startMenu;
                break;
            case ShellFolder::MyMusic:
                path = user + "\\Music";
                break;
            case ShellFolder::Fonts:
                path = std::string(kWindows) + "\\Fonts";
                break;
            case ShellFolder::CommonStartMenu:
                path = commonStartMenu;
                break;
            case ShellFolder::CommonPrograms:
                path = commonStartMenu + "\\Programs";
                break;
            case ShellFolder::AppData:
                path = roaming;
                break;
            case ShellFolder::MyPictures:
                path = user + "\\Pictures";
                break;
            case ShellFolder::CommonDocuments:
                path = "C:\\Users\\Public\\Documents";
                break;
        }
        return path;
    }

    std::string userName() const override { return user_; }

    ScreenFacts screen() const override {
        std::lock_guard lock(mutex_);
        return screen_;
    }
    void setScreen(const ScreenFacts& facts) override {
        std::lock_guard lock(mutex_);
        screen_ = facts;
    }

    // Windows names its variables without regard to case; an exact match goes first.
    std::optional<std::string> environment(std::string_view name) const override {
        if (name.empty() || name.find('=') != std::string_view::npos) return std::nullopt;
        if (const char* exact = std::getenv(std::string(name).c_str())) return exact;
        for (char** e = environ; e && *e; ++e) {
            const std::string_view entry(*e);
            const std::size_t eq = entry.find('=');
            if (eq != name.size()) continue;
            bool same = true;
            for (std::size_t i = 0; i < eq && same; ++i) {
                same = std::toupper(static_cast<unsigned char>(entry[i])) ==
                       std::toupper(static_cast<unsigned char>(name[i]));
            }
            if (same) return std::string(entry.substr(eq + 1));
        }
        return std::nullopt;
    }

private:
    static std::string trimmed(std::string text) {
        const auto b = text.find_first_not_of(' ');
        if (b == std::string::npos) return {};
        return text.substr(b, text.find_last_not_of(' ') - b + 1);
    }

    // Every missing folder of the path, from the drive down.
    bool createPath(const std::string& path) {
        if (files_.isDirectory(path)) return true;  // every run after the first
        std::size_t pos = path.find('\\');  // after "C:"
        while (pos != std::string::npos) {
            pos = path.find('\\', pos + 1);
            if (!files_.createDirectory(path.substr(0, pos))) return false;
        }
        return true;
    }

    FileSystem& files_;
    const Registry& registry_;
    std::string user_;
    mutable std::mutex mutex_;
    ScreenFacts screen_;
};

}  // namespace

std::unique_ptr<SystemInfo> makePosixSystemInfo(FileSystem& files, const Registry& registry) {
    return std::make_unique<PosixSystemInfo>(files, registry);
}

}  // namespace platform
