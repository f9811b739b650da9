#include "setup/config/DataFiles.h"

#include <algorithm>
#include <cctype>
#include <system_error>

#include "platform/FileSystem.h"

namespace setup {

namespace {

std::size_t lastSeparator(std::string_view path) {
    return path.find_last_of("\\/");
}

}  // namespace

std::string setupFolderFor(std::string_view programPath, std::string_view currentDirectory) {
    auto sep = lastSeparator(programPath);
    std::string_view name =
        sep == std::string_view::npos ? programPath : programPath.substr(sep + 1);
    if ((name != "setup.exe" && name != "setup") || sep == std::string_view::npos)
        return std::string(currentDirectory);
    std::string folder(programPath.substr(0, sep));
    if (folder.size() == 2 && folder[1] == ':') folder += '\\';
    return folder;
}

void locateDataFiles(std::string_view setupFolder, RunState& run) {
    run.setupFolder = std::string(setupFolder);
    run.dataTagPath = fileInFolder(setupFolder, "data.tag");
    run.languageTagPath = fileInFolder(setupFolder, "language.tag");
    run.file1CabPath = fileInFolder(setupFolder, "file1.cab");
    // Always a backslash of its own, even after a drive root: the file system takes "E:\\x".
    run.multi1CabPath = std::string(setupFolder) + "\\multi1.cab";
    std::string datafile = run.dataTagPath;
    datafile.replace(datafile.size() - 8, 8, "datafile.dlr");
    run.datafilePath = datafile;
}

std::string fileInFolder(std::string_view folder, std::string_view name) {
    std::string path(folder);
    // A drive root ("D:\") already ends with its backslash.
    if (folder.size() != 3) path += '\\';
    path += name;
    return path;
}

std::string currentDrive(std::string_view setupFolder) {
    return std::string(setupFolder.substr(0, setupFolder.find('\\')));
}

std::string programTitle(std::string_view programPath) {
    auto sep = lastSeparator(programPath);
    std::string_view name =
        sep == std::string_view::npos ? programPath : programPath.substr(sep + 1);
    auto dot = name.rfind('.');
    if (dot != std::string_view::npos && dot > 0) name = name.substr(0, dot);
    return std::string(name);
}

void removeEarlierTexts(platform::FileSystem& files, std::string_view tempFolder) {
    for (std::string_view name : {"readme.txt", "license.txt"}) {
        std::string path(tempFolder);
        if (!path.empty() && path.back() != '\\') path += '\\';
        path += name;
        if (files.exists(path)) files.removeFile(path);
    }
}

Rgb parseColour(std::string_view text) {
    auto at = text.find('@');
    if (at != std::string_view::npos) text = text.substr(at + 1);
    auto component = [](std::string_view c) {
        if (c == "0x80") return 128;
        if (c == "0xC0") return 192;
        if (c == "0xFF") return 255;
        return 0;
    };
    auto comma = text.find(',');
    std::string_view first = text.substr(0, comma);
    std::string_view rest =
        comma == std::string_view::npos ? std::string_view{} : text.substr(comma + 1);
    auto comma2 = rest.find(',');
    std::string_view second = rest.substr(0, comma2);
    std::string_view third =
        comma2 == std::string_view::npos ? std::string_view{} : rest.substr(comma2 + 1);
    return {component(first), component(second), component(third)};
}

}  // namespace setup
