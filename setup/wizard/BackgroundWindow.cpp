#include "setup/wizard/BackgroundWindow.h"

#include <QFont>
#include <QPainter>
#include <QScreen>

#include "setup/config/PackageDescription.h"

namespace setup {

std::unique_ptr<BackgroundWindow> BackgroundWindow::fromPackage(const MainWindow& look) {
    auto colour = [](const Rgb& c) { return QColor(c.red, c.green, c.blue); };
    return std::make_unique<BackgroundWindow>(colour(look.top), colour(look.bottom),
                                              QString::fromStdString(look.caption),
                                              QString::fromStdString(look.footer));
}

BackgroundWindow::BackgroundWindow(QColor top, QColor bottom, QString caption, QString footer,
                                   QWidget* parent)
    : QWidget(parent),
      top_(top),
      bottom_(bottom),
      caption_(std::move(caption)),
      footer_(std::move(footer)) {
    setObjectName("BackgroundWindow");
    setWindowTitle("Korvanet Instavo");
    setAccessibleName(windowTitle());
    setAccessibleDescription(caption_);
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void BackgroundWindow::cover() {
    if (const QScreen* s = screen()) setGeometry(s->availableGeometry());
    showMaximized();
    raise();
    activateWindow();
}

QColor BackgroundWindow::rowColour(QColor top, QColor bottom, int y, int h) {
    auto mix = [&](int start, int end) { return start + (end - start) * y / h; };
    return QColor(mix(top.red(), bottom.red()), mix(top.green(), bottom.green()),
                  mix(top.blue(), bottom.blue()));
}

void BackgroundWindow::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    const int w = width();
    const int h = height();
    for (int y = 0; y < h; ++y) painter.fillRect(0, y, w, 1, rowColour(top_, bottom_, y, h));

    painter.setPen(Qt::white);
    QFont font("Times New Roman");
    font.setPixelSize(40);
    font.setWeight(QFont::Normal);
    painter.setFont(font);
    painter.drawText(QRect(24, 14, qMax(0, w - 24), qMax(0, h - 14)),
                     Qt::AlignLeft | Qt::AlignTop | Qt::TextSingleLine, caption_);
    font.setPixelSize(20);
    painter.setFont(font);
    painter.drawText(QRect(0, 0, qMax(0, w - 100), qMax(0, h - 10)),
                     Qt::AlignRight | Qt::AlignBottom | Qt::TextSingleLine, footer_);
}

}  // namespace setup
