// Profile files over the Windows paths of a FileSystem. Reads take the file whole; a write is
// a read-modify-write under an exclusive flock on the file itself, written to a temporary file
// beside it and renamed into place, so readers never see half a file and two writers lose
// nothing. The lock is on the file (no lock file left in the user's folders): a writer that
// wins the lock on a file already replaced starts again on the new one.

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cctype>
#include <cerrno>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <string>

#include "PosixIo.h"
#include "platform/FileSystem.h"
#include "platform/Profile.h"
#include "platform/codec/ProfileSyntax.h"

namespace platform {

namespace fs = std::filesystem;

namespace {

bool readAll(int fd, std::string& out) {
    char buffer[65536];
    for (;;) {
        const ssize_t n = ::read(fd, buffer, sizeof buffer);
        if (n == 0) return true;
        if (n < 0) {
            if (errno == EINTR) continue;
            return false;
        }
        out.append(buffer, static_cast<std::size_t>(n));
    }
}

// The file's new bytes from its old ones (empty for a missing file); empty: leave it alone.
using Edit = std::function<std::optional<std::string>(std::string_view)>;

// Returns false when the file cannot be locked, read or replaced, or the edit refuses.
bool editHostFile(const fs::path& host, const Edit& edit) {
    std::error_code ec;
    if (!fs::is_directory(host.parent_path(), ec)) return false;
    // Replacing a link would cut it; writing through it could reach outside the drive.
    if (fs::is_symlink(fs::symlink_status(host, ec))) return false;
    for (int attempt = 0; attempt < 100; ++attempt) {
        bool created = false;
        int fd = ::open(host.c_str(), O_RDWR | O_CLOEXEC);
        if (fd < 0 && errno == ENOENT) {
            fd = ::open(host.c_str(), O_RDWR | O_CREAT | O_EXCL | O_CLOEXEC, 0644);
            created = fd >= 0;
            if (fd < 0 && errno == EEXIST) continue;
        }
        if (fd < 0) return false;
        const auto fail = [&] {
            if (created) ::unlink(host.c_str());
            ::close(fd);
            return false;
        };
        while (::flock(fd, LOCK_EX) != 0) {
            if (errno != EINTR) return fail();
        }
        struct stat held {};
        struct stat now {};
        if (::fstat(fd, &held) != 0) return fail();
        if (::stat(host.c_str(), &now) != 0 || now.st_ino != held.st_ino ||
            now.st_dev != held.st_dev) {
            ::close(fd);  // replaced while we waited: lock the new file
            continue;
        }
        // Windows refuses to write a read-only initialisation file.
        if (!S_ISREG(held.st_mode) || (held.st_mode & 0222) == 0) return fail();
        std::string old;
        if (!readAll(fd, old)) return fail();
        const auto next = edit(old);
        if (!next) return fail();
        if (*next == old && !created) {
            ::close(fd);
            return true;
        }
        std::string temp = host.string() + ".XXXXXX";
        const int out = ::mkstemp(temp.data());
        if (out < 0) return fail();
        bool ok = ::fchmod(out, held.st_mode & 07777) == 0 && detail::writeAll(out, *next) &&
                  ::fsync(out) == 0;
        ok = (::close(out) == 0) && ok;
        ok = ok && ::rename(temp.c_str(), host.c_str()) == 0;
        if (!ok) {
            ::unlink(temp.c_str());
            return fail();
        }
        ::close(fd);
        return true;
    }
    return false;
}

class PosixProfileFiles final : public ProfileFiles {
public:
    PosixProfileFiles(FileSystem& files, int codePage, std::string windowsFolder)
        : files_(files), codePage_(codePage), windowsFolder_(std::move(windowsFolder)) {
        while (!windowsFolder_.empty() && windowsFolder_.back() == '\\') windowsFolder_.pop_back();
    }

    std::string readString(std::string_view file, std::string_view section, std::string_view key,
                           std::string_view fallback, std::size_t bufferSize) const override {
        return codec::readProfileString(content(file), codePage_, section, key, fallback,
                                        bufferSize);
    }

    bool writeString(std::string_view file, std::string_view section, std::string_view key,
                     std::string_view value) override {
        return edit(file, [&](std::string_view old) {
            return codec::writeProfileString(old, codePage_, section, key, value);
        });
    }

    bool removeKey(std::string_view file, std::string_view section, std::string_view key) override {
        if (!files_.exists(winPath(file))) return true;
        return edit(file, [&](std::string_view old) -> std::optional<std::string> {
            return codec::removeProfileKey(old, codePage_, section, key);
        });
    }

    bool removeSection(std::string_view file, std::string_view section) override {
        if (!files_.exists(winPath(file))) return true;
        return edit(file, [&](std::string_view old) -> std::optional<std::string> {
            return codec::removeProfileSection(old, codePage_, section);
        });
    }

    std::vector<std::string> keys(std::string_view file, std::string_view section) const override {
        return codec::profileKeys(content(file), codePage_, section);
    }

    std::vector<std::string> sections(std::string_view file) const override {
        return parsed(file)->sections();
    }

    std::vector<std::pair<std::string, std::string>> values(
        std::string_view file, std::string_view section) const override {
        return parsed(file)->sectionValues(section);
    }

private:
    // A name without a drive lives in the Windows folder; "\x.ini" on drive C:.
    std::string winPath(std::string_view file) const {
        const bool drive =
            file.size() >= 2 && std::isalpha(static_cast<unsigned char>(file[0])) && file[1] == ':';
        if (drive) return std::string(file);
        if (!file.empty() && (file[0] == '\\' || file[0] == '/')) return "c:" + std::string(file);
        return windowsFolder_ + "\\" + std::string(file);
    }

    // A setup run asks its data.tag dozens of questions: the text read last is kept, and
    // serves while the file keeps its size and time of change.
    std::string content(std::string_view file) const { return kept(file).text; }

    // Its sections, one after another, are most of those questions: the file is decoded and
    // split into lines once, not once per section.
    std::shared_ptr<const codec::ProfileText> parsed(std::string_view file) const {
        Kept now = kept(file);
        if (now.parsed) return now.parsed;
        auto text = std::make_shared<const codec::ProfileText>(now.text, codePage_);
        const std::lock_guard lock(keptMutex_);
        if (kept_.path == now.path && kept_.size == now.size &&
            kept_.modifiedNs == now.modifiedNs && !kept_.path.empty())
            kept_.parsed = text;
        return text;
    }

    struct Kept {
        std::string path;
        std::uint64_t size = 0;
        std::int64_t modifiedNs = 0;
        std::string text;
        std::shared_ptr<const codec::ProfileText> parsed;  // made on the first question
    };

    Kept kept(std::string_view file) const {
        const std::string path = winPath(file);
        const auto identity = files_.identity(path);
        const std::lock_guard lock(keptMutex_);
        if (identity && identity->regular && kept_.path == path && kept_.size == identity->size &&
            kept_.modifiedNs == identity->modifiedNs)
            return kept_;
        std::string text = files_.readFile(path).value_or(std::string());
        if (identity && identity->regular && identity->size == text.size()) {
            kept_ = Kept{path, identity->size, identity->modifiedNs, std::move(text), nullptr};
            return kept_;
        }
        kept_ = Kept{};
        Kept once;
        once.text = std::move(text);
        return once;
    }

    bool edit(std::string_view file, const Edit& change) {
        const std::string path = winPath(file);
        {
            const std::lock_guard lock(keptMutex_);
            if (kept_.path == path) kept_ = Kept{};
        }
        if (const auto host = files_.hostPath(path)) return editHostFile(*host, change);
        // A file system without host paths (one held in memory) replaces files whole anyway.
        const auto next = change(content(file));
        return next && files_.writeFile(path, *next);
    }

    FileSystem& files_;
    int codePage_;
    std::string windowsFolder_;

    mutable std::mutex keptMutex_;
    mutable Kept kept_;
};

}  // namespace

std::unique_ptr<ProfileFiles> makeProfileFiles(FileSystem& files, int ansiCodePage,
                                               std::string windowsFolder) {
    return std::make_unique<PosixProfileFiles>(files, ansiCodePage, std::move(windowsFolder));
}

}  // namespace platform
