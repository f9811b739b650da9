#include "uninstall/ui/ResultWindow.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>
#include <algorithm>

#include "uninstall/Texts.h"

namespace uninstall {

namespace {
QString q(const std::string& text) {
    return QString::fromStdString(text);
}
}  // namespace

ResultWindow::ResultWindow(const Texts& texts, std::string_view product, const Outcome& outcome,
                           QWidget* parent)
    : QDialog(parent) {
    setObjectName("result");
    setWindowTitle(q(texts.forProduct(texts.title, product)));
    setAccessibleName(windowTitle());
    auto* layout = new QVBoxLayout(this);

    const bool nothingLeft = outcome.leftovers.empty();
    auto* heading = new QLabel(
        q(nothingLeft ? texts.forProduct(texts.done, product) : texts.leftHeading), this);
    heading->setObjectName("heading");
    heading->setWordWrap(true);
    // A short sentence on one line; a long one wraps, but not into a narrow column of words.
    const QFontMetrics metrics = heading->fontMetrics();
    heading->setMinimumWidth(
        std::min(metrics.horizontalAdvance(heading->text()), metrics.averageCharWidth() * 70));
    layout->addWidget(heading);

    if (!nothingLeft) {
        auto* list = new QListWidget(this);
        list->setObjectName("leftovers");
        list->setAccessibleName(heading->text());
        for (const Leftover& left : outcome.leftovers) {
            list->addItem(q(left.item + ": " + texts.reason(left.why)));
        }
        list->setMinimumWidth(list->sizeHintForColumn(0) + 40);
        heading->setBuddy(list);
        layout->addWidget(list);
    }

    auto* buttons = new QDialogButtonBox(this);
    QPushButton* ok = buttons->addButton(q(texts.ok), QDialogButtonBox::AcceptRole);
    ok->setObjectName("ok");
    ok->setDefault(true);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    layout->addWidget(buttons);
}

}  // namespace uninstall
