#include "platform/HostDesktop.h"

#include <cstdlib>
#include <filesystem>
#include <system_error>

namespace platform {

std::string hostDataFolder() {
    namespace fs = std::filesystem;
    fs::path base;
    if (const char* xdg = std::getenv("XDG_DATA_HOME"); xdg && *xdg == '/') {
        base = xdg;
    } else if (const char* home = std::getenv("HOME"); home && *home == '/') {
        base = fs::path(home) / ".local" / "share";
    } else {
        return {};
    }
    const fs::path& folder = base;
    // Drive Z: is the host's root; a name holding "\" cannot be spelled as a Windows path.
    std::string text = folder.lexically_normal().string();
    if (text.find('\\') != std::string::npos) return {};
    while (text.size() > 1 && text.back() == '/') text.pop_back();
    for (char& c : text)
        if (c == '/') c = '\\';
    return "z:" + text;
}

}  // namespace platform
