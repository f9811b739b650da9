#include <gtest/gtest.h>

#include "setup/engine/PackageList.h"

using setup::parsePackageList;

TEST(PackageList, pairs_flags_and_names) {
    const auto list = parsePackageList(
        "C:\\build\\app\\Main.exe\r\n<Install Dir>*0,0,0\r\n"
        "/src/lib/x.ocx\r\n<Shared DLLs>\\sub*1,1,1\r\n"
        "D:name.txt\r\nno star here\r\n"
        "odd\r\nflags*x,9,\r\n"
        "x/y:lib.dll\r\n<Shared DLLs>\r\nlast.txt\r\n<Install Dir>*0,0,0");
    // Whole pairs only: the last line, without CR, is left out with its source.
    ASSERT_EQ(list.size(), 5u);
    EXPECT_EQ(list[0].name, "Main.exe");
    EXPECT_EQ(list[0].sourceLine, "C:\\build\\app\\Main.exe");
    EXPECT_EQ(list[0].destination, "<Install Dir>");
    EXPECT_EQ(list[1].name, "x.ocx");
    EXPECT_EQ(list[1].destination, "<Shared DLLs>\\sub");
    EXPECT_EQ((std::array{list[1].keepExisting, list[1].noLog, list[1].selfRegister}),
              (std::array{1, 1, 1}));
    EXPECT_EQ(list[2].name, "name.txt");
    EXPECT_EQ(list[2].destination, "no star here");
    EXPECT_EQ((std::array{list[3].keepExisting, list[3].noLog, list[3].selfRegister}),
              (std::array{0, 9, 0}));
    EXPECT_EQ(list[4].name, "lib.dll");
    EXPECT_EQ(list[4].destination, "<Shared DLLs>");
}

TEST(PackageList, lines_that_do_not_count) {
    struct Case {
        const char* text;
        std::size_t entries;
    } cases[] = {
        {"a\r\nb*0,0,0\r\nc\r\nd*0,0,0", 1},  // last line without CR
        {"a\r\nb*0,0,0\r\nc\r\n", 1},         // unpaired last line
        {"a\r\n\r\nb*0,0,0\r\n", 1},          // empty lines are not lines
        {"a\rb*0,0,0\r", 1},                  // CR alone ends a line
        {"a\nb*0,0,0\n", 0},                  // LF alone does not
        {"", 0},
    };
    for (const auto& c : cases) EXPECT_EQ(parsePackageList(c.text).size(), c.entries) << c.text;
}

TEST(PackageList, member_names) {
    EXPECT_EQ(setup::memberName(0, "Main.exe"), "F0_Main.exe");
    EXPECT_EQ(setup::memberName(12, "a b.txt"), "F12_a b.txt");
}
