// A run either installs what it was asked to, or says what it left out, or changes nothing:
// never "installed" over a missing file.

#include <gtest/gtest.h>

#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <set>

#include "record/Journal.h"
#include "setup/config/ExitStatus.h"
#include "setup/engine/InstallRun.h"
#include "setup/engine/engine_support.h"

namespace {

namespace fs = std::filesystem;
using engine_test::EngineTest;
using setup::NotInstalled;
using setup::RunOutcome;

bool mentions(const std::vector<std::string>& messages, const std::string& part) {
    for (const auto& m : messages)
        if (m.find(part) != std::string::npos) return true;
    return false;
}

// What cannot begin, and a preview, leave the machine as it was: no folder, log, journal,
// variable or uninstall entry.
TEST_F(EngineTest, runs_that_must_not_begin_change_nothing) {
    const struct {
        const char* what;
        std::string folder;
        std::string tag;
        bool fileList;
        RunOutcome outcome;
    } rows[] = {
        {"relative folder", "App", "[FILES]\r\nTOTAL=1\r\n", true, RunOutcome::Failed},
        {"unknown token", "<Documents Folder>\\App", "[FILES]\r\nTOTAL=1\r\n", true,
         RunOutcome::Failed},
        {"file list missing", "C:\\Program Files\\App", "[FILES]\r\nTOTAL=1\r\n", false,
         RunOutcome::Failed},
        {"preview", "C:\\Program Files\\App",
         "[APPINFO]\r\nPreview=YES\r\n[FILES]\r\nTOTAL=1\r\n[ENVIR]\r\nTOTAL=1\r\nA0=PATH\r\n"
         "B0=<Install Dir>\r\nC0=User\r\n[KILLPROCESS]\r\nCLASSNAME=AppWindow\r\n",
         true, RunOutcome::Finished},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.what);
        fs::remove_all(root.driveC() / "Program Files");
        dataTag(row.tag);
        package({{"C:\\b\\app.exe", "<Install Dir>*0,0,0"}});
        if (!row.fileList) fs::remove(root.driveC() / "setup/datafile.dlr");
        run.installFolder = row.folder;
        folders.set(setup::FolderKind::InstallDir, "");
        const auto before = engine_test::snapshot(root.root());
        EXPECT_EQ(install(), row.outcome);
        engine_test::expectSameTree(before, engine_test::snapshot(root.root()));
        if (row.outcome == RunOutcome::Failed) {
            EXPECT_FALSE(installer->failure().empty());
        }
    }
}

// A member the cabinets did not hold, a folder without a leading token, a path too long for
// Windows and a download nobody fetched: the rest is installed, and these four are named.
TEST_F(EngineTest, what_was_left_out_is_named) {
    const std::string deep = "<Install Dir>\\" + std::string(240, 'd');
    dataTag("[FILES]\r\nTOTAL=4\r\n[ADVANCEDACTIONS]\r\nTOTAL=1\r\nC0=Download\r\n"
            "F0=http://127.0.0.1:9/extra.zip\r\n"
            "[FOLDER]\r\nTOTAL=2\r\nA0=Gone\r\nB0=Programs Menu Folder\r\n"
            "D0=<Install Dir>\\gone.exe\r\nA1=App\r\nB1=Programs Menu Folder\r\n"
            "D1=<Install Dir>\\app.exe\r\nSHOWWINDOWFOLDER=NO\r\n");
    package({{"C:\\b\\app.exe", "<Install Dir>*0,0,0"},
             {"C:\\b\\gone.exe", "<Install Dir>*0,0,0"},
             {"C:\\b\\loose.txt", "C:\\Loose*0,0,0"},
             {"C:\\b\\long.txt", deep + "*0,0,0"}});
    fs::remove(root.driveC() / "windows/temp/F1_gone.exe");

    ASSERT_EQ(install(), RunOutcome::Finished);
    EXPECT_EQ(host("Program Files/App/app.exe"), "member 0");
    const std::vector<std::pair<std::string, NotInstalled::Why>> expected = {
        {"C:\\Program Files\\App\\gone.exe", NotInstalled::Why::NotInCabinets},
        {"C:\\Loose\\loose.txt", NotInstalled::Why::NoFolder},
        {"C:\\Program Files\\App\\" + std::string(240, 'd') + "\\long.txt",
         NotInstalled::Why::PathTooLong},
        {"C:\\Program Files\\App\\extra.zip", NotInstalled::Why::NotDownloaded},
    };
    std::vector<std::pair<std::string, NotInstalled::Why>> got;
    for (const auto& n : installer->notInstalled()) got.emplace_back(n.path, n.why);
    std::sort(got.begin(), got.end());
    auto sorted = expected;
    std::sort(sorted.begin(), sorted.end());
    EXPECT_EQ(got, sorted);
    for (const auto& [path, why] : expected) EXPECT_TRUE(mentions(prompter.messages, path)) << path;
    EXPECT_FALSE(fs::exists(root.driveC() / "Loose"));
    EXPECT_FALSE(fs::exists(root.driveC() / "Program Files/App" / std::string(240, 'd')));
    // A shortcut only where its target is.
    EXPECT_TRUE(fs::exists(root.driveC() / "Menu/Programs/App/App.lnk"));
    EXPECT_FALSE(fs::exists(root.driveC() / "Menu/Programs/App/Gone.lnk"));
}

// The silent run answers as the pages would by default: an update goes into the folder of the
// installation it updates, the group is DS4's, and a run that left files out says so in its
// exit status.
TEST_F(EngineTest, silent_run_takes_the_pages_defaults) {
    platform::RegValue command;
    command.text = "C:\\windows\\system32\\zuninstall.exe \"C:\\Old Place\\App\\install.log\"";
    services.registry->setValue(platform::RegRoot::LocalMachine,
                                "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\App",
                                "UninstallString", command);
    for (const char* missing : {"", "gone"}) {
        SCOPED_TRACE(missing);
        dataTag("[APPINFO]\r\n1=App\r\nINSTALLMODE=Update\r\n[DIALOG]\r\nDS4=Tools\r\n"
                "[FILES]\r\nTOTAL=2\r\n[FOLDER]\r\nTOTAL=1\r\nA0=App\r\nB0=Programs Menu Folder\r\n"
                "D0=<Install Dir>\\app.exe\r\nSHOWWINDOWFOLDER=NO\r\n");
        package({{"C:\\b\\app.exe", "<Install Dir>*0,0,0"},
                 {"C:\\b\\gone.txt", "<Install Dir>*0,0,0"}});
        if (*missing) fs::remove(root.driveC() / "windows/temp/F1_gone.txt");
        run.installFolder = "C:\\Program Files\\App";
        run.programFolder = "App";
        const std::string title = "setup";
        setup::SetupContext context{services, prompter, run, folders, data, title};
        EXPECT_EQ(setup::runSilentInstall(context),
                  *missing ? setup::kExitIncomplete : setup::kExitDone);
        EXPECT_EQ(host("Old Place/App/app.exe"), "member 0");
        EXPECT_FALSE(fs::exists(root.driveC() / "Program Files/App/app.exe"));
        EXPECT_TRUE(fs::exists(root.driveC() / "Menu/Programs/Tools/App.lnk"));
    }
    EXPECT_TRUE(mentions(prompter.messages, "C:\\Old Place\\App\\gone.txt"));
}

// Members are moved into place, not copied: nothing of them is left to delete, the journal
// records them as it records a copy, and what a rename cannot serve is copied: a file kept by
// its flag, one that replaces another, and a folder on another file system. The uninstaller
// goes the same way; a file of its windows' name that the run did not unpack is only copied.
TEST_F(EngineTest, members_move_into_place_and_copy_where_they_must) {
    const fs::path other = fs::path("/dev/shm") / ("setup-test-" + std::to_string(getpid()));
    fs::create_directories(other);
    fs::create_symlink(other, root.root() / "dosdevices/d:");
    root.writeHostFile("Program Files/App/kept.txt", "the user's");
    root.writeHostFile("Program Files/App/old.txt", "older");
    root.writeHostFile("windows/temp/readme.txt", "not the package's");
    dataTag("[FILES]\r\nTOTAL=4\r\n");
    package({{"C:\\b\\new.txt", "<Install Dir>*0,0,0"},
             {"C:\\b\\kept.txt", "<Install Dir>*1,0,0"},
             {"C:\\b\\old.txt", "<Install Dir>*0,0,0"},
             {"C:\\b\\far.txt", "<Favorites Folder>*0,0,0"}});
    root.writeHostFile("windows/temp/F9_extra.bin", "unpacked, not listed");
    fs::create_directories(root.driveC() / "windows/system32");
    root.writeHostFile("windows/temp/zuninstall.exe", "uninstaller");
    root.writeHostFile("windows/temp/zuninstall-windows.so", "someone's");
    run.unpackedFiles = {"C:\\windows\\temp\\F0_new.txt", "C:\\windows\\temp\\F1_kept.txt",
                         "C:\\windows\\temp\\F2_old.txt", "C:\\windows\\temp\\F3_far.txt",
                         "C:\\windows\\temp\\F9_extra.bin", "C:\\windows\\temp\\ZUNINSTALL.EXE"};
    folders.set(setup::FolderKind::Favorites, "D:");

    ASSERT_EQ(install(), RunOutcome::Finished);
    EXPECT_EQ(host("Program Files/App/new.txt"), "member 0");
    EXPECT_EQ(host("Program Files/App/kept.txt"), "the user's");
    EXPECT_EQ(host("Program Files/App/old.txt"), "member 2");
    std::ifstream far(other / "far.txt");
    EXPECT_EQ(std::string(std::istreambuf_iterator<char>(far), {}), "member 3");
    EXPECT_EQ(host("windows/system32/zuninstall.exe"), "uninstaller");
    EXPECT_EQ(host("windows/system32/zuninstall-windows.so"), "someone's");
    // The temporary folder holds only what was there before the run.
    std::set<std::string> left;
    for (const auto& e : fs::directory_iterator(root.driveC() / "windows/temp"))
        left.insert(e.path().filename().string());
    EXPECT_EQ(left, (std::set<std::string>{"readme.txt", "zuninstall-windows.so"}));
    const auto journal = record::readJournal(*services.files,
                                             record::journalPathFor(installer->logPath()));
    ASSERT_TRUE(journal);
    std::set<std::string> recorded;
    for (const auto& r : journal->records)
        if (r.tag == "file" || r.tag == "replace") recorded.insert(r.field(0));
    for (const char* path : {"C:\\Program Files\\App\\new.txt", "C:\\Program Files\\App\\old.txt",
                             "D:\\far.txt"})
        EXPECT_TRUE(recorded.count(path)) << path;
    EXPECT_FALSE(recorded.count("C:\\Program Files\\App\\kept.txt"));
    fs::remove_all(other);
}

}  // namespace

namespace {

// Greek file names in a code page 1253 package: the setup type's list (data.tag), the file
// list (datafile.dlr) and the members (UTF-8, as unpacked) name the same files, whichever
// selection is in force.
TEST_F(EngineTest, greek_names_install_under_every_setup_type) {
    for (const auto selection : {setup::SelectionMode::All, setup::SelectionMode::TypeList,
                                 setup::SelectionMode::Custom}) {
        SCOPED_TRACE(static_cast<int>(selection));
        fs::remove_all(root.driveC() / "Program Files");
        dataTag(testing_support::cp1253("[FILES]\r\nTOTAL=2\r\n[SETUPTYPE]\r\nTOTAL=1\r\n"
                                         "A0=Εργασίες.dat\r\n"));
        package({{"C:\\b\\Εργασίες.dat", "<Install Dir>*0,0,0"},
                 {"C:\\b\\μελέτη.txt", "<Install Dir>\\Μελέτες*0,0,0"}});
        run.selection = selection;
        run.chosenFiles = {"Εργασίες.dat"};
        ASSERT_EQ(install(), RunOutcome::Finished);
        EXPECT_EQ(host("Program Files/App/Εργασίες.dat"), "member 0");
        EXPECT_EQ(fs::exists(root.driveC() / "Program Files/App/Μελέτες/μελέτη.txt"),
                  selection == setup::SelectionMode::All);
        EXPECT_TRUE(installer->notInstalled().empty());
    }
}

}  // namespace
