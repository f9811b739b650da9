#pragma once
// When two Windows names are the same name: the one rule the file system, the installer, its
// journal and the uninstaller all compare by. Letters are compared as Windows upper-cases
// them (Greek included: "ς" and "σ" are one letter), and trailing blanks and periods of a
// name do not count ("oix1.dat " is "oix1.dat").

#include <string>
#include <string_view>

namespace platform {

// The comparison key of one name (no separators).
std::string nameKey(std::string_view name);
inline bool sameName(std::string_view a, std::string_view b) { return nameKey(a) == nameKey(b); }

// The comparison key of a whole path: each name's key, "/" taken as "\", no trailing
// separator (a drive root keeps its "\").
std::string pathKey(std::string_view winPath);
inline bool samePath(std::string_view a, std::string_view b) { return pathKey(a) == pathKey(b); }

}  // namespace platform
