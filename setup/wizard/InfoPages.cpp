#include "setup/wizard/InfoPages.h"

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QRadioButton>

#include "setup/wizard/PageLogic.h"
#include "setup/wizard/Pictures.h"

namespace setup {

namespace {

QPlainTextEdit* addTextBox(CPage* page, const char* name, const QString& accessible) {
    auto* box = new QPlainTextEdit(page);
    box->setObjectName(QString::fromLatin1(name));
    box->setReadOnly(true);
    box->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    box->setAccessibleName(accessible);
    return box;
}

QString forDisplay(const std::string& text) {
    return QString::fromStdString(text).replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
}

}  // namespace

std::optional<QString> readPageFile(WizardContext& ctx, const std::string& path) {
    if (!ctx.files.exists(path)) return std::nullopt;
    std::string bytes = ctx.files.readFile(path).value_or(std::string());
    return forDisplay(decodePageText(bytes, ctx.system.ansiCodePage()));
}

CWhitePage::CWhitePage(WizardContext& context, const char* name, int widthDu, int heightDu,
                       QWidget* parent)
    : CPage(context, name, widthDu, heightDu, parent) {
    setAutoFillBackground(true);
    QPalette pal = palette();
    for (auto role : {QPalette::Window, QPalette::Base, QPalette::Button})
        pal.setColor(role, Qt::white);
    for (auto role : {QPalette::WindowText, QPalette::Text, QPalette::ButtonText})
        pal.setColor(role, Qt::black);
    setPalette(pal);

    auto* builtin = new QLabel(this);
    builtin->setObjectName(QStringLiteral("builtinImage"));
    QRect area = du_.rect(0, 0, 110, heightDu);
    builtin->setGeometry(area);
    builtin->setPixmap(pictures::sidePicture(area.size()));
    builtin->hide();
    builtin_ = builtin;
    side_ = new SidePicture(this);
    side_->hide();
}

QFont CWhitePage::bigTitleFont() const {
    QFont f(QStringLiteral("Tahoma"));
    f.setPixelSize(14);
    f.setWeight(QFont::Bold);
    return f;
}

void CWhitePage::showSidePicture(bool packagePicture) {
    if (!packagePicture) {
        builtin_->show();
        return;
    }
    const std::string& image = ctx_.package.window.leftImage;
    std::string name = image.substr(image.rfind('\\') + 1);
    std::string path = ctx_.state.extractionFolder + name;
    if (!ctx_.files.exists(path)) {
        const std::string& folder = ctx_.state.setupFolder;
        path = folder + (folder.ends_with('\\') ? "INSTAVO\\" : "\\INSTAVO\\") + name;
    }
    QPixmap picture;
    if (auto bytes = ctx_.files.readFile(path))
        picture.loadFromData(reinterpret_cast<const uchar*>(bytes->data()),
                             static_cast<uint>(bytes->size()));
    side_->setPicture(picture);
    side_->show();
}

CWelcome::CWelcome(WizardContext& context, QWidget* parent)
    : CWhitePage(context, "welcome", 331, 185, parent) {
    QString product = productName();
    auto* title = addLabel(text(&LanguageTexts::welcomeTitle,
                                QStringLiteral("Welcome to Instavo for %1.").arg(product)),
                           {115, 20, 215, 27}, "title");
    title->setFont(bigTitleFont());
    title->setWordWrap(true);
    title->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    auto* body = addLabel(text(&LanguageTexts::welcomeBody,
                               QStringLiteral("The Instavo will install %1 on your computer. "
                                              "To continue, click Next.")
                                   .arg(product)),
                          {115, 50, 215, 39}, "body");
    body->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    setAccessibleName(title->text());
    const MainWindow& look = ctx_.package.window;
    showSidePicture(!look.leftImage.empty() && look.leftImageOnWelcome);
}

CLicense::CLicense(WizardContext& context, QWidget* parent)
    : CPage(context, "license", 331, 187, parent) {
    addHeader(text(&LanguageTexts::licenseTitle, QStringLiteral("License Agreement")),
              text(&LanguageTexts::licenseSubtitle,
                   QStringLiteral("Please read the following license agreement carefully.")));
    auto* box = addTextBox(this, "licenseText", title_->text());
    place(box, {5, 45, 320, 110});
    auto file = readPageFile(ctx_, ctx_.state.extractionFolder + "license.txt");
    box->setPlainText(file.value_or(own(&OwnTexts::licensePlaceholder)));

    accept_ =
        new QRadioButton(text(&LanguageTexts::licenseAccept,
                              QStringLiteral("I &accept the terms in the license agreement.")),
                         this);
    accept_->setObjectName(QStringLiteral("accept"));
    place(accept_, {5, 160, 280, 10});
    decline_ = new QRadioButton(
        text(&LanguageTexts::licenseDecline,
             QStringLiteral("I &do not accept the terms in the license agreement")),
        this);
    decline_->setObjectName(QStringLiteral("decline"));
    place(decline_, {5, 170, 280, 10});
    decline_->setChecked(true);
    connect(accept_, &QRadioButton::toggled, this, [this](bool on) {
        if (on)
            Q_EMIT enableNext();
        else
            Q_EMIT disableNext();
    });
}

void CLicense::shown() {
    // Next follows the choice on screen: a page showing "accept" with Next disabled would leave
    // the user stuck, as choosing the selected button again changes nothing.
    if (accept_->isChecked())
        Q_EMIT enableNext();
    else
        Q_EMIT disableNext();
}

CReadme::CReadme(WizardContext& context, QWidget* parent)
    : CPage(context, "readme", 331, 187, parent) {
    addHeader(
        text(&LanguageTexts::readmeTitle, QStringLiteral("Information")),
        text(&LanguageTexts::readmeSubtitle, QStringLiteral("Please read the following text.")));
    auto* box = addTextBox(this, "readmeText", title_->text());
    place(box, {25, 45, 290, 120});
    std::string folder = ctx_.state.extractionFolder;
    if (!folder.ends_with('\\')) folder += '\\';
    box->setPlainText(readPageFile(ctx_, folder + "readme.txt")
                          .value_or(own(&OwnTexts::readmePlaceholder)));
}

CUser::CUser(WizardContext& context, QWidget* parent) : CPage(context, "user", 331, 172, parent) {
    addHeader(text(&LanguageTexts::userTitle, QStringLiteral("Customer Information")),
              text(&LanguageTexts::userSubtitle, QStringLiteral("Please enter your information.")));
    auto* nameLabel = addLabel(text(&LanguageTexts::userNameLabel, QStringLiteral("User Name:")),
                               {25, 70, 0, 0}, "nameLabel");
    name_ = new QLineEdit(this);
    name_->setObjectName(QStringLiteral("userName"));
    place(name_, {25, 80, 290, 12});
    nameLabel->setBuddy(name_);
    auto* companyLabel =
        addLabel(text(&LanguageTexts::companyLabel, QStringLiteral("Company Name:")),
                 {25, 100, 0, 0}, "companyLabel");
    auto* company = new QLineEdit(this);
    company->setObjectName(QStringLiteral("company"));
    place(company, {25, 110, 290, 12});
    companyLabel->setBuddy(company);
    for (QLineEdit* e : {name_, company}) swallowEnter(e);
    name_->setAccessibleName(nameLabel->text().remove(QLatin1Char('&')));
    company->setAccessibleName(companyLabel->text().remove(QLatin1Char('&')));
    connect(name_, &QLineEdit::textChanged, this,
            [this](const QString& t) { ctx_.state.userName = t.toStdString(); });
    connect(company, &QLineEdit::textChanged, this,
            [this](const QString& t) { ctx_.state.company = t.toStdString(); });
    setFocusProxy(name_);
}

void CUser::shown() {
    name_->setFocus();
}

CStartCopying::CStartCopying(WizardContext& context, QWidget* parent)
    : CPage(context, "start", 331, 189, parent) {
    addHeader(text(&LanguageTexts::startTitle, QStringLiteral("Start Copying Files")),
              text(&LanguageTexts::startSubtitle,
                   QStringLiteral("Review settings before copying files.")));
    auto* explain = addLabel(
        text(&LanguageTexts::startText,
             QStringLiteral("Setup has enough information to start copying the program files. "
                            "If you want to review or change any settings, click Back. If you "
                            "are satisfied with the settings, click Next to begin copying "
                            "files.")),
        {30, 40, 295, 29}, "explanation");
    explain->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    auto* label =
        addLabel(text(&LanguageTexts::startSummaryLabel, QStringLiteral("Current Settings:")),
                 {30, 70, 0, 0}, "summaryLabel");
    summary_ = addTextBox(this, "summary", label->text());
    // The box reaches the page's bottom edge; keep its frame inside the page.
    place(summary_, {30, 80, 295, 107});
    label->setBuddy(summary_);
}

void CStartCopying::refresh() {
    summary_->setPlainText(forDisplay(installSummary(ctx_.state)));
}

CComplete::CComplete(WizardContext& context, QWidget* parent)
    : CWhitePage(context, "complete", 327, 182, parent) {
    auto* title = addLabel(text(&LanguageTexts::completeTitle, QStringLiteral("Instavo Complete")),
                           {120, 20, 205, 15}, "title");
    title->setFont(bigTitleFont());
    setAccessibleName(title->text());
    readmeBox_ = new QCheckBox(
        text(&LanguageTexts::readmeBox, QStringLiteral("Read the readme.txt file")), this);
    readmeBox_->setObjectName(QStringLiteral("readmeBox"));
    place(readmeBox_, {125, 75, 170, 10});
    runBox_ = new QCheckBox(text(&LanguageTexts::runBox, QStringLiteral("Run the program")), this);
    runBox_->setObjectName(QStringLiteral("runBox"));
    place(runBox_, {125, 95, 175, 10});
    readmeBox_->hide();
    runBox_->hide();
    const Pages& pages = ctx_.package.pages;
    if (pages.completeBoxes) {
        if (pages.readmeBox) {
            readmeBox_->setChecked(true);
            readmeBox_->show();
            readme_ = true;
        }
        if (pages.runBox) {
            runBox_->setChecked(true);
            runBox_->show();
            run_ = true;
        }
    }
    connect(readmeBox_, &QCheckBox::toggled, this, [this](bool on) { readme_ = on; });
    connect(runBox_, &QCheckBox::toggled, this, [this](bool on) { run_ = on; });
    showSidePicture(!ctx_.package.window.leftImage.empty());
}

}  // namespace setup
