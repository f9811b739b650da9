// The statement assembly: totals, header, signature, the refusals, and the joined document.

#include <gtest/gtest.h>

#include <filesystem>
#include <initializer_list>
#include <string>
#include <string_view>

#include "fee/calc/Statement.h"
#include "fee/store/DataStore.h"
#include "support/TempWinRoot.h"

namespace {

using testing_support::cp1253;

const std::string H24(24, '-'), H26(26, '-'), H27(27, '-'), H28(28, '-'), H31(31, '-'),
    H83(83, '-'), U69(69, '_'), U143(143, '_'), E34(34, '=');

std::string file(std::initializer_list<std::string> lines) {
    std::string utf8;
    for (const auto& l : lines) utf8 += l + "\r\n";
    return cp1253(utf8);
}

const std::string kCredit =
    "\tOrvekia 1.3.0 - Νίκος Παπαδάκης, Αγρονόμος Τοπογράφος Μηχανικός - Γιώργος Αλεξίου, "
    "Πολιτικός Μηχανικός";
const std::string kPricesNote =
    "    Οι τιμές μονάδος δίνονται απο το ΠΔ696/74  σε δραχμές. Η μετατροπή σε € γίνεται με την "
    "τιμή του συντελεστή λ";
const std::string kInside = "ΠΕΡΙΟΧΗ ΕΝΤΟΣ ΣΧΕΔΙΟΥ ΠΟΛΕΩΣ Ή ΕΝΤΟΣ ΟΙΚΙΣΜΟY";
const std::string kOutside = "ΠΕΡΙΟΧΗ ΕΚΤΟΣ ΣΧΕΔΙΟΥ ΠΟΛΕΩΣ & ΕΚΤΟΣ ΟΙΚΙΣΜΟΥ";

const char* const kCategoryFragments[] = {"analog1.dat",  "taxi1.dat",    "asti1.dat",
                                          "polygon1.dat", "rymotom1.dat", "trig1.dat",
                                          "them1.dat",    "xilosta1.dat", "oix1.dat"};

// synola.dat for the given printed values.
std::string totals(const std::string& g, const std::string& lambda, const std::string& fee,
                   const std::string& vat, const std::string& fem, const std::string& tsmede,
                   const std::string& tee, const std::string& total) {
    return file({
        H83,
        "",
        "ΓΕΝΙΚΟ ΣΥΝΟΛΟ......" + g + "δρχ",
        H31,
        "ΑΜΟΙΒΗ ΜΕΛΈΤΗΣ = " + g + " X " + lambda + " = " + fee + "€",
        "\tΦ.Π.Α. 18%     = " + vat + "€",
        "\tΦ.Ε.Μ   4%     = " + fem + "€",
        "\tΤΣΜΕΔΕ  3% = " + tsmede + "€",
        "\tT.E.E   2%     = " + tee + "€",
        "\t" + H31,
        "\tΣΥΝΟΛΟ.........= " + total + "€",
        "",
    });
}

class Statement : public ::testing::Test {
protected:
    static constexpr std::string_view kData = "c:\\program files\\dezovur";
    static constexpr std::string_view kJob = "c:\\program files\\dezovur\\ΜαρίαΚωνσταντίνου";

    Statement() {
        fs().createDirectory("c:\\program files");
        fs().createDirectory(kData);
        fs().createDirectory(kJob);
        fs().writeFile("c:\\program files\\dezovur\\temp.dat", cp1253(std::string(kJob) + "\r\n"));
    }

    platform::FileSystem& fs() { return root.fs(); }
    static std::string path(std::string_view name) {
        return std::string(kJob) + "\\" + std::string(name);
    }
    void put(std::string_view name, std::string_view bytes) {
        ASSERT_TRUE(fs().writeFile(path(name), bytes)) << name;
    }
    std::string get(std::string_view name) {
        return fs().readFile(path(name)).value_or("<missing>");
    }
    void particulars() {
        put("STOIXEIA.dat", file({"Μαρία", "Κωνσταντίνου", "Ερμού 12", "Αθήνα", "Δήμος Αθηναίων",
                                  "Πλάκα", "Οδός Αδριανού 5", "Νίκος", "Παπαδάκης", "Σόλωνος 3",
                                  "Αθήνα", "Αγρονόμος Τοπογράφος Μηχανικός"}));
    }
    // The files a finished job has: scale 1:500, inside a town plan, lambda 0.2935.
    void finishedJob() {
        particulars();
        put("klimaka.dat", " 500 \r\n");
        put("entos.dat", " 1 \r\n");
        put("l.dat", " 29350 \r\n");
        for (const char* input :
             {"analog.dat", "asti.dat", "polygon.dat", "them.dat", "xilosta.dat", "oix.dat"})
            put(input, " 0 \r\n");
        put("taxi.dat", " 0 \r\n 0 \r\n 0 \r\n 0 \r\n 0 \r\n 0 \r\n");
        put("rymotom.dat", " 0 \r\n 0 \r\n");
        put("trig.dat", " 0 \r\n 0 \r\n 0 \r\n 0 \r\n");
    }
    fee::AssemblyResult assemble() { return fee::assembleStatement(store); }

    testing_support::TempWinRoot root;
    fee::DataStore store{root.fs(), ","};
};

// --- totals ----------------------------------------------------------------------------------

TEST(StatementOrder, holds_every_category_fragment_once) {
    for (const auto& category : fee::kCategories) {
        int seen = 0;
        for (std::string_view name : fee::kFragmentOrder) seen += name == category.fragment;
        EXPECT_EQ(seen, 1) << category.fragment;
    }
}

TEST_F(Statement, worked_example_grand_total_fee_and_taxes) {
    finishedJob();
    // 14 km + 5 class III + 1 class IV + 1 resection + 6.52 properties = 1234567 drachmas.
    put("analog.dat", " 1400 \r\n");
    put("trig.dat", " 500 \r\n 100 \r\n 0 \r\n 100 \r\n");
    put("xilosta.dat", " 652 \r\n");
    ASSERT_EQ(assemble(), fee::AssemblyResult::Ok);

    EXPECT_EQ(get("synola.dat"), totals(" 1234567 ", " ,2935 ", " 362345,4 ", " 65222,17 ",
                                        " 14493,81 ", " 10870,36 ", " 7246,9 ", " 460178,66 "));
    EXPECT_EQ(get("analog1.dat"), file({
                                      H83,
                                      "\tΣΥΝΤΑΞΗ ΠΙΝΑΚΑ ΑΝΑΛΟΓΙΣΜΟΥ",
                                      "\t" + H26,
                                      "\tΜήκος σε Χιλιόμετρα : 14 ",
                                      "\tΤιμή Μονάδος : 84.000 δρχ",
                                      "\t 14 X 84.000 =  1176000 δρχ",
                                  }));
    EXPECT_EQ(get("trig1.dat"), file({
                                    H83,
                                    "\t      TΡΙΓΩΝΙΣΜΟΣ",
                                    "\t" + H24,
                                    "\tΤριγωνομετρικά σημεία ΙΙΙ Τάξης 5 ",
                                    "\tΤιμή Μονάδος: 10400 δρχ",
                                    "\t 5 X 10400 = 52000 δρχ",
                                    "\tΤριγωνομετρικά σημεία ΙV Τάξης 1 ",
                                    "\tΤιμή Μονάδος: 4550 δρχ",
                                    "\t 1 X 4550 = 4550 δρχ",
                                    "\tΟπισθοτομία 1 ",
                                    "\tΤιμή Μονάδος: 1300 δρχ",
                                    "\t 1 X 1300 = 1300 δρχ",
                                    "\t" + H27,
                                    "\tΣΥΝΟΛΟ =  57850 δρχ",
                                }));
    EXPECT_EQ(get("xilosta1.dat"), file({
                                       H83,
                                       "\t     Κατανομή Χιλιοστών",
                                       "\t" + H28,
                                       "\tΑριθμός Οριζοντίων ιδιοκτησιών: 6,52 ",
                                       "\tΤιμή Μονάδος: 110 δρχ",
                                       "\t 6,52 X 110 = 717 δρχ",
                                   }));
    for (const char* empty :
         {"taxi1.dat", "asti1.dat", "polygon1.dat", "rymotom1.dat", "them1.dat", "oix1.dat"})
        EXPECT_EQ(get(empty), "") << empty;
}

TEST_F(Statement, job_without_quantities_costs_nothing) {
    finishedJob();
    ASSERT_EQ(assemble(), fee::AssemblyResult::Ok);
    for (const char* fragment : kCategoryFragments) EXPECT_EQ(get(fragment), "") << fragment;
    EXPECT_EQ(get("synola.dat"),
              totals(" 0 ", " ,2935 ", " 0 ", " 0 ", " 0 ", " 0 ", " 0 ", " 0 "));
}

TEST_F(Statement, grand_total_of_ten_million_is_written_in_exponent_form) {
    finishedJob();
    put("analog.dat", " 11904 \r\n");  // 9999360
    put("xilosta.dat", " 582 \r\n");   // 640.2 -> 640
    ASSERT_EQ(assemble(), fee::AssemblyResult::Ok);
    EXPECT_EQ(get("synola.dat"), totals(" 1E+07 ", " ,2935 ", " 2935000 ", " 528300 ", " 117400 ",
                                        " 88050 ", " 58700 ", " 3727450 "));
}

TEST_F(Statement, grand_total_above_2_to_the_24_keeps_single_precision) {
    finishedJob();
    put("analog.dat", " 20000 \r\n");  // 16800000
    put("xilosta.dat", " 3 \r\n");     // 3.3 -> 3; 16800003 is held as 16800004
    ASSERT_EQ(assemble(), fee::AssemblyResult::Ok);
    // F = floor(16800004 * 0.2935 * 100) / 100 = 4930801.5 as a single, printed to 7 digits;
    // the taxes are worked out from the unrounded single.
    EXPECT_EQ(get("synola.dat"), totals(" 1,68E+07 ", " ,2935 ", " 4930802 ", " 887544,27 ",
                                        " 197232,06 ", " 147924,04 ", " 98616,03 ", " 6262117,9 "));
}

TEST_F(Statement, taxes_and_total_floor_to_cents_in_double) {
    finishedJob();
    put("l.dat", " 10000 \r\n");     // lambda 0.1
    put("xilosta.dat", " 23 \r\n");  // 25.3 -> 25 drachmas, F = 2.5
    ASSERT_EQ(assemble(), fee::AssemblyResult::Ok);
    // 2.5 * 0.18 * 100 is 44.99999999999999: ,44 and not ,45.
    EXPECT_EQ(get("synola.dat"),
              totals(" 25 ", " ,1 ", " 2,5 ", " ,44 ", " ,1 ", " ,07 ", " ,05 ", " 3,17 "));

    put("xilosta.dat", " 282 \r\n");  // 310.2 -> 310 drachmas, F = 31
    ASSERT_EQ(assemble(), fee::AssemblyResult::Ok);
    // The total comes from F and 0.27 (39.37), not from the printed taxes.
    EXPECT_EQ(get("synola.dat"),
              totals(" 310 ", " ,1 ", " 31 ", " 5,58 ", " 1,24 ", " ,93 ", " ,62 ", " 39,37 "));
}

TEST_F(Statement, a_lambda_that_makes_no_sense_is_refused_and_nothing_written) {
    finishedJob();
    put("oix.dat", " 800 \r\n");
    const struct {
        const char* bytes;  // nullptr: no l.dat
        const char* problem;
    } cases[] = {
        {" -1247 \r\n", "αρνητική"},      {" 0 \r\n", "μηδέν"}, {" 1E+300 \r\n", "άπειρη"},
        {"NaN\r\n", "δεν είναι αριθμός"}, {"", "κενό"},         {nullptr, "λείπει"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.problem);
        if (c.bytes)
            put("l.dat", c.bytes);
        else
            fs().removeFile(path("l.dat"));
        const fee::AssemblyResult result = assemble();
        EXPECT_EQ(result, fee::AssemblyResult::BadLambda);
        const std::string message = fee::assemblyMessage(result, kJob);
        EXPECT_NE(message.find(path("l.dat")), std::string::npos) << message;
        EXPECT_NE(message.find(c.problem), std::string::npos) << message;
        EXPECT_EQ(get("oix1.dat"), "<missing>");
        EXPECT_EQ(get("synola.dat"), "<missing>");
    }
}

TEST_F(Statement, fragments_that_cannot_be_written_are_all_reported) {
    finishedJob();
    put("oix.dat", " 800 \r\n");
    put("oix1.dat", "old\r\n");
    put("telos.dat", "old\r\n");
    ASSERT_TRUE(fs().setAttributes(path("oix1.dat"), platform::kAttrReadOnly));
    ASSERT_TRUE(fs().setAttributes(path("TELOS.dat"), platform::kAttrReadOnly));
    const fee::AssemblyResult result = assemble();
    EXPECT_EQ(result, fee::AssemblyResult::WriteFailed);
    EXPECT_EQ(result.failedFiles, (std::vector<std::string>{"oix1.dat", "telos.dat"}));
    const std::string message = fee::assemblyMessage(result, kJob);
    EXPECT_NE(message.find(path("oix1.dat")), std::string::npos) << message;
    EXPECT_NE(message.find("δεν είναι πλήρης"), std::string::npos) << message;
    EXPECT_EQ(get("oix1.dat"), "old\r\n");
    // The rest is written all the same.
    EXPECT_NE(get("synola.dat"), "<missing>");
}

TEST_F(Statement, a_scale_the_code_page_cannot_hold_prints_question_marks) {
    finishedJob();
    put("klimaka.dat", "1:\x81\x35\r\n");  // 0x81 is undefined in Windows-1253
    ASSERT_EQ(assemble(), fee::AssemblyResult::Ok);
    EXPECT_NE(get("arxi1.dat").find(cp1253("\r\nΚλίμακα 1:1:?5\r\n")), std::string::npos);
    ASSERT_TRUE(store.setScaleText(std::string(kJob), "1:500 ✓"));
    EXPECT_EQ(get("klimaka.dat"), "1:500 ?\r\n");
}

// --- header and signature --------------------------------------------------------------------

TEST_F(Statement, header_and_signature_of_a_job_inside_a_town_plan) {
    finishedJob();
    ASSERT_EQ(assemble(), fee::AssemblyResult::Ok);
    EXPECT_EQ(get("arxi1.dat"),
              file({
                  kCredit,
                  U143,
                  kPricesNote,
                  "",
                  "",
                  "ΙΔΙΟΚΤΗΤΗΣ:Μαρία Κωνσταντίνου",
                  "Ερμού 12 Αθήνα",
                  "ΘΕΣΗ:Οδός Αδριανού 5  Δημοτικού Διαμερίσματος Πλάκα του Δήμου Δήμος Αθηναίων",
                  "",
                  "\t\t\tΑΜΟΙΒΕΣ ΤΟΠΟΓΡΑΦΙΚΩΝ ΕΡΓΑΣΙΩΝ",
                  "\t\t\t" + E34,
                  "",
                  "Κλίμακα 1: 500 ",
                  "Συντελεστής λ= ,2935 ",
                  kInside,
                  U69,
              }));
    EXPECT_EQ(get("telos.dat"), file({
                                    "",
                                    "\t     O ΜΗΧΑΝΙΚΟΣ",
                                    "",
                                    "",
                                    "",
                                    "",
                                    "\t Νίκος Παπαδάκης",
                                    "\t Αγρονόμος Τοπογράφος Μηχανικός",
                                    "\t Σόλωνος 3  Αθήνα",
                                }));
    // Look-alike letters: Latin Y ending the inside-plan line, Latin O of the signature.
    EXPECT_NE(get("arxi1.dat").find("\xCF\xC9\xCA\xC9\xD3\xCC\xCFY\r\n"), std::string::npos);
    EXPECT_EQ(get("telos.dat").substr(2, 7), "\t     O");
}

TEST_F(Statement, plan_flag_other_than_one_is_outside_the_plan) {
    finishedJob();
    put("polygon.dat", " 100 \r\n");
    for (const char* flag : {" 0 \r\n", " 2 \r\n", "-1\r\n"}) {
        put("entos.dat", flag);
        ASSERT_EQ(assemble(), fee::AssemblyResult::Ok);
        EXPECT_NE(get("arxi1.dat").find(cp1253("\r\n" + kOutside + "\r\n")), std::string::npos)
            << flag;
        EXPECT_NE(get("polygon1.dat").find(cp1253("\t 1 X 260 = 260 δρχ")), std::string::npos);
    }
    fs().removeFile(path("entos.dat"));
    ASSERT_EQ(assemble(), fee::AssemblyResult::Ok);
    EXPECT_NE(get("arxi1.dat").find(cp1253("\r\n" + kOutside + "\r\n")), std::string::npos);
    EXPECT_NE(get("synola.dat").find(cp1253("ΓΕΝΙΚΟ ΣΥΝΟΛΟ...... 260 δρχ")), std::string::npos);
}

TEST_F(Statement, scale_as_the_work_menu_or_the_finish_step_wrote_it) {
    finishedJob();
    put("asti.dat", " 100 \r\n");
    struct Case {
        const char* stored;
        const char* printed;  // after "Κλίμακα 1:"
        const char* synolaTotal;
    };
    const Case cases[] = {
        {"500\r\n", " 500 ", " 273 "},    // the scale box's text line
        {" 500 \r\n", " 500 ", " 273 "},  // print style after the finish step
        {"1000\r\n", " 1000 ", " 205 "},
        {" 250 \r\n", " 250 ", " 0 "},  // a number, but no unit prices at this scale
        {"1:500\r\n", "1:500", " 0 "},  // not a number: printed as read
        {"\r\n", "", " 0 "},            // blank: no scale picked
        {"", "", " 0 "},
    };
    for (const auto& c : cases) {
        put("klimaka.dat", c.stored);
        ASSERT_EQ(assemble(), fee::AssemblyResult::Ok);
        EXPECT_NE(get("arxi1.dat")
                      .find(cp1253(std::string("\r\nΚλίμακα 1:") + c.printed + "\r\nΣυντελεστής")),
                  std::string::npos)
            << c.stored;
        EXPECT_NE(get("synola.dat")
                      .find(cp1253(std::string("ΓΕΝΙΚΟ ΣΥΝΟΛΟ......") + c.synolaTotal + "δρχ")),
                  std::string::npos)
            << c.stored;
    }
}

TEST_F(Statement, missing_scale_prices_the_scale_dependent_categories_at_nothing) {
    finishedJob();
    fs().removeFile(path("klimaka.dat"));
    put("asti.dat", " 320 \r\n");
    put("taxi.dat", " 1250 \r\n 0 \r\n 0 \r\n 0 \r\n 0 \r\n 0 \r\n");
    put("oix.dat", " 100 \r\n");
    ASSERT_EQ(assemble(), fee::AssemblyResult::Ok);
    EXPECT_NE(get("arxi1.dat").find(cp1253("\r\nΚλίμακα 1:\r\n")), std::string::npos);
    EXPECT_NE(get("asti1.dat").find(cp1253("\tΤιμή Μονάδος:δρχ\r\n\t 3,2 X= 0 δρχ\r\n")),
              std::string::npos);
    EXPECT_NE(get("taxi1.dat").find(cp1253("\tΚλίση 0%-5%    12,5 X= 0 δρχ\r\n")),
              std::string::npos);
    EXPECT_NE(get("synola.dat").find(cp1253("ΓΕΝΙΚΟ ΣΥΝΟΛΟ...... 390 δρχ")), std::string::npos);
}

TEST_F(Statement, missing_or_short_particulars_leave_the_texts_empty) {
    finishedJob();
    fs().removeFile(path("STOIXEIA.dat"));
    ASSERT_EQ(assemble(), fee::AssemblyResult::Ok);
    const std::string arxi = get("arxi1.dat");
    EXPECT_NE(arxi.find(cp1253("\r\nΙΔΙΟΚΤΗΤΗΣ: \r\n \r\nΘΕΣΗ:  Δημοτικού Διαμερίσματος  του "
                               "Δήμου \r\n")),
              std::string::npos);
    EXPECT_EQ(get("telos.dat"),
              file({"", "\t     O ΜΗΧΑΝΙΚΟΣ", "", "", "", "", "\t  ", "\t ", "\t   "}));

    put("stoixeia.dat", file({"Μαρία", "Κωνσταντίνου", "Ερμού 12"}));
    ASSERT_EQ(assemble(), fee::AssemblyResult::Ok);
    EXPECT_NE(get("arxi1.dat").find(cp1253("\r\nΙΔΙΟΚΤΗΤΗΣ:Μαρία Κωνσταντίνου\r\nΕρμού 12 \r\n")),
              std::string::npos);
    EXPECT_EQ(get("telos.dat"),
              file({"", "\t     O ΜΗΧΑΝΙΚΟΣ", "", "", "", "", "\t  ", "\t ", "\t   "}));
}

TEST_F(Statement, undefined_byte_in_the_particulars_does_not_lose_the_header) {
    finishedJob();
    // 0xAA is not a character of Windows-1253.
    put("STOIXEIA.dat", "A\xAA\r\nB\r\n\r\n\r\n\r\n\r\n\r\nC\r\nD\r\n\r\n\r\n\r\n");
    ASSERT_EQ(assemble(), fee::AssemblyResult::Ok);
    EXPECT_NE(get("arxi1.dat").find(cp1253("\r\nΙΔΙΟΚΤΗΤΗΣ:A? B\r\n")), std::string::npos);
    EXPECT_NE(get("telos.dat").find("\t C D\r\n"), std::string::npos);
}

// --- the assembly as a whole -----------------------------------------------------------------

TEST_F(Statement, running_twice_gives_identical_files_and_clears_old_fragments) {
    finishedJob();
    put("taxi.dat", " 1250 \r\n 0 \r\n 400 \r\n 0 \r\n 0 \r\n 100 \r\n");
    put("oix.dat", " 800 \r\n");
    ASSERT_EQ(assemble(), fee::AssemblyResult::Ok);
    std::vector<std::string> first;
    for (auto name : fee::kFragmentOrder) first.push_back(get(name));
    ASSERT_EQ(assemble(), fee::AssemblyResult::Ok);
    for (std::size_t i = 0; i < fee::kFragmentOrder.size(); ++i)
        EXPECT_EQ(get(fee::kFragmentOrder[i]), first[i]) << fee::kFragmentOrder[i];
    EXPECT_NE(get("synola.dat").find(cp1253("ΓΕΝΙΚΟ ΣΥΝΟΛΟ...... 6885 δρχ")), std::string::npos);

    put("taxi.dat", " 0 \r\n 0 \r\n 0 \r\n 0 \r\n 0 \r\n 0 \r\n");
    ASSERT_EQ(assemble(), fee::AssemblyResult::Ok);
    EXPECT_EQ(get("taxi1.dat"), "");
    EXPECT_NE(get("synola.dat").find(cp1253("ΓΕΝΙΚΟ ΣΥΝΟΛΟ...... 3120 δρχ")), std::string::npos);
}

TEST_F(Statement, missing_input_files_price_their_categories_at_nothing) {
    // Only the particulars and λ: no finish step has run.
    particulars();
    put("l.dat", " 29350 \r\n");
    put("trig.dat", " 100 \r\n");  // short: the other three counts read 0
    ASSERT_EQ(assemble(), fee::AssemblyResult::Ok);
    for (const char* fragment : kCategoryFragments) {
        if (std::string_view(fragment) == "trig1.dat") continue;
        EXPECT_EQ(get(fragment), "") << fragment;
    }
    EXPECT_EQ(get("synola.dat"), totals(" 10400 ", " ,2935 ", " 3052,4 ", " 549,43 ", " 122,09 ",
                                        " 91,57 ", " 61,04 ", " 3876,54 "));
}

TEST_F(Statement, no_current_job_writes_nothing) {
    finishedJob();
    put("oix.dat", " 800 \r\n");
    const auto before = fs().list(kJob, "*.*");
    const std::string tempDat = "c:\\program files\\dezovur\\temp.dat";

    fs().removeFile(tempDat);
    EXPECT_EQ(assemble(), fee::AssemblyResult::NoJob);
    fs().writeFile(tempDat, "");
    EXPECT_EQ(assemble(), fee::AssemblyResult::NoJob);
    fs().writeFile(tempDat, "\r\n");
    EXPECT_EQ(assemble(), fee::AssemblyResult::NoJob);
    fs().writeFile(tempDat, cp1253("c:\\program files\\dezovur\\ΚανείςΠουθενά\r\n"));
    EXPECT_EQ(assemble(), fee::AssemblyResult::NoJob);
    // Folders that exist but are not a job inside the data folder.
    fs().createDirectory("c:\\etc");
    fs().createDirectory("c:\\program files\\dezovur\\link");
    std::filesystem::remove(*fs().hostPath("c:\\program files\\dezovur\\link"));
    std::filesystem::create_directory_symlink(*fs().hostPath("c:\\etc"),
                                              *fs().hostPath("c:\\program files\\dezovur\\link"));
    for (const char* elsewhere :
         {"z:\\etc", "c:\\etc", "c:\\..\\..\\etc", "c:\\program files\\dezovur",
          "c:\\program files\\dezovur\\", "c:\\program files\\dezovur\\..\\..\\etc",
          "c:\\program files\\dezovur\\link", "c:\\program files\\dezovur\\ΜαρίαΚωνσταντίνου\\."}) {
        SCOPED_TRACE(elsewhere);
        fs().writeFile(tempDat, std::string(elsewhere) + "\r\n");
        EXPECT_EQ(assemble(), fee::AssemblyResult::NoJob);
        EXPECT_EQ(store.currentJobFolder(), std::nullopt);
    }
    EXPECT_TRUE(fs().list("c:\\etc", "*.*").empty());
    EXPECT_TRUE(fs().list(kData, "*1.dat").empty());

    EXPECT_EQ(fs().list(kJob, "*.*").size(), before.size());
    EXPECT_EQ(get("oix1.dat"), "<missing>");
    EXPECT_EQ(get("synola.dat"), "<missing>");
    EXPECT_FALSE(fs().exists("c:\\program files\\dezovur\\synola.dat"));
    EXPECT_FALSE(fs().exists("c:\\program files\\dezovur\\ΚανείςΠουθενά"));
}

TEST_F(Statement, existing_fragment_under_another_case_is_overwritten_in_place) {
    finishedJob();
    put("SYNOLA.DAT", "old\r\n");
    ASSERT_EQ(assemble(), fee::AssemblyResult::Ok);
    const auto names = fs().list(kJob, "synola.dat");
    ASSERT_EQ(names.size(), 1u);
    EXPECT_EQ(names[0], "SYNOLA.DAT");
    EXPECT_EQ(get("synola.dat"),
              totals(" 0 ", " ,2935 ", " 0 ", " 0 ", " 0 ", " 0 ", " 0 ", " 0 "));
}

// --- the joined statement --------------------------------------------------------------------

TEST_F(Statement, load_joins_the_twelve_files_in_document_order) {
    put("arxi1.dat", cp1253("ΑΡΧΗ\r\n"));
    put("trig1.dat", "");
    put("polygon1.dat", "p1\r\np2");  // last line without its end
    put("taxi1.dat", "t1\nt2\r\n");   // a bare LF
    put("asti1.dat", "\r\n\r\n");     // two empty lines
    put("rymotom1.dat", "r\r\n");
    put("analog1.dat", "a\r\n");
    put("oix1.dat", "o\r\n");
    put("them1.dat", "th\r\n");
    put("xilosta1.dat", "x\r\n");
    put("synola.dat", cp1253("ΣΥΝΟΛΟ 5 €\r\n"));
    // telos.dat missing
    const fee::StatementText s = fee::loadStatement(store, kJob);
    EXPECT_EQ(s.text,
              "ΑΡΧΗ\r\np1\r\np2\r\nt1\r\nt2\r\n\r\n\r\nr\r\na\r\no\r\nth\r\nx\r\nΣΥΝΟΛΟ 5 €\r\n");
    EXPECT_EQ(s.missing, std::vector<std::string>{"telos.dat"});
}

TEST_F(Statement, load_after_assembly_reads_every_file) {
    finishedJob();
    put("oix.dat", " 800 \r\n");
    ASSERT_EQ(assemble(), fee::AssemblyResult::Ok);
    const fee::StatementText s = fee::loadStatement(store, kJob);
    EXPECT_TRUE(s.missing.empty());
    const auto header = s.text.find("\tOrvekia 1.3.0");
    const auto plots = s.text.find("\t     Xάραξη Οικοπέδων\r\n");
    const auto totalsAt = s.text.find("ΓΕΝΙΚΟ ΣΥΝΟΛΟ...... 3120 δρχ\r\n");
    const auto signature = s.text.find("\t     O ΜΗΧΑΝΙΚΟΣ\r\n");
    EXPECT_EQ(header, 0u);
    EXPECT_LT(header, plots);
    EXPECT_LT(plots, totalsAt);
    EXPECT_LT(totalsAt, signature);
    EXPECT_TRUE(s.text.ends_with("\t Σόλωνος 3  Αθήνα\r\n"));
}

}  // namespace
