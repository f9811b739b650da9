// The built setup program run as a user would run it: from a package folder, with no display.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>

#include "platform/Registry.h"
#include "setup/config/ExitStatus.h"
#include "support/CabinetBytes.h"
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
    if (!std::filesystem::is_symlink(pkg / "setup"))
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
                   "ProgramFilesDir", {platform::RegValue::Type::String, "", 0, ""});
    Outcome out = runSetup(root, "[APPINFO]\r\nSILENTMODE=1\r\n[SYSTEM]\r\nALL=1\r\n");
    EXPECT_EQ(out.status, setup::kExitNoPermission);
    EXPECT_EQ(out.err, "setup: You don't have permission to run setup in this computer...\n");
}

TEST(setup_program, silent_requirement_not_met_and_met) {
    testing_support::TempWinRoot root;
    root.writeHostFile("pkg/file1.cab", testing_support::cabinet({{"F0_a.txt", "a"}}));
    Outcome out = runSetup(root, "[APPINFO]\r\nSILENTMODE=1\r\n[SYSTEM]\r\nmr1=1\r\nmr2=1\r\n");
    EXPECT_EQ(out.status, setup::kExitRequirementNotMet);
    EXPECT_EQ(out.err, "setup: This OS platform is not supported by this software.\n");

    testing_support::TempWinRoot second;
    second.writeHostFile("pkg/file1.cab", testing_support::cabinet({{"F0_a.txt", "a"}}));
    out = runSetup(second, "[APPINFO]\r\nSILENTMODE=1\r\n[SYSTEM]\r\nALL=1\r\nmr7=Any\r\n");
    EXPECT_EQ(out.status, setup::kExitInstallFailed);
    EXPECT_EQ(out.err,
              "setup: There is no installation folder: [APPINFO] \"5\" of data.tag is empty.\n");

    out = runSetup(second,
                   "[APPINFO]\r\n1=Demo\r\n5=<Program Files>\\Demo\r\nSILENTMODE=1\r\n"
                   "[SYSTEM]\r\nALL=1\r\nmr7=Any\r\n");
    EXPECT_EQ(out.status, setup::kExitDone);
    EXPECT_EQ(out.err,
              "setup: installed Demo into C:\\Program Files\\Demo; log "
              "C:\\Program Files\\Demo\\install.log\n");
}

// A silent run unpacks file1.cab, installs its members (the program still runnable) and
// clears the temporary folder; a cabinet naming a member outside that folder is refused with
// a message and the failure's status, and nothing is written.
TEST(setup_program, silent_extraction_and_hostile_cabinet) {
    const std::string data =
        "[APPINFO]\r\n1=Demo\r\n5=<Program Files>\\Demo\r\nSILENTMODE=1\r\n"
        "[SYSTEM]\r\nALL=1\r\nmr7=Any\r\n[FILES]\r\nTOTAL=2\r\n";
    testing_support::TempWinRoot good;
    const std::string program = "#!/bin/sh\necho dezovur\n";
    good.writeHostFile("pkg/file1.cab", testing_support::cabinet(
                                            {{"F0_dezovur", program}, {"F1_l.dat", "29350\r\n"}}));
    good.writeHostFile(
        "pkg/datafile.dlr",
        "b:\\dezovur\r\n<Install Dir>*0,0,0\r\nb:\\l.dat\r\n<Install Dir>*0,0,0\r\n");
    Outcome out = runSetup(good, data);
    EXPECT_EQ(out.status, setup::kExitDone) << out.err;
    EXPECT_EQ(good.readHostFile("Program Files/Demo/dezovur"), program);
    EXPECT_EQ(good.readHostFile("Program Files/Demo/l.dat"), "29350\r\n");
    const auto perms =
        std::filesystem::status(good.driveC() / "Program Files/Demo/dezovur").permissions();
    EXPECT_NE(perms & std::filesystem::perms::others_exec, std::filesystem::perms::none);
    EXPECT_FALSE(std::filesystem::exists(good.driveC() / "windows/temp/F0_dezovur"));

    testing_support::TempWinRoot hostile;
    hostile.writeHostFile("pkg/file1.cab",
                          testing_support::cabinet({{"F0_a.txt", "a"}, {"..\\..\\evil.txt", "x"}}));
    out = runSetup(hostile, data);
    EXPECT_EQ(out.status, setup::kExitExtractionFailed);
    EXPECT_EQ(out.err.rfind("setup: error...\r\n", 0), 0u) << out.err;
    EXPECT_NE(out.err.find("\\file1.cab\r\n"), std::string::npos) << out.err;
    EXPECT_FALSE(std::filesystem::exists(hostile.driveC() / "evil.txt"));
    EXPECT_FALSE(std::filesystem::exists(hostile.driveC() / "windows/temp/F0_a.txt"));
}

// A word on the command line is answered with the usage and installs nothing, whatever the
// package beside the program says.
TEST(setup_program, arguments_install_nothing) {
    testing_support::TempWinRoot root;
    root.writeHostFile("pkg/data.tag", "[APPINFO]\r\n5=C:\\App\r\nSILENTMODE=1\r\n[SYSTEM]\r\nALL=1\r\n");
    std::filesystem::create_symlink(SETUP_BINARY, root.driveC() / "pkg/setup");
    const struct {
        const char* word;
        int status;
    } cases[] = {{"--help", setup::kExitDone}, {"/?", setup::kExitDone}, {"--bogus", setup::kExitUsage}};
    for (const auto& c : cases) {
        const std::string word = *c.word ? std::string(" '") + c.word + "'" : "";
        const std::string command = "cd '" + root.root().string() + "' && WINROOT='" +
                                    root.root().string() + "' '" +
                                    (root.driveC() / "pkg/setup").string() + "'" + word +
                                    " >/dev/null 2>&1";
        const int raw = std::system(command.c_str());
        EXPECT_EQ(WIFEXITED(raw) ? WEXITSTATUS(raw) : -1, c.status) << c.word;
        // Without a word the same package installs: the words were what stopped it.
        EXPECT_EQ(std::filesystem::exists(root.driveC() / "App"), *c.word == '\0') << c.word;
    }
}
