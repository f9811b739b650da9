// Registry keys and values: a key is recorded only when this run created it, a value with
// what it held before, so undoing puts back exactly the registry the run found.

#include <charconv>

#include "platform/codec/RegistrySyntax.h"
#include "record/Changes.h"

namespace record {
namespace {

using platform::RegRoot;
using platform::RegValue;

std::optional<RegRoot> rootOf(const Record& record) {
    return platform::regRootNamed(record.field(0));
}

std::string item(const Record& record) {
    return record.field(0) + "\\" + record.field(1);
}

bool sameValue(const std::optional<RegValue>& a, const std::optional<RegValue>& b) {
    if (!a || !b) return !a && !b;
    return platform::sameData(*a, *b);
}

}  // namespace

bool RegistryKeyChange::announce(Recorder& r, RegRoot root, const std::string& key,
                                 bool& missing, const platform::codec::RegKeyNode* made) {
    auto& registry = r.machine().registry;
    // Within one write, a key announced before is as good as there; the tree of them folds
    // names as the registry does.
    const auto inMade = [made](const std::string& k) {
        const auto parts = platform::codec::splitRegistryKey(k);
        if (!made || !parts) return false;
        const platform::codec::RegKeyNode* node = made;
        for (const auto& p : *parts)
            if (!(node = node->child(p))) return false;
        return true;
    };
    const auto exists = [&](const std::string& k) {
        return inMade(k) || registry.keyExists(root, k);
    };
    missing = !key.empty() && !exists(key);
    if (!missing) return true;
    // Every key of the chain that is missing, the outermost first, so undoing removes the
    // innermost first.
    std::vector<std::string> chain{key};
    for (auto cut = key.rfind('\\'); cut != std::string::npos && cut > 0;
         cut = key.rfind('\\', cut - 1)) {
        const std::string parent = key.substr(0, cut);
        if (exists(parent)) break;
        chain.push_back(parent);
    }
    for (auto it = chain.rbegin(); it != chain.rend(); ++it)
        if (!r.append({"regkey", {std::string(regRootName(root)), *it}})) return false;
    return true;
}

bool RegistryKeyChange::create(Recorder& r, RegRoot root, const std::string& key) {
    bool missing = false;
    if (!announce(r, root, key, missing)) return false;
    return !missing || r.machine().registry.createKey(root, key);
}

void RegistryKeyChange::undo(const Record& record, UndoContext& c) {
    auto& registry = c.machine.registry;
    const auto root = rootOf(record);
    const std::string& key = record.field(1);
    if (!root) {
        c.leftovers.push_back({item(record), Why::UnknownRoot});
        return;
    }
    if (!registry.keyExists(*root, key)) return;
    if (!registry.subkeys(*root, key).empty() || !registry.valueNames(*root, key).empty()) {
        c.leftovers.push_back({item(record), Why::Kept, false});
        return;
    }
    if (!registry.deleteKey(*root, key)) c.leftovers.push_back({item(record), Why::Failed});
}

std::string RegistryValueChange::encode(const std::optional<RegValue>& value) {
    if (!value) return "-";
    static constexpr char kHex[] = "0123456789abcdef";
    switch (value->type) {
        case RegValue::Type::String:
            return "s:" + value->text;
        case RegValue::Type::ExpandString:
            return "x:" + value->text;
        case RegValue::Type::Dword:
            return "d:" + std::to_string(value->dword);
        case RegValue::Type::Binary: {
            std::string out = "b:";
            for (const char ch : value->bytes) {
                const auto c = static_cast<unsigned char>(ch);
                out += kHex[c >> 4];
                out += kHex[c & 15];
            }
            return out;
        }
    }
    return "-";
}

std::optional<RegValue> RegistryValueChange::decode(std::string_view text) {
    if (text.size() < 2 || text[1] != ':') return std::nullopt;
    const std::string_view data = text.substr(2);
    RegValue v;
    switch (text[0]) {
        case 's':
            v.text = std::string(data);
            return v;
        case 'x':
            v.type = RegValue::Type::ExpandString;
            v.text = std::string(data);
            return v;
        case 'd': {
            v.type = RegValue::Type::Dword;
            const auto [end, ec] = std::from_chars(data.data(), data.data() + data.size(), v.dword);
            if (ec != std::errc() || end != data.data() + data.size()) return std::nullopt;
            return v;
        }
        case 'b': {
            v.type = RegValue::Type::Binary;
            if (data.size() % 2) return std::nullopt;
            for (std::size_t i = 0; i < data.size(); i += 2) {
                unsigned byte = 0;
                const auto [end, ec] = std::from_chars(data.data() + i, data.data() + i + 2, byte, 16);
                if (ec != std::errc() || end != data.data() + i + 2) return std::nullopt;
                v.bytes += static_cast<char>(byte);
            }
            return v;
        }
        default:
            return std::nullopt;
    }
}


// Every record first, then one write: a run cut short in between has written none of them,
// and undoing a record whose value is still the one before changes nothing.
bool RegistryValueChange::setAll(Recorder& r, RegRoot root, const std::vector<KeyValues>& keys) {
    auto& registry = r.machine().registry;
    platform::codec::RegKeyNode made;
    std::vector<platform::RegSetting> settings;
    for (const KeyValues& entry : keys) {
        const std::string& key = entry.key;
        bool missing = false;
        if (!RegistryKeyChange::announce(r, root, key, missing, &made)) return false;
        if (missing) settings.push_back({key, {}, std::nullopt});
        // The key is there for the keys after it; a value set earlier in this write held,
        // before this, what that write put there.
        platform::codec::RegKeyNode* node = &made;
        if (const auto parts = platform::codec::splitRegistryKey(key))
            for (const auto& p : *parts) node = &node->ensureChild(p);
        for (const auto& [name, value] : entry.values) {
            const platform::RegValue* earlier = node->findValue(name);
            const auto before = earlier ? std::optional(*earlier) : registry.value(root, key, name);
            if (!r.append({"regvalue", {std::string(regRootName(root)), key, name,
                                        encode(before), encode(value)}}))
                return false;
            node->setValue(name, value);
            settings.push_back({key, name, value});
        }
    }
    return registry.apply(root, settings);
}

// Fields: root, key, name, the value before ("-": none), the value written.
void RegistryValueChange::undo(const Record& record, UndoContext& c) {
    auto& registry = c.machine.registry;
    const auto root = rootOf(record);
    const std::string& key = record.field(1);
    const std::string& name = record.field(2);
    const std::string label = item(record) + ", " + name;
    if (!root) {
        c.leftovers.push_back({label, Why::UnknownRoot});
        return;
    }
    const auto now = registry.value(*root, key, name);
    const auto before = decode(record.field(3));
    if (c.mode == UndoMode::Uninstall && now && !sameValue(now, decode(record.field(4)))) {
        // Someone set it again since: their value, not ours.
        c.leftovers.push_back({label, Why::Changed, false});
        return;
    }
    if (sameValue(now, before)) return;
    const bool ok = before ? registry.setValue(*root, key, name, *before)
                           : registry.deleteValue(*root, key, name);
    if (!ok) c.leftovers.push_back({label, Why::Failed});
}

}  // namespace record
