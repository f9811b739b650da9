#pragma once
// Pricing of the nine categories of work.
//
// Each category has one pricing operation: it reads the category's input file from the job
// folder (quantities stored as hundredths), prices them with the decree's unit prices in
// drachmas, writes the category's report fragment afresh and returns the category amount.
// The statement assembly walks kCategories in order, prices each row with pricingOf(row.id) and
// adds the amount to the grand total; it knows nothing about any single category.
//
// Arithmetic is plain IEEE double evaluated left to right, as the amounts on a signed statement
// must come out exactly the same every time: a line amount is roundHalfEven(quantity * price)
// on the double product, never an integer or decimal shortcut.

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "fee/calc/Statement.h"
#include "fee/store/Categories.h"
#include "fee/store/DataStore.h"

namespace fee {

// The map scale of a job as klimaka.dat holds it.
struct Scale {
    // Set when the first field reads as a number (" 500 " and "500" alike).
    std::optional<double> value;
    // The field as read; printed as it stands when it is not a number.
    std::string text;

    // 0 to 4 for 1:100, 1:200, 1:500, 1:1000, 1:2000; empty for any other or no scale.
    std::optional<std::size_t> index() const;
};

// Missing or empty klimaka.dat, or a blank first field: no value and no text.
Scale readScale(const DataStore& store, std::string_view jobPath);

// The town-plan flag of entos.dat (1 = inside a town plan); 0 when it cannot be read.
std::int16_t readPlanFlag(const DataStore& store, std::string_view jobPath);

// l.dat / 100000 as a single; 0 when it cannot be read.
float readLambda(const DataStore& store, std::string_view jobPath);

// What every pricing operation is given.
struct PricingInput {
    DataStore& store;
    std::string_view jobPath;
    const Scale& scale;
    std::int16_t planFlag;
    // Fragments that could not be written are added here (when given).
    std::vector<std::string>* failedFragments = nullptr;
};

using PricingOperation = double (*)(const PricingInput& in);

// The operation that prices a category.
PricingOperation pricingOf(CategoryId id);

double priceAnalog(const PricingInput& in);
double priceTaxi(const PricingInput& in);
double priceAsti(const PricingInput& in);
double pricePolygon(const PricingInput& in);
double priceRymotom(const PricingInput& in);
double priceTrig(const PricingInput& in);
double priceThem(const PricingInput& in);
double priceXilosta(const PricingInput& in);
double priceOix(const PricingInput& in);

// Whether the job's engineer may enter triangulation points: surveying and civil engineers
// (specialty codes 1 and 2) may; so may an unrecognised specialty or a missing eid.dat (0).
bool mayEnterTriangulation(const DataStore& store, std::string_view jobPath);

// Equivalent polygonometric points of a building of the given area in square metres.
double buildingPoints(double area);

}  // namespace fee
