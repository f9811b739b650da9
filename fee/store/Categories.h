#pragma once
// The nine kinds of work a job may hold, one row each. A row is everything the program knows
// about a category apart from its unit prices and the wording of its window: the input file and
// how it keeps its numbers, the statement fragment and its place in the printed statement, the
// altimetry flag among the numbers, and the entry window that takes them. The finish step, the
// pricing, the statement and the windows all read their facts here, so adding or changing a
// category touches one row.
//
// This is the lowest layer, so a row names its window rather than holding it: the object names
// the window is found by and the kind of window, which fee/app turns into a window class. The
// pricing likewise finds its operation by the row's id (fee/calc's pricingOf).

#include <array>
#include <cstddef>
#include <optional>
#include <string_view>

#include "fee/store/Number.h"

namespace fee {

// In the order the statement prices them (and the rows of kCategories).
enum class CategoryId { Analog, Taxi, Asti, Polygon, Rymotom, Trig, Them, Xilosta, Oix };

// Which kind of window enters a category's numbers.
enum class EntryWindowKind {
    Fields,        // one labelled field per number of the input file
    SlopeClasses,  // one tab per slope class, then the altimetry check box
};

// A yes/no kept among the numbers of an input file, as hundredths like every other number.
struct FlagField {
    int index;      // which number of the file, from 0
    double stored;  // what the file holds when it is set; 0 when not
};

struct Category {
    CategoryId id;
    std::string_view input;  // what the user entered, in the job folder
    int fields;              // how many numbers the input file keeps
    // How the entry window writes them; the finish step rewrites every file as doubles.
    Width width;
    std::string_view fragment;  // the statement's part it is priced into
    int printed;                // the fragment's place among the nine in the printed statement
    std::optional<FlagField> altimetry = std::nullopt;
    EntryWindowKind window;
    std::string_view newWindow;   // object name of the window that enters a new job's numbers
    std::string_view editWindow;  // and of the one that edits them
};

// Indexed by CategoryId: the pricing and the finish step walk it in this order. The statement
// prints the fragments in another order, triangulation first (each row's printed place).
inline constexpr std::array<Category, 9> kCategories = {{
    {.id = CategoryId::Analog,
     .input = "analog.dat",
     .fields = 1,
     .width = Width::Int16,
     .fragment = "analog1.dat",
     .printed = 5,
     .window = EntryWindowKind::Fields,
     .newWindow = "Form7",
     .editWindow = "analog1"},
    {.id = CategoryId::Taxi,
     .input = "taxi.dat",
     .fields = 6,
     .width = Width::Int16,
     .fragment = "taxi1.dat",
     .printed = 2,
     .altimetry = FlagField{.index = 5, .stored = 100},
     .window = EntryWindowKind::SlopeClasses,
     .newWindow = "form5",
     .editWindow = "taxi1"},
    {.id = CategoryId::Asti,
     .input = "asti.dat",
     .fields = 1,
     .width = Width::Int16,
     .fragment = "asti1.dat",
     .printed = 3,
     .window = EntryWindowKind::Fields,
     .newWindow = "Form6",
     .editWindow = "asti1"},
    {.id = CategoryId::Polygon,
     .input = "polygon.dat",
     .fields = 1,
     .width = Width::Int16,
     .fragment = "polygon1.dat",
     .printed = 1,
     .window = EntryWindowKind::Fields,
     .newWindow = "Form4",
     .editWindow = "poligon1"},
    {.id = CategoryId::Rymotom,
     .input = "rymotom.dat",
     .fields = 2,
     .width = Width::Int16,
     .fragment = "rymotom1.dat",
     .printed = 4,
     .window = EntryWindowKind::Fields,
     .newWindow = "Form8",
     .editWindow = "rymot"},
    {.id = CategoryId::Trig,
     .input = "trig.dat",
     .fields = 4,
     .width = Width::Int16,
     .fragment = "trig1.dat",
     .printed = 0,
     .window = EntryWindowKind::Fields,
     .newWindow = "form3",
     .editWindow = "trigonismos1"},
    // A building's area in whole hundredths of m² as a double: a 16-bit integer stops at
    // 327.67 m², and a single would cut 12.345 m² to 12.34 and write large areas in exponent
    // form.
    {.id = CategoryId::Them,
     .input = "them.dat",
     .fields = 1,
     .width = Width::Double,
     .fragment = "them1.dat",
     .printed = 7,
     .window = EntryWindowKind::Fields,
     .newWindow = "Form12",
     .editWindow = "ktiria1"},
    {.id = CategoryId::Xilosta,
     .input = "xilosta.dat",
     .fields = 1,
     .width = Width::Int16,
     .fragment = "xilosta1.dat",
     .printed = 8,
     .window = EntryWindowKind::Fields,
     .newWindow = "Form10",
     .editWindow = "xiliosta1"},
    {.id = CategoryId::Oix,
     .input = "oix.dat",
     .fields = 1,
     .width = Width::Int16,
     .fragment = "oix1.dat",
     .printed = 6,
     .window = EntryWindowKind::Fields,
     .newWindow = "Form11",
     .editWindow = "oikopeda1"},
}};

constexpr const Category& categoryOf(CategoryId id) {
    return kCategories[static_cast<std::size_t>(id)];
}

// The nine fragments in printed order.
constexpr std::array<std::string_view, kCategories.size()> printedFragments() {
    std::array<std::string_view, kCategories.size()> out{};
    for (const Category& c : kCategories) out[static_cast<std::size_t>(c.printed)] = c.fragment;
    return out;
}

namespace detail {
constexpr bool categoriesWellFormed() {
    std::array<bool, kCategories.size()> placeTaken{};
    for (std::size_t i = 0; i < kCategories.size(); ++i) {
        const Category& c = kCategories[i];
        if (static_cast<std::size_t>(c.id) != i) return false;
        if (c.printed < 0 || static_cast<std::size_t>(c.printed) >= kCategories.size())
            return false;
        if (placeTaken[static_cast<std::size_t>(c.printed)]) return false;
        placeTaken[static_cast<std::size_t>(c.printed)] = true;
        if (c.altimetry && (c.altimetry->index < 0 || c.altimetry->index >= c.fields)) return false;
    }
    return true;
}
}  // namespace detail
static_assert(detail::categoriesWellFormed(),
              "kCategories: rows indexed by CategoryId, each printed place once, flags in range");

}  // namespace fee
