#pragma once
// The uninstaller's command line: the install log's path as the uninstall entry writes it
// (quoted, as one argument), and "--silent" for a run without windows.

#include <optional>
#include <string>
#include <vector>

namespace uninstall {

struct Arguments {
    bool silent = false;
    std::string logPath;  // a Windows path
};

// The words after the program name. Words that are not options are joined with blanks, so a
// log path that reached us unquoted and split at its blanks still names the same file; one
// pair of surrounding double quotes is dropped. A host path ("/home/...") is taken through
// drive z:. Empty when no log path is given or an option is unknown.
std::optional<Arguments> parseArguments(const std::vector<std::string>& words);

}  // namespace uninstall
