#pragma once
// Where the setup data files are: the setup folder, and the paths of data.tag, language.tag,
// datafile.dlr and the cabinets built from it the way the packages expect them.

#include <filesystem>
#include <string>
#include <string_view>

#include "setup/config/RunState.h"

namespace platform {
class FileSystem;
}

namespace setup {

// The setup folder: when the program's file name is exactly "setup.exe" or "setup" (letter
// case counts, so "SETUP.EXE" does not), the folder it lies in; otherwise the current
// directory. Both arguments are Windows paths. A drive root keeps its backslash ("E:\").
std::string setupFolderFor(std::string_view programPath, std::string_view currentDirectory);

// The paths of the file set under a setup folder, into run (languagePresent is not touched).
void locateDataFiles(std::string_view setupFolder, RunState& run);

// A file in a folder: a backslash between them unless the folder is a drive root ("D:\").
std::string fileInFolder(std::string_view folder, std::string_view name);

// "<Current Drive>": the setup folder up to its first backslash ("D:").
std::string currentDrive(std::string_view setupFolder);

// The program's file name without folder and extension: the title of its messages.
std::string programTitle(std::string_view programPath);

// Texts of an earlier run must never be shown: readme.txt and license.txt in the temporary
// folder go before data.tag is read.
void removeEarlierTexts(platform::FileSystem& files, std::string_view tempFolder);

struct Rgb {
    int red = 0;
    int green = 0;
    int blue = 0;
    bool operator==(const Rgb&) const = default;
};

// A colour text: anything, "@", then red,green,blue each one of the case-sensitive keywords
// 0x00, 0x80, 0xC0, 0xFF; any other component is 0. Without "@" the whole text is parsed.
Rgb parseColour(std::string_view text);

}  // namespace setup
