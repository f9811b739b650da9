#include "support/TempWinRoot.h"

#include <cstdlib>
#include <fstream>
#include <iterator>
#include <stdexcept>

#include "platform/Cp1253.h"
#include "platform/WinRoot.h"

namespace testing_support {

TempWinRoot::TempWinRoot() {
    auto base = std::filesystem::temp_directory_path() / "dezovur-test-XXXXXX";
    std::string templ = base.string();
    if (!mkdtemp(templ.data())) throw std::runtime_error("mkdtemp failed");
    root_ = templ;
    if (const char* v = std::getenv("WINROOT")) {
        hadWinRoot_ = true;
        savedWinRoot_ = v;
    }
    if (const char* v = std::getenv("XDG_DATA_HOME")) {
        hadXdg_ = true;
        savedXdg_ = v;
    }
    setenv("WINROOT", root_.c_str(), 1);
    setenv("XDG_DATA_HOME", (root_ / "xdg").c_str(), 1);
    platform::prepareWinRoot(root_);
    fs_ = platform::makePosixFileSystem(root_);
}

TempWinRoot::~TempWinRoot() {
    fs_.reset();
    std::error_code ec;
    std::filesystem::remove_all(root_, ec);
    if (hadWinRoot_)
        setenv("WINROOT", savedWinRoot_.c_str(), 1);
    else
        unsetenv("WINROOT");
    if (hadXdg_)
        setenv("XDG_DATA_HOME", savedXdg_.c_str(), 1);
    else
        unsetenv("XDG_DATA_HOME");
}

void TempWinRoot::writeHostFile(const std::filesystem::path& relativeToC, std::string_view bytes) {
    auto path = driveC() / relativeToC;
    std::filesystem::create_directories(path.parent_path());
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

std::string TempWinRoot::readHostFile(const std::filesystem::path& relativeToC) const {
    std::ifstream in(driveC() / relativeToC, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

std::string cp1253(std::string_view utf8) {
    auto bytes = platform::utf8ToCp1253(utf8);
    if (!bytes) throw std::invalid_argument("not encodable in Windows-1253");
    return *bytes;
}

}  // namespace testing_support
