#pragma once
// The wizard shown and begun, with its buttons and controls found by object name.

#include <QPushButton>
#include <QTest>

#include "setup/wizard/CWizard.h"

namespace testing_support {

struct Driver {
    explicit Driver(setup::WizardContext& ctx) : wizard(ctx) {
        wizard.show();
        wizard.begin();
    }
    QPushButton* button(const char* name) { return wizard.findChild<QPushButton*>(name); }
    void click(const char* name) { QTest::mouseClick(button(name), Qt::LeftButton); }
    template <class T>
    T* find(const char* name) {
        return wizard.findChild<T*>(name);
    }
    setup::CWizard wizard;
};

}  // namespace testing_support
