#pragma once
// The data folder and the job folders: every file the fee program keeps, and the operations
// on them. Each operation opens, works and closes; no file stays open between calls.
//
//   c:\program files\dezovur\            data folder (or the program's own folder, DataFolder.h)
//     temp.dat          current job folder path (one text line)
//     Ergasies.dat      job list, two text lines per job (first name, surname); erga.dat scratch
//     temp1.dat         100 text lines: folder names of the jobs as last listed, " " beyond
//     mix.dat           engineer list, five text lines per engineer; mix1.dat scratch
//     l.dat             default lambda x 100000
//     dezovur.lck       held (flock) by whoever rewrites Ergasies.dat, mix.dat or temp1.dat
//     <first><surname>\ one job folder: STOIXEIA.dat, l.dat, entos.dat, eid.dat, klimaka.dat,
//                       the category input files and the statement fragments

#include <array>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "fee/store/Number.h"
#include "fee/store/TextFile.h"
#include "platform/FileSystem.h"

namespace fee {

// The data folder of the default installation, spelled as the program writes it into temp.dat.
inline constexpr std::string_view kDataFolder = "c:\\program files\\dezovur\\";

// The default lambda of a fresh data folder (0.2935), in list style x 100000.
inline constexpr double kStartingLambdaStored = 29350;

struct JobName {
    std::string first;
    std::string last;
    std::string display() const { return first + " " + last; }
    std::string folderName() const { return first + last; }
    bool operator==(const JobName&) const = default;
};

struct Engineer {
    std::string first, last, address, city, specialty;
    bool operator==(const Engineer&) const = default;
};

// The twelve lines of STOIXEIA.dat, in file order.
struct Particulars {
    enum Field {
        OwnerFirst,
        OwnerLast,
        OwnerAddress,
        OwnerCity,
        Municipality,
        District,
        Location,
        EngineerFirst,
        EngineerLast,
        EngineerAddress,
        EngineerCity,
        Specialty,
        Count
    };
    std::array<std::string, Count> fields{};
    std::string& operator[](Field f) { return fields[f]; }
    const std::string& operator[](Field f) const { return fields[f]; }
};

// The six specialty texts in code order 1 to 6.
extern const std::array<std::string_view, 6> kSpecialties;
// 1 to 6 for an exact, case-sensitive match, else 0.
int specialtyCode(std::string_view specialty);

enum class StoreStatus {
    Ok,
    BadText,        // comma, double quote, line break, or a character Windows-1253 lacks
    BadFolderName,  // the owner name cannot be a folder beneath the data folder
    FolderExists,   // a job with this owner name already exists
    NoJob,          // temp.dat names no job folder that exists
    IoError,
};

// Text the files can hold and read back unchanged.
bool storableText(std::string_view utf8);
// The text with every character the files cannot hold (and U+FFFD, what an undefined byte
// reads as) replaced by "?": a comma, quote or line break would split the field, a character
// Windows-1253 lacks cannot be written.
std::string storableOrQuestionMarks(std::string_view utf8);
// first + last makes a folder name that stays directly inside the data folder.
bool validFolderName(std::string_view folderName);
// An owner name that reads back as written and makes a valid folder: the job list drops the
// leading blanks of every name it reads, so " Κ" would be listed under another folder.
bool validOwnerName(const JobName& name);

class DataStore {
public:
    // dataFolder: a Windows path; a separator is added when it lacks one.
    DataStore(platform::FileSystem& fs, std::string decimalSeparator,
              std::string dataFolder = std::string(kDataFolder));

    platform::FileSystem& fs() const { return fs_; }
    const std::string& decimalSeparator() const { return separator_; }
    // With its trailing separator; job paths are this followed by the folder name.
    const std::string& dataFolder() const { return dataFolder_; }

    // First start: creates the data folder with an empty job list, an empty engineer list and
    // l.dat; never overwrites an existing file.
    bool ensureDataFolder();

    // --- plain file access -------------------------------------------------------------
    std::string dataFile(std::string_view name) const;
    static std::string jobFile(std::string_view jobPath, std::string_view name);
    // Empty when the file is missing.
    std::optional<FieldReader> reader(std::string_view winPath) const;
    LineWriter writer() const { return LineWriter(separator_); }
    // False (and nothing written) when the text cannot be stored in Windows-1253. The bytes
    // are on the disk before the file takes its name: job data cannot be recomputed.
    bool write(std::string_view winPath, const LineWriter& lines);
    // A statement fragment: replaced whole, but not forced to the disk, since the next
    // statement writes it again from the job.
    bool writeFragment(std::string_view winPath, const LineWriter& lines);
    // For a caller that prints the statement it has just assembled (the statement command):
    // the fragments this store wrote from now on are kept, and fragment() answers from them
    // rather than reading each file back. A window, which lives on while others may write the
    // job, reads the files.
    void keepWrittenFragments() { keepWritten_ = true; }
    // The fragment's bytes: as written here when kept, else as the file holds them.
    std::optional<std::string> fragment(const std::string& winPath) const;

    // --- current job ---------------------------------------------------------------------
    // The first text of temp.dat, whatever it names.
    std::optional<std::string> currentJob() const;
    // The current job when it names an existing folder directly inside the data folder under
    // a name a job could have, and that folder is not a link. Anything else in temp.dat is
    // no current job: nothing is read from or written to wherever it points.
    std::optional<std::string> currentJobFolder() const;
    // The same test for any path: an existing, unlinked job folder directly inside the data
    // folder (its letters matched in any case).
    bool isJobFolder(std::string_view path) const;
    bool setCurrentJob(std::string_view jobPath);
    std::string jobPath(const JobName& name) const;

    // --- job list ------------------------------------------------------------------------
    StoreStatus appendJob(const JobName& name);
    // Drops every pair whose data folder + first + surname equals folderPath exactly.
    StoreStatus removeJob(std::string_view folderPath);
    // An incomplete last pair is left out.
    std::vector<JobName> listJobs() const;
    // temp1.dat: the folder names of jobs, one per line, padded with " " lines to 100.
    bool writeJobSlots(const std::vector<JobName>& jobs);
    // The job list, and temp1.dat rewritten from it while no other copy changes the list.
    // second: whether temp1.dat was written.
    std::pair<std::vector<JobName>, bool> listJobsIntoSlots();
    // Line index (from 0) of temp1.dat.
    std::optional<std::string> jobSlot(std::size_t index) const;

    // --- engineer list -------------------------------------------------------------------
    StoreStatus appendEngineer(const Engineer& engineer);
    // An incomplete last record is left out.
    std::vector<Engineer> listEngineers() const;

    // --- jobs ----------------------------------------------------------------------------
    // Job creation: job list entry, folder, temp.dat, STOIXEIA.dat, l.dat (list style copy of
    // the global one), entos.dat = 1, eid.dat. Refuses bad text, bad or existing folders
    // before writing anything.
    StoreStatus createJob(const Particulars& particulars);
    // Deletes the files directly inside the folder, the folder, and its job list pairs. Never
    // touches anything outside the job's own folder; the list is kept when the folder stays.
    StoreStatus deleteJob(std::string_view jobPath);

    // Missing lines read as empty texts.
    Particulars particulars(std::string_view jobPath) const;
    // What is wrong with the job's l.dat as a coefficient (missing, not a number, zero,
    // negative, infinite), in Greek; empty when it makes sense.
    std::string lambdaProblem(std::string_view jobPath) const;
    // l.dat read as a single and divided by 100000 (as a single).
    std::optional<float> lambda(std::string_view jobPath) const;
    // Writes lambda x 100000 (whole, half to even) as a double to the job's and the global l.dat.
    bool saveLambda(std::string_view jobPath, double lambda);
    // entos.dat as a 16-bit integer.
    std::optional<std::int16_t> planFlag(std::string_view jobPath) const;
    bool setPlanFlag(std::string_view jobPath, bool inside);
    // eid.dat as a 16-bit integer.
    std::optional<std::int16_t> specialty(std::string_view jobPath) const;
    // klimaka.dat's first field as read (text line or print-style number).
    std::optional<std::string> scaleText(std::string_view jobPath) const;
    // Characters the files cannot hold become "?", as in the particulars.
    bool setScaleText(std::string_view jobPath, std::string_view text);

    // The overview's reading: count numbers, missing or unreadable ones as 0.
    std::vector<double> quantities(std::string_view jobPath, std::string_view file,
                                   int count) const;
    // One print-style number per line.
    bool writeQuantities(std::string_view jobPath, std::string_view file,
                         const std::vector<double>& values, Width width);

    // The finish step: every input file and klimaka.dat rewritten with its full count of
    // doubles; klimaka.dat 200 unless it held a positive number. Ignores every error.
    void finish(std::string_view jobPath);

private:
    // Held while a shared list is read, changed and renamed into place.
    std::unique_ptr<platform::FileSystem::Lock> lockLists() const;

    platform::FileSystem& fs_;
    std::string separator_;
    std::string dataFolder_;
    bool keepWritten_ = false;
    std::vector<std::pair<std::string, std::string>> written_;  // path, bytes
};

}  // namespace fee
