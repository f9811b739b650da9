#include <gtest/gtest.h>

#include <climits>

#include "platform/Profile.h"
#include "platform/WinRoot.h"
#include "setup/config/DataFiles.h"
#include "setup/config/SetupData.h"
#include "support/TempWinRoot.h"

using namespace setup;

TEST(setup_data, switches_and_numbers_read_as_strtol) {
    const struct {
        const char* text;
        long value;
    } cases[] = {{"1", 1},
                 {"01", 1},
                 {"  1", 1},
                 {"1abc", 1},
                 {"\t+1", 1},
                 {"yes", 0},
                 {"", 0},
                 {"0", 0},
                 {"-12x", -12},
                 {"- 1", 0},
                 {"99999999999999999999", LONG_MAX},
                 {"-99999999999999999999", LONG_MIN}};
    for (const auto& c : cases) EXPECT_EQ(leadingInteger(c.text), c.value) << c.text;
}

TEST(setup_data, keys_read_with_their_limits_quotes_and_switches) {
    testing_support::TempWinRoot root;
    root.writeHostFile("pkg/data.tag", "[APPINFO]\r\n1=\"Demo\"\r\n5=" + std::string(120, 'p') +
                                           "\r\n[dialog]\r\n0=12345\r\n3=1 \r\n4=yes\r\n5= 01\r\n");
    root.writeHostFile("pkg/language.tag",
                       "[LANGUAGE]\r\n9=Accept ******** and ******** too\r\n"
                       "6=" +
                           std::string(200, 'l') + "\r\n");
    auto profiles = platform::makeProfileFiles(root.fs(), 1252);
    SetupData data(*profiles, "C:\\pkg\\data.tag");

    EXPECT_EQ(data.text("appinfo", "1"), "Demo");
    EXPECT_EQ(data.text("APPINFO", "5", 99), std::string(99, 'p'));
    EXPECT_EQ(data.text("DIALOG", "0", 4), "1234");
    EXPECT_TRUE(data.on("DIALOG", "3", 4));
    EXPECT_FALSE(data.on("DIALOG", "4", 4));
    EXPECT_TRUE(data.on("DIALOG", "5", 4));
    EXPECT_FALSE(data.on("DIALOG", "6", 4));
    EXPECT_EQ(data.text("NOSECTION", "x"), "");

    LanguageTexts language(*profiles, "C:\\pkg\\language.tag", true);
    EXPECT_EQ(language.text(9, "Demo"), "Accept Demo and Demo too");
    EXPECT_EQ(language.text(6), std::string(169, 'l'));
}

TEST(setup_data, colour_texts) {
    const struct {
        const char* text;
        Rgb colour;
    } cases[] = {
        {"OrangeRed@0xFF,0x80,0x00", {255, 128, 0}},
        {"@0xff,0x80,0x00", {0, 128, 0}},
        {"0xFF,0x00,0x00", {255, 0, 0}},
        {"Navy@0x00,0x00,0x80", {0, 0, 128}},
        {"a@b@0xC0,0xC0,0xC0", {0, 192, 192}},
        {"@0xC0, 0xC0,0xFF", {192, 0, 255}},
        {"@0xFF", {255, 0, 0}},
        {"", {0, 0, 0}},
    };
    for (const auto& c : cases) EXPECT_EQ(parseColour(c.text), c.colour) << c.text;
}

TEST(setup_data, setup_folder_and_file_paths) {
    const struct {
        const char* program;
        const char* folder;
    } cases[] = {
        {"C:\\Pkg\\setup.exe", "C:\\Pkg"},     {"Z:\\opt\\pkg\\setup", "Z:\\opt\\pkg"},
        {"C:\\Pkg\\SETUP.EXE", "D:\\cwd"},     {"C:\\Pkg\\mysetup.exe", "D:\\cwd"},
        {"C:\\Pkg\\setup.exe.bak", "D:\\cwd"}, {"E:\\setup.exe", "E:\\"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(setupFolderFor(c.program, "D:\\cwd"), c.folder) << c.program;

    RunState run;
    locateDataFiles("E:\\", run);
    EXPECT_EQ(run.dataTagPath, "E:\\data.tag");
    EXPECT_EQ(run.languageTagPath, "E:\\language.tag");
    EXPECT_EQ(run.file1CabPath, "E:\\file1.cab");
    EXPECT_EQ(run.multi1CabPath, "E:\\\\multi1.cab");
    EXPECT_EQ(run.datafilePath, "E:\\datafile.dlr");
    locateDataFiles("C:\\Pkg", run);
    EXPECT_EQ(run.dataTagPath, "C:\\Pkg\\data.tag");
    EXPECT_EQ(run.multi1CabPath, "C:\\Pkg\\multi1.cab");
    EXPECT_EQ(run.datafilePath, "C:\\Pkg\\datafile.dlr");
    EXPECT_EQ(currentDrive("D:\\cwd\\x"), "D:");
    EXPECT_EQ(programTitle("C:\\Pkg\\Setup.exe"), "Setup");
}

TEST(setup_data, host_paths_seen_through_their_drive) {
    testing_support::TempWinRoot root;
    std::filesystem::create_directories(root.driveC() / "Pkg");
    EXPECT_EQ(platform::windowsPathOf(root.driveC() / "Pkg" / "setup", root.root()),
              "C:\\Pkg\\setup");
    EXPECT_EQ(platform::windowsPathOf(root.driveC(), root.root()), "C:\\");
    EXPECT_EQ(platform::windowsPathOf("/usr/bin/setup", root.root()), "Z:\\usr\\bin\\setup");
}

TEST(setup_data, earlier_texts_removed_from_the_temporary_folder) {
    testing_support::TempWinRoot root;
    root.writeHostFile("windows/temp/README.TXT", "old");
    root.writeHostFile("windows/temp/license.txt", "old");
    root.writeHostFile("windows/temp/keep.txt", "new");
    removeEarlierTexts(root.fs(), "C:\\windows\\temp\\");
    EXPECT_FALSE(root.fs().exists("C:\\windows\\temp\\readme.txt"));
    EXPECT_FALSE(root.fs().exists("C:\\windows\\temp\\license.txt"));
    EXPECT_TRUE(root.fs().exists("C:\\windows\\temp\\keep.txt"));
}
