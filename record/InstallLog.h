#pragma once
// The install log that setup leaves in the installation folder and the uninstaller reads: an
// INI file in the ANSI code page. Older logs, and logs of other installers, hold nothing
// else; setup's own runs also leave a journal beside it (Journal.h) with every change whole.

#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace platform {
class FileSystem;
}

namespace record {

// What setup puts in the system folder for zuninstall, shared by every product it installs:
// the program and, beside it, the library with its windows.
inline constexpr std::string_view kUninstallerProgram = "zuninstall.exe";
inline constexpr std::string_view kUninstallerWindows = "zuninstall-windows.so";
// The shared copy of one of them, in the system folder.
inline std::string sharedUninstallerFile(const std::string& systemFolder, std::string_view name) {
    return systemFolder + "\\" + std::string(name);
}

// Kept in memory and written whole at the end of each phase of the run: writing it through
// the profile writer entry by entry would rewrite the whole file for every installed file.
class InstallLogWriter {
public:
    InstallLogWriter(platform::FileSystem& files, int codePage) : files_(files), codePage_(codePage) {}

    // "install.log" in the folder; when that exists, "install_MMSS.log" from the local
    // minutes and seconds; when that exists too, a counter is added so no older log (nor its
    // journal) is overwritten.
    static std::string chooseName(const platform::FileSystem& files, std::string_view folder,
                                  std::pair<int, int> minutesSeconds);

    void setPath(std::string path) { path_ = std::move(path); }
    const std::string& path() const { return path_; }

    // Replaces the key's value, or appends the key to its section (the section to the file).
    void set(std::string_view section, std::string_view key, std::string_view value);
    // Appends a key known to be new (the numbered records), without looking for it.
    void append(std::string_view section, std::string_view key, std::string_view value);
    // Writes the whole log when it changed; false when it could not be written.
    bool flush();

    // The file's text as flush writes it (UTF-8), for tests and diagnostics.
    std::string text() const;

private:
    struct Section {
        std::string name;
        std::vector<std::pair<std::string, std::string>> keys;
    };
    Section& section(std::string_view name);

    platform::FileSystem& files_;
    int codePage_;
    std::string path_;
    std::vector<Section> sections_;
    bool dirty_ = false;
};

struct RegistryEntry {
    std::string keyPath;  // root name, "\" and subkey, as setup read it
    std::string valueName;
};

struct InstallLog {
    std::vector<std::string> files;    // [LOG], in log order
    std::vector<std::string> folders;  // [DIR], in log order
    std::string uninstallKey;          // [UNINSTALL] PATH, under HKEY_LOCAL_MACHINE
    std::string applicationKey;        // [REGISTRY] PATH, under HKEY_LOCAL_MACHINE
    std::vector<RegistryEntry> registryEntries;
};

// The log from the file's bytes, read whole (no value is cut, however long). Keys are taken as
// they stand in the file rather than counted from 0: the log has a gap in [LOG] where setup
// skipped a number, and a log edited by hand may have more. Empty values are dropped. Empty
// when the bytes are not an install log: not text, or without any section setup writes.
std::optional<InstallLog> parseInstallLog(std::string_view bytes, int codePage);

// "HKEY_LOCAL_MACHINE\Software\X" -> the root name and "Software\X"; false without a backslash.
bool splitRegistryPath(std::string_view path, std::string& root, std::string& subkey);

}  // namespace record
