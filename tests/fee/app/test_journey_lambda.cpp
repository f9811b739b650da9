// Revising λ from the work menu, the edit menu and the overview through the real window
// manager: both l.dat files, the window that asked, and the next statement.
#include "journey_support.h"

namespace {

using namespace journey;

const std::string kJob = "ΣοφίαΚαρρά/";

class Lambda : public Journey {
protected:
    void SetUp() override {
        fee::Particulars p;
        p[fee::Particulars::OwnerFirst] = "Σοφία";
        p[fee::Particulars::OwnerLast] = "Καρρά";
        p[fee::Particulars::EngineerFirst] = "Μαρία";
        p[fee::Particulars::EngineerLast] = "Ιωάννου";
        p[fee::Particulars::Specialty] = "Αγρονόμος Τοπογράφος Μηχανικός";
        ASSERT_EQ(store.createJob(p), fee::StoreStatus::Ok);
        // The tachymetry of the worked example at 1:500: G = 3765 drachmas.
        root.writeHostFile(kData + kJob + "klimaka.dat", " 500 \r\n");
        root.writeHostFile(kData + kJob + "taxi.dat",
                           " 1250 \r\n 0 \r\n 400 \r\n 0 \r\n 0 \r\n 100 \r\n");
        menu = start();
        ASSERT_NE(menu, nullptr);
    }

    // Types the new λ into the λ window and saves it.
    void save(QWidget* lambdaWindow, const QString& value) {
        ASSERT_NE(lambdaWindow, nullptr);
        EXPECT_EQ(text(lambdaWindow, "ll1"), "");
        type(lambdaWindow, "ll1", value);
        QPointer<QWidget> w = lambdaWindow;
        click(lambdaWindow, "Command1");
        EXPECT_TRUE(refusals().isEmpty()) << refusalTexts().join("\n").toStdString();
        EXPECT_TRUE(gone(w));
    }

    // "Υπολογισμοί", then the λ line of the header and the fee line of the totals.
    std::pair<std::string, std::string> statementLines() {
        click(menu, "Command8");
        EXPECT_TRUE(refusals().isEmpty()) << refusalTexts().join("\n").toStdString();
        auto lineWith = [&](const std::string& file, const std::string& start) {
            const std::string bytes = read(kJob + file);
            const auto at = bytes.find(cp1253(start));
            if (at == std::string::npos) return std::string("<missing>");
            return bytes.substr(at, bytes.find("\r\n", at) + 2 - at);
        };
        return {lineWith("arxi1.dat", "Συντελεστής λ="), lineWith("synola.dat", "ΑΜΟΙΒΗ")};
    }

    QWidget* menu = nullptr;
};

TEST_F(Lambda, revised_from_each_window_reaches_both_files_the_window_and_the_statement) {
    // --- Form2 from the work menu ---------------------------------------------------------
    manager->open(WindowId::WorkMenu);
    QPointer<QWidget> work = window(WindowId::WorkMenu);
    ASSERT_NE(work, nullptr);
    EXPECT_EQ(text(work, "l"), "0,2935");
    click(work, "Command1");
    QWidget* form2 = window(WindowId::LambdaWorkMenu);
    ASSERT_NE(form2, nullptr);
    EXPECT_EQ(form2->objectName(), "Form2");
    EXPECT_TRUE(work->isVisible());
    // A λ that is not a number is refused and nothing is written.
    type(form2, "ll1", "0,3x");
    click(form2, "Command1");
    ASSERT_EQ(refusals().size(), 1);
    delete refusals()[0];
    EXPECT_EQ(window(WindowId::LambdaWorkMenu), form2);
    EXPECT_EQ(read("l.dat"), "29350\r\n");
    EXPECT_EQ(read(kJob + "l.dat"), "29350\r\n");
    type(form2, "ll1", "");
    save(form2, "0,3125");
    EXPECT_EQ(read(kJob + "l.dat"), " 31250 \r\n");
    EXPECT_EQ(read("l.dat"), " 31250 \r\n");
    EXPECT_TRUE(gone(work));
    QWidget* reopened = window(WindowId::WorkMenu);
    ASSERT_NE(reopened, nullptr);
    EXPECT_TRUE(reopened->isVisible());
    EXPECT_EQ(text(reopened, "l"), "0,3125");
    // 3765 x 0.3125 = 1176.5625 -> 1176.56.
    EXPECT_EQ(statementLines(),
              std::pair(cp1253("Συντελεστής λ= ,3125 \r\n"),
                        cp1253("ΑΜΟΙΒΗ ΜΕΛΈΤΗΣ =  3765  X  ,3125  =  1176,56 ") + "\x80\r\n"));
    click(reopened, "EXIT");

    // --- lamda1 from the edit menu ----------------------------------------------------------
    click(menu, "anaglosh");
    QWidget* palaia = window(WindowId::OpenJob);
    ASSERT_NE(palaia, nullptr);
    pick(child<QComboBox>(palaia, "EPILOGI"), "Σοφία Καρρά");
    click(palaia, "OKButton");
    click(window(WindowId::Overview), "Command3");
    QPointer<QWidget> edit = window(WindowId::EditMenu);
    ASSERT_NE(edit, nullptr);
    EXPECT_EQ(text(edit, "l"), "0,3125");
    click(edit, "Command1");
    QWidget* lamda1 = window(WindowId::LambdaEditMenu);
    ASSERT_NE(lamda1, nullptr);
    EXPECT_EQ(lamda1->objectName(), "lamda1");
    EXPECT_EQ(text(lamda1, "oldLambda"), "0,3125");
    save(lamda1, "0,25");
    EXPECT_EQ(read(kJob + "l.dat"), " 25000 \r\n");
    EXPECT_EQ(read("l.dat"), " 25000 \r\n");
    EXPECT_TRUE(gone(edit));
    edit = window(WindowId::EditMenu);
    ASSERT_NE(edit, nullptr);
    EXPECT_TRUE(edit->isVisible());
    EXPECT_EQ(text(edit, "l"), "0,25");
    // 3765 x 0.25 = 941.25.
    EXPECT_EQ(statementLines(),
              std::pair(cp1253("Συντελεστής λ= ,25 \r\n"),
                        cp1253("ΑΜΟΙΒΗ ΜΕΛΈΤΗΣ =  3765  X  ,25  =  941,25 ") + "\x80\r\n"));
    click(edit, "EXIT");

    // --- lamda2 from the overview -----------------------------------------------------------
    click(menu, "anaglosh");
    palaia = window(WindowId::OpenJob);
    ASSERT_NE(palaia, nullptr);
    click(palaia, "OKButton");  // nothing picked: the job temp.dat names
    QPointer<QWidget> overview = window(WindowId::Overview);
    ASSERT_NE(overview, nullptr);
    EXPECT_EQ(text(overview, "onoma"), "Σοφία");
    EXPECT_EQ(text(overview, "l"), "0,25");
    click(overview, "Command1");
    QWidget* lamda2 = window(WindowId::LambdaOverview);
    ASSERT_NE(lamda2, nullptr);
    EXPECT_EQ(lamda2->objectName(), "lamda2");
    save(lamda2, "0,4");
    EXPECT_EQ(read(kJob + "l.dat"), " 40000 \r\n");
    EXPECT_EQ(read("l.dat"), " 40000 \r\n");
    EXPECT_TRUE(gone(overview));
    overview = window(WindowId::Overview);
    ASSERT_NE(overview, nullptr);
    EXPECT_TRUE(overview->isVisible());
    EXPECT_EQ(text(overview, "l"), "0,4");
    // λ = single(0.4) = 0.4000000059604645; 3765 x λ x 100 = 150600.0022... -> 1506.
    EXPECT_EQ(statementLines(),
              std::pair(cp1253("Συντελεστής λ= ,4 \r\n"),
                        cp1253("ΑΜΟΙΒΗ ΜΕΛΈΤΗΣ =  3765  X  ,4  =  1506 ") + "\x80\r\n"));

    // A job created afterwards starts with the last λ.
    fee::Particulars p;
    p[fee::Particulars::OwnerFirst] = "Άρης";
    p[fee::Particulars::OwnerLast] = "Νίκου";
    ASSERT_EQ(store.createJob(p), fee::StoreStatus::Ok);
    EXPECT_EQ(read("ΆρηςΝίκου/l.dat"), "40000\r\n");
}

}  // namespace
