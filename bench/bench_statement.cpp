// How long the statement takes: one job with every category filled, assembled again and again,
// and a data folder of 1,000 such jobs assembled one after another (each made current first,
// as the main menu does). The files live in a temporary $WINROOT on the real file system; one
// more run keeps them in memory, to tell the pricing and formatting apart from the disk.

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <filesystem>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

#include "fee/calc/Statement.h"
#include "fee/store/DataStore.h"
#include "platform/Cp1253.h"
#include "platform/WinRoot.h"
#include "support/MemoryFileSystem.h"

namespace {

class Fixture {
public:
    explicit Fixture(bool inMemory = false) {
        if (inMemory) {
            fs_ = std::make_unique<testing_support::MemoryFileSystem>();
        } else {
            std::string templ = (std::filesystem::temp_directory_path() / "dezovur-bench-XXXXXX");
            if (!mkdtemp(templ.data())) throw std::runtime_error("mkdtemp failed");
            root_ = templ;
            platform::prepareWinRoot(root_);
            fs_ = platform::makePosixFileSystem(root_);
        }
        store_ = std::make_unique<fee::DataStore>(*fs_, ",");
        fs_->createDirectory("c:\\program files");
        fs_->createDirectory(fee::kDataFolder);
    }
    ~Fixture() {
        store_.reset();
        fs_.reset();
        if (root_.empty()) return;
        std::error_code ec;
        std::filesystem::remove_all(root_, ec);
    }

    fee::DataStore& store() { return *store_; }

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

}  // namespace

BENCHMARK_MAIN();
