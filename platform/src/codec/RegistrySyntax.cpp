#include "platform/codec/RegistrySyntax.h"

#include <cstdio>

#include "WinText.h"

namespace platform::codec {

constexpr std::string_view kHeader = "Windows Registry Editor Version 5.00";

RegKeyNode* RegKeyNode::child(std::string_view childName) const {
    auto it = children.find(detail::foldName(childName));
    return it == children.end() ? nullptr : it->second.get();
}

RegKeyNode& RegKeyNode::ensureChild(std::string_view childName) {
    auto& slot = children[detail::foldName(childName)];
    if (!slot) {
        slot = std::make_unique<RegKeyNode>();
        slot->name = std::string(childName);
    }
    return *slot;
}

const RegValue* RegKeyNode::findValue(std::string_view valueName) const {
    const std::string wanted = detail::foldName(valueName);
    for (const auto& [n, v] : values) {
        if (detail::foldName(n) == wanted) return &v;
    }
    return nullptr;
}

void RegKeyNode::setValue(std::string_view valueName, RegValue v) {
    const std::string wanted = detail::foldName(valueName);
    for (auto& [n, existing] : values) {
        if (detail::foldName(n) == wanted) {
            existing = std::move(v);
            return;
        }
    }
    values.emplace_back(std::string(valueName), std::move(v));
}

bool holdsOnly(const RegKeyNode& tree, const RegKeyNode& allowed) {
    for (const auto& [name, value] : tree.values) {
        const RegValue* other = allowed.findValue(name);
        if (!other || !sameData(*other, value)) return false;
    }
    for (const auto& [folded, child] : tree.children) {
        const RegKeyNode* other = allowed.child(child->name);
        if (!other || !holdsOnly(*child, *other)) return false;
    }
    return true;
}

static bool hasControl(std::string_view text) {
    for (char c : text) {
        if (static_cast<unsigned char>(c) < 0x20 || c == 0x7F) return true;
    }
    return false;
}

// Key path components; empty when a component cannot be written to the file.
std::optional<std::vector<std::string>> splitRegistryKey(std::string_view key) {
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

bool isValidRegistryValueName(std::string_view name) {
    return detail::isValidUtf8(name) && !hasControl(name);
}

// ---- Reading -----------------------------------------------------------------------------

static std::optional<std::string> parseQuoted(std::string_view line, std::size_t& pos) {
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

static int hexDigit(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

static std::optional<std::string> parseHexBytes(std::string_view text) {
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
static std::optional<std::string> utf16Text(std::string_view bytes) {
    if (bytes.size() >= 2 && bytes[bytes.size() - 1] == '\0' && bytes[bytes.size() - 2] == '\0') {
        bytes.remove_suffix(2);
    }
    return detail::utf16leToUtf8(bytes);
}

static std::optional<RegValue> parseData(std::string_view data) {
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

static std::string_view trimRight(std::string_view s) {
    while (!s.empty() && (s.back() == ' ' || s.back() == '\t' || s.back() == '\r'))
        s.remove_suffix(1);
    return s;
}

static std::string_view trimLeft(std::string_view s) {
    while (!s.empty() && (s.front() == ' ' || s.front() == '\t')) s.remove_prefix(1);
    return s;
}

// Anything that does not parse is skipped: a damaged line costs that line only.
RegKeyNode parseRegistryFile(std::string_view content, std::string_view rootName) {
    RegKeyNode tree;
    tree.name = std::string(rootName);
    const std::string wantedRoot = detail::foldName(tree.name);
    if (content.substr(0, 3) == "\xEF\xBB\xBF") content.remove_prefix(3);

    std::vector<std::string_view> lines;
    for (std::size_t pos = 0; pos < content.size();) {
        std::size_t end = content.find('\n', pos);
        if (end == std::string_view::npos) end = content.size();
        lines.push_back(trimRight(content.substr(pos, end - pos)));
        pos = end + 1;
    }

    RegKeyNode* current = nullptr;
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
            auto parts = splitRegistryKey(slash == std::string_view::npos ? std::string_view{}
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
        if (!isValidRegistryValueName(name)) continue;
        if (auto value = parseData(data)) current->setValue(name, std::move(*value));
    }
    return tree;
}

// ---- Writing -----------------------------------------------------------------------------

static std::string regQuoted(std::string_view text) {
    std::string out = "\"";
    for (char c : text) {
        if (c == '\\' || c == '"') out += '\\';
        out += c;
    }
    out += '"';
    return out;
}

// Hex data wrapped like regedit's export: lines of about 80 columns, continued with "\".
static void appendHex(std::string& out, std::size_t lineStart, std::string_view prefix,
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
static std::string utf16WithNul(const std::string& text) {
    return detail::utf8ToUtf16le(text).value_or(std::string()) + std::string(2, '\0');
}

static void appendValue(std::string& out, const std::string& name, const RegValue& v) {
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

static void appendKey(std::string& out, const RegKeyNode& node, const std::string& path,
                      bool isRoot) {
    if (!isRoot || !node.values.empty()) {
        out += '\n';
        out += '[' + path + "]\n";
        for (const auto& [name, value] : node.values) appendValue(out, name, value);
    }
    for (const auto& [folded, child] : node.children) {
        appendKey(out, *child, path + '\\' + child->name, false);
    }
}

std::string serializeRegistryFile(const RegKeyNode& tree) {
    std::string out(kHeader);
    out += '\n';
    appendKey(out, tree, tree.name, true);
    return out;
}

}  // namespace platform::codec
