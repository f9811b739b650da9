#include "setup/engine/CurlLibrary.h"

#include <dlfcn.h>

#include <memory>
#include <mutex>

namespace setup {
namespace {

// The OpenSSL build first (the one setup is built against), then the GnuTLS one, which
// offers the same functions.
const std::vector<std::string> kHostNames = {"libcurl.so.4", "libcurl-gnutls.so.4"};

template <class F>
bool find(void* handle, const char* name, F& slot, std::string& missing) {
    slot = reinterpret_cast<F>(::dlsym(handle, name));
    if (!slot) missing = name;
    return slot != nullptr;
}

bool resolve(void* h, CurlLibrary& l, std::string& missing) {
    return find(h, "curl_easy_init", l.easyInit, missing) &&
           find(h, "curl_easy_cleanup", l.easyCleanup, missing) &&
           find(h, "curl_easy_setopt", l.easySetopt, missing) &&
           find(h, "curl_easy_getinfo", l.easyGetinfo, missing) &&
           find(h, "curl_easy_perform", l.easyPerform, missing) &&
           find(h, "curl_easy_strerror", l.easyStrerror, missing) &&
           find(h, "curl_easy_unescape", l.easyUnescape, missing) &&
           find(h, "curl_slist_append", l.slistAppend, missing) &&
           find(h, "curl_slist_free_all", l.slistFreeAll, missing) &&
           find(h, "curl_strequal", l.strequal, missing) &&
           find(h, "curl_url", l.urlNew, missing) &&
           find(h, "curl_url_cleanup", l.urlCleanup, missing) &&
           find(h, "curl_url_set", l.urlSet, missing) &&
           find(h, "curl_url_get", l.urlGet, missing) && find(h, "curl_free", l.release, missing);
}

}  // namespace

const CurlLibrary* openCurlLibrary(const std::vector<std::string>& names, std::string* why) {
    // curl_global_init is not safe to run while another thread runs it.
    static std::mutex mutex;
    std::lock_guard lock(mutex);
    std::string reasons;
    for (const std::string& name : names) {
        void* handle = ::dlopen(name.c_str(), RTLD_NOW | RTLD_LOCAL);
        if (!handle) {
            const char* error = ::dlerror();
            reasons += (reasons.empty() ? "" : "; ") + std::string(error ? error : name);
            continue;
        }
        auto library = std::make_unique<CurlLibrary>();
        std::string missing;
        CURLcode (*globalInit)(long) = nullptr;
        if (!resolve(handle, *library, missing) ||
            !find(handle, "curl_global_init", globalInit, missing)) {
            reasons += (reasons.empty() ? "" : "; ") + name + " has no " + missing;
            ::dlclose(handle);
            continue;
        }
        if (globalInit(CURL_GLOBAL_DEFAULT) != CURLE_OK) {
            reasons += (reasons.empty() ? "" : "; ") + name + " could not start";
            continue;
        }
        return library.release();  // kept, like the library, until the process ends
    }
    if (why)
        *why = "libcurl could not be loaded (" + reasons +
               "); files cannot be fetched from the Internet without it (Debian: libcurl4)";
    return nullptr;
}

const CurlLibrary* curlLibrary(std::string* why) {
    static std::string reason;
    static const CurlLibrary* const library = openCurlLibrary(kHostNames, &reason);
    if (!library && why) *why = reason;
    return library;
}

}  // namespace setup
