#pragma once
// Where the host's desktop looks for application launchers, so an installed Windows program
// is found the Linux way too.

#include <string>

namespace platform {

// $XDG_DATA_HOME (else ~/.local/share) as a Windows path through drive Z:, where the host's
// desktop looks for launchers ("applications") and icons ("icons"). Nothing is created: a
// folder made there is a change like any other. Empty when there is none to be had.
std::string hostDataFolder();

}  // namespace platform
