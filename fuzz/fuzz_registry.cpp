// Arbitrary bytes as a registry file: reading must not crash, and writing it back must keep
// exactly what was read (every key, value name, type and datum), so a damaged file never costs
// more than its damaged lines.

#include <unistd.h>

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include "WinText.h"
#include "platform/Registry.h"

namespace fs = std::filesystem;
using platform::RegRoot;

namespace {

constexpr std::string_view kProbe = "FuzzProbe";

struct Root {
    fs::path root;
    Root() {
        // Every write is synced to disk: in memory that costs nothing, on a disk most of the run.
        std::error_code ec;
        const fs::path base =
            fs::is_directory("/dev/shm", ec) ? fs::path("/dev/shm") : fs::temp_directory_path();
        std::string templ = (base / "fuzz-registry-XXXXXX").string();
        if (!mkdtemp(templ.data())) std::abort();
        root = templ;
        fs::create_directories(root / "registry");
    }
    ~Root() {
        std::error_code ec;
        fs::remove_all(root, ec);
    }
};

void dump(const platform::Registry& reg, const std::string& key, std::string& out, int depth) {
    if (depth > 64) return;
    for (const auto& name : reg.valueNames(RegRoot::CurrentUser, key)) {
        auto v = reg.value(RegRoot::CurrentUser, key, name);
        if (!v) __builtin_trap();  // listed but unreadable
        out += key + "|" + name + "|" + std::to_string(static_cast<int>(v->type)) + "|" + v->text +
               "|" + std::to_string(v->dword) + "|" + v->bytes + "\n";
    }
    for (const auto& sub : reg.subkeys(RegRoot::CurrentUser, key)) {
        if (key.empty() && platform::detail::sameNameNoCase(sub, kProbe)) continue;
        const std::string child = key.empty() ? sub : key + "\\" + sub;
        out += "[" + child + "]\n";
        dump(reg, child, out, depth + 1);
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static Root r;
    {
        std::ofstream out(r.root / "registry" / "HKEY_CURRENT_USER.reg",
                          std::ios::binary | std::ios::trunc);
        out.write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
    }
    auto reg = platform::makeFileRegistry(r.root);
    std::string before;
    dump(*reg, "", before, 0);

    // Two rewrites of the whole file that leave the contents as they were.
    reg->createKey(RegRoot::CurrentUser, kProbe);
    reg->deleteKey(RegRoot::CurrentUser, kProbe);

    std::string after;
    dump(*reg, "", after, 0);
    if (before != after) __builtin_trap();
    return 0;
}
