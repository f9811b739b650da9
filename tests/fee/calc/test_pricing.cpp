// The nine pricing operations: amounts and the exact bytes of every fragment.

#include <gtest/gtest.h>

#include <initializer_list>
#include <string>
#include <string_view>

#include "fee/calc/Pricing.h"
#include "fee/store/DataStore.h"
#include "support/TempWinRoot.h"

namespace {

using testing_support::cp1253;

const std::string H24(24, '-'), H26(26, '-'), H27(27, '-'), H28(28, '-'), H31(31, '-'),
    H37(37, '-'), H39(39, '-'), H83(83, '-');

// Windows-1253 bytes of the given lines, each ended by CR LF.
std::string file(std::initializer_list<std::string> lines) {
    std::string utf8;
    for (const auto& l : lines) utf8 += l + "\r\n";
    return cp1253(utf8);
}

class Pricing : public ::testing::Test {
protected:
    static constexpr std::string_view kJob = "c:\\program files\\dezovur\\ΑΒ";

    Pricing() {
        fs().createDirectory("c:\\program files");
        fs().createDirectory("c:\\program files\\dezovur");
        fs().createDirectory(kJob);
    }

    platform::FileSystem& fs() { return root.fs(); }
    static std::string path(std::string_view name) {
        return std::string(kJob) + "\\" + std::string(name);
    }
    void put(std::string_view name, std::string_view bytes) {
        ASSERT_TRUE(fs().writeFile(path(name), bytes)) << name;
    }
    // "<missing>" tells a missing file from an empty one.
    std::string get(std::string_view name) {
        return fs().readFile(path(name)).value_or("<missing>");
    }
    double price(fee::PricingOperation op, std::optional<double> scale = 500,
                 std::int16_t planFlag = 1) {
        fee::Scale s;
        s.value = scale;
        return op(fee::PricingInput{store, kJob, s, planFlag});
    }

    testing_support::TempWinRoot root;
    fee::DataStore store{root.fs(), ","};
};

// --- tachymetric surveys ---------------------------------------------------------------------

TEST_F(Pricing, taxi_worked_example_with_altimetry) {
    put("taxi.dat", " 1250 \r\n 0 \r\n 400 \r\n 0 \r\n 0 \r\n 100 \r\n");
    EXPECT_EQ(price(fee::priceTaxi, 500), 3765);
    EXPECT_EQ(get("taxi1.dat"), file({
                                    H83,
                                    "\tΤΑΧΥΜΕΤΡΙΚΕΣ ΑΠΟΤΥΠΩΣΕΙΣ ΣΤΗΝ ΥΠΑΙΘΡΟ",
                                    "\t" + H37,
                                    "\tΚλίση 0%-5%    12,5 X 130 = 1625 δρχ",
                                    "\tΚλίση 20%-50%  4 X 182 = 728 δρχ",
                                    "\t" + H39,
                                    "\tΥΨΟΜΕΤΡΙΑ  2353  Χ 60% = 1412 δρχ",
                                    "\t" + H39,
                                    "\tΣυνολο.............: 3765 δρχ",
                                }));
    // Latin X on the item lines, Greek Chi on the altimetry line.
    const std::string bytes = get("taxi1.dat");
    EXPECT_NE(bytes.find(" X 130 "), std::string::npos);
    EXPECT_NE(bytes.find(" \xD7 60% ="), std::string::npos);
}

TEST_F(Pricing, taxi_every_class_at_1_100_in_order) {
    put("taxi.dat", " 100 \r\n 100 \r\n 100 \r\n 100 \r\n 100 \r\n 100 \r\n");
    // 488 + 728 + 988 + 1248 + 1508 = 4960; 0.6 * 4960 = 2976.
    EXPECT_EQ(price(fee::priceTaxi, 100), 7936);
    EXPECT_EQ(get("taxi1.dat"), file({
                                    H83,
                                    "\tΤΑΧΥΜΕΤΡΙΚΕΣ ΑΠΟΤΥΠΩΣΕΙΣ ΣΤΗΝ ΥΠΑΙΘΡΟ",
                                    "\t" + H37,
                                    "\tΚλίση 0%-5%    1 X 488 = 488 δρχ",
                                    "\tΚλίση 5%-20%   1 X 728 = 728 δρχ",
                                    "\tΚλίση 20%-50%  1 X 988 = 988 δρχ",
                                    "\tΚλίση 50%-100% 1 X 1248 = 1248 δρχ",
                                    "\tΚλίση   <100%  1 X 1508 = 1508 δρχ",
                                    "\t" + H39,
                                    "\tΥΨΟΜΕΤΡΙΑ  4960  Χ 60% = 2976 δρχ",
                                    "\t" + H39,
                                    "\tΣυνολο.............: 7936 δρχ",
                                }));
}

TEST_F(Pricing, taxi_unchecked_skips_empty_classes_and_rounds_half_to_even) {
    // 0.5 * 33 = 16.5 -> 16; 0.7 * 45 is 31.499999999999996 in double -> 31; 2 * 65 = 130.
    put("taxi.dat", "50\r\n0\r\n70\r\n200\r\n0\r\n0\r\n");
    EXPECT_EQ(price(fee::priceTaxi, 2000), 177);
    EXPECT_EQ(get("taxi1.dat"), file({
                                    H83,
                                    "\tΤΑΧΥΜΕΤΡΙΚΕΣ ΑΠΟΤΥΠΩΣΕΙΣ ΣΤΗΝ ΥΠΑΙΘΡΟ",
                                    "\t" + H37,
                                    "\tΚλίση 0%-5%    ,5 X 33 = 16 δρχ",
                                    "\tΚλίση 20%-50%  ,7 X 45 = 31 δρχ",
                                    "\tΚλίση 50%-100% 2 X 65 = 130 δρχ",
                                    "\t" + H39,
                                    "\tΣυνολο.............: 177 δρχ",
                                }));
}

TEST_F(Pricing, taxi_scale_without_prices_writes_nothing_for_the_price) {
    put("taxi.dat", " 1250 \r\n 0 \r\n 0 \r\n 0 \r\n 0 \r\n 100 \r\n");
    EXPECT_EQ(price(fee::priceTaxi, 250), 0);
    EXPECT_EQ(get("taxi1.dat"), file({
                                    H83,
                                    "\tΤΑΧΥΜΕΤΡΙΚΕΣ ΑΠΟΤΥΠΩΣΕΙΣ ΣΤΗΝ ΥΠΑΙΘΡΟ",
                                    "\t" + H37,
                                    "\tΚλίση 0%-5%    12,5 X= 0 δρχ",
                                    "\t" + H39,
                                    "\tΥΨΟΜΕΤΡΙΑ  0  Χ 60% = 0 δρχ",
                                    "\t" + H39,
                                    "\tΣυνολο.............: 0 δρχ",
                                }));
    EXPECT_EQ(price(fee::priceTaxi, std::nullopt), 0);
    EXPECT_NE(get("taxi1.dat").find(cp1253("12,5 X= 0 δρχ")), std::string::npos);
}

TEST_F(Pricing, taxi_altimetry_line_only_for_a_flag_of_exactly_one) {
    // A flag the finish step kept as 50 is not "checked": no altimetry line, but the surcharge
    // is S * f * 0.6 all the same (1300 * 0.5 * 0.6 = 390).
    put("taxi.dat", " 1000 \r\n 0 \r\n 0 \r\n 0 \r\n 0 \r\n 50 \r\n");
    EXPECT_EQ(price(fee::priceTaxi, 500), 1690);
    EXPECT_EQ(get("taxi1.dat"), file({
                                    H83,
                                    "\tΤΑΧΥΜΕΤΡΙΚΕΣ ΑΠΟΤΥΠΩΣΕΙΣ ΣΤΗΝ ΥΠΑΙΘΡΟ",
                                    "\t" + H37,
                                    "\tΚλίση 0%-5%    10 X 130 = 1300 δρχ",
                                    "\t" + H39,
                                    "\tΣυνολο.............: 1690 δρχ",
                                }));
}

TEST_F(Pricing, taxi_without_work_leaves_an_empty_fragment) {
    put("taxi1.dat", "left over from an earlier statement\r\n");
    put("taxi.dat", " 0 \r\n 0 \r\n 0 \r\n 0 \r\n 0 \r\n 100 \r\n");
    EXPECT_EQ(price(fee::priceTaxi), 0);
    EXPECT_EQ(get("taxi1.dat"), "");

    // A negative class can cancel a positive one: the sum decides.
    put("taxi.dat", "-100\r\n50\r\n0\r\n0\r\n0\r\n0\r\n");
    EXPECT_EQ(price(fee::priceTaxi), 0);
    EXPECT_EQ(get("taxi1.dat"), "");

    fs().removeFile(path("taxi.dat"));
    EXPECT_EQ(price(fee::priceTaxi), 0);
    EXPECT_EQ(get("taxi1.dat"), "");
}

TEST_F(Pricing, taxi_short_file_reads_missing_values_as_zero) {
    // Written by hand: two classes, no altimetry flag line.
    put("taxi.dat", " 1000 \r\n 200 \r\n");
    EXPECT_EQ(price(fee::priceTaxi, 1000), 650 + 142);
    EXPECT_EQ(get("taxi1.dat").find(cp1253("ΥΨΟΜΕΤΡΙΑ")), std::string::npos);
}

// --- urban surveys ---------------------------------------------------------------------------

TEST_F(Pricing, asti_at_1_200) {
    put("asti.dat", " 320 \r\n");
    EXPECT_EQ(price(fee::priceAsti, 200), 1312);
    EXPECT_EQ(get("asti1.dat"), file({
                                    H83,
                                    "\tΑΠΟΤΥΠΩΣΕΙΣ ΑΣΤΙΚΩΝ ΠΕΡΙΟΧΩΝ",
                                    "\t" + H28,
                                    "\tΕμβαδο σε Στρέματα: 3,2 ",
                                    "\tΤιμή Μονάδος: 410 δρχ",
                                    "\t 3,2 X 410 = 1312 δρχ",
                                }));
}

TEST_F(Pricing, asti_unit_price_by_scale_and_unset_for_others) {
    put("asti.dat", " 100 \r\n");
    EXPECT_EQ(price(fee::priceAsti, 100), 488);
    EXPECT_EQ(price(fee::priceAsti, 500), 273);
    EXPECT_EQ(price(fee::priceAsti, 1000), 205);
    EXPECT_EQ(price(fee::priceAsti, 2000), 137);
    EXPECT_EQ(price(fee::priceAsti, 5000), 0);
    EXPECT_EQ(get("asti1.dat"), file({
                                    H83,
                                    "\tΑΠΟΤΥΠΩΣΕΙΣ ΑΣΤΙΚΩΝ ΠΕΡΙΟΧΩΝ",
                                    "\t" + H28,
                                    "\tΕμβαδο σε Στρέματα: 1 ",
                                    "\tΤιμή Μονάδος:δρχ",
                                    "\t 1 X= 0 δρχ",
                                }));
    put("asti.dat", " 0 \r\n");
    EXPECT_EQ(price(fee::priceAsti, 200), 0);
    EXPECT_EQ(get("asti1.dat"), "");
}

// --- polygonometric points, street and building lines ----------------------------------------

TEST_F(Pricing, polygon_inside_and_outside_a_town_plan) {
    put("polygon.dat", " 600 \r\n");
    EXPECT_EQ(price(fee::pricePolygon, 500, 1), 2340);
    EXPECT_EQ(get("polygon1.dat"), file({
                                       H83,
                                       "\tΠΟΛΥΓΩΝΟΜΕΤΡΙΚΑ ΣΗΜΕΙΑ",
                                       "\t" + H28,
                                       "\tΑριθμός Πολυγωνομετρικών σημείων: 6 ",
                                       "\tΤιμή Μονάδος: 390 δρχ",
                                       "\t 6 X 390 = 2340 δρχ",
                                   }));
    EXPECT_EQ(price(fee::pricePolygon, 500, 0), 1560);
    EXPECT_EQ(price(fee::pricePolygon, 500, 2), 1560);
    EXPECT_NE(get("polygon1.dat").find(cp1253("\t 6 X 260 = 1560 δρχ\r\n")), std::string::npos);
    // The scale plays no part.
    EXPECT_EQ(price(fee::pricePolygon, std::nullopt, 1), 2340);

    // A count with a fraction is priced with it.
    put("polygon.dat", " 250 \r\n");
    EXPECT_EQ(price(fee::pricePolygon, 500, 1), 975);
}

TEST_F(Pricing, rymotom_axis_points_and_block_corners) {
    put("rymotom.dat", " 500 \r\n 1200 \r\n");
    EXPECT_EQ(price(fee::priceRymotom), 3198);
    EXPECT_EQ(get("rymotom1.dat"), file({
                                       H83,
                                       "\tΡΥΜΟΤΟΜΙΚΕΣ-ΟΙΚΟΔΟΜΙΚΕΣ ΓΡΑΜΜΕΣ",
                                       "\t" + H31,
                                       "\tΣημεία Άξονα Οδού 5 ",
                                       "\tΤιμή Μονάδος: 390 δρχ",
                                       "\t 5 X 390 = 1950 δρχ",
                                       "\tΣημεία Ρυμοτομικων-Οικοδομικων Γραμμών  12 ",
                                       "\tΤιμή Μονάδος: 104 δρχ",
                                       "\t 12 X 104 = 1248 δρχ",
                                       "\t" + H27,
                                       "\tΣΥΝΟΛΟ =  3198 ",
                                   }));
}

TEST_F(Pricing, rymotom_only_block_corners) {
    put("rymotom.dat", " 0 \r\n 300 \r\n");
    EXPECT_EQ(price(fee::priceRymotom), 312);
    EXPECT_EQ(get("rymotom1.dat"), file({
                                       H83,
                                       "\tΡΥΜΟΤΟΜΙΚΕΣ-ΟΙΚΟΔΟΜΙΚΕΣ ΓΡΑΜΜΕΣ",
                                       "\t" + H31,
                                       "\tΣημεία Ρυμοτομικων-Οικοδομικων Γραμμών  3 ",
                                       "\tΤιμή Μονάδος: 104 δρχ",
                                       "\t 3 X 104 = 312 δρχ",
                                       "\t" + H27,
                                       "\tΣΥΝΟΛΟ =  312 ",
                                   }));
}

TEST_F(Pricing, rymotom_amount_is_returned_even_without_a_fragment) {
    // -1 * 390 + 0.5 * 104: the sum of counts is negative, so no fragment, but the amount stands.
    put("rymotom.dat", "-100\r\n50\r\n");
    EXPECT_EQ(price(fee::priceRymotom), -390 + 52);
    EXPECT_EQ(get("rymotom1.dat"), "");
}

// --- triangulation ---------------------------------------------------------------------------

TEST_F(Pricing, trig_class_three_and_four_points) {
    put("trig.dat", " 200 \r\n 300 \r\n 0 \r\n 0 \r\n");
    EXPECT_EQ(price(fee::priceTrig), 34450);
    EXPECT_EQ(get("trig1.dat"), file({
                                    H83,
                                    "\t      TΡΙΓΩΝΙΣΜΟΣ",
                                    "\t" + H24,
                                    "\tΤριγωνομετρικά σημεία ΙΙΙ Τάξης 2 ",
                                    "\tΤιμή Μονάδος: 10400 δρχ",
                                    "\t 2 X 10400 = 20800 δρχ",
                                    "\tΤριγωνομετρικά σημεία ΙV Τάξης 3 ",
                                    "\tΤιμή Μονάδος: 4550 δρχ",
                                    "\t 3 X 4550 = 13650 δρχ",
                                    "\t" + H27,
                                    "\tΣΥΝΟΛΟ =  34450 δρχ",
                                }));
    // Latin T opens the title; the class IV numeral is Greek Iota then Latin V.
    EXPECT_NE(get("trig1.dat").find("\t      T\xD1"), std::string::npos);
    EXPECT_NE(get("trig1.dat").find("\xC9V "), std::string::npos);
}

TEST_F(Pricing, trig_intersections_and_resections) {
    put("trig.dat", " 0 \r\n 0 \r\n 100 \r\n 400 \r\n");
    EXPECT_EQ(price(fee::priceTrig), 1950 + 5200);
    EXPECT_EQ(get("trig1.dat"), file({
                                    H83,
                                    "\t      TΡΙΓΩΝΙΣΜΟΣ",
                                    "\t" + H24,
                                    "\tΕμπροσθοτομία 1 ",
                                    "\tΤιμή Μονάδος: 1950 δρχ",
                                    "\t 1 X 1950 = 1950 δρχ",
                                    "\tΟπισθοτομία 4 ",
                                    "\tΤιμή Μονάδος: 1300 δρχ",
                                    "\t 4 X 1300 = 5200 δρχ",
                                    "\t" + H27,
                                    "\tΣΥΝΟΛΟ =  7150 δρχ",
                                }));
    put("trig.dat", " 0 \r\n 0 \r\n 0 \r\n 0 \r\n");
    EXPECT_EQ(price(fee::priceTrig), 0);
    EXPECT_EQ(get("trig1.dat"), "");
}

// --- building set-out, thousandths, plot set-out ---------------------------------------------

TEST_F(Pricing, them_equivalent_points_of_a_building) {
    put("them.dat", " 42000 \r\n");
    EXPECT_EQ(price(fee::priceThem), 2730);
    EXPECT_EQ(get("them1.dat"), file({
                                    H83,
                                    "\t      Xάραξη Κτιρίων",
                                    "\t" + H28,
                                    "\tΙσόδύναμια σε Πολυγωνομετρικά σημεία: 7 ",
                                    "\tΤιμή Μονάδος: 390 δρχ",
                                    "\t 7 X 390 = 2730 δρχ",
                                }));
    EXPECT_EQ(get("them1.dat").substr(85, 8), "\t      X");  // Latin X

    EXPECT_EQ(fee::buildingPoints(420), 7);
    EXPECT_EQ(fee::buildingPoints(125), 5);  // 250 / 250 = 1 exactly
    EXPECT_EQ(fee::buildingPoints(124.99), 4);
    EXPECT_EQ(fee::buildingPoints(1), 4);
    EXPECT_EQ(fee::buildingPoints(12.5), 4);

    put("them.dat", " 12500 \r\n");
    EXPECT_EQ(price(fee::priceThem), 1950);
    put("them.dat", " 100 \r\n");
    EXPECT_EQ(price(fee::priceThem), 1560);
    // A file may hold a fraction of a square metre (12.5 m2): it prices as it reads.
    put("them.dat", " 1250 \r\n");
    EXPECT_EQ(price(fee::priceThem), 1560);
    // A number in exponent form (125000 m2: 1000 + 4 points), as a file written elsewhere
    // may hold it, with a period as the files' decimal point.
    put("them.dat", " 1.25E+07 \r\n");
    EXPECT_EQ(price(fee::priceThem), 1004 * 390);
}

TEST_F(Pricing, them_without_area_prices_nothing) {
    put("them.dat", " 0 \r\n");
    EXPECT_EQ(price(fee::priceThem), 0);
    EXPECT_EQ(get("them1.dat"), "");
    // Not the 4 points of an empty plot: no area, no set-out.
    put("them.dat", "-500\r\n");
    EXPECT_EQ(price(fee::priceThem), 0);
    EXPECT_EQ(get("them1.dat"), "");
}

TEST_F(Pricing, xilosta_per_property) {
    put("xilosta.dat", " 1200 \r\n");
    EXPECT_EQ(price(fee::priceXilosta), 1320);
    EXPECT_EQ(get("xilosta1.dat"), file({
                                       H83,
                                       "\t     Κατανομή Χιλιοστών",
                                       "\t" + H28,
                                       "\tΑριθμός Οριζοντίων ιδιοκτησιών: 12 ",
                                       "\tΤιμή Μονάδος: 110 δρχ",
                                       "\t 12 X 110 = 1320 δρχ",
                                   }));
    // 0.55 * 110 is 60.50000000000001 in double: 61, not the 60 of a decimal tie.
    put("xilosta.dat", " 55 \r\n");
    EXPECT_EQ(price(fee::priceXilosta), 61);
    EXPECT_NE(get("xilosta1.dat").find(cp1253("\t ,55 X 110 = 61 δρχ\r\n")), std::string::npos);
}

TEST_F(Pricing, oix_per_plot_corner) {
    put("oix.dat", " 800 \r\n");
    EXPECT_EQ(price(fee::priceOix), 3120);
    EXPECT_EQ(get("oix1.dat"), file({
                                   H83,
                                   "\t     Xάραξη Οικοπέδων",
                                   "\t" + H28,
                                   "\tΙσόδύναμια σε Πολυγωνομετρικά σημεία: 8 ",
                                   "\tΤιμή Μονάδος: 390 δρχ",
                                   "\t 8 X 390 = 3120 δρχ",
                               }));
    put("oix.dat", " 0 \r\n");
    EXPECT_EQ(price(fee::priceOix), 0);
    EXPECT_EQ(get("oix1.dat"), "");
}

// --- apportionment acts ----------------------------------------------------------------------

TEST_F(Pricing, analog_per_kilometre) {
    put("analog.dat", " 125 \r\n");
    EXPECT_EQ(price(fee::priceAnalog, std::nullopt, 0), 105000);
    EXPECT_EQ(get("analog1.dat"), file({
                                      H83,
                                      "\tΣΥΝΤΑΞΗ ΠΙΝΑΚΑ ΑΝΑΛΟΓΙΣΜΟΥ",
                                      "\t" + H26,
                                      "\tΜήκος σε Χιλιόμετρα : 1,25 ",
                                      "\tΤιμή Μονάδος : 84.000 δρχ",
                                      "\t 1,25 X 84.000 =  105000 δρχ",
                                  }));
    put("analog.dat", " 0 \r\n");
    EXPECT_EQ(price(fee::priceAnalog), 0);
    EXPECT_EQ(get("analog1.dat"), "");
}

// --- shared reading rules --------------------------------------------------------------------

TEST_F(Pricing, stored_values_read_in_every_form_the_files_hold) {
    // Text line, print style, the finish step's double, a fraction and a stray blank line.
    for (const char* stored : {"1200", " 1200 ", "1200.0", "  1200  \r\n\r\n"}) {
        put("xilosta.dat", std::string(stored) + "\r\n");
        EXPECT_EQ(price(fee::priceXilosta), 1320) << stored;
    }
    put("xilosta.dat", "twelve\r\n");
    EXPECT_EQ(price(fee::priceXilosta), 0);
    EXPECT_EQ(get("xilosta1.dat"), "");
    fs().removeFile(path("xilosta.dat"));
    EXPECT_EQ(price(fee::priceXilosta), 0);
    EXPECT_EQ(get("xilosta1.dat"), "");
}

TEST_F(Pricing, the_table_prices_every_category_in_statement_order) {
    using fee::CategoryId;
    const CategoryId order[] = {CategoryId::Analog,  CategoryId::Taxi,    CategoryId::Asti,
                                CategoryId::Polygon, CategoryId::Rymotom, CategoryId::Trig,
                                CategoryId::Them,    CategoryId::Xilosta, CategoryId::Oix};
    const char* fragments[] = {"analog1.dat",  "taxi1.dat",    "asti1.dat",
                               "polygon1.dat", "rymotom1.dat", "trig1.dat",
                               "them1.dat",    "xilosta1.dat", "oix1.dat"};
    for (std::size_t i = 0; i < fee::kCategories.size(); ++i) {
        const auto& c = fee::kCategories[i];
        EXPECT_EQ(c.id, order[i]) << i;
        EXPECT_EQ(c.fragment, fragments[i]);
        // Each entry writes its own fragment and no other.
        fs().removeFile(path(c.fragment));
        price(fee::pricingOf(c.id));
        EXPECT_EQ(get(c.fragment), "") << c.fragment;
    }
}

}  // namespace
