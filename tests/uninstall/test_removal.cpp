// The removal rules on a hand-made installation in a temporary $WINROOT: what goes, what stays
// because the user put something there, and what is refused because it leads elsewhere.

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>

#include "platform/Profile.h"
#include "platform/Registry.h"
#include "platform/SystemInfo.h"
#include "support/FakeServices.h"
#include "support/TempWinRoot.h"
#include "uninstall/Uninstaller.h"

namespace {

namespace fs = std::filesystem;
using platform::RegRoot;
using uninstall::Why;

platform::RegValue text(std::string s) {
    platform::RegValue v;
    v.text = std::move(s);
    return v;
}

constexpr const char* kUninstallKey =
    "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\App";
constexpr const char* kLog = "c:\\program files\\app\\install.log";

class Removal : public ::testing::Test {
protected:
    void SetUp() override {
        registry = platform::makeFileRegistry(root.root());
        system.variables["XDG_DATA_HOME"] = std::getenv("XDG_DATA_HOME");
        system.shellFolders[platform::ShellFolder::CommonPrograms] = "C:\\ProgramData\\Programs";
        for (const char* f :
             {"program files/app/app.exe", "program files/app/install.log",
              "program files/app/jobs/ergasies.dat", "windows/system32/zuninstall.exe",
              "ProgramData/Programs/App/App.lnk"}) {
            root.writeHostFile(f, "x");
        }
        fs::create_directories(root.driveC() / "program files/app/bin");
        registry->setValue(RegRoot::LocalMachine, "SOFTWARE\\Microsoft\\Windows\\CurrentVersion",
                           "ProgramFilesDir", text("C:\\Program Files"));
        registry->setValue(RegRoot::LocalMachine, kUninstallKey, "DisplayName", text("App"));
        registry->setValue(
            RegRoot::LocalMachine, kUninstallKey, "UninstallString",
            text("C:\\windows\\system32\\zuninstall.exe \"" + std::string(kLog) + "\""));
        registry->setValue(RegRoot::LocalMachine, "Software\\Maker\\App", "PATH", text("c:\\x"));
        registry->setValue(RegRoot::LocalMachine, "Software\\Maker\\App", "VERSION", text("1"));
        registry->setValue(RegRoot::CurrentUser, "Software\\X", "Dir", text("c:\\x"));
        registry->setValue(RegRoot::CurrentUser, "Software\\X", "Theirs", text("kept"));

        log.files = {"c:\\program files\\app\\app.exe", "c:\\programdata\\programs\\app\\app.lnk",
                     "c:\\programdata\\programs\\app\\", kLog};
        log.folders = {"c:\\program files\\",
                       "c:\\program files\\app\\",
                       "c:\\program files\\app\\bin\\",
                       "c:\\program files\\app\\jobs\\",
                       "c:\\programdata\\",
                       "c:\\programdata\\programs\\",
                       "c:\\programdata\\programs\\app"};
        log.uninstallKey = kUninstallKey;
        log.applicationKey = "Software\\Maker\\App";
        log.registryEntries = {{"HKEY_CURRENT_USER\\Software\\X", "Dir"}};
    }

    uninstall::Outcome run() {
        return uninstall::uninstallByLog(log, kLog, {root.fs(), *registry, system, *profiles});
    }

    testing_support::TempWinRoot root;
    std::unique_ptr<platform::Registry> registry;
    testing_support::FakeSystemInfo system;
    std::unique_ptr<platform::ProfileFiles> profiles = platform::makeProfileFiles(root.fs(), 1253);
    record::InstallLog log;
};

TEST_F(Removal, removes_what_the_log_names_and_keeps_the_users_files) {
    EXPECT_EQ(uninstall::productName({kLog, "", log, std::nullopt}, *registry), "App");
    const uninstall::Outcome outcome = run();

    EXPECT_TRUE(outcome.complete());
    ASSERT_EQ(outcome.leftovers.size(), 1u);
    EXPECT_EQ(outcome.leftovers[0].item, "c:\\program files\\app\\jobs\\");
    EXPECT_EQ(outcome.leftovers[0].why, Why::Kept);

    const fs::path c = root.driveC();
    EXPECT_FALSE(fs::exists(c / "program files/app/app.exe"));
    EXPECT_FALSE(fs::exists(c / "program files/app/install.log"));
    EXPECT_FALSE(fs::exists(c / "program files/app/bin"));
    EXPECT_FALSE(fs::exists(c / "ProgramData/Programs/App"));
    EXPECT_TRUE(fs::is_empty(c / "ProgramData/Programs"));  // a shell folder stays
    EXPECT_TRUE(fs::exists(c / "program files/app/jobs/ergasies.dat"));
    // The last product that used the uninstaller took its copy with it.
    EXPECT_FALSE(fs::exists(c / "windows/system32/zuninstall.exe"));

    EXPECT_FALSE(registry->value(RegRoot::CurrentUser, "Software\\X", "Dir"));
    EXPECT_TRUE(registry->value(RegRoot::CurrentUser, "Software\\X", "Theirs"));
    EXPECT_FALSE(registry->keyExists(RegRoot::LocalMachine, "Software\\Maker"));
    EXPECT_FALSE(registry->keyExists(RegRoot::LocalMachine, kUninstallKey));
    EXPECT_TRUE(registry->keyExists(RegRoot::LocalMachine, "SOFTWARE\\Microsoft\\Windows"));
}

// A data file the installation put there and the user changed since (a job list) is the
// user's: it stays, and so does its folder.
TEST_F(Removal, a_file_written_after_the_installation_is_kept) {
    const auto installed = root.fs().modifiedTime(kLog);
    ASSERT_TRUE(installed);
    root.fs().setModifiedTime("c:\\program files\\app\\app.exe", *installed + 60);
    const uninstall::Outcome outcome = run();
    EXPECT_TRUE(outcome.complete());
    EXPECT_TRUE(fs::exists(root.driveC() / "program files/app/app.exe"));
    EXPECT_FALSE(fs::exists(root.driveC() / "program files/app/install.log"));
    ASSERT_FALSE(outcome.leftovers.empty());
    EXPECT_EQ(outcome.leftovers[0].item, "c:\\program files\\app\\app.exe");
    EXPECT_EQ(outcome.leftovers[0].why, Why::Changed);
}

TEST_F(Removal, empty_program_files_folder_stays) {
    fs::remove_all(root.driveC() / "program files/app/jobs");
    EXPECT_TRUE(run().complete());
    EXPECT_FALSE(fs::exists(root.driveC() / "program files/app"));
    EXPECT_TRUE(fs::is_directory(root.driveC() / "program files"));
}

TEST_F(Removal, refuses_paths_that_lead_out_of_the_drives) {
    const fs::path outside = root.root() / "outside";
    fs::create_directories(outside);
    std::ofstream(outside / "victim.txt") << "keep";
    fs::create_directory_symlink(outside, root.driveC() / "program files/app/escape");
    registry->setValue(
        RegRoot::LocalMachine, "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Other",
        "UninstallString", text("C:\\WINDOWS\\SYSTEM32\\ZUNINSTALL.EXE \"c:\\o.log\""));
    log.files = {"c:\\program files\\app\\escape\\victim.txt", "q:\\no drive\\x.txt",
                 "\\\\server\\share\\x.txt", "c:\\program files\\app\\jobs"};
    log.folders = {"c:\\program files\\app\\escape\\"};
    log.applicationKey = "Software";
    log.uninstallKey = "SOFTWARE\\Microsoft";
    log.registryEntries = {{"HKEY_SOMEWHERE\\Software\\X", "Dir"}};

    const uninstall::Outcome outcome = run();

    EXPECT_FALSE(outcome.complete());
    const std::vector<std::pair<std::string, Why>> expected = {
        {"c:\\program files\\app\\escape\\victim.txt", Why::Outside},
        {"q:\\no drive\\x.txt", Why::Outside},
        {"\\\\server\\share\\x.txt", Why::Outside},
        {"c:\\program files\\app\\jobs", Why::IsFolder},
        {"c:\\program files\\app\\escape\\", Why::NotAFolder},
        {"HKEY_SOMEWHERE\\Software\\X, Dir", Why::UnknownRoot},
        {"HKEY_LOCAL_MACHINE\\Software", Why::NotOwned},
        {"HKEY_LOCAL_MACHINE\\SOFTWARE\\Microsoft", Why::NotOwned},
        {"C:\\windows\\system32\\zuninstall.exe", Why::Shared},
    };
    ASSERT_EQ(outcome.leftovers.size(), expected.size());
    for (std::size_t i = 0; i < expected.size(); ++i) {
        EXPECT_EQ(outcome.leftovers[i].item, expected[i].first) << i;
        EXPECT_EQ(outcome.leftovers[i].why, expected[i].second) << i;
    }
    EXPECT_TRUE(fs::exists(outside / "victim.txt"));
    EXPECT_TRUE(fs::is_symlink(root.driveC() / "program files/app/escape"));
    EXPECT_TRUE(fs::exists(root.driveC() / "windows/system32/zuninstall.exe"));
    EXPECT_TRUE(registry->keyExists(RegRoot::LocalMachine, "SOFTWARE\\Microsoft\\Windows"));
}

}  // namespace
