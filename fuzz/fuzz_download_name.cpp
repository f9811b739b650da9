// Arbitrary text as a download's URL: the file name it is saved under must be one plain file
// name, and the download's folder joined with it (and with the temporary "~<name>.part" beside
// it) must be a file directly inside that folder under the Windows path rules of a real
// $WINROOT, never the folder itself, its parent or a path the file system refuses. A URL whose
// name cannot be one must give no name at all.

#include <unistd.h>

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "platform/WinRoot.h"
#include "setup/engine/DownloadMeter.h"

namespace fs = std::filesystem;

namespace {

constexpr const char* kFolder = "C:\\Program Files\\App";

struct Root {
    fs::path root;
    std::unique_ptr<platform::FileSystem> files;
    fs::path folder;

    Root() {
        std::string templ = (fs::temp_directory_path() / "fuzz-download-XXXXXX").string();
        if (!mkdtemp(templ.data())) std::abort();
        root = templ;
        platform::prepareWinRoot(root);
        fs::create_directories(root / "drive_c" / "Program Files" / "App");
        files = platform::makePosixFileSystem(root);
        folder = files->hostPath(kFolder).value();
    }
    ~Root() {
        std::error_code ec;
        fs::remove_all(root, ec);
    }
};

void checkDirectlyInside(const Root& r, const std::string& name) {
    const auto host = r.files->hostPath(std::string(kFolder) + "\\" + name);
    if (!host || host->parent_path() != r.folder || host->filename().empty()) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static Root r;
    const std::string url(reinterpret_cast<const char*>(data), size);
    const auto name = setup::downloadFileName(url);
    if (!name) return 0;
    if (name->empty() || name->find_first_of("\\/:") != std::string::npos) std::abort();
    for (const unsigned char c : *name)
        if (c < 0x20 || c == 0x7F) std::abort();
    checkDirectlyInside(r, *name);
    checkDirectlyInside(r, "~" + *name + ".part");
    return 0;
}
