#include "uninstall/Uninstaller.h"

#include <algorithm>
#include <optional>
#include <set>

#include "platform/FileSystem.h"
#include "platform/HostEntries.h"
#include "platform/Registry.h"
#include "platform/SystemInfo.h"
#include "platform/WinNames.h"

namespace uninstall {

std::string comparablePath(std::string_view winPath) { return platform::pathKey(winPath); }

namespace {

using platform::EntryKind;
using platform::RegRoot;

constexpr std::string_view kUninstallList =
    "software\\microsoft\\windows\\currentversion\\uninstall";

std::string lower(std::string_view text) {
    std::string out(text);
    for (char& c : out) {
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c + 32);
    }
    return out;
}

bool startsWith(std::string_view text, std::string_view prefix) {
    return text.substr(0, prefix.size()) == prefix;
}

// Whether folder is path itself or one of the folders above it (both comparable paths).
bool isSameOrAbove(const std::string& folder, const std::string& path) {
    return path == folder || (startsWith(path, folder) && path.size() > folder.size() &&
                              (path[folder.size()] == '\\' || folder.back() == '\\'));
}

std::size_t depth(const std::string& comparable) {
    return static_cast<std::size_t>(std::count(comparable.begin(), comparable.end(), '\\'));
}

void removeOwnCopyOf(UninstallServices s, Outcome& outcome);

std::string sharedCopy(const platform::SystemInfo& system, std::string_view name) {
    return record::sharedUninstallerFile(system.systemFolder(), name);
}

// Only the deepest of the folders or keys kept is worth a line: the ones above it stay for it.
void dropKeptAbove(std::vector<Leftover>& leftovers) {
    std::vector<std::string> kept;
    for (const auto& l : leftovers)
        if (l.why == Why::Kept) kept.push_back(comparablePath(l.item));
    std::erase_if(leftovers, [&](const Leftover& l) {
        if (l.why != Why::Kept) return false;
        const std::string c = comparablePath(l.item);
        return std::any_of(kept.begin(), kept.end(),
                           [&](const std::string& o) { return o != c && isSameOrAbove(c, o); });
    });
}


class Run {
public:
    Run(const record::InstallLog& log, std::string_view logPath, UninstallServices services)
        : log_(log), logPath_(logPath), s_(services) {
        installedAt_ = s_.files.modifiedTime(logPath_);
        selfPath_ = sharedCopy(s_.system, record::kUninstallerProgram);
        for (const std::string& folder : log_.folders)
            loggedFolders_.insert(comparablePath(folder));
        gatherProtected();
    }

    Outcome run() {
        removeFiles();
        std::vector<std::string> kept = removeFolders(orderedFolders());
        removeRegistryEntries();
        removeApplicationKey();
        removeUninstallKey();
        removeFile(logPath_, true);
        // The log kept the installation folder from going; now it may.
        kept = removeFolders(kept);
        reportKept(kept);
        removeOwnCopy();
        return std::move(outcome_);
    }

private:
    void leave(std::string item, Why why, bool counts = true) {
        outcome_.leftovers.push_back({std::move(item), why, counts});
    }

    // Folders Windows or the desktop keep for everyone: an installation that logged them
    // because it put something there must not take them away when they happen to be empty.
    void gatherProtected() {
        protected_.push_back(comparablePath(s_.system.windowsFolder()));
        protected_.push_back(comparablePath(s_.system.systemFolder()));
        // Asking may create a shell folder that was never used; Windows has them all anyway.
        using platform::ShellFolder;
        for (ShellFolder folder :
             {ShellFolder::Desktop, ShellFolder::Programs, ShellFolder::Startup,
              ShellFolder::SendTo, ShellFolder::StartMenu, ShellFolder::MyMusic, ShellFolder::Fonts,
              ShellFolder::CommonStartMenu, ShellFolder::CommonPrograms, ShellFolder::AppData,
              ShellFolder::CommonFavorites, ShellFolder::MyPictures, ShellFolder::CommonDocuments,
              ShellFolder::Favorites}) {
            const std::string path = s_.system.shellFolder(folder);
            if (!path.empty()) protected_.push_back(comparablePath(path));
        }
        const std::string currentVersion = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion";
        for (const char* name : {"ProgramFilesDir", "CommonFilesDir"}) {
            addProtectedValue(RegRoot::LocalMachine, currentVersion, name);
        }
        const std::string shellFolders = currentVersion + "\\Explorer\\Shell Folders";
        const std::string userShellFolders = currentVersion + "\\Explorer\\User Shell Folders";
        for (RegRoot root : {RegRoot::LocalMachine, RegRoot::CurrentUser}) {
            for (const std::string& key : {shellFolders, userShellFolders}) {
                for (const std::string& name : s_.registry.valueNames(root, key)) {
                    addProtectedValue(root, key, name);
                }
            }
        }
        // Desktop entries live in the host's data home, reached through drive z:.
        std::optional<std::string> dataHome = s_.system.environment("XDG_DATA_HOME");
        if (!dataHome || dataHome->empty() || dataHome->front() != '/') {
            const auto home = s_.system.environment("HOME");
            if (home && !home->empty()) dataHome = *home + "/.local/share";
        }
        if (dataHome && !dataHome->empty() && dataHome->front() == '/') {
            protected_.push_back(comparablePath("z:" + *dataHome + "/applications"));
        }
    }

    void addProtectedValue(RegRoot root, const std::string& key, std::string_view name) {
        const auto value = s_.registry.value(root, key, name);
        if (value && !value->text.empty() && value->text.size() > 3 && value->text[1] == ':') {
            protected_.push_back(comparablePath(value->text));
        }
    }

    bool isProtected(const std::string& comparable) const {
        return std::any_of(protected_.begin(), protected_.end(),
                           [&](const std::string& p) { return isSameOrAbove(comparable, p); });
    }

    bool isDeferred(const std::string& comparable) const {
        return comparable == comparablePath(logPath_) || comparable == comparablePath(selfPath_);
    }

    // Returns false when the file is still there.
    bool removeFile(const std::string& path, bool counts) {
        switch (entries_.of(s_.files, path)) {
            case EntryKind::Missing:
                return true;
            case EntryKind::Outside:
                leave(path, Why::Outside, counts);
                return false;
            case EntryKind::Folder:
                leave(path, Why::IsFolder, counts);
                return false;
            case EntryKind::File:
            case EntryKind::Link:
                if (entries_.removeFile(s_.files, path)) return true;
                leave(path, Why::Failed, counts);
                return false;
        }
        return false;
    }

    void removeFiles() {
        for (const std::string& path : log_.files) {
            const std::string comparable = comparablePath(path);
            if (isDeferred(comparable)) continue;
            const char last = path.back();
            if (last == '\\' || last == '/') {
                // Setup logs the program group as a file too; [DIR] names it as well.
                if (!loggedFolders_.count(comparable)) leave(path, Why::IsFolder);
                continue;
            }
            // The log is written last, so a file newer than it was written again since: a
            // job list or a λ the user changed is the user's data, not the installation's.
            const auto written = s_.files.modifiedTime(path);
            if (written && installedAt_ && *written > *installedAt_) {
                leave(path, Why::Changed, false);
                continue;
            }
            removeFile(path, true);
        }
    }

    // Deepest first; among equals, the later logged first (it was created later).
    std::vector<std::string> orderedFolders() const {
        std::vector<std::string> folders;
        std::set<std::string> seen;
        for (auto it = log_.folders.rbegin(); it != log_.folders.rend(); ++it) {
            if (seen.insert(comparablePath(*it)).second) folders.push_back(*it);
        }
        std::stable_sort(folders.begin(), folders.end(), [](const auto& a, const auto& b) {
            return depth(comparablePath(a)) > depth(comparablePath(b));
        });
        return folders;
    }

    // The folders that stay because something is in them.
    std::vector<std::string> removeFolders(const std::vector<std::string>& folders) {
        std::vector<std::string> kept;
        for (const std::string& folder : folders) {
            if (isProtected(comparablePath(folder))) continue;
            switch (platform::entryKind(s_.files, folder)) {
                case EntryKind::Missing:
                    break;
                case EntryKind::Outside:
                    leave(folder, Why::Outside);
                    break;
                case EntryKind::File:
                case EntryKind::Link:
                    leave(folder, Why::NotAFolder);
                    break;
                case EntryKind::Folder:
                    if (s_.files.removeDirectory(folder)) break;
                    if (!s_.files.list(folder, "*", true).empty()) {
                        kept.push_back(folder);
                    } else {
                        leave(folder, Why::Failed);
                    }
                    break;
            }
        }
        return kept;
    }

    void reportKept(const std::vector<std::string>& kept) {
        for (const std::string& folder : kept) leave(folder, Why::Kept, false);
        dropKeptAbove(outcome_.leftovers);
    }

    void removeRegistryEntries() {
        for (const record::RegistryEntry& entry : log_.registryEntries) {
            const std::string item = entry.keyPath + ", " + entry.valueName;
            std::string rootName, subkey;
            const auto root = record::splitRegistryPath(entry.keyPath, rootName, subkey)
                                  ? platform::regRootNamed(rootName)
                                  : std::nullopt;
            if (!root) {
                leave(item, Why::UnknownRoot);
                continue;
            }
            if (!s_.registry.value(*root, subkey, entry.valueName)) continue;
            if (!s_.registry.deleteValue(*root, subkey, entry.valueName)) leave(item, Why::Failed);
        }
    }

    void removeApplicationKey() {
        const std::string& key = log_.applicationKey;
        if (key.empty()) return;
        const std::string item = "HKEY_LOCAL_MACHINE\\" + key;
        // Setup makes it "Software\<company>\<name>" or "Software\<name>"; anything shorter
        // would be a key that many programs share.
        const std::string lowered = lower(key);
        const auto slash = lowered.rfind('\\');
        if (!startsWith(lowered, "software\\") || slash + 1 >= lowered.size() || slash < 8) {
            leave(item, Why::NotOwned);
            return;
        }
        if (!s_.registry.keyExists(RegRoot::LocalMachine, key)) return;
        for (const char* name : {"PATH", "VERSION", "NAME", "COMPANY"}) {
            if (s_.registry.value(RegRoot::LocalMachine, key, name) &&
                !s_.registry.deleteValue(RegRoot::LocalMachine, key, name)) {
                leave(item + ", " + name, Why::Failed);
            }
        }
        if (!removeKeyWhenEmpty(key)) {
            leave(item, Why::Kept, false);
            return;
        }
        // The company key above it, when setup made one and nothing else lives there.
        const std::string parent = key.substr(0, slash);
        if (lower(parent) != "software") removeKeyWhenEmpty(parent);
    }

    bool removeKeyWhenEmpty(const std::string& key) {
        if (!s_.registry.subkeys(RegRoot::LocalMachine, key).empty() ||
            !s_.registry.valueNames(RegRoot::LocalMachine, key).empty()) {
            return false;
        }
        return s_.registry.deleteKey(RegRoot::LocalMachine, key);
    }

    void removeUninstallKey() {
        const std::string& key = log_.uninstallKey;
        if (key.empty()) return;
        const std::string item = "HKEY_LOCAL_MACHINE\\" + key;
        const std::string lowered = lower(key);
        if (!startsWith(lowered, std::string(kUninstallList) + "\\") ||
            lowered.size() <= kUninstallList.size() + 1) {
            leave(item, Why::NotOwned);
            return;
        }
        if (!s_.registry.keyExists(RegRoot::LocalMachine, key)) return;
        if (!s_.registry.deleteKey(RegRoot::LocalMachine, key)) leave(item, Why::Failed);
    }

    void removeOwnCopy() { removeOwnCopyOf(s_, outcome_); }

    const record::InstallLog& log_;
    std::string logPath_;
    UninstallServices s_;
    platform::EntryKinds entries_;  // the log's files lie in a few folders, each opened once
    std::string selfPath_;
    std::optional<std::int64_t> installedAt_;
    std::set<std::string> loggedFolders_;
    std::vector<std::string> protected_;
    Outcome outcome_;
};


// Setup shares one copy of the uninstaller (and its windows) among every product it installs;
// the copy goes with the last.
void removeOwnCopyOf(UninstallServices s, Outcome& outcome) {
    const std::string self = sharedCopy(s.system, record::kUninstallerProgram);
    const std::string list(kUninstallList);
    for (const std::string& product : s.registry.subkeys(RegRoot::LocalMachine, list)) {
        const auto command =
            s.registry.value(RegRoot::LocalMachine, list + "\\" + product, "UninstallString");
        if (command && lower(command->text).find(record::kUninstallerProgram) != std::string::npos) {
            outcome.leftovers.push_back({self, Why::Shared, false});
            return;
        }
    }
    for (const std::string_view name : {record::kUninstallerProgram, record::kUninstallerWindows}) {
        const std::string path = sharedCopy(s.system, name);
        if (platform::entryKind(s.files, path) == EntryKind::Missing) continue;
        if (!s.files.removeFile(path)) outcome.leftovers.push_back({path, Why::Failed, false});
    }
}

Outcome undoJournal(const record::JournalContents& journal, UninstallServices s) {
    const std::string self = comparablePath(sharedCopy(s.system, record::kUninstallerProgram));
    const std::string selfWindows =
        comparablePath(sharedCopy(s.system, record::kUninstallerWindows));
    record::UndoContext context{{s.files, s.registry, s.profiles},
                                journal.done ? record::UndoMode::Uninstall
                                             : record::UndoMode::Rollback,
                                journal.doneAtNs,
                                {},
                                {}};
    // The shared copy of the uninstaller is not the product's to take, once the run went
    // through; a run rolled back puts back whatever it found.
    if (journal.done) {
        context.keep = [&](const record::Record& r) {
            if (r.tag != "file" && r.tag != "replace") return false;
            const std::string path = comparablePath(r.field(0));
            return path == self || path == selfWindows;
        };
    }
    record::undoRecords(journal.records, context);
    Outcome outcome{std::move(context.leftovers)};
    dropKeptAbove(outcome.leftovers);
    if (journal.done) removeOwnCopyOf(s, outcome);
    return outcome;
}

}  // namespace

bool Outcome::complete() const {
    return std::none_of(leftovers.begin(), leftovers.end(),
                        [](const Leftover& l) { return l.counts; });
}

std::optional<Installation> loadInstallation(const platform::FileSystem& files,
                                             std::string_view path, int codePage,
                                             std::string& problem) {
    // Big enough for any real log; a larger file is not one, and is not read into memory.
    constexpr std::uint64_t kLargest = 256u << 20;
    auto readWhole = [&](std::string_view p) -> std::optional<std::string> {
        const auto id = files.identity(p);
        if (!id || !id->regular || id->size > kLargest) return std::nullopt;
        return files.readFile(p);
    };
    Installation found;
    const bool isJournal = comparablePath(path).ends_with(".JOURNAL");
    found.logPath = isJournal ? record::logPathFor(path) : std::string(path);
    found.journalPath = isJournal ? std::string(path) : record::journalPathFor(path);
    const auto given = readWhole(path);
    if (!given) {
        problem = files.identity(path) ? "not a regular file that can be read" : "missing";
        return std::nullopt;
    }
    if (isJournal) {
        found.journal = record::parseJournal(*given);
        if (!found.journal) {
            problem = "not an installation journal";
            return std::nullopt;
        }
        return found;
    }
    found.log = record::parseInstallLog(*given, codePage);
    if (!found.log) {
        problem = "not an install log";
        return std::nullopt;
    }
    if (files.identity(found.journalPath)) {
        const auto bytes = readWhole(found.journalPath);
        if (bytes) found.journal = record::parseJournal(*bytes);
        if (!found.journal) {
            problem = "its journal " + found.journalPath + " cannot be read";
            return std::nullopt;
        }
    }
    return found;
}

std::string productName(const Installation& installation, const platform::Registry& registry) {
    if (installation.journal) {
        for (const auto& r : installation.journal->records)
            if (r.tag == "product" && !r.field(0).empty()) return r.field(0);
    }
    if (installation.log && !installation.log->uninstallKey.empty()) {
        const auto name = registry.value(RegRoot::LocalMachine, installation.log->uninstallKey,
                                         "DisplayName");
        if (name && !name->text.empty()) return name->text;
    }
    auto lastName = [](std::string_view path) {
        while (!path.empty() && path.back() == '\\') path.remove_suffix(1);
        const auto slash = path.rfind('\\');
        return std::string(slash == std::string_view::npos ? path : path.substr(slash + 1));
    };
    std::string name = installation.log ? lastName(installation.log->applicationKey) : "";
    if (!name.empty()) return name;
    const std::string_view logPath = installation.logPath;
    const auto slash = logPath.rfind('\\');
    return slash == std::string_view::npos ? std::string() : lastName(logPath.substr(0, slash));
}

Outcome uninstall(const Installation& installation, UninstallServices services) {
    if (installation.journal) return undoJournal(*installation.journal, services);
    return uninstallByLog(*installation.log, installation.logPath, services);
}

Outcome uninstallByLog(const record::InstallLog& log, std::string_view logPath,
                       UninstallServices services) {
    return Run(log, logPath, services).run();
}

}  // namespace uninstall
