// Where the data live: beside a program installed anywhere, else the default folder.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "fee/store/DataFolder.h"
#include "fee/store/DataStore.h"
#include "support/TempWinRoot.h"

namespace {

using testing_support::cp1253;

const std::string kDefault = "c:\\program files\\dezovur\\";

TEST(DataFolder, beside_the_program_only_when_an_installation_left_its_files_there) {
    struct Row {
        const char* name;
        std::string hostFolder;  // below drive_c
        std::vector<std::string> files;
        std::string programFolder;  // as the program sees itself
        std::string expected;
    };
    const Row rows[] = {
        {"installed elsewhere",
         "Apps/Orvekia",
         {"Ergasies.dat", "l.dat", "mix.dat"},
         "C:\\Apps\\Orvekia",
         "C:\\Apps\\Orvekia\\"},
        {"names in another letter case",
         "Apps/Orvekia",
         {"ERGASIES.DAT", "L.DAT"},
         "C:\\Apps\\Orvekia\\",
         "C:\\Apps\\Orvekia\\"},
        {"a job folder has l.dat only",
         "Apps/Orvekia",
         {"l.dat", "STOIXEIA.dat"},
         "C:\\Apps\\Orvekia",
         kDefault},
        {"a job list without l.dat",
         "Apps/Orvekia",
         {"Ergasies.dat"},
         "C:\\Apps\\Orvekia",
         kDefault},
        {"a build folder", "build/fee", {}, "C:\\build\\fee", kDefault},
        {"program folder unknown", "Apps/Orvekia", {"Ergasies.dat", "l.dat"}, "", kDefault},
        {"the default installation keeps its spelling",
         "Program Files/dezovur",
         {"Ergasies.dat", "l.dat"},
         "C:\\Program Files\\dezovur",
         kDefault},
        // temp.dat could not hold a job path with a comma in it.
        {"a folder temp.dat cannot name",
         "Apps/A,B",
         {"Ergasies.dat", "l.dat"},
         "C:\\Apps\\A,B",
         kDefault},
    };
    for (const Row& row : rows) {
        testing_support::TempWinRoot root;
        std::filesystem::create_directories(root.driveC() / row.hostFolder);
        for (const auto& file : row.files) root.writeHostFile(row.hostFolder + "/" + file, "");
        EXPECT_EQ(fee::dataFolderBeside(root.fs(), row.programFolder), row.expected) << row.name;
    }

    // A job list that is a folder is no installation's.
    testing_support::TempWinRoot root;
    std::filesystem::create_directories(root.driveC() / "Apps/Orvekia/Ergasies.dat");
    root.writeHostFile("Apps/Orvekia/l.dat", "");
    EXPECT_EQ(fee::dataFolderBeside(root.fs(), "C:\\Apps\\Orvekia"), kDefault);
}

TEST(DataFolder, a_store_beside_the_program_keeps_every_job_there) {
    testing_support::TempWinRoot root;
    root.writeHostFile("Apps/Orvekia/Ergasies.dat", "");
    root.writeHostFile("Apps/Orvekia/mix.dat", "");
    root.writeHostFile("Apps/Orvekia/l.dat", " 31000 \r\n");
    fee::DataStore store(root.fs(), ",", "C:\\Apps\\Orvekia");
    ASSERT_EQ(store.dataFolder(), "C:\\Apps\\Orvekia\\");
    ASSERT_TRUE(store.ensureDataFolder());

    fee::Particulars p;
    p[fee::Particulars::OwnerFirst] = "Α";
    p[fee::Particulars::OwnerLast] = "Β";
    ASSERT_EQ(store.createJob(p), fee::StoreStatus::Ok);
    EXPECT_EQ(root.readHostFile("Apps/Orvekia/Ergasies.dat"), cp1253("Α\r\nΒ\r\n"));
    EXPECT_EQ(root.readHostFile("Apps/Orvekia/temp.dat"), cp1253("C:\\Apps\\Orvekia\\ΑΒ\r\n"));
    // The job starts from the installation's coefficient, not the default one.
    EXPECT_EQ(root.readHostFile("Apps/Orvekia/ΑΒ/l.dat"), "31000\r\n");
    EXPECT_EQ(store.currentJobFolder(), "C:\\Apps\\Orvekia\\ΑΒ");
    EXPECT_EQ(store.jobPath({"Α", "Β"}), "C:\\Apps\\Orvekia\\ΑΒ");
    EXPECT_FALSE(std::filesystem::exists(root.driveC() / "program files"));

    // A job of the default folder is no job of this store, and is not deleted through it.
    root.writeHostFile("Apps/Orvekia/temp.dat", cp1253(kDefault + "ΑΒ\r\n"));
    std::filesystem::create_directories(root.driveC() / "program files/dezovur/ΑΒ");
    EXPECT_EQ(store.currentJobFolder(), std::nullopt);
    EXPECT_EQ(store.deleteJob(kDefault + "ΑΒ"), fee::StoreStatus::BadFolderName);
    EXPECT_EQ(store.deleteJob("C:\\Apps\\Orvekia\\ΑΒ"), fee::StoreStatus::Ok);
    EXPECT_FALSE(std::filesystem::exists(root.driveC() / "Apps/Orvekia/ΑΒ"));
    EXPECT_EQ(root.readHostFile("Apps/Orvekia/Ergasies.dat"), "");
}

}  // namespace
