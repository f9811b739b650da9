// The registry as export-syntax text files, one per predefined root. Every call reads the file
// afresh, so changes by other processes are seen; every change is a read-modify-write under an
// exclusive flock on a lock file beside it, written to a temporary file and renamed into place.
// Readers need no lock: they always see either the old or the new file whole.

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <array>
#include <cerrno>
#include <cstdio>
#include <fstream>
#include <functional>
#include <iterator>
#include <map>
#include <memory>
#include <mutex>
#include <system_error>

#include "PosixIo.h"
#include "WinText.h"
#include "platform/Registry.h"
#include "platform/codec/RegistrySyntax.h"

namespace platform {

namespace fs = std::filesystem;
using Node = codec::RegKeyNode;

namespace {

const char* rootName(RegRoot root) {
    switch (root) {
        case RegRoot::ClassesRoot:
            return "HKEY_CLASSES_ROOT";
        case RegRoot::CurrentUser:
            return "HKEY_CURRENT_USER";
        case RegRoot::LocalMachine:
            return "HKEY_LOCAL_MACHINE";
        case RegRoot::Users:
            return "HKEY_USERS";
        case RegRoot::CurrentConfig:
            return "HKEY_CURRENT_CONFIG";
    }
    return "HKEY_CURRENT_USER";
}

}  // namespace

bool sameData(const RegValue& a, const RegValue& b) {
    if (a.type != b.type) return false;
    switch (a.type) {
        case RegValue::Type::String:
        case RegValue::Type::ExpandString:
            return a.text == b.text;
        case RegValue::Type::Dword:
            return a.dword == b.dword;
        case RegValue::Type::Binary:
            return a.bytes == b.bytes;
    }
    return false;
}

std::optional<RegRoot> regRootNamed(std::string_view name) {
    for (RegRoot root : {RegRoot::ClassesRoot, RegRoot::CurrentUser, RegRoot::LocalMachine,
                         RegRoot::Users, RegRoot::CurrentConfig})
        if (name == rootName(root)) return root;
    return std::nullopt;
}

namespace {

class FileLock {
public:
    explicit FileLock(const fs::path& path) {
        fd_ = ::open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
        if (fd_ < 0) return;
        while (::flock(fd_, LOCK_EX) != 0) {
            if (errno != EINTR) {
                ::close(fd_);
                fd_ = -1;
                return;
            }
        }
    }
    ~FileLock() {
        if (fd_ >= 0) ::close(fd_);  // closing releases the lock
    }
    FileLock(const FileLock&) = delete;
    FileLock& operator=(const FileLock&) = delete;
    bool held() const { return fd_ >= 0; }

private:
    int fd_ = -1;
};

class FileRegistry final : public Registry {
public:
    explicit FileRegistry(fs::path folder) : folder_(std::move(folder)) {}

    bool createKey(RegRoot root, std::string_view key) override {
        // A root itself is always there: nothing to write.
        const auto parts = codec::splitRegistryKey(key);
        if (!parts) return false;
        return parts->empty() || apply(root, {{std::string(key), {}, std::nullopt}});
    }

    bool keyExists(RegRoot root, std::string_view key) const override {
        auto parts = codec::splitRegistryKey(key);
        if (!parts) return false;
        const std::shared_ptr<const Node> loaded = read(root);
        const Node& tree = *loaded;
        return find(tree, *parts) != nullptr;
    }

    bool deleteKey(RegRoot root, std::string_view key) override {
        auto parts = codec::splitRegistryKey(key);
        if (!parts || parts->empty()) return false;  // a predefined root stays
        return update(root, [&](Node& tree) {
            std::vector<std::string> parentParts(parts->begin(), parts->end() - 1);
            Node* parent = find(tree, parentParts);
            if (!parent) return false;
            return parent->children.erase(detail::foldName(parts->back())) > 0;
        });
    }

    bool setValue(RegRoot root, std::string_view key, std::string_view name,
                  const RegValue& value) override {
        return apply(root, {{std::string(key), std::string(name), value}});
    }

    bool apply(RegRoot root, const std::vector<RegSetting>& settings) override {
        return applyAll(root, settings);
    }

    bool seed(RegRoot root, const std::vector<RegSetting>& settings) override {
        Node seeds;
        const std::shared_ptr<const Node> held = read(root);
        std::vector<RegSetting> missing;
        for (const RegSetting& s : settings) {
            const auto parts = codec::splitRegistryKey(s.key);
            if (!parts) return false;
            Node* node = &seeds;
            for (const auto& p : *parts) node = &node->ensureChild(p);
            if (s.value) node->setValue(s.name, *s.value);
            const Node* there = find(*held, *parts);
            if (!there || (s.value && !there->findValue(s.name))) missing.push_back(s);
        }
        {
            const std::lock_guard lock(seedMutex_);
            seeds_[static_cast<std::size_t>(root)] = std::make_shared<const Node>(std::move(seeds));
        }
        return missing.empty() || applyAll(root, missing);
    }

    std::optional<RegValue> value(RegRoot root, std::string_view key,
                                  std::string_view name) const override {
        auto parts = codec::splitRegistryKey(key);
        if (!parts) return std::nullopt;
        const std::shared_ptr<const Node> loaded = read(root);
        const Node& tree = *loaded;
        const Node* node = find(tree, *parts);
        if (!node) return std::nullopt;
        const RegValue* v = node->findValue(name);
        if (!v) return std::nullopt;
        return *v;
    }

    bool deleteValue(RegRoot root, std::string_view key, std::string_view name) override {
        auto parts = codec::splitRegistryKey(key);
        if (!parts) return false;
        return update(root, [&](Node& tree) {
            Node* node = find(tree, *parts);
            if (!node) return false;
            const std::string wanted = detail::foldName(name);
            for (auto it = node->values.begin(); it != node->values.end(); ++it) {
                if (detail::foldName(it->first) == wanted) {
                    node->values.erase(it);
                    return true;
                }
            }
            return false;
        });
    }

    std::vector<std::string> subkeys(RegRoot root, std::string_view key) const override {
        std::vector<std::string> names;
        auto parts = codec::splitRegistryKey(key);
        if (!parts) return names;
        const std::shared_ptr<const Node> loaded = read(root);
        const Node& tree = *loaded;
        if (const Node* node = find(tree, *parts)) {
            for (const auto& [folded, child] : node->children) names.push_back(child->name);
        }
        return names;
    }

    std::vector<std::string> valueNames(RegRoot root, std::string_view key) const override {
        std::vector<std::string> names;
        auto parts = codec::splitRegistryKey(key);
        if (!parts) return names;
        const std::shared_ptr<const Node> loaded = read(root);
        const Node& tree = *loaded;
        if (const Node* node = find(tree, *parts)) {
            for (const auto& [name, v] : node->values) names.push_back(name);
        }
        return names;
    }

private:
    bool applyAll(RegRoot root, const std::vector<RegSetting>& settings) {
        struct Change {
            std::vector<std::string> parts;
            std::string name;
            std::optional<RegValue> value;
        };
        std::vector<Change> changes;
        for (const RegSetting& s : settings) {
            auto parts = codec::splitRegistryKey(s.key);
            if (!parts) return false;
            if (!s.value) {
                changes.push_back({std::move(*parts), {}, std::nullopt});
                continue;
            }
            const RegValue& value = *s.value;
            if (!codec::isValidRegistryValueName(s.name)) return false;
            const bool isText =
                value.type == RegValue::Type::String || value.type == RegValue::Type::ExpandString;
            if (isText && !detail::isValidUtf8(value.text)) return false;
            RegValue stored;
            stored.type = value.type;
            if (isText) stored.text = value.text;
            if (value.type == RegValue::Type::Dword) stored.dword = value.dword;
            if (value.type == RegValue::Type::Binary) stored.bytes = value.bytes;
            changes.push_back({std::move(*parts), s.name, std::move(stored)});
        }
        if (changes.empty()) return true;
        return update(root, [&](Node& tree) {
            for (const Change& c : changes) {
                Node* node = &tree;
                for (const auto& p : c.parts) node = &node->ensureChild(p);
                if (c.value) node->setValue(c.name, *c.value);
            }
            return true;
        });
    }

    fs::path filePath(RegRoot root) const {
        return folder_ / (std::string(rootName(root)) + ".reg");
    }

    Node load(RegRoot root) const {
        std::ifstream in(filePath(root), std::ios::binary);
        std::string content;
        if (in) content.assign(std::istreambuf_iterator<char>(in), {});
        return codec::parseRegistryFile(content, rootName(root));
    }

    // Whether a file holding tree holds anything that would not come back by itself: a key or
    // a value that is not one of the root's seeds as this run knows them.
    bool holdsMoreThanSeeds(RegRoot root, const Node& tree) const {
        std::shared_ptr<const Node> seeds;
        {
            const std::lock_guard lock(seedMutex_);
            seeds = seeds_[static_cast<std::size_t>(root)];
        }
        static const Node none;
        return !codec::holdsOnly(tree, seeds ? *seeds : none);
    }

    // The tree as the file holds it now. A run asks dozens of questions of one file that seldom
    // changes: the tree read last is kept and serves while the file is the same one, unchanged
    // (a writer replaces it under a new inode).
    std::shared_ptr<const Node> read(RegRoot root) const {
        struct stat st {};
        const bool there = ::stat(filePath(root).c_str(), &st) == 0;
        const std::lock_guard lock(readMutex_);
        Kept& kept = kept_[static_cast<std::size_t>(root) % kept_.size()];
        const bool same = there && kept.tree && kept.root == root && kept.inode == st.st_ino &&
                          kept.device == st.st_dev && kept.size == st.st_size &&
                          kept.changed.tv_sec == st.st_ctim.tv_sec &&
                          kept.changed.tv_nsec == st.st_ctim.tv_nsec;
        if (same) return kept.tree;
        auto tree = std::make_shared<const Node>(load(root));
        if (there) kept = Kept{root, st.st_dev, st.st_ino, st.st_size, st.st_ctim, tree};
        else kept = Kept{};
        return tree;
    }

    struct Kept {
        RegRoot root{};
        dev_t device = 0;
        ino_t inode = 0;
        off_t size = 0;
        timespec changed{};
        std::shared_ptr<const Node> tree;
    };
    mutable std::mutex readMutex_;
    mutable std::array<Kept, 8> kept_;
    mutable std::mutex seedMutex_;
    std::array<std::shared_ptr<const Node>, 5> seeds_;  // by root, as seed was last told

    template <typename Tree>
    static auto find(Tree& tree, const std::vector<std::string>& parts) -> decltype(&tree) {
        auto* node = &tree;
        for (const auto& p : parts) {
            node = node->child(p);
            if (!node) return nullptr;
        }
        return node;
    }

    bool update(RegRoot root, const std::function<bool(Node&)>& change) {
        std::error_code ec;
        fs::create_directories(folder_, ec);
        FileLock lock(folder_ / (std::string(rootName(root)) + ".lock"));
        if (!lock.held()) return false;
        Node tree = load(root);
        // The old file is forced to give way only once the new one is on the disk, unless
        // losing it to a power cut would lose nothing: on a new root that wait is for every
        // folder made before it.
        const bool force = holdsMoreThanSeeds(root, tree);
        if (!change(tree)) return false;
        const std::string text = codec::serializeRegistryFile(tree);

        const fs::path target = filePath(root);
        // One name, not a fresh one each time: only the lock's holder writes it, so a writer
        // killed half-way leaves a file the next writer simply takes over, never one more.
        const std::string temp = target.string() + ".new";
        const int fd = ::open(temp.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_NOFOLLOW | O_CLOEXEC, 0600);
        if (fd < 0) return false;
        bool ok = detail::writeAll(fd, text) && (!force || ::fsync(fd) == 0);
        ok = (::close(fd) == 0) && ok;
        ok = ok && ::rename(temp.c_str(), target.c_str()) == 0;
        if (!ok) ::unlink(temp.c_str());
        return ok;
    }

    fs::path folder_;
};

}  // namespace

std::unique_ptr<Registry> makeFileRegistry(const fs::path& winRoot) {
    return std::make_unique<FileRegistry>(winRoot / "registry");
}

}  // namespace platform
