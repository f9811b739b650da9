// How the uninstaller's time grows with the installation: 2,500, 5,000 and 10,000 installed
// files, each installed by the engine, then removed by zuninstall's own code (reading the log
// and the journal whole, then undoing) beside `rm -r` of a copy of the same folder. A constant
// time per file says the removal is linear; the ratio to rm -r is its price.

#include <sys/stat.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <sstream>
#include <string>

#include "../Settle.h"
#include "platform/Services.h"
#include "platform/WinRoot.h"
#include "setup/config/PackageDescription.h"
#include "setup/config/SilentPrompter.h"
#include "setup/engine/Installer.h"
#include "setup/engine/SilentProgress.h"
#include "uninstall/Uninstaller.h"

namespace fs = std::filesystem;

namespace {

double since(std::chrono::steady_clock::time_point start) {
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

// Installs count small files into C:\Program Files\Bench; false when it did not go through.
bool install(platform::Services& services, int count) {
    const fs::path c = services.winRoot / "drive_c";
    std::string dlr;
    for (int i = 0; i < count; ++i) {
        const std::string name = "file" + std::to_string(i) + ".dat";
        dlr += "C:\\build\\" + name + "\r\n<Install Dir>\\d" + std::to_string(i % 50) + "*0,0,0\r\n";
        std::ofstream(c / "windows/temp" / ("F" + std::to_string(i) + "_" + name))
            << std::string(512 + i % 4096, 'x');
    }
    std::ofstream(c / "setup/datafile.dlr", std::ios::binary) << dlr;
    std::ofstream(c / "setup/data.tag", std::ios::binary)
        << "[APPINFO]\r\n1=Bench\r\n[FILES]\r\nTOTAL=" << count << "\r\n";
    setup::FolderTable folders;
    setup::RunState run;
    run.dataTagPath = "C:\\setup\\data.tag";
    run.datafilePath = "C:\\setup\\datafile.dlr";
    run.extractionFolder = "C:\\windows\\temp\\";
    run.installFolder = "C:\\Program Files\\Bench";
    run.productName = run.programFolder = "Bench";
    run.silent = true;
    const auto data = setup::readPackage(*services.profiles, run.dataTagPath);
    setup::SilentProgress progress;
    std::ostringstream unheard;
    setup::SilentPrompter prompter(unheard);
    setup::Installer installer(services, run, data, folders, progress, prompter, {});
    installer.open();
    return installer.run() == setup::RunOutcome::Finished;
}

fs::path measure(int count) {
    const char* where = std::getenv("BENCH_DIR");
    std::string templ = std::string(where ? where : "/var/tmp") + "/uninstall-bench-XXXXXX";
    if (!::mkdtemp(templ.data())) std::abort();
    const fs::path root = templ;
    auto services = platform::openServices(root);
    if (!services) std::abort();
    const fs::path c = root / "drive_c";
    for (const char* folder : {"windows/temp", "windows/system32", "setup", "Program Files"})
        fs::create_directories(c / folder);
    if (!install(*services, count)) {
        std::cerr << "the installation did not go through\n";
        std::exit(1);
    }
    const fs::path copy = c / "Program Files/Copy";
    fs::copy(c / "Program Files/Bench", copy, fs::copy_options::recursive);
    bench::settleFileSystem(root);

    ::sync();
    auto start = std::chrono::steady_clock::now();
    std::string problem;
    const auto installation = uninstall::loadInstallation(
        *services->files, "C:\\Program Files\\Bench\\install.log", 1253, problem);
    const auto outcome = installation
                             ? uninstall::uninstall(*installation, {*services->files,
                                                                    *services->registry,
                                                                    *services->system,
                                                                    *services->profiles})
                             : uninstall::Outcome{};
    const double removal = since(start);
    if (!installation || !outcome.complete() || fs::exists(c / "Program Files/Bench"))
        std::cerr << "the removal left something " << problem << "\n";

    ::sync();
    start = std::chrono::steady_clock::now();
    if (std::system(("rm -r '" + copy.string() + "'").c_str()) != 0) std::cerr << "rm failed\n";
    const double rm = since(start);
    std::printf("%6d files: uninstall %7.3f s (%5.1f us a file)   rm -r %7.3f s   ratio %.2f\n",
                count, removal, removal / count * 1e6, rm, removal / rm);
    return root;
}

}  // namespace

int main() {
    std::vector<fs::path> made;
    for (int count : {2500, 5000, 10000}) made.push_back(measure(count));
    for (const auto& root : made) bench::removeTree(root);
    return 0;
}
