// Reading the install log as setup writes it, and the command line the uninstall entry gives.

#include <gtest/gtest.h>

#include "platform/Profile.h"
#include "support/TempWinRoot.h"
#include "uninstall/Arguments.h"
#include "record/InstallLog.h"
#include "uninstall/Texts.h"

namespace {

TEST(InstallLog, reads_every_section_setup_writes) {
    const std::string kLong = "c:\\program files\\app\\" + std::string(5000, 'x') + ".dat";
    testing_support::TempWinRoot root;
    // Key 2 is the number setup skips when it copies the uninstaller; val1 is a key's
    // default value; key5 lost its val5.
    root.writeHostFile(
        "program files/app/install.log",
        testing_support::cp1253(
            "[LOG]\r\n0=c:\\program files\\app\\app.exe\r\n"
            "1=c:\\program files\\app\\μελέτες.dat\r\n3=c:\\program files\\app\\data.tag\r\n"
            "6=" + kLong + "\r\n"
            "4=\r\n[DIR]\r\n0=c:\\program files\\\r\n1=c:\\program files\\app\\\r\n"
            "[UNINSTALL]\r\nPATH=SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\App\r\n"
            "[CAMINHO]\r\nPATH1=\r\n[RTYPE]\r\nMERILDA=NAO\r\n"
            "[REGISTRY]\r\nPATH=Software\\Maker\\App\r\nVERSION=Software\\Maker\\App\r\n"
            "[REGISTRYENTRY]\r\nkey0=HKEY_CURRENT_USER\\Software\\X\r\nval0=Dir\r\n"
            "key1=HKEY_LOCAL_MACHINE\\Software\\Y\r\nval1=\r\nkey5=HKEY_USERS\\Z\r\n"));
    const auto bytes = root.fs().readFile("C:\\Program Files\\App\\install.log");
    ASSERT_TRUE(bytes);
    const auto read = record::parseInstallLog(*bytes, 1253);
    ASSERT_TRUE(read);
    const record::InstallLog& log = *read;

    // A path longer than any buffer is read whole: a cut one would name another file.
    EXPECT_EQ(log.files, (std::vector<std::string>{"c:\\program files\\app\\app.exe",
                                                   "c:\\program files\\app\\μελέτες.dat",
                                                   "c:\\program files\\app\\data.tag", kLong}));
    EXPECT_EQ(log.folders,
              (std::vector<std::string>{"c:\\program files\\", "c:\\program files\\app\\"}));
    EXPECT_EQ(log.uninstallKey, "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\App");
    EXPECT_EQ(log.applicationKey, "Software\\Maker\\App");
    ASSERT_EQ(log.registryEntries.size(), 2u);
    EXPECT_EQ(log.registryEntries[0].keyPath, "HKEY_CURRENT_USER\\Software\\X");
    EXPECT_EQ(log.registryEntries[0].valueName, "Dir");
    EXPECT_EQ(log.registryEntries[1].keyPath, "HKEY_LOCAL_MACHINE\\Software\\Y");
    EXPECT_EQ(log.registryEntries[1].valueName, "");
}

TEST(InstallLog, language_file_beside_the_log_replaces_texts) {
    testing_support::TempWinRoot root;
    root.writeHostFile(
        "app/language.tag",
        testing_support::cp1253("[ZUNINSTALL]\r\nQUESTION=Να αφαιρεθεί το ********;\r\n"));
    const auto profiles = platform::makeProfileFiles(root.fs(), 1253);
    const uninstall::Texts greek = uninstall::loadTexts(*profiles, "c:\\app");
    EXPECT_EQ(greek.forProduct(greek.question, "Dezovur"), "Να αφαιρεθεί το Dezovur;");
    EXPECT_EQ(greek.yes, "&Ναι");  // the file's words are Greek: so are ours it leaves out
    const uninstall::Texts english = uninstall::loadTexts(*profiles, "c:\\elsewhere");
    EXPECT_EQ(english.forProduct(english.question, "Dezovur"),
              "Remove Dezovur and all of its components?");
}

TEST(Arguments, takes_the_log_path_as_the_uninstall_entry_gives_it) {
    const struct {
        std::vector<std::string> words;
        bool valid;
        bool silent;
        std::string logPath;
    } cases[] = {
        {{"C:\\Program Files\\App\\install.log"},
         true,
         false,
         "C:\\Program Files\\App\\install.log"},
        {{"\"C:\\Program Files\\App\\install.log\""},
         true,
         false,
         "C:\\Program Files\\App\\install.log"},
        {{"--silent", "C:\\Program", "Files\\install.log"},
         true,
         true,
         "C:\\Program Files\\install.log"},
        {{"/tmp/root/install.log", "--silent"}, true, true, "z:\\tmp\\root\\install.log"},
        {{"--silent"}, false, false, ""},
        {{"--force", "c:\\a.log"}, false, false, ""},
    };
    for (const auto& c : cases) {
        const auto parsed = uninstall::parseArguments(c.words);
        ASSERT_EQ(parsed.has_value(), c.valid) << c.words.front();
        if (!parsed) continue;
        EXPECT_EQ(parsed->silent, c.silent);
        EXPECT_EQ(parsed->logPath, c.logPath);
    }
}

}  // namespace
