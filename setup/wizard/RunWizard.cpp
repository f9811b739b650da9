#include "setup/wizard/RunWizard.h"

#include "setup/wizard/CWizard.h"

namespace setup {

int runWizard(SetupContext& c, InstallSteps steps, WizardTimings timings) {
    platform::Services& s = c.services;
    WizardContext ctx{c.run,
                      c.package,
                      *s.files,
                      *s.registry,
                      *s.system,
                      *s.launcher,
                      c.prompter,
                      std::move(steps.open),
                      std::move(steps.start),
                      timings};
    CWizard wizard(ctx);
    return wizard.run();
}

}  // namespace setup
