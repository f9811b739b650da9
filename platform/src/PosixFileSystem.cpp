// Windows paths on a POSIX host. A path is turned into a host path once per operation:
// the drive letter picks $WINROOT/dosdevices/<x>:, ".." is applied to the text before anything
// is looked up (so it stops at the drive root), and each remaining name is matched against the
// folder's entries the way Windows compares names.

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <sys/xattr.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <map>
#include <mutex>
#include <set>
#include <unordered_map>
#include <system_error>

#include "PosixIo.h"
#include "WinText.h"
#include "platform/WinRoot.h"

namespace platform {

namespace fs = std::filesystem;

namespace {

bool isSeparator(char c) {
    return c == '\\' || c == '/';
}

// Characters Windows never allows inside a file name.
bool isForbiddenInName(char c) {
    const auto u = static_cast<unsigned char>(c);
    if (u < 0x20 || u == 0x7F) return true;
    switch (c) {
        case '<':
        case '>':
        case ':':
        case '"':
        case '|':
        case '?':
        case '*':
        case '\\':
        case '/':
            return true;
        default:
            return false;
    }
}

bool isValidName(std::string_view name) {
    return std::none_of(name.begin(), name.end(), isForbiddenInName);
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
        if (!isValidName(component)) return std::nullopt;
        const std::string_view name = stripTrailing(component);
        if (name.empty()) continue;  // "...", " ": the same folder, as on Windows
        parsed.names.emplace_back(name);
    }
    return parsed;
}

// Every error is reported through the result; no std::filesystem call here throws.
bool isDir(const fs::path& p) {
    std::error_code ec;
    return fs::is_directory(p, ec);
}

bool entryExists(const fs::path& p) {
    std::error_code ec;
    return fs::symlink_status(p, ec).type() != fs::file_type::not_found && !ec;
}

// The entry of folder whose name Windows would take for name; the first in byte order when
// several differ only in case.
// Opens a regular file only: a FIFO or device met on the way must not block or be written.
int openRegular(const fs::path& p, int flags, mode_t mode = 0666) {
    const int fd = ::open(p.c_str(), flags | O_NONBLOCK | O_CLOEXEC, mode);
    if (fd < 0) return -1;
    struct stat st {};
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        ::close(fd);
        return -1;
    }
    // O_NONBLOCK changes nothing for a regular file, so it can stay set.
    return fd;
}

struct Resolved {
    fs::path host;
    bool isDriveRoot = false;
};

constexpr const char* kDosAttrib = "user.DOSATTRIB";

// The data, last-write time and DOS attributes of in, copied into out as Windows copies a
// file. The kernel copies (or shares the blocks, where the file system can); read and write
// only where it cannot between these two files.
bool copyContents(int in, int out, const struct stat& st) {
    bool kernel = true;
    for (;;) {
        const ssize_t n = ::copy_file_range(in, nullptr, out, nullptr, 1 << 30, 0);
        if (n > 0) continue;
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
    explicit PosixFile(int fd) : fd_(fd) {}
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

private:
    int fd_;
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

// A name beside the target that no other writer picks: the process and a per-process count.
std::string temporaryName(const fs::path& target) {
    static std::atomic<unsigned> counter{0};
    return "." + target.filename().string().substr(0, 120) + "." + std::to_string(::getpid()) +
           "." + std::to_string(counter++) + ".new";
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
        std::map<std::string, std::set<std::string>> byKey;
    };

    static bool sameTime(const timespec& a, const timespec& b) {
        return a.tv_sec == b.tv_sec && a.tv_nsec == b.tv_nsec;
    }

    std::optional<std::string> findNoCaseCached(const fs::path& folder,
                                                const std::string& name) const {
        struct stat st {};
        if (::stat(folder.c_str(), &st) != 0 || !S_ISDIR(st.st_mode)) return std::nullopt;
        const std::lock_guard lock(namesMutex_);
        FolderNames& names = folderNames_[folder.string()];
        if (!sameTime(names.changed, st.st_mtim) || names.inode != st.st_ino) {
            names = FolderNames{st.st_mtim, st.st_ino, {}};
            std::error_code ec;
            for (fs::directory_iterator it(folder, ec); !ec && it != fs::directory_iterator();
                 it.increment(ec)) {
                std::string entry = it->path().filename().string();
                names.byKey[detail::foldName(stripTrailing(entry))].insert(std::move(entry));
            }
        }
        auto it = names.byKey.find(detail::foldName(name));
        if (it == names.byKey.end() || it->second.empty()) return std::nullopt;
        return *it->second.begin();
    }

    // After this process added or removed hostPath: the kept list of its folder follows.
    void noteChange(const fs::path& hostPath) const {
        const fs::path folder = hostPath.parent_path();
        const std::lock_guard lock(namesMutex_);
        auto found = folderNames_.find(folder.string());
        if (found == folderNames_.end()) return;
        struct stat st {};
        if (::stat(folder.c_str(), &st) != 0) {
            folderNames_.erase(found);
            return;
        }
        const std::string entry = hostPath.filename().string();
        auto& actual = found->second.byKey[detail::foldName(stripTrailing(entry))];
        if (entryExists(hostPath)) {
            actual.insert(entry);
        } else {
            actual.erase(entry);
        }
        found->second.changed = st.st_mtim;
    }

    // Notes the change a mutating call makes to winPath when it returns. The name is looked
    // up before the call, while the kept list still holds.
    class NoteChange {
    public:
        NoteChange(const PosixFileSystem& files, std::string_view winPath) : files_(files) {
            if (auto r = files_.resolve(winPath); r && !r->isDriveRoot) host_ = std::move(r->host);
        }
        ~NoteChange() {
            if (host_) files_.noteChange(*host_);
        }
        NoteChange(const NoteChange&) = delete;
        NoteChange& operator=(const NoteChange&) = delete;

    private:
        const PosixFileSystem& files_;
        std::optional<fs::path> host_;
    };

    mutable std::mutex namesMutex_;
    mutable std::unordered_map<std::string, FolderNames> folderNames_;

public:

    std::optional<fs::path> hostPath(std::string_view winPath) const override {
        auto r = resolve(winPath);
        if (!r) return std::nullopt;
        return r->host;
    }

    std::optional<std::string> readFile(std::string_view winPath) const override {
        auto r = resolve(winPath);
        if (!r || r->isDriveRoot) return std::nullopt;
        const int fd = openRegular(r->host, O_RDONLY);
        if (fd < 0) return std::nullopt;
        std::string content;
        char buffer[65536];
        for (;;) {
            const ssize_t n = ::read(fd, buffer, sizeof buffer);
            if (n < 0) {
                if (errno == EINTR) continue;
                ::close(fd);
                return std::nullopt;
            }
            if (n == 0) break;
            content.append(buffer, static_cast<std::size_t>(n));
        }
        ::close(fd);
        return content;
    }

    bool writeFile(std::string_view winPath, std::string_view bytes) override {
        const NoteChange note(*this, winPath);
        return replace(winPath, bytes, false);
    }

    bool writeFileDurably(std::string_view winPath, std::string_view bytes) override {
        const NoteChange note(*this, winPath);
        return replace(winPath, bytes, true);
    }

    bool isLink(std::string_view winPath) const override {
        auto r = resolve(winPath);
        struct stat st {};
        return r && !r->isDriveRoot && ::lstat(r->host.c_str(), &st) == 0 && S_ISLNK(st.st_mode);
    }

    std::unique_ptr<Lock> lockExclusive(std::string_view winPath) override {
        const NoteChange note(*this, winPath);
        auto r = resolve(winPath);
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
        if (!r) return false;
        std::error_code ec;
        return fs::exists(r->host, ec);
    }

    bool isDirectory(std::string_view winPath) const override {
        auto r = resolve(winPath);
        return r && isDir(r->host);
    }

    bool createDirectory(std::string_view winPath) override {
        const NoteChange note(*this, winPath);
        auto r = resolve(winPath);
        if (!r) return false;
        if (isDir(r->host)) return true;
        if (::mkdir(r->host.c_str(), 0777) == 0) return true;
        return errno == EEXIST && isDir(r->host);
    }

    bool removeDirectory(std::string_view winPath) override {
        const NoteChange note(*this, winPath);
        auto r = resolve(winPath);
        if (!r || r->isDriveRoot) return false;
        std::error_code ec;
        if (fs::symlink_status(r->host, ec).type() != fs::file_type::directory) return false;
        return ::rmdir(r->host.c_str()) == 0;
    }

    bool removeFile(std::string_view winPath) override {
        const NoteChange note(*this, winPath);
        auto r = resolve(winPath);
        if (!r || r->isDriveRoot) return false;
        std::error_code ec;
        const auto type = fs::symlink_status(r->host, ec).type();
        if (ec || type == fs::file_type::not_found || type == fs::file_type::directory)
            return false;
        return ::unlink(r->host.c_str()) == 0;
    }

    bool copyFile(std::string_view from, std::string_view to, bool overwrite) override {
        const NoteChange note(*this, to);
        auto source = resolve(from);
        auto target = resolve(to);
        if (!source || !target || source->isDriveRoot || target->isDriveRoot) return false;
        std::error_code ec;
        const bool existed = fs::exists(target->host, ec);
        if (existed) {
            if (!overwrite || isDir(target->host)) return false;
            // Copying a file onto itself would empty it.
            if (fs::equivalent(source->host, target->host, ec) || ec) return false;
        }
        const int in = openRegular(source->host, O_RDONLY);
        if (in < 0) return false;
        struct stat st {};
        ::fstat(in, &st);

        // A new file is written in place (O_EXCL: a file that appeared meanwhile is not
        // touched) and removed again if the copy fails.
        if (!existed) {
            const int out = ::open(target->host.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC,
                                   st.st_mode & 0777);
            if (out >= 0) {
                const bool ok = copyContents(in, out, st);
                ::close(in);
                if (::close(out) == 0 && ok) return true;
                ::unlink(target->host.c_str());
                return false;
            }
            if (errno != EEXIST || !overwrite) {
                ::close(in);
                return false;
            }
        }

        // Into a temporary file beside the target, then renamed over it: a failed copy leaves
        // an existing target as it was.
        std::string temp = (target->host.parent_path() / ".copy-XXXXXX").string();
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

    std::unique_ptr<File> open(std::string_view winPath, OpenMode mode) override {
        const NoteChange note(*this, winPath);
        auto r = resolve(winPath);
        if (!r || r->isDriveRoot) return nullptr;
        int flags = O_RDONLY;
        if (mode == OpenMode::Write) flags = O_WRONLY | O_CREAT | O_TRUNC;
        if (mode == OpenMode::ReadWrite) flags = O_RDWR;
        const int fd = openRegular(r->host, flags);
        if (fd < 0) return nullptr;
        return std::make_unique<PosixFile>(fd);
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
        if (::lstat(r->host.c_str(), &st) != 0 || S_ISLNK(st.st_mode)) return false;
        mode_t mode = st.st_mode & 07777;
        if (attributes & kAttrReadOnly) {
            mode &= ~mode_t(0222);
        } else {
            mode |= S_IWUSR;
        }
        if (::chmod(r->host.c_str(), mode) != 0) return false;
        // The extended attribute other Windows-compatibility layers keep ("0x22"); file
        // systems without user attributes simply do without.
        const std::uint32_t kept = attributes & (kAttrHidden | kAttrSystem | kAttrArchive);
        char text[16];
        const int n = std::snprintf(text, sizeof text, "0x%x", static_cast<unsigned>(kept));
        if (kept == 0) {
            ::removexattr(r->host.c_str(), kDosAttrib);
        } else {
            ::setxattr(r->host.c_str(), kDosAttrib, text, static_cast<std::size_t>(n), 0);
        }
        return true;
    }

    std::optional<std::uint32_t> attributes(std::string_view winPath) const override {
        auto r = resolve(winPath);
        struct stat st {};
        if (!r || ::stat(r->host.c_str(), &st) != 0) return std::nullopt;
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
            if (!isValidName(name)) continue;
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
        // Execute goes exactly where read is allowed.
        const mode_t mode = (st.st_mode & 07777) | ((st.st_mode & 0444) >> 2);
        return ::chmod(r->host.c_str(), mode) == 0;
    }

private:
    // The drive's folder; a link is followed one step by its text so that the result stays
    // spelled below $WINROOT (drive_c) rather than wherever the root's own path leads.
    std::optional<fs::path> driveFolder(char drive) const {
        const fs::path entry = root_ / "dosdevices" / (std::string(1, drive) + ":");
        std::error_code ec;
        const auto status = fs::symlink_status(entry, ec);
        fs::path folder = entry;
        if (fs::is_symlink(status)) {
            fs::path target = fs::read_symlink(entry, ec);
            if (ec) return std::nullopt;
            folder = target.is_absolute() ? target : (entry.parent_path() / target);
            folder = folder.lexically_normal();
        }
        if (!isDir(folder)) return std::nullopt;
        return folder;
    }

    // The new bytes go to a file beside the target that then takes the target's name, so a
    // reader or a crash sees the old file or the new one and never a part of either; a link in
    // the target's place is replaced rather than followed, and a hard link's other names keep
    // the old bytes.
    bool replace(std::string_view winPath, std::string_view bytes, bool durable) {
        auto r = resolve(winPath);
        if (!r || r->isDriveRoot) return false;
        struct stat st {};
        mode_t mode = 0666;  // narrowed by the umask when created
        std::string dosAttrib;
        if (::lstat(r->host.c_str(), &st) == 0) {
            if (S_ISREG(st.st_mode)) {
                // Windows refuses to overwrite a read-only file; so does this.
                if ((st.st_mode & 0222) == 0 || ::access(r->host.c_str(), W_OK) != 0) {
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

        const fs::path temp = r->host.parent_path() / temporaryName(r->host);
        const int fd = ::open(temp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, mode);
        if (fd < 0) return false;
        bool ok = detail::writeAll(fd, bytes);
        if (ok && S_ISREG(st.st_mode)) ok = ::fchmod(fd, mode) == 0;
        if (ok && !dosAttrib.empty())
            ::fsetxattr(fd, kDosAttrib, dosAttrib.data(), dosAttrib.size(), 0);
        if (ok && durable) ok = ::fsync(fd) == 0;
        ok = (::close(fd) == 0) && ok;
        ok = ok && moveIntoPlace(temp, r->host, !durable && S_ISREG(st.st_mode));
        if (!ok) {
            const int saved = errno;
            ::unlink(temp.c_str());
            errno = saved;
            return false;
        }
        if (durable) {
            // The new name itself must survive a power cut too.
            const int dir =
                ::open(r->host.parent_path().c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
            if (dir >= 0) {
                ::fsync(dir);
                ::close(dir);
            }
        }
        return true;
    }

    std::optional<Resolved> resolve(std::string_view winPath) const {
        auto parsed = parseWinPath(winPath);
        if (!parsed) return std::nullopt;
        auto drive = driveFolder(parsed->drive);
        if (!drive) return std::nullopt;
        Resolved result;
        result.host = *drive;
        result.isDriveRoot = parsed->names.empty();
        // Nearly every path the programs use is spelled as it is stored: when the whole path
        // exists as given, each of its names matched exactly, and one look-up settles it.
        fs::path exact = *drive;
        for (const std::string& name : parsed->names) exact /= name;
        if (!result.isDriveRoot && entryExists(exact)) {
            result.host = std::move(exact);
            return result;
        }
        // A new name in a folder spelled as stored (every file a program creates): only the
        // last name needs looking up.
        if (parsed->names.size() > 1 && isDir(exact.parent_path())) {
            result.host = exact.parent_path();
            const std::string& last = parsed->names.back();
            auto match = findNoCaseCached(result.host, last);
            result.host /= match ? *match : last;
            return result;
        }
        bool lookUp = true;
        for (const std::string& name : parsed->names) {
            if (lookUp) {
                if (entryExists(result.host / name)) {
                    result.host /= name;
                    continue;
                }
                if (auto match = findNoCaseCached(result.host, name)) {
                    result.host /= *match;
                    continue;
                }
                // Nothing below a missing name can exist.
                lookUp = false;
            }
            result.host /= name;
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
