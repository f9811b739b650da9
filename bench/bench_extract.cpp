// setup's cabinet extractor against cabextract (the same libmspack underneath) on two
// cabinets made with gcab here: 20 large members (200 MB, MSZIP) and 5,000 small ones. Each
// run is a process of its own whose peak memory is read at its exit (Measure.h); runs
// alternate between the two tools, each going first equally often, and the median wall time
// of each is compared.
//
//   bench_extract [runs]      (default 8; needs gcab and cabextract on PATH)
//   BENCH_DIR=/dev/shm bench_extract   (the same on another file system)
//   BENCH_VERBOSE=1 bench_extract      (every run's times too)

#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <random>
#include <sstream>
#include <string>
#include <string_view>
#include <vector>

#include "Measure.h"
#include "Members.h"
#include "Settle.h"
#include "platform/WinRoot.h"
#include "setup/config/Prompter.h"
#include "setup/config/SilentPrompter.h"
#include "setup/engine/CabinetExtractor.h"

namespace fs = std::filesystem;

namespace {

void writeMember(const fs::path& path, std::size_t size, std::mt19937_64& random) {
    const std::string data = bench::memberBytes(size, random);
    std::ofstream(path, std::ios::binary)
        .write(data.data(), static_cast<std::streamsize>(data.size()));
}

bool makeCabinet(const fs::path& folder, const fs::path& cab,
                 const std::vector<std::string>& names) {
    std::string command =
        "cd '" + folder.string() + "' && gcab --create --zip --nopath '" + cab.string() + "'";
    for (const auto& n : names) command += " '" + n + "'";
    return std::system(command.c_str()) == 0;
}

// The extraction itself, in a process of its own (the benchmark runs itself with "--unpack"),
// so that its peak memory is the extractor's and not the benchmark's.
int unpack(const char* winRoot, const char* cabinet, const char* into) {
    auto files = platform::makePosixFileSystem(winRoot);
    std::ostringstream unheard;
    setup::SilentPrompter prompter(unheard);
    setup::CabinetExtractor extractor(*files, prompter);
    const auto result = extractor.extract(cabinet, into, "c:\\");
    if (result.outcome != setup::ExtractionResult::Outcome::Done)
        std::fprintf(stderr, "%s\n", result.message.c_str());
    return result.outcome == setup::ExtractionResult::Outcome::Done ? 0 : 1;
}

bench::Sample ours(const fs::path& winRoot, const std::string& cabinet, const std::string& into) {
    return bench::run(
        bench::command({"/proc/self/exe", "--unpack", winRoot.string(), cabinet, into}));
}

bench::Sample theirs(const fs::path& out, const fs::path& cabinet) {
    return bench::run(bench::command({"cabextract", "-q", "-d", out.string(), cabinet.string()}));
}

}  // namespace

int main(int argc, char** argv) {
    if (argc == 5 && std::string_view(argv[1]) == "--unpack")
        return unpack(argv[2], argv[3], argv[4]);
    const int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 8;
    // BENCH_DIR picks the file system (a tmpfs shows the programs' own cost without the disk's).
    const char* where = std::getenv("BENCH_DIR");
    std::string pattern = std::string(where ? where : "/tmp") + "/dezovur-bench-XXXXXX";
    if (!mkdtemp(pattern.data())) return 1;
    const fs::path base = pattern;
    const fs::path winRoot = base / "root";
    const fs::path driveC = winRoot / "drive_c";
    fs::create_directories(winRoot / "dosdevices");
    fs::create_directories(driveC);
    fs::create_directory_symlink("../drive_c", winRoot / "dosdevices" / "c:");

    std::mt19937_64 random(696);
    struct Set {
        const char* label;
        std::string cab;
        int count;
        std::size_t size;
    };
    const Set sets[] = {{"20 large members (200 MB)", "large.cab", 20, 10 * 1024 * 1024},
                        {"5,000 small members", "small.cab", 5000, 0}};
    std::printf("Making the cabinets with gcab in %s ...\n", base.c_str());
    for (const Set& set : sets) {
        const fs::path src = base / ("src-" + set.cab);
        fs::create_directories(src);
        std::vector<std::string> names;
        for (int i = 0; i < set.count; ++i) {
            names.push_back("F" + std::to_string(i) + "_member.dat");
            writeMember(src / names.back(), set.size ? set.size : 512 + random() % 8192, random);
        }
        if (!makeCabinet(src, driveC / set.cab, names)) {
            std::fprintf(stderr, "gcab failed\n");
            return 1;
        }
    }
    bench::settleFileSystem(base);

    std::printf("%-28s %10s %10s %7s %9s %12s %12s\n", "cabinet", "ours (s)", "cabext (s)", "ratio",
                "cpu ratio", "ours peak", "cabext peak");
    for (const Set& set : sets) {
        std::vector<double> a, b, cpuA, cpuB;
        long rssA = 0, rssB = 0;
        // Every run unpacks into folders of its own beside the others, kept until the end (see
        // Settle.h); ext4 puts a new folder's files near its parent's, so both tools meet the
        // same state of the disk. The tools take turns at going first, after one run of each
        // that is not counted (it brings the cabinet and the folder's block group into memory).
        const std::string kind = set.cab.substr(0, set.cab.find('.'));
        for (int r = -1; r < runs; ++r) {
            const std::string n = r < 0 ? "-warm-up" : std::to_string(r);
            const std::string ourFolder = kind + "\\ours" + n;
            const fs::path theirFolder = driveC / kind / ("theirs" + n);
            fs::create_directories(driveC / kind / ("ours" + n));
            fs::create_directories(theirFolder);
            bench::Sample s1, s2;
            auto runOurs = [&] {
                sync();
                s1 = ours(winRoot, "c:\\" + set.cab, "c:\\" + ourFolder + "\\");
            };
            auto runTheirs = [&] {
                sync();
                s2 = theirs(theirFolder, driveC / set.cab);
            };
            bench::inTurn(r, runOurs, runTheirs);
            if (!s1.ok || !s2.ok) {
                std::fprintf(stderr, "a run failed (ours %d, cabextract %d)\n", s1.ok, s2.ok);
                return 1;
            }
            if (std::getenv("BENCH_VERBOSE"))
                std::printf("  run %s: ours %.3f s, cabextract %.3f s\n", n.c_str(), s1.seconds,
                            s2.seconds);
            if (r < 0) continue;
            a.push_back(s1.seconds);
            b.push_back(s2.seconds);
            cpuA.push_back(s1.cpuSeconds);
            cpuB.push_back(s2.cpuSeconds);
            rssA = std::max(rssA, s1.peakKb);
            rssB = std::max(rssB, s2.peakKb);
        }
        const double ma = bench::median(a), mb = bench::median(b);
        std::printf("%-28s %10.3f %10.3f %7.2f %9.2f %9ld KB %9ld KB\n", set.label, ma, mb, ma / mb,
                    bench::median(cpuA) / bench::median(cpuB), rssA, rssB);
    }
    bench::removeTree(base);
    return 0;
}
