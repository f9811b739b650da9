// The built zuninstall, run as the uninstall entry runs it: on a hand-made installation, and
// (once setup and a package exist) on what setup itself installed.

#include <dlfcn.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <memory>
#include <sstream>

#include "platform/Profile.h"
#include "record/InstallLog.h"
#include "record/Journal.h"
#include "platform/Registry.h"
#include "platform/Services.h"
#include "support/TempWinRoot.h"
#include "uninstall/ui/Windows.h"

namespace {

namespace fs = std::filesystem;
using platform::RegRoot;

struct Result {
    int status = -1;
    std::string errors;
};

// Arguments go through the shell in single quotes: Windows paths are full of backslashes.
Result runProgram(const fs::path& program, const std::vector<std::string>& arguments,
                  const fs::path& workFolder) {
    // Outside $WINROOT, so that it is not taken for something the programs left.
    std::string errors = (fs::temp_directory_path() / "zuninstall-stderr-XXXXXX").string();
    ::close(::mkstemp(errors.data()));
    std::string command = "cd '" + workFolder.string() + "' && '" + program.string() + "'";
    for (const std::string& a : arguments) command += " '" + a + "'";
    command += " 2>'" + errors + "' >/dev/null";
    Result result;
    const int raw = std::system(command.c_str());
    result.status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
    std::ifstream in(errors);
    result.errors.assign(std::istreambuf_iterator<char>(in), {});
    fs::remove(errors);
    return result;
}

TEST(ZuninstallRun, silent_run_removes_a_hand_made_installation) {
    testing_support::TempWinRoot root;
    auto services = platform::openServices(root.root());
    ASSERT_TRUE(services);
    root.writeHostFile("app/app.exe", "x");
    root.writeHostFile("app/jobs/mine.dat", "user's");
    root.writeHostFile("other/app.exe", "x");
    const std::string key = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\App";
    platform::RegValue name;
    name.text = "App";
    services->registry->setValue(RegRoot::LocalMachine, key, "DisplayName", name);
    auto& profiles = *services->profiles;
    profiles.writeString("c:\\app\\install.log", "LOG", "0", "c:\\app\\app.exe");
    profiles.writeString("c:\\app\\install.log", "DIR", "0", "c:\\app\\");
    profiles.writeString("c:\\app\\install.log", "DIR", "1", "c:\\app\\jobs\\");
    profiles.writeString("c:\\app\\install.log", "UNINSTALL", "PATH", key);
    profiles.writeString("c:\\other\\install.log", "LOG", "0", "c:\\other\\app.exe");
    profiles.writeString("c:\\other\\install.log", "LOG", "1", "q:\\nowhere\\x.dll");
    profiles.writeString("c:\\other\\install.log", "DIR", "0", "c:\\other\\");

    const Result clean =
        runProgram(ZUNINSTALL_PATH, {"--silent", "\"C:\\App\\install.log\""}, root.root());
    EXPECT_EQ(clean.status, 0) << clean.errors;
    EXPECT_FALSE(fs::exists(root.driveC() / "app/app.exe"));
    EXPECT_FALSE(fs::exists(root.driveC() / "app/install.log"));
    EXPECT_TRUE(fs::exists(root.driveC() / "app/jobs/mine.dat"));
    EXPECT_FALSE(services->registry->keyExists(RegRoot::LocalMachine, key));

    const Result refused =
        runProgram(ZUNINSTALL_PATH, {"--silent", "c:\\other\\install.log"}, root.root());
    EXPECT_EQ(refused.status, 1);
    EXPECT_NE(refused.errors.find("q:\\nowhere\\x.dll"), std::string::npos) << refused.errors;
    EXPECT_FALSE(fs::exists(root.driveC() / "other"));

    const Result gone =
        runProgram(ZUNINSTALL_PATH, {"--silent", "c:\\app\\install.log"}, root.root());
    EXPECT_EQ(gone.status, 2);
}

// Whatever the path names, unless it is an install log or journal read whole, nothing goes:
// not the file itself, nor what it seems to list.
// zuninstall links no window library: a silent run loads none, and the windows of a run that
// shows them come from the library beside the program, which opens on its own.
TEST(ZuninstallRun, a_silent_run_loads_no_window_library_and_the_windows_lie_beside_it) {
    testing_support::TempWinRoot root;
    root.writeHostFile("app/install.log", "not a log");
    const fs::path trace = root.root() / "ld";
    const std::string command = "cd '" + root.root().string() + "' && LD_DEBUG=libs LD_DEBUG_OUTPUT='" +
                                trace.string() + "' '" + ZUNINSTALL_PATH +
                                "' --silent 'C:\\app\\install.log' >/dev/null 2>&1";
    const int raw = std::system(command.c_str());
    EXPECT_EQ(WIFEXITED(raw) ? WEXITSTATUS(raw) : -1, 2);
    std::string loaded;
    for (const auto& file : fs::directory_iterator(root.root()))
        if (file.path().filename().string().rfind("ld.", 0) == 0) {
            std::ifstream in(file.path());
            loaded.append(std::istreambuf_iterator<char>(in), {});
        }
    EXPECT_NE(loaded.find("calling init: "), std::string::npos) << "no loader report";
    EXPECT_EQ(loaded.find("libQt6"), std::string::npos);
    EXPECT_EQ(loaded.find(record::kUninstallerWindows), std::string::npos);

    const fs::path library = fs::path(ZUNINSTALL_PATH).parent_path() / record::kUninstallerWindows;
    void* handle = ::dlopen(library.c_str(), RTLD_NOW | RTLD_LOCAL);
    ASSERT_TRUE(handle) << ::dlerror();
    auto open = reinterpret_cast<uninstall::OpenWindows>(::dlsym(handle, uninstall::kOpenWindows));
    ASSERT_TRUE(open);
    static int argc = 1;
    static char name[] = "zuninstall";
    static char* argv[] = {name, nullptr};
    EXPECT_TRUE(std::unique_ptr<uninstall::Windows>(open(&argc, argv)));
}

TEST(ZuninstallRun, refuses_what_is_not_an_install_log) {
    testing_support::TempWinRoot root;
    auto services = platform::openServices(root.root());
    ASSERT_TRUE(services);
    root.writeHostFile("app/app.exe", "x");
    std::string random(4096, '\0');
    for (std::size_t i = 0; i < random.size(); ++i) random[i] = static_cast<char>(i * 7919 % 251);
    const struct {
        const char* name;
        std::string bytes;  // empty: a FIFO
    } cases[] = {
        {"notes.txt", "Shopping list\r\nc:\\app\\app.exe\r\n"},
        {"random.log", random},
        {"fifo.log", ""},
        {"fake.journal", "not a journal\nfile\tc:\\app\\app.exe\n"},
    };
    for (const auto& c : cases) {
        const fs::path host = root.driveC() / "app" / c.name;
        if (c.bytes.empty())
            ASSERT_EQ(::mkfifo(host.c_str(), 0600), 0);
        else
            root.writeHostFile(fs::path("app") / c.name, c.bytes);
        const Result result = runProgram(
            ZUNINSTALL_PATH, {"--silent", "C:\\app\\" + std::string(c.name)}, root.root());
        EXPECT_EQ(result.status, 2) << c.name << ": " << result.errors;
        EXPECT_NE(result.errors.find("nothing was removed"), std::string::npos) << result.errors;
        EXPECT_TRUE(fs::exists(fs::symlink_status(host))) << c.name;
        EXPECT_TRUE(fs::exists(root.driveC() / "app/app.exe")) << c.name;
    }
}

// What the uninstaller says follows the language of the package it removes: the one setup
// recorded in the journal, else the texts of the language.tag beside the log, else English.
TEST(ZuninstallRun, speaks_the_language_of_the_installed_package) {
    const std::string greekTag = "\xEF\xBB\xBF[LANGUAGE]\r\n1=Επόμενο >\r\n3=Άκυρο\r\n";
    const struct {
        const char* name;
        const char* recorded;  // the journal's language record; none: no journal
        std::string languageTag;
        const char* heading;
        const char* reason;
    } rows[] = {
        {"recorded_greek", "el", "", "Τα παρακάτω δεν αφαιρέθηκαν:",
         "έξω από κάθε φάκελο μονάδας δίσκου, δεν αφαιρέθηκε"},
        {"recorded_english_wins", "en", greekTag, "These items were not removed:",
         "outside every drive folder, not removed"},
        {"greek_language_file_beside_the_log", nullptr, greekTag, "Τα παρακάτω δεν αφαιρέθηκαν:",
         "έξω από κάθε φάκελο μονάδας δίσκου, δεν αφαιρέθηκε"},
        {"nothing_to_go_by", nullptr, "", "These items were not removed:",
         "outside every drive folder, not removed"},
    };
    for (const auto& row : rows) {
        testing_support::TempWinRoot root;
        auto services = platform::openServices(root.root());
        ASSERT_TRUE(services);
        root.writeHostFile("app/app.exe", "x");
        if (!row.languageTag.empty()) root.writeHostFile("app/language.tag", row.languageTag);
        std::string target = "c:\\app\\install.log";
        if (row.recorded) {
            // What setup writes; the file on a drive that does not exist stays behind.
            target = "c:\\app\\install.journal";
            auto journal = record::Journal::create(*services->files, target);
            ASSERT_TRUE(journal);
            for (const record::Record& r : std::vector<record::Record>{
                     {"journal", {target}},
                     {"product", {"App"}},
                     {"language", {row.recorded}},
                     {"file", {"c:\\app\\app.exe", "c:\\app\\app.exe.new"}},
                     {"file", {"q:\\nowhere\\x.dll", "q:\\nowhere\\x.new"}},
                     {"done", {"4000000000000000000"}}})  // long after app.exe was made
                ASSERT_TRUE(journal->append(r));
        } else {
            auto& profiles = *services->profiles;
            profiles.writeString(target, "LOG", "0", "c:\\app\\app.exe");
            profiles.writeString(target, "LOG", "1", "q:\\nowhere\\x.dll");
        }
        const Result result = runProgram(ZUNINSTALL_PATH, {"--silent", target}, root.root());
        EXPECT_EQ(result.status, 1) << row.name << ": " << result.errors;
        EXPECT_NE(result.errors.find(row.heading), std::string::npos)
            << row.name << ": " << result.errors;
        EXPECT_NE(result.errors.find(std::string("q:\\nowhere\\x.dll: ") + row.reason),
                  std::string::npos)
            << row.name << ": " << result.errors;
        EXPECT_FALSE(fs::exists(root.driveC() / "app/app.exe")) << row.name;
    }
}

// Every folder and file under the root (the drives' links are not followed): drive c:, the
// data home's desktop entries and the registry's files. Registry files are kept whole, so a
// difference reads as text; any other file by its size and a hash of its bytes, so that a
// failed comparison does not diff the setup program's megabytes.
std::map<std::string, std::string> snapshot(const fs::path& root) {
    std::map<std::string, std::string> entries;
    for (auto it = fs::recursive_directory_iterator(root); it != fs::recursive_directory_iterator();
         ++it) {
        const std::string name = fs::relative(it->path(), root).string();
        if (it->is_symlink()) {
            entries[name] = "-> " + fs::read_symlink(it->path()).string();
            continue;
        }
        if (it->is_directory()) {
            entries[name + "/"] = "";
            continue;
        }
        if (it->path().extension() == ".lock") continue;
        std::ifstream in(it->path(), std::ios::binary);
        const std::string bytes{std::istreambuf_iterator<char>(in), {}};
        entries[name] = name.rfind("registry", 0) == 0
                            ? bytes
                            : std::to_string(bytes.size()) + " bytes, hash " +
                                  std::to_string(std::hash<std::string>{}(bytes));
    }
    return entries;
}

TEST(ZuninstallRun, undoes_what_setup_installed) {
    const fs::path setupProgram = SETUP_PATH;
    const fs::path package = PACKAGE_DIR;
    if (setupProgram.empty() || !fs::exists(setupProgram) || !fs::exists(package / "data.tag")) {
        GTEST_SKIP() << "needs the setup program and a package (make package)";
    }
    testing_support::TempWinRoot root;
    {
        auto services = platform::openServices(root.root());
        ASSERT_TRUE(services);
    }
    // Setup installs from the folder it lies in, silently when its data.tag says so.
    const fs::path setupFolder = root.root() / "package";
    fs::copy(package, setupFolder, fs::copy_options::recursive);
    fs::copy_file(setupProgram, setupFolder / "setup", fs::copy_options::overwrite_existing);
    auto services = platform::openServices(root.root());
    ASSERT_TRUE(services);
    services->profiles->writeString("z:" + (setupFolder / "data.tag").string(), "APPINFO",
                                    "SILENTMODE", "1");
    // The folders every Windows installation has, which the uninstaller rightly keeps: the
    // shell folders (made here when first asked for) and Program Files.
    using platform::ShellFolder;
    for (ShellFolder folder :
         {ShellFolder::Desktop, ShellFolder::Programs, ShellFolder::Startup, ShellFolder::SendTo,
          ShellFolder::StartMenu, ShellFolder::MyMusic, ShellFolder::Fonts,
          ShellFolder::CommonStartMenu, ShellFolder::CommonPrograms, ShellFolder::AppData,
          ShellFolder::CommonFavorites, ShellFolder::MyPictures, ShellFolder::CommonDocuments,
          ShellFolder::Favorites})
        services->system->shellFolder(folder);
    services->files->createDirectory("c:\\Program Files");
    fs::create_directories(root.root() / "xdg" / "applications");
    const auto seeded = snapshot(root.root());

    const Result installed = runProgram(setupFolder / "setup", {}, setupFolder);
    ASSERT_EQ(installed.status, 0) << installed.errors;

    std::string command;
    const std::string list = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall";
    for (const std::string& product : services->registry->subkeys(RegRoot::LocalMachine, list)) {
        if (auto v = services->registry->value(RegRoot::LocalMachine, list + "\\" + product,
                                               "UninstallString"))
            command = v->text;
    }
    const auto exe = command.find(".exe ");
    ASSERT_NE(exe, std::string::npos) << command;
    const auto program = services->files->hostPath(command.substr(0, exe + 4));
    ASSERT_TRUE(program && fs::exists(*program)) << command;

    const Result removed = runProgram(*program, {"--silent", command.substr(exe + 5)}, root.root());
    EXPECT_EQ(removed.status, 0) << removed.errors;
    // What differs, one line an entry, so that a failure says what was left or lost.
    const auto after = snapshot(root.root());
    std::vector<std::string> differences;
    for (const auto& [name, what] : after) {
        auto it = seeded.find(name);
        if (it == seeded.end())
            differences.push_back("left: " + name);
        else if (it->second != what)
            differences.push_back("changed: " + name + "\n" + what);
    }
    for (const auto& [name, what] : seeded)
        if (!after.count(name)) differences.push_back("lost: " + name);
    EXPECT_EQ(differences, std::vector<std::string>{});
}

}  // namespace
