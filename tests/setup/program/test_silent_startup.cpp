// The built setup program run as a user would run it: from a package folder, with no display.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>

#include "platform/Registry.h"
#include "setup/config/ExitStatus.h"
#include "support/TempWinRoot.h"

namespace {

struct Outcome {
    int status = -1;
    std::string err;
};

// setup lies in C:\pkg as a link named "setup", so the package folder is where it looks.
Outcome runSetup(testing_support::TempWinRoot& root, const std::string& dataTag,
                 const std::string& environment = {}) {
    auto pkg = root.driveC() / "pkg";
    std::filesystem::create_directories(pkg);
    if (!dataTag.empty()) root.writeHostFile("pkg/data.tag", dataTag);
    std::filesystem::create_symlink(SETUP_BINARY, pkg / "setup");
    auto errFile = root.root() / "stderr.txt";
    std::string command = "cd '" + root.root().string() + "' && env -u DISPLAY -u WAYLAND_DISPLAY" +
                          " -u QT_QPA_PLATFORM -u PROGRAMFILES WINROOT='" + root.root().string() +
                          "' " + environment + " '" + (pkg / "setup").string() + "' 2>'" +
                          errFile.string() + "' >/dev/null";
    int raw = std::system(command.c_str());
    std::ifstream in(errFile);
    Outcome out{WIFEXITED(raw) ? WEXITSTATUS(raw) : -1,
                std::string(std::istreambuf_iterator<char>(in), {})};
    return out;
}

}  // namespace

TEST(setup_program, data_file_missing) {
    testing_support::TempWinRoot root;
    Outcome out = runSetup(root, "");
    EXPECT_EQ(out.status, setup::kExitDataFileMissing);
    EXPECT_EQ(out.err, "setup: Data file not found...\n");
}

TEST(setup_program, silent_without_program_files_folder) {
    testing_support::TempWinRoot root;
    // A machine whose registry gives no program files folder (and no PROGRAMFILES).
    platform::makeFileRegistry(root.root())
        ->setValue(platform::RegRoot::LocalMachine, "SOFTWARE\\Microsoft\\Windows\\CurrentVersion",
                   "ProgramFilesDir", {platform::RegValue::Type::String, ""});
    Outcome out = runSetup(root, "[APPINFO]\r\nSILENTMODE=1\r\n[SYSTEM]\r\nALL=1\r\n");
    EXPECT_EQ(out.status, setup::kExitNoPermission);
    EXPECT_EQ(out.err, "setup: You don't have permission to run setup in this computer...\n");
}

TEST(setup_program, silent_requirement_not_met_and_met) {
    testing_support::TempWinRoot root;
    Outcome out = runSetup(root, "[APPINFO]\r\nSILENTMODE=1\r\n[SYSTEM]\r\nmr1=1\r\nmr2=1\r\n");
    EXPECT_EQ(out.status, setup::kExitRequirementNotMet);
    EXPECT_EQ(out.err, "setup: This OS platform is not supported by this software.\n");

    testing_support::TempWinRoot second;
    out = runSetup(second, "[APPINFO]\r\nSILENTMODE=1\r\n[SYSTEM]\r\nALL=1\r\nmr7=Any\r\n");
    EXPECT_EQ(out.status, setup::kExitDone);
    EXPECT_EQ(out.err, "");
}
