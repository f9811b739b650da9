#include "setup/wizard/TypePages.h"

#include <QLabel>
#include <QRadioButton>
#include <QTreeWidget>
#include <algorithm>

#include "setup/engine/PackageList.h"
#include "setup/wizard/Pictures.h"

namespace setup {

CSetupType::CSetupType(WizardContext& context, QWidget* parent)
    : CPage(context, "setuptype", 331, 182, parent) {
    addHeader(text(&LanguageTexts::setupTypeTitle, QStringLiteral("Setup Type")),
              text(&LanguageTexts::setupTypeSubtitle,
                   QStringLiteral("Select the Setup Type to install.")));
    struct Choice {
        std::string LanguageTexts::*caption;
        const char* builtin;
        const char* name;
        QRect button;
        QPoint icon;
        std::string LanguageTexts::*description;
        const char* builtinDescription;
        QRect descRect;
        SelectionMode mode;
    };
    const Choice choices[] = {
        {&LanguageTexts::typical,
         "Typical",
         "typical",
         {19, 49, 64, 10},
         {30, 60},
         &LanguageTexts::typicalDescription,
         "Program will be installed with the most common options. Recommended for most users.",
         {87, 50, 238, 20},
         SelectionMode::All},
        {&LanguageTexts::compact,
         "Compact",
         "compact",
         {19, 89, 64, 10},
         {30, 100},
         &LanguageTexts::compactDescription,
         "Program will be installed with minimum required options.",
         {87, 90, 238, 23},
         SelectionMode::TypeList},
        {&LanguageTexts::custom,
         "Custom",
         "custom",
         {20, 130, 65, 10},
         {30, 140},
         &LanguageTexts::customDescription,
         "You may choose the options you want to install. Recommended for advanced users.",
         {88, 130, 238, 25},
         SelectionMode::Custom},
    };
    QRadioButton* buttons[3];
    for (int i = 0; i < 3; ++i) {
        const Choice& c = choices[i];
        auto* b = new QRadioButton(text(c.caption, QString::fromLatin1(c.builtin)), this);
        b->setObjectName(QString::fromLatin1(c.name));
        place(b, c.button);
        auto* icon = new QLabel(this);
        icon->setObjectName(QString::fromLatin1(c.name) + QStringLiteral("Icon"));
        int side = du_.y(20);
        icon->setPixmap(pictures::setupTypeIcon(i, side));
        icon->setGeometry(du_.x(c.icon.x()), du_.y(c.icon.y()), side, side);
        auto* desc = addLabel(text(c.description, QString::fromLatin1(c.builtinDescription)),
                              c.descRect, (std::string(c.name) + "Description").c_str());
        desc->setWordWrap(true);
        if (int overlap = b->geometry().right() + du_.x(2) - desc->x(); overlap > 0)
            desc->setGeometry(desc->x() + overlap, desc->y(), desc->width() - overlap,
                              desc->height());
        desc->resize(desc->width(), std::max(desc->height(), desc->heightForWidth(desc->width())));
        desc->setAlignment(Qt::AlignLeft | Qt::AlignTop);
        b->setAccessibleDescription(desc->text());
        SelectionMode mode = c.mode;
        connect(b, &QRadioButton::toggled, this, [this, mode](bool on) {
            if (on) ctx_.state.selection = mode;
        });
        buttons[i] = b;
    }
    typical_ = buttons[0];
    compact_ = buttons[1];
    custom_ = buttons[2];
    typical_->setChecked(true);
}

void CSetupType::settle() {
    if (custom_->isChecked()) {
        ctx_.state.selection = SelectionMode::Custom;
        ctx_.customChoice = CustomChoice::Set;
    } else {
        ctx_.customChoice = CustomChoice::Clear;
    }
    // The buttons stay as they are: after Back the page shows the type that will be installed.
}

CDCustom::CDCustom(WizardContext& context, QWidget* parent)
    : CPage(context, "custom", 331, 181, parent) {
    addHeader(
        text(&LanguageTexts::customTitle, QStringLiteral("Customize your Installation")),
        text(&LanguageTexts::customSubtitle, QStringLiteral("Please check the files to install:")),
        {13, 5, 213, 8}, {27, 20, 247, 8}, {299, 8});
    list_ = new QTreeWidget(this);
    list_->setObjectName(QStringLiteral("files"));
    list_->setColumnCount(2);
    list_->setHeaderLabels({own(&OwnTexts::fileNameColumn), own(&OwnTexts::destinationColumn)});
    list_->setColumnWidth(0, 130);
    list_->setColumnWidth(1, 320);
    list_->setRootIsDecorated(false);
    list_->setSelectionBehavior(QAbstractItemView::SelectRows);
    list_->setAccessibleName(title_->text());
    // The list reaches the page's bottom edge; keep its frame inside the page.
    place(list_, {5, 45, 320, 134});
    // Filled at once: a list filled a moment later was still empty after a quick Custom, Next,
    // Next, and the installation took nothing.
    if (ctx_.package.files.total != 0) fill();
    connect(list_, &QTreeWidget::itemChanged, this, [this] {
        if (!isHidden()) followTicks();
    });
}

void CDCustom::shown() {
    rebuildChosen();
    followTicks();
}

void CDCustom::followTicks() {
    if (list_->topLevelItemCount() == 0) {
        Q_EMIT enableNext();
        return;
    }
    for (int i = 0; i < list_->topLevelItemCount(); ++i) {
        if (list_->topLevelItem(i)->checkState(0) == Qt::Checked) {
            Q_EMIT enableNext();
            return;
        }
    }
    Q_EMIT disableNext();
}

void CDCustom::fill() {
    std::string text = ctx_.files.readFile(ctx_.state.datafilePath).value_or(std::string());
    // The same entries the copy pass reads, so the rows stay in step with what it installs.
    for (const PackageEntry& row : parsePackageList(text, ctx_.system.ansiCodePage())) {
        auto* item = new QTreeWidgetItem(list_, {QString::fromStdString(row.name),
                                                 QString::fromStdString(row.destination)});
        item->setFlags(item->flags() | Qt::ItemIsUserCheckable);
        item->setCheckState(0, Qt::Checked);
    }
}

void CDCustom::rebuildChosen() {
    ctx_.state.chosenFiles.clear();
    for (int i = 0; i < list_->topLevelItemCount(); ++i) {
        QTreeWidgetItem* item = list_->topLevelItem(i);
        if (item->checkState(0) == Qt::Checked)
            ctx_.state.chosenFiles.push_back(item->text(0).toStdString());
    }
}

}  // namespace setup
