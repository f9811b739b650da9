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

// Whether a registry file holds anything but what a new root is seeded with decides whether it
// must reach the disk before it is replaced: a wrong "only" loses the user's keys to a power cut.
TEST(RegistrySyntax, a_tree_holds_only_what_is_allowed_when_every_key_and_value_is) {
    const std::string seeds =
        "Windows Registry Editor Version 5.00\n\n"
        "[HKEY_LOCAL_MACHINE\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion]\n"
        "\"ProgramFilesDir\"=\"C:\\\\Program Files\"\n\n"
        "[HKEY_LOCAL_MACHINE\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall]\n\n"
        "[HKEY_LOCAL_MACHINE\\SYSTEM\\CurrentControlSet\\Control\\Nls\\CodePage]\n"
        "\"ACP\"=\"1253\"\n";
    const RegKeyNode allowed = parseRegistryFile(seeds, "HKEY_LOCAL_MACHINE");
    const struct {
        const char* what;
        std::string file;
        bool only;
    } cases[] = {
        {"nothing", "", true},
        {"the seeds", seeds, true},
        {"some of them, spelt otherwise",
         "[HKEY_LOCAL_MACHINE\\software\\MICROSOFT]\n"
         "[HKEY_LOCAL_MACHINE\\System\\CurrentControlSet\\Control\\Nls\\CodePage]\n"
         "\"acp\"=\"1253\"\n",
         true},
        {"an installed program",
         seeds + "[HKEY_LOCAL_MACHINE\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\App]\n",
         false},
        {"another code page",
         "[HKEY_LOCAL_MACHINE\\SYSTEM\\CurrentControlSet\\Control\\Nls\\CodePage]\n"
         "\"ACP\"=\"1252\"\n",
         false},
        {"the same text of another type",
         "[HKEY_LOCAL_MACHINE\\SYSTEM\\CurrentControlSet\\Control\\Nls\\CodePage]\n"
         "\"ACP\"=hex(2):31,00,32,00,35,00,33,00,00,00\n",
         false},
        {"a value beside the seeds",
         "[HKEY_LOCAL_MACHINE\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion]\n"
         "\"ProgramFilesDir\"=\"C:\\\\Program Files\"\n\"Mine\"=dword:00000001\n",
         false},
        {"an empty key of the user's", "[HKEY_LOCAL_MACHINE\\SOFTWARE\\Mine]\n", false},
    };
    for (const auto& c : cases)
        EXPECT_EQ(holdsOnly(parseRegistryFile(c.file, "HKEY_LOCAL_MACHINE"), allowed), c.only)
            << c.what;
}
