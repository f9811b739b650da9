// Job list, open-job slots and engineer list.
#include <gtest/gtest.h>

#include <string>

#include "fee/store/DataStore.h"
#include "support/TempWinRoot.h"

namespace {

using testing_support::cp1253;

const std::string D = "c:\\program files\\dezovur\\";

class Lists : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(fs().createDirectory("c:\\program files"));
        ASSERT_TRUE(fs().createDirectory(D));
    }
    platform::FileSystem& fs() { return root.fs(); }
    void put(const std::string& name, const std::string& bytes) {
        ASSERT_TRUE(fs().writeFile(D + name, bytes));
    }
    std::string get(const std::string& name) {
        return fs().readFile(D + name).value_or("<missing>");
    }

    testing_support::TempWinRoot root;
    fee::DataStore store{root.fs(), ","};
};

TEST_F(Lists, append_job_to_empty_and_to_existing_list) {
    put("Ergasies.dat", "");
    EXPECT_EQ(store.appendJob({"Α", "Β"}), fee::StoreStatus::Ok);
    EXPECT_EQ(get("Ergasies.dat"), cp1253("Α\r\nΒ\r\n"));
    EXPECT_EQ(get("erga.dat"), cp1253("Α\r\nΒ\r\n"));

    EXPECT_EQ(store.appendJob({"Γιώργος ", "Παππάς"}), fee::StoreStatus::Ok);
    EXPECT_EQ(get("Ergasies.dat"), cp1253("Α\r\nΒ\r\nΓιώργος \r\nΠαππάς\r\n"));
    EXPECT_EQ(get("erga.dat"), get("Ergasies.dat"));

    const auto jobs = store.listJobs();
    ASSERT_EQ(jobs.size(), 2u);
    EXPECT_EQ(jobs[1].display(), "Γιώργος  Παππάς");
    EXPECT_EQ(jobs[1].folderName(), "Γιώργος Παππάς");
}

TEST_F(Lists, missing_job_list_starts_empty) {
    EXPECT_TRUE(store.listJobs().empty());
    EXPECT_EQ(store.appendJob({"Α", "Β"}), fee::StoreStatus::Ok);
    EXPECT_EQ(get("Ergasies.dat"), cp1253("Α\r\nΒ\r\n"));
}

TEST_F(Lists, job_list_with_odd_line_count) {
    put("Ergasies.dat", cp1253("Α\r\nΒ\r\nΓ\r\n"));
    const auto jobs = store.listJobs();
    ASSERT_EQ(jobs.size(), 1u);
    EXPECT_EQ(jobs[0], (fee::JobName{"Α", "Β"}));
    // The dangling line would otherwise pair with the new first name.
    EXPECT_EQ(store.appendJob({"Δ", "Ε"}), fee::StoreStatus::Ok);
    EXPECT_EQ(get("Ergasies.dat"), cp1253("Α\r\nΒ\r\nΔ\r\nΕ\r\n"));
    ASSERT_EQ(store.listJobs().size(), 2u);
    EXPECT_EQ(store.listJobs()[1], (fee::JobName{"Δ", "Ε"}));
}

TEST_F(Lists, job_list_read_with_other_line_ends_and_blanks) {
    put("Ergasies.dat", cp1253("  Α\rΒ  \n\r\nΓ"));
    const auto jobs = store.listJobs();
    ASSERT_EQ(jobs.size(), 2u);
    EXPECT_EQ(jobs[0], (fee::JobName{"Α", "Β  "}));
    EXPECT_EQ(jobs[1], (fee::JobName{"", "Γ"}));
}

TEST_F(Lists, remove_drops_every_matching_pair) {
    put("Ergasies.dat", cp1253("Α\r\nΒ\r\nΧ\r\nΨ\r\nΑ\r\nΒ\r\nα\r\nβ\r\n"));
    EXPECT_EQ(store.removeJob(D + "ΑΒ"), fee::StoreStatus::Ok);
    // Lower-case αβ is another folder name as far as the list goes.
    EXPECT_EQ(get("Ergasies.dat"), cp1253("Χ\r\nΨ\r\nα\r\nβ\r\n"));
    EXPECT_EQ(get("erga.dat"), cp1253("Χ\r\nΨ\r\nα\r\nβ\r\n"));
}

TEST_F(Lists, remove_drops_pairs_split_differently) {
    put("Ergasies.dat", cp1253("Α\r\nΒΓ\r\nΔ\r\nΕ\r\nΑΒ\r\nΓ\r\n"));
    EXPECT_EQ(store.removeJob(D + "ΑΒΓ"), fee::StoreStatus::Ok);
    EXPECT_EQ(get("Ergasies.dat"), cp1253("Δ\r\nΕ\r\n"));
}

TEST_F(Lists, remove_without_match_keeps_list) {
    put("Ergasies.dat", cp1253("Α\r\nΒ\r\n"));
    EXPECT_EQ(store.removeJob(D + "ΑΓ"), fee::StoreStatus::Ok);
    EXPECT_EQ(get("Ergasies.dat"), cp1253("Α\r\nΒ\r\n"));
}

TEST_F(Lists, list_file_under_other_letter_case_keeps_its_name) {
    ASSERT_TRUE(fs().writeFile(D + "ERGASIES.DAT", cp1253("Α\r\nΒ\r\n")));
    EXPECT_EQ(store.listJobs().size(), 1u);
    EXPECT_EQ(store.appendJob({"Γ", "Δ"}), fee::StoreStatus::Ok);
    EXPECT_EQ(root.readHostFile("program files/dezovur/ERGASIES.DAT"),
              cp1253("Α\r\nΒ\r\nΓ\r\nΔ\r\n"));
    EXPECT_EQ(fs().list(D, "ergasies.dat"), std::vector<std::string>{"ERGASIES.DAT"});
}

TEST_F(Lists, append_refuses_text_that_would_not_read_back) {
    put("Ergasies.dat", cp1253("Α\r\nΒ\r\n"));
    for (const char* bad : {"Α,Β", "\"Α\"", "Α\r", "Α\nΒ", "Жанна"}) {
        EXPECT_EQ(store.appendJob({bad, "Β"}), fee::StoreStatus::BadText) << bad;
        EXPECT_EQ(store.appendJob({"Α", bad}), fee::StoreStatus::BadText) << bad;
    }
    EXPECT_EQ(get("Ergasies.dat"), cp1253("Α\r\nΒ\r\n"));
    EXPECT_EQ(get("erga.dat"), "<missing>");
}

TEST_F(Lists, slots_are_padded_to_one_hundred_lines) {
    EXPECT_TRUE(store.writeJobSlots({{"Α", "Β"}, {"Γ", "Δ"}, {"Ε", "Ζ"}}));
    std::string expected = cp1253("ΑΒ\r\nΓΔ\r\nΕΖ\r\n");
    for (int i = 0; i < 97; ++i) expected += " \r\n";
    EXPECT_EQ(get("temp1.dat"), expected);
    EXPECT_EQ(store.jobSlot(1), "ΓΔ");
    EXPECT_EQ(store.jobSlot(3), "");
    EXPECT_EQ(store.jobSlot(99), "");
    EXPECT_EQ(store.jobSlot(100), std::nullopt);
}

TEST_F(Lists, slots_with_no_jobs_and_with_a_hundred) {
    EXPECT_TRUE(store.writeJobSlots({}));
    std::string blank;
    for (int i = 0; i < 100; ++i) blank += " \r\n";
    EXPECT_EQ(get("temp1.dat"), blank);

    std::vector<fee::JobName> hundred;
    std::string expected;
    for (int i = 0; i < 100; ++i) {
        hundred.push_back({"J", std::to_string(i)});
        expected += "J" + std::to_string(i) + "\r\n";
    }
    EXPECT_TRUE(store.writeJobSlots(hundred));
    EXPECT_EQ(get("temp1.dat"), expected);
}

TEST_F(Lists, slots_beyond_a_hundred_jobs_keep_every_job) {
    std::vector<fee::JobName> many;
    for (int i = 0; i < 103; ++i) many.push_back({"J", std::to_string(i)});
    EXPECT_TRUE(store.writeJobSlots(many));
    EXPECT_EQ(store.jobSlot(102), "J102");
    EXPECT_EQ(store.jobSlot(103), std::nullopt);
}

TEST_F(Lists, slot_of_missing_file) {
    EXPECT_EQ(store.jobSlot(0), std::nullopt);
}

const fee::Engineer kEng{"Νίκος", "Ρήγας", "Οδός 1", "Βόλος", "Πολιτικός Μηχανικός"};

TEST_F(Lists, append_engineer_through_scratch_copy) {
    put("mix.dat", "");
    EXPECT_EQ(store.appendEngineer(kEng), fee::StoreStatus::Ok);
    const std::string one = cp1253("Νίκος\r\nΡήγας\r\nΟδός 1\r\nΒόλος\r\nΠολιτικός Μηχανικός\r\n");
    EXPECT_EQ(get("mix.dat"), one);
    EXPECT_EQ(get("mix1.dat"), "");

    const fee::Engineer empty{"Α", "", "", "", ""};
    EXPECT_EQ(store.appendEngineer(empty), fee::StoreStatus::Ok);
    EXPECT_EQ(get("mix.dat"), one + cp1253("Α\r\n\r\n\r\n\r\n\r\n"));
    EXPECT_EQ(get("mix1.dat"), one);

    const auto engineers = store.listEngineers();
    ASSERT_EQ(engineers.size(), 2u);
    EXPECT_EQ(engineers[0], kEng);
    EXPECT_EQ(engineers[1], empty);
}

TEST_F(Lists, incomplete_engineer_record) {
    const std::string whole = cp1253("Α\r\nΒ\r\nΓ\r\nΔ\r\nΕ\r\n");
    put("mix.dat", whole + cp1253("Ζ\r\nΗ\r\n"));
    ASSERT_EQ(store.listEngineers().size(), 1u);
    EXPECT_EQ(store.appendEngineer(kEng), fee::StoreStatus::Ok);
    // The scratch copy keeps the old list as it was; the list keeps whole records.
    EXPECT_EQ(get("mix1.dat"), whole + cp1253("Ζ\r\nΗ\r\n"));
    EXPECT_EQ(get("mix.dat"),
              whole + cp1253("Νίκος\r\nΡήγας\r\nΟδός 1\r\nΒόλος\r\nΠολιτικός Μηχανικός\r\n"));
    ASSERT_EQ(store.listEngineers().size(), 2u);
    EXPECT_EQ(store.listEngineers()[1], kEng);
}

TEST_F(Lists, append_engineer_refuses_bad_text) {
    put("mix.dat", "");
    fee::Engineer bad = kEng;
    bad.address = "Οδός 1, Βόλος";
    EXPECT_EQ(store.appendEngineer(bad), fee::StoreStatus::BadText);
    bad = kEng;
    bad.city = "\"Βόλος\"";
    EXPECT_EQ(store.appendEngineer(bad), fee::StoreStatus::BadText);
    EXPECT_EQ(get("mix.dat"), "");
    EXPECT_EQ(get("mix1.dat"), "<missing>");
}

}  // namespace
