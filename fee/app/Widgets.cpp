#include "fee/app/Widgets.h"

#include <QGridLayout>
#include <QKeySequence>
#include <QLabel>
#include <QPushButton>
#include <QShortcut>

#include "fee/calc/Product.h"

namespace fee::app {

QLabel* namedLabel(QWidget* parent, const char* objectName, const QString& text) {
    auto* label = new QLabel(text, parent);
    label->setObjectName(QString::fromUtf8(objectName));
    return label;
}

QPushButton* namedButton(QWidget* parent, const char* objectName, const QString& caption) {
    auto* button = new QPushButton(caption, parent);
    button->setObjectName(QString::fromUtf8(objectName));
    button->setAutoDefault(false);
    return button;
}

QString fromView(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

QGridLayout* creditsGrid(QWidget* parent, const std::array<const char*, 4>& objectNames,
                         const std::array<QString, 2>& titles, Qt::Alignment alignment) {
    auto* grid = new QGridLayout;
    for (int i = 0; i < 2; ++i) {
        QLabel* author = namedLabel(parent, objectNames[2 * i], fromView(fee::kAuthors[i].name));
        QFont bold = author->font();
        bold.setBold(true);
        author->setFont(bold);
        grid->addWidget(author, 0, i, alignment);
        grid->addWidget(namedLabel(parent, objectNames[2 * i + 1], titles[i]), 1, i, alignment);
    }
    return grid;
}

void dialogKeys(QWidget* window, QPushButton* defaultButton) {
    auto* escape = new QShortcut(QKeySequence(Qt::Key_Escape), window);
    escape->setContext(Qt::WindowShortcut);
    QObject::connect(escape, &QShortcut::activated, window, &QWidget::close);
    if (!defaultButton) return;
    for (const auto key : {Qt::Key_Return, Qt::Key_Enter}) {
        auto* enter = new QShortcut(QKeySequence(key), window);
        enter->setContext(Qt::WindowShortcut);
        // click() does nothing while the button is disabled, as Return would not press it.
        QObject::connect(enter, &QShortcut::activated, defaultButton, &QPushButton::click);
    }
}

QPushButton* closingOkButton(QWidget* window) {
    auto* ok = new QPushButton(QStringLiteral("OK"), window);
    ok->setObjectName(QStringLiteral("OKButton"));
    ok->setDefault(true);
    ok->setMinimumWidth(100);
    QObject::connect(ok, &QPushButton::clicked, window, &QWidget::close);
    return ok;
}

}  // namespace fee::app
