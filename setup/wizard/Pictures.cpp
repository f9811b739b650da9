#include "setup/wizard/Pictures.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>

namespace setup {
namespace pictures {

namespace {

QPixmap canvas(QSize size) {
    QPixmap pm(size);
    pm.fill(Qt::transparent);
    return pm;
}

// A monitor with a disc in front of it: "something is being installed".
void drawComputer(QPainter& p, QRectF r) {
    p.setPen(QPen(QColor(40, 60, 90), r.width() / 24));
    p.setBrush(QColor(220, 228, 240));
    QRectF screen(r.left() + r.width() * 0.08, r.top() + r.height() * 0.1, r.width() * 0.72,
                  r.height() * 0.55);
    p.drawRoundedRect(screen, r.width() / 20, r.width() / 20);
    QLinearGradient glass(screen.topLeft(), screen.bottomRight());
    glass.setColorAt(0, QColor(90, 150, 220));
    glass.setColorAt(1, QColor(20, 60, 140));
    p.setBrush(glass);
    p.drawRect(
        screen.adjusted(r.width() * 0.06, r.width() * 0.06, -r.width() * 0.06, -r.width() * 0.06));
    p.setBrush(QColor(200, 205, 215));
    p.drawRect(
        QRectF(r.left() + r.width() * 0.3, screen.bottom(), r.width() * 0.28, r.height() * 0.12));
    p.drawRect(QRectF(r.left() + r.width() * 0.18, screen.bottom() + r.height() * 0.12,
                      r.width() * 0.52, r.height() * 0.07));
    QRectF disc(r.left() + r.width() * 0.5, r.top() + r.height() * 0.5, r.width() * 0.46,
                r.height() * 0.46);
    QRadialGradient shine(disc.center(), disc.width() / 2);
    shine.setColorAt(0, QColor(250, 250, 255));
    shine.setColorAt(1, QColor(170, 185, 210));
    p.setBrush(shine);
    p.drawEllipse(disc);
    p.setBrush(Qt::white);
    p.drawEllipse(disc.center(), disc.width() * 0.1, disc.width() * 0.1);
}

}  // namespace

QPixmap headerIcon(int size) {
    QPixmap pm = canvas({size, size});
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    drawComputer(p, QRectF(0, 0, size, size));
    return pm;
}

QPixmap sidePicture(QSize size) {
    QPixmap pm(size);
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    QLinearGradient sky(0, 0, 0, size.height());
    sky.setColorAt(0, QColor(16, 52, 120));
    sky.setColorAt(1, QColor(90, 150, 215));
    p.fillRect(pm.rect(), sky);
    // Contour lines of a hill: the product is for surveyors.
    p.setPen(QPen(QColor(255, 255, 255, 70), 1.5));
    p.setBrush(Qt::NoBrush);
    QPointF peak(size.width() * 0.45, size.height() * 0.32);
    for (int i = 1; i <= 9; ++i)
        p.drawEllipse(peak, size.width() * 0.09 * i, size.height() * 0.045 * i);
    qreal side = size.width() * 0.6;
    drawComputer(p, QRectF((size.width() - side) / 2, size.height() * 0.62, side, side));
    return pm;
}

QPixmap setupTypeIcon(int which, int size) {
    QPixmap pm = canvas({size, size});
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(QColor(40, 60, 90), 1));
    // Stacked boxes: many for Typical, one for Compact, boxes with a tick for Custom.
    int boxes = which == 1 ? 1 : 3;
    qreal h = size / 4.0;
    for (int i = 0; i < boxes; ++i) {
        QRectF box(size * 0.1 + i * size * 0.08, size - (i + 1) * h * 1.1 - size * 0.05,
                   size * 0.64, h);
        p.setBrush(QColor::fromHsv(210 - i * 25, 150, 230));
        p.drawRect(box);
    }
    if (which == 2) {
        p.setPen(QPen(QColor(0, 130, 0), size / 10.0, Qt::SolidLine, Qt::RoundCap));
        QPainterPath tick;
        tick.moveTo(size * 0.55, size * 0.2);
        tick.lineTo(size * 0.7, size * 0.35);
        tick.lineTo(size * 0.95, size * 0.05);
        p.drawPath(tick);
    }
    return pm;
}

QPixmap folderIcon(int size) {
    QPixmap pm = canvas({size, size});
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(QColor(150, 110, 20), 1));
    p.setBrush(QColor(240, 200, 90));
    p.drawRect(QRectF(size * 0.05, size * 0.2, size * 0.4, size * 0.15));
    p.setBrush(QColor(250, 215, 110));
    p.drawRect(QRectF(size * 0.05, size * 0.3, size * 0.9, size * 0.6));
    return pm;
}

QPixmap informationIcon(int size) {
    QPixmap pm = canvas({size, size});
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(30, 90, 200));
    p.drawEllipse(QRectF(1, 1, size - 2, size - 2));
    p.setPen(Qt::white);
    QFont f = p.font();
    f.setPixelSize(size * 2 / 3);
    f.setBold(true);
    f.setFamily(QStringLiteral("serif"));
    p.setFont(f);
    p.drawText(QRect(0, 0, size, size), Qt::AlignCenter, QStringLiteral("i"));
    return pm;
}

}  // namespace pictures

SidePicture::SidePicture(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("leftImage"));
    setGeometry(0, 0, 161, 301);
}

void SidePicture::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.fillRect(rect(), Qt::white);
    if (!picture_.isNull()) p.drawPixmap(QRect(0, 0, 161, 301), picture_);
}

}  // namespace setup
