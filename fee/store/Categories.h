#pragma once
// The nine kinds of work a job may hold, and the files each one keeps. Everything that knows a
// category by its files (the finish step, the pricing, the entry windows, the job overview)
// reads them here, so a category's files are named in this one place.

#include <array>
#include <cstddef>
#include <string_view>

namespace fee {

// In the order the statement prices them.
enum class CategoryId { Analog, Taxi, Asti, Polygon, Rymotom, Trig, Them, Xilosta, Oix };

struct CategoryFiles {
    CategoryId id;
    std::string_view input;     // what the user entered, in the job folder
    std::string_view fragment;  // the statement's part it is priced into
    int fields;                 // how many numbers the input file keeps
};

// Indexed by CategoryId: the pricing and the finish step walk it in this order.
inline constexpr std::array<CategoryFiles, 9> kCategoryFiles = {{
    {CategoryId::Analog, "analog.dat", "analog1.dat", 1},
    {CategoryId::Taxi, "taxi.dat", "taxi1.dat", 6},
    {CategoryId::Asti, "asti.dat", "asti1.dat", 1},
    {CategoryId::Polygon, "polygon.dat", "polygon1.dat", 1},
    {CategoryId::Rymotom, "rymotom.dat", "rymotom1.dat", 2},
    {CategoryId::Trig, "trig.dat", "trig1.dat", 4},
    {CategoryId::Them, "them.dat", "them1.dat", 1},
    {CategoryId::Xilosta, "xilosta.dat", "xilosta1.dat", 1},
    {CategoryId::Oix, "oix.dat", "oix1.dat", 1},
}};

constexpr const CategoryFiles& categoryFiles(CategoryId id) {
    return kCategoryFiles[static_cast<std::size_t>(id)];
}

namespace detail {
constexpr bool categoryFilesIndexedById() {
    for (std::size_t i = 0; i < kCategoryFiles.size(); ++i)
        if (static_cast<std::size_t>(kCategoryFiles[i].id) != i) return false;
    return true;
}
}  // namespace detail
static_assert(detail::categoryFilesIndexedById(), "kCategoryFiles must be indexed by CategoryId");

}  // namespace fee
