#pragma once
// libcurl, opened when the first download needs it instead of being linked: a package with
// nothing to fetch never maps libcurl, nor the TLS, compression and name libraries it brings.
// The few functions setup calls are looked up by name once, and curl_global_init runs once,
// when the library is opened. Only the types and constants of <curl/curl.h> are used at build
// time.

#include <curl/curl.h>

#include <string>
#include <vector>

namespace setup {

struct CurlLibrary {
    CURL* (*easyInit)();
    void (*easyCleanup)(CURL*);
    CURLcode (*easySetopt)(CURL*, CURLoption, ...);
    CURLcode (*easyGetinfo)(CURL*, CURLINFO, ...);
    CURLcode (*easyPerform)(CURL*);
    const char* (*easyStrerror)(CURLcode);
    char* (*easyUnescape)(CURL*, const char*, int, int*);
    curl_slist* (*slistAppend)(curl_slist*, const char*);
    void (*slistFreeAll)(curl_slist*);
    int (*strequal)(const char*, const char*);
    CURLU* (*urlNew)();
    void (*urlCleanup)(CURLU*);
    CURLUcode (*urlSet)(CURLU*, CURLUPart, const char*, unsigned int);
    CURLUcode (*urlGet)(const CURLU*, CURLUPart, char**, unsigned int);
    void (*release)(void*);  // curl_free
};

// The host's libcurl, opened on the first call and kept for the rest of the process; nullptr
// when it cannot be opened, with the reason (the same on every call) in *why.
const CurlLibrary* curlLibrary(std::string* why = nullptr);

// The first of names (sonames or paths) that opens and has every function above; nullptr and
// the reason otherwise. What it opens stays open for the rest of the process.
const CurlLibrary* openCurlLibrary(const std::vector<std::string>& names, std::string* why);

}  // namespace setup
