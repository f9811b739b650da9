#include "fee/calc/EntryInput.h"

#include <array>
#include <charconv>
#include <cmath>
#include <optional>
#include <system_error>

#include "fee/store/Categories.h"
#include "fee/store/Number.h"

namespace fee {

namespace {

bool isBlank(char c) {
    return c == ' ' || c == '\t';
}
bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

std::string_view trimmed(std::string_view text) {
    while (!text.empty() && isBlank(text.front())) text.remove_prefix(1);
    while (!text.empty() && isBlank(text.back())) text.remove_suffix(1);
    return text;
}

std::string_view otherSeparator(std::string_view separator) {
    return separator == "." ? std::string_view(",") : std::string_view(".");
}

// hundredths as the user would type them: 32767 -> "327,67", 1000000000 -> "10000000".
std::string hundredthsText(double hundredths, std::string_view separator) {
    return localeNumber(hundredths / 100.0, separator);
}

std::string rangeText(double maxHundredths, std::string_view separator) {
    return "από 0 έως " + hundredthsText(maxHundredths, separator);
}

std::string quoted(std::string_view name) {
    return "«" + std::string(name) + "»";
}

template <typename T>
std::string shortest(T value, std::string_view separator) {
    if (value == 0) value = 0;  // no "-0"
    std::array<char, 64> buffer{};
    const auto result = std::to_chars(buffer.data(), buffer.data() + buffer.size(), value,
                                      std::chars_format::fixed);
    std::string out(buffer.data(), result.ptr);
    if (const auto point = out.find('.'); point != std::string::npos)
        out.replace(point, 1, separator);
    return out;
}

}  // namespace

std::optional<double> parseTypedNumber(std::string_view text, std::string_view separator) {
    text = trimmed(text);
    if (separator.empty()) separator = ",";
    std::string plain;  // sign, digits and at most one '.' for from_chars
    std::size_t pos = 0;
    if (pos < text.size() && (text[pos] == '-' || text[pos] == '+')) {
        if (text[pos] == '-') plain.push_back('-');
        ++pos;
    }
    const std::string_view other = otherSeparator(separator);
    bool seenPoint = false;
    bool pointIsOther = false;
    std::size_t digitsAfterPoint = 0;
    std::size_t digits = 0;
    while (pos < text.size()) {
        const std::string_view rest = text.substr(pos);
        if (isDigit(rest.front())) {
            plain.push_back(rest.front());
            ++digits;
            if (seenPoint) ++digitsAfterPoint;
            ++pos;
        } else if (rest.starts_with(separator) || rest.starts_with(other)) {
            if (seenPoint) return std::nullopt;
            seenPoint = true;
            pointIsOther = !rest.starts_with(separator);
            plain.push_back('.');
            pos += pointIsOther ? other.size() : separator.size();
        } else {
            return std::nullopt;
        }
    }
    if (digits == 0) return std::nullopt;
    // "1.234" under a comma locale may mean a thousand and more.
    if (pointIsOther && digitsAfterPoint == 3) return std::nullopt;

    double value = 0;
    const char* first = plain.data();
    if (*first == '-') ++first;  // from_chars takes no '+', and the sign is applied below
    const auto [end, error] =
        std::from_chars(first, plain.data() + plain.size(), value, std::chars_format::fixed);
    if (error != std::errc() || end != plain.data() + plain.size() || !std::isfinite(value))
        return std::nullopt;
    return plain.front() == '-' ? -value : value;
}

EntryCheck checkQuantity(std::string_view text, std::string_view fieldName, StoredForm form,
                         std::string_view separator, bool whole) {
    const double maxHundredths =
        form == StoredForm::Int16Hundredths ? 32767.0 : kMaxBuildingArea * 100.0;
    const std::string range = rangeText(maxHundredths, separator);
    EntryCheck check;
    if (trimmed(text).empty()) {
        check.refusal =
            "Το πεδίο " + quoted(fieldName) + " είναι κενό. Γράψτε έναν αριθμό " + range + ".";
        return check;
    }
    const auto value = parseTypedNumber(text, separator);
    if (!value) {
        check.refusal = "Το πεδίο " + quoted(fieldName) + " δεν περιέχει αριθμό. Γράψτε έναν " +
                        "αριθμό " + range + ", με υποδιαστολή το " + quoted(separator) +
                        " και χωρίς διαχωριστικό χιλιάδων (π.χ. 12" + std::string(separator) +
                        "5).";
        return check;
    }
    const double hundredths = roundHalfEven(*value * 100.0) + 0.0;  // + 0.0: no "-0"
    if (*value < 0 || hundredths > maxHundredths) {
        check.refusal = "Το πεδίο " + quoted(fieldName) + " δέχεται αριθμό " + range + ".";
        return check;
    }
    if (whole && *value != std::floor(*value)) {
        check.refusal = "Το πεδίο " + quoted(fieldName) +
                        " δέχεται μόνο ακέραιο αριθμό (π.χ. 2): δεν υπάρχει κλάσμα σημείου ή "
                        "ιδιοκτησίας.";
        return check;
    }
    check.value = *value;
    check.stored = hundredths;
    return check;
}

EntryCheck checkLambda(std::string_view text, std::string_view separator) {
    EntryCheck check;
    const std::string allowed =
        "Ο συντελεστής λ πρέπει να είναι αριθμός μεγαλύτερος του 0 και έως " +
        localeNumber(kMaxLambda, separator) + ", με υποδιαστολή το " + quoted(separator) +
        " (π.χ. 0" + std::string(separator) + "2935).";
    if (trimmed(text).empty()) {
        check.refusal = "Δεν γράψατε νέο συντελεστή λ. " + allowed;
        return check;
    }
    const auto value = parseTypedNumber(text, separator);
    if (!value) {
        check.refusal = "Ο νέος συντελεστής λ δεν είναι αριθμός. " + allowed;
        return check;
    }
    const double stored = roundHalfEven(*value * 100000.0);
    // λ is kept to five decimals: anything that rounds to 0 there would zero every fee.
    if (!(stored >= 1.0) || *value > kMaxLambda) {
        check.refusal = allowed;
        return check;
    }
    check.value = *value;
    check.stored = stored;
    return check;
}

std::string shownQuantity(double fileValue, ShownAs how, std::string_view separator) {
    switch (how) {
        case ShownAs::WholeFromInt16: {
            // Exactly what is stored: a rounded count would be written back on saving.
            const double stored = toInt16(fileValue).value_or(0);
            return shortest(stored / 100.0, separator);
        }
        case ShownAs::RealFromSingle:
            return localeNumber(static_cast<float>(fileValue) / 100.0f, separator);
        case ShownAs::RealFromDouble:
            return localeNumber(fileValue / 100.0, separator);
    }
    return "0";
}

std::string localeNumber(double value, std::string_view separator) {
    return shortest(value, separator);
}

std::string localeNumber(float value, std::string_view separator) {
    return shortest(value, separator);
}

double altimetryStored(bool withAltimetry) {
    return withAltimetry ? categoryOf(CategoryId::Taxi).altimetry->stored : 0.0;
}

bool altimetryShown(double stored) {
    const double flag = toInt16(stored).value_or(0);
    return roundHalfEven(flag / 100.0) != 0.0;
}

}  // namespace fee
