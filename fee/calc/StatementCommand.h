#pragma once
// The command line of dezovur. main() calls runCommandLine first: with no arguments the
// windows start; otherwise the command runs without any window and its exit status is the
// program's.
//
//   dezovur statement   assemble the statement of the current job and print it (UTF-8)
//   dezovur --help      list the commands

#include <filesystem>
#include <optional>
#include <ostream>

namespace fee {

// Empty when the arguments ask for the windows (no arguments); otherwise the exit status.
// programFolder: the host folder the program lies in, where an installation's data files are
// looked for (DataFolder.h); empty for the default data folder.
std::optional<int> runCommandLine(int argc, char** argv, std::ostream& out, std::ostream& err,
                                  const std::filesystem::path& programFolder = {});

}  // namespace fee
