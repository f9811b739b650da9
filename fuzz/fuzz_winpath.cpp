// Random Windows paths resolved in a temporary $WINROOT: a host path, when there is one, must
// lie inside the folder of the drive the path names, with no ".." left in it; wildcard
// listing and matching must neither crash nor take long.
//
// Input: "<path>" or "<path>|<pattern>".

#include <unistd.h>

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <string_view>

#include "WinText.h"
#include "platform/WinRoot.h"

namespace fs = std::filesystem;

namespace {

struct Root {
    fs::path root;
    fs::path driveC;
    fs::path driveD;
    std::unique_ptr<platform::FileSystem> files;

    Root() {
        std::string templ = (fs::temp_directory_path() / "fuzz-winroot-XXXXXX").string();
        if (!mkdtemp(templ.data())) std::abort();
        root = templ;
        platform::prepareWinRoot(root);
        driveC = root / "drive_c";
        driveD = root / "dosdevices" / "d:";
        fs::create_directories(driveC / "Program Files" / "Dezovur" / "ΑΒ");
        fs::create_directories(driveD / "Data");
        for (const char* name :
             {"Program Files/Dezovur/Ergasies.dat", "Program Files/Dezovur/oix1.dat", "Ταχύς.dat",
              "readme", "a.b.c"}) {
            std::ofstream(driveC / name) << "x";
        }
        std::ofstream(root / "outside.txt") << "must stay unreachable";
        files = platform::makePosixFileSystem(root);
    }
    ~Root() {
        std::error_code ec;
        fs::remove_all(root, ec);
    }
};

Root& fixture() {
    static Root r;
    return r;
}

void checkInside(const fs::path& host, const fs::path& base) {
    const fs::path relative = host.lexically_relative(base);
    if (relative.empty()) __builtin_trap();
    for (const auto& part : relative) {
        if (part == "..") __builtin_trap();
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    Root& r = fixture();
    const std::string_view input(reinterpret_cast<const char*>(data), size);
    const std::size_t bar = input.find('|');
    const std::string_view path = input.substr(0, bar);
    const std::string_view pattern = bar == std::string_view::npos ? "*.*" : input.substr(bar + 1);

    const auto host = r.files->hostPath(path);
    if (host) {
        if (path.size() < 2 || path[1] != ':') __builtin_trap();
        const char drive = static_cast<char>(path[0] | 0x20);
        if (drive == 'c') {
            checkInside(*host, r.driveC);
        } else if (drive == 'd') {
            checkInside(*host, r.driveD);
        } else if (drive == 'z') {
            checkInside(*host, "/");
        } else {
            __builtin_trap();  // no other drive exists
        }
        if (drive != 'z') {
            // Reads stay on the temporary drives: z: is the whole host.
            r.files->exists(path);
            r.files->isDirectory(path);
            r.files->readFile(path);
            r.files->list(path, pattern, true);
        }
    }
    platform::detail::matchWildcard(pattern, path);
    platform::detail::foldName(input);
    return 0;
}
