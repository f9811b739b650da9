// How long the statement takes: one job with every category filled, assembled again and again,
// and a data folder of 1,000 such jobs assembled one after another (each made current first,
// as the main menu does). The files live in a temporary $WINROOT on the real file system; one
// more run keeps them in memory, to tell the pricing and formatting apart from the disk.
//
// Then the command a user runs, `dezovur statement`, against `cat` of the twelve fragments it
// leaves (what the command prints, read back without computing anything): both started as
// processes, in pairs taking turns to go first; the ratio is the median of the pairs' ratios.
//
// Every case on disk begins by letting the disk settle (Settle.h: the first waits, the others
// find nothing removed since), and the temporary folders go only once every timing is done.

#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

#include "Settle.h"
#include "fee/calc/Statement.h"
#include "fee/store/DataStore.h"
#include "platform/Cp1253.h"
#include "platform/WinRoot.h"
#include "support/MemoryFileSystem.h"

extern char** environ;

namespace {

// Temporary roots, removed at exit so no removal lands between two timings.
struct Leftovers {
    std::vector<std::filesystem::path> roots;
    ~Leftovers() {
        for (const auto& root : roots) bench::removeTree(root);
    }
};
Leftovers& leftovers() {
    static Leftovers all;
    return all;
}

class Fixture {
public:
    explicit Fixture(bool inMemory = false) {
        if (inMemory) {
            fs_ = std::make_unique<testing_support::MemoryFileSystem>();
        } else {
            const std::filesystem::path temp = std::filesystem::temp_directory_path();
            bench::settleFileSystem(temp);
            std::string templ = (temp / "dezovur-bench-XXXXXX");
            if (!mkdtemp(templ.data())) throw std::runtime_error("mkdtemp failed");
            root_ = templ;
            leftovers().roots.push_back(root_);
            platform::prepareWinRoot(root_);
            fs_ = platform::makePosixFileSystem(root_);
        }
        store_ = std::make_unique<fee::DataStore>(*fs_, ",");
        fs_->createDirectory("c:\\program files");
        fs_->createDirectory(fee::kDataFolder);
    }

    fee::DataStore& store() { return *store_; }
    const std::filesystem::path& root() const { return root_; }
    platform::FileSystem& fs() { return *fs_; }

    // A finished job with something in every category.
    std::string addJob(const std::string& name) {
        const std::string job = std::string(fee::kDataFolder) + name;
        fs_->createDirectory(job);
        auto put = [&](const char* file, const std::string& utf8) {
            fs_->writeFile(job + "\\" + file, platform::utf8ToCp1253(utf8).value());
        };
        put("STOIXEIA.dat",
            "Μαρία\r\nΚωνσταντίνου\r\nΕρμού 12\r\nΑθήνα\r\nΔήμος Αθηναίων\r\nΠλάκα\r\n"
            "Οδός Αδριανού 5\r\nΝίκος\r\nΠαπαδάκης\r\nΣόλωνος 3\r\nΑθήνα\r\n"
            "Αγρονόμος Τοπογράφος Μηχανικός\r\n");
        put("klimaka.dat", " 500 \r\n");
        put("entos.dat", " 1 \r\n");
        put("eid.dat", " 1 \r\n");
        put("l.dat", " 29350 \r\n");
        put("analog.dat", " 125 \r\n");
        put("taxi.dat", " 1250 \r\n 300 \r\n 400 \r\n 150 \r\n 75 \r\n 100 \r\n");
        put("asti.dat", " 320 \r\n");
        put("polygon.dat", " 600 \r\n");
        put("rymotom.dat", " 500 \r\n 1200 \r\n");
        put("trig.dat", " 200 \r\n 300 \r\n 100 \r\n 400 \r\n");
        put("them.dat", " 42000 \r\n");
        put("xilosta.dat", " 1200 \r\n");
        put("oix.dat", " 800 \r\n");
        return job;
    }

private:
    std::filesystem::path root_;
    std::unique_ptr<platform::FileSystem> fs_;
    std::unique_ptr<fee::DataStore> store_;
};

void perStatement(benchmark::State& state, double statementsPerIteration) {
    state.SetItemsProcessed(static_cast<std::int64_t>(state.iterations() * statementsPerIteration));
    state.counters["per_statement"] =
        benchmark::Counter(statementsPerIteration, benchmark::Counter::kIsIterationInvariantRate |
                                                       benchmark::Counter::kInvert);
}

// inMemory: the same job with its files held in memory, to tell pricing and formatting apart
// from the file system.
void BM_AssembleOneJob(benchmark::State& state, bool inMemory) {
    Fixture f(inMemory);
    const std::string job = f.addJob("ΜαρίαΚωνσταντίνου");
    f.store().setCurrentJob(job);
    for (auto _ : state) {
        auto result = fee::assembleStatement(f.store());
        benchmark::DoNotOptimize(result);
    }
    perStatement(state, 1);
}
BENCHMARK_CAPTURE(BM_AssembleOneJob, OnDisk, false)->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(BM_AssembleOneJob, InMemory, true)->Unit(benchmark::kMicrosecond);

void BM_AssembleAndLoadOneJob(benchmark::State& state) {
    Fixture f;
    const std::string job = f.addJob("ΜαρίαΚωνσταντίνου");
    f.store().setCurrentJob(job);
    for (auto _ : state) {
        fee::assembleStatement(f.store());
        auto text = fee::loadStatement(f.store(), job);
        benchmark::DoNotOptimize(text);
    }
    perStatement(state, 1);
}
BENCHMARK(BM_AssembleAndLoadOneJob)->Unit(benchmark::kMicrosecond);

void BM_Assemble1000Jobs(benchmark::State& state) {
    constexpr int kJobs = 1000;
    Fixture f;
    std::vector<std::string> jobs;
    for (int i = 0; i < kJobs; ++i) jobs.push_back(f.addJob("Ιδιοκτήτης" + std::to_string(i)));
    for (auto _ : state) {
        for (const auto& job : jobs) {
            f.store().setCurrentJob(job);
            auto result = fee::assembleStatement(f.store());
            benchmark::DoNotOptimize(result);
        }
    }
    perStatement(state, kJobs);
}
BENCHMARK(BM_Assemble1000Jobs)->Unit(benchmark::kMillisecond)->MinTime(2.0);

#ifdef DEZOVUR_BINARY
// Runs the program to its end with its output thrown away; the time it took.
double runProcess(const std::vector<std::string>& args) {
    std::vector<char*> argv;
    for (const auto& a : args) argv.push_back(const_cast<char*>(a.c_str()));
    argv.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
    const auto start = std::chrono::steady_clock::now();
    pid_t pid = 0;
    if (posix_spawnp(&pid, argv[0], &actions, nullptr, argv.data(), environ) != 0)
        throw std::runtime_error("cannot start " + args[0]);
    int status = 0;
    waitpid(pid, &status, 0);
    const auto end = std::chrono::steady_clock::now();
    posix_spawn_file_actions_destroy(&actions);
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0)
        throw std::runtime_error(args[0] + " failed");
    return std::chrono::duration<double, std::micro>(end - start).count();
}

double median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    const std::size_t n = values.size();
    return n % 2 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
}

void BM_StatementCommandAgainstCat(benchmark::State& state) {
    Fixture f;
    const std::string job = f.addJob("ΜαρίαΚωνσταντίνου");
    f.store().setCurrentJob(job);
    setenv("WINROOT", f.root().c_str(), 1);
    const std::vector<std::string> command = {DEZOVUR_BINARY, "statement"};
    std::vector<std::string> cat = {"cat"};
    for (std::string_view name : fee::kFragmentOrder)
        cat.push_back(f.fs().hostPath(fee::DataStore::jobFile(job, name))->string());
    runProcess(command);  // the fragments exist and every file is in the page cache
    runProcess(cat);

    std::vector<double> statement, read, ratios;
    bool statementFirst = true;
    for (auto _ : state) {
        const double a = statementFirst ? runProcess(command) : 0;
        const double b = runProcess(cat);
        const double c = statementFirst ? a : runProcess(command);
        statement.push_back(c);
        read.push_back(b);
        ratios.push_back(c / b);
        statementFirst = !statementFirst;
    }
    state.counters["dezovur_us"] = median(statement);
    state.counters["cat_us"] = median(read);
    state.counters["ratio"] = median(ratios);
}
BENCHMARK(BM_StatementCommandAgainstCat)
    ->Iterations(400)
    ->UseRealTime()
    ->Unit(benchmark::kMillisecond);
#endif

}  // namespace

BENCHMARK_MAIN();
