#pragma once
// What the wizard's pages answer when the user takes their defaults, for a run without them: a
// silent run must install where and as the windowed one would.

#include <string>
#include <string_view>

#include "platform/Registry.h"
#include "setup/config/PackageDescription.h"
#include "setup/config/RunState.h"

namespace setup {

// The folder of an installation from its uninstall command ("…\zuninstall.exe "C:\App\x.log""
// gives C:\App); empty when the command names none.
std::string folderFromUninstallString(std::string_view command);

// The folder the product was installed into before, from its uninstall entry; empty when it
// has none.
std::string previousInstallFolder(const platform::Registry& registry, const std::string& product);

// The destination page's folder ("INSTALLMODE" other than a new installation updates the one
// installed before) and the program folder page's group ("DS4").
void takeDefaultAnswers(RunState& run, const PackageDescription& package,
                        const platform::Registry& registry);

}  // namespace setup
