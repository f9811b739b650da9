#include "platform/FileSystem.h"
#include "record/Changes.h"

namespace record {

// "journal" and "log" name the run's own files: they go with the rest (the log last but the
// journal, which the uninstaller reads to the end first). "product" and "done" only tell.
void RunChange::undo(const Record& record, UndoContext& c) {
    if (record.tag != "journal" && record.tag != "log") return;
    auto& files = c.machine.files;
    const std::string& path = record.field(0);
    if (files.identity(path) && !files.removeFile(path))
        c.leftovers.push_back({path, Why::Failed});
}

}  // namespace record
