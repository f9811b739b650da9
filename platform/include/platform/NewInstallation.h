#pragma once
// What a fresh $WINROOT holds before any program writes to it: the registry values a new
// Windows installation has, which the setup program's requirement tests and folder tokens
// read. A package may be tried against another Windows version by changing them.

#include <string>
#include <string_view>

#include "platform/Registry.h"

namespace platform {

inline constexpr std::string_view kWindowsCurrentVersionKey =
    "SOFTWARE\\Microsoft\\Windows\\CurrentVersion";
inline constexpr std::string_view kWindowsNtCurrentVersionKey =
    "SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion";
inline constexpr std::string_view kCodePageKey =
    "SYSTEM\\CurrentControlSet\\Control\\Nls\\CodePage";

// 1253 for a Greek locale name ("el", "el_GR.UTF-8"), else 1252.
int ansiCodePageForLocale(std::string_view localeName);
// The locale the user runs under: the first of LC_ALL, LC_CTYPE and LANG that is set and not
// empty, as the C library chooses it.
std::string userLocaleName();

// Writes every seed value that is missing under HKEY_LOCAL_MACHINE (Registry::seed: they are
// written again at every start that misses them); an existing value, even of another type, is
// never touched. False when one could not be written.
bool seedRegistry(Registry& registry, int ansiCodePage);

}  // namespace platform
