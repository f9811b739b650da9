#include <gtest/gtest.h>
#include <sys/stat.h>

#include <chrono>
#include <filesystem>
#include <thread>

#include "platform/Launcher.h"
#include "platform/codec/CommandLine.h"
#include "support/TempWinRoot.h"

using platform::codec::programCandidates;
using platform::codec::splitWindowsArguments;

TEST(CommandLine, arguments_split_as_a_windows_program_splits_them) {
    struct Row {
        const char* line;
        std::vector<std::string> args;
    };
    const Row rows[] = {
        {R"(/s  "c:\my file.dll" x)", {"/s", "c:\\my file.dll", "x"}},
        {R"(a\\b \"q\" "c\\" "")", {"a\\\\b", "\"q\"", "c\\", ""}},
        {R"("say ""hi""" end)", {"say \"hi\"", "end"}},
        {R"(a\\\"b c"d e"f)", {"a\\\"b", "cd ef"}},
        {"   ", {}},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.line);
        EXPECT_EQ(splitWindowsArguments(row.line), row.args);
    }
}

TEST(CommandLine, unquoted_program_tried_at_each_blank) {
    const auto c = programCandidates(R"(  c:\program files\x.exe /s)");
    ASSERT_EQ(c.size(), 3u);
    EXPECT_EQ(c[0].program, "c:\\program");
    EXPECT_EQ(c[0].arguments, "files\\x.exe /s");
    EXPECT_EQ(c[1].program, "c:\\program files\\x.exe");
    EXPECT_EQ(c[1].arguments, "/s");
    const auto q = programCandidates(R"("c:\program files\x.exe" "a b")");
    ASSERT_EQ(q.size(), 1u);
    EXPECT_EQ(q[0].program, "c:\\program files\\x.exe");
    EXPECT_EQ(q[0].arguments, "\"a b\"");
}

TEST(Launcher, finds_x_exe_as_x_and_reports_what_cannot_start) {
    testing_support::TempWinRoot root;
    root.writeHostFile("Program Files/Tool/x", "#!/bin/sh\nprintf '%s|' \"$@\" > ran.txt\n");
    ::chmod((root.driveC() / "Program Files/Tool/x").c_str(), 0755);
    root.writeHostFile("Program Files/Tool/data.exe", "MZ not for this host");
    std::filesystem::create_directories(root.driveC() / "work");
    auto launcher = platform::makePosixLauncher(root.fs());

    EXPECT_TRUE(launcher->start(R"(c:\program files\tool\X.EXE /s "a b")", "c:\\work"));
    for (int i = 0; i < 500 && root.readHostFile("work/ran.txt").empty(); ++i)
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    EXPECT_EQ(root.readHostFile("work/ran.txt"), "/s|a b|");

    EXPECT_TRUE(launcher->start("x.exe", "c:\\program files\\tool"));  // relative: working folder
    EXPECT_FALSE(launcher->start("c:\\program files\\tool\\missing.exe", ""));
    EXPECT_FALSE(launcher->start("c:\\program files\\tool\\data.exe", ""));  // not executable
    EXPECT_FALSE(launcher->start("x.exe", "c:\\no such folder"));
    EXPECT_FALSE(launcher->start("", ""));
    EXPECT_FALSE(launcher->open("c:\\missing.txt"));
}
