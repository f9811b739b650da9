// The built setup program loads what its run uses: a silent installation maps no window
// library, and libcurl only when the package has something to download. The windows are a
// library of their own beside the program.
#include <dlfcn.h>
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <set>
#include <string>

#include "setup/config/ExitStatus.h"
#include "setup/engine/download_support.h"
#include "setup/windowed/WindowedSetup.h"
#include "support/CabinetBytes.h"
#include "support/TempWinRoot.h"

namespace fs = std::filesystem;

namespace {

struct Traced {
    int status = -1;
    std::string err;
    std::set<std::string> loaded;  // file names of every shared object the program loaded
};

// Runs setup silently from C:\pkg with the dynamic loader's report of what it loads.
Traced runTraced(testing_support::TempWinRoot& root, const std::string& dataTag) {
    const fs::path pkg = root.driveC() / "pkg";
    fs::create_directories(pkg);
    root.writeHostFile("pkg/data.tag", dataTag);
    root.writeHostFile("pkg/file1.cab", testing_support::cabinet({{"F0_a.txt", "a"}}));
    root.writeHostFile("pkg/datafile.dlr", "b:\\a.txt\r\n<Install Dir>*0,0,0\r\n");
    fs::create_symlink(SETUP_BINARY, pkg / "setup");
    const fs::path trace = root.root() / "trace";
    fs::create_directories(trace);
    const fs::path err = root.root() / "stderr.txt";
    const std::string command = "cd '" + root.root().string() +
                                "' && env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM" +
                                " -u PROGRAMFILES LD_DEBUG=libs LD_DEBUG_OUTPUT='" +
                                (trace / "ld").string() + "' WINROOT='" + root.root().string() +
                                "' '" + (pkg / "setup").string() + "' 2>'" + err.string() +
                                "' >/dev/null";
    const int raw = std::system(command.c_str());
    Traced run;
    run.status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
    std::ifstream in(err);
    run.err.assign(std::istreambuf_iterator<char>(in), {});
    for (const auto& file : fs::directory_iterator(trace)) {
        std::ifstream lines(file.path());
        for (std::string line; std::getline(lines, line);) {
            const auto at = line.find("calling init: ");
            if (at != std::string::npos)
                run.loaded.insert(fs::path(line.substr(at + 14)).filename().string());
        }
    }
    return run;
}

bool loadedLike(const std::set<std::string>& loaded, const std::string& prefix) {
    for (const std::string& name : loaded)
        if (name.rfind(prefix, 0) == 0) return true;
    return false;
}

TEST(setup_program, silent_run_loads_only_what_it_uses) {
    testing_support::LoopbackServer server;
    server.on("/pkg/extra.txt",
              testing_support::LoopbackServer::reply(
                  "HTTP/1.1 200 OK\r\nContent-Length: 5\r\nConnection: close\r\n\r\nextra"));
    const std::string data =
        "[APPINFO]\r\n1=Demo\r\n5=<Program Files>\\Demo\r\nSILENTMODE=1\r\n"
        "[SYSTEM]\r\nALL=1\r\nmr7=Any\r\n[FILES]\r\nTOTAL=1\r\n";
    const struct {
        const char* label;
        std::string dataTag;
        bool curl;
    } cases[] = {
        {"nothing to download", data, false},
        {"a download",
         data + "[ADVANCEDACTIONS]\r\nTOTAL=1\r\nC0=Download\r\nF0=" +
             server.url("/pkg/extra.txt") + "\r\n",
         true},
    };
    for (const auto& c : cases) {
        testing_support::TempWinRoot root;
        const Traced run = runTraced(root, c.dataTag);
        ASSERT_EQ(run.status, setup::kExitDone) << c.label << "\n" << run.err;
        ASSERT_TRUE(loadedLike(run.loaded, "libc.so")) << c.label << ": no loader report";
        EXPECT_FALSE(loadedLike(run.loaded, "libQt6")) << c.label;
        EXPECT_FALSE(loadedLike(run.loaded, "setup-windows")) << c.label;
        EXPECT_EQ(loadedLike(run.loaded, "libcurl"), c.curl) << c.label;
        EXPECT_EQ(root.readHostFile("Program Files/Demo/a.txt"), "a") << c.label;
        if (c.curl) {
            EXPECT_EQ(root.readHostFile("Program Files/Demo/extra.txt"), "extra");
        }
    }
}

// The library the program opens for its windows lies beside it, opens on its own (every symbol
// it needs found) and gives the windowed stages once a display is there (offscreen here).
TEST(setup_program, windows_library_beside_the_program_gives_the_windowed_stages) {
    const fs::path library = fs::path(SETUP_BINARY).parent_path() / setup::kWindowedSetupLibrary;
    void* handle = ::dlopen(library.c_str(), RTLD_NOW | RTLD_LOCAL);
    ASSERT_TRUE(handle) << ::dlerror();
    auto open =
        reinterpret_cast<setup::OpenWindowedSetup>(::dlsym(handle, setup::kOpenWindowedSetup));
    ASSERT_TRUE(open);
    static int argc = 1;
    static char name[] = "setup";
    static char* argv[] = {name, nullptr};
    std::unique_ptr<setup::WindowedSetup> windows(open({&argc, argv, nullptr}));
    ASSERT_TRUE(windows);
    const setup::StartupStages stages = windows->stages("C:\\");
    EXPECT_TRUE(stages.extract && stages.showBackground && stages.runWizard);
}

}  // namespace
