// Job creation, deletion, the current job, λ, and the finish step.
#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <limits>
#include <string>

#include "fee/store/DataStore.h"
#include "support/MemoryFileSystem.h"
#include "support/TempWinRoot.h"

namespace {

using fee::StoreStatus;
using testing_support::cp1253;

const std::string D = "c:\\program files\\dezovur\\";

fee::Particulars particulars(const std::string& first, const std::string& last,
                             const std::string& specialty = "Πολιτικός Μηχανικός") {
    fee::Particulars p;
    p.fields = {first,    last,    "Οδός 5", "Λάρισα", "Λαρισαίων", "",
                "Θέση Α", "Νίκος", "Ρήγας",  "Οδός 1", "Βόλος",     specialty};
    return p;
}

class Jobs : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(fs().createDirectory("c:\\program files"));
        ASSERT_TRUE(fs().createDirectory(D));
        put("Ergasies.dat", cp1253("Χ\r\nΨ\r\n"));
        put("mix.dat", "");
        put("l.dat", " 29350 \r\n");
    }
    platform::FileSystem& fs() { return root.fs(); }
    void put(const std::string& path, const std::string& bytes) {
        ASSERT_TRUE(fs().writeFile(path.find('\\') == std::string::npos ? D + path : path, bytes));
    }
    std::string get(const std::string& path) {
        return fs()
            .readFile(path.find('\\') == std::string::npos ? D + path : path)
            .value_or("<missing>");
    }
    // The data folder's entries, to show that a refused operation wrote nothing.
    std::vector<std::string> entries() { return fs().list(D, "*", true); }

    testing_support::TempWinRoot root;
    fee::DataStore store{root.fs(), ","};
};

TEST_F(Jobs, create_job_writes_its_files_in_the_data_folder) {
    EXPECT_EQ(store.createJob(particulars("Α", "Β")), StoreStatus::Ok);
    const std::string job = D + "ΑΒ";
    EXPECT_TRUE(fs().isDirectory(job));
    EXPECT_EQ(get("Ergasies.dat"), cp1253("Χ\r\nΨ\r\nΑ\r\nΒ\r\n"));
    EXPECT_EQ(get("erga.dat"), cp1253("Χ\r\nΨ\r\nΑ\r\nΒ\r\n"));
    EXPECT_EQ(get("temp.dat"), cp1253("c:\\program files\\dezovur\\ΑΒ\r\n"));
    EXPECT_EQ(get(job + "\\STOIXEIA.dat"),
              cp1253("Α\r\nΒ\r\nΟδός 5\r\nΛάρισα\r\nΛαρισαίων\r\n\r\nΘέση Α\r\n"
                     "Νίκος\r\nΡήγας\r\nΟδός 1\r\nΒόλος\r\nΠολιτικός Μηχανικός\r\n"));
    EXPECT_EQ(get(job + "\\l.dat"), "29350\r\n");
    EXPECT_EQ(get(job + "\\entos.dat"), " 1 \r\n");
    EXPECT_EQ(get(job + "\\eid.dat"), " 2 \r\n");

    EXPECT_EQ(store.currentJobFolder(), job);
    EXPECT_EQ(store.particulars(job).fields, particulars("Α", "Β").fields);
    EXPECT_EQ(store.lambda(job), 0.2935f);
    EXPECT_EQ(store.planFlag(job), std::optional<std::int16_t>(1));
    EXPECT_EQ(store.specialty(job), std::optional<std::int16_t>(2));
}

TEST_F(Jobs, specialty_codes_are_exact) {
    EXPECT_EQ(store.createJob(particulars("Α", "1", "Αγρονόμος Τοπογράφος Μηχανικός")),
              StoreStatus::Ok);
    EXPECT_EQ(get(D + "Α1\\eid.dat"), " 1 \r\n");
    EXPECT_EQ(store.createJob(particulars("Α", "2", "πολιτικός μηχανικός")), StoreStatus::Ok);
    EXPECT_EQ(get(D + "Α2\\eid.dat"), " 0 \r\n");
    EXPECT_EQ(store.createJob(particulars("Α", "3", "Τεχνολόγος Έργων Υποδομής")), StoreStatus::Ok);
    EXPECT_EQ(get(D + "Α3\\eid.dat"), " 6 \r\n");
}

TEST_F(Jobs, new_job_copies_global_lambda_in_list_style) {
    put("l.dat", " 31250,5 \r\n");  // a comma is no decimal separator to the reader
    EXPECT_EQ(store.createJob(particulars("Α", "Β")), StoreStatus::Ok);
    EXPECT_EQ(get(D + "ΑΒ\\l.dat"), "31250\r\n");
    put("l.dat", "30000.25\r\n");
    EXPECT_EQ(store.createJob(particulars("Γ", "Δ")), StoreStatus::Ok);
    EXPECT_EQ(get(D + "ΓΔ\\l.dat"), "30000.25\r\n");
}

TEST_F(Jobs, new_job_without_global_lambda_gets_the_default) {
    ASSERT_TRUE(fs().removeFile(D + "l.dat"));
    EXPECT_EQ(store.createJob(particulars("Α", "Β")), StoreStatus::Ok);
    EXPECT_EQ(get(D + "ΑΒ\\l.dat"), "29350\r\n");
    EXPECT_EQ(get("l.dat"), "<missing>");
}

TEST_F(Jobs, create_job_refuses_text_that_would_not_read_back) {
    const auto before = entries();
    for (const char* bad : {"Οδός 5, Λάρισα", "\"Α\"", "Α\r\nΒ", "Α\n", "Straße½Ж"}) {
        for (int field = 0; field < fee::Particulars::Count; ++field) {
            fee::Particulars p = particulars("Α", "Β");
            p.fields[static_cast<std::size_t>(field)] = bad;
            EXPECT_EQ(store.createJob(p), StoreStatus::BadText) << bad << " in " << field;
        }
    }
    EXPECT_EQ(entries(), before);
    EXPECT_EQ(get("Ergasies.dat"), cp1253("Χ\r\nΨ\r\n"));
}

TEST_F(Jobs, create_job_refuses_folder_names_outside_the_data_folder) {
    const auto before = entries();
    const std::pair<const char*, const char*> bad[] = {
        {"..", ""},
        {".", "."},
        {"", ""},
        {"  ", " "},
        {". ", "."},
        {"Α\\", "Β"},
        {"Α", "/Β"},
        {"c:", "Β"},
        {"Α*", ""},
        {"Α?", ""},
        {"<Α", ""},
        {"Α>", ""},
        {"Α|", "Β"},
        {"Α", "Β."},
        {"Α", "Β "},
        {"..\\..\\", "windows"},
        {"CO", "N"},
        {"lpt", "1"},
        {"Α\t", "Β"},
        // The job list drops leading blanks when it reads a name back: the job would be
        // listed under a folder that does not exist.
        {" Κ", "Λ"},
        {"Μ", " Ν"},
        {"\tΚ", "Λ"}};
    for (const auto& [first, last] : bad)
        EXPECT_EQ(store.createJob(particulars(first, last)), StoreStatus::BadFolderName)
            << "[" << first << "][" << last << "]";
    EXPECT_EQ(entries(), before);
    EXPECT_EQ(get("Ergasies.dat"), cp1253("Χ\r\nΨ\r\n"));
    EXPECT_EQ(get("temp.dat"), "<missing>");
    // Inner blanks and periods are fine.
    EXPECT_EQ(store.createJob(particulars("Α. Κ.", "Β")), StoreStatus::Ok);
    EXPECT_TRUE(fs().isDirectory(D + "Α. Κ.Β"));
}

TEST_F(Jobs, create_job_never_overwrites_an_existing_job) {
    ASSERT_EQ(store.createJob(particulars("Α", "Β")), StoreStatus::Ok);
    const std::string job = D + "ΑΒ";
    put(job + "\\taxi.dat", " 150 \r\n");
    put("temp.dat", cp1253("c:\\program files\\dezovur\\ΧΨ\r\n"));

    fee::Particulars other = particulars("Α", "Β", "Τεχνολόγος Τοπογράφος");
    other[fee::Particulars::OwnerAddress] = "Άλλη οδός";
    EXPECT_EQ(store.createJob(other), StoreStatus::FolderExists);
    EXPECT_EQ(store.createJob(particulars("ΑΒ", "")), StoreStatus::FolderExists);
    EXPECT_EQ(store.createJob(particulars("α", "β")), StoreStatus::FolderExists);

    EXPECT_EQ(get("Ergasies.dat"), cp1253("Χ\r\nΨ\r\nΑ\r\nΒ\r\n"));
    EXPECT_EQ(get("temp.dat"), cp1253("c:\\program files\\dezovur\\ΧΨ\r\n"));
    EXPECT_EQ(store.particulars(job).fields, particulars("Α", "Β").fields);
    EXPECT_EQ(get(job + "\\eid.dat"), " 2 \r\n");
    EXPECT_EQ(get(job + "\\taxi.dat"), " 150 \r\n");
}

TEST_F(Jobs, finish_on_a_bare_job_writes_every_file) {
    ASSERT_EQ(store.createJob(particulars("Α", "Β")), StoreStatus::Ok);
    const std::string job = D + "ΑΒ";
    store.finish(job);
    const std::string z = " 0 \r\n";
    EXPECT_EQ(get(job + "\\analog.dat"), z);
    EXPECT_EQ(get(job + "\\taxi.dat"), z + z + z + z + z + z);
    EXPECT_EQ(get(job + "\\asti.dat"), z);
    EXPECT_EQ(get(job + "\\polygon.dat"), z);
    EXPECT_EQ(get(job + "\\rymotom.dat"), z + z);
    EXPECT_EQ(get(job + "\\trig.dat"), z + z + z + z);
    EXPECT_EQ(get(job + "\\them.dat"), z);
    EXPECT_EQ(get(job + "\\xilosta.dat"), z);
    EXPECT_EQ(get(job + "\\oix.dat"), z);
    EXPECT_EQ(get(job + "\\klimaka.dat"), " 200 \r\n");
    EXPECT_EQ(get(job + "\\l.dat"), "29350\r\n");
}

TEST_F(Jobs, finish_keeps_values_and_fills_gaps) {
    const std::string job = D + "ΑΒ";
    ASSERT_TRUE(fs().createDirectory(job));
    put(job + "\\taxi.dat", "1250\r\n12abc\r\n-300\r\n");
    put(job + "\\trig.dat", " 2 \r\n 3 \r\n 4 \r\n 5 \r\n 6 \r\n");
    put(job + "\\asti.dat", " 33,5 \r\n");
    put(job + "\\klimaka.dat", "1000\r\n");
    store.finish(job);
    EXPECT_EQ(get(job + "\\taxi.dat"), " 1250 \r\n 0 \r\n-300 \r\n 0 \r\n 0 \r\n 0 \r\n");
    EXPECT_EQ(get(job + "\\trig.dat"), " 2 \r\n 3 \r\n 4 \r\n 5 \r\n");
    // The comma ends the field: " 33" is all the reader sees.
    EXPECT_EQ(get(job + "\\asti.dat"), " 33 \r\n");
    EXPECT_EQ(get(job + "\\klimaka.dat"), " 1000 \r\n");
}

TEST_F(Jobs, finish_writes_200_for_a_scale_that_is_not_positive) {
    const std::string job = D + "ΑΒ";
    ASSERT_TRUE(fs().createDirectory(job));
    for (const char* scale : {"0\r\n", "-500\r\n", "", "\r\n", "1:500\r\n"}) {
        put(job + "\\klimaka.dat", scale);
        store.finish(job);
        EXPECT_EQ(get(job + "\\klimaka.dat"), " 200 \r\n") << scale;
    }
    put(job + "\\klimaka.dat", "2500.5\r\n");
    store.finish(job);
    EXPECT_EQ(get(job + "\\klimaka.dat"), " 2500,5 \r\n");
}

TEST_F(Jobs, finish_on_a_missing_folder_is_harmless) {
    store.finish(D + "ΚΑΝΕΝΑΣ");
    EXPECT_FALSE(fs().exists(D + "ΚΑΝΕΝΑΣ"));
    EXPECT_EQ(get("Ergasies.dat"), cp1253("Χ\r\nΨ\r\n"));
}

TEST_F(Jobs, scale_text_and_plan_flag) {
    const std::string job = D + "ΑΒ";
    ASSERT_TRUE(fs().createDirectory(job));
    EXPECT_EQ(store.scaleText(job), std::nullopt);
    EXPECT_TRUE(store.setScaleText(job, "500"));
    EXPECT_EQ(get(job + "\\klimaka.dat"), "500\r\n");
    EXPECT_EQ(store.scaleText(job), "500");
    EXPECT_FALSE(store.setScaleText(job, "1,5"));
    EXPECT_EQ(get(job + "\\klimaka.dat"), "500\r\n");

    EXPECT_TRUE(store.setPlanFlag(job, false));
    EXPECT_EQ(get(job + "\\entos.dat"), " 0 \r\n");
    EXPECT_EQ(store.planFlag(job), std::optional<std::int16_t>(0));
}

TEST_F(Jobs, quantities_read_and_write) {
    const std::string job = D + "ΑΒ";
    ASSERT_TRUE(fs().createDirectory(job));
    EXPECT_EQ(store.quantities(job, "taxi.dat", 3), (std::vector<double>{0, 0, 0}));
    EXPECT_TRUE(store.writeQuantities(job, "taxi.dat", {1250, -3, 0.5}, fee::Width::Double));
    EXPECT_EQ(get(job + "\\taxi.dat"), " 1250 \r\n-3 \r\n ,5 \r\n");
    // A fraction written with a comma reads back as two fields (" " and "5 ").
    EXPECT_EQ(store.quantities(job, "taxi.dat", 4), (std::vector<double>{1250, -3, 0, 5}));
    EXPECT_EQ(store.quantities(job, "taxi.dat", 2), (std::vector<double>{1250, -3}));
}

TEST_F(Jobs, particulars_of_a_short_file) {
    const std::string job = D + "ΑΒ";
    ASSERT_TRUE(fs().createDirectory(job));
    put(job + "\\stoixeia.dat", cp1253("Α\r\nΒ\r\n"));
    const fee::Particulars p = store.particulars(job);
    EXPECT_EQ(p[fee::Particulars::OwnerFirst], "Α");
    EXPECT_EQ(p[fee::Particulars::OwnerLast], "Β");
    EXPECT_EQ(p[fee::Particulars::Specialty], "");
}

TEST_F(Jobs, current_job_needs_an_existing_folder) {
    EXPECT_EQ(store.currentJob(), std::nullopt);
    EXPECT_EQ(store.currentJobFolder(), std::nullopt);
    put("temp.dat", "");
    EXPECT_EQ(store.currentJobFolder(), std::nullopt);
    put("temp.dat", "\r\n");
    EXPECT_EQ(store.currentJobFolder(), std::nullopt);
    EXPECT_TRUE(store.setCurrentJob(D + "ΑΒ"));
    EXPECT_EQ(get("temp.dat"), cp1253("c:\\program files\\dezovur\\ΑΒ\r\n"));
    EXPECT_EQ(store.currentJob(), D + "ΑΒ");
    EXPECT_EQ(store.currentJobFolder(), std::nullopt);
    ASSERT_TRUE(fs().createDirectory(D + "ΑΒ"));
    EXPECT_EQ(store.currentJobFolder(), D + "ΑΒ");
}

TEST_F(Jobs, delete_job_removes_folder_files_and_list_pairs) {
    ASSERT_EQ(store.createJob(particulars("Α", "ΒΓ")), StoreStatus::Ok);
    ASSERT_EQ(store.appendJob({"ΑΒ", "Γ"}), StoreStatus::Ok);
    const std::string job = D + "ΑΒΓ";
    put(job + "\\taxi.dat", " 1 \r\n");
    put(job + "\\noextension", "x");
    EXPECT_EQ(store.deleteJob(job), StoreStatus::Ok);
    EXPECT_FALSE(fs().exists(job));
    EXPECT_EQ(get("Ergasies.dat"), cp1253("Χ\r\nΨ\r\n"));
    // temp.dat still names the deleted folder, which no longer counts as a job.
    EXPECT_EQ(get("temp.dat"), cp1253("c:\\program files\\dezovur\\ΑΒΓ\r\n"));
    EXPECT_EQ(store.currentJobFolder(), std::nullopt);
    EXPECT_EQ(get("l.dat"), " 29350 \r\n");
    EXPECT_EQ(get("mix.dat"), "");
}

TEST_F(Jobs, delete_job_refuses_anything_but_a_job_folder) {
    put("c:\\keep.dat", "keep");
    ASSERT_TRUE(fs().createDirectory("c:\\other"));
    put("c:\\other\\keep.dat", "keep");
    const auto before = entries();
    for (const std::string& path :
         {D, D.substr(0, D.size() - 1), std::string("c:\\program files\\dezovur\\."), D + "..",
          D + "..\\other", std::string("c:\\other"), std::string("c:\\"),
          std::string("C:\\Program Files\\Dezovur\\Χ"), D + "ΧΨ\\sub", D + "ΧΨ.", D + "ΧΨ ",
          D + "*", std::string()}) {
        const StoreStatus s = store.deleteJob(path);
        EXPECT_EQ(s, StoreStatus::BadFolderName) << path;
    }
    EXPECT_EQ(entries(), before);
    EXPECT_EQ(get("c:\\keep.dat"), "keep");
    EXPECT_EQ(get("c:\\other\\keep.dat"), "keep");
    EXPECT_EQ(get("Ergasies.dat"), cp1253("Χ\r\nΨ\r\n"));
}

TEST_F(Jobs, delete_job_does_not_follow_a_linked_folder) {
    ASSERT_TRUE(fs().createDirectory("c:\\other"));
    put("c:\\other\\keep.dat", "keep");
    std::filesystem::create_directory_symlink(root.driveC() / "other",
                                              root.driveC() / "program files" / "dezovur" / "LINK");
    put("Ergasies.dat", "LI\r\nNK\r\n");
    EXPECT_EQ(store.deleteJob(D + "LINK"), StoreStatus::IoError);
    EXPECT_EQ(get("c:\\other\\keep.dat"), "keep");
    EXPECT_EQ(get("Ergasies.dat"), "LI\r\nNK\r\n");
}

TEST_F(Jobs, delete_job_keeps_the_list_when_the_folder_stays) {
    ASSERT_EQ(store.createJob(particulars("Α", "Β")), StoreStatus::Ok);
    const std::string job = D + "ΑΒ";
    ASSERT_TRUE(fs().createDirectory(job + "\\sub"));
    put(job + "\\sub\\inner.dat", "inner");
    EXPECT_EQ(store.deleteJob(job), StoreStatus::IoError);
    EXPECT_TRUE(fs().isDirectory(job));
    EXPECT_EQ(get(job + "\\sub\\inner.dat"), "inner");
    EXPECT_EQ(get("Ergasies.dat"), cp1253("Χ\r\nΨ\r\nΑ\r\nΒ\r\n"));
}

TEST_F(Jobs, delete_job_whose_folder_is_gone_drops_its_list_entry) {
    put("Ergasies.dat", cp1253("Χ\r\nΨ\r\nΑ\r\nΒ\r\n"));
    EXPECT_EQ(store.deleteJob(D + "ΑΒ"), StoreStatus::Ok);
    EXPECT_EQ(get("Ergasies.dat"), cp1253("Χ\r\nΨ\r\n"));
}

TEST_F(Jobs, save_lambda_writes_both_files) {
    ASSERT_EQ(store.createJob(particulars("Α", "Β")), StoreStatus::Ok);
    const std::string job = D + "ΑΒ";
    EXPECT_TRUE(store.saveLambda(job, 0.2935));
    EXPECT_EQ(get(job + "\\l.dat"), " 29350 \r\n");
    EXPECT_EQ(get("l.dat"), " 29350 \r\n");
    EXPECT_EQ(store.lambda(job), 0.2935f);
    // Products that are exact halves in double go to the even neighbour...
    EXPECT_TRUE(store.saveLambda(job, 0.312345));
    EXPECT_EQ(get(job + "\\l.dat"), " 31234 \r\n");
    EXPECT_TRUE(store.saveLambda(job, 0.123455));
    EXPECT_EQ(get(job + "\\l.dat"), " 12346 \r\n");
    // ...and one that falls just below the half (3.4999999999999996) goes down.
    EXPECT_TRUE(store.saveLambda(job, 0.000035));
    EXPECT_EQ(get(job + "\\l.dat"), " 3 \r\n");
    EXPECT_TRUE(store.saveLambda(job, 0.000025));
    EXPECT_EQ(get(job + "\\l.dat"), " 2 \r\n");
    EXPECT_EQ(get("l.dat"), " 2 \r\n");
    ASSERT_EQ(store.createJob(particulars("Γ", "Δ")), StoreStatus::Ok);
    EXPECT_EQ(get(D + "ΓΔ\\l.dat"), "2\r\n");
}

TEST_F(Jobs, save_lambda_refuses_values_that_are_not_positive) {
    ASSERT_EQ(store.createJob(particulars("Α", "Β")), StoreStatus::Ok);
    const std::string job = D + "ΑΒ";
    for (double bad : {0.0, -0.2935, std::numeric_limits<double>::quiet_NaN(),
                       std::numeric_limits<double>::infinity(), 0.000004})
        EXPECT_FALSE(store.saveLambda(job, bad)) << bad;
    EXPECT_EQ(get(job + "\\l.dat"), "29350\r\n");
    EXPECT_EQ(get("l.dat"), " 29350 \r\n");
}

TEST_F(Jobs, save_lambda_for_a_missing_job_leaves_the_default) {
    EXPECT_FALSE(store.saveLambda(D + "ΚΑΝΕΝΑΣ", 0.3));
    EXPECT_EQ(get("l.dat"), " 29350 \r\n");
}

TEST(DataFolder, first_start_creates_the_data_folder) {
    testing_support::TempWinRoot root;
    fee::DataStore store(root.fs(), ",");
    EXPECT_TRUE(store.ensureDataFolder());
    EXPECT_TRUE(root.fs().isDirectory(D));
    EXPECT_EQ(root.readHostFile("program files/dezovur/Ergasies.dat"), "");
    EXPECT_EQ(root.readHostFile("program files/dezovur/mix.dat"), "");
    EXPECT_EQ(root.readHostFile("program files/dezovur/l.dat"), "29350\r\n");
    EXPECT_TRUE(store.listJobs().empty());
    EXPECT_EQ(store.createJob(particulars("Α", "Β")), StoreStatus::Ok);
}

TEST(DataFolder, existing_files_are_never_overwritten) {
    testing_support::TempWinRoot root;
    root.writeHostFile("Program Files/DEZOVUR/ergasies.dat", cp1253("Α\r\nΒ\r\n"));
    root.writeHostFile("Program Files/DEZOVUR/L.DAT", " 31000 \r\n");
    fee::DataStore store(root.fs(), ",");
    EXPECT_TRUE(store.ensureDataFolder());
    EXPECT_EQ(root.readHostFile("Program Files/DEZOVUR/ergasies.dat"), cp1253("Α\r\nΒ\r\n"));
    EXPECT_EQ(root.readHostFile("Program Files/DEZOVUR/L.DAT"), " 31000 \r\n");
    EXPECT_EQ(root.readHostFile("Program Files/DEZOVUR/mix.dat"), "");
    EXPECT_FALSE(std::filesystem::exists(root.driveC() / "program files"));
}

// A job whose folder cannot be made leaves the job list as it was, and nothing else behind.
TEST_F(Jobs, a_job_folder_that_cannot_be_made_is_taken_off_the_list_again) {
    using testing_support::FailingFileSystem;
    FailingFileSystem failing(
        fs(), testing_support::failOn(FailingFileSystem::Op::CreateDirectory, {"ΑΒ"}));
    fee::DataStore store(failing, ",");
    const auto before = entries();
    const std::string list = get("Ergasies.dat");
    EXPECT_NE(store.createJob(particulars("Α", "Β")), StoreStatus::Ok);
    EXPECT_EQ(get("Ergasies.dat"), list);
    EXPECT_FALSE(fs().exists(D + "ΑΒ"));
    EXPECT_EQ(get("temp.dat"), "<missing>");
    // erga.dat is the list's scratch copy, written by every reading of the list.
    auto after = entries();
    std::erase(after, std::string("erga.dat"));
    std::erase(after, std::string("dezovur.lck"));
    EXPECT_EQ(after, before);
}

}  // namespace
