#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>

#include "platform/Registry.h"
#include "platform/Settings.h"
#include "support/TempWinRoot.h"

using platform::RegRoot;
using testing_support::TempWinRoot;

namespace {

TEST(Settings, missing_settings_give_the_fallback) {
    TempWinRoot root;
    auto registry = platform::makeFileRegistry(root.root());
    auto settings = platform::makeRegistrySettings(*registry);
    EXPECT_EQ(settings->get("dezovur", "Settings", "MainLeft", "1200"), "1200");
    EXPECT_EQ(settings->get("dezovur", "Settings", "MainLeft", ""), "");
    EXPECT_FALSE(std::filesystem::exists(root.root() / "registry" / "HKEY_CURRENT_USER.reg"));
}

TEST(Settings, saved_values_are_read_back_and_stored_where_windows_keeps_them) {
    TempWinRoot root;
    auto registry = platform::makeFileRegistry(root.root());
    auto settings = platform::makeRegistrySettings(*registry);
    ASSERT_TRUE(settings->save("dezovur", "Settings", "MainLeft", "1200"));
    ASSERT_TRUE(settings->save("dezovur", "Settings", "MainTop", "-15"));
    ASSERT_TRUE(settings->save("dezovur", "Settings", "mainleft", "300"));
    EXPECT_EQ(settings->get("DEZOVUR", "settings", "MainLeft", "0"), "300");
    EXPECT_EQ(settings->get("dezovur", "Settings", "MainTop", "0"), "-15");
    EXPECT_EQ(settings->get("dezovur", "Other", "MainTop", "none"), "none");

    std::ifstream in(root.root() / "registry" / "HKEY_CURRENT_USER.reg", std::ios::binary);
    EXPECT_EQ(std::string(std::istreambuf_iterator<char>(in), {}),
              "Windows Registry Editor Version 5.00\n"
              "\n"
              "[HKEY_CURRENT_USER\\Software]\n"
              "\n"
              "[HKEY_CURRENT_USER\\Software\\VB and VBA Program Settings]\n"
              "\n"
              "[HKEY_CURRENT_USER\\Software\\VB and VBA Program Settings\\dezovur]\n"
              "\n"
              "[HKEY_CURRENT_USER\\Software\\VB and VBA Program Settings\\dezovur\\Settings]\n"
              "\"MainLeft\"=\"300\"\n"
              "\"MainTop\"=\"-15\"\n");
}

TEST(Settings, values_of_other_types_and_bad_names_fall_back) {
    TempWinRoot root;
    auto registry = platform::makeFileRegistry(root.root());
    platform::RegValue number;
    number.type = platform::RegValue::Type::Dword;
    number.dword = 5;
    ASSERT_TRUE(registry->setValue(RegRoot::CurrentUser,
                                   "Software\\VB and VBA Program Settings\\app\\s", "n", number));
    auto settings = platform::makeRegistrySettings(*registry);
    EXPECT_EQ(settings->get("app", "s", "n", "fallback"), "fallback");
    EXPECT_FALSE(settings->save("", "s", "k", "v"));
    EXPECT_FALSE(settings->save("app", "", "k", "v"));
    EXPECT_FALSE(settings->save("app", "s", "", "v"));
    EXPECT_FALSE(settings->save("app\\nested", "s", "k", "v"));
    EXPECT_EQ(settings->get("app", "s", "", "fb"), "fb");
}

}  // namespace
