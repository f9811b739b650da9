#include "platform/Locale.h"

#include <langinfo.h>
#include <locale.h>

#include <cstdlib>
#include <string_view>

namespace platform {

namespace {

// The locale name that governs LC_NUMERIC by the POSIX precedence; empty values count as unset.
std::string numericLocaleName() {
    for (const char* variable : {"LC_ALL", "LC_NUMERIC", "LANG"}) {
        const char* value = std::getenv(variable);
        if (value && *value) return value;
    }
    return {};
}

bool isPlainCLocale(std::string_view name) {
    return name.empty() || name == "C" || name == "POSIX" || name == "C.UTF-8" ||
           name == "C.utf8" || name == "C.UTF8" || name == "C.utf-8";
}

}  // namespace

std::string decimalSeparator() {
    const std::string fallback = ",";
    const std::string name = numericLocaleName();
    if (isPlainCLocale(name)) return fallback;
    locale_t loc = newlocale(LC_NUMERIC_MASK, name.c_str(), static_cast<locale_t>(nullptr));
    if (loc == static_cast<locale_t>(nullptr)) return fallback;
    // Asked of the thread's locale, not with nl_langinfo_l: in a statically linked program
    // (dezovur) nl_langinfo_l answers from the C locale whatever it is given.
    const locale_t previous = uselocale(loc);
    const char* radix = nl_langinfo(RADIXCHAR);
    std::string result = (radix && *radix) ? radix : fallback;
    uselocale(previous);
    freelocale(loc);
    return result;
}

}  // namespace platform
