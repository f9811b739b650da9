// What the pages decide: folder rules, texts they build and read, and the lists they fill.
#include <gtest/gtest.h>

#include <QBuffer>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>

#include "WizardFixture.h"
#include "setup/wizard/FolderPages.h"
#include "setup/wizard/InfoPages.h"
#include "setup/wizard/PageLogic.h"
#include "setup/wizard/Pictures.h"

using namespace setup;

TEST(FolderRules, typed_folders_are_judged_and_created_folder_by_folder) {
    testing_support::WizardFixture f;
    auto& fs = f.root.fs();
    struct Case {
        const char* path;
        bool create;
        FolderTest expected;
    };
    const Case cases[] = {
        {"c:\\", false, FolderTest::Ok},
        {"c:\\", true, FolderTest::Ok},
        {"q:\\", true, FolderTest::CannotCreate},
        {"q:\\", false, FolderTest::Ok},
        {"c:", false, FolderTest::Invalid},
        {"1:\\x", false, FolderTest::Invalid},
        {"c:/x", false, FolderTest::Invalid},
        {"c:\\Demo\\", false, FolderTest::Invalid},
        {"c:\\a\\\\b", false, FolderTest::Invalid},
        {"c:\\De*mo", false, FolderTest::Invalid},
        {"c:\\ Demo", false, FolderTest::Invalid},
        {"c:\\Demo.", false, FolderTest::Invalid},
        {"c:\\..\\x", false, FolderTest::Invalid},
        {"c:\\a\tb", false, FolderTest::Ok},
        {"c:\\New\\Sub", false, FolderTest::Ok},
        {"c:\\New\\Sub", true, FolderTest::Ok},
    };
    for (const Case& c : cases)
        EXPECT_EQ(testFolder(c.path, c.create, fs), c.expected) << c.path << " create " << c.create;
    EXPECT_TRUE(fs.isDirectory("c:\\New\\Sub"));
    EXPECT_FALSE(fs.exists("c:\\a\tb"));
}

TEST(FolderRules, validation_asks_before_creating) {
    testing_support::WizardFixture f;
    auto& fs = f.root.fs();
    EXPECT_EQ(validateFolder("c:\\Demo\\", fs, f.prompter), 1);
    EXPECT_EQ(validateFolder("c:\\New\\Sub", fs, f.prompter), -1);
    EXPECT_FALSE(fs.exists("c:\\New"));
    f.prompter.answers = {Answer::Yes};
    EXPECT_EQ(validateFolder("c:\\New\\Sub", fs, f.prompter), 0);
    EXPECT_TRUE(fs.isDirectory("c:\\New\\Sub"));
    EXPECT_EQ(validateFolder("c:\\New", fs, f.prompter), 0);
    EXPECT_EQ(
        f.prompter.messages,
        (std::vector<std::string>{
            "The folder:\n\nc:\\Demo\\\n\nis invalid. Please reenter.",
            "The folder:\n\nc:\\New\\Sub\n\ndoes not exist. Do you want the folder to be created?",
            "The folder:\n\nc:\\New\\Sub\n\ndoes not exist. Do you want the folder to be "
            "created?"}));
}

TEST(PageTexts, summary_lists_the_choices_in_english) {
    RunState s;
    s.productName = "Demo";
    s.installFolder = "c:\\Program Files\\Demo";
    s.userName = "Νίκος";
    s.company = "";
    s.programFolder = "Demo Group";
    EXPECT_EQ(installSummary(s),
              "\r\nSetup will install Demo in the directory:\r\n>  c:\\Program Files\\Demo\r\n"
              "\r\nUser Information:\r\n>  Νίκος\r\n>  \r\n\r\nProgram Folder:\r\n>  Demo Group");
}

TEST(PageTexts, licence_and_readme_files_decode_by_their_mark) {
    struct Case {
        std::string bytes;
        int codePage;
        std::string expected;
    };
    const Case cases[] = {
        {"", 1253, ""},
        {std::string("abc\0def", 7), 1253, "abc"},
        {"\xE1\xE2\xE3", 1253, "αβγ"},
        {"caf\xE9 \x80", 1252, "café €"},
        {"\xEF\xBB\xBF\xCE\xB1\xCE\xB2", 1252, "αβ"},
        {std::string("\xFF\xFE\xB1\x03\x62\x00\x00\x00\x63\x00", 10), 1252, "αb"},
        {std::string("\xFE\xFF\x03\xB1", 4), 1252, "α"},
    };
    for (const Case& c : cases) EXPECT_EQ(decodePageText(c.bytes, c.codePage), c.expected);
}

TEST(Pages, destination_finds_an_earlier_installation_and_cuts_long_paths) {
    struct Case {
        const char* mode;
        const char* uninstall;
        std::string folder;
        std::string shown;
    };
    const std::string longPath = "c:\\" + std::string(58, 'x');  // 61 characters
    const Case cases[] = {
        {"Update", "C:\\WINDOWS\\zuninstall.exe \"C:\\Program Files\\Old\\install.log\"",
         "C:\\Program Files\\Old", "C:\\Program Files\\Old"},
        {"New Software", "C:\\WINDOWS\\zuninstall.exe \"C:\\Old\\install.log\"",
         "c:\\Program Files\\Demo", "c:\\Program Files\\Demo"},
        {"Update", "", longPath, longPath.substr(0, 60) + "..."},
    };
    for (const Case& c : cases) {
        testing_support::WizardFixture f;
        f.dataTag(std::string("[APPINFO]\r\nINSTALLMODE=") + c.mode + "\r\n");
        if (c.shown.ends_with("...")) f.state.installFolder = longPath;
        if (*c.uninstall)
            f.registry->setValue(platform::RegRoot::LocalMachine,
                                 "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Demo",
                                 "UninstallString",
                                 {platform::RegValue::Type::String, c.uninstall, 0, ""});
        CDestination page(f.context(), nullptr);
        EXPECT_EQ(f.state.installFolder, c.folder);
        EXPECT_EQ(page.findChild<QLabel*>("path")->text().toStdString(), c.shown);
    }
}

TEST(Pages, program_folder_lists_start_menu_entries_but_shortcuts) {
    testing_support::WizardFixture f;
    f.dataTag("[DIALOG]\r\nDS4=\r\n");
    // Names match without regard to case here, so each extension spelling gets its own name.
    for (const char* name : {"Tools.lnk", "Games.LNK", "Old.pif", "Zeta.txt"})
        f.write(std::string("c:\\menu\\programs\\") + name, "");
    f.root.fs().createDirectory("c:\\menu\\programs\\accessories");
    CFolder page(f.context(), nullptr);
    EXPECT_EQ(f.state.programFolder, "");
    auto* list = page.findChild<QListWidget*>("existingFolders");
    QStringList names;
    for (int i = 0; i < list->count(); ++i) names << list->item(i)->text();
    EXPECT_EQ(names, (QStringList{"accessories", "Games.LNK", "Zeta.txt"}));
    list->setCurrentRow(1);
    EXPECT_EQ(page.findChild<QLineEdit*>("programFolder")->text(), "Games.LNK");
    EXPECT_EQ(f.state.programFolder, "Games.LNK");
}

TEST(Pages, licence_shows_its_file_or_the_placeholder) {
    testing_support::WizardFixture f;
    f.dataTag("");
    CLicense without(f.context(), nullptr);
    EXPECT_TRUE(without.findChild<QPlainTextEdit*>("licenseText")
                    ->toPlainText()
                    .startsWith("To add your own license text to this dialog"));
    f.write("c:\\windows\\temp\\ext\\license.txt", "");
    CLicense empty(f.context(), nullptr);
    EXPECT_EQ(empty.findChild<QPlainTextEdit*>("licenseText")->toPlainText(), "");
}

TEST(Pages, side_picture_comes_from_the_package_or_stays_white) {
    QImage red(8, 8, QImage::Format_RGB32);
    red.fill(Qt::red);
    QByteArray png;
    QBuffer buffer(&png);
    buffer.open(QIODevice::WriteOnly);
    red.save(&buffer, "PNG");
    struct Case {
        const char* leftImage;
        const char* where;  // where the package's file lies, "" for nowhere
        bool builtin;
        bool picture;
    };
    const Case cases[] = {
        {"", "c:\\windows\\temp\\ext\\side.png", true, false},
        {"d:\\art\\side.png", "c:\\windows\\temp\\ext\\side.png", false, true},
        {"side.png", "c:\\pkg\\INSTAVO\\side.png", false, true},
        {"side.png", "", false, false},
    };
    for (const Case& c : cases) {
        testing_support::WizardFixture f;
        f.dataTag(std::string("[MAINWINDOW]\r\nLeftImage=") + c.leftImage + "\r\nLeftImageS=0\r\n");
        f.root.fs().createDirectory("c:\\pkg\\INSTAVO");
        if (*c.where) f.write(c.where, png.toStdString());
        CWelcome page(f.context(), nullptr);
        auto* side = page.findChild<SidePicture*>("leftImage");
        EXPECT_EQ(page.findChild<QLabel*>("builtinImage")->isVisibleTo(&page), c.builtin)
            << c.where;
        EXPECT_EQ(side->isVisibleTo(&page), !c.builtin);
        EXPECT_EQ(!side->picture().isNull(), c.picture) << c.where;
    }
}
