#pragma once
// The install log that setup leaves in the installation folder: an initialisation file that
// names everything the installation created, read here into plain lists.

#include <string>
#include <string_view>
#include <vector>

namespace platform {
class ProfileFiles;
}

namespace uninstall {

struct RegistryEntry {
    std::string keyPath;  // root name, "\" and subkey, as setup read it
    std::string valueName;
};

struct InstallLog {
    std::vector<std::string> files;    // [LOG], in log order
    std::vector<std::string> folders;  // [DIR], in log order
    std::string uninstallKey;          // [UNINSTALL] PATH, under HKEY_LOCAL_MACHINE
    std::string applicationKey;        // [REGISTRY] PATH, under HKEY_LOCAL_MACHINE
    std::vector<RegistryEntry> registryEntries;
};

// Keys are taken as they stand in the file rather than counted from 0: the log has a gap in
// [LOG] where setup skipped a number, and a log edited by hand may have more. Empty values
// are dropped. A missing file reads as an empty log.
InstallLog readInstallLog(const platform::ProfileFiles& profiles, std::string_view logPath);

// "HKEY_LOCAL_MACHINE\Software\X" -> the root name and "Software\X"; false without a backslash.
bool splitRegistryPath(std::string_view path, std::string& root, std::string& subkey);

// ASCII lower case (setup logs paths in lower case already), "/" as "\", no trailing separator: how
// two logged paths are compared.
std::string comparablePath(std::string_view winPath);

}  // namespace uninstall
