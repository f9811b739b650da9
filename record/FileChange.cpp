#include "platform/FileSystem.h"
#include "platform/HostEntries.h"
#include "record/Changes.h"

namespace record {
namespace {

// "file": dest, temp. "replace": dest, temp, old (the replaced file, kept aside).
enum Field { kDest = 0, kTemp = 1, kOld = 2 };

void removeIfThere(platform::FileSystem& files, const std::string& path) {
    if (!path.empty() && files.identity(path)) files.removeFile(path);
}

}  // namespace

// The record of a file about to be written through temp; an existing one first gets a second
// name, which keeps its bytes while dest takes the new ones in one rename: at no moment is dest
// missing or partly written.
bool FileChange::announce(Recorder& r, const std::string& dest, const std::string& temp,
                          bool there) {
    auto& files = r.machine().files;
    const std::string old = there ? siblingName(dest, r.journal().count(), "old") : std::string();
    Record record{there ? "replace" : "file", {dest, temp}};
    if (there) record.fields.push_back(old);
    if (!r.append(std::move(record))) return false;
    if (!there) return true;
    removeIfThere(files, old);
    if (!files.link(dest, old) && !files.copyFile(dest, old, false)) return false;
    r.keptAside_.push_back(old);
    return true;
}

Recorder::Placed FileChange::place(Recorder& r, const std::string& dest, bool keepExisting,
                                   const std::function<bool(const std::string&)>& fill,
                                   const std::function<bool(const std::string&)>& direct) {
    using Placed = Recorder::Placed;
    auto& files = r.machine().files;
    const auto there = files.identity(dest);
    if (there && !there->regular && !there->link) return Placed::Failed;  // a folder, a FIFO
    if (there && keepExisting) return Placed::Kept;
    const std::string temp = siblingName(dest, r.journal().count(), "new");
    if (!announce(r, dest, temp, there.has_value())) return Placed::Failed;
    // The record names the temporary file all the same: undoing it removes dest either way.
    if (!there && direct && direct(dest)) return Placed::Written;
    // A temporary file of that name can only be left by a run that was killed: it goes, and
    // the file is written once more.
    if (!fill(temp) && !(files.removeFile(temp) && fill(temp))) {
        files.removeFile(temp);
        return Placed::Failed;
    }
    if (!files.rename(temp, dest, there.has_value())) {
        files.removeFile(temp);
        return Placed::Failed;
    }
    return Placed::Written;
}

bool FileChange::expect(Recorder& r, const std::string& dest, const std::string& temp) {
    const auto there = r.machine().files.identity(dest);
    if (there && !there->regular && !there->link) return false;
    return announce(r, dest, temp, there.has_value());
}

void FileChange::undo(const Record& record, UndoContext& c) {
    auto& files = c.machine.files;
    const std::string& dest = record.field(kDest);
    // A run that went through renamed every temporary file into place: only one cut short
    // can have left one.
    const bool finished = c.mode == UndoMode::Uninstall && c.doneAtNs > 0;
    if (!finished) removeIfThere(files, record.field(kTemp));
    const bool replaced = record.tag == "replace";
    if (c.mode == UndoMode::Rollback && replaced) {
        // The old file back under its name; without it, dest was never replaced.
        const std::string& old = record.field(kOld);
        if (files.identity(old) && !files.rename(old, dest, true))
            c.leftovers.push_back({dest, Why::Failed});
        return;
    }
    // The replaced file's second name went when the run was done.
    if (replaced && !finished) removeIfThere(files, record.field(kOld));
    std::int64_t modifiedNs = -1;
    switch (c.entries.of(files, dest, &modifiedNs)) {
        case platform::EntryKind::Missing:
            return;
        case platform::EntryKind::Outside:
            c.leftovers.push_back({dest, Why::Outside});
            return;
        case platform::EntryKind::Folder:
            c.leftovers.push_back({dest, Why::IsFolder});
            return;
        case platform::EntryKind::File:
        case platform::EntryKind::Link:
            break;
    }
    if (finished && modifiedNs > c.doneAtNs) {
        c.leftovers.push_back({dest, Why::Changed, false});
        return;
    }
    if (!c.entries.removeFile(files, dest)) c.leftovers.push_back({dest, Why::Failed});
}

}  // namespace record
