#include "setup/wizard/CProgress.h"

#include <QCoreApplication>
#include <QLabel>
#include <QProgressBar>
#include <QTimer>

namespace setup {

CProgress::CProgress(WizardContext& context, QWidget* parent)
    : CPage(context, "progress", 331, 188, parent) {
    addHeader(text(&LanguageTexts::progressTitle, QStringLiteral("Setup Status")),
              text(&LanguageTexts::progressSubtitle,
                   QStringLiteral("Setup is installing the program files.")));
    status_ = addLabel(ctx_.package.texts.present ? own(&OwnTexts::pleaseWait) : QString(),
                       {25, 50, 290, 10}, "status");
    file_ = addLabel(QString(), {25, 62, 290, 10}, "currentFile");
    bar_ = new QProgressBar(this);
    bar_->setObjectName(QStringLiteral("progressBar"));
    bar_->setAccessibleName(title_->text());
    bar_->setRange(0, 0);
    bar_->setValue(0);
    place(bar_, {25, 76, 290, 12});
    downloadCaption_ =
        addLabel(own(&OwnTexts::downloadCaption), {25, 100, 290, 10}, "downloadCaption");
    downloadBar_ = new QProgressBar(this);
    downloadBar_->setObjectName(QStringLiteral("downloadBar"));
    downloadBar_->setAccessibleName(downloadCaption_->text());
    downloadBar_->setRange(0, 100);
    place(downloadBar_, {25, 112, 290, 12});
    line1_ = addLabel(QString(), {25, 128, 290, 10}, "downloadLine1");
    line2_ = addLabel(QString(), {25, 140, 290, 10}, "downloadLine2");
    showDownload(false);

    // Unless the package asks for it, the page works out of sight.
    if (!ctx_.package.pages.progressShown) {
        setFixedSize(0, 0);
        move(0, 0);
    }
    if (ctx_.openInstall) ctx_.openInstall(*this);
    QTimer::singleShot(ctx_.timings.installDelayMs, this, [this] {
        if (ctx_.startInstall && !ctx_.startInstall(*this)) Q_EMIT cancelled();
    });
}

void CProgress::setRange(int maximum) {
    bar_->setRange(0, maximum);
}
void CProgress::setValue(int value) {
    bar_->setValue(value);
}
int CProgress::value() const {
    return bar_->value();
}
void CProgress::setStatus(std::string_view text) {
    status_->setText(QString::fromUtf8(text.data(), static_cast<int>(text.size())));
}
void CProgress::setCurrentFile(std::string_view text) {
    file_->setText(QString::fromUtf8(text.data(), static_cast<int>(text.size())));
}

void CProgress::showDownload(bool shown) {
    for (QWidget* w : {static_cast<QWidget*>(downloadCaption_), static_cast<QWidget*>(downloadBar_),
                       static_cast<QWidget*>(line1_), static_cast<QWidget*>(line2_)})
        w->setVisible(shown);
}

void CProgress::setDownloadPercent(int percent) {
    downloadBar_->setValue(percent);
}

void CProgress::setDownloadLines(std::string_view first, std::string_view second) {
    line1_->setText(QString::fromUtf8(first.data(), static_cast<int>(first.size())));
    line2_->setText(QString::fromUtf8(second.data(), static_cast<int>(second.size())));
}

void CProgress::pump() {
    QCoreApplication::processEvents();
}

}  // namespace setup
