#pragma once
// What the wizard window and its pages are given: the run state, the package description (the
// setup data and language texts), the platform services, how messages reach the user, the
// installation to start, and the lengths of every timer (tests shorten them).

#include <functional>

#include "platform/FileSystem.h"
#include "platform/Launcher.h"
#include "platform/Registry.h"
#include "platform/SystemInfo.h"
#include "setup/config/PackageDescription.h"
#include "setup/config/Prompter.h"
#include "setup/config/RunState.h"
#include "setup/engine/ProgressView.h"

namespace setup {

struct WizardTimings {
    int installDelayMs = 500;  // the progress page waits this long before the run starts
    int pollMs = 300;          // timer 1: how often the wizard looks at InstallState
    int frontMs = 500;         // timer 2: over the background window after this long
};

// Whether the setup type page was last left with Custom chosen; Consumed once the wizard has
// shown the custom file page for it, so that page comes once per pass.
enum class CustomChoice { Clear, Set, Consumed };

struct WizardContext {
    RunState& state;
    const PackageDescription& package;
    platform::FileSystem& files;
    platform::Registry& registry;
    platform::SystemInfo& system;
    platform::Launcher& launcher;
    Prompter& prompter;
    // Called when the progress page appears (log name, progress range), before its timer.
    std::function<void(ProgressView&)> openInstall;
    // The installation run, started by the progress page's timer. It sets InstallState to Done
    // when finished (at once or later, after downloads); false when the user cancelled it, and
    // the wizard then ends without the Finish actions.
    std::function<bool(ProgressView&)> startInstall;
    WizardTimings timings{};
    CustomChoice customChoice = CustomChoice::Clear;
};

}  // namespace setup
