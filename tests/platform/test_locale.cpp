#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string>

#include "platform/Locale.h"
#include "support/Locales.h"
#include "support/TempWinRoot.h"

// glibc's newlocale keeps a copy of LOCPATH it never frees; only this test sets LOCPATH.
extern "C" const char* __lsan_default_suppressions() {
    return "leak:__argz_add_sep\n";
}

namespace {

// Sets the locale variables for one test and puts the old values back.
class LocaleEnvironment {
public:
    LocaleEnvironment() {
        for (auto& [name, value, had] : saved_) {
            if (const char* v = std::getenv(name)) {
                value = v;
                had = true;
            }
            unsetenv(name);
        }
    }
    ~LocaleEnvironment() {
        for (auto& [name, value, had] : saved_) {
            if (had)
                setenv(name, value.c_str(), 1);
            else
                unsetenv(name);
        }
    }

private:
    struct Saved {
        const char* name;
        std::string value;
        bool had;
    };
    Saved saved_[4] = {{"LC_ALL", "", false},
                       {"LC_NUMERIC", "", false},
                       {"LANG", "", false},
                       {"LOCPATH", "", false}};
};

TEST(Locale, comma_where_no_real_locale_is_set) {
    LocaleEnvironment env;
    EXPECT_EQ(platform::decimalSeparator(), ",");
    for (const char* name : {"C", "POSIX", "C.UTF-8", "C.utf8", "xx_NOWHERE.UTF-8", ""}) {
        SCOPED_TRACE(name);
        setenv("LC_ALL", name, 1);
        EXPECT_EQ(platform::decimalSeparator(), ",");
    }
}

TEST(Locale, follows_the_numeric_locale_of_the_environment) {
    LocaleEnvironment env;
    testing_support::TempWinRoot temp;
    const auto dir = temp.root() / "locales";
    for (const char* name : {"el_GR", "en_US"})
        ASSERT_TRUE(testing_support::buildLocale(dir, name)) << "localedef cannot build " << name;
    setenv("LOCPATH", dir.c_str(), 1);

    setenv("LANG", "en_US.UTF-8", 1);
    EXPECT_EQ(platform::decimalSeparator(), ".");
    setenv("LC_NUMERIC", "el_GR.UTF-8", 1);
    EXPECT_EQ(platform::decimalSeparator(), ",");
    setenv("LC_ALL", "en_US.UTF-8", 1);
    EXPECT_EQ(platform::decimalSeparator(), ".");
    setenv("LC_ALL", "", 1);  // empty counts as unset
    EXPECT_EQ(platform::decimalSeparator(), ",");
    setenv("LC_ALL", "C", 1);
    EXPECT_EQ(platform::decimalSeparator(), ",");
}

}  // namespace
