#pragma once
// Real locales for tests that need a decimal point other than the C locale's: built with
// localedef (Debian: locales) into a folder of the test's own, to be named by LOCPATH.

#include <cstdlib>
#include <filesystem>
#include <string>

namespace testing_support {

// Builds name.UTF-8 ("en_US", "el_GR") into folder; false when localedef cannot.
inline bool buildLocale(const std::filesystem::path& folder, const std::string& name) {
    std::filesystem::create_directories(folder);
    const std::filesystem::path built = folder / (name + ".UTF-8");
    const std::string command = "localedef -i " + name + " -f UTF-8 '" + built.string() +
                                "' >/dev/null 2>&1";
    return std::system(command.c_str()) == 0 && std::filesystem::exists(built);
}

}  // namespace testing_support
