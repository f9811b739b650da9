#pragma once
// Initialisation files ("profile" files) read and written with the rules of the Windows
// profile-string functions, on top of the Windows paths of FileSystem.
//
// Reading: section and key names compare without regard to case; the first matching section
// and the first matching key win; a line without "=" is not a key; the value loses its leading
// and trailing blanks, then one pair of matching double or single quotes. A missing file,
// section or key gives the default. A value longer than the buffer is cut to bufferSize - 1.
// A file name without a folder lives in the Windows folder.
//
// Writing creates the file and the section when missing, replaces a value in place, appends a
// new key at the end of its section, keeps every other byte of the file, ends new lines with
// CR LF, and replaces the file atomically under a lock. A file that begins with a byte-order
// mark (UTF-8, UTF-16 LE or BE) is read and written in that encoding; any other file in the
// ANSI code page of this $WINROOT. Texts cross this interface as UTF-8.

#include <cstddef>
#include <memory>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace platform {

class FileSystem;
class Registry;

class ProfileFiles {
public:
    virtual ~ProfileFiles() = default;
    virtual std::string readString(std::string_view file, std::string_view section,
                                   std::string_view key, std::string_view fallback,
                                   std::size_t bufferSize) const = 0;
    virtual bool writeString(std::string_view file, std::string_view section, std::string_view key,
                             std::string_view value) = 0;
    // The first matching key line, or the first matching section with all its lines. True when
    // the file no longer holds it (nothing to remove included); false when it cannot be written.
    virtual bool removeKey(std::string_view file, std::string_view section,
                           std::string_view key) = 0;
    virtual bool removeSection(std::string_view file, std::string_view section) = 0;
    // Key names of a section in file order (the first of duplicates only); empty when missing.
    virtual std::vector<std::string> keys(std::string_view file,
                                          std::string_view section) const = 0;
    // Section names in file order, each once in its first spelling.
    virtual std::vector<std::string> sections(std::string_view file) const = 0;
    // Every key of a section with its value (read as readString reads it, uncut), in file
    // order, each key once: one read of the file where a key at a time would read it again
    // for every key.
    virtual std::vector<std::pair<std::string, std::string>> values(
        std::string_view file, std::string_view section) const = 0;
};

// ansiCodePage: 1253 or 1252 (see SystemInfo::ansiCodePage).
std::unique_ptr<ProfileFiles> makeProfileFiles(FileSystem& files, int ansiCodePage,
                                               std::string windowsFolder = "c:\\windows");

}  // namespace platform
