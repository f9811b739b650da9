#include "platform/FileSystem.h"
#include "platform/HostEntries.h"
#include "record/Changes.h"

namespace record {

bool FolderChange::create(Recorder& r, const std::string& path) {
    auto& files = r.machine().files;
    if (files.isDirectory(path)) return true;  // not ours: it stays when we go
    if (!r.append({"folder", {path}})) return false;
    return files.createDirectory(path);
}

void FolderChange::undo(const Record& record, UndoContext& c) {
    auto& files = c.machine.files;
    const std::string& path = record.field(0);
    switch (c.entries.of(files, path)) {
        case platform::EntryKind::Missing:
            return;
        case platform::EntryKind::Outside:
            c.leftovers.push_back({path, Why::Outside});
            return;
        case platform::EntryKind::File:
        case platform::EntryKind::Link:
            c.leftovers.push_back({path, Why::NotAFolder});
            return;
        case platform::EntryKind::Folder:
            break;
    }
    if (files.removeDirectory(path)) return;
    if (!files.list(path, "*", true).empty()) {
        c.leftovers.push_back({path, Why::Kept, false});
    } else {
        c.leftovers.push_back({path, Why::Failed});
    }
}

}  // namespace record
