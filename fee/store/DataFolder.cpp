#include "fee/store/DataFolder.h"

#include <algorithm>
#include <cctype>
#include <system_error>

#include "fee/store/DataStore.h"
#include "platform/WinRoot.h"

namespace fee {

namespace {

bool isFile(const platform::FileSystem& fs, const std::string& winPath) {
    return fs.exists(winPath) && !fs.isDirectory(winPath);
}

bool sameIgnoringAsciiCase(std::string_view a, std::string_view b) {
    return std::equal(a.begin(), a.end(), b.begin(), b.end(), [](char x, char y) {
        return std::tolower(static_cast<unsigned char>(x)) ==
               std::tolower(static_cast<unsigned char>(y));
    });
}

}  // namespace

std::string dataFolderBeside(const platform::FileSystem& fs, std::string_view programFolder) {
    std::string folder(programFolder);
    if (folder.empty()) return std::string(kDataFolder);
    if (folder.back() != '\\') folder += '\\';
    // temp.dat names the current job by its full path, so the folder must survive being a
    // text line: no comma or quote, nothing Windows-1253 lacks.
    if (!storableText(folder)) return std::string(kDataFolder);
    if (!isFile(fs, folder + "Ergasies.dat") || !isFile(fs, folder + "l.dat"))
        return std::string(kDataFolder);
    if (sameIgnoringAsciiCase(folder, kDataFolder)) return std::string(kDataFolder);
    return folder;
}

std::string dataFolderForProgram(const platform::FileSystem& fs,
                                 const std::filesystem::path& winRoot,
                                 const std::filesystem::path& programHostFolder) {
    if (programHostFolder.empty()) return std::string(kDataFolder);
    return dataFolderBeside(fs, platform::windowsPathOf(programHostFolder, winRoot));
}

std::filesystem::path runningProgramFolder() {
    std::error_code ec;
    const std::filesystem::path self = std::filesystem::read_symlink("/proc/self/exe", ec);
    if (ec || self.empty()) return {};
    return self.parent_path();
}

}  // namespace fee
