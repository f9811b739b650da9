#pragma once
// The Windows registry, kept on the host as one text file per predefined root under
// $WINROOT/registry/, in the syntax of a registry export so a person can read and diff it.
// Every change is atomic (temporary file, then rename) under a file lock, so two processes
// writing at once lose nothing. Key paths use "\" and match without regard to case.

#include <cstdint>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace platform {

enum class RegRoot { ClassesRoot, CurrentUser, LocalMachine, Users, CurrentConfig };

struct RegValue {
    enum class Type { String, ExpandString, Dword, Binary };
    Type type = Type::String;
    std::string text;         // String, ExpandString (UTF-8)
    std::uint32_t dword = 0;  // Dword
    std::string bytes;        // Binary
};

// The same type and the same data (what a value of that type holds).
bool sameData(const RegValue& a, const RegValue& b);

// One change of several made at once: the key made when missing, and its value set when one
// is given.
struct RegSetting {
    std::string key;
    std::string name;
    std::optional<RegValue> value;  // none: the key alone
};

class Registry {
public:
    virtual ~Registry() = default;
    // Every setting, in order; false when any could not be made. Where the registry is a file
    // this is one write rather than one per setting.
    virtual bool apply(RegRoot root, const std::vector<RegSetting>& settings) {
        bool ok = true;
        for (const RegSetting& s : settings)
            ok = (s.value ? setValue(root, s.key, s.name, *s.value) : createKey(root, s.key)) && ok;
        return ok;
    }
    // The values (and keys) a new root holds from the start, made again whenever they are
    // found missing: those missing are written as apply writes them, the others left as they
    // are. A registry file made new for them need not have reached the disk when this returns:
    // a power cut can only take them, and they come back. For the same reason a file holding
    // nothing but them is not forced to the disk before the next change replaces it.
    virtual bool seed(RegRoot root, const std::vector<RegSetting>& settings) {
        std::vector<RegSetting> missing;
        for (const RegSetting& s : settings) {
            const bool there = s.value ? value(root, s.key, s.name).has_value()
                                       : keyExists(root, s.key);
            if (!there) missing.push_back(s);
        }
        return missing.empty() || apply(root, missing);
    }
    virtual bool createKey(RegRoot root, std::string_view key) = 0;
    virtual bool keyExists(RegRoot root, std::string_view key) const = 0;
    // Removes the key with all its subkeys and values.
    virtual bool deleteKey(RegRoot root, std::string_view key) = 0;
    // Creates the key when missing. name "" is the key's default value.
    virtual bool setValue(RegRoot root, std::string_view key, std::string_view name,
                          const RegValue& value) = 0;
    virtual std::optional<RegValue> value(RegRoot root, std::string_view key,
                                          std::string_view name) const = 0;
    virtual bool deleteValue(RegRoot root, std::string_view key, std::string_view name) = 0;
    virtual std::vector<std::string> subkeys(RegRoot root, std::string_view key) const = 0;
    virtual std::vector<std::string> valueNames(RegRoot root, std::string_view key) const = 0;
};

// The root a registry path text names ("HKEY_LOCAL_MACHINE"): the exact, upper-case name only,
// as the setup data files write it.
std::optional<RegRoot> regRootNamed(std::string_view name);

std::unique_ptr<Registry> makeFileRegistry(const std::filesystem::path& winRoot);

}  // namespace platform
