#include "platform/Library.h"

#include <dlfcn.h>

#include <filesystem>

namespace platform {

void* entryPointBeside(std::string_view fileName, const char* symbol, std::string& problem) {
    std::error_code ec;
    const auto self = std::filesystem::read_symlink("/proc/self/exe", ec);
    const std::filesystem::path library =
        (ec ? std::filesystem::path(".") : self.parent_path()) / fileName;
    void* handle = ::dlopen(library.c_str(), RTLD_NOW | RTLD_LOCAL);
    void* entry = handle ? ::dlsym(handle, symbol) : nullptr;
    if (!entry) {
        const char* error = ::dlerror();
        problem = error ? error : library.string();
    }
    return entry;
}

}  // namespace platform
