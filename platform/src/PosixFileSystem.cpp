// Windows paths on a POSIX host. A path is turned into a host path once per operation:
// the drive letter picks $WINROOT/dosdevices/<x>:, ".." is applied to the text before anything
// is looked up (so it stops at the drive root), and each remaining name is matched against the
// folder's entries the way Windows compares names.

#include <dirent.h>
#include <fcntl.h>
#include <pthread.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <sys/xattr.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <atomic>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <mutex>
#include <set>
#include <string>
#include <system_error>
#include <unordered_map>

#include "PosixIo.h"
#include "WinText.h"
#include "platform/WinNames.h"
#include "platform/WinRoot.h"

namespace platform {

namespace fs = std::filesystem;

namespace {

bool isSeparator(char c) {
    return c == '\\' || c == '/';
}


// Windows drops trailing blanks and periods of every name ("oix1.dat " is "oix1.dat").
std::string_view stripTrailing(std::string_view name) {
    while (!name.empty() && (name.back() == ' ' || name.back() == '.')) name.remove_suffix(1);
    return name;
}

struct ParsedPath {
    char drive = 0;                  // lower-case letter
    std::vector<std::string> names;  // ".." already applied, never empty strings
};

std::optional<ParsedPath> parseWinPath(std::string_view path) {
    // "X:" followed by a separator or nothing; "C:foo" (relative to a drive's current
    // folder), UNC and device paths ("\\server\share", "\\?\C:\") have no meaning here.
    if (path.size() < 2 || path[1] != ':') return std::nullopt;
    const char letter = path[0];
    if (!((letter >= 'a' && letter <= 'z') || (letter >= 'A' && letter <= 'Z')))
        return std::nullopt;
    if (path.size() > 2 && !isSeparator(path[2])) return std::nullopt;
    if (!detail::isValidUtf8(path)) return std::nullopt;

    ParsedPath parsed;
    parsed.drive = static_cast<char>(letter | 0x20);
    std::size_t pos = 2;
    while (pos < path.size()) {
        while (pos < path.size() && isSeparator(path[pos])) ++pos;
        std::size_t end = pos;
        while (end < path.size() && !isSeparator(path[end])) ++end;
        const std::string_view component = path.substr(pos, end - pos);
        pos = end;
        if (component.empty() || component == ".") continue;
        if (component == "..") {
            if (!parsed.names.empty()) parsed.names.pop_back();
            continue;
        }
        if (!detail::isValidWindowsName(component)) return std::nullopt;
        const std::string_view name = stripTrailing(component);
        if (name.empty()) continue;  // "...", " ": the same folder, as on Windows
        parsed.names.emplace_back(name);
    }
    return parsed;
}

// Host paths are kept as text: a path object takes itself apart into its names again each
// time it is made or extended, and a look-up makes several.
bool isDir(const std::string& p) {
    struct stat st {};
    return ::stat(p.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

bool entryExists(const std::string& p) {
    struct stat st {};
    return ::lstat(p.c_str(), &st) == 0;
}

// Opens a regular file only: a FIFO or device met on the way must not block or be written.
int openRegular(const std::string& p, int flags, mode_t mode = 0666,
                struct stat* opened = nullptr) {
    const int fd = ::open(p.c_str(), flags | O_NONBLOCK | O_CLOEXEC, mode);
    if (fd < 0) return -1;
    struct stat st {};
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        ::close(fd);
        return -1;
    }
    if (opened) *opened = st;
    // O_NONBLOCK changes nothing for a regular file, so it can stay set.
    return fd;
}

// Host paths as text, the way fs::path spells them: one "/" between names.
std::string joinHost(std::string base, std::string_view name) {
    if (base.empty() || base.back() != '/') base += '/';
    base += name;
    return base;
}

std::string parentOf(const std::string& path) {
    const auto cut = path.rfind('/');
    if (cut == std::string::npos) return {};
    return cut == 0 ? std::string("/") : path.substr(0, cut);
}

struct Resolved {
    std::string host;
    bool isDriveRoot = false;
    // What the look-up already learnt of the entry itself, so the call need not ask again.
    enum class Entry { Unknown, Missing, Present } entry = Entry::Unknown;
    struct stat status {};  // lstat's answer when Present
};

// The entry's own status (lstat) or, following a link, what it leads to (stat), from the
// look-up when it already asked; false when there is nothing there.
bool entryStatus(const Resolved& r, struct stat& st) {
    if (r.entry == Resolved::Entry::Missing) return false;
    if (r.entry == Resolved::Entry::Present) {
        st = r.status;
        return true;
    }
    return ::lstat(r.host.c_str(), &st) == 0;
}

bool followedStatus(const Resolved& r, struct stat& st) {
    if (r.entry == Resolved::Entry::Missing) return false;
    if (r.entry == Resolved::Entry::Present && !S_ISLNK(r.status.st_mode)) {
        st = r.status;
        return true;
    }
    return ::stat(r.host.c_str(), &st) == 0;
}

constexpr const char* kDosAttrib = "user.DOSATTRIB";

// Read-only is the lack of write permission; giving it back gives it to the owner only.
mode_t withAttributes(mode_t mode, std::uint32_t attributes) {
    if (attributes & kAttrReadOnly) return mode & ~mode_t(0222);
    return mode | S_IWUSR;
}

// Execute goes exactly where read is allowed.
mode_t withExecute(mode_t mode) {
    return mode | ((mode & 0444) >> 2);
}

// The attributes kept in the extended attribute other Windows-compatibility layers keep
// ("0x22"); empty when there are none to keep.
std::string dosAttribText(std::uint32_t attributes) {
    const std::uint32_t kept = attributes & (kAttrHidden | kAttrSystem | kAttrArchive);
    if (kept == 0) return {};
    char text[16];
    const int n = std::snprintf(text, sizeof text, "0x%x", static_cast<unsigned>(kept));
    return std::string(text, static_cast<std::size_t>(n));
}

// The data, last-write time and DOS attributes of in, copied into out as Windows copies a
// file. The kernel copies (or shares the blocks, where the file system can); read and write
// only where it cannot between these two files.
bool copyContents(int in, int out, const struct stat& st) {
    bool kernel = true;
    // Up to the size the file had when opened; a file that says it is empty (some kernel
    // files do) is read to its end.
    off_t copied = 0;
    while (st.st_size == 0 || copied < st.st_size) {
        const ssize_t n = ::copy_file_range(in, nullptr, out, nullptr, 1 << 30, 0);
        if (n > 0) {
            copied += n;
            continue;
        }
        if (n == 0) break;
        if (errno == EINTR) continue;
        if (errno != EXDEV && errno != ENOSYS && errno != EOPNOTSUPP && errno != EINVAL)
            return false;
        kernel = false;
        break;
    }
    char buffer[65536];
    while (!kernel) {
        const ssize_t n = ::read(in, buffer, sizeof buffer);
        if (n < 0) {
            if (errno == EINTR) continue;
            return false;
        }
        if (n == 0) break;
        if (!detail::writeAll(out, std::string_view(buffer, static_cast<std::size_t>(n))))
            return false;
    }
    char attrib[32];
    const ssize_t attribSize = ::fgetxattr(in, kDosAttrib, attrib, sizeof attrib);
    if (attribSize > 0)
        ::fsetxattr(out, kDosAttrib, attrib, static_cast<std::size_t>(attribSize), 0);
    const timespec times[2] = {{0, UTIME_OMIT}, st.st_mtim};
    return ::futimens(out, times) == 0;
}

class PosixFile final : public File {
public:
    PosixFile(int fd, mode_t mode) : fd_(fd), mode_(mode & 07777) {}
    ~PosixFile() override { ::close(fd_); }
    PosixFile(const PosixFile&) = delete;
    PosixFile& operator=(const PosixFile&) = delete;

    std::int64_t read(void* buffer, std::size_t size) override {
        for (;;) {
            const ssize_t n = ::read(fd_, buffer, size);
            if (n >= 0 || errno != EINTR) return n;
        }
    }
    std::int64_t write(const void* data, std::size_t size) override {
        return detail::writeAll(fd_, std::string_view(static_cast<const char*>(data), size))
                   ? static_cast<std::int64_t>(size)
                   : -1;
    }
    bool seek(std::int64_t offset, Whence whence) override {
        const int w = whence == Whence::Start ? SEEK_SET
                      : whence == Whence::End ? SEEK_END
                                              : SEEK_CUR;
        return ::lseek(fd_, static_cast<off_t>(offset), w) >= 0;
    }
    std::int64_t tell() const override { return ::lseek(fd_, 0, SEEK_CUR); }

    bool setModifiedTime(std::int64_t unixSeconds) override {
        const timespec times[2] = {{0, UTIME_OMIT}, {static_cast<time_t>(unixSeconds), 0}};
        return ::futimens(fd_, times) == 0;
    }
    bool setAttributes(std::uint32_t attributes) override {
        if (!changeMode(withAttributes(mode_, attributes))) return false;
        const std::string text = dosAttribText(attributes);
        if (text.empty()) {
            ::fremovexattr(fd_, kDosAttrib);
        } else {
            ::fsetxattr(fd_, kDosAttrib, text.data(), text.size(), 0);
        }
        return true;
    }
    bool setExecutable() override { return changeMode(withExecute(mode_)); }

private:
    // The mode is known since the file was opened, so an unchanged one costs nothing.
    bool changeMode(mode_t mode) {
        if (mode == mode_) return true;
        if (::fchmod(fd_, mode) != 0) return false;
        mode_ = mode;
        return true;
    }

    int fd_;
    mode_t mode_;
};

// flock() belongs to the open file: closing it (or the process dying) lets the next one in.
class FileLock final : public FileSystem::Lock {
public:
    explicit FileLock(int fd) : fd_(fd) {}
    ~FileLock() override { ::close(fd_); }
    FileLock(const FileLock&) = delete;
    FileLock& operator=(const FileLock&) = delete;

private:
    int fd_;
};

// rename(2) over an existing file makes ext4 write the new file's data out first
// (auto_da_alloc), tens of milliseconds for a dozen small fragments. Swapping the two names
// is just as atomic for readers and skips that; the old file, now under the temporary name,
// is then removed. Synced data gains nothing from the swap, and a file system without it
// gets the plain rename.
bool moveIntoPlace(const fs::path& temp, const fs::path& target, bool swap) {
    if (swap) {
        if (::renameat2(AT_FDCWD, temp.c_str(), AT_FDCWD, target.c_str(), RENAME_EXCHANGE) == 0) {
            ::unlink(temp.c_str());
            return true;
        }
        if (errno != EINVAL && errno != ENOSYS && errno != ENOENT) return false;
    }
    return ::rename(temp.c_str(), target.c_str()) == 0;
}

// A writer's temporary file is named "." + the target's name (its first 120 bytes) + "." + the
// process id + "." + a count of the process's own + ".new", and the writer holds an flock on it
// from its creation until it has the target's name. One that nobody holds was left by a writer
// that died (killed, or the machine stopped) and will never be finished.
std::string temporaryStem(const std::string& targetName) {
    return "." + targetName.substr(0, 120) + ".";
}

// The process id, asked once and again in a child after fork: every write names a file by it.
pid_t processId() {
    static std::atomic<pid_t> pid{0};
    static const bool watched = [] {
        ::pthread_atfork(nullptr, nullptr, [] { pid.store(0); });
        return true;
    }();
    (void)watched;
    pid_t known = pid.load();
    if (known == 0) {
        known = ::getpid();
        pid.store(known);
    }
    return known;
}

std::string temporaryName(const std::string& targetName) {
    static std::atomic<unsigned> counter{0};
    return temporaryStem(targetName) + std::to_string(processId()) + "." +
           std::to_string(counter++) + ".new";
}

bool isTemporaryOf(std::string_view entry, std::string_view stem) {
    constexpr std::string_view kSuffix = ".new";
    if (entry.size() <= stem.size() + kSuffix.size() || !entry.starts_with(stem) ||
        !entry.ends_with(kSuffix))
        return false;
    const std::string_view numbers =
        entry.substr(stem.size(), entry.size() - stem.size() - kSuffix.size());
    const auto dot = numbers.find('.');
    const auto digits = [](std::string_view text) {
        return !text.empty() &&
               std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; });
    };
    return dot != std::string_view::npos && digits(numbers.substr(0, dot)) &&
           digits(numbers.substr(dot + 1));
}

// The names in folder that look like a writer's temporary file, of any target.
std::vector<std::string> temporariesIn(const std::string& folder) {
    std::vector<std::string> names;
    DIR* dir = ::opendir(folder.c_str());
    if (!dir) return names;
    while (const dirent* entry = ::readdir(dir)) {
        const std::string_view name = entry->d_name;
        if (name.size() > 5 && name[0] == '.' && name.ends_with(".new")) names.emplace_back(name);
    }
    ::closedir(dir);
    return names;
}

// Removes those of candidates in folder that are targetName's temporary files and that no
// writer holds, and takes every one of targetName's out of candidates; returns the names
// removed. Anything else is left alone: other names, links, a file whose writer is still at
// work, and one whose name was taken by another file while it was being checked.
std::vector<std::string> removeAbandonedTemporaries(const std::string& folder,
                                                    const std::string& targetName,
                                                    std::vector<std::string>& candidates) {
    std::vector<std::string> removed;
    const std::string stem = temporaryStem(targetName);
    const auto mine = std::partition(candidates.begin(), candidates.end(),
                                     [&stem](const std::string& n) { return !isTemporaryOf(n, stem); });
    if (mine == candidates.end()) return removed;
    const int at = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    for (auto it = mine; at >= 0 && it != candidates.end(); ++it) {
        std::string& name = *it;
        const int fd = ::openat(at, name.c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
        if (fd < 0) continue;
        struct stat held {};
        struct stat named {};
        if (::fstat(fd, &held) == 0 && S_ISREG(held.st_mode) &&
            ::flock(fd, LOCK_EX | LOCK_NB) == 0 &&
            ::fstatat(at, name.c_str(), &named, AT_SYMLINK_NOFOLLOW) == 0 &&
            named.st_dev == held.st_dev && named.st_ino == held.st_ino &&
            ::unlinkat(at, name.c_str(), 0) == 0)
            removed.push_back(std::move(name));
        ::close(fd);
    }
    if (at >= 0) ::close(at);
    candidates.erase(mine, candidates.end());
    return removed;
}

// Creates a temporary file for targetName in folder and takes its writer's lock; -1 on failure.
// A name that is taken (a file that could not be removed, or another writer's) is no failure:
// the next count is tried.
int createTemporary(const std::string& folder, const std::string& targetName, mode_t mode,
                    std::string& path, mode_t& created) {
    for (int attempt = 0; attempt < 100; ++attempt) {
        path = joinHost(folder, temporaryName(targetName));
        const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, mode);
        if (fd < 0) {
            if (errno == EEXIST) continue;
            return -1;
        }
        int locked = ::flock(fd, LOCK_EX);
        while (locked != 0 && errno == EINTR) locked = ::flock(fd, LOCK_EX);
        // A remover that met the file before the lock was taken may have removed it meanwhile;
        // without locks on this file system nobody removes it.
        struct stat st {};
        created = 0;  // unknown: the caller sets the mode it wants
        if (locked != 0) return fd;
        if (::fstat(fd, &st) == 0 && st.st_nlink > 0) {
            created = st.st_mode;
            return fd;
        }
        ::close(fd);
    }
    errno = EEXIST;
    return -1;
}

// Whether this process may write the file st describes: the owner's bits answer for its owner
// and root answers for itself, without asking the kernel; anyone else asks.
bool mayWrite(const std::string& path, const struct stat& st) {
    static const uid_t self = ::geteuid();
    if (self == 0) return true;
    if (st.st_uid == self) return (st.st_mode & S_IWUSR) != 0;
    return ::access(path.c_str(), W_OK) == 0;
}

class PosixFileSystem final : public FileSystem {
public:
    explicit PosixFileSystem(fs::path root) : root_(std::move(root)) {}

private:
    // The names of a folder by their comparison key, read once and kept while the folder's
    // change time says nothing changed: without it, every new name in a folder of n entries
    // read all n of them, and unpacking or installing many files took quadratic time. This
    // process's own changes are noted as they are made, so they do not spoil the list.
    struct FolderNames {
        timespec changed{};
        ino_t inode = 0;
        // When this process's changes since the folder was last looked at ended; zero when none.
        timespec ownChangesUntil{};
        // The spellings of one key in byte order (nearly always one).
        std::unordered_map<std::string, std::set<std::string>> byKey;
    };

    static bool sameTime(const timespec& a, const timespec& b) {
        return a.tv_sec == b.tv_sec && a.tv_nsec == b.tv_nsec;
    }
    static bool later(const timespec& a, const timespec& b) {
        return a.tv_sec != b.tv_sec ? a.tv_sec > b.tv_sec : a.tv_nsec > b.tv_nsec;
    }

    // The entry of folder whose name Windows would take for name; the first in byte order when
    // several differ only in case. isFolder, when asked, tells whether folder is one at all.
    std::optional<std::string> findNoCaseCached(const std::string& folder, const std::string& name,
                                                bool* isFolder = nullptr) const {
        struct stat st {};
        const bool folderThere = ::stat(folder.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
        if (isFolder) *isFolder = folderThere;
        if (!folderThere) return std::nullopt;
        return findNoCaseIn(folder, st, name);
    }

    // The same in a folder whose status the caller has just taken.
    std::optional<std::string> findNoCaseIn(const std::string& folder, const struct stat& st,
                                            const std::string& name) const {
        const std::lock_guard lock(namesMutex_);
        FolderNames& names = folderNames_[folder];
        const bool ownChangesOnly = names.inode == st.st_ino && names.ownChangesUntil.tv_sec != 0 &&
                                    !later(st.st_mtim, names.ownChangesUntil);
        names.ownChangesUntil = {};
        if (ownChangesOnly) {
            names.changed = st.st_mtim;
        } else if (!sameTime(names.changed, st.st_mtim) || names.inode != st.st_ino) {
            names = FolderNames{st.st_mtim, st.st_ino, {}, {}};
            std::error_code ec;
            for (fs::directory_iterator it(folder, ec); !ec && it != fs::directory_iterator();
                 it.increment(ec)) {
                std::string entry = it->path().filename().string();
                names.byKey[nameKey(entry)].insert(std::move(entry));
            }
        }
        auto it = names.byKey.find(nameKey(name));
        if (it == names.byKey.end() || it->second.empty()) return std::nullopt;
        return *it->second.begin();
    }

    // The key foundFolders_ knows the folder of a parsed path's last name by.
    static std::string folderKey(const ParsedPath& parsed) {
        std::string key(1, parsed.drive);
        for (std::size_t i = 0; i + 1 < parsed.names.size(); ++i) {
            key += '\\';
            key += nameKey(parsed.names[i]);
        }
        return key;
    }

    // The host folder an earlier search found for key, with its status, while it is still there.
    std::optional<std::string> foundFolder(const std::string& key, struct stat& st) const {
        std::string host;
        {
            const std::lock_guard lock(namesMutex_);
            const auto found = foundFolders_.find(key);
            if (found == foundFolders_.end()) return std::nullopt;
            host = found->second.host;
        }
        const bool same = ::stat(host.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
        const std::lock_guard lock(namesMutex_);
        const auto found = foundFolders_.find(key);
        if (found == foundFolders_.end()) return std::nullopt;
        if (!same || found->second.host != host || found->second.device != st.st_dev ||
            found->second.inode != st.st_ino) {
            foundFolders_.erase(found);
            return std::nullopt;
        }
        return host;
    }

    void keepFoundFolder(std::string key, const std::string& host) const {
        struct stat st {};
        if (::stat(host.c_str(), &st) != 0 || !S_ISDIR(st.st_mode)) return;
        const std::lock_guard lock(namesMutex_);
        foundFolders_[std::move(key)] = FoundFolder{host, st.st_dev, st.st_ino};
    }

    // A folder this process has just made holds nothing: its names are known without reading
    // it, and the next name made in it (a folder chain, an installation's files) is looked up
    // in the kept list.
    void keepNewFolder(const std::string& host) const {
        struct stat st {};
        if (::lstat(host.c_str(), &st) != 0 || !S_ISDIR(st.st_mode)) return;
        const std::lock_guard lock(namesMutex_);
        folderNames_[host] = FolderNames{st.st_mtim, st.st_ino, {}, {}};
    }

    // A folder made or removed by this process may be what a kept search would now find.
    void forgetFoundFolders() const {
        const std::lock_guard lock(namesMutex_);
        foundFolders_.clear();
    }

    // After this process added or removed hostPath: the kept list of its folder follows. The
    // folder's new change time is not asked for here: the next look-up asks anyway, and takes a
    // change time no later than the end of this process's last change as that change's own.
    // A change by anyone else after that shows a later time and has the folder read again.
    // there: whether the entry is there now, when the caller knows.
    void noteChange(const std::string& path, std::optional<bool> there = std::nullopt) const {
        const std::string folder = parentOf(path);
        if (!isKept(folder)) return;
        const std::string entry = path.substr(path.rfind('/') + 1);
        const bool present = there ? *there : entryExists(path);
        timespec now{};
        ::clock_gettime(CLOCK_REALTIME, &now);
        const std::lock_guard lock(namesMutex_);
        auto found = folderNames_.find(folder);
        if (found == folderNames_.end()) return;
        auto& actual = found->second.byKey[nameKey(entry)];
        if (present) {
            actual.insert(entry);
        } else {
            actual.erase(entry);
        }
        found->second.ownChangesUntil = now;
    }

    // Notes the change a mutating call makes to winPath when it returns. The name is looked
    // up before the call, while the kept list still holds, and the call goes by that look-up.
    class NoteChange {
    public:
        NoteChange(const PosixFileSystem& files, std::string_view winPath)
            : files_(files), resolved_(files.resolve(winPath, true)) {}
        ~NoteChange() {
            if (resolved_ && !resolved_->isDriveRoot) files_.noteChange(resolved_->host, there_);
        }
        NoteChange(const NoteChange&) = delete;
        NoteChange& operator=(const NoteChange&) = delete;

        const std::optional<Resolved>& resolved() const { return resolved_; }
        // The call knows how it left the entry: no need to look.
        void settled(bool there) { there_ = there; }

    private:
        const PosixFileSystem& files_;
        std::optional<Resolved> resolved_;
        std::optional<bool> there_;
    };

    mutable std::mutex namesMutex_;
    mutable std::unordered_map<std::string, FolderNames> folderNames_;

    // Folders a look-up had to search for (a name not spelled as stored), by the key of their
    // Windows path: the host folder found, kept while that folder is still the one at that
    // host path. Programs spell a path the same way every time, so each such folder is
    // searched for once rather than name by name at every call.
    struct FoundFolder {
        std::string host;
        dev_t device = 0;
        ino_t inode = 0;
    };
    mutable std::unordered_map<std::string, FoundFolder> foundFolders_;  // under namesMutex_

    // What looked like writers' temporary files in each folder written to, when first written.
    std::mutex temporariesMutex_;
    std::unordered_map<std::string, std::vector<std::string>> temporaries_;

    bool isKept(const std::string& folder) const {
        const std::lock_guard lock(namesMutex_);
        return folderNames_.count(folder) != 0;
    }

    // Whether `missing` (a host path below drive, known not to be a folder) lies below a kept
    // folder that holds no name like the next one down. Only spellings as given are followed:
    // anything else is for the full look-up to settle.
    bool missingBelowKeptFolder(const std::string& drive, std::string missing) const {
        for (std::string folder = parentOf(missing); folder.size() >= drive.size();
             missing = folder, folder = parentOf(folder)) {
            if (isKept(folder)) {
                bool folderThere = false;
                const std::string name = missing.substr(folder.size() + (folder == "/" ? 0 : 1));
                return !findNoCaseCached(folder, name, &folderThere) && folderThere;
            }
            if (folder.size() == drive.size()) break;  // the drive's own folder
        }
        return false;
    }

    // A drive's folder as its link last said, and when the link was last looked at.
    static constexpr std::int64_t kDriveRecheckMs = 1000;
    struct DriveLink {
        ino_t inode = 0;
        off_t size = 0;
        timespec changed{};
        std::string folder;
        std::int64_t checkedMs = 0;
    };
    mutable std::mutex drivesMutex_;
    mutable std::array<DriveLink, 26> drives_;

public:
    std::optional<fs::path> hostPath(std::string_view winPath) const override {
        auto r = resolve(winPath);
        if (!r) return std::nullopt;
        return fs::path(r->host);
    }

    std::optional<std::string> readFile(std::string_view winPath) const override {
        auto r = resolve(winPath);
        if (!r || r->isDriveRoot) return std::nullopt;
        struct stat st {};
        const int fd = openRegular(r->host, O_RDONLY, 0, &st);
        if (fd < 0) return std::nullopt;
        std::string content;
        char buffer[65536];
        // A read of a regular file comes back short only at its end, so a file smaller than
        // the buffer takes one read; one that says it is empty (some kernel files do) is read
        // to its end.
        const bool small = st.st_size > 0 && st.st_size < static_cast<off_t>(sizeof buffer);
        // A large file read into a string grown step by step is copied at every step.
        if (!small && st.st_size > 0) content.reserve(static_cast<std::size_t>(st.st_size));
        for (;;) {
            const ssize_t n = ::read(fd, buffer, sizeof buffer);
            if (n < 0) {
                if (errno == EINTR) continue;
                ::close(fd);
                return std::nullopt;
            }
            if (n == 0) break;
            content.append(buffer, static_cast<std::size_t>(n));
            if (small && n < static_cast<ssize_t>(sizeof buffer)) break;
        }
        ::close(fd);
        return content;
    }

    bool writeFile(std::string_view winPath, std::string_view bytes) override {
        NoteChange note(*this, winPath);
        const bool written = replace(note.resolved(), bytes, false);
        if (written) note.settled(true);
        return written;
    }

    bool writeFileDurably(std::string_view winPath, std::string_view bytes) override {
        NoteChange note(*this, winPath);
        const bool written = replace(note.resolved(), bytes, true);
        if (written) note.settled(true);
        return written;
    }

    bool isLink(std::string_view winPath) const override {
        auto r = resolve(winPath);
        struct stat st {};
        return r && !r->isDriveRoot && ::lstat(r->host.c_str(), &st) == 0 && S_ISLNK(st.st_mode);
    }

    std::unique_ptr<Lock> lockExclusive(std::string_view winPath) override {
        const NoteChange note(*this, winPath);
        const auto& r = note.resolved();
        if (!r || r->isDriveRoot) return nullptr;
        const int fd = openRegular(r->host, O_RDWR | O_CREAT);
        if (fd < 0) return nullptr;
        while (::flock(fd, LOCK_EX) != 0) {
            if (errno != EINTR) {
                ::close(fd);
                return nullptr;
            }
        }
        return std::make_unique<FileLock>(fd);
    }

    bool exists(std::string_view winPath) const override {
        auto r = resolve(winPath);
        struct stat st {};
        return r && followedStatus(*r, st);
    }

    bool isDirectory(std::string_view winPath) const override {
        auto r = resolve(winPath);
        return r && isDir(r->host);
    }

    bool createDirectory(std::string_view winPath) override {
        NoteChange note(*this, winPath);
        const auto& r = note.resolved();
        if (!r) return false;
        struct stat st {};
        if (followedStatus(*r, st) && S_ISDIR(st.st_mode)) return true;
        if (::mkdir(r->host.c_str(), 0777) == 0) {
            forgetFoundFolders();
            keepNewFolder(r->host);
            note.settled(true);
            return true;
        }
        return errno == EEXIST && isDir(r->host);
    }

    bool removeDirectory(std::string_view winPath) override {
        const NoteChange note(*this, winPath);
        const auto& r = note.resolved();
        if (!r || r->isDriveRoot) return false;
        std::error_code ec;
        if (fs::symlink_status(r->host, ec).type() != fs::file_type::directory) return false;
        if (::rmdir(r->host.c_str()) != 0) return false;
        forgetFoundFolders();
        return true;
    }

    bool removeFile(std::string_view winPath) override {
        // A name spelled as stored goes at the first call (unlink refuses a folder itself);
        // any other spelling, or a refusal, takes the look-up.
        if (auto spelled = spelledPath(winPath); spelled && ::unlink(spelled->c_str()) == 0) {
            noteChange(*spelled, false);
            return true;
        }
        NoteChange note(*this, winPath);
        const auto& r = note.resolved();
        if (!r || r->isDriveRoot) return false;
        struct stat st {};
        if (!entryStatus(*r, st) || S_ISDIR(st.st_mode) || ::unlink(r->host.c_str()) != 0)
            return false;
        note.settled(false);
        return true;
    }

    bool copyFile(std::string_view from, std::string_view to, bool overwrite) override {
        NoteChange note(*this, to);
        const auto& target = note.resolved();
        if (!target || target->isDriveRoot) return false;
        // A source spelled as stored opens at the first try; only another spelling needs the
        // look-up of its names.
        struct stat st {};
        int in = -1;
        if (auto spelled = spelledPath(from)) in = openRegular(*spelled, O_RDONLY, 0, &st);
        if (in < 0) {
            auto source = resolve(from);
            if (!source || source->isDriveRoot) return false;
            in = openRegular(source->host, O_RDONLY, 0, &st);
        }
        if (in < 0) return false;
        const auto refuse = [in] {
            ::close(in);
            return false;
        };
        // What is there now, following a link as Windows would follow a junction.
        struct stat there {};
        const bool existed = followedStatus(*target, there);
        if (existed) {
            if (!overwrite || S_ISDIR(there.st_mode)) return refuse();
            // Copying a file onto itself would empty it.
            if (there.st_dev == st.st_dev && there.st_ino == st.st_ino) return refuse();
        }

        // A new file is written in place (O_EXCL: a file that appeared meanwhile is not
        // touched) and removed again if the copy fails.
        if (!existed) {
            const int out = ::open(target->host.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC,
                                   st.st_mode & 0777);
            if (out >= 0) {
                const bool ok = copyContents(in, out, st);
                ::close(in);
                if (::close(out) == 0 && ok) {
                    note.settled(true);
                    return true;
                }
                ::unlink(target->host.c_str());
                note.settled(false);
                return false;
            }
            if (errno != EEXIST || !overwrite) return refuse();
        }

        // Into a temporary file beside the target, then renamed over it: a failed copy leaves
        // an existing target as it was.
        std::string temp = parentOf(target->host) + "/.copy-XXXXXX";
        const int out = ::mkstemp(temp.data());
        if (out < 0) {
            ::close(in);
            return false;
        }
        ::fchmod(out, st.st_mode & 0777);
        bool ok = copyContents(in, out, st);
        ::close(in);
        ok = (::close(out) == 0) && ok;
        ok = ok && ::rename(temp.c_str(), target->host.c_str()) == 0;
        if (!ok) ::unlink(temp.c_str());
        return ok;
    }

    bool rename(std::string_view from, std::string_view to, bool replace) override {
        auto source = resolve(from);
        if (!source || source->isDriveRoot) return false;
        bool ok = false;
        {
            NoteChange note(*this, to);
            const auto& target = note.resolved();
            if (!target || target->isDriveRoot) return false;
            struct stat st {};
            if (!entryStatus(*source, st) || S_ISDIR(st.st_mode)) return false;
            ok = ::renameat2(AT_FDCWD, source->host.c_str(), AT_FDCWD, target->host.c_str(),
                             replace ? 0 : RENAME_NOREPLACE) == 0;
            // A file system without RENAME_NOREPLACE: a hard link refuses an existing name too.
            if (!ok && !replace && errno == EINVAL &&
                ::link(source->host.c_str(), target->host.c_str()) == 0)
                ok = ::unlink(source->host.c_str()) == 0;
            note.settled(ok);
        }
        if (ok) noteChange(source->host, false);
        return ok;
    }

    bool link(std::string_view existing, std::string_view name) override {
        auto source = resolve(existing);
        if (!source || source->isDriveRoot) return false;
        NoteChange note(*this, name);
        const auto& target = note.resolved();
        if (!target || target->isDriveRoot) return false;
        const bool ok = ::link(source->host.c_str(), target->host.c_str()) == 0;
        note.settled(ok);
        return ok;
    }

    std::optional<FileIdentity> identity(std::string_view winPath) const override {
        // Asked mostly of a name about to be written: the kept names of its folder answer a
        // new one without a look at the name itself.
        auto r = resolve(winPath, true);
        struct stat st {};
        if (!r || r->isDriveRoot || !entryStatus(*r, st)) return std::nullopt;
        FileIdentity id;
        id.regular = S_ISREG(st.st_mode);
        id.link = S_ISLNK(st.st_mode);
        id.size = static_cast<std::uint64_t>(st.st_size);
        id.modifiedNs = static_cast<std::int64_t>(st.st_mtim.tv_sec) * 1000000000 + st.st_mtim.tv_nsec;
        return id;
    }

    std::unique_ptr<File> open(std::string_view winPath, OpenMode mode) override {
        // Only a write may add a name; a read need not look at the folder afterwards.
        if (mode == OpenMode::Write) {
            NoteChange note(*this, winPath);
            const auto& r = note.resolved();
            // A link in the file's place is replaced, never written through: it may lead to
            // a file that is not ours to change.
            auto file = openResolved(r, O_WRONLY | O_CREAT | O_TRUNC | O_NOFOLLOW);
            if (!file && errno == ELOOP && r && ::unlink(r->host.c_str()) == 0)
                file = openResolved(r, O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW);
            if (file) note.settled(true);
            return file;
        }
        return openResolved(resolve(winPath), mode == OpenMode::ReadWrite ? O_RDWR : O_RDONLY);
    }

    bool setModifiedTime(std::string_view winPath, std::int64_t unixSeconds) override {
        auto r = resolve(winPath);
        if (!r || r->isDriveRoot) return false;
        // The access time is left as it is, as Windows leaves it.
        const timespec times[2] = {{0, UTIME_OMIT}, {static_cast<time_t>(unixSeconds), 0}};
        return ::utimensat(AT_FDCWD, r->host.c_str(), times, AT_SYMLINK_NOFOLLOW) == 0;
    }

    std::optional<std::int64_t> modifiedTime(std::string_view winPath) const override {
        auto r = resolve(winPath);
        struct stat st {};
        if (!r || ::lstat(r->host.c_str(), &st) != 0) return std::nullopt;
        return static_cast<std::int64_t>(st.st_mtim.tv_sec);
    }

    bool setAttributes(std::string_view winPath, std::uint32_t attributes) override {
        auto r = resolve(winPath);
        if (!r || r->isDriveRoot) return false;
        struct stat st {};
        if (!entryStatus(*r, st) || S_ISLNK(st.st_mode)) return false;
        const mode_t mode = withAttributes(st.st_mode & 07777, attributes);
        if (mode != (st.st_mode & 07777) && ::chmod(r->host.c_str(), mode) != 0) return false;
        // File systems without user attributes simply do without.
        const std::string text = dosAttribText(attributes);
        if (text.empty()) {
            ::removexattr(r->host.c_str(), kDosAttrib);
        } else {
            ::setxattr(r->host.c_str(), kDosAttrib, text.data(), text.size(), 0);
        }
        return true;
    }

    bool isReadOnly(std::string_view winPath) const override {
        auto r = resolve(winPath);
        struct stat st {};
        return r && followedStatus(*r, st) && (st.st_mode & 0222) == 0;
    }

    std::optional<std::uint32_t> attributes(std::string_view winPath) const override {
        auto r = resolve(winPath);
        struct stat st {};
        if (!r || !followedStatus(*r, st)) return std::nullopt;
        std::uint32_t attributes = 0;
        if (S_ISDIR(st.st_mode)) attributes |= 0x10;
        // The permission bits, not access(): root may write anything, yet a file without
        // write permission is still a read-only file.
        if ((st.st_mode & 0222) == 0) attributes |= kAttrReadOnly;
        char text[32] = {};
        const ssize_t n = ::getxattr(r->host.c_str(), kDosAttrib, text, sizeof text - 1);
        if (n > 0) {
            attributes |= static_cast<std::uint32_t>(std::strtoul(text, nullptr, 16)) &
                          (kAttrHidden | kAttrSystem | kAttrArchive);
        }
        return attributes;
    }

    std::vector<std::string> list(std::string_view folderWinPath, std::string_view pattern,
                                  bool includeFolders) const override {
        std::vector<std::string> names;
        auto r = resolve(folderWinPath);
        if (!r || pattern.empty()) return names;
        if (std::any_of(pattern.begin(), pattern.end(), isSeparator)) return names;
        std::error_code ec;
        fs::directory_iterator it(r->host, ec);
        if (ec) return names;
        for (; it != fs::directory_iterator(); it.increment(ec)) {
            if (ec) break;
            std::string name = it->path().filename().string();
            // A host name Windows could not spell is not reachable through this interface.
            if (!detail::isValidWindowsName(name)) continue;
            std::error_code typeEc;
            const bool dir = it->is_directory(typeEc);
            if (typeEc) continue;
            if (dir && !includeFolders) continue;
            if (!dir && !it->exists(typeEc)) continue;  // dangling link
            if (detail::matchWildcard(pattern, name)) names.push_back(std::move(name));
        }
        std::sort(names.begin(), names.end(), [](const std::string& a, const std::string& b) {
            const std::string fa = detail::foldName(a), fb = detail::foldName(b);
            return fa != fb ? fa < fb : a < b;
        });
        return names;
    }

    bool setExecutable(std::string_view winPath) override {
        auto r = resolve(winPath);
        struct stat st {};
        if (!r || r->isDriveRoot || ::lstat(r->host.c_str(), &st) != 0 || !S_ISREG(st.st_mode))
            return false;
        const mode_t mode = withExecute(st.st_mode & 07777);
        return mode == (st.st_mode & 07777) || ::chmod(r->host.c_str(), mode) == 0;
    }

private:
    static std::unique_ptr<File> openResolved(const std::optional<Resolved>& r, int flags) {
        if (!r || r->isDriveRoot) return nullptr;
        struct stat st {};
        const int fd = openRegular(r->host, flags, 0666, &st);
        if (fd < 0) return nullptr;
        return std::make_unique<PosixFile>(fd, st.st_mode);
    }

    // The drive's folder; a link is followed one step by its text so that the result stays
    // spelled below $WINROOT (drive_c) rather than wherever the root's own path leads. Every
    // operation starts here, so what the link says is kept, and the link itself looked at
    // again only when a moment has passed: drives are mapped when a root is made, not while
    // the programs run.
    std::optional<std::string> driveFolder(char drive) const {
        timespec clock{};
        ::clock_gettime(CLOCK_MONOTONIC_COARSE, &clock);
        const std::int64_t now = clock.tv_sec * 1000 + clock.tv_nsec / 1000000;
        DriveLink& known = drives_[static_cast<unsigned char>(drive - 'a') % drives_.size()];
        const std::lock_guard lock(drivesMutex_);
        if (!known.folder.empty() && now - known.checkedMs < kDriveRecheckMs) return known.folder;

        const std::string entry = joinHost(root_.native(), "dosdevices/") + drive + ":";
        struct stat st {};
        if (::lstat(entry.c_str(), &st) != 0) return std::nullopt;
        if (!S_ISLNK(st.st_mode)) {
            if (!S_ISDIR(st.st_mode)) return std::nullopt;
            known = DriveLink{st.st_ino, st.st_size, st.st_mtim, entry, now};
            return entry;
        }
        // A link is replaced, never changed, so a new inode, length or time says it was.
        if (known.folder.empty() || known.inode != st.st_ino || known.size != st.st_size ||
            !sameTime(known.changed, st.st_mtim)) {
            std::error_code ec;
            fs::path target = fs::read_symlink(entry, ec);
            if (ec) return std::nullopt;
            fs::path folder =
                target.is_absolute() ? target : (fs::path(entry).parent_path() / target);
            std::string normal = folder.lexically_normal().string();
            // A link "../drive_c/" leaves a trailing "/", which names would be joined after.
            if (normal.size() > 1 && normal.back() == '/') normal.pop_back();
            if (!isDir(normal)) return std::nullopt;
            known = DriveLink{st.st_ino, st.st_size, st.st_mtim, std::move(normal), now};
        }
        known.checkedMs = now;
        return known.folder;
    }

    // The new bytes go to a file beside the target that then takes the target's name, so a
    // reader or a crash sees the old file or the new one and never a part of either; a link in
    // the target's place is replaced rather than followed, and a hard link's other names keep
    // the old bytes.
    bool replace(const std::optional<Resolved>& r, std::string_view bytes, bool durable) {
        if (!r || r->isDriveRoot) return false;
        struct stat st {};
        mode_t mode = 0666;  // narrowed by the umask when created
        std::string dosAttrib;
        if (::lstat(r->host.c_str(), &st) == 0) {
            if (S_ISREG(st.st_mode)) {
                // Windows refuses to overwrite a read-only file; so does this.
                if ((st.st_mode & 0222) == 0 || !mayWrite(r->host, st)) {
                    errno = EACCES;
                    return false;
                }
                mode = st.st_mode & 07777;
                char text[32];
                const ssize_t n = ::lgetxattr(r->host.c_str(), kDosAttrib, text, sizeof text);
                if (n > 0) dosAttrib.assign(text, static_cast<std::size_t>(n));
            } else if (!S_ISLNK(st.st_mode)) {
                return false;  // a folder, FIFO or device is not a file to replace
            }
        } else if (errno != ENOENT) {
            return false;
        }

        // Whatever an earlier writer of this file left when it died goes first, so such files
        // cannot pile up, whichever process id they carry.
        const std::string folder = parentOf(r->host);
        const std::string targetName = r->host.substr(r->host.rfind('/') + 1);
        std::vector<std::string> removed;
        {
            // The folder is read for them once: a writer that dies after that leaves its file
            // to the next process that writes here.
            const std::lock_guard lock(temporariesMutex_);
            auto [left, first] = temporaries_.try_emplace(folder);
            if (first) left->second = temporariesIn(folder);
            removed = removeAbandonedTemporaries(folder, targetName, left->second);
        }
        for (const std::string& name : removed) noteChange(joinHost(folder, name), false);

        std::string temp;
        mode_t created = 0;
        const int fd = createTemporary(folder, targetName, mode, temp, created);
        if (fd < 0) return false;
        bool ok = detail::writeAll(fd, bytes);
        if (ok && S_ISREG(st.st_mode) && (created & 07777) != mode) ok = ::fchmod(fd, mode) == 0;
        if (ok && !dosAttrib.empty())
            ::fsetxattr(fd, kDosAttrib, dosAttrib.data(), dosAttrib.size(), 0);
        if (ok && durable) ok = ::fsync(fd) == 0;
        // The lock stays with a second descriptor until the file has the target's name; the
        // first is closed now, as a late write error shows there.
        const int held = ::fcntl(fd, F_DUPFD_CLOEXEC, 0);
        ok = (::close(fd) == 0) && ok;
        ok = ok && moveIntoPlace(temp, r->host, !durable && S_ISREG(st.st_mode));
        if (!ok) {
            const int saved = errno;
            ::unlink(temp.c_str());
            if (held >= 0) ::close(held);
            errno = saved;
            return false;
        }
        if (held >= 0) ::close(held);
        if (durable) {
            // The new name itself must survive a power cut too.
            const int dir = ::open(parentOf(r->host).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
            if (dir >= 0) {
                ::fsync(dir);
                ::close(dir);
            }
        }
        return true;
    }

    // The host path of a file's name exactly as written, looked up nowhere.
    std::optional<std::string> spelledPath(std::string_view winPath) const {
        auto parsed = parseWinPath(winPath);
        if (!parsed || parsed->names.empty()) return std::nullopt;
        auto path = driveFolder(parsed->drive);
        if (!path) return std::nullopt;
        for (const std::string& name : parsed->names) *path = joinHost(std::move(*path), name);
        return path;
    }

    // forChange: the call is about to add or remove the name. Such a call mostly creates a new
    // file in a folder whose names are already kept, and the kept names then answer at once.
    std::optional<Resolved> resolve(std::string_view winPath, bool forChange = false) const {
        auto parsed = parseWinPath(winPath);
        if (!parsed) return std::nullopt;
        auto drive = driveFolder(parsed->drive);
        if (!drive) return std::nullopt;
        Resolved result;
        result.host = *drive;
        result.isDriveRoot = parsed->names.empty();
        // Nearly every path the programs use is spelled as it is stored: when the whole path
        // exists as given, each of its names matched exactly, and one look-up settles it.
        // (Built as text: a path object takes itself apart again at every step.)
        std::string exact = *drive;
        for (const std::string& name : parsed->names) exact = joinHost(std::move(exact), name);
        if (forChange && parsed->names.size() > 1 && isKept(parentOf(exact))) {
            bool folderThere = false;
            if (!findNoCaseCached(parentOf(exact), parsed->names.back(), &folderThere) &&
                folderThere) {
                result.host = std::move(exact);
                result.entry = Resolved::Entry::Missing;
                return result;
            }
        }
        // A folder an earlier call had to search for: only the last name needs looking up, and
        // the path as spelled, which is known not to exist, need not be tried first.
        std::string key;
        if (parsed->names.size() > 1) {
            key = folderKey(*parsed);
            struct stat st {};
            if (auto folder = foundFolder(key, st)) {
                auto match = findNoCaseIn(*folder, st, parsed->names.back());
                result.host = joinHost(*folder, match ? *match : parsed->names.back());
                if (!match) result.entry = Resolved::Entry::Missing;
                return result;
            }
        }
        if (!result.isDriveRoot && ::lstat(exact.c_str(), &result.status) == 0) {
            result.host = std::move(exact);
            result.entry = Resolved::Entry::Present;
            return result;
        }
        // A new name in a folder spelled as stored (every file a program creates): only the
        // last name needs looking up.
        if (parsed->names.size() > 1) {
            bool folderThere = false;
            const std::string& last = parsed->names.back();
            const std::string folder = parentOf(exact);
            auto match = findNoCaseCached(folder, last, &folderThere);
            if (folderThere) {
                result.host = match ? joinHost(folder, *match) : std::move(exact);
                if (!match) result.entry = Resolved::Entry::Missing;
                return result;
            }
            // Deeper below a folder whose names are kept (a chain of new folders being made):
            // when that folder has no name like the next one, nothing below it exists.
            if (missingBelowKeptFolder(*drive, folder)) {
                result.host = std::move(exact);
                result.entry = Resolved::Entry::Missing;
                return result;
            }
        }
        bool lookUp = true;
        for (std::size_t i = 0; i < parsed->names.size(); ++i) {
            const std::string& name = parsed->names[i];
            if (lookUp && i + 1 == parsed->names.size() && !key.empty())
                keepFoundFolder(std::move(key), result.host);
            if (lookUp) {
                std::string next = joinHost(result.host, name);
                if (entryExists(next)) {
                    result.host = std::move(next);
                    continue;
                }
                if (auto match = findNoCaseCached(result.host, name)) {
                    result.host = joinHost(std::move(result.host), *match);
                    continue;
                }
                // Nothing below a missing name can exist.
                lookUp = false;
            }
            result.host = joinHost(std::move(result.host), name);
        }
        return result;
    }

    fs::path root_;
};

}  // namespace

std::unique_ptr<FileSystem> makePosixFileSystem(const fs::path& root) {
    return std::make_unique<PosixFileSystem>(root);
}

}  // namespace platform
