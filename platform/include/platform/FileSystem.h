#pragma once
// The file system as the programs see it: Windows paths ("c:\program files\dezovur\temp.dat")
// resolved inside $WINROOT. Names match without regard to letter case (Greek included) and
// trailing blanks and periods of a name are ignored, as on Windows. A path never resolves
// outside its drive's folder: ".." stops at the drive root.

#include <cstdint>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace platform {

// An open file, read or written piece by piece (cabinet extraction streams through this).
class File {
public:
    enum class Whence { Start, Current, End };
    virtual ~File() = default;
    // Bytes read or written; -1 on failure. A read of 0 is the end of the file.
    virtual std::int64_t read(void* buffer, std::size_t size) = 0;
    virtual std::int64_t write(const void* data, std::size_t size) = 0;
    virtual bool seek(std::int64_t offset, Whence whence) = 0;
    virtual std::int64_t tell() const = 0;
    // The same as FileSystem's calls of these names, through the open file once its last byte
    // is written, with no second look-up of its name. False where the file cannot (the
    // caller then goes by name).
    virtual bool setModifiedTime(std::int64_t unixSeconds) {
        (void)unixSeconds;
        return false;
    }
    virtual bool setAttributes(std::uint32_t attributes) {
        (void)attributes;
        return false;
    }
    virtual bool setExecutable() { return false; }
};

// Windows file attributes as stored with a file.
inline constexpr std::uint32_t kAttrReadOnly = 0x01;
inline constexpr std::uint32_t kAttrHidden = 0x02;
inline constexpr std::uint32_t kAttrSystem = 0x04;
inline constexpr std::uint32_t kAttrArchive = 0x20;

class FileSystem {
public:
    virtual ~FileSystem() = default;

    // The host path a Windows path resolves to. Existing components are matched
    // case-insensitively; missing ones keep the spelling given (trailing blanks and
    // periods removed). Empty when the path is not a valid absolute Windows path or
    // names a drive that does not exist.
    virtual std::optional<std::filesystem::path> hostPath(std::string_view winPath) const = 0;

    // Whole file, raw bytes. Empty when missing or unreadable.
    virtual std::optional<std::string> readFile(std::string_view winPath) const = 0;
    // Creates or truncates the file; an existing file under another letter case keeps its name.
    virtual bool writeFile(std::string_view winPath, std::string_view bytes) = 0;

    virtual bool exists(std::string_view winPath) const = 0;
    virtual bool isDirectory(std::string_view winPath) const = 0;
    // One level; true when the folder exists afterwards.
    virtual bool createDirectory(std::string_view winPath) = 0;
    // Only an empty folder.
    virtual bool removeDirectory(std::string_view winPath) = 0;
    virtual bool removeFile(std::string_view winPath) = 0;
    virtual bool copyFile(std::string_view from, std::string_view to, bool overwrite) = 0;

    // Names (not paths) of the entries of a folder that match a Windows wildcard
    // ("*.*", "*.dat", "f?.txt"), files only unless includeFolders.
    virtual std::vector<std::string> list(std::string_view folderWinPath, std::string_view pattern,
                                          bool includeFolders = false) const = 0;

    enum class OpenMode {
        Read,
        Write,      // created when missing, emptied when it exists
        ReadWrite,  // an existing file
    };
    // Regular files only; null on failure.
    virtual std::unique_ptr<File> open(std::string_view winPath, OpenMode mode) = 0;
    // The last-write time, in seconds since 1970-01-01 UTC.
    virtual bool setModifiedTime(std::string_view winPath, std::int64_t unixSeconds) = 0;
    virtual std::optional<std::int64_t> modifiedTime(std::string_view winPath) const = 0;
    // Read-only is the lack of write permission; hidden, system and archive are kept where the
    // host file system can keep them (an extended attribute) and silently dropped elsewhere.
    virtual bool setAttributes(std::string_view winPath, std::uint32_t attributes) = 0;
    virtual std::optional<std::uint32_t> attributes(std::string_view winPath) const = 0;
    // The read-only attribute alone, for a caller that needs no more.
    virtual bool isReadOnly(std::string_view winPath) const {
        const auto all = attributes(winPath);
        return all && (*all & kAttrReadOnly);
    }
    // Lets the host run the file: execute permission for its owner and for whoever may read
    // it. A cabinet carries no permissions, so extracted programs of this host need it.
    virtual bool setExecutable(std::string_view winPath) {
        (void)winPath;
        return false;
    }

    // --- moving, linking and identity ----------------------------------------------------
    // Gives a file (or a link itself, never what it points to) another name in the same file
    // system. An existing entry of the new name (matched as Windows matches names, so its
    // spelling is kept) is replaced only when replace is set. Folders are not moved.
    virtual bool rename(std::string_view from, std::string_view to, bool replace) {
        (void)from, (void)to, (void)replace;
        return false;
    }
    // A second name for an existing file; false when the name is taken or the file system
    // has no hard links.
    virtual bool link(std::string_view existing, std::string_view name) {
        (void)existing, (void)name;
        return false;
    }
    // What an entry is, without following a link in its place: enough to tell later whether
    // someone wrote it again.
    struct FileIdentity {
        bool regular = false;
        bool link = false;
        std::uint64_t size = 0;
        std::int64_t modifiedNs = 0;
    };
    virtual std::optional<FileIdentity> identity(std::string_view winPath) const {
        (void)winPath;
        return std::nullopt;
    }

    // --- safe replacement and locking ---------------------------------------------------
    // writeFile replaces a file through a temporary file beside it renamed over it: a reader
    // sees the old bytes or the new ones, never a part, and a link in its place is replaced,
    // not written through. A file without write permission is refused, as Windows refuses a
    // read-only file. This one also makes the bytes durable before the rename, for data that
    // cannot be recomputed.
    virtual bool writeFileDurably(std::string_view winPath, std::string_view bytes) {
        return writeFile(winPath, bytes);
    }
    // True when the entry itself is a symbolic link (dangling or not).
    virtual bool isLink(std::string_view) const { return false; }
    // Held while it lives; released by destruction (or by the holder's death).
    class Lock {
    public:
        virtual ~Lock() = default;
    };
    // Waits for and takes the exclusive lock on the lock file winPath (created when missing).
    // Null when the lock file cannot be opened. A file system that only one process sees has
    // nobody to exclude, so its lock is free.
    virtual std::unique_ptr<Lock> lockExclusive(std::string_view) {
        return std::make_unique<Lock>();
    }
};

}  // namespace platform
