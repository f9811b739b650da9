// The data-entry windows of the nine categories (new and edit) and the triangulation warning.
#include <gtest/gtest.h>

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPointer>
#include <QPushButton>
#include <QScreen>
#include <QTabBar>
#include <QTest>
#include <filesystem>
#include <map>
#include <string>
#include <utility>
#include <vector>

#include "fee/app/EntryWindow.h"
#include "fee/app/EntryWindows.h"
#include "fee/app/TrigWarningWindow.h"
#include "fee/store/Categories.h"
#include "support/AppFixture.h"
#include "support/QtWaiting.h"

namespace {

using fee::CategoryId;
using fee::app::EntryMode;
using fee::app::WindowId;
using testing_support::cp1253;

const std::string kData = "program files/dezovur/";
const std::string kJob = kData + "ΑΒ/";

class Entries : public ::testing::Test, public testing_support::AppFixture {
protected:
    void makeJob(int specialty = 1, const char* entos = " 1 \r\n",
                 const char* specialtyText = "Πολιτικός Μηχανικός") {
        testing_support::writeJob(*this, specialty, entos, specialtyText);
    }
    void TearDown() override { delete window.data(); }

    QWidget* open(CategoryId category, EntryMode mode) {
        delete window.data();
        window = fee::app::createEntryWindow(context, category, mode);
        window->show();
        return window;
    }
    template <class T = QLineEdit>
    T* child(const QString& name) {
        return testing_support::child<T>(window, name);
    }
    void type(const QString& field, const QString& text) {
        QLineEdit* edit = child(field);
        edit->clear();
        QTest::keyClicks(edit, text);
    }
    bool gone() {
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        return window.isNull();
    }
    std::string job(const std::string& file) const { return root.readHostFile(kJob + file); }
    bool jobHas(const std::string& file) const {
        return std::filesystem::exists(root.driveC() / (kJob + file));
    }
    QString refusalText() {
        auto* box = window ? window->findChild<QMessageBox*>(QStringLiteral("refusal")) : nullptr;
        return box ? box->text() : QString();
    }

    QPointer<QWidget> window;
};

// One category's new window: what it is called, what is typed, what the file must hold.
struct NewCase {
    CategoryId category;
    const char* object;
    const char* caption;
    const char* submit;
    std::vector<std::pair<const char*, const char*>> typed;
    const char* file;
    const char* bytes;
};

TEST(EntryLayouts, keep_as_many_fields_as_their_input_file_holds) {
    for (const auto& files : fee::kCategories) {
        const auto* layout = fee::app::entryLayout(files.id);
        if (files.id == CategoryId::Taxi) {
            EXPECT_EQ(layout, nullptr);  // its own window
            continue;
        }
        ASSERT_NE(layout, nullptr) << files.input;
        EXPECT_EQ(static_cast<int>(layout->fields.size()), files.fields) << files.input;
    }
}

TEST_F(Entries, new_windows_start_at_zero_and_write_their_files) {
    const NewCase cases[] = {
        {CategoryId::Asti,
         "Form6",
         "Aποτυπώσεις Αστικών Περιοχών",
         "OK",
         {{"ea", "3,2"}},
         "asti.dat",
         " 320 \r\n"},
        {CategoryId::Polygon,
         "Form4",
         "Πολυγωνομετρία",
         "Command1",
         {{"poly", "6"}},
         "polygon.dat",
         " 600 \r\n"},
        {CategoryId::Rymotom,
         "Form8",
         "Οικοδομικές-Ρυμοτομικές Γραμμές",
         "Command1",
         {{"ajon", "5"}, {"rymot", "12,5"}},
         "rymotom.dat",
         " 500 \r\n 1250 \r\n"},
        {CategoryId::Trig,
         "form3",
         "Τριγωνισμός",
         "Command1",
         {{"TsIIIT", "2"}, {"TSIVT", "3"}, {"Emp", "0"}, {"OP", "1"}},
         "trig.dat",
         " 200 \r\n 300 \r\n 0 \r\n 100 \r\n"},
        {CategoryId::Them,
         "Form12",
         "Χάραξη Θεμελίων Κτιριακών έργων",
         "Command1",
         {{"www", "420"}},
         "them.dat",
         " 42000 \r\n"},
        {CategoryId::Oix,
         "Form11",
         "Χάραξη Οικοπέδων επί Εδάφους",
         "Command1",
         {{"oikx", "8"}},
         "oix.dat",
         " 800 \r\n"},
        {CategoryId::Xilosta,
         "Form10",
         "Κατανομή Χιλιοστών",
         "Command1",
         {{"anid", "12"}},
         "xilosta.dat",
         " 1200 \r\n"},
        {CategoryId::Analog,
         "Form7",
         "Σύνταξη Πράξεων Αναλογισμού",
         "Command1",
         {{"S", "1,25"}},
         "analog.dat",
         " 125 \r\n"},
    };
    makeJob();
    for (const NewCase& c : cases) {
        SCOPED_TRACE(c.object);
        open(c.category, EntryMode::New);
        EXPECT_EQ(window->objectName(), QString::fromUtf8(c.object));
        EXPECT_EQ(window->windowTitle(), QString::fromUtf8(c.caption));
        EXPECT_TRUE(window->testAttribute(Qt::WA_DeleteOnClose));
        for (const auto& [field, text] : c.typed) {
            EXPECT_EQ(child(QString::fromUtf8(field))->text(), QStringLiteral("0"));
            type(QString::fromUtf8(field), QString::fromUtf8(text));
        }
        auto* submit = child<QPushButton>(QString::fromUtf8(c.submit));
        EXPECT_EQ(submit->text(), QStringLiteral("Υποβολή"));
        submit->click();
        EXPECT_EQ(job(c.file), c.bytes);
        EXPECT_TRUE(gone());
    }
    // A new window leaves the work menu as it is.
    EXPECT_TRUE(nav.calls.empty());
}

TEST_F(Entries, edit_windows_show_stored_values_exactly_in_the_locale) {
    makeJob();
    root.writeHostFile(kJob + "polygon.dat", " 250 \r\n");
    root.writeHostFile(kJob + "rymotom.dat", " 250 \r\n 1250 \r\n");
    root.writeHostFile(kJob + "trig.dat", " 250 \r\n 350 \r\n 100 \r\n 75 \r\n");
    root.writeHostFile(kJob + "asti.dat", " 1250 \r\n");
    root.writeHostFile(kJob + "analog.dat", " 125 \r\n");
    root.writeHostFile(kJob + "oix.dat", " 800 \r\n");
    root.writeHostFile(kJob + "xilosta.dat", " 1150 \r\n");
    root.writeHostFile(kJob + "them.dat", " 1250 \r\n");

    const std::vector<std::tuple<CategoryId, const char*, std::map<QString, QString>>> cases = {
        {CategoryId::Polygon, "poligon1", {{"poly", "2,5"}}},
        {CategoryId::Rymotom, "rymot", {{"ajon", "2,5"}, {"rymot", "12,5"}}},
        {CategoryId::Trig,
         "trigonismos1",
         {{"TsIIIT", "2,5"}, {"TSIVT", "3,5"}, {"Emp", "1"}, {"OP", "0,75"}}},
        {CategoryId::Asti, "asti1", {{"ea", "12,5"}}},
        {CategoryId::Analog, "analog1", {{"S", "1,25"}}},
        {CategoryId::Oix, "oikopeda1", {{"oikx", "8"}}},
        {CategoryId::Xilosta, "xiliosta1", {{"anid", "11,5"}}},
        {CategoryId::Them, "ktiria1", {{"www", "12,5"}}},
    };
    for (const auto& [category, object, shown] : cases) {
        SCOPED_TRACE(object);
        open(category, EntryMode::Edit);
        EXPECT_EQ(window->objectName(), QString::fromUtf8(object));
        for (const auto& [field, text] : shown) EXPECT_EQ(child(field)->text(), text);
    }
}

TEST_F(Entries, edit_window_rewrites_its_file_and_reopens_the_edit_menu) {
    makeJob();
    // As the finish step leaves it: doubles, one with a fraction of a point.
    root.writeHostFile(kJob + "rymotom.dat", " 250 \r\n 1250 \r\n");
    open(CategoryId::Rymotom, EntryMode::Edit);
    type(QStringLiteral("rymot"), QStringLiteral("13"));
    child<QPushButton>(QStringLiteral("Command1"))->click();
    // The count nobody touched stays as stored, fraction and all.
    EXPECT_EQ(job("rymotom.dat"), " 250 \r\n 1300 \r\n");
    EXPECT_TRUE(nav.reopened(WindowId::EditMenu));
    EXPECT_EQ(nav.calls.size(), 1u);
    EXPECT_TRUE(gone());
}

TEST_F(Entries, a_fraction_typed_into_a_count_is_refused) {
    makeJob();
    root.writeHostFile(kJob + "trig.dat", " 250 \r\n 0 \r\n 0 \r\n 0 \r\n");
    for (EntryMode mode : {EntryMode::New, EntryMode::Edit}) {
        open(CategoryId::Trig, mode);
        type(QStringLiteral("Emp"), QStringLiteral("1,5"));
        child<QPushButton>(QStringLiteral("Command1"))->click();
        EXPECT_TRUE(refusalText().contains(QStringLiteral("«Εμπροσθοτομία» δέχεται μόνο ακέραιο")))
            << refusalText().toStdString();
        EXPECT_FALSE(gone());
        EXPECT_EQ(job("trig.dat"), " 250 \r\n 0 \r\n 0 \r\n 0 \r\n");
    }
}

TEST_F(Entries, edit_window_of_a_missing_file_shows_zero) {
    makeJob();
    open(CategoryId::Trig, EntryMode::Edit);
    EXPECT_EQ(child(QStringLiteral("OP"))->text(), QStringLiteral("0"));
}

TEST_F(Entries, building_area_keeps_its_fraction_through_editing) {
    makeJob();
    open(CategoryId::Them, EntryMode::New);
    type(QStringLiteral("www"), QStringLiteral("12,5"));
    child<QPushButton>(QStringLiteral("Command1"))->click();
    EXPECT_EQ(job("them.dat"), " 1250 \r\n");

    open(CategoryId::Them, EntryMode::Edit);
    EXPECT_EQ(child(QStringLiteral("www"))->text(), QStringLiteral("12,5"));
    child<QPushButton>(QStringLiteral("Command1"))->click();
    EXPECT_EQ(job("them.dat"), " 1250 \r\n");

    open(CategoryId::Them, EntryMode::Edit);
    type(QStringLiteral("www"), QStringLiteral("12,345"));  // 1234.5 hundredths, half to even
    child<QPushButton>(QStringLiteral("Command1"))->click();
    EXPECT_EQ(job("them.dat"), " 1234 \r\n");

    // Far beyond a single's seven digits and the 16-bit range, without exponent form.
    open(CategoryId::Them, EntryMode::Edit);
    type(QStringLiteral("www"), QStringLiteral("150000,07"));
    child<QPushButton>(QStringLiteral("Command1"))->click();
    EXPECT_EQ(job("them.dat"), " 15000007 \r\n");
    open(CategoryId::Them, EntryMode::Edit);
    EXPECT_EQ(child(QStringLiteral("www"))->text(), QStringLiteral("150000,07"));
}

TEST_F(Entries, refusals_keep_the_window_open_and_write_nothing) {
    makeJob();
    root.writeHostFile(kJob + "trig.dat", " 100 \r\n 0 \r\n 0 \r\n 0 \r\n");
    struct Bad {
        CategoryId category;
        EntryMode mode;
        const char* field;
        const char* typed;
        const char* submit;
        const char* file;
    };
    const Bad cases[] = {
        {CategoryId::Asti, EntryMode::New, "ea", "327,68", "OK", "asti.dat"},
        {CategoryId::Polygon, EntryMode::New, "poly", "abc", "Command1", "polygon.dat"},
        {CategoryId::Oix, EntryMode::New, "oikx", "-1", "Command1", "oix.dat"},
        {CategoryId::Xilosta, EntryMode::New, "anid", "", "Command1", "xilosta.dat"},
        {CategoryId::Analog, EntryMode::New, "S", "1.234,5", "Command1", "analog.dat"},
        {CategoryId::Them, EntryMode::New, "www", "10000001", "Command1", "them.dat"},
        {CategoryId::Rymotom, EntryMode::New, "rymot", "400", "Command1", "rymotom.dat"},
        {CategoryId::Trig, EntryMode::Edit, "OP", "x", "Command1", "trig.dat"},
    };
    for (const Bad& c : cases) {
        SCOPED_TRACE(std::string(c.field) + " <- " + c.typed);
        const std::string before = jobHas(c.file) ? job(c.file) : std::string("(none)");
        open(c.category, c.mode);
        type(QString::fromUtf8(c.field), QString::fromUtf8(c.typed));
        child<QPushButton>(QString::fromUtf8(c.submit))->click();
        EXPECT_FALSE(gone());
        EXPECT_TRUE(window->isVisible());
        EXPECT_FALSE(refusalText().isEmpty());
        EXPECT_EQ(jobHas(c.file) ? job(c.file) : std::string("(none)"), before);
    }
    EXPECT_TRUE(nav.calls.empty());
}

TEST_F(Entries, refusal_names_the_field_and_the_allowed_range) {
    makeJob();
    open(CategoryId::Rymotom, EntryMode::New);
    type(QStringLiteral("ajon"), QStringLiteral("2"));
    type(QStringLiteral("rymot"), QStringLiteral("327,68"));
    child<QPushButton>(QStringLiteral("Command1"))->click();
    EXPECT_EQ(refusalText(), QStringLiteral("Το πεδίο «Κορυφές Οικοδομικών Τετραγώνων (Σημεία)» "
                                            "δέχεται αριθμό από 0 έως 327,67."));
    EXPECT_FALSE(jobHas("rymotom.dat"));

    open(CategoryId::Them, EntryMode::New);
    type(QStringLiteral("www"), QStringLiteral("-3"));
    child<QPushButton>(QStringLiteral("Command1"))->click();
    EXPECT_EQ(
        refusalText(),
        QStringLiteral("Το πεδίο «Εμβαδό οικοδομής σε m2» δέχεται αριθμό από 0 έως 10000000."));
}

TEST_F(Entries, without_a_current_job_nothing_is_written) {
    open(CategoryId::Polygon, EntryMode::New);
    child<QPushButton>(QStringLiteral("Command1"))->click();
    EXPECT_FALSE(gone());
    EXPECT_TRUE(refusalText().contains(QStringLiteral("μελέτη")));
    EXPECT_FALSE(std::filesystem::exists(root.driveC() / "polygon.dat"));
    EXPECT_FALSE(std::filesystem::exists(root.driveC() / "program files/dezovur/polygon.dat"));
}

TEST_F(Entries, polygonometry_states_the_density_of_the_plan) {
    makeJob(1, " 1 \r\n");
    open(CategoryId::Polygon, EntryMode::New);
    EXPECT_EQ(child<QLabel>(QStringLiteral("density"))->text(),
              QStringLiteral("ΕΝΑ ΣΗΜΕΙΟ ΑΝΑ ΣΤΡΕΜΑ"));
    for (const char* flag : {" 0 \r\n", " 2 \r\n"}) {
        root.writeHostFile(kJob + "entos.dat", flag);
        open(CategoryId::Polygon, EntryMode::Edit);
        EXPECT_EQ(child<QLabel>(QStringLiteral("density"))->text(),
                  QStringLiteral("ΜΙΣΟ ΣΗΜΕΙΟ ΑΝΑ ΣΤΡΕΜΑ"));
    }
}

TEST_F(Entries, fields_are_named_by_their_labels_for_screen_readers) {
    makeJob();
    open(CategoryId::Oix, EntryMode::New);
    QLineEdit* field = child(QStringLiteral("oikx"));
    EXPECT_EQ(field->accessibleName(),
              QStringLiteral("Μόνιμος Σήμανση Oρίων Οικοπέδων δια του τύπου των πολυγωνομετρικών "
                             "σημείων: (Αριθμός Κορυφών Οικοπέδων)"));
    bool hasBuddy = false;
    for (QLabel* label : window->findChildren<QLabel*>()) hasBuddy |= label->buddy() == field;
    EXPECT_TRUE(hasBuddy);
}

// --- tachymetric surveys ---------------------------------------------------------------------

QString slopeField(int i) {
    return QStringLiteral("E(%1)").arg(i);
}
QString slopePanel(int i) {
    return QStringLiteral("picOptions(%1)").arg(i);
}

TEST_F(Entries, tachymetric_window_tabs_and_panels) {
    makeJob();
    open(CategoryId::Taxi, EntryMode::New);
    EXPECT_EQ(window->objectName(), QStringLiteral("form5"));
    EXPECT_EQ(window->windowTitle(),
              QStringLiteral("Ταχυμετρικες Αποτυπωσεις στην ύπαιθρο (Σε στρέμματα)"));
    auto* tabs = child<QTabBar>(QStringLiteral("tbsOptions"));
    const char* captions[] = {"0%-5%", "5%-20%", "20%-50%", "50%-100%", "100% ανω"};
    const char* keys[] = {"0-5", "5-20", "20-50", "50-100", "ανω100"};
    const char* tips[] = {"Κλίση εδάφους έως 5%", "Κλίση εδάφους 5%-20%", "Κλίση εδάφους 20%-50%",
                          "Κλίση Εδάφους 50%-100%", "Κλίση εδάφους άνω του 100%"};
    ASSERT_EQ(tabs->count(), 5);
    for (int i = 0; i < 5; ++i) {
        EXPECT_EQ(tabs->tabText(i), QString::fromUtf8(captions[i]));
        EXPECT_EQ(tabs->tabData(i).toString(), QString::fromUtf8(keys[i]));
        EXPECT_EQ(tabs->tabToolTip(i), QString::fromUtf8(tips[i]));
        EXPECT_EQ(child(slopeField(i))->text(), QStringLiteral("0"));
    }
    EXPECT_EQ(tabs->currentIndex(), 0);
    EXPECT_FALSE(child<QCheckBox>(QStringLiteral("H"))->isChecked());
    EXPECT_EQ(child<QCheckBox>(QStringLiteral("H"))->text(), QStringLiteral("Υψομέτρηση"));
    EXPECT_EQ(child<QPushButton>(QStringLiteral("Submite"))->text(), QStringLiteral("Υποβολή"));

    const auto onlyPanel = [&](int selected) {
        for (int i = 0; i < 5; ++i) {
            SCOPED_TRACE(i);
            QWidget* panel = child<QWidget>(slopePanel(i));
            EXPECT_EQ(panel->isEnabled(), i == selected);
            EXPECT_EQ(panel->isVisible(), i == selected);
            EXPECT_EQ(child(slopeField(i))->isEnabled(), i == selected);
        }
    };
    onlyPanel(0);
    tabs->setCurrentIndex(3);  // as a click on the tab does
    onlyPanel(3);
}

TEST_F(Entries, tachymetric_ctrl_tab_cycles_through_the_tabs) {
    makeJob();
    open(CategoryId::Taxi, EntryMode::New);
    auto* tabs = child<QTabBar>(QStringLiteral("tbsOptions"));
    for (int i = 1; i <= 4; ++i) {
        QTest::keyClick(child(slopeField(i - 1)), Qt::Key_Tab, Qt::ControlModifier);
        EXPECT_EQ(tabs->currentIndex(), i);
    }
    // After the last tab the first; the window sees the key whichever control has it.
    QTest::keyClick(child<QCheckBox>(QStringLiteral("H")), Qt::Key_Tab, Qt::ControlModifier);
    EXPECT_EQ(tabs->currentIndex(), 0);
    for (int i = 0; i < 5; ++i) {
        EXPECT_EQ(child<QWidget>(slopePanel(i))->isEnabled(), i == 0);
        EXPECT_EQ(child<QWidget>(slopePanel(i))->isVisible(), i == 0);
    }
    // Only exactly Ctrl.
    QTest::keyClick(child(slopeField(0)), Qt::Key_Tab, Qt::ControlModifier | Qt::AltModifier);
    QTest::keyClick(child(slopeField(0)), Qt::Key_Tab, Qt::NoModifier);
    EXPECT_EQ(tabs->currentIndex(), 0);
}

TEST_F(Entries, tachymetric_window_is_centred_on_the_screen) {
    makeJob();
    open(CategoryId::Taxi, EntryMode::Edit);
    const QRect screen = window->screen()->geometry();
    EXPECT_EQ(window->x(), screen.x() + (screen.width() - window->width()) / 2);
    EXPECT_EQ(window->y(), screen.y() + (screen.height() - window->height()) / 2);
}

TEST_F(Entries, tachymetric_new_window_writes_areas_and_altimetry) {
    makeJob();
    open(CategoryId::Taxi, EntryMode::New);
    auto* tabs = child<QTabBar>(QStringLiteral("tbsOptions"));
    type(slopeField(0), QStringLiteral("12,5"));
    tabs->setCurrentIndex(2);
    type(slopeField(2), QStringLiteral("4"));
    child<QCheckBox>(QStringLiteral("H"))->setChecked(true);
    child<QPushButton>(QStringLiteral("Submite"))->click();
    EXPECT_EQ(job("taxi.dat"), " 1250 \r\n 0 \r\n 400 \r\n 0 \r\n 0 \r\n 100 \r\n");
    EXPECT_TRUE(gone());
    EXPECT_TRUE(nav.calls.empty());
}

TEST_F(Entries, tachymetric_edit_window_shows_the_file_and_reopens_the_edit_menu) {
    makeJob();
    // As the finish step leaves it.
    root.writeHostFile(kJob + "taxi.dat", " 1250 \r\n 1 \r\n 400 \r\n 0 \r\n 32767 \r\n 100 \r\n");
    open(CategoryId::Taxi, EntryMode::Edit);
    EXPECT_EQ(window->objectName(), QStringLiteral("taxi1"));
    const char* shown[] = {"12,5", "0,01", "4", "0", "327,67"};
    for (int i = 0; i < 5; ++i)
        EXPECT_EQ(child(slopeField(i))->text(), QString::fromUtf8(shown[i]));
    EXPECT_TRUE(child<QCheckBox>(QStringLiteral("H"))->isChecked());
    child<QCheckBox>(QStringLiteral("H"))->setChecked(false);
    child<QPushButton>(QStringLiteral("Submite"))->click();
    EXPECT_EQ(job("taxi.dat"), " 1250 \r\n 1 \r\n 400 \r\n 0 \r\n 32767 \r\n 0 \r\n");
    EXPECT_TRUE(nav.reopened(WindowId::EditMenu));
    EXPECT_TRUE(gone());
}

TEST_F(Entries, tachymetric_refusal_brings_the_bad_slope_class_into_view) {
    makeJob();
    open(CategoryId::Taxi, EntryMode::New);
    child(slopeField(3))->setText(QStringLiteral("500"));
    child<QPushButton>(QStringLiteral("Submite"))->click();
    EXPECT_FALSE(gone());
    EXPECT_EQ(child<QTabBar>(QStringLiteral("tbsOptions"))->currentIndex(), 3);
    EXPECT_EQ(refusalText(),
              QStringLiteral("Το πεδίο «Εμβαδό κλίσης 50%-100%» δέχεται αριθμό από 0 έως 327,67."));
    EXPECT_FALSE(jobHas("taxi.dat"));
}

// --- triangulation warning --------------------------------------------------------------------

TEST_F(Entries, trig_warning_names_the_specialty) {
    const std::pair<int, const char*> cases[] = {
        {3, "Αρχιτεκτονας Μηχανικός"},
        {4, "Τεχνολόγος Τοπογράφος"},
        {5, "Τεχνολόγος Δομικών Έργων"},
        {6, "Τεχνολόγος Έργων Υποδομής"},
    };
    for (const auto& [code, name] : cases) {
        makeJob(code);
        window = new fee::app::TrigWarningWindow(context);
        window->show();
        EXPECT_EQ(window->objectName(), QStringLiteral("error_trig"));
        EXPECT_EQ(window->windowTitle(), QStringLiteral("ΠΡΟΣΟΧΗ"));
        EXPECT_EQ(child<QLabel>(QStringLiteral("Label1"))->text(),
                  QStringLiteral("Έχετε δηλώσει οτι η ειδικότητά σας είναι:"));
        EXPECT_EQ(child<QLabel>(QStringLiteral("Label2"))->text(), QString::fromUtf8(name));
        auto* ok = child<QPushButton>(QStringLiteral("OKButton"));
        EXPECT_EQ(ok->text(), QStringLiteral("OK"));
        ok->click();
        EXPECT_TRUE(gone());
    }
}

TEST_F(Entries, trig_warning_falls_back_on_the_engineer_specialty_text) {
    makeJob(0, " 1 \r\n", "Τοπογράφος");
    window = new fee::app::TrigWarningWindow(context);
    EXPECT_EQ(child<QLabel>(QStringLiteral("Label2"))->text(), QStringLiteral("Τοπογράφος"));
}

}  // namespace
