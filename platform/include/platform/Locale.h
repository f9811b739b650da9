#pragma once
#include <string>

namespace platform {

// The decimal separator of the user's LC_NUMERIC locale, read from the environment (not from
// the process's current C locale, which Qt changes). Where no locale is set (C/POSIX) it is the
// comma, as on a Greek system.
std::string decimalSeparator();

}  // namespace platform
