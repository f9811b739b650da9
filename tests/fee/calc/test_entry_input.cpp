#include <gtest/gtest.h>

#include <cmath>
#include <optional>
#include <string>
#include <utility>

#include "fee/calc/EntryInput.h"

namespace {

using fee::checkLambda;
using fee::checkQuantity;
using fee::ShownAs;
using fee::StoredForm;

struct QuantityRow {
    const char* typed;
    std::optional<double> stored;  // empty: refused
};

TEST(EntryInput, quantity_table_under_comma_locale) {
    const QuantityRow rows[] = {
        {"12,5", 1250},
        {"0", 0},
        {"327,67", 32767},
        {"327,68", std::nullopt},
        {"-1", std::nullopt},
        {"-0,01", std::nullopt},
        {"abc", std::nullopt},
        {"1.234,5", std::nullopt},
        {"", std::nullopt},
        {"   ", std::nullopt},
        {"\t", std::nullopt},
        {"  12,5\t", 1250},
        {"0,125", 12},
        {"0,135", 14},
        {",5", 50},
        {"3,", 300},
        {"+2", 200},
        {"12.5", 1250},
        {"1.234", std::nullopt},
        {"1,2,3", std::nullopt},
        {"1 234", std::nullopt},
        {"1e2", std::nullopt},
        {"-", std::nullopt},
        {",", std::nullopt},
        {"0x10", std::nullopt},
        {"12,5.", std::nullopt},
        {"99999999999999999999999", std::nullopt},
        {"327,674", 32767},
        {"-0", 0},
    };
    for (const auto& row : rows) {
        const auto check = checkQuantity(row.typed, "Εμβαδό", StoredForm::Int16Hundredths, ",");
        SCOPED_TRACE(std::string("typed \"") + row.typed + "\"");
        if (row.stored) {
            ASSERT_TRUE(check.ok()) << check.refusal;
            EXPECT_EQ(check.stored, *row.stored);
            EXPECT_FALSE(std::signbit(check.stored));
        } else {
            EXPECT_FALSE(check.ok());
        }
    }
}

TEST(EntryInput, period_locale_mirrors_the_rules) {
    EXPECT_EQ(checkQuantity("12.5", "x", StoredForm::Int16Hundredths, ".").stored, 1250);
    EXPECT_EQ(checkQuantity("12,5", "x", StoredForm::Int16Hundredths, ".").stored, 1250);
    EXPECT_FALSE(checkQuantity("1,234", "x", StoredForm::Int16Hundredths, ".").ok());
    EXPECT_FALSE(checkQuantity("1,234.5", "x", StoredForm::Int16Hundredths, ".").ok());
}

TEST(EntryInput, refusals_name_the_field_and_the_range) {
    const auto outOfRange = checkQuantity("400", "Κλίση 0%-5%", StoredForm::Int16Hundredths, ",");
    EXPECT_EQ(outOfRange.refusal, "Το πεδίο «Κλίση 0%-5%» δέχεται αριθμό από 0 έως 327,67.");

    const auto negative = checkQuantity("-1", "Οπισθοτομία", StoredForm::Int16Hundredths, ",");
    EXPECT_EQ(negative.refusal, "Το πεδίο «Οπισθοτομία» δέχεται αριθμό από 0 έως 327,67.");

    const auto empty = checkQuantity(" ", "Εμβαδό", StoredForm::Int16Hundredths, ",");
    EXPECT_EQ(empty.refusal, "Το πεδίο «Εμβαδό» είναι κενό. Γράψτε έναν αριθμό από 0 έως 327,67.");

    const auto text = checkQuantity("abc", "Εμβαδό", StoredForm::Int16Hundredths, ",");
    EXPECT_EQ(text.refusal,
              "Το πεδίο «Εμβαδό» δεν περιέχει αριθμό. Γράψτε έναν αριθμό από 0 έως 327,67, με "
              "υποδιαστολή το «,» και χωρίς διαχωριστικό χιλιάδων (π.χ. 12,5).");
}

TEST(EntryInput, counts_refuse_fractions) {
    const auto count = [](const char* typed) {
        return checkQuantity(typed, "Οπισθοτομία", StoredForm::Int16Hundredths, ",", true);
    };
    EXPECT_EQ(count("2").stored, 200);
    EXPECT_EQ(count(" 3,0 ").stored, 300);
    EXPECT_EQ(count("1,5").refusal,
              "Το πεδίο «Οπισθοτομία» δέχεται μόνο ακέραιο αριθμό (π.χ. 2): δεν υπάρχει κλάσμα "
              "σημείου ή ιδιοκτησίας.");
    EXPECT_FALSE(count("0,01").ok());
}

TEST(EntryInput, building_area_keeps_whole_hundredths_far_beyond_16_bits) {
    const auto area = [](const char* typed) {
        return checkQuantity(typed, "Εμβαδό", StoredForm::AreaHundredths, ",");
    };
    EXPECT_EQ(area("12,5").stored, 1250);
    EXPECT_EQ(area("12,345").stored, 1234);  // 1234.5 half to even
    EXPECT_EQ(area("12,355").stored, 1236);
    EXPECT_EQ(area("150000").stored, 15000000);
    EXPECT_EQ(area("10000000").stored, 1000000000);
    EXPECT_EQ(area("9999999,99").stored, 999999999);
    EXPECT_FALSE(area("10000000,01").ok());
    EXPECT_FALSE(area("-5").ok());
    EXPECT_EQ(area("20000000").refusal, "Το πεδίο «Εμβαδό» δέχεται αριθμό από 0 έως 10000000.");
}

TEST(EntryInput, lambda_accepts_positive_values_to_five_decimals) {
    EXPECT_EQ(checkLambda("0,2935", ",").stored, 29350);
    EXPECT_EQ(checkLambda(" 0,2935 ", ",").value, 0.2935);
    EXPECT_EQ(checkLambda("0.2935", ",").stored, 29350);
    EXPECT_EQ(checkLambda("0,000005", ",").stored, 0);  // refused: see below
    EXPECT_FALSE(checkLambda("0,000005", ",").ok());    // 0.5 -> 0 half to even
    EXPECT_EQ(checkLambda("0,000015", ",").stored, 2);  // 1.5 -> 2
    EXPECT_EQ(checkLambda("100", ",").stored, 10000000);
    for (const char* bad : {"", "  ", "abc", "0", "-1", "0,000004", "100,00001", "1.234"}) {
        SCOPED_TRACE(bad);
        const auto check = checkLambda(bad, ",");
        EXPECT_FALSE(check.ok());
        EXPECT_NE(check.refusal.find("συντελεστής λ"), std::string::npos);
    }
}

TEST(EntryInput, edit_windows_show_stored_values) {
    using fee::shownQuantity;
    // Counts: 16-bit, / 100, exactly as stored (a rounded count would be saved back).
    EXPECT_EQ(shownQuantity(250, ShownAs::WholeFromInt16, ","), "2,5");
    EXPECT_EQ(shownQuantity(1200, ShownAs::WholeFromInt16, ","), "12");
    EXPECT_EQ(shownQuantity(40000, ShownAs::WholeFromInt16, ","), "0");  // beyond 16 bits
    EXPECT_EQ(shownQuantity(-250, ShownAs::WholeFromInt16, ","), "-2,5");
    // Reals in the user's locale.
    EXPECT_EQ(shownQuantity(1250, ShownAs::RealFromSingle, ","), "12,5");
    EXPECT_EQ(shownQuantity(1, ShownAs::RealFromSingle, ","), "0,01");
    EXPECT_EQ(shownQuantity(32767, ShownAs::RealFromDouble, ","), "327,67");
    EXPECT_EQ(shownQuantity(1234, ShownAs::RealFromDouble, ","), "12,34");
    EXPECT_EQ(shownQuantity(1250, ShownAs::RealFromDouble, "."), "12.5");
    EXPECT_EQ(shownQuantity(1000000000, ShownAs::RealFromDouble, ","), "10000000");
    EXPECT_EQ(shownQuantity(0, ShownAs::RealFromDouble, ","), "0");
    EXPECT_EQ(fee::localeNumber(0.2935f, ","), "0,2935");
}

}  // namespace

TEST(EntryInput, altimetry_flag_round_trips_and_reads_stored_flags_by_whole_hundreds) {
    EXPECT_TRUE(fee::altimetryShown(fee::altimetryStored(true)));
    EXPECT_FALSE(fee::altimetryShown(fee::altimetryStored(false)));
    EXPECT_EQ(fee::altimetryStored(true), 100.0);  // taxi.dat keeps "100" for the box ticked
    const std::pair<double, bool> flags[] = {
        {49, false}, {50, false}, {51, true}, {150, true}, {-100, true}, {40000, false},
    };
    for (const auto& [stored, shown] : flags)
        EXPECT_EQ(fee::altimetryShown(stored), shown) << stored;
}
