#pragma once
// The setup data files read key by key the way the profile reader reads them: a missing file,
// section or key, and an empty value, all read as the empty text; each key has its longest
// value and a longer one is cut.

#include <cstddef>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "platform/Profile.h"

namespace setup {

class SetupData {
public:
    SetupData(const platform::ProfileFiles& profiles, std::string path)
        : profiles_(profiles), path_(std::move(path)) {}

    const std::string& path() const { return path_; }
    // The text of a key, at most `longest` characters (the buffer is one more).
    std::string text(std::string_view section, std::string_view key,
                     std::size_t longest = 99) const;
    // A switch is on when the value reads as the integer 1 in the manner of strtol.
    bool on(std::string_view section, std::string_view key, std::size_t longest = 99) const;
    // The value read as a decimal integer in the manner of strtol (no digits: 0).
    long number(std::string_view section, std::string_view key, std::size_t longest = 99) const;
    // Every key of a section with its whole value, the file read once.
    std::vector<std::pair<std::string, std::string>> values(std::string_view section) const {
        return profiles_.values(path_, section);
    }

private:
    const platform::ProfileFiles& profiles_;
    std::string path_;
};

// strtol's reading: leading blanks, an optional sign, digits up to the first other character.
long leadingInteger(std::string_view text);

// Every "********" replaced by the product name.
std::string applyPlaceholder(std::string_view text, std::string_view productName);

// The page texts of language.tag ([LANGUAGE]), when the file existed at start-up.
class LanguageTexts {
public:
    LanguageTexts(const platform::ProfileFiles& profiles, std::string path, bool present)
        : data_(profiles, std::move(path)), present_(present) {}
    bool present() const { return present_; }
    // The text of key n with its longest value from the table of [LANGUAGE] keys; the
    // placeholder is applied for the keys marked so when productName is given.
    std::string text(int key, std::string_view productName = {}) const;

private:
    SetupData data_;
    bool present_;
};

}  // namespace setup
