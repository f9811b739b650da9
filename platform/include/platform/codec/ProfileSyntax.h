#pragma once
// The syntax of initialisation ("profile") files as the Windows profile-string functions read
// and write it, over a file's bytes and without any I/O. Texts cross as UTF-8.
//
// A file that begins with a byte-order mark (UTF-8, UTF-16 LE or BE) is in that encoding; any
// other is in the ANSI code page given. Edits keep every byte they do not touch, bytes the
// encoding cannot decode included, and write new lines with CR LF.

#include <cstddef>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace platform::codec {

enum class ProfileEncoding { Ansi, Utf8, Utf16Le, Utf16Be };

ProfileEncoding profileEncoding(std::string_view bytes);

// The value of the first matching key of the first matching section, blanks trimmed and one
// pair of matching quotes removed; empty when the section or key is missing.
std::optional<std::string> findProfileValue(std::string_view bytes, int ansiCodePage,
                                            std::string_view section, std::string_view key);

// As the Windows reader answers: the value, else the fallback less its trailing blanks, cut
// to bufferSize - 1 characters (nothing at all for a buffer of 0).
std::string readProfileString(std::string_view bytes, int ansiCodePage, std::string_view section,
                              std::string_view key, std::string_view fallback,
                              std::size_t bufferSize);

// Section names in file order, and the key names of the first matching section; each name
// once, in the spelling of its first appearance.
std::vector<std::string> profileSections(std::string_view bytes, int ansiCodePage);
std::vector<std::string> profileKeys(std::string_view bytes, int ansiCodePage,
                                     std::string_view section);
// The keys of the first matching section with their values, each key once (its first line),
// the values read as findProfileValue reads them.
std::vector<std::pair<std::string, std::string>> profileSectionValues(std::string_view bytes,
                                                                      int ansiCodePage,
                                                                      std::string_view section);

// The new bytes of a file after setting a value (bytes empty: a new file, in the ANSI code
// page). Empty when a name or the value cannot be stored: a character the file's encoding
// lacks, a line break, a "]" in a section name, an "=" in a key name.
std::optional<std::string> writeProfileString(std::string_view bytes, int ansiCodePage,
                                              std::string_view section, std::string_view key,
                                              std::string_view value);

// The new bytes after removing the first matching key line, or a whole first matching section
// (header and lines up to the next section). The bytes unchanged when there is nothing to remove.
std::string removeProfileKey(std::string_view bytes, int ansiCodePage, std::string_view section,
                             std::string_view key);
std::string removeProfileSection(std::string_view bytes, int ansiCodePage,
                                 std::string_view section);

// One profile decoded once, for a caller with several questions about a large file (an install
// log of thousands of lines): the answers of the functions above, from one reading.
class ProfileText {
public:
    ProfileText(std::string_view bytes, int ansiCodePage);
    ~ProfileText();
    ProfileText(const ProfileText&) = delete;
    ProfileText& operator=(const ProfileText&) = delete;

    std::vector<std::string> sections() const;
    std::vector<std::pair<std::string, std::string>> sectionValues(std::string_view section) const;
    std::optional<std::string> value(std::string_view section, std::string_view key) const;

private:
    struct Impl;
    std::unique_ptr<Impl> impl_;
};

}  // namespace platform::codec
