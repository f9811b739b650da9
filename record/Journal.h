#pragma once
// The installation journal: every change setup makes to the machine, written down before the
// change reaches the disk, so that a cancelled, failed or killed run can be rolled back and an
// installation undone completely. It lies beside the install log (install.log ->
// install.journal) and, unlike the log, holds every name whole (UTF-8) and what each change
// replaced.
//
// The file is text: a header line, then one record a line, fields separated by tabs. A field
// escapes "%", tab, CR, LF and the other control bytes as "%XX". Records are only appended,
// each with one write, so a run killed at any moment leaves whole records and at most one torn
// last line, which the reader drops: its change had not been started.

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace platform {
class File;
class FileSystem;
}  // namespace platform

namespace record {

struct Record {
    std::string tag;
    std::vector<std::string> fields;

    // The field at i, or "" when the record has fewer.
    const std::string& field(std::size_t i) const;
};

// The record that closes a run that went through: nothing is rolled back after it.
inline constexpr std::string_view kDoneTag = "done";

// "...\install.log" -> "...\install.journal"; any other name gets ".journal" appended.
std::string journalPathFor(std::string_view logPath);
// The reverse, for a journal given to the uninstaller.
std::string logPathFor(std::string_view journalPath);

std::string encodeRecord(const Record& record);

struct JournalContents {
    std::vector<Record> records;
    bool done = false;
    std::int64_t doneAtNs = 0;  // when the run was done, from its record
};

// Empty when the bytes are not a journal (no header): a file that is not ours is never acted
// on. A torn last line is dropped.
std::optional<JournalContents> parseJournal(std::string_view bytes);
std::optional<JournalContents> readJournal(const platform::FileSystem& files,
                                           std::string_view path);

class Journal {
public:
    // A new journal (an existing file of that name is refused: it may be a run to roll back).
    static std::unique_ptr<Journal> create(platform::FileSystem& files, std::string path);
    ~Journal();
    Journal(const Journal&) = delete;
    Journal& operator=(const Journal&) = delete;

    // False when the record could not be written: the change it announces must not be made.
    bool append(const Record& record);
    const std::string& path() const { return path_; }
    // Records written so far: a number no other record of this run has.
    std::size_t count() const { return count_; }

private:
    Journal(std::unique_ptr<platform::File> file, std::string path);
    std::unique_ptr<platform::File> file_;
    std::string path_;
    std::size_t count_ = 0;
};

}  // namespace record
