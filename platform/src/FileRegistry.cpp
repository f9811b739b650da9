// The registry as export-syntax text files, one per predefined root. Every call reads the file
// afresh, so changes by other processes are seen; every change is a read-modify-write under an
// exclusive flock on a lock file beside it, written to a temporary file and renamed into place.
// Readers need no lock: they always see either the old or the new file whole.

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <fstream>
#include <functional>
#include <iterator>
#include <map>
#include <system_error>

#include "PosixIo.h"
#include "platform/Registry.h"
#include "WinText.h"

namespace platform {

namespace fs = std::filesystem;

namespace {

constexpr std::string_view kHeader = "Windows Registry Editor Version 5.00";

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

struct Node {
    std::string name;  // first spelling
    std::vector<std::pair<std::string, RegValue>> values;
    std::map<std::string, std::unique_ptr<Node>> children;  // by folded name, so sorted

    Node* child(std::string_view childName) const {
        auto it = children.find(detail::foldName(childName));
        return it == children.end() ? nullptr : it->second.get();
    }
    Node& ensureChild(std::string_view childName) {
        auto& slot = children[detail::foldName(childName)];
        if (!slot) {
            slot = std::make_unique<Node>();
            slot->name = std::string(childName);
        }
        return *slot;
    }
    const RegValue* findValue(std::string_view valueName) const {
        const std::string wanted = detail::foldName(valueName);
        for (const auto& [n, v] : values) {
            if (detail::foldName(n) == wanted) return &v;
        }
        return nullptr;
    }
    void setValue(std::string_view valueName, RegValue v) {
        const std::string wanted = detail::foldName(valueName);
        for (auto& [n, existing] : values) {
            if (detail::foldName(n) == wanted) {
                existing = std::move(v);
                return;
            }
        }
        values.emplace_back(std::string(valueName), std::move(v));
    }
};

bool hasControl(std::string_view text) {
    for (char c : text) {
        if (static_cast<unsigned char>(c) < 0x20 || c == 0x7F) return true;
    }
    return false;
}

// Key path components; empty when a component cannot be written to the file.
std::optional<std::vector<std::string>> splitKey(std::string_view key) {
    if (!detail::isValidUtf8(key) || hasControl(key)) return std::nullopt;
    std::vector<std::string> parts;
    std::size_t pos = 0;
    while (pos <= key.size()) {
        std::size_t end = key.find('\\', pos);
        if (end == std::string_view::npos) end = key.size();
        if (end > pos) parts.emplace_back(key.substr(pos, end - pos));
        pos = end + 1;
    }
    return parts;
}

bool validValueName(std::string_view name) {
    return detail::isValidUtf8(name) && !hasControl(name);
}

// ---- Reading -----------------------------------------------------------------------------

std::optional<std::string> parseQuoted(std::string_view line, std::size_t& pos) {
    if (pos >= line.size() || line[pos] != '"') return std::nullopt;
    std::string out;
    for (std::size_t i = pos + 1; i < line.size(); ++i) {
        if (line[i] == '\\' && i + 1 < line.size()) {
            out += line[++i];
        } else if (line[i] == '"') {
            pos = i + 1;
            return out;
        } else {
            out += line[i];
        }
    }
    return std::nullopt;
}

int hexDigit(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

std::optional<std::string> parseHexBytes(std::string_view text) {
    std::string out;
    std::size_t pos = 0;
    const auto skipBlanks = [&] {
        while (pos < text.size() && (text[pos] == ' ' || text[pos] == '\t')) ++pos;
    };
    skipBlanks();
    if (pos == text.size()) return out;
    for (;;) {
        skipBlanks();
        int value = 0;
        int digits = 0;
        while (pos < text.size() && hexDigit(text[pos]) >= 0 && digits < 2) {
            value = value * 16 + hexDigit(text[pos++]);
            ++digits;
        }
        if (digits == 0) return std::nullopt;
        out += static_cast<char>(value);
        skipBlanks();
        if (pos == text.size()) return out;
        if (text[pos] != ',') return std::nullopt;
        ++pos;
    }
}

// A string held as UTF-16LE with its terminating NUL, as regedit writes hex(1) and hex(2).
std::optional<std::string> utf16Text(std::string_view bytes) {
    if (bytes.size() >= 2 && bytes[bytes.size() - 1] == '\0' && bytes[bytes.size() - 2] == '\0') {
        bytes.remove_suffix(2);
    }
    return detail::utf16leToUtf8(bytes);
}

std::optional<RegValue> parseData(std::string_view data) {
    RegValue v;
    if (!data.empty() && data.front() == '"') {
        std::size_t pos = 0;
        auto text = parseQuoted(data, pos);
        if (!text || pos != data.size() || !detail::isValidUtf8(*text)) return std::nullopt;
        v.type = RegValue::Type::String;
        v.text = std::move(*text);
        return v;
    }
    if (data.substr(0, 6) == "dword:") {
        const std::string_view digits = data.substr(6);
        if (digits.empty() || digits.size() > 8) return std::nullopt;
        std::uint32_t n = 0;
        for (char c : digits) {
            const int d = hexDigit(c);
            if (d < 0) return std::nullopt;
            n = n * 16 + static_cast<std::uint32_t>(d);
        }
        v.type = RegValue::Type::Dword;
        v.dword = n;
        return v;
    }
    const auto hexPayload = [&](std::string_view prefix) -> std::optional<std::string> {
        if (data.substr(0, prefix.size()) != prefix) return std::nullopt;
        return parseHexBytes(data.substr(prefix.size()));
    };
    if (auto bytes = hexPayload("hex:")) {
        v.type = RegValue::Type::Binary;
        v.bytes = std::move(*bytes);
        return v;
    }
    for (auto [prefix, type] :
         {std::pair{std::string_view("hex(2):"), RegValue::Type::ExpandString},
          std::pair{std::string_view("hex(1):"), RegValue::Type::String}}) {
        if (auto bytes = hexPayload(prefix)) {
            auto text = utf16Text(*bytes);
            if (!text) return std::nullopt;
            v.type = type;
            v.text = std::move(*text);
            return v;
        }
    }
    return std::nullopt;
}

std::string_view trimRight(std::string_view s) {
    while (!s.empty() && (s.back() == ' ' || s.back() == '\t' || s.back() == '\r'))
        s.remove_suffix(1);
    return s;
}

std::string_view trimLeft(std::string_view s) {
    while (!s.empty() && (s.front() == ' ' || s.front() == '\t')) s.remove_prefix(1);
    return s;
}

// Anything that does not parse is skipped: a damaged line costs that line only.
Node parseFile(std::string_view content, RegRoot root) {
    Node tree;
    tree.name = rootName(root);
    const std::string wantedRoot = detail::foldName(tree.name);
    if (content.substr(0, 3) == "\xEF\xBB\xBF") content.remove_prefix(3);

    std::vector<std::string_view> lines;
    for (std::size_t pos = 0; pos < content.size();) {
        std::size_t end = content.find('\n', pos);
        if (end == std::string_view::npos) end = content.size();
        lines.push_back(trimRight(content.substr(pos, end - pos)));
        pos = end + 1;
    }

    Node* current = nullptr;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        const std::string_view line = lines[i];
        if (line.empty() || line.front() == ';') continue;
        if (line.front() == '[') {
            current = nullptr;
            const std::size_t close = line.rfind(']');
            if (close == std::string_view::npos || close + 1 != line.size()) continue;
            const std::string_view path = line.substr(1, close - 1);
            const std::size_t slash = path.find('\\');
            const std::string_view head = path.substr(0, slash);
            if (detail::foldName(head) != wantedRoot) continue;
            auto parts = splitKey(slash == std::string_view::npos ? std::string_view{}
                                                                  : path.substr(slash + 1));
            if (!parts) continue;
            current = &tree;
            for (const auto& part : *parts) current = &current->ensureChild(part);
            continue;
        }
        if (!current) continue;

        std::string name;
        std::size_t pos = 0;
        if (line.front() == '@') {
            pos = 1;
        } else {
            auto quoted = parseQuoted(line, pos);
            if (!quoted) continue;
            name = std::move(*quoted);
        }
        if (pos >= line.size() || line[pos] != '=') continue;
        std::string data(line.substr(pos + 1));
        if (data.substr(0, 3) == "hex") {
            while (!data.empty() && data.back() == '\\' && i + 1 < lines.size()) {
                data.pop_back();
                data += trimLeft(lines[++i]);
            }
        }
        if (!validValueName(name)) continue;
        if (auto value = parseData(data)) current->setValue(name, std::move(*value));
    }
    return tree;
}

// ---- Writing -----------------------------------------------------------------------------

std::string regQuoted(std::string_view text) {
    std::string out = "\"";
    for (char c : text) {
        if (c == '\\' || c == '"') out += '\\';
        out += c;
    }
    out += '"';
    return out;
}

// Hex data wrapped like regedit's export: lines of about 80 columns, continued with "\".
void appendHex(std::string& out, std::size_t lineStart, std::string_view prefix,
               std::string_view bytes) {
    static constexpr char kDigits[] = "0123456789abcdef";
    out += prefix;
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        const auto b = static_cast<unsigned char>(bytes[i]);
        out += kDigits[b >> 4];
        out += kDigits[b & 0xF];
        if (i + 1 < bytes.size()) {
            out += ',';
            if (out.size() - lineStart >= 76) {
                out += "\\\n  ";
                lineStart = out.size() - 2;
            }
        }
    }
}

// The UTF-16LE form with its terminating NUL; text was checked to be UTF-8 on the way in.
std::string utf16WithNul(const std::string& text) {
    return detail::utf8ToUtf16le(text).value_or(std::string()) + std::string(2, '\0');
}

void appendValue(std::string& out, const std::string& name, const RegValue& v) {
    const std::size_t lineStart = out.size();
    out += name.empty() ? std::string("@") : regQuoted(name);
    out += '=';
    switch (v.type) {
        case RegValue::Type::String:
            if (hasControl(v.text)) {
                // Line breaks cannot stand inside a quoted value: regedit's typed hex form.
                appendHex(out, lineStart, "hex(1):", utf16WithNul(v.text));
            } else {
                out += regQuoted(v.text);
            }
            break;
        case RegValue::Type::ExpandString:
            appendHex(out, lineStart, "hex(2):", utf16WithNul(v.text));
            break;
        case RegValue::Type::Dword: {
            char buffer[16];
            std::snprintf(buffer, sizeof buffer, "dword:%08x", static_cast<unsigned>(v.dword));
            out += buffer;
            break;
        }
        case RegValue::Type::Binary:
            appendHex(out, lineStart, "hex:", v.bytes);
            break;
    }
    out += '\n';
}

void appendKey(std::string& out, const Node& node, const std::string& path, bool isRoot) {
    if (!isRoot || !node.values.empty()) {
        out += '\n';
        out += '[' + path + "]\n";
        for (const auto& [name, value] : node.values) appendValue(out, name, value);
    }
    for (const auto& [folded, child] : node.children) {
        appendKey(out, *child, path + '\\' + child->name, false);
    }
}

std::string serialize(const Node& tree) {
    std::string out(kHeader);
    out += '\n';
    appendKey(out, tree, tree.name, true);
    return out;
}

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
        auto parts = splitKey(key);
        if (!parts) return false;
        if (parts->empty()) return true;
        return update(root, [&](Node& tree) {
            Node* node = &tree;
            for (const auto& p : *parts) node = &node->ensureChild(p);
            return true;
        });
    }

    bool keyExists(RegRoot root, std::string_view key) const override {
        auto parts = splitKey(key);
        if (!parts) return false;
        const Node tree = load(root);
        return find(tree, *parts) != nullptr;
    }

    bool deleteKey(RegRoot root, std::string_view key) override {
        auto parts = splitKey(key);
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
        auto parts = splitKey(key);
        if (!parts || !validValueName(name)) return false;
        const bool isText =
            value.type == RegValue::Type::String || value.type == RegValue::Type::ExpandString;
        if (isText && !detail::isValidUtf8(value.text)) return false;
        RegValue stored;
        stored.type = value.type;
        if (isText) stored.text = value.text;
        if (value.type == RegValue::Type::Dword) stored.dword = value.dword;
        if (value.type == RegValue::Type::Binary) stored.bytes = value.bytes;
        return update(root, [&](Node& tree) {
            Node* node = &tree;
            for (const auto& p : *parts) node = &node->ensureChild(p);
            node->setValue(name, stored);
            return true;
        });
    }

    std::optional<RegValue> value(RegRoot root, std::string_view key,
                                  std::string_view name) const override {
        auto parts = splitKey(key);
        if (!parts) return std::nullopt;
        const Node tree = load(root);
        const Node* node = find(tree, *parts);
        if (!node) return std::nullopt;
        const RegValue* v = node->findValue(name);
        if (!v) return std::nullopt;
        return *v;
    }

    bool deleteValue(RegRoot root, std::string_view key, std::string_view name) override {
        auto parts = splitKey(key);
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
        auto parts = splitKey(key);
        if (!parts) return names;
        const Node tree = load(root);
        if (const Node* node = find(tree, *parts)) {
            for (const auto& [folded, child] : node->children) names.push_back(child->name);
        }
        return names;
    }

    std::vector<std::string> valueNames(RegRoot root, std::string_view key) const override {
        std::vector<std::string> names;
        auto parts = splitKey(key);
        if (!parts) return names;
        const Node tree = load(root);
        if (const Node* node = find(tree, *parts)) {
            for (const auto& [name, v] : node->values) names.push_back(name);
        }
        return names;
    }

private:
    fs::path filePath(RegRoot root) const {
        return folder_ / (std::string(rootName(root)) + ".reg");
    }

    Node load(RegRoot root) const {
        std::ifstream in(filePath(root), std::ios::binary);
        std::string content;
        if (in) content.assign(std::istreambuf_iterator<char>(in), {});
        return parseFile(content, root);
    }

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
        if (!change(tree)) return false;
        const std::string text = serialize(tree);

        const fs::path target = filePath(root);
        std::string temp = target.string() + ".XXXXXX";
        const int fd = ::mkstemp(temp.data());
        if (fd < 0) return false;
        bool ok = detail::writeAll(fd, text) && ::fsync(fd) == 0;
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
