// The built dezovur program, run as a user runs it. It is linked whole (no shared C library),
// so this is where a difference from the libraries the other tests link would show: `dezovur
// statement` must print what the command prints in this process, byte for byte, and take its
// decimal separator from the locale it is started under.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>
#include <string>

#include "fee/calc/StatementCommand.h"
#include "support/Locales.h"
#include "support/TempWinRoot.h"

namespace fs = std::filesystem;

namespace {

using testing_support::cp1253;

struct Printed {
    int status = -1;
    std::string out, err;
};

std::string contents(const fs::path& file) {
    std::ifstream in(file, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
}

Printed runProgram(const testing_support::TempWinRoot& root, const fs::path& locales,
                   const std::string& locale) {
    const fs::path out = root.root() / "out.txt", err = root.root() / "err.txt";
    const std::string command = "env LOCPATH='" + locales.string() + "' LC_ALL=" + locale +
                                " WINROOT='" + root.root().string() + "' XDG_DATA_HOME='" +
                                (root.root() / "xdg").string() + "' '" + DEZOVUR_BINARY +
                                "' statement >'" + out.string() + "' 2>'" + err.string() + "'";
    const int raw = std::system(command.c_str());
    return {WIFEXITED(raw) ? WEXITSTATUS(raw) : -1, contents(out), contents(err)};
}

TEST(StatementProgram, prints_what_the_command_prints_in_the_locale_it_is_started_under) {
    testing_support::TempWinRoot root;
    auto& fs = root.fs();
    const std::string job = "c:\\program files\\dezovur\\ΑΒ";
    ASSERT_TRUE(fs.createDirectory("c:\\program files"));
    ASSERT_TRUE(fs.createDirectory("c:\\program files\\dezovur"));
    ASSERT_TRUE(fs.createDirectory(job));
    ASSERT_TRUE(fs.writeFile("c:\\program files\\dezovur\\temp.dat", cp1253(job + "\r\n")));
    const std::pair<const char*, std::string> files[] = {
        {"STOIXEIA.dat", cp1253("Α\r\nΒ\r\nΟδός 1\r\nΠόλη\r\nΔήμος\r\nΔΔ\r\nΘέση\r\nΓ\r\nΔ\r\n"
                                "Οδός 2\r\nΠόλη 2\r\nΠολιτικός Μηχανικός\r\n")},
        {"klimaka.dat", " 200 \r\n"},
        {"l.dat", "29350\r\n"},
        {"polygon.dat", " 300 \r\n"},
        {"taxi.dat", " 1250 \r\n 300 \r\n 400 \r\n 150 \r\n 75 \r\n 100 \r\n"},
    };
    for (const auto& [name, bytes] : files) ASSERT_TRUE(fs.writeFile(job + "\\" + name, bytes));

    // The tests run under LC_ALL=C, whose separator is the comma.
    char name[] = "dezovur", statement[] = "statement";
    char* argv[] = {name, statement, nullptr};
    std::ostringstream expected, problems;
    ASSERT_EQ(fee::runCommandLine(2, argv, expected, problems, {}), 0) << problems.str();
    ASSERT_NE(expected.str().find("Συντελεστής λ= ,2935 \r\n"), std::string::npos)
        << expected.str();

    const fs::path locales = root.root() / "locales";
    for (const char* locale : {"en_US", "el_GR"})
        ASSERT_TRUE(testing_support::buildLocale(locales, locale)) << "localedef: " << locale;

    const Printed plain = runProgram(root, locales, "C");
    EXPECT_EQ(plain.status, 0) << plain.err;
    EXPECT_EQ(plain.out, expected.str());

    const Printed english = runProgram(root, locales, "en_US.UTF-8");
    EXPECT_EQ(english.status, 0) << english.err;
    EXPECT_NE(english.out.find("Συντελεστής λ= .2935 \r\n"), std::string::npos) << english.out;
    EXPECT_EQ(english.out.find(",2935"), std::string::npos) << english.out;

    const Printed greek = runProgram(root, locales, "el_GR.UTF-8");
    EXPECT_EQ(greek.status, 0) << greek.err;
    EXPECT_EQ(greek.out, expected.str());
}

}  // namespace
