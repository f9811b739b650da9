#pragma once
// The wizard as the last stage of the start-up: the window built from what the start-up read,
// run to its end. main passes the installation engine's two steps.

#include <functional>

#include "setup/engine/ProgressView.h"
#include "setup/engine/Startup.h"
#include "setup/wizard/WizardContext.h"

namespace setup {

struct InstallSteps {
    std::function<void(ProgressView&)> open;   // when the progress page appears
    std::function<bool(ProgressView&)> start;  // after its timer; false: cancelled
};

// The exit status of the run (ExitStatus.h).
int runWizard(SetupContext& context, InstallSteps steps, WizardTimings timings = {});

}  // namespace setup
