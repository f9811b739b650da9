#include <gtest/gtest.h>

#include <string>

#include "platform/Profile.h"
#include "platform/codec/ProfileSyntax.h"
#include "support/TempWinRoot.h"

using namespace platform::codec;

namespace {

// Windows-1253 bytes: "Όνομα" is BC ED EF EC E1.
const std::string kFile =
    "top=before any section\r\n"
    "[App]\r\n"
    "Name = \"  Quoted  \" \r\n"
    "single='x'\r\n"
    "mixed=\"x'\r\n"
    "lone=\"\r\n"
    "noequals\r\n"
    "KEY=first\r\n"
    "key=second\r\n"
    "  spaced key  =  v  \t\r\n"
    "empty=\r\n"
    "greek=\xBC\xED\xEF\xEC\xE1\r\n"
    "path=C:\\Program Files\\App;x,y\r\n"
    "[app]\r\n"
    "other=from the second section\r\n"
    "[Last]\n"
    "unix=lf only";

TEST(ProfileSyntax, reader_behaviour_table) {
    struct Row {
        const char* section;
        const char* key;
        const char* expected;
    };
    const Row rows[] = {
        {"app", "name", "  Quoted  "},    {"APP", "single", "x"},
        {"App", "mixed", "\"x'"},         {"App", "lone", "\""},
        {"App", "noequals", "(default)"}, {"App", "key", "first"},
        {"App", "spaced key", "v"},       {"App", "empty", ""},
        {"App", "greek", "Όνομα"},        {"App", "path", "C:\\Program Files\\App;x,y"},
        {"App", "other", "(default)"},    {"App", "top", "(default)"},
        {"", "top", "(default)"},         {"last", "unix", "lf only"},
        {"missing", "key", "(default)"},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(std::string(row.section) + "/" + row.key);
        EXPECT_EQ(readProfileString(kFile, 1253, row.section, row.key, "(default)  ", 100),
                  row.expected);
    }
}

TEST(ProfileSyntax, buffer_cuts_value_and_default_to_size_less_one) {
    EXPECT_EQ(readProfileString(kFile, 1253, "App", "greek", "", 4), "Όνο");
    EXPECT_EQ(readProfileString(kFile, 1253, "App", "key", "", 1), "");
    EXPECT_EQ(readProfileString(kFile, 1253, "App", "key", "", 0), "");
    EXPECT_EQ(readProfileString(kFile, 1253, "App", "nokey", "defaults", 4), "def");
}

TEST(ProfileSyntax, names_listed_once_in_file_order) {
    EXPECT_EQ(profileSections(kFile, 1253), (std::vector<std::string>{"App", "Last"}));
    EXPECT_EQ(profileKeys(kFile, 1253, "app"),
              (std::vector<std::string>{"Name", "single", "mixed", "lone", "KEY", "spaced key",
                                        "empty", "greek", "path"}));
}

TEST(ProfileSyntax, writes_keep_every_other_byte) {
    const std::string file = "; note\n[A]\nk = old  \n\n[B]\r\nx=1\r\n\x81\xFF\r\n";
    struct Row {
        const char* section;
        const char* key;
        const char* value;
        std::string expected;
    };
    const Row rows[] = {
        {"a", "K", "new", "; note\n[A]\nk = new  \n\n[B]\r\nx=1\r\n\x81\xFF\r\n"},
        {"A", "j", "2", "; note\n[A]\nk = old  \nj=2\r\n\n[B]\r\nx=1\r\n\x81\xFF\r\n"},
        {"B", "y", "é", "; note\n[A]\nk = old  \n\n[B]\r\nx=1\r\n\x81\xFF\r\ny=\xE9\r\n"},
        {"C", "z", "", "; note\n[A]\nk = old  \n\n[B]\r\nx=1\r\n\x81\xFF\r\n[C]\r\nz=\r\n"},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.key);
        EXPECT_EQ(writeProfileString(file, 1252, row.section, row.key, row.value), row.expected);
    }
    EXPECT_EQ(writeProfileString("[S]\r\na=1", 1252, "s", "b", "2"), "[S]\r\na=1\r\nb=2\r\n");
    EXPECT_EQ(writeProfileString("", 1253, "Σ", "κ", "τιμή"),
              std::string("[\xD3]\r\n\xEA=\xF4\xE9\xEC\xDE\r\n"));
}

TEST(ProfileSyntax, writes_refuse_what_cannot_be_read_back) {
    EXPECT_FALSE(writeProfileString("", 1252, "S", "k", "Ωμέγα"));  // not in Windows-1252
    EXPECT_FALSE(writeProfileString("", 1253, "S", "k", "a\r\nb=c"));
    EXPECT_FALSE(writeProfileString("", 1253, "S]", "k", "v"));
    EXPECT_FALSE(writeProfileString("", 1253, "S", "k=j", "v"));
}

TEST(ProfileSyntax, removal_takes_only_its_lines) {
    const std::string file = "[A]\r\nk=1\r\nj=2\r\n[B]\r\nx=1\r\n";
    EXPECT_EQ(removeProfileKey(file, 1252, "a", "K"), "[A]\r\nj=2\r\n[B]\r\nx=1\r\n");
    EXPECT_EQ(removeProfileSection(file, 1252, "A"), "[B]\r\nx=1\r\n");
    EXPECT_EQ(removeProfileKey(file, 1252, "A", "none"), file);
}

TEST(ProfileSyntax, byte_order_marks_choose_the_encoding_and_writes_keep_it) {
    const std::string utf8 = "\xEF\xBB\xBF[Σ]\r\nκ=ω\r\n";
    EXPECT_EQ(readProfileString(utf8, 1252, "σ", "Κ", "", 10), "ω");
    EXPECT_EQ(writeProfileString(utf8, 1252, "Σ", "κ", "ψ"), "\xEF\xBB\xBF[Σ]\r\nκ=ψ\r\n");

    const std::string le("\xFF\xFE[\0S\0]\0\r\0\n\0k\0=\0\xA9\x03", 18);
    EXPECT_EQ(profileEncoding(le), ProfileEncoding::Utf16Le);
    EXPECT_EQ(readProfileString(le, 1252, "s", "k", "", 10), "Ω");
    EXPECT_EQ(writeProfileString(le, 1252, "S", "k", "ab"),
              std::string("\xFF\xFE[\0S\0]\0\r\0\n\0k\0=\0a\0b\0", 20));

    const std::string be("\xFE\xFF\0[\0S\0]\0\n\0k\0=\x03\xA9", 16);
    EXPECT_EQ(readProfileString(be, 1252, "S", "K", "", 10), "Ω");
}

TEST(ProfileFiles, bare_name_lives_in_windows_folder_and_write_replaces_the_file) {
    testing_support::TempWinRoot root;
    root.writeHostFile("windows/Win.INI", "[Old]\r\nkept=\xE1\r\n");
    auto profiles = platform::makeProfileFiles(root.fs(), 1253);
    EXPECT_EQ(profiles->readString("win.ini", "old", "kept", "", 64), "α");
    EXPECT_TRUE(profiles->writeString("win.ini", "New", "k", "β"));
    EXPECT_EQ(root.readHostFile("windows/Win.INI"), "[Old]\r\nkept=\xE1\r\n[New]\r\nk=\xE2\r\n");
    EXPECT_TRUE(profiles->writeString("c:\\App.ini", "S", "k", "v"));
    EXPECT_EQ(root.readHostFile("App.ini"), "[S]\r\nk=v\r\n");
    EXPECT_FALSE(profiles->writeString("c:\\no such folder\\a.ini", "S", "k", "v"));
    EXPECT_FALSE(profiles->writeString("c:\\App.ini", "S", "k", "Ω\n"));
    EXPECT_EQ(root.readHostFile("App.ini"), "[S]\r\nk=v\r\n");
    EXPECT_TRUE(profiles->removeKey("c:\\App.ini", "s", "K"));
    EXPECT_EQ(root.readHostFile("App.ini"), "[S]\r\n");
}

}  // namespace
