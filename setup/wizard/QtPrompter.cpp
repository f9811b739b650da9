#include "setup/wizard/QtPrompter.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDialog>
#include <QMessageBox>
#include <QPushButton>

namespace setup {

namespace {

QString qs(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

// The window the user works in, so the box shows above it: a wizard kept on top of the
// background window would otherwise hide a box without a parent, and look frozen.
QWidget* workingWindow() {
    if (QWidget* modal = QApplication::activeModalWidget()) return modal;
    if (QWidget* active = QApplication::activeWindow()) return active;
    for (QWidget* w : QApplication::topLevelWidgets())
        if (w->isVisible() && qobject_cast<QDialog*>(w)) return w;
    return nullptr;
}

// A long path has no blank to wrap at, and would make the box wider than the screen: it may
// wrap after each backslash.
QString wrappable(std::string_view text) {
    return qs(text).replace(QLatin1Char('\\'), QStringLiteral("\\\u200B"));
}

void name(QMessageBox& box, std::string_view text, std::string_view title) {
    box.setObjectName("message");
    box.setWindowTitle(qs(title));
    box.setText(wrappable(text));
    box.setAccessibleName(qs(title));
    box.setAccessibleDescription(qs(text));
}

QPushButton* button(QMessageBox& box, QMessageBox::StandardButton which, std::string_view caption,
                    const std::string& fallback, const char* objectName) {
    QPushButton* b = box.addButton(which);
    b->setText(qs(caption.empty() ? std::string_view(fallback) : caption));
    b->setObjectName(QString::fromLatin1(objectName));
    b->setAccessibleName(b->text().remove('&'));
    return b;
}

}  // namespace

QWidget* QtPrompter::parent() const {
    return owner_ ? owner_ : workingWindow();
}

void QtPrompter::message(std::string_view text, std::string_view title) {
    QMessageBox box(parent());
    name(box, text, title);
    if (warnings_) box.setIcon(QMessageBox::Warning);
    box.setDefaultButton(button(box, QMessageBox::Ok, {}, texts_->ok, "ok"));
    box.exec();
}

Answer QtPrompter::okCancel(std::string_view text, std::string_view title) {
    QMessageBox box(parent());
    name(box, text, title);
    box.setIcon(QMessageBox::Warning);
    QPushButton* ok = button(box, QMessageBox::Ok, {}, texts_->ok, "ok");
    QPushButton* cancel = button(box, QMessageBox::Cancel, {}, texts_->cancel, "cancel");
    box.setDefaultButton(ok);
    box.setEscapeButton(cancel);
    box.exec();
    return box.clickedButton() == ok ? Answer::Ok : Answer::Cancel;
}

Answer QtPrompter::yesNo(std::string_view text, std::string_view title, std::string_view yes,
                         std::string_view no) {
    QMessageBox box(parent());
    name(box, text, title);
    box.setIcon(QMessageBox::Question);
    QPushButton* yesButton = button(box, QMessageBox::Yes, yes, texts_->yes, "yes");
    QPushButton* noButton = button(box, QMessageBox::No, no, texts_->no, "no");
    box.setDefaultButton(noButton);
    box.setEscapeButton(noButton);
    box.exec();
    return box.clickedButton() == yesButton ? Answer::Yes : Answer::No;
}

}  // namespace setup
