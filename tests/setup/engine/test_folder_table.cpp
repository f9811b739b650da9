#include <gtest/gtest.h>

#include "platform/Registry.h"
#include "setup/engine/FolderTable.h"
#include "support/FakeServices.h"
#include "support/TempWinRoot.h"

using namespace setup;

namespace {

FolderTable exampleTable() {
    FolderTable t;
    t.set(FolderKind::ProgramFiles, "C:\\Program Files");
    t.set(FolderKind::SharedDlls, "C:\\WINDOWS\\SYSTEM");
    t.set(FolderKind::WindowsDisk, "C:");
    t.set(FolderKind::WindowsDirectory, "C:\\WINDOWS");
    t.set(FolderKind::InstallDir, "C:\\Program Files\\App");
    t.set(FolderKind::TempDir, "C:\\WINDOWS\\TEMP\\");
    t.set(FolderKind::CurrentDrive, "D:");
    t.set(FolderKind::Fonts, "C:\\WINDOWS\\Fonts");
    return t;
}

}  // namespace

TEST(folder_table, resolve_examples_and_edge_cases) {
    const FolderTable table = exampleTable();
    const struct {
        const char* text;
        const char* path;
        FolderKind kind;
    } cases[] = {
        {"<Install Dir>\\Data", "C:\\Program Files\\App\\Data", FolderKind::InstallDir},
        {"Install Dir\\", "C:\\Program Files\\App", FolderKind::InstallDir},
        {"<Shared DLLs>", "C:\\WINDOWS\\SYSTEM", FolderKind::SharedDlls},
        {"<Install Dir>\\Program Files", "C:\\Program Files\\App\\Program Files",
         FolderKind::InstallDir},
        {"<Temp Dir>\\x", "C:\\WINDOWS\\TEMP\\\\x", FolderKind::TempDir},
        {"C:\\plain\\path\\", "C:\\plain\\path", FolderKind::None},
        {"C:\\plain\\\\", "C:\\plain\\", FolderKind::None},
        {"<install dir>\\x", "<install dir>\\x", FolderKind::None},
        // The kind is the leading token's; a bare name counts only as the first component.
        {"<Unknown>\\Program Files", "<Unknown>\\Program Files", FolderKind::None},
        {"<Current Drive>\\pkg", "D:\\pkg", FolderKind::CurrentDrive},
        {"<Current Drive>\\Users\\Application Data", "D:\\Users\\Application Data",
         FolderKind::CurrentDrive},
        {"Windows Disk\\Fonts Folder", "C:\\Fonts Folder", FolderKind::WindowsDisk},
        {"C:\\Program Files\\L", "C:\\Program Files\\L", FolderKind::None},
        {"Copy to Temp Dir first", "Copy to Temp Dir first", FolderKind::None},
        {"Install Dir", "C:\\Program Files\\App", FolderKind::InstallDir},
        {"Install Directory\\x", "Install Directory\\x", FolderKind::None},
        {"\"<Install Dir>\\app.exe\" %1", "\"C:\\Program Files\\App\\app.exe\" %1",
         FolderKind::None},
        {"<Windows Directory>\\<Windows Disk>", "C:\\WINDOWS\\C:", FolderKind::WindowsDirectory},
        {"<My Music Folder>\\a", "\\a", FolderKind::MyMusic},
    };
    for (const auto& c : cases) {
        Resolved r = table.resolve(c.text);
        EXPECT_EQ(r.path, c.path) << c.text;
        EXPECT_EQ(r.kind, c.kind) << c.text;
    }
}

TEST(folder_table, default_install_dir_knows_only_the_system_tokens) {
    FolderTable table = exampleTable();
    EXPECT_EQ(table.resolveDefaultInstallDir("<Program Files>\\Dezovur\\"),
              "C:\\Program Files\\Dezovur");
    EXPECT_EQ(table.value(FolderKind::InstallDir), "C:\\Program Files\\Dezovur");
    EXPECT_EQ(table.resolve("<Install Dir>\\bin").path, "C:\\Program Files\\Dezovur\\bin");
    EXPECT_EQ(table.resolveDefaultInstallDir("<Windows Disk>\\<Temp Dir>\\Program Files"),
              "C:\\<Temp Dir>\\Program Files");
}

TEST(folder_table, filled_from_the_system_and_registry) {
    testing_support::TempWinRoot root;
    auto registry = platform::makeFileRegistry(root.root());
    const std::string key = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion";
    testing_support::FakeSystemInfo system;
    system.shellFolders[platform::ShellFolder::Favorites] = "C:\\users\\tester\\Favorites";
    system.shellFolders[platform::ShellFolder::Fonts] = "C:\\windows\\Fonts\\";
    FolderTable table;
    readSystemFolders(table, system, "D:\\pkg\\disk1");
    EXPECT_EQ(table.value(FolderKind::WindowsDisk), "C:");
    EXPECT_EQ(table.value(FolderKind::CurrentDrive), "D:");
    EXPECT_EQ(extractionFolder(table), "C:\\windows\\temp\\");

    EXPECT_FALSE(readProgramFolders(table, system, *registry));
    system.variables["PROGRAMFILES"] = "C:\\Programs";
    EXPECT_TRUE(readProgramFolders(table, system, *registry));
    EXPECT_EQ(table.value(FolderKind::ProgramFiles), "C:\\Programs");
    registry->setValue(platform::RegRoot::LocalMachine, key, "ProgramFilesDir",
                       {platform::RegValue::Type::String, "C:\\Program Files", 0, ""});
    registry->setValue(platform::RegRoot::LocalMachine, key, "CommonFilesDir",
                       {platform::RegValue::Type::String, "C:\\Program Files\\Common Files", 0, ""});
    EXPECT_TRUE(readProgramFolders(table, system, *registry));
    EXPECT_EQ(table.value(FolderKind::ProgramFiles), "C:\\Program Files");
    EXPECT_EQ(table.value(FolderKind::CommonFiles), "C:\\Program Files\\Common Files");
    EXPECT_EQ(table.value(FolderKind::SharedDlls), "C:\\windows\\system32");

    readShellFolders(table, system);
    EXPECT_EQ(table.value(FolderKind::Favorites), "C:\\users\\tester\\Favorites");
    EXPECT_EQ(table.value(FolderKind::Documents), "");  // not the favorites folder again
    EXPECT_EQ(table.value(FolderKind::Fonts), "C:\\windows\\Fonts");

    system.temp.clear();
    readSystemFolders(table, system, "D:\\");
    EXPECT_EQ(extractionFolder(table), "C:\\windows\\temp\\");
    EXPECT_EQ(table.value(FolderKind::CurrentDrive), "D:");
}
