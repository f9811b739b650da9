#pragma once
// The one run state of a setup run, shared by the start-up, the wizard pages and the
// installation engine. Values are UTF-8; paths are Windows paths.

#include <atomic>
#include <string>
#include <vector>

namespace setup {

enum class InstallState : int { Idle = 0, Running = 255, Done = 100 };
enum class SelectionMode : int { All = 0, TypeList = 133, Custom = 255 };

struct RunState {
    // Where the data files are (see DataFiles.h).
    std::string setupFolder;  // no trailing backslash unless a drive root ("E:\")
    std::string dataTagPath;
    std::string languageTagPath;
    std::string file1CabPath;
    std::string multi1CabPath;
    std::string datafilePath;
    bool languagePresent = false;
    std::string currentDirectory;  // of the process: where setup.bmp is looked for

    std::string productName;       // [APPINFO] "1"
    std::string programFolder;     // the program group's name; starts as the product name
    std::string installFolder;     // "<Install Dir>"
    std::string extractionFolder;  // ends with "\"
    // Every file the extraction wrote there (members, an inner cabinet): the temporary files
    // the run deletes at its end.
    std::vector<std::string> unpackedFiles;
    std::string userName;
    std::string company;

    bool background = false;
    bool preview = false;
    bool silent = false;

    std::atomic<int> installState{static_cast<int>(InstallState::Idle)};
    std::atomic<bool> cancelRequested{false};
    // The user already answered "Yes" to the cancel question (the wizard's): the installation
    // rolls back without asking again.
    std::atomic<bool> cancelConfirmed{false};
    // Shared with the splash window, which runs beside the extraction: 255 once it is open,
    // 111 asks it to close.
    std::atomic<int> splashState{0};

    SelectionMode selection = SelectionMode::All;
    std::vector<std::string> chosenFiles;  // Custom: names put on the list by the custom page

    InstallState state() const { return static_cast<InstallState>(installState.load()); }
    void setState(InstallState s) { installState.store(static_cast<int>(s)); }
};

}  // namespace setup
