#include "fee/app/EntryWindow.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>
#include <array>

#include "fee/app/Widgets.h"
#include "fee/store/Categories.h"

namespace fee::app {

namespace {

constexpr auto Whole = ShownAs::WholeFromInt16;
constexpr auto Single = ShownAs::RealFromSingle;
constexpr auto Double = ShownAs::RealFromDouble;
constexpr auto Int16 = StoredForm::Int16Hundredths;

const std::array<EntryLayout, 8> kLayouts = {{
    {CategoryId::Asti,
     "Aποτυπώσεις Αστικών Περιοχών",
     Int16,
     {"Με τη μέθοδο των ορθογωνίων συντεταγμένων ή με άλλη μέθοδο αστικών περιοχών"},
     false,
     {{"ea", "Εμβαδό: ", "Εμβαδό", Single}},
     {},
     "OK",
     false},
    {CategoryId::Polygon,
     "Πολυγωνομετρία",
     Int16,
     {},
     false,
     {{"poly", "Πλήθος πολυγωνομετρικών σημείων", "Πλήθος πολυγωνομετρικών σημείων", Whole}},
     {},
     "Command1",
     true},
    {CategoryId::Rymotom,
     "Οικοδομικές-Ρυμοτομικές Γραμμές",
     Int16,
     {},
     false,
     {{"ajon", "Προσδιορισμός και Χάραξη Αξόνων (Σημεία)",
       "Προσδιορισμός και Χάραξη Αξόνων (Σημεία)", Whole},
      {"rymot", "Κορυφές Οικοδομικών Τετραγώνων (Σημεία)",
       "Κορυφές Οικοδομικών Τετραγώνων (Σημεία)", Double}},
     {},
     "Command1",
     false},
    {CategoryId::Trig,
     "Τριγωνισμός",
     Int16,
     {},
     false,
     {{"TsIIIT", "Τριγωνομετρικο σημειο ΙΙΙ Τάξεως", "Τριγωνομετρικο σημειο ΙΙΙ Τάξεως", Whole},
      {"TSIVT", "Τριγωνομετρικο σημείο IV Τάξεως", "Τριγωνομετρικο σημείο IV Τάξεως", Whole},
      {"Emp", "Εμπροσθοτομία", "Εμπροσθοτομία", Whole},
      {"OP", "Οπισθοτομία", "Οπισθοτομία", Whole}},
     {},
     "Command1",
     false},
    // A building's area is checked against kMaxBuildingArea, not the 16-bit range.
    {CategoryId::Them,
     "Χάραξη Θεμελίων Κτιριακών έργων",
     StoredForm::AreaHundredths,
     {"Χάραξη Θεμελίων Κτιριακών Έργων"},
     true,
     {{"www", "Ώς μόνιμη σήμανση πολυγωνομετρικών σημείων (Εμβαδό οικοδομής σε m2)",
       "Εμβαδό οικοδομής σε m2", Double}},
     {"Σημ: Ο αριθμός των πολυγωνομετρικών σημείων υπολογίζεται με τον τύπο :",
      "Αριθ.Πολυγων=Εμβαδό * 2 / 250 + 4",
      "Και περιλαμβάνει την χάραξη της εκσκαφής θεμελίωσης, την χάραξη της θεμελίωσης, και "
      "τους ελέγχους καθετότητας των υποστηλωμάτων",
      "Οι αμοιβές ΔΕΝ προβλέπονται ΑΜΜΕΣΑ απο το ΠΔ696."},
     "Command1",
     false},
    {CategoryId::Oix,
     "Χάραξη Οικοπέδων επί Εδάφους",
     Int16,
     {},
     false,
     {{"oikx",
       "Μόνιμος Σήμανση Oρίων Οικοπέδων δια του τύπου των πολυγωνομετρικών σημείων: "
       "(Αριθμός Κορυφών Οικοπέδων)",
       "Αριθμός Κορυφών Οικοπέδων", Whole}},
     {},
     "Command1",
     false},
    {CategoryId::Xilosta,
     "Κατανομή Χιλιοστών",
     Int16,
     {},
     false,
     {{"anid", "Ανεξάρτητες Οριζόντιες συνιδιοκτησίες", "Ανεξάρτητες Οριζόντιες συνιδιοκτησίες",
       Whole}},
     {"ΠΡΟΣΟΧΗ: Οι αμοιβές απο την σύνταξη πινάκων κατανομής χιλιοστών ΔΕΝ προβλέπονται "
      "ΑΜΜΕΣΑ απο το ΠΔ696.",
      "Οι αμοιβή ανα ιδιοκτησία έχει προκύψει απο αντίστοιχη ανάλυση των άρθρων 13 και 15 του "
      "νόμου."},
     "Command1",
     false},
    {CategoryId::Analog,
     "Σύνταξη Πράξεων Αναλογισμού",
     Int16,
     {},
     false,
     {{"S", "Συνολικό Μήκος Προσώπων Οικοπέδων (σε Χιλιόμετρα)",
       "Συνολικό Μήκος Προσώπων Οικοπέδων (σε Χιλιόμετρα)", Single}},
     {},
     "Command1",
     false},
}};

QString densityText(const AppContext& ctx) {
    const auto job = ctx.store.currentJobFolder();
    const bool inside = job && ctx.store.planFlag(*job).value_or(0) == 1;
    return inside ? QStringLiteral("ΕΝΑ ΣΗΜΕΙΟ ΑΝΑ ΣΤΡΕΜΑ")
                  : QStringLiteral("ΜΙΣΟ ΣΗΜΕΙΟ ΑΝΑ ΣΤΡΕΜΑ");
}

}  // namespace

const EntryLayout* entryLayout(CategoryId category) {
    if (categoryOf(category).window != EntryWindowKind::Fields) return nullptr;
    for (const auto& layout : kLayouts)
        if (layout.category == category) return &layout;
    return nullptr;
}

EntryWindow::EntryWindow(AppContext& ctx, const EntryLayout& layout, EntryMode mode,
                         QWidget* parent)
    : QWidget(parent, Qt::Window), ctx_(ctx), layout_(layout), mode_(mode) {
    const Category& category = categoryOf(layout.category);
    setObjectName(fromView(mode == EntryMode::New ? category.newWindow : category.editWindow));
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(QString::fromUtf8(layout.caption));
    setAccessibleName(windowTitle());
    setProperty(kJobProperty, QString::fromStdString(ctx.store.currentJobFolder().value_or("")));

    auto* column = new QVBoxLayout(this);
    column->setSpacing(10);
    for (std::size_t i = 0; i < layout.headings.size(); ++i) {
        QLabel* heading = makeNote(this, QString::fromUtf8(layout.headings[i]));
        if (i == 0 && layout.boldHeading) {
            QFont bold = heading->font();
            bold.setBold(true);
            bold.setPointSizeF(bold.pointSizeF() * 1.2);
            heading->setFont(bold);
            heading->setAlignment(Qt::AlignHCenter);
        }
        column->addWidget(heading);
    }

    auto* grid = new QGridLayout;
    grid->setHorizontalSpacing(12);
    grid->setColumnStretch(0, 1);
    const std::vector<double> stored =
        mode == EntryMode::Edit
            ? storedValues(ctx, category.input, static_cast<int>(layout.fields.size()))
            : std::vector<double>{};
    int row = 0;
    for (std::size_t i = 0; i < layout.fields.size(); ++i) {
        const EntryFieldLayout& field = layout.fields[i];
        QLineEdit* edit = addLabelledField(grid, row++, this, QString::fromUtf8(field.objectName),
                                           QString::fromUtf8(field.label));
        EntryField entry{edit, QString::fromUtf8(field.name), layout.form, field.shown == Whole, {},
                         {}};
        if (mode == EntryMode::Edit) {
            entry.shown = shownText(ctx, stored[i], field.shown);
            entry.kept = stored[i];
        }
        edit->setText(mode == EntryMode::Edit ? entry.shown : QStringLiteral("0"));
        fields_.push_back(entry);
        if (layout.densityNote && i == 0) {
            QLabel* density = makeNote(this, densityText(ctx), QStringLiteral("density"));
            QFont bold = density->font();
            bold.setBold(true);
            density->setFont(bold);
            grid->addWidget(density, row++, 0, 1, 2);
        }
    }
    column->addLayout(grid);

    for (const char* note : layout.notes)
        column->addWidget(makeNote(this, QString::fromUtf8(note)));

    auto* submit = new QPushButton(QStringLiteral("Υποβολή"), this);
    submit->setObjectName(QString::fromUtf8(layout.submitName));
    submit->setDefault(true);
    submit->setAutoDefault(true);
    submit->setMinimumWidth(110);
    connect(submit, &QPushButton::clicked, this, &EntryWindow::onSubmit);
    // Enter in a field submits, as the default button would in a dialog.
    for (const EntryField& field : fields_)
        connect(field.edit, &QLineEdit::returnPressed, submit, &QPushButton::click);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(submit);
    column->addStretch(1);
    column->addLayout(buttons);

    QWidget* previous = nullptr;
    for (const EntryField& field : fields_) {
        if (previous) setTabOrder(previous, field.edit);
        previous = field.edit;
    }
    setTabOrder(previous, submit);

    const int textWidth = fontMetrics().horizontalAdvance(QString(44, QLatin1Char('x')));
    setMinimumWidth(textWidth + 160);
    fields_.front().edit->setFocus();
    dialogKeys(this);
    fields_.front().edit->selectAll();
    adjustSize();
}

void EntryWindow::onSubmit() {
    const auto values = checkFields(this, ctx_, fields_);
    if (!values) return;
    const Category& category = categoryOf(layout_.category);
    if (!writeEntryFile(this, ctx_, category.input, *values, category.width)) return;
    closeAfterSubmit(this, ctx_, mode_);
}

}  // namespace fee::app
