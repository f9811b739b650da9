#include "fee/calc/Pricing.h"

#include <cmath>
#include <vector>

namespace fee {

namespace {

constexpr std::string_view kTab = "\t";
constexpr std::string_view kDrachmas = "δρχ";
constexpr std::string_view kUnitPrice = "Τιμή Μονάδος:";

std::string hyphens(std::size_t n) {
    return std::string(n, '-');
}

// The quantities of an input file, each stored value divided by 100. A value that is missing
// (file or line) stays 0, as the statement goes on past anything it cannot read.
std::vector<double> readQuantities(const DataStore& store, std::string_view jobPath,
                                   std::string_view file, std::size_t count) {
    std::vector<double> values(count, 0.0);
    auto reader = store.reader(DataStore::jobFile(jobPath, file));
    if (!reader) return values;
    for (auto& v : values) {
        auto n = reader->number();
        if (!n) break;
        v = *n / 100;
    }
    return values;
}

// All the numbers a category's input file keeps.
std::vector<double> readInput(const PricingInput& in, CategoryId id) {
    const Category& category = categoryOf(id);
    return readQuantities(in.store, in.jobPath, category.input,
                          static_cast<std::size_t>(category.fields));
}

// Every fragment that has work opens the same way: a rule of 83 hyphens, the title and its
// underline, both behind a TAB.
void header(LineWriter& w, std::string_view title, std::size_t underline) {
    w.line(hyphens(83));
    w.text(kTab).line(title);
    w.text(kTab).line(hyphens(underline));
}

// TAB, label, quantity.
void quantityLine(LineWriter& w, std::string_view label, double quantity) {
    w.text(kTab).text(label).number(quantity, Width::Double).endLine();
}

// TAB, "Τιμή Μονάδος:", price, "δρχ".
void unitPriceLine(LineWriter& w, std::optional<double> price) {
    w.text(kTab).text(kUnitPrice).number(price, Width::Double).text(kDrachmas).endLine();
}

// TAB, label, quantity, "X", price, "=", amount, "δρχ".
void itemLine(LineWriter& w, std::string_view label, double quantity, std::optional<double> price,
              double amount) {
    w.text(kTab)
        .text(label)
        .number(quantity, Width::Double)
        .text("X")
        .number(price, Width::Double)
        .text("=")
        .number(amount, Width::Double)
        .text(kDrachmas)
        .endLine();
}

// An unset unit price prices its line at 0.
double lineAmount(double quantity, std::optional<double> price) {
    return roundHalfEven(quantity * price.value_or(0.0));
}

// A fragment is written afresh even when it stays empty, so an earlier statement never leaks
// into this one.
void writeFragment(const PricingInput& in, std::string_view name, const LineWriter& w) {
    if (!in.store.writeFragment(DataStore::jobFile(in.jobPath, name), w) && in.failedFragments)
        in.failedFragments->emplace_back(name);
}

// A quantity priced on its own: its line, the unit price line, and an item line with no label.
void pricedQuantity(LineWriter& w, std::string_view label, double quantity,
                    std::optional<double> price, double amount) {
    quantityLine(w, label, quantity);
    unitPriceLine(w, price);
    itemLine(w, "", quantity, price, amount);
}

// The categories that price one quantity at one unit price; the amount is returned even when
// the quantity is not positive and the fragment stays empty.
double priceOne(const PricingInput& in, std::string_view fragment, std::string_view title,
                std::string_view label, double quantity, std::optional<double> price) {
    const double amount = lineAmount(quantity, price);
    LineWriter w = in.store.writer();
    if (quantity > 0) {
        header(w, title, 28);
        pricedQuantity(w, label, quantity, price, amount);
    }
    writeFragment(in, fragment, w);
    return amount;
}

// Unit prices by scale index (1:100, 1:200, 1:500, 1:1000, 1:2000).
constexpr double kTaxiPrices[5][5] = {
    {488, 728, 988, 1248, 1508}, {325, 357, 455, 650, 728}, {130, 143, 182, 260, 286},
    {65, 71, 91, 130, 143},      {33, 36, 45, 65, 71},
};
constexpr double kAstiPrices[5] = {488, 410, 273, 205, 137};
constexpr double kScales[5] = {100, 200, 500, 1000, 2000};

constexpr double kAltimetryFactor = 0.6;
constexpr double kApportionmentPrice = 84000;
constexpr double kPolygonInside = 390;
constexpr double kPolygonOutside = 260;
constexpr double kAxisPoint = 390;
constexpr double kBlockCorner = 104;
constexpr double kBuildingPoint = 390;
constexpr double kPlotCorner = 390;
constexpr double kProperty = 110;

}  // namespace

std::optional<std::size_t> Scale::index() const {
    if (!value) return std::nullopt;
    for (std::size_t i = 0; i < 5; ++i)
        if (*value == kScales[i]) return i;
    return std::nullopt;
}

Scale readScale(const DataStore& store, std::string_view jobPath) {
    Scale scale;
    auto text = store.scaleText(jobPath);
    if (!text) return scale;
    auto first = text->find_first_not_of(" \t");
    if (first == std::string::npos) return scale;  // blank field: no scale picked
    scale.text = *text;
    scale.value = parseFieldNumber(*text);
    return scale;
}

std::int16_t readPlanFlag(const DataStore& store, std::string_view jobPath) {
    return store.planFlag(jobPath).value_or(0);
}

float readLambda(const DataStore& store, std::string_view jobPath) {
    auto reader = store.reader(DataStore::jobFile(jobPath, "l.dat"));
    if (!reader) return 0.0f;
    auto stored = reader->single();
    if (!stored) return 0.0f;
    return static_cast<float>(static_cast<double>(*stored) / 100000);
}

bool mayEnterTriangulation(const DataStore& store, std::string_view jobPath) {
    return store.specialty(jobPath).value_or(0) < 3;
}

double buildingPoints(double area) {
    return std::floor(area * 2 / 250) + 4;
}

double priceAnalog(const PricingInput& in) {
    const double length = readInput(in, CategoryId::Analog)[0];
    const double amount = roundHalfEven(length * kApportionmentPrice);
    LineWriter w = in.store.writer();
    if (length > 0) {
        header(w, "ΣΥΝΤΑΞΗ ΠΙΝΑΚΑ ΑΝΑΛΟΓΙΣΜΟΥ", 26);
        quantityLine(w, "Μήκος σε Χιλιόμετρα :", length);
        w.text(kTab).line("Τιμή Μονάδος : 84.000 δρχ");
        w.text(kTab)
            .number(length, Width::Double)
            .text("X 84.000 = ")
            .number(amount, Width::Double)
            .text(kDrachmas)
            .endLine();
    }
    writeFragment(in, categoryOf(CategoryId::Analog).fragment, w);
    return amount;
}

double priceTaxi(const PricingInput& in) {
    static constexpr std::string_view kLabels[5] = {
        "Κλίση 0%-5%   ", "Κλίση 5%-20%  ", "Κλίση 20%-50% ", "Κλίση 50%-100%", "Κλίση   <100% ",
    };
    std::optional<double> prices[5];
    if (auto i = in.scale.index())
        for (std::size_t c = 0; c < 5; ++c) prices[c] = kTaxiPrices[*i][c];

    // The five slope classes, then the altimetry flag. The flag is divided by 100 like the
    // areas, so a set one reads 1, and whatever else the file holds scales the surcharge.
    constexpr FlagField kFlag = *categoryOf(CategoryId::Taxi).altimetry;
    static_assert(kFlag.index == 5 && categoryOf(CategoryId::Taxi).fields == 6);
    const auto q = readInput(in, CategoryId::Taxi);
    const double altimetry = q[kFlag.index];
    LineWriter w = in.store.writer();
    if (!(q[0] + q[1] + q[2] + q[3] + q[4] > 0)) {
        writeFragment(in, categoryOf(CategoryId::Taxi).fragment, w);
        return 0;
    }

    header(w, "ΤΑΧΥΜΕΤΡΙΚΕΣ ΑΠΟΤΥΠΩΣΕΙΣ ΣΤΗΝ ΥΠΑΙΘΡΟ", 37);
    double sum = 0;
    for (std::size_t c = 0; c < 5; ++c) {
        const double amount = lineAmount(q[c], prices[c]);
        if (q[c] > 0) itemLine(w, kLabels[c], q[c], prices[c], amount);
        sum += amount;
    }
    w.text(kTab).line(hyphens(39));
    if (altimetry == kFlag.stored / 100) {
        w.text(kTab)
            .text("ΥΨΟΜΕΤΡΙΑ ")
            .number(sum, Width::Double)
            .text(" Χ 60% =")
            .number(roundHalfEven(kAltimetryFactor * sum), Width::Double)
            .text(kDrachmas)
            .endLine();
        w.text(kTab).line(hyphens(39));
    }
    const double total = sum + roundHalfEven(sum * altimetry * kAltimetryFactor);
    w.text(kTab)
        .text("Συνολο.............:")
        .number(total, Width::Double)
        .text(kDrachmas)
        .endLine();
    writeFragment(in, categoryOf(CategoryId::Taxi).fragment, w);
    return total;
}

double priceAsti(const PricingInput& in) {
    std::optional<double> price;
    if (auto i = in.scale.index()) price = kAstiPrices[*i];
    const double area = readInput(in, CategoryId::Asti)[0];
    return priceOne(in, categoryOf(CategoryId::Asti).fragment, "ΑΠΟΤΥΠΩΣΕΙΣ ΑΣΤΙΚΩΝ ΠΕΡΙΟΧΩΝ",
                    "Εμβαδο σε Στρέματα:", area, price);
}

double pricePolygon(const PricingInput& in) {
    const double price = in.planFlag == 1 ? kPolygonInside : kPolygonOutside;
    const double points = readInput(in, CategoryId::Polygon)[0];
    return priceOne(in, categoryOf(CategoryId::Polygon).fragment, "ΠΟΛΥΓΩΝΟΜΕΤΡΙΚΑ ΣΗΜΕΙΑ",
                    "Αριθμός Πολυγωνομετρικών σημείων:", points, price);
}

double priceRymotom(const PricingInput& in) {
    const auto q = readInput(in, CategoryId::Rymotom);
    const double axis = q[0], corners = q[1];
    const double axisAmount = lineAmount(axis, kAxisPoint);
    const double cornerAmount = lineAmount(corners, kBlockCorner);
    const double total = axisAmount + cornerAmount;
    LineWriter w = in.store.writer();
    if (axis + corners > 0) {
        header(w, "ΡΥΜΟΤΟΜΙΚΕΣ-ΟΙΚΟΔΟΜΙΚΕΣ ΓΡΑΜΜΕΣ", 31);
        if (axis > 0) {
            pricedQuantity(w, "Σημεία Άξονα Οδού", axis, kAxisPoint, axisAmount);
        }
        if (corners > 0) {
            pricedQuantity(w, "Σημεία Ρυμοτομικων-Οικοδομικων Γραμμών ", corners, kBlockCorner,
                           cornerAmount);
        }
        w.text(kTab).line(hyphens(27));
        w.text(kTab).text("ΣΥΝΟΛΟ = ").number(total, Width::Double).endLine();
    }
    writeFragment(in, categoryOf(CategoryId::Rymotom).fragment, w);
    return total;
}

double priceTrig(const PricingInput& in) {
    struct Kind {
        std::string_view label;
        double price;
    };
    static constexpr Kind kKinds[4] = {
        {"Τριγωνομετρικά σημεία ΙΙΙ Τάξης", 10400},
        {"Τριγωνομετρικά σημεία ΙV Τάξης", 4550},
        {"Εμπροσθοτομία", 1950},
        {"Οπισθοτομία", 1300},
    };
    const auto t = readInput(in, CategoryId::Trig);
    double amounts[4];
    for (std::size_t k = 0; k < 4; ++k) amounts[k] = lineAmount(t[k], kKinds[k].price);
    const double total = amounts[0] + amounts[1] + amounts[2] + amounts[3];
    LineWriter w = in.store.writer();
    if (t[0] + t[1] + t[2] + t[3] > 0) {
        header(w, "      TΡΙΓΩΝΙΣΜΟΣ", 24);
        for (std::size_t k = 0; k < 4; ++k) {
            if (!(t[k] > 0)) continue;
            pricedQuantity(w, kKinds[k].label, t[k], kKinds[k].price, amounts[k]);
        }
        w.text(kTab).line(hyphens(27));
        w.text(kTab).text("ΣΥΝΟΛΟ = ").number(total, Width::Double).text(kDrachmas).endLine();
    }
    writeFragment(in, categoryOf(CategoryId::Trig).fragment, w);
    return total;
}

double priceThem(const PricingInput& in) {
    const double area = readInput(in, CategoryId::Them)[0];
    // No building, no equivalent points: the four every building counts come with an area.
    const double points = area > 0 ? buildingPoints(area) : 0;
    return priceOne(in, categoryOf(CategoryId::Them).fragment, "      Xάραξη Κτιρίων",
                    "Ισόδύναμια σε Πολυγωνομετρικά σημεία:", points, kBuildingPoint);
}

double priceXilosta(const PricingInput& in) {
    const double properties = readInput(in, CategoryId::Xilosta)[0];
    return priceOne(in, categoryOf(CategoryId::Xilosta).fragment, "     Κατανομή Χιλιοστών",
                    "Αριθμός Οριζοντίων ιδιοκτησιών:", properties, kProperty);
}

double priceOix(const PricingInput& in) {
    const double corners = readInput(in, CategoryId::Oix)[0];
    return priceOne(in, categoryOf(CategoryId::Oix).fragment, "     Xάραξη Οικοπέδων",
                    "Ισόδύναμια σε Πολυγωνομετρικά σημεία:", corners, kPlotCorner);
}

PricingOperation pricingOf(CategoryId id) {
    switch (id) {
        case CategoryId::Analog:
            return priceAnalog;
        case CategoryId::Taxi:
            return priceTaxi;
        case CategoryId::Asti:
            return priceAsti;
        case CategoryId::Polygon:
            return pricePolygon;
        case CategoryId::Rymotom:
            return priceRymotom;
        case CategoryId::Trig:
            return priceTrig;
        case CategoryId::Them:
            return priceThem;
        case CategoryId::Xilosta:
            return priceXilosta;
        case CategoryId::Oix:
            return priceOix;
    }
    return nullptr;
}

}  // namespace fee
