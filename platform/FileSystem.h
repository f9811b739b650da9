#pragma once
// The file system as the programs see it: Windows paths ("c:\program files\dezovur\temp.dat")
// resolved inside $WINROOT. Names match without regard to letter case (Greek included) and
// trailing blanks and periods of a name are ignored, as on Windows. A path never resolves
// outside its drive's folder: ".." stops at the drive root.

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace platform {

class FileSystem {
public:
    virtual ~FileSystem() = default;

    // The host path a Windows path resolves to. Existing components are matched
    // case-insensitively; missing ones keep the spelling given (trailing blanks and
    // periods removed). Empty when the path is not a valid absolute Windows path or
    // names a drive that does not exist.
    virtual std::optional<std::filesystem::path> hostPath(std::string_view winPath) const = 0;

    // Whole file, raw bytes. Empty when missing or unreadable.
    virtual std::optional<std::string> readFile(std::string_view winPath) const = 0;
    // Creates or truncates the file; an existing file under another letter case keeps its name.
    virtual bool writeFile(std::string_view winPath, std::string_view bytes) = 0;

    virtual bool exists(std::string_view winPath) const = 0;
    virtual bool isDirectory(std::string_view winPath) const = 0;
    // One level; true when the folder exists afterwards.
    virtual bool createDirectory(std::string_view winPath) = 0;
    // Only an empty folder.
    virtual bool removeDirectory(std::string_view winPath) = 0;
    virtual bool removeFile(std::string_view winPath) = 0;
    virtual bool copyFile(std::string_view from, std::string_view to, bool overwrite) = 0;

    // Names (not paths) of the entries of a folder that match a Windows wildcard
    // ("*.*", "*.dat", "f?.txt"), files only unless includeFolders.
    virtual std::vector<std::string> list(std::string_view folderWinPath, std::string_view pattern,
                                          bool includeFolders = false) const = 0;
};

}  // namespace platform
