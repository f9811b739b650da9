#include "record/Changes.h"

#include <algorithm>
#include <utility>

#include "platform/FileSystem.h"

namespace record {
namespace {

struct Kind {
    std::string_view tag;
    void (*undo)(const Record&, UndoContext&);
};

// Every kind of change, by the tag of its record. A record of an unknown tag (a later
// version's) undoes nothing: the records around it still do.
constexpr Kind kKinds[] = {
    {"folder", &FolderChange::undo},         {"file", &FileChange::undo},
    {"replace", &FileChange::undo},          {"regkey", &RegistryKeyChange::undo},
    {"regvalue", &RegistryValueChange::undo}, {"ini", &IniChange::undo},
    {"inifile", &IniChange::undoFile},       {"journal", &RunChange::undo},
    {"log", &RunChange::undo},               {"product", &RunChange::undo},
    {"done", &RunChange::undo},
};

}  // namespace

void undoRecords(const std::vector<Record>& records, UndoContext& context) {
    for (auto it = records.rbegin(); it != records.rend(); ++it) {
        if (context.keep && context.keep(*it)) continue;
        for (const Kind& kind : kKinds) {
            if (kind.tag == it->tag) {
                kind.undo(*it, context);
                break;
            }
        }
    }
}

std::string_view regRootName(platform::RegRoot root) {
    switch (root) {
        case platform::RegRoot::ClassesRoot:
            return "HKEY_CLASSES_ROOT";
        case platform::RegRoot::CurrentUser:
            return "HKEY_CURRENT_USER";
        case platform::RegRoot::LocalMachine:
            return "HKEY_LOCAL_MACHINE";
        case platform::RegRoot::Users:
            return "HKEY_USERS";
        case platform::RegRoot::CurrentConfig:
            return "HKEY_CURRENT_CONFIG";
    }
    return {};
}

Recorder::Recorder(Machine machine, std::unique_ptr<Journal> journal)
    : machine_(machine), journal_(std::move(journal)) {}

Recorder::~Recorder() = default;

bool Recorder::append(Record record) {
    if (!healthy_) return false;
    if (!journal_->append(record)) {
        healthy_ = false;
        return false;
    }
    written_.push_back(std::move(record));
    return true;
}

Recorder::Placed Recorder::placeFile(const std::string& dest, bool keepExisting,
                                     const std::function<bool(const std::string&)>& fill) {
    return FileChange::place(*this, dest, keepExisting, fill);
}

Recorder::Placed Recorder::copyFile(const std::string& source, const std::string& dest,
                                    bool keepExisting) {
    auto& files = machine_.files;
    const Placed placed = FileChange::place(*this, dest, keepExisting, [&](const std::string& temp) {
        return files.copyFile(source, temp, false);
    });
    // Asked only now: a copy that went through needs no second look at its source.
    if (placed == Placed::Failed && !files.exists(source)) return Placed::NoSource;
    return placed;
}

Recorder::Placed Recorder::moveFile(const std::string& source, const std::string& dest,
                                    bool keepExisting, bool* moved) {
    auto& files = machine_.files;
    bool renamed = false;
    // A new file is renamed straight into place; one that replaces another goes through the
    // temporary name as a copy would, so the journal and the replace rules are the same
    // whichever way the bytes arrive. Only where a rename cannot serve (another file system)
    // is the member copied.
    auto rename = [&](const std::string& to) { return renamed = files.rename(source, to, false); };
    const Placed placed = FileChange::place(
        *this, dest, keepExisting,
        [&](const std::string& temp) { return rename(temp) || files.copyFile(source, temp, false); },
        rename);
    if (moved) *moved = renamed && placed == Placed::Written;
    if (placed == Placed::Failed && !renamed && !files.exists(source)) return Placed::NoSource;
    return placed;
}

Recorder::Placed Recorder::writeFile(const std::string& dest, std::string_view bytes) {
    return FileChange::place(*this, dest, false,
                 [&](const std::string& temp) { return machine_.files.writeFile(temp, bytes); });
}

bool Recorder::expectFile(const std::string& dest, const std::string& temp) {
    return FileChange::expect(*this, dest, temp);
}

bool Recorder::createFolder(const std::string& path) { return FolderChange::create(*this, path); }

bool Recorder::createKey(platform::RegRoot root, const std::string& key) {
    return RegistryKeyChange::create(*this, root, key);
}

bool Recorder::setValue(platform::RegRoot root, const std::string& key, const std::string& name,
                        const platform::RegValue& value) {
    return RegistryValueChange::setAll(*this, root, {{key, {{name, value}}}});
}

bool Recorder::setValues(platform::RegRoot root, const std::string& key,
                         const std::vector<std::pair<std::string, platform::RegValue>>& values) {
    return RegistryValueChange::setAll(*this, root, {{key, values}});
}

bool Recorder::setValues(platform::RegRoot root, const std::vector<KeyValues>& keys) {
    return RegistryValueChange::setAll(*this, root, keys);
}

bool Recorder::writeIni(const std::string& file, const std::string& section,
                        const std::string& key, const std::string& value) {
    return IniChange::write(*this, file, section, key, value);
}

bool Recorder::commit(std::int64_t nowNs) {
    if (!append({std::string(kDoneTag), {std::to_string(nowNs)}})) return false;
    for (const auto& path : keptAside_) machine_.files.removeFile(path);
    keptAside_.clear();
    return true;
}

std::vector<Leftover> Recorder::rollback() {
    UndoContext context{machine_, UndoMode::Rollback, 0, {}, {}};
    // Written or not, the records name every change that may have begun.
    undoRecords(written_, context);
    written_.clear();
    keptAside_.clear();
    healthy_ = false;
    return std::move(context.leftovers);
}

std::string FileChange::siblingName(std::string_view path, std::size_t n, std::string_view what) {
    const auto cut = path.rfind('\\');
    const std::string_view folder = cut == std::string_view::npos ? "" : path.substr(0, cut + 1);
    std::string_view name = cut == std::string_view::npos ? path : path.substr(cut + 1);
    // Short enough that the additions never take a long name past the limit of a name.
    std::size_t size = std::min<std::size_t>(name.size(), 100);
    while (size < name.size() && size > 0 && (static_cast<unsigned char>(name[size]) & 0xC0) == 0x80)
        --size;  // not inside a UTF-8 character
    const std::string shortName(name.substr(0, size));
    return std::string(folder) + ".~" + shortName + "." + std::to_string(n) + "." +
           std::string(what);
}

}  // namespace record
