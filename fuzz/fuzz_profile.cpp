// Arbitrary bytes as an initialisation file (the first byte picks the code page): reading must
// not crash, a value written must read back, every section read before is still there, and a
// write of what the file already says leaves the bytes as they were.

#include <strings.h>

#include <cstdint>
#include <cstdlib>
#include <string>

#include "platform/codec/ProfileSyntax.h"

using namespace platform::codec;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0) return 0;
    const int codePage = (data[0] & 1) ? 1253 : 1252;
    const std::string file(reinterpret_cast<const char*>(data + 1), size - 1);

    const auto sections = profileSections(file, codePage);
    for (const auto& section : sections) {
        for (const auto& key : profileKeys(file, codePage, section)) {
            (void)readProfileString(file, codePage, section, key, "", 64);
        }
    }

    const auto written = writeProfileString(file, codePage, "Fuzz", "Probe", "a value");
    if (!written) return 0;  // only an encoding that cannot hold the names refuses
    if (readProfileString(*written, codePage, "fuzz", "probe", "", 256) != "a value") std::abort();
    for (const auto& section : sections) {
        if (strcasecmp(section.c_str(), "fuzz") == 0) continue;
        if (profileKeys(*written, codePage, section) != profileKeys(file, codePage, section))
            std::abort();
    }
    const auto again = writeProfileString(*written, codePage, "Fuzz", "Probe", "a value");
    if (!again || *again != *written) std::abort();
    return 0;
}
