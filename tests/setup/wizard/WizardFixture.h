#pragma once
// A wizard run in a temporary $WINROOT: real files, registry and profile files, a system and
// launcher that record instead of acting, a prompter whose answers the test sets, and timers
// of no length.

#include <deque>
#include <memory>
#include <string>
#include <vector>

#include "platform/Profile.h"
#include "platform/Registry.h"
#include "platform/Services.h"
#include "platform/WinRoot.h"
#include "setup/engine/FolderTable.h"
#include "setup/engine/InstallRun.h"
#include "setup/wizard/WizardContext.h"
#include "support/TempWinRoot.h"

namespace testing_support {

class FakeSystem : public platform::SystemInfo {
public:
    std::string windowsFolder() const override { return "c:\\windows"; }
    std::string systemFolder() const override { return "c:\\windows\\system32"; }
    std::string tempFolder() override { return "c:\\windows\\temp\\"; }
    std::uint64_t physicalMemoryBytes() const override { return 1u << 30; }
    platform::WindowsVersion version() const override { return {}; }
    int ansiCodePage() const override { return 1253; }
    std::string shellFolder(platform::ShellFolder which) override {
        return which == platform::ShellFolder::Programs ? programs : std::string();
    }
    std::string userName() const override { return "user"; }
    platform::ScreenFacts screen() const override { return {1280, 800, 24}; }
    void setScreen(const platform::ScreenFacts&) override {}
    std::optional<std::string> environment(std::string_view) const override { return {}; }
    std::string programs = "c:\\menu\\programs";
};

struct FakeLauncher : platform::Launcher {
    bool start(std::string_view command, std::string_view) override {
        calls.push_back("start " + std::string(command));
        return true;
    }
    bool open(std::string_view path) override {
        calls.push_back("open " + std::string(path));
        return true;
    }
    std::vector<std::string> calls;
};

struct FakePrompter : setup::Prompter {
    void message(std::string_view text, std::string_view) override { messages.emplace_back(text); }
    setup::Answer okCancel(std::string_view text, std::string_view) override {
        messages.emplace_back(text);
        return setup::Answer::Cancel;
    }
    setup::Answer yesNo(std::string_view text, std::string_view, std::string_view,
                        std::string_view) override {
        messages.emplace_back(text);
        setup::Answer a = answers.empty() ? setup::Answer::No : answers.front();
        if (!answers.empty()) answers.pop_front();
        return a;
    }
    std::vector<std::string> messages;
    std::deque<setup::Answer> answers;
};

struct WizardFixture {
    WizardFixture() : registry(platform::makeFileRegistry(root.root())) {
        profiles = platform::makeProfileFiles(root.fs(), 1253);
        for (const char* folder : {"c:\\pkg", "c:\\windows", "c:\\windows\\temp",
                                   "c:\\windows\\temp\\ext", "c:\\menu", "c:\\menu\\programs"})
            root.fs().createDirectory(folder);
        state.setupFolder = "c:\\pkg";
        state.dataTagPath = "c:\\pkg\\data.tag";
        state.languageTagPath = "c:\\pkg\\language.tag";
        state.datafilePath = "c:\\pkg\\datafile.dlr";
        state.extractionFolder = "c:\\windows\\temp\\ext\\";
        state.productName = "Demo";
        state.programFolder = "Demo";
        state.installFolder = "c:\\Program Files\\Demo";
    }

    void write(const std::string& path, const std::string& text) {
        root.fs().writeFile(path, text);
    }
    void dataTag(const std::string& text) { write(state.dataTagPath, text); }

    // The data files as they are now, read as start-up reads them.
    setup::WizardContext& context() {
        package = setup::readPackage(*profiles, state.dataTagPath,
                                     root.fs().exists(state.languageTagPath)
                                         ? std::optional<std::string_view>(state.languageTagPath)
                                         : std::nullopt);
        ctx = std::make_unique<setup::WizardContext>(
            setup::WizardContext{state,
                                 package,
                                 root.fs(),
                                 *registry,
                                 system,
                                 launcher,
                                 prompter,
                                 {},
                                 [this](setup::ProgressView&) {
                                     ++installs;
                                     if (cancelInstall) return false;
                                     state.setState(setup::InstallState::Done);
                                     return true;
                                 },
                                 setup::WizardTimings{0, 0, 0}});
        return *ctx;
    }

    // datafile.dlr from (source, destination line) pairs written in UTF-8 and stored in the
    // root's code page (1253), each member unpacked under its UTF-8 name as the extractor
    // writes it, holding "member <i>".
    void writePackage(const std::vector<std::pair<std::string, std::string>>& pairs) {
        std::string dlr;
        for (std::size_t i = 0; i < pairs.size(); ++i) {
            dlr += cp1253(pairs[i].first) + "\r\n" + cp1253(pairs[i].second) + "\r\n";
            const std::string name = pairs[i].first.substr(pairs[i].first.rfind('\\') + 1);
            root.writeHostFile("windows/temp/ext/F" + std::to_string(i) + "_" + name,
                               "member " + std::to_string(i));
        }
        write(state.datafilePath, dlr);
    }

    // context() with the real installation engine behind the progress page, as setup's main
    // wires it: its own services on the same root, the fixture's run state, package and
    // prompter.
    setup::WizardContext& engineContext() {
        setup::WizardContext& c = context();
        engine.winRoot = root.root();
        engine.files = platform::makePosixFileSystem(root.root());
        engine.registry = platform::makeFileRegistry(root.root());
        engine.profiles = platform::makeProfileFiles(*engine.files, 1253);
        engine.system = std::make_unique<FakeSystem>();
        engine.launcher = std::make_unique<FakeLauncher>();
        using setup::FolderKind;
        folders.set(FolderKind::ProgramFiles, "c:\\Program Files");
        folders.set(FolderKind::SharedDlls, "c:\\windows\\system32");
        folders.set(FolderKind::WindowsDisk, "c:");
        folders.set(FolderKind::WindowsDirectory, "c:\\windows");
        folders.set(FolderKind::CurrentDrive, "c:");
        folders.set(FolderKind::TempDir, "c:\\windows\\temp\\");
        setupContext = std::make_unique<setup::SetupContext>(
            setup::SetupContext{engine, prompter, state, folders, package, title});
        install = std::make_unique<setup::InstallRun>(*setupContext);
        c.openInstall = [this](setup::ProgressView& view) { install->open(view); };
        c.startInstall = [this](setup::ProgressView& view) { return install->start(view); };
        return c;
    }

    TempWinRoot root;
    std::unique_ptr<platform::Registry> registry;
    std::unique_ptr<platform::ProfileFiles> profiles;
    FakeSystem system;
    FakeLauncher launcher;
    FakePrompter prompter;
    setup::RunState state;
    setup::PackageDescription package;
    std::unique_ptr<setup::WizardContext> ctx;
    int installs = 0;
    bool cancelInstall = false;

    // The real engine's side (engineContext()).
    platform::Services engine;
    setup::FolderTable folders;
    std::string title = "setup";
    std::unique_ptr<setup::SetupContext> setupContext;
    std::unique_ptr<setup::InstallRun> install;
};

}  // namespace testing_support
