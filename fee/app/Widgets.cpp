#include "fee/app/Widgets.h"

#include <QLabel>
#include <QPushButton>

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

QPushButton* closingOkButton(QWidget* window) {
    auto* ok = new QPushButton(QStringLiteral("OK"), window);
    ok->setObjectName(QStringLiteral("OKButton"));
    ok->setDefault(true);
    ok->setMinimumWidth(100);
    QObject::connect(ok, &QPushButton::clicked, window, &QWidget::close);
    return ok;
}

}  // namespace fee::app
