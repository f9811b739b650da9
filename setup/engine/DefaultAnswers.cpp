#include "setup/engine/DefaultAnswers.h"

namespace setup {

std::string folderFromUninstallString(std::string_view command) {
    std::string_view text = command;
    if (auto blank = text.find(' '); blank != std::string_view::npos) text = text.substr(blank + 1);
    if (text.starts_with('"')) text = text.size() >= 2 ? text.substr(1, text.size() - 2) : "";
    if (auto slash = text.rfind('\\'); slash != std::string_view::npos)
        text = text.substr(0, slash);
    if (text.ends_with('\\')) text.remove_suffix(1);
    return std::string(text);
}

std::string previousInstallFolder(const platform::Registry& registry, const std::string& product) {
    const auto value =
        registry.value(platform::RegRoot::LocalMachine,
                       "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\" + product,
                       "UninstallString");
    if (!value || value->text.empty()) return {};
    return folderFromUninstallString(value->text);
}

void takeDefaultAnswers(RunState& run, const PackageDescription& package,
                        const platform::Registry& registry) {
    if (package.app.update) {
        if (std::string folder = previousInstallFolder(registry, run.productName); !folder.empty())
            run.installFolder = std::move(folder);
    }
    if (!package.pages.defaultProgramFolder.empty())
        run.programFolder = package.pages.defaultProgramFolder;
}

}  // namespace setup
