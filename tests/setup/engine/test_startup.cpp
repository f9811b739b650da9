#include <gtest/gtest.h>

#include <vector>

#include "platform/WinRoot.h"
#include "setup/engine/Startup.h"
#include "support/FakeServices.h"
#include "support/TempWinRoot.h"

using namespace setup;

namespace {

struct RecordingPrompter : Prompter {
    std::vector<std::string> said;
    void message(std::string_view text, std::string_view title) override {
        said.push_back(std::string(title) + ": " + std::string(text));
    }
    Answer okCancel(std::string_view, std::string_view) override { return Answer::Cancel; }
    Answer yesNo(std::string_view, std::string_view, std::string_view, std::string_view) override {
        return Answer::No;
    }
};

struct StartupRun {
    testing_support::TempWinRoot root;
    platform::Services services;
    testing_support::FakeSystemInfo* system;
    RecordingPrompter prompter;
    RunState run;
    std::vector<std::string> stagesRun;

    StartupRun() {
        services.winRoot = root.root();
        services.files = platform::makePosixFileSystem(root.root());
        services.registry = platform::makeFileRegistry(root.root());
        auto fake = std::make_unique<testing_support::FakeSystemInfo>();
        system = fake.get();
        system->variables["PROGRAMFILES"] = "C:\\Program Files";
        system->screenFacts = {1024, 768, 32};
        services.system = std::move(fake);
        services.profiles = platform::makeProfileFiles(*services.files, 1252);
    }

    int start(const std::string& program = "C:\\pkg\\setup.exe") {
        Startup startup(services, prompter, run, program, "C:\\elsewhere");
        if (auto status = startup.prepare()) return *status;
        StartupStages stages;
        stages.extract = [&](SetupContext&) {
            stagesRun.push_back("extract");
            return 0;
        };
        stages.showBackground = [&](SetupContext&) { stagesRun.push_back("background"); };
        stages.runWizard = [&](SetupContext& ctx) {
            stagesRun.push_back("wizard " + ctx.folders.value(FolderKind::InstallDir));
            return 0;
        };
        return startup.run(stages);
    }
};

}  // namespace

TEST(startup, each_failure_ends_with_its_message_and_status) {
    const struct {
        const char* dataTag;  // nullptr: no data.tag
        bool programFiles;
        const char* said;
        int status;
    } cases[] = {
        {nullptr, true, "setup: Data file not found...", kExitDataFileMissing},
        {"[SYSTEM]\r\nALL=1\r\n", false,
         "setup: You don't have permission to run setup in this computer...", kExitNoPermission},
        {"[SYSTEM]\r\nmr1=1\r\n", true,
         "setup: This OS platform is not supported by this software.", kExitRequirementNotMet},
        {"[SYSTEM]\r\nALL=1\r\nmr8=1280x1024\r\n", true,
         "setup: Please select a graphic-mode with a higher resolution!", kExitRequirementNotMet},
    };
    for (const auto& c : cases) {
        StartupRun s;
        if (c.dataTag) s.root.writeHostFile("pkg/data.tag", c.dataTag);
        if (!c.programFiles) s.system->variables.clear();
        EXPECT_EQ(s.start(), c.status) << c.said;
        EXPECT_EQ(s.prompter.said, std::vector<std::string>{c.said});
    }
}

TEST(startup, a_package_met_reaches_the_wizard_with_its_folders) {
    StartupRun s;
    s.root.writeHostFile("pkg/data.tag",
                         "[APPINFO]\r\n1=Dezovur\r\n5=<Program Files>\\Dezovur\\\r\nPreview=YES\r\n"
                         "[MAINWINDOW]\r\nBackGround=SIM\r\n[SYSTEM]\r\nmr6=1\r\nmr7=64\r\n");
    s.root.writeHostFile("pkg/language.tag", "[LANGUAGE]\r\n1=Next\r\n");
    s.root.writeHostFile("windows/temp/readme.txt", "from an earlier run");
    EXPECT_EQ(s.start(), kExitDone);
    EXPECT_TRUE(s.prompter.said.empty());
    EXPECT_EQ(s.stagesRun, (std::vector<std::string>{"extract", "background",
                                                     "wizard C:\\Program Files\\Dezovur"}));
    EXPECT_EQ(s.run.setupFolder, "C:\\pkg");
    EXPECT_EQ(s.run.productName, "Dezovur");
    EXPECT_EQ(s.run.programFolder, "Dezovur");
    EXPECT_EQ(s.run.extractionFolder, "C:\\windows\\temp\\");
    EXPECT_TRUE(s.run.preview);
    EXPECT_TRUE(s.run.background);
    EXPECT_TRUE(s.run.languagePresent);
    EXPECT_FALSE(s.run.silent);
    EXPECT_FALSE(s.root.fs().exists("C:\\windows\\temp\\readme.txt"));
}

TEST(startup, silent_run_shows_no_background_and_a_failed_extraction_ends_it) {
    StartupRun s;
    s.root.writeHostFile("elsewhere/data.tag",
                         "[APPINFO]\r\nSILENTMODE= 1x\r\n[MAINWINDOW]\r\nBackGround=SIM\r\n"
                         "[SYSTEM]\r\nALL=1\r\n");
    // Named otherwise, the program reads its data files from the current directory.
    EXPECT_EQ(s.start("C:\\pkg\\SETUP.EXE"), kExitDone);
    EXPECT_TRUE(s.run.silent);
    EXPECT_FALSE(s.run.background);
    EXPECT_EQ(s.stagesRun.size(), 2u);

    Startup again(s.services, s.prompter, s.run, "C:\\pkg\\SETUP.EXE", "C:\\elsewhere");
    ASSERT_FALSE(again.prepare());
    StartupStages failing;
    failing.extract = [](SetupContext&) { return int(kExitExtractionFailed); };
    failing.runWizard = [](SetupContext&) -> int {
        ADD_FAILURE() << "wizard after failure";
        return 0;
    };
    EXPECT_EQ(again.run(failing), kExitExtractionFailed);
    // Ended by the user where that ends setup without an error (no next disk): status 0, and
    // still no wizard.
    failing.extract = [](SetupContext&) { return int(kEndedByUser); };
    EXPECT_EQ(again.run(failing), kExitDone);
}
