#pragma once
// The pages that only inform or collect simple answers: welcome, licence, readme, user
// information, start copying and complete.

#include <optional>

#include "setup/wizard/CPage.h"

class QCheckBox;
class QLineEdit;
class QPlainTextEdit;
class QRadioButton;

namespace setup {

class SidePicture;

// The welcome and complete pages: black on white, with the side picture.
class CWhitePage : public CPage {
    Q_OBJECT
public:
    CWhitePage(WizardContext& context, const char* name, int widthDu, int heightDu,
               QWidget* parent);

protected:
    // The built-in picture, or the package's picture (white when it cannot be read).
    void showSidePicture(bool packagePicture);
    QFont bigTitleFont() const;
    SidePicture* side_ = nullptr;
    QWidget* builtin_ = nullptr;
};

class CWelcome : public CWhitePage {
    Q_OBJECT
public:
    CWelcome(WizardContext& context, QWidget* parent);
};

class CLicense : public CPage {
    Q_OBJECT
public:
    CLicense(WizardContext& context, QWidget* parent);
    QRadioButton* acceptButton() const { return accept_; }

protected:
    void shown() override;

private:
    QRadioButton* accept_;
    QRadioButton* decline_;
};

class CReadme : public CPage {
    Q_OBJECT
public:
    CReadme(WizardContext& context, QWidget* parent);
};

class CUser : public CPage {
    Q_OBJECT
public:
    CUser(WizardContext& context, QWidget* parent);

protected:
    void shown() override;

private:
    QLineEdit* name_;
};

class CStartCopying : public CPage {
    Q_OBJECT
public:
    CStartCopying(WizardContext& context, QWidget* parent);

protected:
    void shown() override { refresh(); }
    void hidden() override { refresh(); }

private:
    void refresh();
    QPlainTextEdit* summary_;
};

class CComplete : public CWhitePage {
    Q_OBJECT
public:
    CComplete(WizardContext& context, QWidget* parent);
    bool readmeTicked() const { return readme_; }
    bool runTicked() const { return run_; }

private:
    QCheckBox* readmeBox_;
    QCheckBox* runBox_;
    bool readme_ = false;
    bool run_ = false;
};

// A licence or readme file as the page shows it; empty when the file is missing.
std::optional<QString> readPageFile(WizardContext& context, const std::string& path);

}  // namespace setup
