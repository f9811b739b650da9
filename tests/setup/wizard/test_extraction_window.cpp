// The start-up extraction window end to end, with cabinets written here byte by byte and the
// timers shortened: one stage, two stages, a refused cabinet, silent and advanced runs.

#include <gtest/gtest.h>

#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QScreen>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <vector>

#include "setup/config/ExitStatus.h"
#include "setup/wizard/ExtractionWindow.h"
#include "support/CabinetBytes.h"
#include "support/QtWaiting.h"
#include "support/TempWinRoot.h"

namespace fs = std::filesystem;
using testing_support::cabinet;
using testing_support::eventually;

namespace {

class RecordingPrompter final : public setup::Prompter {
public:
    std::vector<std::string> messages;
    void message(std::string_view text, std::string_view) override { messages.emplace_back(text); }
    setup::Answer okCancel(std::string_view, std::string_view) override {
        return setup::Answer::Cancel;
    }
    setup::Answer yesNo(std::string_view, std::string_view, std::string_view,
                        std::string_view) override {
        return setup::Answer::No;
    }
};

setup::ExtractionSettings settingsFor(bool silent = false) {
    setup::ExtractionSettings s;
    s.setupFolder = "c:\\pkg";
    s.file1Cab = "c:\\pkg\\file1.cab";
    s.multi1Cab = "c:\\pkg\\multi1.cab";
    s.extractionFolder = "c:\\temp\\";
    s.splash = true;
    s.silent = silent;
    s.timings = {1, 1, 1, 2};
    return s;
}

struct WindowRun {
    testing_support::TempWinRoot root;
    RecordingPrompter prompter;
    std::atomic<int> splash{255};
    int splashStarts = 0;
    std::unique_ptr<setup::ExtractionWindow> window;

    void start(setup::ExtractionSettings s) {
        window = std::make_unique<setup::ExtractionWindow>(root.fs(), prompter, std::move(s),
                                                           splash, [this] { ++splashStarts; });
        window->open();
    }
    bool closed() {
        return eventually([&] { return !window->isVisible(); });
    }
};

TEST(ExtractionWindow, one_stage_unpacks_then_closes_the_splash) {
    WindowRun run;
    const std::string program =
        "\x7f"
        "ELF\x02\x01\x01 a program of this host";
    run.root.writeHostFile("pkg/file1.cab",
                           cabinet({{"F0_dezovur", program}, {"readme.txt", "hello"}}));
    run.start(settingsFor());

    auto* bar = run.window->findChild<QProgressBar*>("Progress");
    ASSERT_TRUE(run.closed());
    EXPECT_EQ(run.window->result(), QDialog::Accepted);
    EXPECT_EQ(bar->value(), 400);
    EXPECT_EQ(run.splash.load(), setup::kSplashClose);
    EXPECT_EQ(run.splashStarts, 1);
    EXPECT_EQ(run.root.readHostFile("temp/F0_dezovur"), program);
    EXPECT_EQ(run.root.readHostFile("temp/readme.txt"), "hello");
    const auto perms = fs::status(run.root.driveC() / "temp/F0_dezovur").permissions();
    EXPECT_NE(perms & fs::perms::owner_exec, fs::perms::none);
    EXPECT_EQ(
        fs::status(run.root.driveC() / "temp/readme.txt").permissions() & fs::perms::owner_exec,
        fs::perms::none);
    // Bottom right, 40 pixels above the screen's foot.
    const QRect screen = run.window->screen()->geometry();
    EXPECT_EQ(run.window->x() + run.window->width(), screen.width());
    EXPECT_EQ(run.window->y() + run.window->height(), screen.height() - 40);
}

TEST(ExtractionWindow, two_stages_unpack_the_inner_cabinet_from_the_extraction_folder) {
    WindowRun run;
    const std::string inner = cabinet({{"F0_Ergasies.dat", ""}, {"F1_l.dat", "29350"}});
    run.root.writeHostFile("pkg/multi1.cab", cabinet({{"F0_ice1.cab", inner}}));
    run.start(settingsFor());
    ASSERT_TRUE(run.closed());
    EXPECT_EQ(run.window->result(), QDialog::Accepted);
    EXPECT_EQ(run.root.readHostFile("temp/F1_l.dat"), "29350");
    EXPECT_TRUE(fs::exists(run.root.driveC() / "temp/F0_Ergasies.dat"));
}

TEST(ExtractionWindow, refused_cabinet_shows_why_and_cancel_ends_with_failure) {
    for (const bool silent : {false, true}) {
        WindowRun run;
        run.root.writeHostFile("pkg/file1.cab",
                               cabinet({{"ok.txt", "x"}, {"..\\..\\evil.txt", "y"}}));
        run.start(settingsFor(silent));
        if (!silent) {
            ASSERT_TRUE(eventually([&] { return !run.prompter.messages.empty(); }));
            EXPECT_TRUE(run.window->isVisible()) << "the message stays readable until Cancel";
            EXPECT_NE(run.window->findChild<QLabel*>("Status")->text().indexOf("error..."), -1);
            run.window->findChild<QPushButton*>("Cancel")->click();
        }
        ASSERT_TRUE(run.closed());
        EXPECT_EQ(run.window->result(), QDialog::Rejected);
        EXPECT_EQ(run.window->exitStatus(), setup::kExitExtractionFailed);
        ASSERT_EQ(run.prompter.messages.size(), 1u);
        EXPECT_EQ(run.prompter.messages[0].rfind("error...\r\nc:\\pkg\\file1.cab\r\n", 0), 0u)
            << run.prompter.messages[0];
        EXPECT_FALSE(fs::exists(run.root.driveC() / "temp/ok.txt"));
        EXPECT_FALSE(fs::exists(run.root.driveC() / "evil.txt"));
        EXPECT_NE(run.splash.load(), setup::kSplashClose);
    }
}

TEST(ExtractionWindow, silent_run_is_invisible_and_unpaced) {
    WindowRun run;
    run.root.writeHostFile("pkg/file1.cab", cabinet({{"a.txt", "a"}}));
    auto s = settingsFor(true);
    s.timings = {60000, 60000, 60000, 60000};  // a silent run never waits for these
    run.start(s);
    ASSERT_TRUE(run.closed());
    EXPECT_EQ(run.window->result(), QDialog::Accepted);
    EXPECT_EQ(run.window->pos(), QPoint(0, 0));
    EXPECT_EQ(run.window->size(), QSize(0, 0));
    EXPECT_EQ(run.root.readHostFile("temp/a.txt"), "a");
}

TEST(ExtractionWindow, advanced_mode_stays_open_and_language_texts_apply) {
    WindowRun run;
    run.root.writeHostFile("pkg/file1.cab", cabinet({{"a.txt", "a"}}));
    auto s = settingsFor();
    s.advanced = true;
    s.statusText = "Προετοιμασία...";
    s.cancelText = "Άκυρο";
    run.start(s);
    auto* bar = run.window->findChild<QProgressBar*>("Progress");
    EXPECT_EQ(run.window->findChild<QLabel*>("Status")->text(), QString("Προετοιμασία..."));
    EXPECT_EQ(run.window->findChild<QPushButton*>("Cancel")->text(), QString("Άκυρο"));
    ASSERT_TRUE(eventually(
        [&] { return bar->value() == 400 && fs::exists(run.root.driveC() / "temp/a.txt"); }));
    QTest::qWait(30);
    EXPECT_TRUE(run.window->isVisible());
    EXPECT_EQ(run.splashStarts, 0);
    run.window->findChild<QPushButton*>("Cancel")->click();
    ASSERT_TRUE(run.closed());
    EXPECT_EQ(run.window->exitStatus(), setup::kExitCancelled);
}

// Cancel at the question for the next disk of a set ends setup there, with status 0 and
// nothing left of what was unpacked: here the inner cabinet of a two-stage package, whose
// second part is missing.
TEST(ExtractionWindow, cancel_at_the_next_disk_ends_setup_and_leaves_nothing) {
    const char* dir = std::getenv("DEZOVUR_OWN_CABINETS");
    const fs::path part1 = fs::path(dir ? dir : DEZOVUR_OWN_CABINETS_DIR) / "part-1.cab";
    ASSERT_TRUE(fs::is_regular_file(part1)) << part1 << ": the cabinet generator did not run";
    std::ifstream in(part1, std::ios::binary);
    const std::string inner{std::istreambuf_iterator<char>(in), {}};
    WindowRun run;
    run.root.writeHostFile("pkg/multi1.cab", cabinet({{"F0_ice1.cab", inner}}));
    run.start(settingsFor());
    ASSERT_TRUE(run.closed());
    EXPECT_NE(run.window->result(), QDialog::Accepted);
    EXPECT_EQ(run.window->exitStatus(), setup::kEndedByUser);
    run.window.reset();
    EXPECT_TRUE(fs::is_empty(run.root.driveC() / "temp"));
}

}  // namespace
