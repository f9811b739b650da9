#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <thread>

#include "platform/Registry.h"
#include "support/TempWinRoot.h"

namespace fs = std::filesystem;
using platform::RegRoot;
using platform::RegValue;
using testing_support::TempWinRoot;

namespace {

RegValue str(std::string text) {
    RegValue v;
    v.text = std::move(text);
    return v;
}
RegValue expand(std::string text) {
    RegValue v;
    v.type = RegValue::Type::ExpandString;
    v.text = std::move(text);
    return v;
}
RegValue dword(std::uint32_t n) {
    RegValue v;
    v.type = RegValue::Type::Dword;
    v.dword = n;
    return v;
}
RegValue binary(std::string bytes) {
    RegValue v;
    v.type = RegValue::Type::Binary;
    v.bytes = std::move(bytes);
    return v;
}

std::string readText(const fs::path& p) {
    std::ifstream in(p, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

void writeText(const fs::path& p, std::string_view text) {
    fs::create_directories(p.parent_path());
    std::ofstream(p, std::ios::binary) << text;
}

TEST(Registry, writes_the_export_syntax_and_a_fresh_object_reads_it_back) {
    TempWinRoot root;
    {
        auto reg = platform::makeFileRegistry(root.root());
        ASSERT_TRUE(reg->setValue(RegRoot::CurrentUser, "Software\\Dezovur", "Path",
                                  str("c:\\program files\\dezovur\\")));
        ASSERT_TRUE(
            reg->setValue(RegRoot::CurrentUser, "Software\\Dezovur", "", str("say \"hi\"")));
        ASSERT_TRUE(reg->setValue(RegRoot::CurrentUser, "Software\\Dezovur", "Count", dword(42)));
        ASSERT_TRUE(reg->setValue(RegRoot::CurrentUser, "Software\\Dezovur", "Blob",
                                  binary(std::string("\x01\x02\xff", 3))));
        ASSERT_TRUE(
            reg->setValue(RegRoot::CurrentUser, "Software\\Dezovur", "Expand", expand("%A%")));
        ASSERT_TRUE(
            reg->setValue(RegRoot::CurrentUser, "Software\\Dezovur", "Όνομα", str("Μηχανικός")));
    }
    EXPECT_EQ(readText(root.root() / "registry" / "HKEY_CURRENT_USER.reg"),
              "Windows Registry Editor Version 5.00\n"
              "\n"
              "[HKEY_CURRENT_USER\\Software]\n"
              "\n"
              "[HKEY_CURRENT_USER\\Software\\Dezovur]\n"
              "\"Path\"=\"c:\\\\program files\\\\dezovur\\\\\"\n"
              "@=\"say \\\"hi\\\"\"\n"
              "\"Count\"=dword:0000002a\n"
              "\"Blob\"=hex:01,02,ff\n"
              "\"Expand\"=hex(2):25,00,41,00,25,00,00,00\n"
              "\"Όνομα\"=\"Μηχανικός\"\n");

    auto fresh = platform::makeFileRegistry(root.root());
    EXPECT_EQ(fresh->value(RegRoot::CurrentUser, "software\\DEZOVUR", "path")->text,
              "c:\\program files\\dezovur\\");
    EXPECT_EQ(fresh->value(RegRoot::CurrentUser, "Software\\Dezovur", "")->text, "say \"hi\"");
    auto count = fresh->value(RegRoot::CurrentUser, "Software\\Dezovur", "COUNT");
    ASSERT_TRUE(count);
    EXPECT_EQ(count->type, RegValue::Type::Dword);
    EXPECT_EQ(count->dword, 42u);
    auto blob = fresh->value(RegRoot::CurrentUser, "Software\\Dezovur", "Blob");
    ASSERT_TRUE(blob);
    EXPECT_EQ(blob->type, RegValue::Type::Binary);
    EXPECT_EQ(blob->bytes, std::string("\x01\x02\xff", 3));
    auto ex = fresh->value(RegRoot::CurrentUser, "Software\\Dezovur", "expand");
    ASSERT_TRUE(ex);
    EXPECT_EQ(ex->type, RegValue::Type::ExpandString);
    EXPECT_EQ(ex->text, "%A%");
    EXPECT_EQ(fresh->value(RegRoot::CurrentUser, "Software\\Dezovur", "ΌΝΟΜΑ")->text, "Μηχανικός");
    EXPECT_EQ(fresh->valueNames(RegRoot::CurrentUser, "Software\\Dezovur"),
              (std::vector<std::string>{"Path", "", "Count", "Blob", "Expand", "Όνομα"}));
    EXPECT_FALSE(fresh->value(RegRoot::LocalMachine, "Software\\Dezovur", "Path").has_value());
}

// Several settings at once go in whole, or, when one of them cannot, not at all; a registry
// opened afterwards reads them back, and a change made behind the program's back is seen.
TEST(Registry, settings_applied_together_go_in_whole_or_not_at_all) {
    TempWinRoot root;
    auto reg = platform::makeFileRegistry(root.root());
    platform::RegValue text;
    text.text = "C:\\Program Files";
    const std::string key = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion";
    EXPECT_FALSE(reg->apply(RegRoot::LocalMachine,
                            {{key, "ProgramFilesDir", text}, {key, "bad\nname", text}}));
    EXPECT_FALSE(reg->value(RegRoot::LocalMachine, key, "ProgramFilesDir"));
    ASSERT_TRUE(reg->apply(RegRoot::LocalMachine,
                           {{key, "ProgramFilesDir", text}, {key + "\\Uninstall", "", std::nullopt}}));
    auto fresh = platform::makeFileRegistry(root.root());
    EXPECT_EQ(fresh->value(RegRoot::LocalMachine, key, "ProgramFilesDir")->text, text.text);
    EXPECT_TRUE(fresh->keyExists(RegRoot::LocalMachine, key + "\\Uninstall"));
    EXPECT_FALSE(fresh->value(RegRoot::LocalMachine, key + "\\Uninstall", ""));
    // Another program's edit: the first registry, which read the file before, sees it.
    ASSERT_TRUE(fresh->deleteKey(RegRoot::LocalMachine, key + "\\Uninstall"));
    EXPECT_FALSE(reg->keyExists(RegRoot::LocalMachine, key + "\\Uninstall"));
}

TEST(Registry, reads_regedit_files_with_wrapped_hex_and_greek_expand_strings) {
    TempWinRoot root;
    writeText(
        root.root() / "registry" / "HKEY_LOCAL_MACHINE.reg",
        "\xEF\xBB\xBFWindows Registry Editor Version 5.00\r\n"
        "\r\n"
        "[HKEY_LOCAL_MACHINE\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion]\r\n"
        "\"ProgramFilesDir\"=\"C:\\\\Program Files\"\r\n"
        "\"Long\"=hex:00,01,02,03,04,05,06,07,08,09,0a,0b,0c,0d,0e,0f,10,11,12,13,14,15,\\\r\n"
        "  16,17\r\n"
        "\"Dir\"=hex(2):25,00,91,03,25,00,00,00\r\n");
    auto reg = platform::makeFileRegistry(root.root());
    EXPECT_EQ(reg->value(RegRoot::LocalMachine, "Software\\Microsoft\\Windows\\CurrentVersion",
                         "ProgramFilesDir")
                  ->text,
              "C:\\Program Files");
    auto longValue =
        reg->value(RegRoot::LocalMachine, "SOFTWARE\\Microsoft\\Windows\\CurrentVersion", "Long");
    ASSERT_TRUE(longValue);
    EXPECT_EQ(longValue->bytes.size(), 24u);
    EXPECT_EQ(longValue->bytes[23], '\x17');
    EXPECT_EQ(
        reg->value(RegRoot::LocalMachine, "SOFTWARE\\Microsoft\\Windows\\CurrentVersion", "Dir")
            ->text,
        "%Α%");
}

TEST(Registry, long_binary_values_wrap_like_regedit) {
    TempWinRoot root;
    auto reg = platform::makeFileRegistry(root.root());
    std::string bytes;
    for (int i = 0; i < 30; ++i) bytes += static_cast<char>(i);
    ASSERT_TRUE(reg->setValue(RegRoot::Users, "K", "B", binary(bytes)));
    EXPECT_EQ(readText(root.root() / "registry" / "HKEY_USERS.reg"),
              "Windows Registry Editor Version 5.00\n"
              "\n"
              "[HKEY_USERS\\K]\n"
              "\"B\"=hex:00,01,02,03,04,05,06,07,08,09,0a,0b,0c,0d,0e,0f,10,11,12,13,14,15,16,\\\n"
              "  17,18,19,1a,1b,1c,1d\n");
    EXPECT_EQ(platform::makeFileRegistry(root.root())->value(RegRoot::Users, "k", "b")->bytes,
              bytes);
}

TEST(Registry, strings_with_line_breaks_survive) {
    TempWinRoot root;
    auto reg = platform::makeFileRegistry(root.root());
    ASSERT_TRUE(reg->setValue(RegRoot::CurrentUser, "K", "Multi", str("a\r\nb")));
    ASSERT_TRUE(reg->setValue(RegRoot::CurrentUser, "K", "After", str("still here")));
    EXPECT_EQ(readText(root.root() / "registry" / "HKEY_CURRENT_USER.reg"),
              "Windows Registry Editor Version 5.00\n"
              "\n"
              "[HKEY_CURRENT_USER\\K]\n"
              "\"Multi\"=hex(1):61,00,0d,00,0a,00,62,00,00,00\n"
              "\"After\"=\"still here\"\n");
    auto multi = reg->value(RegRoot::CurrentUser, "K", "Multi");
    ASSERT_TRUE(multi);
    EXPECT_EQ(multi->type, RegValue::Type::String);
    EXPECT_EQ(multi->text, "a\r\nb");
    EXPECT_FALSE(reg->setValue(RegRoot::CurrentUser, "K", "bad\nname", str("x")));
    EXPECT_FALSE(reg->setValue(RegRoot::CurrentUser, "K", "Bytes", str("\xC3")));
}

TEST(Registry, keys_match_without_case_and_keep_their_first_spelling) {
    TempWinRoot root;
    auto reg = platform::makeFileRegistry(root.root());
    ASSERT_TRUE(reg->createKey(RegRoot::CurrentUser, "Software\\Dezovur\\Ρυθμίσεις"));
    ASSERT_TRUE(reg->setValue(RegRoot::CurrentUser, "SOFTWARE\\dezovur\\ΡΥΘΜΊΣΕΙΣ", "x", dword(1)));
    ASSERT_TRUE(reg->setValue(RegRoot::CurrentUser, "software\\DEZOVUR\\ρυθμίσεις", "X", dword(2)));
    ASSERT_TRUE(reg->createKey(RegRoot::CurrentUser, "software\\Beta"));
    EXPECT_TRUE(reg->keyExists(RegRoot::CurrentUser, "SOFTWARE\\DEZOVUR"));
    EXPECT_TRUE(reg->keyExists(RegRoot::CurrentUser, ""));
    EXPECT_FALSE(reg->keyExists(RegRoot::CurrentUser, "Software\\Ρυθμισεις"));
    EXPECT_EQ(reg->subkeys(RegRoot::CurrentUser, "software"),
              (std::vector<std::string>{"Beta", "Dezovur"}));
    EXPECT_EQ(reg->valueNames(RegRoot::CurrentUser, "Software\\Dezovur\\Ρυθμίσεις"),
              (std::vector<std::string>{"x"}));
    EXPECT_EQ(reg->value(RegRoot::CurrentUser, "Software\\Dezovur\\Ρυθμίσεις", "x")->dword, 2u);
    EXPECT_EQ(readText(root.root() / "registry" / "HKEY_CURRENT_USER.reg"),
              "Windows Registry Editor Version 5.00\n"
              "\n"
              "[HKEY_CURRENT_USER\\Software]\n"
              "\n"
              "[HKEY_CURRENT_USER\\Software\\Beta]\n"
              "\n"
              "[HKEY_CURRENT_USER\\Software\\Dezovur]\n"
              "\n"
              "[HKEY_CURRENT_USER\\Software\\Dezovur\\Ρυθμίσεις]\n"
              "\"x\"=dword:00000002\n");
}

TEST(Registry, deleting_keys_and_values) {
    TempWinRoot root;
    auto reg = platform::makeFileRegistry(root.root());
    ASSERT_TRUE(reg->setValue(RegRoot::CurrentUser, "A\\B\\C", "v", str("1")));
    ASSERT_TRUE(reg->setValue(RegRoot::CurrentUser, "A", "keep", str("2")));
    EXPECT_TRUE(reg->deleteValue(RegRoot::CurrentUser, "a", "KEEP"));
    EXPECT_FALSE(reg->deleteValue(RegRoot::CurrentUser, "a", "keep"));
    EXPECT_FALSE(reg->deleteKey(RegRoot::CurrentUser, "A\\missing"));
    EXPECT_FALSE(reg->deleteKey(RegRoot::CurrentUser, ""));
    EXPECT_TRUE(reg->deleteKey(RegRoot::CurrentUser, "a\\b"));
    EXPECT_FALSE(reg->keyExists(RegRoot::CurrentUser, "A\\B\\C"));
    EXPECT_TRUE(reg->keyExists(RegRoot::CurrentUser, "A"));
    EXPECT_FALSE(reg->value(RegRoot::CurrentUser, "A\\B\\C", "v").has_value());
    EXPECT_TRUE(reg->subkeys(RegRoot::CurrentUser, "A").empty());
}

TEST(Registry, missing_or_damaged_files_read_as_what_can_be_saved) {
    TempWinRoot root;
    auto reg = platform::makeFileRegistry(root.root());
    EXPECT_FALSE(reg->keyExists(RegRoot::ClassesRoot, "x"));
    EXPECT_TRUE(reg->subkeys(RegRoot::ClassesRoot, "").empty());

    writeText(root.root() / "registry" / "HKEY_CURRENT_CONFIG.reg",
              "Windows Registry Editor Version 5.00\n"
              "\n"
              "[HKEY_CURRENT_CONFIG\\Good]\n"
              "\"a\"=\"first\"\n"
              "\"broken=\"no closing quote\n"
              "\"b\"=dword:xyz\n"
              "\"c\"=hex:zz,01\n"
              "garbage line\n"
              "\"notutf8\"=\"\xC3(\"\n"
              "\"d\"=\"kept\"\n"
              "[HKEY_CURRENT_CONFIG\\Unclosed\n"
              "\"lost\"=\"belongs to no key\"\n"
              "[HKEY_LOCAL_MACHINE\\Other root]\n"
              "\"e\"=\"ignored\"\n"
              "\x01\x02\xff\xfe binary junk\n");
    EXPECT_EQ(reg->valueNames(RegRoot::CurrentConfig, "Good"),
              (std::vector<std::string>{"a", "d"}));
    EXPECT_EQ(reg->subkeys(RegRoot::CurrentConfig, ""), (std::vector<std::string>{"Good"}));
    ASSERT_TRUE(reg->setValue(RegRoot::CurrentConfig, "Good", "new", dword(7)));
    EXPECT_EQ(reg->value(RegRoot::CurrentConfig, "Good", "a")->text, "first");
    EXPECT_EQ(reg->value(RegRoot::CurrentConfig, "Good", "d")->text, "kept");

    writeText(root.root() / "registry" / "HKEY_USERS.reg", std::string("\0\0\xff[[[\"=\n", 9));
    EXPECT_TRUE(reg->subkeys(RegRoot::Users, "").empty());
    ASSERT_TRUE(reg->setValue(RegRoot::Users, "k", "v", dword(1)));
    EXPECT_EQ(reg->value(RegRoot::Users, "k", "v")->dword, 1u);
}

// Each writer works through its own Registry object, as separate programs would.
void writeMany(const fs::path& winRoot, const std::string& prefix, int count) {
    auto reg = platform::makeFileRegistry(winRoot);
    for (int i = 0; i < count; ++i) {
        reg->setValue(RegRoot::CurrentUser, "Software\\Shared", prefix + std::to_string(i),
                      dword(i));
    }
}

TEST(Registry, concurrent_processes_lose_nothing) {
    TempWinRoot root;
    constexpr int kWriters = 3;
    constexpr int kEach = 40;
    std::vector<pid_t> children;
    for (int w = 0; w < kWriters; ++w) {
        const pid_t pid = fork();
        ASSERT_GE(pid, 0);
        if (pid == 0) {
            writeMany(root.root(), "p" + std::to_string(w) + "_", kEach);
            _exit(0);
        }
        children.push_back(pid);
    }
    for (pid_t pid : children) {
        int status = 0;
        ASSERT_EQ(waitpid(pid, &status, 0), pid);
        EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    }
    auto reg = platform::makeFileRegistry(root.root());
    EXPECT_EQ(reg->valueNames(RegRoot::CurrentUser, "Software\\Shared").size(),
              static_cast<std::size_t>(kWriters * kEach));
    for (int w = 0; w < kWriters; ++w) {
        for (int i = 0; i < kEach; ++i) {
            auto v = reg->value(RegRoot::CurrentUser, "Software\\Shared",
                                "p" + std::to_string(w) + "_" + std::to_string(i));
            ASSERT_TRUE(v) << w << " " << i;
            EXPECT_EQ(v->dword, static_cast<std::uint32_t>(i));
        }
    }
    // No temporary files are left behind.
    std::vector<std::string> left;
    for (const auto& e : fs::directory_iterator(root.root() / "registry"))
        left.push_back(e.path().filename());
    std::sort(left.begin(), left.end());
    EXPECT_EQ(left, (std::vector<std::string>{"HKEY_CURRENT_USER.lock", "HKEY_CURRENT_USER.reg"}));
}

TEST(Registry, concurrent_threads_lose_nothing) {
    TempWinRoot root;
    std::thread a(writeMany, root.root(), "a", 40);
    std::thread b(writeMany, root.root(), "b", 40);
    a.join();
    b.join();
    auto reg = platform::makeFileRegistry(root.root());
    EXPECT_EQ(reg->valueNames(RegRoot::CurrentUser, "Software\\Shared").size(), 80u);
}

}  // namespace
