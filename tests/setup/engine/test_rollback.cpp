// A run that does not go through leaves the machine as it found it: cancelled at any file, a
// copy that fails, or the process killed (the next run finds the journal and undoes it).

#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include "engine_support.h"

namespace {

using setup::RunOutcome;

enum class Stop { Cancel, FailingCopy, Kill };

struct Row {
    const char* name;
    Stop stop;
    int atFile;  // of the five
};

void PrintTo(const Row& row, std::ostream* os) { *os << row.name; }

// Asks to cancel, or dies, when the pass reaches a file.
struct StopAt : setup::SilentProgress {
    std::function<void()> action;
    int at = -1;
    void setValue(int value) override {
        SilentProgress::setValue(value);
        if (value == at && action) action();
    }
};

class Rollback : public engine_test::EngineTest, public ::testing::WithParamInterface<Row> {};

TEST_P(Rollback, the_machine_is_as_it_was) {
    const Row& row = GetParam();
    services.registry->setValue(platform::RegRoot::CurrentUser, "Environment", "PATH",
                                platform::RegValue{platform::RegValue::Type::String, "C:\\old", 0, ""});
    services.files->createDirectory("C:\\windows\\system32");
    root.writeHostFile("Program Files/App/c.txt", "the user's, to be replaced");
    if (row.stop == Stop::FailingCopy) {
        services.files->createDirectory("C:\\Program Files\\App\\sub");
        services.files->createDirectory("C:\\Program Files\\App\\sub\\d.txt");  // in its way
    }
    dataTag("[FILES]\r\nTOTAL=5\r\n[ENVIR]\r\nTOTAL=1\r\nA0=PATH\r\nB0=<Install Dir>\r\nC0=User\r\n"
            "[REGISTRODADOS]\r\nTOTALDADOS=1\r\nA0=HKEY_LOCAL_MACHINE\\Software\\New\\Key\r\n"
            "B0=V\r\nC0=1\r\nD0=String\r\n");
    package({{"C:\\b\\a.txt", "<Install Dir>\\new\\deeper*0,0,0"},
              {"C:\\b\\b.txt", "<Install Dir>*0,0,0"},
              {"C:\\b\\c.txt", "<Install Dir>*0,0,0"},
              {"C:\\b\\d.txt", "<Install Dir>\\sub*0,0,0"},
              {"C:\\b\\e.txt", "<Install Dir>*0,0,0"}});
    const auto before = engine_test::snapshot(root.root());

    StopAt view;
    view.at = row.atFile;
    prompter.answer = setup::Answer::Yes;
    if (row.stop == Stop::Cancel) view.action = [&] { run.cancelRequested = true; };
    if (row.stop == Stop::Kill) {
        view.action = [] { ::_exit(0); };
        const pid_t child = ::fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            setup::Installer doomed(services, run, data, folders, view, prompter, {});
            doomed.open();
            doomed.run();
            ::_exit(1);  // not reached: the pass dies on the way
        }
        int status = 0;
        ::waitpid(child, &status, 0);
        ASSERT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
        // The next run of the package finds what was left and undoes it first.
        setup::Installer next(services, run, data, folders, progress, prompter, {});
        next.open();
        EXPECT_EQ(next.recovered().size(), 1u);
    } else {
        setup::Installer pass(services, run, data, folders, view, prompter, {});
        pass.open();
        EXPECT_EQ(pass.run(),
                  row.stop == Stop::Cancel ? RunOutcome::Cancelled : RunOutcome::Failed);
        if (row.stop == Stop::FailingCopy) {
            EXPECT_NE(pass.failure().find("d.txt"), std::string::npos) << pass.failure();
        }
        // The members unpacked for the run went with it.
        EXPECT_FALSE(services.files->exists("C:\\windows\\temp\\F1_b.txt"));
    }
    auto after = engine_test::snapshot(root.root());
    engine_test::expectSameTree(before, after);
}

INSTANTIATE_TEST_SUITE_P(
    Runs, Rollback,
    ::testing::Values(Row{"cancel_at_the_first_file", Stop::Cancel, 0},
                      Row{"cancel_at_a_middle_file", Stop::Cancel, 2},
                      Row{"cancel_at_the_last_file", Stop::Cancel, 4},
                      Row{"a_copy_that_fails", Stop::FailingCopy, -1},
                      Row{"killed_after_a_replaced_file", Stop::Kill, 3}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
