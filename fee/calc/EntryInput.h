#pragma once
// What the data-entry windows accept from the user and how they show stored values.
//
// A quantity is typed in the user's locale (a comma as decimal separator on a Greek system)
// and stored as hundredths. Every window goes through these functions, so all of them refuse
// the same texts with the same Greek messages:
//   - an empty field (blanks only) is refused, not read as 0: a field that starts as "0" and
//     was cleared is more likely a slip than a deliberate zero;
//   - only digits with at most one decimal separator, blanks around them ignored; no group
//     separators, no exponent;
//   - the other separator (the period under a comma locale, the comma under a period locale)
//     is taken as the decimal separator only when it cannot be a group separator: it occurs
//     once, the locale's own separator does not occur, and it is not followed by exactly three
//     digits ("12.5" is 12.5, "1.234" is refused as ambiguous);
//   - negative quantities and hundredths beyond the stored range are refused.

#include <optional>
#include <string>
#include <string_view>

namespace fee {

// How a field's value is kept in its input file.
enum class StoredForm {
    // Hundredths rounded half to even to a signed 16-bit integer; typed 0 to 327.67.
    Int16Hundredths,
    // The building area: whole hundredths (half to even) written as a double, typed 0 to
    // kMaxBuildingArea square metres.
    AreaHundredths,
};

// Far above any real building; whole hundredths up to here are exact in a double.
inline constexpr double kMaxBuildingArea = 10'000'000;

// The λ an entry may set: above 0 and at most this. λ x 100000 then stays a whole number
// that a single-precision reader gets back exactly.
inline constexpr double kMaxLambda = 100;

// How an edit window shows a value read from an input file (the value as the file holds it,
// i.e. hundredths).
enum class ShownAs {
    WholeFromInt16,  // a count read as a 16-bit integer, / 100: "2" (and "1,5" if so stored)
    RealFromSingle,  // read as a single, / 100 in single precision: "12,5"
    RealFromDouble,  // read as a double, / 100: "12,345"
};

struct EntryCheck {
    double value = 0;     // the number as typed
    double stored = 0;    // what the file keeps (hundredths, or λ x 100000)
    std::string refusal;  // Greek message for the user; empty when the entry is accepted
    bool ok() const { return refusal.empty(); }
};

// A number typed in the locale whose decimal separator is given; empty when the text is not
// one (see the rules above). Signs are allowed here; callers decide what range they accept.
std::optional<double> parseTypedNumber(std::string_view text, std::string_view decimalSeparator);

// A quantity field: fieldName is how the message names the field (its label). A count
// (whole) refuses a fraction: there is no half a point or half a property.
EntryCheck checkQuantity(std::string_view text, std::string_view fieldName, StoredForm form,
                         std::string_view decimalSeparator, bool whole = false);

// The coefficient λ: stored is λ x 100000 rounded half to even.
EntryCheck checkLambda(std::string_view text, std::string_view decimalSeparator);

// The altimetry flag of the tachymetric input file as the window stores it: the value the
// category table gives for a set flag (1, as 100 hundredths) with altimetry, 0 without.
double altimetryStored(bool withAltimetry);

// Whether the edit window shows altimetry for a stored flag: the flag taken as 16-bit
// hundredths and rounded to a whole number is not 0 (so 50 is off, 150 is on, and a flag
// beyond the 16-bit range is off).
bool altimetryShown(double stored);

// The text an edit window shows for a value read from an input file.
std::string shownQuantity(double fileValue, ShownAs how, std::string_view decimalSeparator);

// A real number in the user's locale with the fewest digits that read back as the same
// value: "12,5", "0,2935", "327,67", "1500000".
std::string localeNumber(double value, std::string_view decimalSeparator);
std::string localeNumber(float value, std::string_view decimalSeparator);

}  // namespace fee
