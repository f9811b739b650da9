#include "setup/wizard/FolderPages.h"

#include <QCoreApplication>
#include <QDialogButtonBox>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>
#include <algorithm>

#include "setup/engine/DefaultAnswers.h"
#include "setup/wizard/PageLogic.h"
#include "setup/wizard/Pictures.h"

namespace setup {

namespace {

constexpr int kPathRole = Qt::UserRole;

std::string messageTitle() {
    return QFileInfo(QCoreApplication::applicationFilePath()).completeBaseName().toStdString();
}

}  // namespace

CDestination::CDestination(WizardContext& context, QWidget* parent)
    : CPage(context, "destination", 331, 177, parent) {
    addHeader(text(&LanguageTexts::destinationTitle, QStringLiteral("Choose Destination Location")),
              text(&LanguageTexts::destinationSubtitle,
                   QStringLiteral("Select folder where Setup will install files.")));
    auto* icon = new QLabel(this);
    icon->setObjectName(QStringLiteral("folderIcon"));
    icon->setPixmap(pictures::folderIcon(du_.y(20)));
    icon->setGeometry(du_.x(10), du_.y(44), du_.y(20), du_.y(20));
    auto* explain = addLabel(
        text(&LanguageTexts::destinationText, QStringLiteral("Install %1 to:").arg(productName())),
        {40, 45, 255, 8}, "explanation");
    path_ = addLabel(QString(), {40, 57, 215, 8}, "path");
    auto* browse = new QPushButton(text(&LanguageTexts::browse, QStringLiteral("Browse")), this);
    browse->setObjectName(QStringLiteral("browse"));
    place(browse, {265, 58, 60, 14});
    path_->setAccessibleName(explain->text());
    connect(browse, &QPushButton::clicked, this, &CDestination::browse);

    if (ctx_.package.app.update) {
        // The silent run takes the same folder (DefaultAnswers.h).
        std::string folder = previousInstallFolder(ctx_.registry, ctx_.state.productName);
        if (!folder.empty()) ctx_.state.installFolder = folder;
    }
    showFolder(ctx_.state.installFolder);
}

void CDestination::showFolder(const std::string& folder) {
    path_->setText(QString::fromStdString(shortenForDisplay(folder)));
}

void CDestination::browse() {
    FolderChooser chooser(ctx_, QStringLiteral("Korvanet Instavo"), path_->text(), this);
    if (chooser.exec() != QDialog::Accepted) return;
    ctx_.state.installFolder = chooser.chosen().toStdString();
    showFolder(ctx_.state.installFolder);
}

int validateFolder(const std::string& path, platform::FileSystem& files, Prompter& prompter,
                   const OwnTexts& texts) {
    const std::string title = messageTitle();
    if (const std::size_t length = characterCount(path); length > kMaxPathLength) {
        // Cutting it to the limit would name another folder than the one typed.
        prompter.message(
            fillIn(texts.folderTooLong, {shortenForDisplay(path), std::to_string(length),
                                         std::to_string(kMaxPathLength)}),
            title);
        return 1;
    }
    if (testFolder(path, false, files) != FolderTest::Ok) {
        prompter.message(fillIn(texts.folderInvalid, {path}), title);
        return 1;
    }
    if (files.isDirectory(path)) return 0;
    if (prompter.yesNo(fillIn(texts.folderCreate, {path}), title, texts.yes, texts.no) !=
        Answer::Yes)
        return -1;
    switch (testFolder(path, true, files)) {
        case FolderTest::Ok:
            return 0;
        case FolderTest::Invalid:
            prompter.message(fillIn(texts.folderInvalid, {path}), title);
            return 1;
        case FolderTest::CannotCreate:
            break;
    }
    prompter.message(fillIn(texts.folderCannotCreate, {path}), title);
    return 2;
}

FolderChooser::FolderChooser(WizardContext& context, const QString& title, const QString& start,
                             QWidget* parent)
    : QDialog(parent), ctx_(context), texts_(ownTextsFor(context.package)), boxes_(this, texts_) {
    setObjectName(QStringLiteral("folderChooser"));
    boxes_.setWarnings(true);
    setWindowTitle(title);
    setAccessibleName(title);
    const QString prompt = QString::fromStdString(texts_.choosePrompt);
    auto* layout = new QVBoxLayout(this);
    auto* promptLabel = new QLabel(prompt, this);
    promptLabel->setObjectName(QStringLiteral("prompt"));
    status_ = new QLabel(this);
    status_->setObjectName(QStringLiteral("status"));
    status_->hide();
    edit_ = new QLineEdit(this);
    edit_->setObjectName(QStringLiteral("folderPath"));
    edit_->setAccessibleName(prompt);
    tree_ = new QTreeWidget(this);
    tree_->setObjectName(QStringLiteral("folderTree"));
    tree_->setHeaderHidden(true);
    tree_->setAccessibleName(QString::fromStdString(texts_.folderTree));
    tree_->setMinimumSize(300, 260);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    ok_ = buttons->button(QDialogButtonBox::Ok);
    ok_->setObjectName(QStringLiteral("ok"));
    ok_->setText(QString::fromStdString(texts_.ok));
    QPushButton* cancel = buttons->button(QDialogButtonBox::Cancel);
    cancel->setObjectName(QStringLiteral("cancel"));
    cancel->setText(QString::fromStdString(texts_.cancel));
    layout->addWidget(promptLabel);
    layout->addWidget(status_);
    layout->addWidget(edit_);
    layout->addWidget(tree_, 1);
    layout->addWidget(buttons);
    connect(buttons, &QDialogButtonBox::accepted, this, &FolderChooser::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &FolderChooser::reject);
    connect(edit_, &QLineEdit::textChanged, this,
            [this](const QString& t) { ok_->setEnabled(!t.isEmpty()); });
    connect(tree_, &QTreeWidget::itemExpanded, this, &FolderChooser::expand);
    connect(tree_, &QTreeWidget::itemSelectionChanged, this, &FolderChooser::onSelection);
    ok_->setEnabled(false);

    for (char letter = 'a'; letter <= 'z'; ++letter) {
        std::string root = std::string{letter} + ":\\";
        if (!ctx_.files.isDirectory(root)) continue;
        auto* item =
            new QTreeWidgetItem(tree_, {QString::fromStdString(std::string{letter} + ":")});
        item->setData(0, kPathRole, QString::fromStdString(root));
        item->setChildIndicatorPolicy(QTreeWidgetItem::ShowIndicator);
    }
    selectPath(start.isEmpty() ? QStringLiteral("c:\\") : start);
}

void FolderChooser::expand(QTreeWidgetItem* item) {
    if (item->data(0, kPathRole + 1).toBool()) return;
    item->setData(0, kPathRole + 1, true);
    std::string path = item->data(0, kPathRole).toString().toStdString();
    std::string base = path.ends_with('\\') ? path : path + "\\";
    std::vector<std::string> names;
    for (const std::string& name : ctx_.files.list(path, "*", true))
        if (name != "." && name != ".." && ctx_.files.isDirectory(base + name))
            names.push_back(name);
    std::sort(names.begin(), names.end(), [](const std::string& a, const std::string& b) {
        return QString::fromStdString(a).compare(QString::fromStdString(b), Qt::CaseInsensitive) <
               0;
    });
    for (const std::string& name : names) {
        auto* child = new QTreeWidgetItem(item, {QString::fromStdString(name)});
        child->setData(0, kPathRole, QString::fromStdString(base + name));
        child->setChildIndicatorPolicy(QTreeWidgetItem::ShowIndicator);
    }
    if (names.empty()) item->setChildIndicatorPolicy(QTreeWidgetItem::DontShowIndicator);
}

void FolderChooser::selectPath(const QString& path) {
    QStringList parts = path.split(QLatin1Char('\\'), Qt::SkipEmptyParts);
    QTreeWidgetItem* item = nullptr;
    for (int i = 0; i < parts.size(); ++i) {
        QTreeWidgetItem* found = nullptr;
        int count = item ? item->childCount() : tree_->topLevelItemCount();
        for (int k = 0; k < count && !found; ++k) {
            QTreeWidgetItem* c = item ? item->child(k) : tree_->topLevelItem(k);
            if (c->text(0).compare(parts[i], Qt::CaseInsensitive) == 0) found = c;
        }
        if (!found) return;  // a path that does not exist: nothing preselected
        item = found;
        if (i + 1 < parts.size()) {
            expand(item);
            item->setExpanded(true);
        }
    }
    if (item) tree_->setCurrentItem(item);
}

void FolderChooser::onSelection() {
    auto items = tree_->selectedItems();
    QString path = items.isEmpty() ? QString() : items.front()->data(0, kPathRole).toString();
    if (path.size() > 1 && path[1] == QLatin1Char(':')) {
        status_->setText(path);
        edit_->setText(path);
        ok_->setEnabled(true);
    } else {
        status_->clear();
        edit_->clear();
        ok_->setEnabled(false);
    }
}

void FolderChooser::accept() {
    const QString typed = edit_->text();
    if (validateFolder(typed.toStdString(), ctx_.files, boxes_, texts_) == 0) {
        chosen_ = typed;
        QDialog::accept();
        return;
    }
    edit_->setFocus();
}

CFolder::CFolder(WizardContext& context, QWidget* parent)
    : CPage(context, "folder", 331, 186, parent) {
    addHeader(
        text(&LanguageTexts::folderTitle, QStringLiteral("Select Program Folder")),
        text(&LanguageTexts::folderSubtitle, QStringLiteral("Please select a program folder.")),
        {15, 5, 177, 8}, {27, 17, 260, 16});
    edit_ = new QLineEdit(this);
    edit_->setObjectName(QStringLiteral("programFolder"));
    place(edit_, {19, 50, 290, 12});
    edit_->setAccessibleName(title_->text());
    auto* label =
        addLabel(text(&LanguageTexts::folderListLabel, QStringLiteral("E&xisting Folders:")),
                 {19, 70, 0, 0}, "listLabel");
    list_ = new QListWidget(this);
    list_->setObjectName(QStringLiteral("existingFolders"));
    list_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    place(list_, {19, 85, 290, 92});
    label->setBuddy(list_);
    list_->setAccessibleName(label->text().remove(QLatin1Char('&')));
    swallowEnter(edit_);
    swallowEnter(list_);

    const std::string& folder = ctx_.package.pages.defaultProgramFolder;
    ctx_.state.programFolder = folder;
    edit_->setText(QString::fromStdString(folder));
    connect(edit_, &QLineEdit::textChanged, this,
            [this](const QString& t) { ctx_.state.programFolder = t.toStdString(); });

    std::string programs = ctx_.system.shellFolder(platform::ShellFolder::Programs);
    QStringList names;
    if (!programs.empty())
        for (const std::string& name : ctx_.files.list(programs, "*", true))
            if (listedProgramEntry(name)) names << QString::fromStdString(name);
    names.sort(Qt::CaseInsensitive);
    list_->addItems(names);
    connect(list_, &QListWidget::itemSelectionChanged, this, [this] {
        auto items = list_->selectedItems();
        if (!items.isEmpty()) edit_->setText(items.front()->text());
    });
    setFocusProxy(edit_);
}

void CFolder::shown() {
    edit_->setFocus();
}

}  // namespace setup
