#pragma once
// The package as its setup data files describe it: data.tag and language.tag read once, at
// start-up, into typed values that the start-up, the wizard pages and the installation engine
// take. readPackage is the only place a key is read, each with the longest value it keeps and
// the rule its text is read by:
//   text     the value, cut to its longest length; a missing file, section or key reads empty;
//   switch   on when the text reads as the integer 1 the way strtol reads it ("01", "1 ", "1x");
//   number   the text read the way strtol reads it (no digits: 0);
//   keyword  the text compared with a fixed word, letter case counting ("SIM", "YES", "1").
// The comment beside each field names its section, key, longest value and rule.
//
// A list section holds its count in a TOTAL key and its entries in keys numbered from 0 ("A0",
// "B0", "A1", ...). An entry is a number below the count for which at least one of its keys is
// present, in ascending order; a number none of whose keys is present gives no entry. The
// section is read once, so a count far beyond the keys present costs nothing.

#include <array>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "setup/config/DataFiles.h"

namespace platform {
class ProfileFiles;
}

namespace setup {

// [APPINFO]
struct AppInfo {
    std::string productName;           // "1", 99, text
    std::string program;               // "2", 254, text: the main program, in the install folder
    std::string version;               // "3", 99, text
    std::string company;               // "4", 99, text
    std::string defaultInstallFolder;  // "5", 99, text with folder tokens
    bool update = false;               // "INSTALLMODE", 99, text neither empty nor "New Software"
    bool preview = false;              // "Preview", 99, keyword "YES": no file is copied
    bool silent = false;               // "SILENTMODE", 99, switch
    bool uninstallOff = false;         // "UNINSTALLOFF", 99, switch
};

// [MAINWINDOW] and [SPLASH]
struct MainWindow {
    bool background = false;          // "BackGround", 99, keyword "SIM": the full-screen window
    std::string caption;              // "BACK1", 99, text: top left of the background window
    std::string footer;               // "BACK2", 99, text: bottom right of it
    Rgb top;                          // "BACK3", 99, colour text: top of the gradient
    Rgb bottom;                       // "BACK4", 99, colour text: bottom of the gradient
    std::string leftImage;            // "LeftImage", 99, text: a path, only its file name counts
    bool leftImageOnWelcome = false;  // "LeftImageS", 99, keyword "0"
    // "ADVANCED", 8, keyword "1": the extraction window stays open, and with runCompanion the
    // companion program runs at Finish.
    bool advanced = false;
    bool splash = false;        // "2", 8, text not empty: the splash window beside the extraction
    bool runCompanion = false;  // [SPLASH] "6", 8, keyword "1"
};

// [SYSTEM]: every value read whole (4095).
struct SystemRequirements {
    bool everySystem = false;  // "ALL", switch
    // "mr1" to "mr6", switches: Windows 95, 98, ME, 2000, NT, XP (NT after 2000).
    std::array<bool, 6> systems{};
    // "mr7", number of megabytes; none for the keyword "Any".
    std::optional<long> memoryMegabytes = 0;
    // "mr8", width "x" height (no "x": only the height); none for the keyword "Any resolution".
    struct Resolution {
        long width = 0;
        long height = 0;
    };
    std::optional<Resolution> resolution = Resolution{};
    // "mr9", keywords "256 colors" 8, "24 Bit" 24, "32 Bit" 32; anything else 0.
    int colourBits = 0;
};

// [DIALOG]
struct Pages {
    // "0" to "7" and "9", 4, switches: the pages the wizard shows, in its order.
    bool welcome = false;
    bool license = false;
    bool readme = false;
    bool user = false;
    bool destination = false;
    bool setupType = false;
    bool programFolder = false;
    bool startCopying = false;
    bool complete = false;
    bool progressShown = false;        // "8", 4, keyword "1": the progress page is not collapsed
    std::string defaultProgramFolder;  // "DS4", 99, text
    bool completeBoxes = true;         // "COMPLETE1", 9, number 0: the complete page's boxes
    bool finishActions = false;        // "COMPLETE2", 9, number not 0 (0: the restart question)
    bool readmeBox = false;            // "COMPLETE3", 9, number 1: the readme box, ticked
    bool runBox = false;               // "COMPLETE4", 9, number 1: the run box, ticked
    bool alwaysRun = false;            // "COMPLETE5", 9, number 1: Finish runs the program
    bool alwaysReadme = false;         // "COMPLETE6", 9, number 1: Finish opens the readme
};

// [FILES]
struct FilesSection {
    int total = 0;  // "TOTAL", 19, number: the files of datafile.dlr, the progress bar's range
    std::vector<std::string> sources;  // "PR<i>", 254, text: for i below total
};

// [ADVANCEDACTIONS]: "TOTAL", 99, number; entries "C<i>" and "F<i>", 99, text.
struct AdvancedAction {
    bool download = false;  // "C<i>" keyword "Download"; other actions do nothing
    std::string argument;   // "F<i>": for a download, its URL
};

// [ENVIR]: "TOTAL", 99, number; entries "A<i>", "B<i>", "C<i>", 99, text.
enum class EnvironmentScope { None, User, System };  // "C<i>" keywords "User", "System"
struct EnvironmentVariable {
    std::string name;   // "A<i>"
    std::string value;  // "B<i>", with folder tokens
    EnvironmentScope scope = EnvironmentScope::None;
};
struct EnvironmentSection {
    long total = 0;  // the count as written: above 0, the run says it verifies variables
    std::vector<EnvironmentVariable> variables;
};

// [KILLPROCESS], 254, text: copied into the install log for the uninstaller.
struct KillProcess {
    std::string className;   // "CLASSNAME"
    std::string windowName;  // "WINDOWNAME"
    std::string method;      // "METHOD"
};

// [INI]: "TOTAL", 99, number; entries "N1<i>" to "N5<i>", 119, text.
struct IniEntry {
    std::string section;  // "N1<i>"
    std::string key;      // "N2<i>"
    std::string value;    // "N3<i>", with folder tokens
    std::string file;     // "N4<i>"
    std::string folder;   // "N5<i>", with folder tokens
};

// [REGISTRODADOS]: "TOTALDADOS", 99, number; entries "A<i>" to "D<i>", 254, text.
enum class RegistryType { Unknown, String, Dword, Binary };  // "D<i>" keywords
struct RegistryData {
    std::string path;  // "A<i>": root name, "\", subkey; logged as written here
    std::string name;  // "B<i>"
    std::string data;  // "C<i>", with folder tokens
    RegistryType type = RegistryType::Unknown;
};

// [FOLDER]: "TOTAL", 99, number; entries "A<i>" to "G<i>", 99, text.
enum class ShortcutPlace {  // "B<i>" keywords
    Unknown,
    ProgramsMenu,   // "Programs Menu Folder"
    StartMenu,      // "Start Menu Folder"
    Desktop,        // "Desktop Folder"
    Startup,        // "Startup Folder"
    ActiveDesktop,  // "Active Desktop Folder"
    Favorites,      // "Favorites Folder"
};
enum class ShowState { Normal, Maximized, Minimized };  // "C<i>" keywords
struct Shortcut {
    std::string name;  // "A<i>": the file name without extension
    ShortcutPlace place = ShortcutPlace::Unknown;
    ShowState show = ShowState::Normal;
    std::string target;         // "D<i>", with folder tokens
    std::string workingFolder;  // "E<i>", with folder tokens
    std::string icon;           // "F<i>": only its file name counts
    std::string arguments;      // "G<i>"
};
struct ShortcutSection {
    long total = 0;  // the count as written: above 0, the program group is made
    std::vector<Shortcut> shortcuts;
    bool openGroup = true;  // "SHOWWINDOWFOLDER", 99, anything but the keyword "NO"
};

// [LANGUAGE] of language.tag, when it existed at start-up: the texts that replace the built-in
// English ones. Those marked "placeholder" have every "********" replaced by the product name.
struct LanguageTexts {
    bool present = false;
    std::string next;                 // "1", 99
    std::string back;                 // "2", 99
    std::string cancel;               // "3", 99: also the extraction window's
    std::string welcomeBody;          // "4", 99, placeholder
    std::string welcomeTitle;         // "5", 99, placeholder
    std::string licenseTitle;         // "6", 169
    std::string licenseSubtitle;      // "7", 169
    std::string licenseDecline;       // "8", 169
    std::string licenseAccept;        // "9", 169, placeholder
    std::string yes;                  // "10", 149: cancel and restart questions
    std::string no;                   // "11", 149
    std::string readmeTitle;          // "12", 99
    std::string readmeSubtitle;       // "13", 99
    std::string userTitle;            // "14", 149
    std::string userSubtitle;         // "15", 149
    std::string userNameLabel;        // "16", 149
    std::string companyLabel;         // "17", 149
    std::string destinationTitle;     // "19", 149
    std::string destinationSubtitle;  // "20", 149
    std::string destinationText;      // "22", 149, placeholder
    std::string browse;               // "25", 149
    std::string setupTypeTitle;       // "26", 149
    std::string setupTypeSubtitle;    // "27", 149
    std::string typicalDescription;   // "28", 149
    std::string compactDescription;   // "29", 149
    std::string customDescription;    // "30", 149
    std::string typical;              // "31", 149
    std::string compact;              // "32", 149
    std::string custom;               // "33", 149
    std::string folderTitle;          // "34", 149
    std::string folderSubtitle;       // "35", 149
    std::string folderListLabel;      // "36", 149
    std::string startTitle;           // "39", 149
    std::string startSubtitle;        // "40", 149
    std::string startText;            // "41", 149
    std::string startSummaryLabel;    // "42", 149
    std::string completeTitle;        // "43", 149
    std::string restartQuestion;      // "44", 149
    std::string readmeBox;            // "48", 149
    std::string runBox;               // "49", 149
    std::string extractionStatus;     // "50", 169
    std::string progressTitle;        // "51", 149
    std::string progressSubtitle;     // "52", 149
    std::string cancelQuestion;       // "56", 149
    std::string finish;               // "57", 99: the Cancel button once installed
    std::string customTitle;          // "58", 99
    std::string customSubtitle;       // "59", 99
};

struct PackageDescription {
    AppInfo app;
    MainWindow window;
    SystemRequirements requirements;
    Pages pages;
    FilesSection files;
    // [SETUPTYPE] "TOTAL", 99, number; "A<i>", 99, text: the files of the compact set.
    std::vector<std::string> compactFiles;
    std::vector<AdvancedAction> advancedActions;
    EnvironmentSection environment;
    KillProcess killProcess;
    std::vector<IniEntry> iniEntries;
    // [REGISTROCHAVES] "TOTALKEYS", 99, number; "KEY<i>", 254, text: keys made when missing.
    std::vector<std::string> registryKeys;
    std::vector<RegistryData> registryValues;
    ShortcutSection shortcuts;
    LanguageTexts texts;
};

// Reads data.tag, and language.tag when its path is given (the file existed at start-up).
// Paths are Windows paths; a file that cannot be read reads as an empty one.
PackageDescription readPackage(const platform::ProfileFiles& profiles, std::string_view dataTagPath,
                               std::optional<std::string_view> languageTagPath = std::nullopt);

}  // namespace setup
