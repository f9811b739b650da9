#include "uninstall/ui/QuestionBox.h"

#include <QMessageBox>
#include <QPushButton>
#include <QString>

#include "uninstall/Texts.h"

namespace uninstall {

namespace {
QString q(const std::string& text) {
    return QString::fromStdString(text);
}
}  // namespace

bool askToRemove(const Texts& texts, std::string_view product, QWidget* parent) {
    QMessageBox box(parent);
    box.setObjectName("question");
    box.setIcon(QMessageBox::Question);
    box.setWindowTitle(q(texts.forProduct(texts.title, product)));
    box.setText(q(texts.forProduct(texts.question, product)));
    box.setAccessibleName(box.windowTitle());
    box.setAccessibleDescription(box.text());
    QPushButton* yes = box.addButton(q(texts.yes), QMessageBox::YesRole);
    QPushButton* no = box.addButton(q(texts.no), QMessageBox::NoRole);
    yes->setObjectName("yes");
    no->setObjectName("no");
    box.setDefaultButton(no);
    box.setEscapeButton(no);
    box.exec();
    return box.clickedButton() == yes;
}

void tellUnusable(const Texts& texts, const std::string& message, QWidget* parent) {
    QMessageBox box(parent);
    box.setObjectName("refusal");
    box.setIcon(QMessageBox::Warning);
    box.setWindowTitle(q(texts.title));
    box.setText(q(message));
    box.setAccessibleName(box.windowTitle());
    box.setAccessibleDescription(box.text());
    QPushButton* ok = box.addButton(q(texts.ok), QMessageBox::AcceptRole);
    ok->setObjectName("ok");
    box.setDefaultButton(ok);
    box.exec();
}

}  // namespace uninstall
