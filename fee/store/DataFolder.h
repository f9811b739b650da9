#pragma once
// Where the fee program keeps its data.
//
// An installation puts the job list (Ergasies.dat), the engineer list (mix.dat) and the
// starting coefficient (l.dat) beside the program. When the folder the running program lies
// in holds the job list and l.dat, that folder is the data folder, wherever it was installed;
// otherwise (a build tree, a program copied on its own) the data live in the default folder
// c:\program files\dezovur\, made on the first start. The default installation is that very
// folder, and is spelled as before, so the paths already in its temp.dat keep working.

#include <filesystem>
#include <string>
#include <string_view>

#include "platform/FileSystem.h"

namespace fee {

// programFolder: the Windows path of the folder the program lies in (empty: not known).
// Returns the data folder with its trailing separator.
std::string dataFolderBeside(const platform::FileSystem& fs, std::string_view programFolder);

// The same for a host folder, seen through the drives of winRoot (z: outside them all).
std::string dataFolderForProgram(const platform::FileSystem& fs,
                                 const std::filesystem::path& winRoot,
                                 const std::filesystem::path& programHostFolder);

// The host folder of the running program, links resolved; empty when it cannot be told.
std::filesystem::path runningProgramFolder();

}  // namespace fee
