// The copy pass's rules by folder kind and flag, the log's names and numbering, and the
// registry value types.

#include <set>

#include "engine_support.h"
#include "setup/engine/WinText.h"

using engine_test::EngineTest;
using platform::RegRoot;
using setup::RunOutcome;

TEST_F(EngineTest, copy_rules_by_kind_and_flag) {
    dataTag("[FILES]\r\nTOTAL=7\r\n");
    package({{"C:\\b\\kept.ini", "<Windows Directory>*1,1,0"},
             {"C:\\b\\old.cfg", "<Install Dir>*1,0,0"},
             {"C:\\b\\ctl.ocx", "<Shared DLLs>*1,0,1"},
             {"C:\\b\\lib.dll", "<Shared DLLs>*1,0,0"},
             {"C:\\b\\plain.txt", "C:\\elsewhere*0,0,0"},
             {"C:\\b\\t.dat", "<Temp Dir>*0,0,0"},
             {"C:\\b\\font.ttf", "<Fonts Folder>*0,0,0"}});
    root.writeHostFile("windows/kept.ini", "user's");
    root.writeHostFile("Program Files/App/old.cfg", "user's too");
    root.writeHostFile("windows/system32/ctl.ocx", "older control");
    // A read-only member (from a CD, say) is installed writable.
    ASSERT_TRUE(services.files->setAttributes("C:\\windows\\temp\\F6_font.ttf",
                                              platform::kAttrReadOnly));

    ASSERT_EQ(install(), RunOutcome::Finished);

    EXPECT_EQ(host("windows/kept.ini"), "user's");
    EXPECT_EQ(host("Program Files/App/old.cfg"), "user's too");
    EXPECT_EQ(host("windows/system32/ctl.ocx"), "older control");
    EXPECT_EQ(launcher->started,
              std::vector<std::string>{"regsvr32.exe /s \"C:\\windows\\system32\\ctl.ocx\""});
    EXPECT_EQ(host("windows/system32/lib.dll"), "member 3");
    EXPECT_FALSE(services.files->exists("C:\\elsewhere\\plain.txt"));  // no token: no rule
    EXPECT_FALSE(services.files->exists("C:\\windows\\temp\\t.dat"));
    EXPECT_EQ(host("windows/fonts/font.ttf"), "member 6");
    EXPECT_FALSE(services.files->isReadOnly("C:\\windows\\fonts\\font.ttf"));

    // Kept files stay known to the shortcuts but are never the uninstaller's to delete; the
    // system DLL is never logged; the uninstaller's number is skipped.
    const auto& installed = installer->installedFiles();
    EXPECT_NE(std::find(installed.begin(), installed.end(), "C:\\Program Files\\App\\old.cfg"),
              installed.end());
    EXPECT_EQ(log("LOG", "0"), "c:\\windows\\fonts\\font.ttf");
    EXPECT_EQ(log("LOG", "1"), "<none>");
    EXPECT_EQ(log("LOG", "2"), "c:\\program files\\app\\data.tag");
    EXPECT_EQ(log("LOG", "3"), "<none>");
    EXPECT_EQ(log("DIR", "0"), "C:\\Program Files\\");
    EXPECT_EQ(log("DIR", "1"), "C:\\Program Files\\App\\");
    EXPECT_EQ(log("DIR", "2"), "C:\\windows\\");
    EXPECT_EQ(log("DIR", "3"), "C:\\windows\\system32\\");
    // A folder without a leading token is no folder: nothing made, nothing logged, and said.
    EXPECT_EQ(log("DIR", "4"), "C:\\windows\\temp\\");
    EXPECT_EQ(log("DIR", "5"), "C:\\windows\\fonts\\");
    EXPECT_EQ(log("DIR", "6"), "<none>");
    ASSERT_EQ(installer->notInstalled().size(), 1u);
    EXPECT_EQ(installer->notInstalled()[0].path, "C:\\elsewhere\\plain.txt");
    EXPECT_EQ(installer->notInstalled()[0].why, setup::NotInstalled::Why::NoFolder);
    // The members are cleaned up with the fixed names.
    EXPECT_TRUE(services.files->list("C:\\windows\\temp", "*").empty());
}

TEST_F(EngineTest, type_list_keeps_positions_and_deep_folders_are_whole) {
    dataTag("[FILES]\r\nTOTAL=4\r\n[SETUPTYPE]\r\nTOTAL=2\r\nA0=a.txt\r\nA1=x.dll\r\n");
    std::string deep = "<Install Dir>";
    for (int i = 0; i < 12; ++i) deep += "\\d" + std::to_string(i);
    package({{"C:\\b\\a.txt", deep + "*0,0,0"},
             {"C:\\b\\b.txt", "<Install Dir>*0,0,0"},
             {"C:\\b\\c.txt", "<Install Dir>*0,0,0"},
             {"C:\\b\\x.dll", "<Install Dir>*0,0,0"}});
    run.selection = setup::SelectionMode::TypeList;
    ASSERT_EQ(install(), RunOutcome::Finished);
    ASSERT_EQ(installer->copyList().size(), 2u);
    EXPECT_EQ(installer->copyList()[1].source, "C:\\windows\\temp\\F3_x.dll");
    EXPECT_EQ(host("Program Files/App/x.dll"), "member 3");
    EXPECT_FALSE(services.files->exists("C:\\Program Files\\App\\b.txt"));
    EXPECT_EQ(host("Program Files/App/d0/d1/d2/d3/d4/d5/d6/d7/d8/d9/d10/d11/a.txt"), "member 0");
    EXPECT_EQ(log("DIR", "13"),
              "C:\\Program Files\\App\\d0\\d1\\d2\\d3\\d4\\d5\\d6\\d7\\d8\\d9\\"
              "d10\\d11\\");
}

TEST_F(EngineTest, cancel_question_before_each_entry) {
    dataTag("[FILES]\r\nTOTAL=2\r\n");
    package({{"C:\\b\\a.txt", "<Install Dir>*0,0,0"}, {"C:\\b\\b.txt", "<Install Dir>*0,0,0"}});
    run.cancelRequested = true;
    prompter.answer = setup::Answer::Yes;
    EXPECT_EQ(install(), RunOutcome::Cancelled);
    EXPECT_EQ(prompter.questions,
              std::vector<std::string>{"Do you wish cancel the installation ?"});
    EXPECT_FALSE(services.files->exists("C:\\Program Files\\App\\a.txt"));
    EXPECT_NE(run.state(), setup::InstallState::Done);
    // The cancelled run took its unpacked members away with it.
    EXPECT_FALSE(services.files->exists("C:\\windows\\temp\\F0_a.txt"));

    package({{"C:\\b\\a.txt", "<Install Dir>*0,0,0"}, {"C:\\b\\b.txt", "<Install Dir>*0,0,0"}});
    run.cancelRequested = true;
    prompter.answer = setup::Answer::No;
    EXPECT_EQ(install(), RunOutcome::Finished);
    EXPECT_EQ(prompter.questions.size(), 2u);  // asked once, then the request is answered
    EXPECT_EQ(host("Program Files/App/b.txt"), "member 1");
}

TEST_F(EngineTest, second_log_named_by_time_and_uninstall_points_to_it) {
    dataTag("[APPINFO]\r\n1=App\r\n[FILES]\r\nTOTAL=1\r\n");
    package({{"C:\\b\\a.txt", "<Install Dir>*0,0,0"}});
    install();
    EXPECT_EQ(installer->logPath(), "C:\\Program Files\\App\\install.log");
    package({{"C:\\b\\a.txt", "<Install Dir>*0,0,0"}});
    install({5, 9});
    EXPECT_EQ(installer->logPath(), "C:\\Program Files\\App\\install_0509.log");
    const std::string key = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\App";
    EXPECT_EQ(reg(RegRoot::LocalMachine, key, "UninstallString")->text,
              "C:\\windows\\system32\\zuninstall.exe \"C:\\Program Files\\App\\install_0509.log\"");
    EXPECT_EQ(log("UNINSTALL", "PATH"), key);
    EXPECT_TRUE(services.files->exists("C:\\Program Files\\App\\install.log"));
}

TEST_F(EngineTest, uninstall_off_writes_no_keys) {
    dataTag("[APPINFO]\r\n1=App\r\n3=2.0\r\nUNINSTALLOFF=1\r\n");
    package({});
    install();
    EXPECT_FALSE(services.registry->keyExists(
        RegRoot::LocalMachine, "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\App"));
    EXPECT_FALSE(services.registry->keyExists(RegRoot::LocalMachine, "Software\\App"));
    EXPECT_EQ(log("UNINSTALL", "PATH"), "");
    EXPECT_EQ(log("REGISTRY", "PATH"), "<none>");
}

TEST_F(EngineTest, registry_value_types) {
    dataTag(
        "[REGISTRODADOS]\r\nTOTALDADOS=7\r\n"
        "A0=HKEY_LOCAL_MACHINE\\Software\\X\r\nB0=Dir\r\nC0=<Install Dir>\\data\r\nD0=String\r\n"
        "A1=HKEY_CURRENT_USER\\Software\\X\r\nB1=Count\r\nC1=12abc\r\nD1=DWORD\r\n"
        "A2=HKEY_CURRENT_USER\\Software\\X\r\nB2=Raw\r\nC2=AB\r\nD2=Binary\r\n"
        "A3=HKEY_CURRENT_USER\\Software\\X\r\nB3=Odd\r\nC3=1\r\nD3=QWORD\r\n"
        "A4=HKEY_NOWHERE\\Software\\X\r\nB4=Lost\r\nC4=1\r\nD4=String\r\n"
        "A5=HKEY_CURRENT_USER\\Software\\X\r\nB5=Big\r\nC5=4294967297\r\nD5=DWORD\r\n"
        "A6=HKEY_CURRENT_USER\\Software\\X\r\nB6=Low\r\nC6=-4294967297\r\nD6=DWORD\r\n"
        "[REGISTROCHAVES]\r\nTOTALKEYS=2\r\nKEY0=HKEY_CURRENT_USER\\Software\\Y\\Z\r\nKEY1="
        "nokey\r\n");
    package({});
    install();
    EXPECT_EQ(reg(RegRoot::LocalMachine, "Software\\X", "Dir")->text,
              "C:\\Program Files\\App\\data");
    const auto count = reg(RegRoot::CurrentUser, "Software\\X", "Count");
    ASSERT_TRUE(count);
    EXPECT_EQ(count->type, platform::RegValue::Type::Dword);
    EXPECT_EQ(count->dword, 12u);
    // Beyond 32 bits a number stops at the end of the range, as strtol stops it.
    EXPECT_EQ(reg(RegRoot::CurrentUser, "Software\\X", "Big")->dword, 0x7FFFFFFFu);
    EXPECT_EQ(reg(RegRoot::CurrentUser, "Software\\X", "Low")->dword, 0x80000000u);
    const auto raw = reg(RegRoot::CurrentUser, "Software\\X", "Raw");
    ASSERT_TRUE(raw);
    EXPECT_EQ(raw->type, platform::RegValue::Type::Binary);
    EXPECT_EQ(raw->bytes, std::string("AB\0", 3));
    EXPECT_FALSE(reg(RegRoot::CurrentUser, "Software\\X", "Odd"));
    EXPECT_TRUE(services.registry->keyExists(RegRoot::CurrentUser, "Software\\Y\\Z"));
    EXPECT_EQ(log("REGISTRYENTRY", "key0"), "HKEY_LOCAL_MACHINE\\Software\\X");
    EXPECT_EQ(log("REGISTRYENTRY", "val0"), "Dir");
    EXPECT_EQ(log("REGISTRYENTRY", "val2"), "Raw");
    EXPECT_EQ(log("REGISTRYENTRY", "val3"), "Big");  // the two not written have no number
    EXPECT_EQ(log("REGISTRYENTRY", "key5"), "<none>");  // nothing written, nothing to undo
}

TEST_F(EngineTest, download_actions_queued_then_finished_by_the_sequence) {
    dataTag(
        "[FILES]\r\nTOTAL=1\r\nPR0=http://host/pkg/a.zip\r\n"
        "[ADVANCEDACTIONS]\r\nTOTAL=2\r\nC0=Run\r\nF0=http://host/no.exe\r\n"
        "C1=Download\r\nF1=http://host/pkg/extra.zip\r\n");
    package({{"C:\\b\\a.txt", "<Install Dir>*0,0,0"}});
    setup::DownloadQueue queued;
    std::function<void()> finish;
    ASSERT_EQ(installHoldingDownloads(queued, finish), RunOutcome::Downloading);
    ASSERT_EQ(queued.size(), 1u);
    EXPECT_EQ(queued[0].url, "http://host/pkg/extra.zip");
    EXPECT_EQ(queued[0].folder, "C:\\Program Files\\App");
    EXPECT_EQ(installer->totalFiles() + installer->internetSources(), 3);
    EXPECT_NE(run.state(), setup::InstallState::Done);
    finish();
    EXPECT_EQ(run.state(), setup::InstallState::Done);
    EXPECT_EQ(log("LOG", "0"), "c:\\program files\\app\\a.txt");
    EXPECT_EQ(log("KILLPROCESS", "CLASSNAME"), "");  // written on the download path too
}

// Counted from one read of [FILES]: only keys spelled as "PR%d" spells 0..TOTAL-1 (in any
// letter case, the first of duplicates) whose value is an Internet address.
TEST_F(EngineTest, internet_sources_counted_by_their_keys) {
    dataTag(
        "[FILES]\r\nTOTAL=3\r\npr1=ftp://host/b\r\nPR0=http://host/a\r\nPR0=c:\\dup\r\n"
        "PR01=http://host/zero\r\nPR3=http://host/beyond\r\nPR2=c:\\local\r\nPR-1=http://x\r\n");
    package({{"C:\\b\\a.txt", "<Install Dir>*0,0,0"},
             {"C:\\b\\b.txt", "<Install Dir>*0,0,0"},
             {"C:\\b\\c.txt", "<Install Dir>*0,0,0"}});
    ASSERT_EQ(install(), RunOutcome::Finished);
    EXPECT_EQ(installer->internetSources(), 2);
}

// A link planted where a file goes (to a file of the user's, or to nowhere) is replaced by the
// file; what it pointed to is never written.
TEST_F(EngineTest, a_link_in_a_files_place_is_replaced_not_written_through) {
    dataTag("[FILES]\r\nTOTAL=2\r\n");
    package({{"C:\\b\\a.txt", "<Install Dir>*0,0,0"}, {"C:\\b\\b.txt", "<Install Dir>*0,0,0"}});
    root.writeHostFile("Users/me/secret.txt", "the user's");
    std::filesystem::create_directories(root.driveC() / "Program Files/App");
    std::filesystem::create_symlink(root.driveC() / "Users/me/secret.txt",
                                    root.driveC() / "Program Files/App/a.txt");
    std::filesystem::create_symlink("/nonexistent/b.txt", root.driveC() / "Program Files/App/b.txt");
    ASSERT_EQ(install(), RunOutcome::Finished);
    EXPECT_EQ(host("Users/me/secret.txt"), "the user's");
    for (const char* name : {"a.txt", "b.txt"}) {
        const auto placed = root.driveC() / "Program Files/App" / name;
        EXPECT_FALSE(std::filesystem::is_symlink(placed)) << name;
    }
    EXPECT_EQ(host("Program Files/App/a.txt"), "member 0");
    EXPECT_EQ(host("Program Files/App/b.txt"), "member 1");
}
