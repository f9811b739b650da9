#pragma once
// What the program is called, its version and its authors: shown by the splash, the main menu,
// the command line and the credit line of every statement, so they are kept in one place.

#include <array>
#include <string>
#include <string_view>

namespace fee {

inline constexpr std::string_view kProductName = "Orvekia";

inline constexpr int kVersionMajor = 1;
inline constexpr int kVersionMinor = 3;
inline constexpr int kVersionRevision = 0;

// "1.3.0"
inline std::string versionNumber() {
    return std::to_string(kVersionMajor) + "." + std::to_string(kVersionMinor) + "." +
           std::to_string(kVersionRevision);
}

struct Author {
    std::string_view name;
    std::string_view title;  // professional title
};

inline constexpr std::array<Author, 2> kAuthors = {{
    {"Νίκος Παπαδάκης", "Αγρονόμος Τοπογράφος Μηχανικός"},
    {"Γιώργος Αλεξίου", "Πολιτικός Μηχανικός"},
}};

}  // namespace fee
