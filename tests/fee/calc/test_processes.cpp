// Several processes on one data folder: a statement killed at any moment, and two copies of
// the program adding jobs at once.

#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <random>
#include <set>
#include <string>

#include "fee/calc/Statement.h"
#include "fee/store/DataStore.h"
#include "support/TempWinRoot.h"

namespace {

using testing_support::cp1253;

constexpr std::string_view kJob = "c:\\program files\\dezovur\\ΜαρίαΚωνσταντίνου";

std::string jobFile(std::string_view name) {
    return fee::DataStore::jobFile(kJob, name);
}

// A job with work in every category, so every fragment has lines.
void fullJob(platform::FileSystem& fs) {
    ASSERT_TRUE(fs.createDirectory(kJob));
    ASSERT_TRUE(
        fs.writeFile("c:\\program files\\dezovur\\temp.dat", cp1253(std::string(kJob) + "\r\n")));
    const std::pair<const char*, std::string> files[] = {
        {"STOIXEIA.dat", cp1253("Μαρία\r\nΚωνσταντίνου\r\nΕρμού 12\r\nΑθήνα\r\nΔήμος\r\nΠλάκα\r\n"
                                "Θέση\r\nΝίκος\r\nΠαπαδάκης\r\nΣόλωνος 3\r\nΑθήνα\r\nΠολιτικός "
                                "Μηχανικός\r\n")},
        {"klimaka.dat", " 500 \r\n"},
        {"entos.dat", " 1 \r\n"},
        {"l.dat", " 29350 \r\n"},
        {"analog.dat", " 125 \r\n"},
        {"taxi.dat", " 1250 \r\n 300 \r\n 400 \r\n 150 \r\n 75 \r\n 100 \r\n"},
        {"asti.dat", " 320 \r\n"},
        {"polygon.dat", " 600 \r\n"},
        {"rymotom.dat", " 500 \r\n 1200 \r\n"},
        {"trig.dat", " 200 \r\n 300 \r\n 100 \r\n 400 \r\n"},
        {"them.dat", " 42000 \r\n"},
        {"xilosta.dat", " 1200 \r\n"},
        {"oix.dat", " 800 \r\n"},
    };
    for (const auto& [name, bytes] : files) ASSERT_TRUE(fs.writeFile(jobFile(name), bytes));
}

void waitFor(pid_t child) {
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
}

TEST(Processes, a_statement_killed_at_any_moment_leaves_every_fragment_whole) {
    testing_support::TempWinRoot root;
    fee::DataStore store(root.fs(), ",");
    ASSERT_TRUE(store.ensureDataFolder());
    fullJob(root.fs());
    ASSERT_EQ(fee::assembleStatement(store), fee::AssemblyResult::Ok);
    const std::string whole = fee::loadStatement(store, kJob).text;

    std::mt19937 random(20261207);
    for (int round = 0; round < 150; ++round) {
        int ready[2];
        ASSERT_EQ(::pipe(ready), 0);
        const pid_t child = ::fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            ::close(ready[0]);
            const char go = 1;
            if (::write(ready[1], &go, 1) != 1) ::_exit(2);
            for (;;) fee::assembleStatement(store);
        }
        ::close(ready[1]);
        char go = 0;
        ASSERT_EQ(::read(ready[0], &go, 1), 1);
        ::close(ready[0]);
        // Spin for up to a few statements' time, so the kill lands anywhere in the work.
        const auto until =
            std::chrono::steady_clock::now() + std::chrono::microseconds(random() % 6000);
        while (std::chrono::steady_clock::now() < until) {
        }
        ::kill(child, SIGKILL);
        waitFor(child);

        for (std::string_view name : fee::kFragmentOrder) {
            const auto bytes = root.fs().readFile(jobFile(name));
            ASSERT_TRUE(bytes.has_value()) << "round " << round << ": " << name << " missing";
            ASSERT_FALSE(bytes->empty()) << "round " << round << ": " << name << " empty";
        }
        ASSERT_EQ(fee::loadStatement(store, kJob).text, whole) << "round " << round;
    }
}

TEST(Processes, two_copies_adding_jobs_at_once_keep_every_job) {
    testing_support::TempWinRoot root;
    fee::DataStore store(root.fs(), ",");
    ASSERT_TRUE(store.ensureDataFolder());
    std::set<std::string> expected;
    for (int i = 0; i < 20; ++i) {
        ASSERT_EQ(store.appendJob({"Πρώτος", std::to_string(i)}), fee::StoreStatus::Ok);
        expected.insert("Πρώτος " + std::to_string(i));
    }
    constexpr int kEach = 50;
    pid_t children[2];
    for (int c = 0; c < 2; ++c) {
        const std::string first = c == 0 ? "Άλφα" : "Βήτα";
        for (int i = 0; i < kEach; ++i) expected.insert(first + " " + std::to_string(i));
        children[c] = ::fork();
        ASSERT_GE(children[c], 0);
        if (children[c] == 0) {
            int failures = 0;
            for (int i = 0; i < kEach; ++i)
                failures += store.appendJob({first, std::to_string(i)}) != fee::StoreStatus::Ok;
            ::_exit(failures == 0 ? 0 : 1);
        }
    }
    for (pid_t child : children) {
        int status = 0;
        ASSERT_EQ(::waitpid(child, &status, 0), child);
        EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    }
    std::set<std::string> listed;
    for (const auto& job : store.listJobs()) listed.insert(job.display());
    EXPECT_EQ(listed, expected);
    EXPECT_EQ(store.listJobs().size(), expected.size());
}

}  // namespace
