#pragma once
// The two questions of the wizard: whether to cancel the installation, and whether to restart.

#include <QDialog>

#include "setup/config/PackageDescription.h"

namespace setup {

// "Do you wish cancel the installation ?": "No" is the default and the dialog's OK, "Yes" its
// cancelling command, so Enter keeps the installation going and Escape or closing cancels it.
// True when the installation is to be cancelled.
bool askCancelInstallation(QWidget* parent, const LanguageTexts& language);

// True when the user answers "Yes" (the default).
bool askRestart(QWidget* parent, const LanguageTexts& language);

}  // namespace setup
