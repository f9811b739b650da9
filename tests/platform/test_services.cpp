#include <gtest/gtest.h>

#include <filesystem>

#include "platform/NewInstallation.h"
#include "platform/Services.h"
#include "support/TempWinRoot.h"

using platform::RegRoot;
using platform::RegValue;

namespace {

std::string text(platform::Registry& r, std::string_view key, std::string_view name) {
    const auto v = r.value(RegRoot::LocalMachine, key, name);
    return v ? v->text : "(missing)";
}

}  // namespace

TEST(NewInstallation, locale_chooses_the_code_page) {
    EXPECT_EQ(platform::ansiCodePageForLocale("el_GR.UTF-8"), 1253);
    EXPECT_EQ(platform::ansiCodePageForLocale("el"), 1253);
    EXPECT_EQ(platform::ansiCodePageForLocale("en_US.UTF-8"), 1252);
    EXPECT_EQ(platform::ansiCodePageForLocale("C"), 1252);
    EXPECT_EQ(platform::ansiCodePageForLocale(""), 1252);
}

TEST(NewInstallation, seeding_fills_gaps_and_never_overwrites) {
    testing_support::TempWinRoot root;
    auto registry = platform::makeFileRegistry(root.root());
    RegValue mine;
    mine.text = "D:\\Apps";
    ASSERT_TRUE(registry->setValue(RegRoot::LocalMachine, platform::kWindowsCurrentVersionKey,
                                   "ProgramFilesDir", mine));
    ASSERT_TRUE(platform::seedRegistry(*registry, 1253));
    ASSERT_TRUE(platform::seedRegistry(*registry, 1252));
    EXPECT_EQ(text(*registry, platform::kWindowsCurrentVersionKey, "ProgramFilesDir"), "D:\\Apps");
    EXPECT_EQ(text(*registry, platform::kWindowsCurrentVersionKey, "CommonFilesDir"),
              "C:\\Program Files\\Common Files");
    EXPECT_EQ(text(*registry, platform::kWindowsNtCurrentVersionKey, "CurrentVersion"), "5.1");
    EXPECT_EQ(text(*registry, platform::kWindowsNtCurrentVersionKey, "CSDVersion"), "");
    EXPECT_EQ(text(*registry, platform::kCodePageKey, "ACP"), "1253");
}

// A new root's registry file is not forced to disk: a power cut may leave it empty or take it.
// The next start must find the seeds again either way.
TEST(NewInstallation, seeds_come_back_after_a_power_cut_took_them) {
    testing_support::TempWinRoot root;
    const auto file = root.root() / "registry" / "HKEY_LOCAL_MACHINE.reg";
    for (const bool removed : {false, true}) {
        SCOPED_TRACE(removed ? "file gone" : "file empty");
        ASSERT_TRUE(platform::openServices(root.root()));
        ASSERT_GT(std::filesystem::file_size(file), 0u);
        if (removed)
            std::filesystem::remove(file);
        else
            std::filesystem::resize_file(file, 0);
        auto services = platform::openServices(root.root());
        ASSERT_TRUE(services);
        EXPECT_EQ(text(*services->registry, platform::kWindowsCurrentVersionKey, "ProgramFilesDir"),
                  "C:\\Program Files");
        EXPECT_TRUE(services->registry->keyExists(
            RegRoot::LocalMachine, std::string(platform::kWindowsCurrentVersionKey) + "\\Uninstall"));
    }
}

TEST(Services, open_a_fresh_root_and_read_the_system_from_it) {
    testing_support::TempWinRoot root;
    auto services = platform::openServices(root.root());
    ASSERT_TRUE(services);
    auto& sys = *services->system;
    EXPECT_TRUE(services->files->isDirectory("c:\\windows\\system32"));
    EXPECT_EQ(sys.tempFolder(), "C:\\windows\\temp\\");
    EXPECT_TRUE(services->files->isDirectory("c:\\windows\\temp"));
    EXPECT_EQ(sys.ansiCodePage(), 1252);  // tests run under LANG=C
    EXPECT_GT(sys.physicalMemoryBytes(), 0u);

    auto v = sys.version();
    EXPECT_EQ(v.major, 5);
    EXPECT_EQ(v.minor, 1);
    EXPECT_TRUE(v.ntFamily);
    RegValue value;
    value.text = "Service Pack 6a";
    auto& reg = *services->registry;
    reg.setValue(RegRoot::LocalMachine, platform::kWindowsNtCurrentVersionKey, "CSDVersion", value);
    value.text = "4.0";
    reg.setValue(RegRoot::LocalMachine, platform::kWindowsNtCurrentVersionKey, "CurrentVersion",
                 value);
    v = sys.version();
    EXPECT_EQ(v.major, 4);
    EXPECT_EQ(v.minor, 0);
    EXPECT_EQ(v.servicePack, "Service Pack 6a");
    value.text = "4.10.2222";
    reg.setValue(RegRoot::LocalMachine, platform::kWindowsCurrentVersionKey, "VersionNumber",
                 value);
    value.text = " A ";
    reg.setValue(RegRoot::LocalMachine, platform::kWindowsCurrentVersionKey, "SubVersionNumber",
                 value);
    v = sys.version();
    EXPECT_FALSE(v.ntFamily);
    EXPECT_EQ(v.minor, 10);
    EXPECT_EQ(v.servicePack, "A");

    const std::string programs = sys.shellFolder(platform::ShellFolder::CommonPrograms);
    EXPECT_EQ(programs, "C:\\ProgramData\\Microsoft\\Windows\\Start Menu\\Programs");
    EXPECT_TRUE(services->files->isDirectory(programs));
    EXPECT_EQ(sys.shellFolder(platform::ShellFolder::Desktop),
              "C:\\Users\\" + sys.userName() + "\\Desktop");

    // The root's code page reaches the profile files: 1252 here.
    ASSERT_TRUE(services->profiles->writeString("app.ini", "S", "k", "é"));
    EXPECT_EQ(root.readHostFile("windows/app.ini"), "[S]\r\nk=\xE9\r\n");
}
