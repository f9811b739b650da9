#include <gtest/gtest.h>

#include "platform/codec/RegistrySyntax.h"

using namespace platform::codec;

TEST(RegistrySyntax, parses_without_a_disk_and_writes_back_in_export_form) {
    const std::string text =
        "\xEF\xBB\xBFWindows Registry Editor Version 5.00\r\n\r\n"
        "[HKEY_LOCAL_MACHINE\\Software\\App]\r\n"
        "@=\"default\"\r\n"
        "\"Path\"=\"C:\\\\Program Files\\\\App\"\r\n"
        "\"Count\"=dword:0000002a\r\n"
        "\"Blob\"=hex:01,ff,\\\r\n  10\r\n"
        "\"Broken\"=dword:xyz\r\n"
        "[HKEY_CURRENT_USER\\Elsewhere]\r\n"
        "\"Skipped\"=\"x\"\r\n";
    const RegKeyNode tree = parseRegistryFile(text, "HKEY_LOCAL_MACHINE");
    const RegKeyNode* app = tree.child("SOFTWARE")->child("app");
    ASSERT_NE(app, nullptr);
    EXPECT_EQ(app->findValue("path")->text, "C:\\Program Files\\App");
    EXPECT_EQ(app->findValue("count")->dword, 42u);
    EXPECT_EQ(app->findValue("blob")->bytes, std::string("\x01\xff\x10", 3));
    EXPECT_EQ(app->findValue("broken"), nullptr);
    EXPECT_EQ(tree.child("Elsewhere"), nullptr);
    EXPECT_EQ(serializeRegistryFile(tree),
              "Windows Registry Editor Version 5.00\n\n"
              "[HKEY_LOCAL_MACHINE\\Software]\n\n"
              "[HKEY_LOCAL_MACHINE\\Software\\App]\n"
              "@=\"default\"\n"
              "\"Path\"=\"C:\\\\Program Files\\\\App\"\n"
              "\"Count\"=dword:0000002a\n"
              "\"Blob\"=hex:01,ff,10\n");
}
