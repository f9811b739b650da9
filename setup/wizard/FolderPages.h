#pragma once
// Where the product goes: the destination page with its folder chooser, and the program
// folder page.

#include <QDialog>

#include "setup/config/OwnTexts.h"
#include "setup/wizard/CPage.h"
#include "setup/wizard/QtPrompter.h"

class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;
class QTreeWidget;
class QTreeWidgetItem;

namespace setup {

class CDestination : public CPage {
    Q_OBJECT
public:
    CDestination(WizardContext& context, QWidget* parent);
    void browse();

private:
    void showFolder(const std::string& folder);
    QLabel* path_;
};

// Asks about a typed folder: the messages (in texts' words), and the creation question.
// Returns 0 when the folder is there (or was made), 1 invalid or too long, 2 cannot be
// created, -1 declined.
int validateFolder(const std::string& path, platform::FileSystem& files, Prompter& prompter,
                   const OwnTexts& texts = ownTexts(Language::English));

// A folder browser over the drives of this machine, with a path box above the tree. Its
// messages open over it, in the package's language.
class FolderChooser : public QDialog {
    Q_OBJECT
public:
    FolderChooser(WizardContext& context, const QString& title, const QString& start,
                  QWidget* parent);
    QString chosen() const { return chosen_; }
    void accept() override;

private:
    void expand(QTreeWidgetItem* item);
    void selectPath(const QString& path);
    void onSelection();

    WizardContext& ctx_;
    const OwnTexts& texts_;
    QtPrompter boxes_;
    QLineEdit* edit_;
    QTreeWidget* tree_;
    QLabel* status_;
    QPushButton* ok_;
    QString chosen_;
};

class CFolder : public CPage {
    Q_OBJECT
public:
    CFolder(WizardContext& context, QWidget* parent);

protected:
    void shown() override;

private:
    QLineEdit* edit_;
    QListWidget* list_;
};

}  // namespace setup
