#include "setup/wizard/CPage.h"

#include <QApplication>
#include <QFontMetrics>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <algorithm>

#include "setup/wizard/Pictures.h"

namespace setup {

DialogUnits::DialogUnits(const QFont& font) {
    QFontMetrics metrics(font);
    const QString letters = QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz");
    // Windows rounds the average of the 52 letters to the nearest pixel.
    avgWidth_ = (metrics.horizontalAdvance(letters) / 26 + 1) / 2;
    height_ = metrics.height();
}

QFont dialogFont() {
    return QApplication::font();
}

CPage::CPage(WizardContext& context, const char* name, int widthDu, int heightDu, QWidget* parent)
    : QWidget(parent), ctx_(context), du_(dialogFont()) {
    setObjectName(QString::fromLatin1(name));
    setFont(dialogFont());
    setFixedSize(du_.size(widthDu, heightDu));
    hide();
}

// Like the window messages a page reacts to, the hooks run only when the visibility changes.
void CPage::showPage() {
    if (!isHidden()) return;
    show();
    shown();
}

void CPage::hidePage() {
    if (isHidden()) return;
    hide();
    hidden();
}

QString CPage::text(std::string LanguageTexts::*which, const QString& builtin) const {
    const LanguageTexts& texts = ctx_.package.texts;
    return texts.present ? QString::fromStdString(texts.*which) : builtin;
}

QString CPage::own(std::string OwnTexts::*which) const {
    return QString::fromStdString(ownTextsFor(ctx_.package).*which);
}

void CPage::place(QWidget* w, QRect du) const {
    QRect r = du_.rect(du.x(), du.y(), du.width(), du.height());
    if (du.width() <= 0 || du.height() <= 0) {
        // Windows sizes these labels to their text; so do we, from their top left corner.
        w->adjustSize();
        r.setSize(w->sizeHint());
    } else if (qobject_cast<QAbstractButton*>(w) && !qobject_cast<QPushButton*>(w)) {
        // A choice whose caption (from the language file) is longer than its box grows to the
        // page's edge rather than lose the end of its caption.
        r.setWidth(std::min(std::max(r.width(), w->sizeHint().width()), width() - r.x()));
    }
    w->setGeometry(r);
}

QLabel* CPage::addLabel(const QString& text, QRect du, const char* name) {
    auto* label = new QLabel(text, this);
    label->setObjectName(QString::fromLatin1(name));
    label->setWordWrap(du.height() > 10);
    place(label, du);
    return label;
}

void CPage::addHeader(const QString& title, const QString& subtitle, QRect titleDu,
                      QRect subtitleDu, QPoint iconDu) {
    auto* band = new QFrame(this);
    band->setObjectName(QStringLiteral("headerBand"));
    band->setGeometry(0, 0, width(), du_.y(35));
    band->setAutoFillBackground(true);
    QPalette pal = band->palette();
    pal.setColor(QPalette::Window, Qt::white);
    pal.setColor(QPalette::WindowText, Qt::black);
    band->setPalette(pal);

    QFont titleFont(QStringLiteral("Tahoma"));
    titleFont.setPixelSize(QFontInfo(dialogFont()).pixelSize());
    QFont subFont = titleFont;
    titleFont.setWeight(QFont::Bold);

    title_ = new QLabel(title, band);
    title_->setObjectName(QStringLiteral("title"));
    title_->setFont(titleFont);
    title_->setGeometry(du_.rect(titleDu.x(), titleDu.y(), titleDu.width(), titleDu.height() + 2));
    subtitle_ = new QLabel(subtitle, band);
    subtitle_->setObjectName(QStringLiteral("subtitle"));
    subtitle_->setFont(subFont);
    subtitle_->setWordWrap(subtitleDu.height() > 10);
    subtitle_->setGeometry(
        du_.rect(subtitleDu.x(), subtitleDu.y(), subtitleDu.width(), subtitleDu.height() + 2));

    auto* icon = new QLabel(band);
    icon->setObjectName(QStringLiteral("headerIcon"));
    icon->setPixmap(pictures::headerIcon(du_.y(20)));
    icon->setGeometry(du_.x(iconDu.x()), du_.y(iconDu.y()) - du_.y(3), du_.y(20), du_.y(20));
    icon->setAccessibleName(own(&OwnTexts::headerIcon));

    auto* line = new QFrame(this);
    line->setObjectName(QStringLiteral("headerLine"));
    line->setFrameShape(QFrame::HLine);
    line->setFrameShadow(QFrame::Sunken);
    line->setGeometry(0, du_.y(35), width(), 2);
    setAccessibleName(title);
}

void CPage::swallowEnter(QWidget* field) {
    field->installEventFilter(this);
}

bool CPage::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::KeyPress) {
        int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter) return true;
    }
    return QWidget::eventFilter(watched, event);
}

}  // namespace setup
