#pragma once
// The registry file syntax: one predefined root as the text of a registry export
// ("Windows Registry Editor Version 5.00", [key] lines, "name"="text", dword:, hex:, hex(1):,
// hex(2):), parsed into a tree and written back, without any I/O. Anything that does not parse
// is skipped on reading: a damaged line costs that line only.

#include <map>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "platform/Registry.h"

namespace platform::codec {

struct RegKeyNode {
    std::string name;  // first spelling
    std::vector<std::pair<std::string, RegValue>> values;
    std::map<std::string, std::unique_ptr<RegKeyNode>> children;  // by folded name, so sorted

    RegKeyNode* child(std::string_view childName) const;
    RegKeyNode& ensureChild(std::string_view childName);
    const RegValue* findValue(std::string_view valueName) const;
    void setValue(std::string_view valueName, RegValue v);
};

// Key path components split at "\"; empty when a component cannot be written to the file.
std::optional<std::vector<std::string>> splitRegistryKey(std::string_view key);
bool isValidRegistryValueName(std::string_view name);

// Whether every key of tree is one of allowed's and every value one of allowed's, the same
// type and data (names compared as the registry compares them).
bool holdsOnly(const RegKeyNode& tree, const RegKeyNode& allowed);

// rootName: "HKEY_LOCAL_MACHINE" and the like; keys under other roots are skipped.
RegKeyNode parseRegistryFile(std::string_view content, std::string_view rootName);
std::string serializeRegistryFile(const RegKeyNode& tree);

}  // namespace platform::codec
