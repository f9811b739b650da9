#include "fee/app/SplashWindow.h"

#include <QFrame>
#include <QGridLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QPainter>
#include <QPainterPath>
#include <QScreen>
#include <QTimer>
#include <QVBoxLayout>

#include "fee/app/Widgets.h"

namespace fee::app {

QString versionText() {
    return QStringLiteral("Version %1.%2.%3")
        .arg(fee::kVersionMajor)
        .arg(fee::kVersionMinor)
        .arg(fee::kVersionRevision);
}

QPixmap drawLogo(int size) {
    QPixmap pixmap(size, size);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    const qreal s = size;

    // A plot outline on a survey grid, with a theodolite sighting one of its corners.
    p.setPen(QPen(QColor(200, 210, 225), s / 160.0));
    for (int i = 1; i < 8; ++i) {
        p.drawLine(QPointF(s * i / 8, s * 0.05), QPointF(s * i / 8, s * 0.95));
        p.drawLine(QPointF(s * 0.05, s * i / 8), QPointF(s * 0.95, s * i / 8));
    }
    QPolygonF plot;
    plot << QPointF(s * 0.12, s * 0.30) << QPointF(s * 0.55, s * 0.14)
         << QPointF(s * 0.88, s * 0.36) << QPointF(s * 0.70, s * 0.62)
         << QPointF(s * 0.22, s * 0.58);
    p.setPen(QPen(QColor(20, 90, 160), s / 45.0));
    p.setBrush(QColor(120, 180, 230, 90));
    p.drawPolygon(plot);
    p.setBrush(QColor(200, 40, 40));
    p.setPen(Qt::NoPen);
    for (const QPointF& corner : plot) p.drawEllipse(corner, s / 40.0, s / 40.0);

    // Tripod and instrument.
    const QPointF head(s * 0.50, s * 0.70);
    p.setPen(QPen(QColor(90, 60, 30), s / 40.0, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(head, QPointF(s * 0.36, s * 0.96));
    p.drawLine(head, QPointF(s * 0.50, s * 0.97));
    p.drawLine(head, QPointF(s * 0.64, s * 0.96));
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(240, 180, 20));
    p.drawRoundedRect(QRectF(s * 0.43, s * 0.62, s * 0.14, s * 0.09), s / 60.0, s / 60.0);
    p.setBrush(QColor(40, 40, 40));
    p.drawRect(QRectF(s * 0.47, s * 0.58, s * 0.06, s * 0.04));
    p.setPen(QPen(QColor(200, 40, 40), s / 120.0, Qt::DashLine));
    p.drawLine(QPointF(s * 0.50, s * 0.60), plot[0]);
    return pixmap;
}

SplashWindow::SplashWindow(AppContext& ctx, QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::FramelessWindowHint), ctx_(ctx) {
    setObjectName(QStringLiteral("frmSplash"));
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(kSettingsApp);
    setFocusPolicy(Qt::StrongFocus);

    frame_ = new QFrame(this);
    frame_->setObjectName(QStringLiteral("Frame1"));
    frame_->setFrameShape(QFrame::Box);
    frame_->setLineWidth(2);
    frame_->installEventFilter(this);

    auto* logo = namedLabel(frame_, "imgLogo", QString());
    logo->setPixmap(drawLogo(160));

    auto* product = namedLabel(frame_, "Label1", kSettingsApp);
    QFont big = product->font();
    big.setPointSizeF(big.pointSizeF() * 2.6);
    big.setBold(true);
    product->setFont(big);

    auto* title =
        namedLabel(frame_, "lblCompanyProduct", QStringLiteral("Aμοιβές Τοπογραφικών Εργασιών"));
    QFont mid = title->font();
    mid.setPointSizeF(mid.pointSizeF() * 1.6);
    mid.setBold(true);
    title->setFont(mid);

    auto* platform = namedLabel(frame_, "lblPlatform", QStringLiteral("for Windows"));
    QFont plat = platform->font();
    plat.setPointSizeF(plat.pointSizeF() * 1.3);
    platform->setFont(plat);
    platform->setAlignment(Qt::AlignRight);

    auto* version = namedLabel(frame_, "lblVersion", versionText());
    version->setAlignment(Qt::AlignRight);

    auto* warning = namedLabel(
        frame_, "lblWarning",
        QStringLiteral("Προσοχή:  Οι αμοιβές δεν ισχύουν για έκδοση Οικοδομικής Αδείας"));
    warning->setWordWrap(true);
    QFont warn = warning->font();
    warn.setBold(true);
    warning->setFont(warn);
    warning->setStyleSheet(QStringLiteral("color: #a00000;"));

    // Credit area: the two authors, each with his professional title.
    auto* credits = creditsGrid(
        frame_, {"lblAuthor1", "lblTitle1", "lblAuthor2", "lblTitle2"},
        {fromView(fee::kAuthors[0].title), fromView(fee::kAuthors[1].title)}, Qt::Alignment());
    credits->setHorizontalSpacing(40);

    auto* grid = new QGridLayout(frame_);
    grid->setContentsMargins(20, 20, 20, 16);
    grid->setVerticalSpacing(8);
    grid->addWidget(logo, 0, 0, 4, 1, Qt::AlignTop);
    grid->addWidget(product, 0, 1);
    grid->addWidget(title, 1, 1);
    grid->addWidget(platform, 2, 1);
    grid->addWidget(version, 3, 1, Qt::AlignRight | Qt::AlignTop);
    grid->addLayout(credits, 4, 0, 1, 2);
    grid->addWidget(warning, 5, 0, 1, 2);
    grid->setColumnStretch(1, 1);

    auto* outer = new QVBoxLayout(this);
    outer->setContentsMargins(6, 6, 6, 6);
    outer->addWidget(frame_);

    adjustSize();
    if (QScreen* screen = this->screen())
        move(screen->availableGeometry().center() - rect().center());

    timer_ = new QTimer(this);
    timer_->setObjectName(QStringLiteral("Timer1"));
    timer_->setSingleShot(true);
    timer_->setInterval(ctx_.timings.splashMs);
    connect(timer_, &QTimer::timeout, this, &SplashWindow::proceed);
    timer_->start();
}

void SplashWindow::keyPressEvent(QKeyEvent* event) {
    // Keys that produce a character (Enter and Esc included); bare modifiers and arrows do not.
    if (!event->text().isEmpty()) {
        proceed();
        return;
    }
    QWidget::keyPressEvent(event);
}

bool SplashWindow::eventFilter(QObject* watched, QEvent* event) {
    if (watched == frame_ && event->type() == QEvent::MouseButtonRelease) {
        proceed();
        return true;
    }
    return QWidget::eventFilter(watched, event);
}

void SplashWindow::proceed() {
    if (done_) return;
    done_ = true;
    timer_->stop();
    ctx_.nav.open(WindowId::MainMenu);
    close();
}

}  // namespace fee::app
