// Existing jobs through the real window manager: choosing one, correcting every kind of work
// from the edit menu, recomputing, and deleting one.
#include <QCheckBox>

#include "journey_support.h"

namespace {

using namespace journey;
using fee::CategoryId;

const std::string kSecond = "ΕλένηΓεωργίου/";

class ExistingJobs : public Journey {
protected:
    void SetUp() override {
        for (const auto& [first, last] :
             {std::pair{"Νίκος", "Αντωνίου"}, std::pair{"Ελένη", "Γεωργίου"},
              std::pair{"Κώστας", "Δημητρίου"}}) {
            fee::Particulars p;
            p[fee::Particulars::OwnerFirst] = first;
            p[fee::Particulars::OwnerLast] = last;
            p[fee::Particulars::OwnerAddress] = "Πατησίων 40";
            p[fee::Particulars::OwnerCity] = "Αθήνα";
            p[fee::Particulars::Municipality] = "Μαραθώνα";
            p[fee::Particulars::District] = "Νέας Μάκρης";
            p[fee::Particulars::Location] = "Ζούμπερι";
            p[fee::Particulars::EngineerFirst] = "Μαρία";
            p[fee::Particulars::EngineerLast] = "Ιωάννου";
            p[fee::Particulars::EngineerAddress] = "Σόλωνος 5";
            p[fee::Particulars::EngineerCity] = "Μαρούσι";
            p[fee::Particulars::Specialty] = "Αγρονόμος Τοπογράφος Μηχανικός";
            ASSERT_EQ(store.createJob(p), fee::StoreStatus::Ok);
        }
        // The second job as the finish step left it: every kind of work has a quantity.
        const std::pair<const char*, const char*> files[] = {
            {"klimaka.dat", " 500 \r\n"},
            {"analog.dat", " 125 \r\n"},
            {"taxi.dat", " 1500 \r\n 0 \r\n 0 \r\n 0 \r\n 0 \r\n 100 \r\n"},
            {"asti.dat", " 320 \r\n"},
            {"polygon.dat", " 250 \r\n"},
            {"rymotom.dat", " 500 \r\n 1200 \r\n"},
            {"trig.dat", " 200 \r\n 300 \r\n 0 \r\n 100 \r\n"},
            {"them.dat", " 1250 \r\n"},
            {"xilosta.dat", " 1200 \r\n"},
            {"oix.dat", " 800 \r\n"},
        };
        for (const auto& [name, bytes] : files) root.writeHostFile(kData + kSecond + name, bytes);
        ASSERT_EQ(read("Ergasies.dat"),
                  cp1253("Νίκος\r\nΑντωνίου\r\nΕλένη\r\nΓεωργίου\r\nΚώστας\r\nΔημητρίου\r\n"));
        // The last job created is the current one.
        ASSERT_EQ(read("temp.dat"), cp1253("c:\\program files\\dezovur\\ΚώσταςΔημητρίου\r\n"));
        menu = start();
        ASSERT_NE(menu, nullptr);
    }

    // Main menu "Διαχείριση Μελετών", the second job picked, "OK": the overview.
    QWidget* openSecondJob() {
        click(menu, "anaglosh");
        QPointer<QWidget> palaia = window(WindowId::OpenJob);
        EXPECT_NE(palaia, nullptr);
        if (!palaia) return nullptr;
        auto* list = child<QComboBox>(palaia, "EPILOGI");
        EXPECT_EQ(list->count(), 3);
        pick(list, "Ελένη Γεωργίου");
        // The pick alone makes the job current.
        EXPECT_EQ(read("temp.dat"), cp1253("c:\\program files\\dezovur\\ΕλένηΓεωργίου\r\n"));
        click(palaia, "OKButton");
        EXPECT_TRUE(gone(palaia));
        return window(WindowId::Overview);
    }

    QWidget* menu = nullptr;
};

struct FieldEdit {
    const char* field;
    const char* shown;  // what the edit window shows on opening
    const char* typed;  // "" keeps the shown text
};

struct CategoryEdit {
    const char* button;  // on ALLAGI1
    CategoryId category;
    const char* window;
    const char* submit;
    std::vector<FieldEdit> fields;
    const char* file;
    const char* written;
    std::vector<std::pair<const char*, const char*>> labels;  // on the reopened ALLAGI1
};

TEST_F(ExistingJobs, every_kind_of_work_is_corrected_from_the_edit_menu_and_recomputed) {
    QPointer<QWidget> overview = openSecondJob();
    ASSERT_NE(overview, nullptr);
    EXPECT_EQ(overview->objectName(), "Form13");
    EXPECT_EQ(text(overview, "onoma"), "Ελένη");
    EXPECT_EQ(text(overview, "eponymo"), "Γεωργίου");
    EXPECT_EQ(text(overview, "uesi"), "Ζούμπερι");
    EXPECT_EQ(text(overview, "epm"), "Ιωάννου");
    EXPECT_EQ(text(overview, "ent"), "ΕΝΤΟΣ ΣΧΕΔΙΟΥ");
    EXPECT_EQ(text(overview, "klim"), "Κλίμακα 1:500");
    EXPECT_EQ(text(overview, "l"), "0,2935");
    const std::pair<const char*, const char*> stored[] = {
        {"iii", "2"},    {"iv", "3"},  {"empr", "0"},   {"opi", "1"},  {"q0", "15"},
        {"q5", "0"},     {"q20", "0"}, {"q50", "0"},    {"q100", "0"}, {"hh", "Ν Α Ι"},
        {"polo", "2,5"}, {"ajj", "5"}, {"ot", "12"},    {"ae", "3,2"}, {"kma", "1,25"},
        {"ΧΚ", "12,5"},  {"xoi", "8"}, {"xilio", "12"},
    };
    for (const auto& [label, value] : stored) EXPECT_EQ(text(overview, label), value) << label;

    click(overview, "Command3");  // "Διόρθωση"
    ASSERT_TRUE(gone(overview));
    QPointer<QWidget> edit = window(WindowId::EditMenu);
    ASSERT_NE(edit, nullptr);
    EXPECT_EQ(edit->objectName(), "ALLAGI1");
    EXPECT_EQ(child<QComboBox>(edit, "Combo1")->currentText(), "500");
    for (const auto& [label, value] : stored) EXPECT_EQ(text(edit, label), value) << label;

    const CategoryEdit edits[] = {
        {"Command2",
         CategoryId::Trig,
         "trigonismos1",
         "Command1",
         {{"TsIIIT", "2", "1"}, {"TSIVT", "3", "2"}, {"Emp", "0", "3"}, {"OP", "1", "4"}},
         "trig.dat",
         " 100 \r\n 200 \r\n 300 \r\n 400 \r\n",
         {{"iii", "1"}, {"iv", "2"}, {"empr", "3"}, {"opi", "4"}}},
        // 2.5 points were stored; the window shows whole points, half to even.
        {"Command3",
         CategoryId::Polygon,
         "poligon1",
         "Command1",
         {{"poly", "2,5", "6"}},
         "polygon.dat",
         " 600 \r\n",
         {{"polo", "6"}}},
        {"Command5",
         CategoryId::Asti,
         "asti1",
         "OK",
         {{"ea", "3,2", "7,25"}},
         "asti.dat",
         " 725 \r\n",
         {{"ae", "7,25"}}},
        {"Command6",
         CategoryId::Analog,
         "analog1",
         "Command1",
         {{"S", "1,25", "2,5"}},
         "analog.dat",
         " 250 \r\n",
         {{"kma", "2,5"}}},
        {"Command7",
         CategoryId::Rymotom,
         "rymot",
         "Command1",
         {{"ajon", "5", "7"}, {"rymot", "12", "12,5"}},
         "rymotom.dat",
         " 700 \r\n 1250 \r\n",
         {{"ajj", "7"}, {"ot", "12,5"}}},
        {"Command8",
         CategoryId::Xilosta,
         "xiliosta1",
         "Command1",
         {{"anid", "12", "9"}},
         "xilosta.dat",
         " 900 \r\n",
         {{"xilio", "9"}}},
        {"Command9",
         CategoryId::Oix,
         "oikopeda1",
         "Command1",
         {{"oikx", "8", "10"}},
         "oix.dat",
         " 1000 \r\n",
         {{"xoi", "10"}}},
        // A building area keeps its fraction through an edit that leaves it as it is...
        {"Command10",
         CategoryId::Them,
         "ktiria1",
         "Command1",
         {{"www", "12,5", ""}},
         "them.dat",
         " 1250 \r\n",
         {{"ΧΚ", "12,5"}}},
        // ... and shows it again the next time.
        {"Command10",
         CategoryId::Them,
         "ktiria1",
         "Command1",
         {{"www", "12,5", ""}},
         "them.dat",
         " 1250 \r\n",
         {{"ΧΚ", "12,5"}}},
    };
    for (const CategoryEdit& e : edits) {
        SCOPED_TRACE(e.window);
        QPointer<QWidget> before = window(WindowId::EditMenu);
        ASSERT_NE(before, nullptr);
        click(before, e.button);
        QPointer<QWidget> entryWindow = entry(e.category, EntryMode::Edit);
        ASSERT_NE(entryWindow, nullptr);
        EXPECT_EQ(entryWindow->objectName(), e.window);
        for (const FieldEdit& f : e.fields) {
            EXPECT_EQ(text(entryWindow, f.field), f.shown) << f.field;
            if (*f.typed) type(entryWindow, f.field, f.typed);
        }
        click(entryWindow, e.submit);
        EXPECT_TRUE(refusals().isEmpty()) << refusalTexts().join("\n").toStdString();
        ASSERT_TRUE(gone(entryWindow));
        EXPECT_EQ(read(kSecond + e.file), e.written);
        // The edit menu was closed and opened afresh, so it shows what is now stored.
        EXPECT_TRUE(gone(before));
        QWidget* after = window(WindowId::EditMenu);
        ASSERT_NE(after, nullptr);
        EXPECT_TRUE(after->isVisible());
        EXPECT_EQ(after->objectName(), "ALLAGI1");
        for (const auto& [label, value] : e.labels) EXPECT_EQ(text(after, label), value) << label;
        EXPECT_EQ(child<QComboBox>(after, "Combo1")->currentText(), "500");
    }

    // Tachymetry: the stored 15 stremmata stay, 2.5 are added on the second tab and the
    // altimetry is taken off.
    {
        QPointer<QWidget> before = window(WindowId::EditMenu);
        click(before, "Command4");
        QPointer<QWidget> taxi = entry(CategoryId::Taxi, EntryMode::Edit);
        ASSERT_NE(taxi, nullptr);
        EXPECT_EQ(taxi->objectName(), "taxi1");
        for (int i = 0; i < 5; ++i)
            EXPECT_EQ(text(taxi, QStringLiteral("E(%1)").arg(i)), i == 0 ? "15" : "0") << i;
        auto* altimetry = child<QCheckBox>(taxi, "H");
        EXPECT_TRUE(altimetry->isChecked());
        clickTab(child<QTabBar>(taxi, "tbsOptions"), 1);
        type(taxi, "E(1)", "2,5");
        QTest::mouseClick(altimetry, Qt::LeftButton, Qt::NoModifier, altimetry->rect().center());
        EXPECT_FALSE(altimetry->isChecked());
        click(taxi, "Submite");
        ASSERT_TRUE(gone(taxi));
        EXPECT_EQ(read(kSecond + "taxi.dat"), " 1500 \r\n 250 \r\n 0 \r\n 0 \r\n 0 \r\n 0 \r\n");
        EXPECT_TRUE(gone(before));
        QWidget* after = window(WindowId::EditMenu);
        ASSERT_NE(after, nullptr);
        EXPECT_EQ(text(after, "q0"), "15");
        EXPECT_EQ(text(after, "q5"), "2,5");
        EXPECT_EQ(text(after, "hh"), "Ο Χ Ι");
    }

    // "Υποβολή" keeps what was entered; "Υπολογισμοί" prices it at 1:500 inside the plan.
    click(window(WindowId::EditMenu), "EXIT");
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_EQ(window(WindowId::EditMenu), nullptr);
    EXPECT_EQ(read(kSecond + "klimaka.dat"), " 500 \r\n");
    EXPECT_EQ(read(kSecond + "them.dat"), " 1250 \r\n");
    EXPECT_EQ(read(kSecond + "polygon.dat"), " 600 \r\n");
    click(menu, "Command8");
    EXPECT_TRUE(refusals().isEmpty()) << refusalTexts().join("\n").toStdString();
    // 2.5 x 143 = 357.5, half to even 358.
    EXPECT_EQ(read(kSecond + "taxi1.dat"),
              std::string(83, '-') + "\r\n" +
                  cp1253("\tΤΑΧΥΜΕΤΡΙΚΕΣ ΑΠΟΤΥΠΩΣΕΙΣ ΣΤΗΝ ΥΠΑΙΘΡΟ\r\n\t") + std::string(37, '-') +
                  "\r\n" +
                  cp1253("\tΚλίση 0%-5%    15 X 130 = 1950 δρχ\r\n"
                         "\tΚλίση 5%-20%   2,5 X 143 = 358 δρχ\r\n\t") +
                  std::string(39, '-') + "\r\n" + cp1253("\tΣυνολο.............: 2308 δρχ\r\n"));
    // 12.5 m² count floor(12.5 x 2 / 250) + 4 = 4 points.
    EXPECT_EQ(read(kSecond + "them1.dat"),
              std::string(83, '-') + "\r\n" + cp1253("\t      Xάραξη Κτιρίων\r\n\t") +
                  std::string(28, '-') + "\r\n" +
                  cp1253("\tΙσόδύναμια σε Πολυγωνομετρικά σημεία: 4 \r\n"
                         "\tΤιμή Μονάδος: 390 δρχ\r\n"
                         "\t 4 X 390 = 1560 δρχ\r\n"));
    // 7.25 x 273 = 1979.25 -> 1979.
    EXPECT_EQ(read(kSecond + "asti1.dat"), std::string(83, '-') + "\r\n" +
                                               cp1253("\tΑΠΟΤΥΠΩΣΕΙΣ ΑΣΤΙΚΩΝ ΠΕΡΙΟΧΩΝ\r\n\t") +
                                               std::string(28, '-') + "\r\n" +
                                               cp1253("\tΕμβαδο σε Στρέματα: 7,25 \r\n"
                                                      "\tΤιμή Μονάδος: 273 δρχ\r\n"
                                                      "\t 7,25 X 273 = 1979 δρχ\r\n"));
    // analog 210000 + taxi 2308 + asti 1979 + polygon 6 x 390 = 2340
    // + rymotom 7 x 390 + 12.5 x 104 = 4030 + trig 10400 + 2 x 4550 + 3 x 1950 + 4 x 1300 = 30550
    // + them 1560 + xilosta 9 x 110 = 990 + oix 10 x 390 = 3900 = 257657.
    const std::string synola = read(kSecond + "synola.dat");
    EXPECT_NE(synola.find(cp1253("\r\nΓΕΝΙΚΟ ΣΥΝΟΛΟ...... 257657 δρχ\r\n")), std::string::npos)
        << synola;
    // The other jobs were not touched.
    EXPECT_FALSE(exists("ΝίκοςΑντωνίου/taxi.dat"));
    EXPECT_FALSE(exists("ΚώσταςΔημητρίου/synola.dat"));
}

TEST_F(ExistingJobs, a_deleted_job_is_gone_and_nothing_works_on_it_any_more) {
    QPointer<QWidget> overview = openSecondJob();
    ASSERT_NE(overview, nullptr);

    // "Ο Χ Ι" changes nothing.
    const auto untouched = snapshot();
    click(overview, "Command4");
    QPointer<QWidget> confirm = window(WindowId::DeleteConfirm);
    ASSERT_NE(confirm, nullptr);
    EXPECT_EQ(confirm->objectName(), "diagrafh");
    EXPECT_TRUE(overview->isVisible());
    click(confirm, "CancelButton");
    ASSERT_TRUE(gone(confirm));
    EXPECT_EQ(snapshot(), untouched);
    ASSERT_FALSE(overview.isNull());

    click(overview, "Command4");
    confirm = window(WindowId::DeleteConfirm);
    ASSERT_NE(confirm, nullptr);
    click(confirm, "OKButton");
    EXPECT_TRUE(refusals().isEmpty()) << refusalTexts().join("\n").toStdString();
    EXPECT_TRUE(gone(confirm));
    EXPECT_TRUE(gone(overview));
    EXPECT_FALSE(exists("ΕλένηΓεωργίου"));
    EXPECT_TRUE(exists("ΝίκοςΑντωνίου/STOIXEIA.dat"));
    EXPECT_TRUE(exists("ΚώσταςΔημητρίου/STOIXEIA.dat"));
    EXPECT_EQ(read("Ergasies.dat"), cp1253("Νίκος\r\nΑντωνίου\r\nΚώστας\r\nΔημητρίου\r\n"));
    EXPECT_EQ(read("temp.dat"), cp1253("c:\\program files\\dezovur\\ΕλένηΓεωργίου\r\n"));

    // The next listing has the two others only.
    click(menu, "anaglosh");
    QPointer<QWidget> palaia = window(WindowId::OpenJob);
    ASSERT_NE(palaia, nullptr);
    auto* list = child<QComboBox>(palaia, "EPILOGI");
    ASSERT_EQ(list->count(), 2);
    EXPECT_EQ(list->itemText(0), "Νίκος Αντωνίου");
    EXPECT_EQ(list->itemText(1), "Κώστας Δημητρίου");
    std::string padding;
    for (int i = 0; i < 98; ++i) padding += " \r\n";
    EXPECT_EQ(read("temp1.dat"), cp1253("ΝίκοςΑντωνίου\r\nΚώσταςΔημητρίου\r\n") + padding);
    palaia->close();
    ASSERT_TRUE(gone(palaia));

    // temp.dat still names the deleted job: the windows that work on a job refuse, in Greek,
    // and write nothing (the folder is not brought back).
    const auto before = snapshot();
    click(menu, "Command8");
    click(menu, "print");
    manager->open(WindowId::WorkMenu);
    manager->open(WindowId::Overview);
    EXPECT_EQ(window(WindowId::WorkMenu), nullptr);
    EXPECT_EQ(window(WindowId::Overview), nullptr);
    EXPECT_EQ(manager->documentFrame(), nullptr);
    const QStringList texts = refusalTexts();
    ASSERT_EQ(texts.size(), 4) << texts.join("\n").toStdString();
    for (const QString& t : texts) {
        EXPECT_TRUE(t.contains(QStringLiteral("Δεν υπάρχει τρέχουσα μελέτη"))) << t.toStdString();
        EXPECT_TRUE(t.contains(QStringLiteral("«Διαχείριση Μελετών»"))) << t.toStdString();
    }
    EXPECT_EQ(snapshot(), before);
    EXPECT_FALSE(exists("ΕλένηΓεωργίου"));
}

TEST_F(ExistingJobs, the_delete_question_stays_with_the_job_it_was_asked_about) {
    QPointer<QWidget> overview = openSecondJob();
    ASSERT_NE(overview, nullptr);
    click(overview, "Command4");
    QPointer<QWidget> confirm = window(WindowId::DeleteConfirm);
    ASSERT_NE(confirm, nullptr);

    // Before answering, the surveyor picks another job in a new listing.
    click(menu, "anaglosh");
    QWidget* palaia = window(WindowId::OpenJob);
    ASSERT_NE(palaia, nullptr);
    pick(child<QComboBox>(palaia, "EPILOGI"), "Κώστας Δημητρίου");
    const auto before = snapshot();
    ASSERT_FALSE(confirm.isNull());
    click(confirm, "OKButton");
    ASSERT_EQ(refusals().size(), 1);
    EXPECT_TRUE(refusals()[0]->text().contains(QStringLiteral("δεν διαγράφηκε καμία μελέτη")));
    EXPECT_EQ(snapshot(), before);
    EXPECT_TRUE(exists("ΚώσταςΔημητρίου/STOIXEIA.dat"));
    EXPECT_TRUE(exists("ΕλένηΓεωργίου/STOIXEIA.dat"));
}

}  // namespace
