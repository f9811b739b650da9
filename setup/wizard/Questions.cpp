#include "setup/wizard/Questions.h"

#include <QLabel>
#include <QPushButton>

#include "setup/wizard/CPage.h"
#include "setup/wizard/Pictures.h"

namespace setup {

namespace {

QString languageText(const LanguageTexts& texts, const std::string& text, const char* builtin) {
    return texts.present ? QString::fromStdString(text) : QString::fromLatin1(builtin);
}

QPushButton* addButton(QDialog* dialog, const DialogUnits& du, const QString& caption,
                       const char* name, QRect rect) {
    auto* button = new QPushButton(caption, dialog);
    button->setObjectName(QString::fromLatin1(name));
    button->setGeometry(du.rect(rect.x(), rect.y(), rect.width(), rect.height()));
    return button;
}

}  // namespace

bool askCancelInstallation(QWidget* parent, const LanguageTexts& language) {
    QDialog dialog(parent);
    dialog.setObjectName(QStringLiteral("cancelQuestion"));
    dialog.setFont(dialogFont());
    DialogUnits du(dialogFont());
    dialog.setWindowTitle(QStringLiteral("Korvanet Instavo"));
    dialog.setFixedSize(du.size(214, 52));
    auto* text = new QLabel(
        languageText(language, language.cancelQuestion, "Do you wish cancel the installation ?"),
        &dialog);
    text->setObjectName(QStringLiteral("question"));
    text->setAlignment(Qt::AlignCenter);
    text->setWordWrap(true);
    text->setGeometry(du.rect(5, 5, 204, 20));
    auto* yes = addButton(&dialog, du, languageText(language, language.yes, "Yes"), "yes",
                          {50, 30, 50, 14});
    auto* no =
        addButton(&dialog, du, languageText(language, language.no, "No"), "no", {110, 30, 50, 14});
    no->setDefault(true);
    no->setFocus();
    QObject::connect(no, &QPushButton::clicked, &dialog, &QDialog::accept);
    QObject::connect(yes, &QPushButton::clicked, &dialog, &QDialog::reject);
    dialog.setAccessibleName(text->text());
    return dialog.exec() != QDialog::Accepted;
}

bool askRestart(QWidget* parent, const LanguageTexts& language) {
    QDialog dialog(parent);
    dialog.setObjectName(QStringLiteral("restartQuestion"));
    dialog.setFont(dialogFont());
    DialogUnits du(dialogFont());
    dialog.setWindowTitle(QStringLiteral("Korvanet Instavo - Information"));
    dialog.setFixedSize(du.size(243, 86));
    auto* icon = new QLabel(&dialog);
    icon->setObjectName(QStringLiteral("icon"));
    icon->setPixmap(pictures::informationIcon(du.y(20)));
    icon->setGeometry(du.x(10), du.y(10), du.y(20), du.y(20));
    auto* text = new QLabel(
        languageText(language, language.restartQuestion,
                     "You must restart your system for the configuration changes take effect. "
                     "Click Yes to restart now or No if you plan to restart later."),
        &dialog);
    text->setObjectName(QStringLiteral("question"));
    text->setWordWrap(true);
    text->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    text->setGeometry(du.rect(45, 10, 190, 48));
    auto* yes = addButton(&dialog, du, languageText(language, language.yes, "Yes"), "yes",
                          {125, 65, 50, 14});
    auto* no =
        addButton(&dialog, du, languageText(language, language.no, "No"), "no", {185, 65, 50, 14});
    yes->setDefault(true);
    yes->setFocus();
    QObject::connect(yes, &QPushButton::clicked, &dialog, &QDialog::accept);
    QObject::connect(no, &QPushButton::clicked, &dialog, &QDialog::reject);
    dialog.setAccessibleName(dialog.windowTitle());
    return dialog.exec() == QDialog::Accepted;
}

}  // namespace setup
