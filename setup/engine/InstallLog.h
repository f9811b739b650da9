#pragma once
// The install log that the uninstaller reads: an INI file in the ANSI code page, kept in
// memory and written whole at the end of each phase of the run. Writing it through the
// profile writer entry by entry would rewrite the whole file for every installed file.

#include <functional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace platform {
class FileSystem;
}

namespace setup {

class InstallLog {
public:
    InstallLog(platform::FileSystem& files, int codePage) : files_(files), codePage_(codePage) {}

    // "install.log" in the folder; when that exists, "install_MMSS.log" from the local
    // minutes and seconds; when that exists too, a counter is added so no older log is
    // overwritten.
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

}  // namespace setup
