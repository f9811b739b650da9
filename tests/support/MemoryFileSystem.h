#pragma once
// File systems for tests, fuzzers and the benchmark.
//
// MemoryFileSystem keeps every file in memory under the Windows rules that matter to the
// programs: names match without regard to case (Greek included), a file needs its folder,
// a new file keeps the spelling given and a rewritten one keeps its old spelling.
//
// FailingFileSystem wraps another and fails the operations a test picks (a full disk, a
// read-only folder, a lock that cannot be had), passing everything else through.

#include <functional>
#include <map>
#include <string>

#include "platform/FileSystem.h"

namespace testing_support {

class MemoryFileSystem final : public platform::FileSystem {
public:
    // Drive c: exists and is empty.
    MemoryFileSystem();

    std::optional<std::filesystem::path> hostPath(std::string_view) const override {
        return std::nullopt;
    }
    std::optional<std::string> readFile(std::string_view winPath) const override;
    bool writeFile(std::string_view winPath, std::string_view bytes) override;
    bool exists(std::string_view winPath) const override;
    bool isDirectory(std::string_view winPath) const override;
    bool createDirectory(std::string_view winPath) override;
    bool removeDirectory(std::string_view winPath) override;
    bool removeFile(std::string_view winPath) override;
    bool copyFile(std::string_view from, std::string_view to, bool overwrite) override;
    std::vector<std::string> list(std::string_view folderWinPath, std::string_view pattern,
                                  bool includeFolders = false) const override;
    // Nothing streams through memory.
    std::unique_ptr<platform::File> open(std::string_view, OpenMode) override { return nullptr; }
    bool setModifiedTime(std::string_view winPath, std::int64_t unixSeconds) override;
    std::optional<std::int64_t> modifiedTime(std::string_view winPath) const override;
    bool setAttributes(std::string_view winPath, std::uint32_t attributes) override;
    std::optional<std::uint32_t> attributes(std::string_view winPath) const override;

private:
    struct Entry {
        std::string name;  // as spelled when created
        bool folder = false;
        std::string bytes;
        std::int64_t modified = 0;
        std::uint32_t attributes = 0;
    };
    // "c:\a\b" folded; empty for a path that is not absolute.
    static std::string key(std::string_view winPath);
    static std::string parentKey(const std::string& key);
    static std::string lastName(std::string_view winPath);
    const Entry* find(std::string_view winPath) const;

    std::map<std::string, Entry> entries_;
};

class FailingFileSystem final : public platform::FileSystem {
public:
    enum class Op { Read, Write, CreateDirectory, Remove, Lock };
    // fails(op, winPath): true makes that call fail without touching the wrapped system.
    using Rule = std::function<bool(Op, std::string_view)>;
    FailingFileSystem(platform::FileSystem& inner, Rule fails)
        : inner_(inner), fails_(std::move(fails)) {}

    std::optional<std::filesystem::path> hostPath(std::string_view p) const override {
        return inner_.hostPath(p);
    }
    std::optional<std::string> readFile(std::string_view p) const override {
        if (fails_(Op::Read, p)) return std::nullopt;
        return inner_.readFile(p);
    }
    bool writeFile(std::string_view p, std::string_view b) override {
        return !fails_(Op::Write, p) && inner_.writeFile(p, b);
    }
    bool writeFileDurably(std::string_view p, std::string_view b) override {
        return !fails_(Op::Write, p) && inner_.writeFileDurably(p, b);
    }
    bool exists(std::string_view p) const override { return inner_.exists(p); }
    bool isDirectory(std::string_view p) const override { return inner_.isDirectory(p); }
    bool createDirectory(std::string_view p) override {
        return !fails_(Op::CreateDirectory, p) && inner_.createDirectory(p);
    }
    bool removeDirectory(std::string_view p) override {
        return !fails_(Op::Remove, p) && inner_.removeDirectory(p);
    }
    bool removeFile(std::string_view p) override {
        return !fails_(Op::Remove, p) && inner_.removeFile(p);
    }
    bool copyFile(std::string_view from, std::string_view to, bool overwrite) override {
        return !fails_(Op::Read, from) && !fails_(Op::Write, to) &&
               inner_.copyFile(from, to, overwrite);
    }
    std::vector<std::string> list(std::string_view f, std::string_view pattern,
                                  bool includeFolders = false) const override {
        return inner_.list(f, pattern, includeFolders);
    }
    std::unique_ptr<platform::File> open(std::string_view p, OpenMode mode) override {
        if (fails_(mode == OpenMode::Read ? Op::Read : Op::Write, p)) return nullptr;
        return inner_.open(p, mode);
    }
    bool setModifiedTime(std::string_view p, std::int64_t t) override {
        return !fails_(Op::Write, p) && inner_.setModifiedTime(p, t);
    }
    std::optional<std::int64_t> modifiedTime(std::string_view p) const override {
        return inner_.modifiedTime(p);
    }
    bool setAttributes(std::string_view p, std::uint32_t a) override {
        return !fails_(Op::Write, p) && inner_.setAttributes(p, a);
    }
    std::optional<std::uint32_t> attributes(std::string_view p) const override {
        return inner_.attributes(p);
    }
    bool isLink(std::string_view p) const override { return inner_.isLink(p); }
    std::unique_ptr<Lock> lockExclusive(std::string_view p) override {
        if (fails_(Op::Lock, p)) return nullptr;
        return inner_.lockExclusive(p);
    }

private:
    platform::FileSystem& inner_;
    Rule fails_;
};

// A rule failing op on every path whose last name is one of names (any letter case).
FailingFileSystem::Rule failOn(FailingFileSystem::Op op, std::vector<std::string> names);

}  // namespace testing_support
