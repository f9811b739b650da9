#pragma once
// How much of the package to install: the setup type page and the custom file page that the
// wizard shows after it when Custom is chosen.

#include "setup/wizard/CPage.h"

class QRadioButton;
class QTreeWidget;

namespace setup {

class CSetupType : public CPage {
    Q_OBJECT
public:
    CSetupType(WizardContext& context, QWidget* parent);

protected:
    void shown() override { settle(); }
    void hidden() override { settle(); }

private:
    void settle();
    QRadioButton* typical_;
    QRadioButton* compact_;
    QRadioButton* custom_;
};

class CDCustom : public CPage {
    Q_OBJECT
public:
    CDCustom(WizardContext& context, QWidget* parent);
    QTreeWidget* list() const { return list_; }

protected:
    void shown() override;
    void hidden() override { rebuildChosen(); }

private:
    void fill();
    void rebuildChosen();
    // Next goes on only with something ticked: unticking every file is no way to install. An
    // empty list (a package without files) lets it go on, as Typical would install as little.
    void followTicks();
    QTreeWidget* list_;
};

}  // namespace setup
