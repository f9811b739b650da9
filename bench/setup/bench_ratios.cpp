// The five ratios by which setup, zuninstall and dezovur are judged, each the whole program
// against the plain tool doing the same work, in one run on one machine:
//
//   1. setup's silent installation of 5,000 small files   / cabextract -d of its cabinet
//   2. setup's silent installation of 20 files of 10 MB   / cabextract -d of its cabinet
//   3. setup's silent installation of the dezovur package / cabextract -d of its file1.cab
//   4. dezovur statement                                  / cat of the fragments it writes
//   5. zuninstall --silent of 10,000 installed files      / rm -r of the installed folder
//
// Every tool runs as a process of its own, started the same way (Measure.h): wall time, CPU
// time and its own peak memory. Each case has a round that is not counted, then the two tools
// take turns at going first and the medians are compared. Everything each case writes stays
// until every case is timed, the file system settles first (Settle.h), and the removals are
// timed last. The installations land beside cabextract's copies, in the same file system.
//
// A benchmark program named on the command line (make bench names the fee statement's) runs
// between the last case that creates files and the removals, on the disk settled for these:
// one wait for the disk serves both.
//
//   bench_ratios [program]    (needs gcab and cabextract on PATH, and the package built)
//   BENCH_DIR=/dev/shm bench_ratios   (the same on a tmpfs: the programs' own cost)
//   BENCH_RUNS=<n>            (rounds counted per case; 5, and 21 for the two short ones)
//   BENCH_CASES=<digits>      (only the cases numbered, "14" say: quicker while tuning one)
//   BENCH_KEEP=1              (leaves what the cases wrote, to look at with strace or perf)

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <map>
#include <random>
#include <string>
#include <vector>

#include "../Measure.h"
#include "../Members.h"
#include "../Settle.h"
#include "fee/store/DataStore.h"
#include "platform/Cp1253.h"
#include "platform/Registry.h"
#include "platform/Services.h"
#include "platform/WinRoot.h"

namespace fs = std::filesystem;

namespace {

struct Tools {
    fs::path setup = SETUP_PROGRAM;
    fs::path zuninstall = ZUNINSTALL_PROGRAM;
    fs::path package = PACKAGE_DIR;  // make package's folder
};

fs::path gBase;  // everything this run writes
fs::path gLog;   // the tools' standard error

std::string readFile(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
}

void writeFile(const fs::path& path, const std::string& bytes) {
    fs::create_directories(path.parent_path());
    std::ofstream(path, std::ios::binary)
        .write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

// A fresh $WINROOT as a user's machine has it, made before any timing.
fs::path newRoot(const fs::path& path) {
    auto services = platform::openServices(path);
    if (!services) {
        std::fprintf(stderr, "cannot prepare %s\n", path.c_str());
        std::exit(1);
    }
    services->files->createDirectory("c:\\Program Files");
    return path;
}

// A package folder as make package lays one out: data.tag, datafile.dlr and file1.cab made
// with gcab, and setup beside them. Members go into <Install Dir>, or into `folders`
// sub-folders of it.
fs::path makePackage(const fs::path& folder, int count, std::size_t minSize, std::size_t maxSize,
                     int folders, const Tools& tools) {
    std::mt19937_64 random(696);
    std::uniform_int_distribution<std::size_t> size(minSize, maxSize);
    const fs::path members = folder / "members";
    fs::create_directories(members);
    std::string dlr;
    std::vector<std::string> names;
    for (int i = 0; i < count; ++i) {
        const std::string name = "file" + std::to_string(i) + ".dat";
        const std::string member = "F" + std::to_string(i) + "_" + name;
        writeFile(members / member, bench::memberBytes(size(random), random));
        dlr += "C:\\build\\" + name + "\r\n<Install Dir>" +
               (folders > 1 ? "\\d" + std::to_string(i % folders) : "") + "*0,0,0\r\n";
        names.push_back(member);
    }
    writeFile(folder / "datafile.dlr", dlr);
    writeFile(folder / "data.tag",
              "[APPINFO]\r\n1=Bench\r\n5=<Program Files>\\Bench\r\nSILENTMODE=1\r\n"
              "[SYSTEM]\r\nALL=1\r\nmr7=Any\r\n[FILES]\r\nTOTAL=" +
                  std::to_string(count) + "\r\n");
    // Not through a shell: a command line of 10,000 names is longer than one argument may be.
    bench::Launch gcab;
    gcab.argv = {"gcab", "--create", "--zip", "--nopath", (folder / "file1.cab").string()};
    gcab.argv.insert(gcab.argv.end(), names.begin(), names.end());
    gcab.directory = members.string();
    gcab.errors = gLog.string();
    if (!bench::run(gcab).ok) {
        std::fprintf(stderr, "gcab failed\n");
        std::exit(1);
    }
    fs::create_symlink(tools.setup, folder / "setup");
    return folder;
}

// The dezovur package, silent: make package's folder with SILENTMODE=1.
fs::path copyRealPackage(const fs::path& folder, const Tools& tools) {
    fs::create_directories(folder);
    for (const auto& entry : fs::directory_iterator(tools.package))
        fs::copy(entry.path(), folder / entry.path().filename(), fs::copy_options::recursive);
    std::string tag = readFile(folder / "data.tag");
    const auto at = tag.find("SILENTMODE=");
    if (at == std::string::npos)
        tag.insert(tag.find("[APPINFO]\r\n") + 11, "SILENTMODE=1\r\n");
    else
        tag.replace(at, tag.find('\r', at) - at, "SILENTMODE=1");
    writeFile(folder / "data.tag", tag);
    return folder;
}

bench::Launch silentSetup(const fs::path& package, const fs::path& root) {
    bench::Launch launch;
    launch.argv = {(package / "setup").string()};
    launch.env = {{"WINROOT", root.string()}, {"XDG_DATA_HOME", (root / "xdg").string()}};
    launch.directory = package.string();
    launch.errors = gLog.string();
    return launch;
}

bench::Launch cabextract(const fs::path& cabinet, const fs::path& into) {
    bench::Launch launch;
    launch.argv = {"cabextract", "-q", "-d", into.string(), cabinet.string()};
    launch.errors = gLog.string();
    return launch;
}

struct Comparison {
    Comparison(std::string what, std::string tool, std::string against, double ratioGoal)
        : label(std::move(what)),
          ours(std::move(tool)),
          theirs(std::move(against)),
          goal(ratioGoal) {}

    std::string label;
    std::string ours, theirs;  // the two tools' names
    double goal = 0;
    std::vector<double> a, b, cpuA, cpuB;
    long peakA = -1, peakB = -1;
    bool ok = true;
    std::string note;

    double ratio() const { return bench::median(a) / bench::median(b); }
};

// Rounds -1 (not counted) to runs-1; the tools alternate at going first.
void compare(Comparison& c, int runs, const std::function<bench::Launch(int)>& ours,
             const std::function<bench::Launch(int)>& theirs) {
    std::printf("%s ...\n", c.label.c_str());
    std::fflush(stdout);
    for (int r = -1; r < runs && c.ok; ++r) {
        bench::Sample s1, s2;
        const auto runOurs = [&] {
            ::sync();
            s1 = bench::run(ours(r));
        };
        const auto runTheirs = [&] {
            ::sync();
            s2 = bench::run(theirs(r));
        };
        bench::inTurn(r, runOurs, runTheirs);
        if (!s1.ok || !s2.ok) {
            c.ok = false;
            c.note = std::string("a run failed: ") + (s1.ok ? c.theirs : c.ours) + " (see " +
                     gLog.string() + ")";
            break;
        }
        if (std::getenv("BENCH_VERBOSE"))
            std::printf("  round %d: %s %.4f s, %s %.4f s\n", r, c.ours.c_str(), s1.seconds,
                        c.theirs.c_str(), s2.seconds);
        if (r < 0) continue;
        c.a.push_back(s1.seconds);
        c.b.push_back(s2.seconds);
        c.cpuA.push_back(s1.cpuSeconds);
        c.cpuB.push_back(s2.cpuSeconds);
        c.peakA = std::max(c.peakA, s1.peakKb);
        c.peakB = std::max(c.peakB, s2.peakKb);
    }
    if (!c.ok) {
        std::printf("  %s\n", c.note.c_str());
        return;
    }
    std::printf(
        "  %s %.4f s (cpu %.4f s, peak %ld KB)   %s %.4f s (cpu %.4f s, peak %ld KB)   "
        "ratio %.2f, cpu ratio %.2f   [medians of %zu]\n",
        c.ours.c_str(), bench::median(c.a), bench::median(c.cpuA), c.peakA, c.theirs.c_str(),
        bench::median(c.b), bench::median(c.cpuB), c.peakB, c.ratio(),
        bench::median(c.cpuA) / bench::median(c.cpuB), c.a.size());
}

// An installation of package against cabextract of its cabinet into the same place.
void installCase(Comparison& c, int runs, const fs::path& package, const fs::path& folder,
                 const std::string& installed) {
    for (int r = -1; r < runs; ++r) {
        newRoot(folder / ("ours" + std::to_string(r + 1)));
        newRoot(folder / ("theirs" + std::to_string(r + 1)));
    }
    compare(
        c, runs,
        [&](int r) { return silentSetup(package, folder / ("ours" + std::to_string(r + 1))); },
        [&](int r) {
            return cabextract(package / "file1.cab", folder / ("theirs" + std::to_string(r + 1)) /
                                                         "drive_c/Program Files" / installed);
        });
}

// A job with something in every category, made current: what `dezovur statement` prints.
bool makeJob(const fs::path& root) {
    auto services = platform::openServices(root);
    if (!services) return false;
    auto& files = *services->files;
    fee::DataStore store(files, ",");
    const std::string job = std::string(fee::kDataFolder) + "ΜαρίαΚωνσταντίνου";
    files.createDirectory(job);
    const std::pair<const char*, const char*> contents[] = {
        {"STOIXEIA.dat",
         "Μαρία\r\nΚωνσταντίνου\r\nΕρμού 12\r\nΑθήνα\r\nΔήμος Αθηναίων\r\nΠλάκα\r\n"
         "Οδός Αδριανού 5\r\nΝίκος\r\nΠαπαδάκης\r\nΣόλωνος 3\r\nΑθήνα\r\n"
         "Αγρονόμος Τοπογράφος Μηχανικός\r\n"},
        {"klimaka.dat", " 500 \r\n"},
        {"entos.dat", " 1 \r\n"},
        {"eid.dat", " 1 \r\n"},
        {"l.dat", " 29350 \r\n"},
        {"analog.dat", " 125 \r\n"},
        {"taxi.dat", " 1250 \r\n 300 \r\n 400 \r\n 150 \r\n 75 \r\n 100 \r\n"},
        {"asti.dat", " 320 \r\n"},
        {"polygon.dat", " 600 \r\n"},
        {"rymotom.dat", " 500 \r\n 1200 \r\n"},
        {"trig.dat", " 200 \r\n 300 \r\n 100 \r\n 400 \r\n"},
        {"them.dat", " 42000 \r\n"},
        {"xilosta.dat", " 1200 \r\n"},
        {"oix.dat", " 800 \r\n"}};
    for (const auto& [name, utf8] : contents)
        if (!files.writeFile(job + "\\" + name, platform::utf8ToCp1253(utf8).value())) return false;
    return store.setCurrentJob(job);
}

// Each file below folder with the time it was last written.
std::map<fs::path, fs::file_time_type> writeTimes(const fs::path& folder) {
    std::map<fs::path, fs::file_time_type> times;
    for (const auto& entry : fs::recursive_directory_iterator(folder))
        if (entry.is_regular_file()) times[entry.path()] = entry.last_write_time();
    return times;
}

// `dezovur statement` of the installed program against cat of the files it writes.
void statementCase(Comparison& c, int runs, const fs::path& package, const fs::path& folder) {
    const fs::path root = newRoot(folder / "root");
    const fs::path program = root / "drive_c/Program Files/dezovur/dezovur";
    bench::Launch statement;
    statement.argv = {program.string(), "statement"};
    statement.env = {{"WINROOT", root.string()}, {"XDG_DATA_HOME", (root / "xdg").string()}};
    statement.errors = gLog.string();
    if (!bench::run(silentSetup(package, root)).ok || !makeJob(root)) {
        c.ok = false;
        c.note = "the package could not be installed, or the job made";
        std::printf("%s ...\n  %s\n", c.label.c_str(), c.note.c_str());
        return;
    }
    // The fragments are what a statement writes in the job's folder (its first run makes them).
    bench::run(statement);
    const auto before = writeTimes(root / "drive_c/Program Files/dezovur");
    if (!bench::run(statement).ok) {
        c.ok = false;
        c.note = "dezovur statement failed (see " + gLog.string() + ")";
        std::printf("%s ...\n  %s\n", c.label.c_str(), c.note.c_str());
        return;
    }
    bench::Launch cat;
    cat.argv = {"cat"};
    for (const auto& [path, time] : writeTimes(root / "drive_c/Program Files/dezovur")) {
        const auto was = before.find(path);
        if (was == before.end() || was->second != time) cat.argv.push_back(path.string());
    }
    cat.errors = gLog.string();
    c.theirs = "cat of " + std::to_string(cat.argv.size() - 1) + " fragments";
    c.label += " (" + std::to_string(cat.argv.size() - 1) + " fragments)";
    compare(
        c, runs, [&](int) { return statement; }, [&](int) { return cat; });
}

// The installation's log, as its uninstall entry names it.
std::string installLog(const fs::path& root) {
    auto services = platform::openServices(root);
    const std::string list = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall";
    for (const std::string& product :
         services->registry->subkeys(platform::RegRoot::LocalMachine, list)) {
        const auto value = services->registry->value(platform::RegRoot::LocalMachine,
                                                     list + "\\" + product, "UninstallString");
        if (!value) continue;
        const auto exe = value->text.find(".exe ");
        if (exe == std::string::npos) continue;
        std::string log = value->text.substr(exe + 5);
        if (log.size() > 1 && log.front() == '"') log = log.substr(1, log.size() - 2);
        return log;
    }
    return {};
}

// zuninstall --silent of the installation against rm -r of another made the same way.
void uninstallCase(Comparison& c, int runs, const fs::path& package, const fs::path& folder,
                   const Tools& tools) {
    std::printf("%s: installing %d copies ...\n", c.label.c_str(), 2 * (runs + 1));
    std::fflush(stdout);
    std::vector<std::string> logs;
    for (int r = -1; r < runs; ++r) {
        for (const char* who : {"ours", "theirs"}) {
            const fs::path root = newRoot(folder / (who + std::to_string(r + 1)));
            if (!bench::run(silentSetup(package, root)).ok) {
                c.ok = false;
                c.note = "the installation to remove failed (see " + gLog.string() + ")";
                std::printf("  %s\n", c.note.c_str());
                return;
            }
            if (*who == 'o') logs.push_back(installLog(root));
        }
    }
    compare(
        c, runs,
        [&](int r) {
            const fs::path root = folder / ("ours" + std::to_string(r + 1));
            bench::Launch launch;
            launch.argv = {tools.zuninstall.string(), "--silent", logs[r + 1]};
            launch.env = {{"WINROOT", root.string()}, {"XDG_DATA_HOME", (root / "xdg").string()}};
            launch.errors = gLog.string();
            return launch;
        },
        [&](int r) {
            bench::Launch launch;
            launch.argv = {
                "rm", "-r",
                (folder / ("theirs" + std::to_string(r + 1)) / "drive_c/Program Files/Bench")
                    .string()};
            launch.errors = gLog.string();
            return launch;
        });
}

const char* verdict(const Comparison& c) {
    if (!c.ok) return "not measured";
    return c.ratio() <= c.goal ? "met" : "missed";
}

}  // namespace

// The other benchmark, in the middle: the disk has settled and nothing has been removed since,
// so it need not wait again.
void runBetween(const char* program) {
    std::printf("\nRunning %s ...\n", program);
    std::fflush(stdout);
    bench::Launch other = bench::command({program});
    other.env = {{"BENCH_SETTLE", "0"}};
    other.output.clear();
    other.errors.clear();
    if (!bench::run(other).ok) std::printf("%s failed\n", program);
    std::printf("\n");
    std::fflush(stdout);
}

int main(int argc, char** argv) {
    const Tools tools;
    const char* asked = std::getenv("BENCH_RUNS");
    const int runs = asked ? std::max(1, std::atoi(asked)) : 5;
    const char* where = std::getenv("BENCH_DIR");
    std::string pattern = std::string(where ? where : "/var/tmp") + "/dezovur-ratios-XXXXXX";
    if (!::mkdtemp(pattern.data())) return 1;
    gBase = pattern;
    gLog = gBase / "tools.err";
    const bool havePackage = fs::exists(tools.package / "data.tag");
    const char* only = std::getenv("BENCH_CASES");
    const auto wanted = [only](char number) { return !only || std::strchr(only, number); };

    std::printf("Making the packages in %s ...\n", gBase.c_str());
    std::fflush(stdout);
    const fs::path small =
        wanted('1') ? makePackage(gBase / "small/package", 5000, 512, 16 * 1024, 1, tools) : "";
    const fs::path large =
        wanted('2') ? makePackage(gBase / "large/package", 20, 10u << 20, 10u << 20, 1, tools)
                    : "";
    const fs::path many =
        wanted('5') ? makePackage(gBase / "many/package", 10000, 512, 4608, 50, tools) : "";
    const fs::path real = havePackage && (wanted('3') || wanted('4'))
                              ? copyRealPackage(gBase / "real/package", tools)
                              : fs::path();
    bench::settleFileSystem(gBase);

    Comparison cases[] = {
        {"silent install of 5,000 small files", "setup", "cabextract -d", 1.1},
        {"silent install of 20 files of 10 MB", "setup", "cabextract -d", 1.0},
        {"silent install of the dezovur package", "setup", "cabextract -d", 1.2},
        {"dezovur statement", "dezovur statement", "cat", 1.5},
        {"uninstalling 10,000 files", "zuninstall", "rm -r", 2.0},
    };
    if (wanted('1')) installCase(cases[0], runs, small, gBase / "small", "Bench");
    if (wanted('2')) installCase(cases[1], runs, large, gBase / "large", "Bench");
    if (havePackage) {
        // A run of 35 ms moves with every hiccup of the machine: it gets the statement's rounds.
        if (wanted('3')) installCase(cases[2], std::max(runs, 21), real, gBase / "real", "dezovur");
        if (wanted('4')) statementCase(cases[3], std::max(runs, 21), real, gBase / "statement");
    } else {
        for (Comparison* c : {&cases[2], &cases[3]}) {
            c->ok = false;
            c->note = "no package in " + tools.package.string() + " (make package)";
        }
    }
    if (argc > 1) runBetween(argv[1]);
    if (wanted('5')) uninstallCase(cases[4], runs, many, gBase / "many", tools);

    std::printf("\nThe five ratios, whole programs, medians (%s):\n", where ? where : "/var/tmp");
    for (const Comparison& c : cases) {
        if (!wanted(char('1' + (&c - cases)))) continue;
        const std::string what = c.label + ": " + c.ours + " / " + c.theirs;
        if (c.ok)
            std::printf("  %-86s %5.2f  goal <= %.1f  %s\n", what.c_str(), c.ratio(), c.goal,
                        verdict(c));
        else
            std::printf("  %-86s   --   goal <= %.1f  %s: %s\n", what.c_str(), c.goal, verdict(c),
                        c.note.c_str());
    }
    std::fflush(stdout);
    if (!std::getenv("BENCH_KEEP")) bench::removeTree(gBase);
    return 0;
}
