#pragma once
// Where the host's desktop looks for application launchers, so an installed Windows program
// is found the Linux way too.

#include <string>

namespace platform {

// $XDG_DATA_HOME/applications (else ~/.local/share/applications) as a Windows path through
// drive Z:, created when missing. Empty when there is no such folder to be had.
std::string hostApplicationsFolder();

}  // namespace platform
