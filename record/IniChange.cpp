// INI entries: each with what its key held before (or that it had none, nor its section), and
// the INI file itself when this run created it.

#include "platform/FileSystem.h"
#include "platform/Profile.h"
#include "platform/WinNames.h"
#include "record/Changes.h"

namespace record {
namespace {

// A value no INI file holds, to tell a missing key from an empty one.
constexpr std::string_view kAbsent = "\x01\x02missing";
constexpr std::size_t kWhole = 1 << 20;

std::optional<std::string> current(platform::ProfileFiles& profiles, const std::string& file,
                                   const std::string& section, const std::string& key) {
    std::string v = profiles.readString(file, section, key, kAbsent, kWhole);
    if (v == kAbsent) return std::nullopt;
    return v;
}

std::string encode(const std::optional<std::string>& value) { return value ? "=" + *value : "-"; }

std::optional<std::string> decode(const std::string& text) {
    if (text.empty() || text[0] != '=') return std::nullopt;
    return text.substr(1);
}

}  // namespace

bool IniChange::write(Recorder& r, const std::string& file, const std::string& section,
                      const std::string& key, const std::string& value) {
    auto& m = r.machine();
    if (!m.files.exists(file) && !r.append({"inifile", {file}})) return false;
    const auto before = current(m.profiles, file, section, key);
    bool hadSection = false;
    for (const auto& s : m.profiles.sections(file)) hadSection = hadSection || platform::sameName(s, section);
    if (!r.append({"ini", {file, section, key, encode(before), encode(value), hadSection ? "1" : "0"}}))
        return false;
    return m.profiles.writeString(file, section, key, value);
}

void IniChange::undo(const Record& record, UndoContext& c) {
    auto& profiles = c.machine.profiles;
    const std::string& file = record.field(0);
    const std::string& section = record.field(1);
    const std::string& key = record.field(2);
    const std::string label = file + ", [" + section + "] " + key;
    if (!c.machine.files.exists(file)) return;
    const auto now = current(profiles, file, section, key);
    const auto before = decode(record.field(3));
    if (c.mode == UndoMode::Uninstall && now && now != decode(record.field(4))) {
        c.leftovers.push_back({label, Why::Changed, false});
        return;
    }
    if (now != before) {
        const bool ok = before ? profiles.writeString(file, section, key, *before)
                               : profiles.removeKey(file, section, key);
        if (!ok) {
            c.leftovers.push_back({label, Why::Failed});
            return;
        }
    }
    if (record.field(5) == "0" && profiles.keys(file, section).empty())
        profiles.removeSection(file, section);
}

void IniChange::undoFile(const Record& record, UndoContext& c) {
    auto& files = c.machine.files;
    const std::string& file = record.field(0);
    if (!files.exists(file)) return;
    if (!c.machine.profiles.sections(file).empty()) {
        c.leftovers.push_back({file, Why::Kept, false});
        return;
    }
    if (!files.removeFile(file)) c.leftovers.push_back({file, Why::Failed});
}

}  // namespace record
