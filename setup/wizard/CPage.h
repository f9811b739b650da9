#pragma once
// What every wizard page shares: placement in dialog units, the texts from the language file
// with their built-in English fallback, the header band of the inner pages, and the two
// notices a page sends the wizard (enable and disable Next).

#include <QFrame>
#include <QString>
#include <QWidget>

#include "setup/config/OwnTexts.h"
#include "setup/wizard/WizardContext.h"

class QLabel;

namespace setup {

// Dialog units of a dialog font, converted as Windows does: x * average width / 4,
// y * height / 8, the average width taken over the 52 letters.
class DialogUnits {
public:
    explicit DialogUnits(const QFont& font);
    int x(int units) const { return units * avgWidth_ / 4; }
    int y(int units) const { return units * height_ / 8; }
    QRect rect(int left, int top, int width, int height) const {
        return {x(left), y(top), x(width), y(height)};
    }
    QSize size(int width, int height) const { return {x(width), y(height)}; }

private:
    int avgWidth_;
    int height_;
};

// The dialog font: the system's interface font stands in for "MS Sans Serif".
QFont dialogFont();

class CPage : public QWidget {
    Q_OBJECT
public:
    CPage(WizardContext& context, const char* name, int widthDu, int heightDu, QWidget* parent);

    // Called by the wizard when it shows or hides the page; pages that rebuild something
    // then override the hooks.
    void showPage();
    void hidePage();

Q_SIGNALS:
    void enableNext();
    void disableNext();

protected:
    virtual void shown() {}
    virtual void hidden() {}

    // The language file's text when it exists, else the built-in one.
    QString text(std::string LanguageTexts::*which, const QString& builtin) const;
    // One of our own texts that the language file has no key for, in the package's language.
    QString own(std::string OwnTexts::*which) const;
    QString productName() const { return QString::fromStdString(ctx_.state.productName); }
    // The header band with bold title, subtitle and icon.
    void addHeader(const QString& title, const QString& subtitle, QRect titleDu = {15, 5, 280, 8},
                   QRect subtitleDu = {30, 20, 270, 8}, QPoint iconDu = {305, 10});
    QLabel* addLabel(const QString& text, QRect du, const char* name);
    void place(QWidget* w, QRect du) const;
    // Enter in the page's fields neither advances nor closes the wizard.
    void swallowEnter(QWidget* field);

    WizardContext& ctx_;
    DialogUnits du_;
    QLabel* title_ = nullptr;
    QLabel* subtitle_ = nullptr;

private:
    bool eventFilter(QObject* watched, QEvent* event) override;
};

}  // namespace setup
