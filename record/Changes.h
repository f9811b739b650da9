#pragma once
// The changes an installation makes, each kind one class that makes its change, writes its
// journal record first, and undoes it from that record alone:
//
//   FolderChange         a folder this run created                     "folder"
//   FileChange           a file created, or replaced (old bytes kept)  "file", "replace"
//   RegistryKeyChange    a registry key this run created               "regkey"
//   RegistryValueChange  a registry value with what it held before     "regvalue"
//   IniChange            an INI entry with what it held before         "ini", "inifile"
//   RunChange            the run's own files and facts                 "journal", "log", "product", "done"
//
// Setup makes its changes through a Recorder; a rollback or the uninstaller hands a journal to
// undoJournal, which undoes its records from the last to the first. The table of tags in
// Changes.cpp is the one place that knows every kind.

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "platform/HostEntries.h"
#include "platform/Registry.h"
#include "record/Journal.h"

namespace platform {
class FileSystem;
class ProfileFiles;
}  // namespace platform

namespace platform::codec {
struct RegKeyNode;
}

namespace record {

// Values of one registry key, by name.
struct KeyValues {
    std::string key;
    std::vector<std::pair<std::string, platform::RegValue>> values;
};

struct Machine {
    platform::FileSystem& files;
    platform::Registry& registry;
    platform::ProfileFiles& profiles;
};

enum class Why {
    Outside,      // the path leads out of every drive folder
    IsFolder,     // a file's record names a folder
    NotAFolder,   // a folder's record names a link or a file
    Failed,       // the removal itself failed
    Kept,         // a folder or key that holds what the installation did not put there
    UnknownRoot,  // a registry path whose root is not one of the five
    NotOwned,     // a registry key that setup never creates under that name
    Shared,       // the uninstaller's copy, still named by another product's entry
    Changed,      // written again after the installation: the user's now
};

struct Leftover {
    std::string item;  // a Windows path, or a registry path and ", " and the value name
    Why why;
    // Whether this leaves the run incomplete: what stays because it is the user's does not.
    bool counts = true;
};

enum class UndoMode {
    Rollback,   // the run did not go through: everything back as it was
    Uninstall,  // a finished installation: what the user changed since stays
};

struct UndoContext {
    Machine machine;
    UndoMode mode;
    std::int64_t doneAtNs = 0;  // files written after this are the user's (Uninstall)
    // Records whose change stays (the uninstaller's shared copy of itself).
    std::function<bool(const Record&)> keep;
    std::vector<Leftover> leftovers;
    // What the paths name on the host, each folder looked at once for the whole undo.
    platform::EntryKinds entries{};
};

// Undoes every record, the last first.
void undoRecords(const std::vector<Record>& records, UndoContext& context);

// "HKEY_LOCAL_MACHINE" and its kin.
std::string_view regRootName(platform::RegRoot root);

// Making changes, each written to the journal first. A change whose record cannot be written
// is not made.
class Recorder {
public:
    Recorder(Machine machine, std::unique_ptr<Journal> journal);
    ~Recorder();

    Machine& machine() { return machine_; }
    Journal& journal() { return *journal_; }
    // False once a record could not be written: nothing more may change.
    bool healthy() const { return healthy_; }
    bool append(Record record);

    // NoSource: the file to copy is missing, so nothing was changed.
    enum class Placed { Written, Kept, Failed, NoSource };
    // Into a temporary name beside dest, then renamed into place; an existing file is kept
    // aside until the run ends. keepExisting leaves an existing file alone. fill writes the
    // temporary file.
    Placed placeFile(const std::string& dest, bool keepExisting,
                     const std::function<bool(const std::string& temp)>& fill);
    Placed copyFile(const std::string& source, const std::string& dest, bool keepExisting);
    // As copyFile, but source is given up: renamed into place when it lies on the same file
    // system, copied (and left) where it does not. Moved tells which happened.
    Placed moveFile(const std::string& source, const std::string& dest, bool keepExisting,
                    bool* moved = nullptr);
    Placed writeFile(const std::string& dest, std::string_view bytes);
    // A file that another part of the run will write to dest through temp (a download):
    // recorded, and an existing file kept aside, before that begins.
    bool expectFile(const std::string& dest, const std::string& temp);

    // Folders are created one level at a time, the parent first.
    bool createFolder(const std::string& path);
    bool createKey(platform::RegRoot root, const std::string& key);
    // Values of one key (made with its chain if missing): each recorded with what it held
    // before, then all written together, in one write of the registry.
    bool setValue(platform::RegRoot root, const std::string& key, const std::string& name,
                  const platform::RegValue& value);
    bool setValues(platform::RegRoot root, const std::string& key,
                   const std::vector<std::pair<std::string, platform::RegValue>>& values);
    // Values of several keys of one root, recorded key by key, then written in one write: a
    // registry file is replaced (and forced to the disk) once, not once per key.
    bool setValues(platform::RegRoot root, const std::vector<KeyValues>& keys);
    bool writeIni(const std::string& file, const std::string& section, const std::string& key,
                  const std::string& value);

    // The run went through: the "done" record, then the files kept aside go.
    bool commit(std::int64_t nowNs);
    // The run did not go through: every change undone, the journal removed. What could not be
    // put back is returned.
    std::vector<Leftover> rollback();

private:
    friend class FileChange;
    Machine machine_;
    std::unique_ptr<Journal> journal_;
    std::vector<Record> written_;
    std::vector<std::string> keptAside_;
    bool healthy_ = true;
};

// The kinds, for the table and for their tests.
class FolderChange {
public:
    static bool create(Recorder& r, const std::string& path);
    static void undo(const Record& record, UndoContext& context);
};

class FileChange {
public:
    // direct, when given, may put a new file straight at dest in one step (a rename that
    // refuses to replace); when it cannot, fill writes the temporary file as usual.
    static Recorder::Placed place(Recorder& r, const std::string& dest, bool keepExisting,
                                  const std::function<bool(const std::string&)>& fill,
                                  const std::function<bool(const std::string&)>& direct = {});
    static bool expect(Recorder& r, const std::string& dest, const std::string& temp);
    static void undo(const Record& record, UndoContext& context);
    // A name beside path for the run's n-th change ("new" or "old").
    static std::string siblingName(std::string_view path, std::size_t n, std::string_view what);

private:
    static bool announce(Recorder& r, const std::string& dest, const std::string& temp, bool there);
};

class RegistryKeyChange {
public:
    static bool create(Recorder& r, platform::RegRoot root, const std::string& key);
    // The records of the keys of the chain that are missing; missing tells whether the key is.
    // Keys in made count as there (written earlier in the same write); the chain joins them.
    static bool announce(Recorder& r, platform::RegRoot root, const std::string& key,
                         bool& missing, const platform::codec::RegKeyNode* made = nullptr);
    static void undo(const Record& record, UndoContext& context);
};

class RegistryValueChange {
public:
    static bool setAll(Recorder& r, platform::RegRoot root, const std::vector<KeyValues>& keys);
    static void undo(const Record& record, UndoContext& context);
    // "-" for no value, else a type letter, ":" and the data.
    static std::string encode(const std::optional<platform::RegValue>& value);
    static std::optional<platform::RegValue> decode(std::string_view text);
};

class IniChange {
public:
    static bool write(Recorder& r, const std::string& file, const std::string& section,
                      const std::string& key, const std::string& value);
    static void undo(const Record& record, UndoContext& context);
    static void undoFile(const Record& record, UndoContext& context);
};

class RunChange {
public:
    // The journal's and the log's own files go with the rest; product and done undo nothing.
    static void undo(const Record& record, UndoContext& context);
};

}  // namespace record
