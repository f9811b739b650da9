#pragma once
// The value conventions of the setup data files that more than the reader applies: the number
// a text reads as, and the product name put in place of the placeholder. The files themselves
// are read by readPackage (PackageDescription.h).

#include <string>
#include <string_view>

namespace setup {

// strtol's reading: leading blanks, an optional sign, digits up to the first other character.
long leadingInteger(std::string_view text);

// Every "********" replaced by the product name.
std::string applyPlaceholder(std::string_view text, std::string_view productName);

}  // namespace setup
