// dezovur's command line: which arguments start the windows, and `dezovur statement`.

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/file.h>
#include <unistd.h>

#include <filesystem>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "fee/calc/StatementCommand.h"
#include "platform/FileSystem.h"
#include "support/TempWinRoot.h"

namespace {

using testing_support::cp1253;

struct Outcome {
    std::optional<int> status;
    std::string out, err;
};

Outcome run(std::vector<std::string> args, const std::filesystem::path& programFolder = {}) {
    args.insert(args.begin(), "dezovur");
    std::vector<char*> argv;
    for (auto& a : args) argv.push_back(a.data());
    argv.push_back(nullptr);
    std::ostringstream out, err;
    Outcome r;
    r.status =
        fee::runCommandLine(static_cast<int>(args.size()), argv.data(), out, err, programFolder);
    r.out = out.str();
    r.err = err.str();
    return r;
}

class CommandLine : public ::testing::Test {
protected:
    static constexpr const char* kJob = "c:\\program files\\dezovur\\ΑΒ";

    void makeJob() {
        auto& fs = root.fs();
        fs.createDirectory("c:\\program files");
        fs.createDirectory("c:\\program files\\dezovur");
        fs.createDirectory(kJob);
        put("temp.dat", cp1253(std::string(kJob) + "\r\n"), false);
        put("STOIXEIA.dat", cp1253("Α\r\nΒ\r\nΟδός 1\r\nΠόλη\r\nΔήμος\r\nΔΔ\r\nΘέση\r\nΓ\r\nΔ\r\n"
                                   "Οδός 2\r\nΠόλη 2\r\nΠολιτικός Μηχανικός\r\n"));
        put("klimaka.dat", " 200 \r\n");
        put("entos.dat", " 0 \r\n");
        put("l.dat", "29350\r\n");
        put("polygon.dat", " 300 \r\n");
    }
    void put(const std::string& name, const std::string& bytes, bool inJob = true) {
        const std::string where =
            inJob ? std::string(kJob) + "\\" + name : "c:\\program files\\dezovur\\" + name;
        ASSERT_TRUE(root.fs().writeFile(where, bytes));
    }

    testing_support::TempWinRoot root;
};

TEST_F(CommandLine, windows_start_without_a_command_or_with_qt_options) {
    EXPECT_FALSE(run({}).status.has_value());
    EXPECT_FALSE(run({"-platform", "offscreen"}).status.has_value());
    EXPECT_FALSE(run({"--style=fusion"}).status.has_value());
    // Nothing is written when only the windows were asked for.
    EXPECT_FALSE(root.fs().exists("c:\\program files\\dezovur"));
}

TEST_F(CommandLine, help_and_version) {
    for (const char* arg : {"--help", "-h"}) {
        const Outcome r = run({arg});
        EXPECT_EQ(r.status, 0);
        EXPECT_NE(r.out.find("statement"), std::string::npos);
        EXPECT_NE(r.out.find("Χρήση"), std::string::npos);
        EXPECT_EQ(r.err, "");
    }
    EXPECT_EQ(run({"--version"}).out, "dezovur 1.3.0\n");
}

TEST_F(CommandLine, unknown_commands_fail_in_greek) {
    for (auto args :
         std::vector<std::vector<std::string>>{{"statment"}, {"--bogus"}, {"statement", "extra"}}) {
        const Outcome r = run(args);
        EXPECT_EQ(r.status, 2) << args[0];
        EXPECT_EQ(r.out, "");
        EXPECT_NE(r.err.find("dezovur --help"), std::string::npos) << r.err;
    }
    EXPECT_NE(run({"statment"}).err.find("άγνωστη εντολή «statment»"), std::string::npos);
}

TEST_F(CommandLine, statement_without_a_job_fails_and_writes_nothing) {
    Outcome r = run({"statement"});
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.out, "");
    EXPECT_NE(r.err.find("μελέτη"), std::string::npos) << r.err;

    makeJob();
    put("temp.dat", cp1253("c:\\program files\\dezovur\\ΓΔ\r\n"), false);
    r = run({"statement"});
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.out, "");
    EXPECT_FALSE(root.fs().exists(std::string(kJob) + "\\synola.dat"));
}

TEST_F(CommandLine, statement_that_could_not_be_written_or_priced_fails_with_the_reason) {
    makeJob();
    put("polygon1.dat", "old\r\n");
    ASSERT_TRUE(
        root.fs().setAttributes(std::string(kJob) + "\\polygon1.dat", platform::kAttrReadOnly));
    Outcome r = run({"statement"});
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.out, "");
    EXPECT_NE(r.err.find(std::string(kJob) + "\\polygon1.dat"), std::string::npos) << r.err;
    EXPECT_NE(r.err.find("δεν είναι πλήρης"), std::string::npos) << r.err;

    put("l.dat", " -1247 \r\n");
    r = run({"statement"});
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.err.find("l.dat: η τιμή είναι αρνητική"), std::string::npos) << r.err;
}

TEST_F(CommandLine, statement_prints_the_assembled_job_in_utf8) {
    makeJob();
    const Outcome r = run({"statement"});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.err, "");
    const std::string H83(83, '-'), H28(28, '-'), H31(31, '-');
    // 3 polygonometric points outside a town plan: 780 drachmas; F = floor(780 * 0.2935 * 100)
    // / 100 = 228.93.
    const std::string expected =
        "\tOrvekia 1.3.0 - Νίκος Παπαδάκης, Αγρονόμος Τοπογράφος Μηχανικός - Γιώργος Αλεξίου, "
        "Πολιτικός Μηχανικός\r\n" +
        std::string(143, '_') +
        "\r\n"
        "    Οι τιμές μονάδος δίνονται απο το ΠΔ696/74  σε δραχμές. Η μετατροπή σε € γίνεται με "
        "την τιμή του συντελεστή λ\r\n"
        "\r\n"
        "\r\n"
        "ΙΔΙΟΚΤΗΤΗΣ:Α Β\r\n"
        "Οδός 1 Πόλη\r\n"
        "ΘΕΣΗ:Θέση  Δημοτικού Διαμερίσματος ΔΔ του Δήμου Δήμος\r\n"
        "\r\n"
        "\t\t\tΑΜΟΙΒΕΣ ΤΟΠΟΓΡΑΦΙΚΩΝ ΕΡΓΑΣΙΩΝ\r\n"
        "\t\t\t" +
        std::string(34, '=') +
        "\r\n"
        "\r\n"
        "Κλίμακα 1: 200 \r\n"
        "Συντελεστής λ= ,2935 \r\n"
        "ΠΕΡΙΟΧΗ ΕΚΤΟΣ ΣΧΕΔΙΟΥ ΠΟΛΕΩΣ & ΕΚΤΟΣ ΟΙΚΙΣΜΟΥ\r\n" +
        std::string(69, '_') + "\r\n" + H83 +
        "\r\n"
        "\tΠΟΛΥΓΩΝΟΜΕΤΡΙΚΑ ΣΗΜΕΙΑ\r\n"
        "\t" +
        H28 +
        "\r\n"
        "\tΑριθμός Πολυγωνομετρικών σημείων: 3 \r\n"
        "\tΤιμή Μονάδος: 260 δρχ\r\n"
        "\t 3 X 260 = 780 δρχ\r\n" +
        H83 +
        "\r\n"
        "\r\n"
        "ΓΕΝΙΚΟ ΣΥΝΟΛΟ...... 780 δρχ\r\n" +
        H31 +
        "\r\n"
        "ΑΜΟΙΒΗ ΜΕΛΈΤΗΣ =  780  X  ,2935  =  228,93 €\r\n"
        "\tΦ.Π.Α. 18%     =  41,2 €\r\n"
        "\tΦ.Ε.Μ   4%     =  9,15 €\r\n"
        "\tΤΣΜΕΔΕ  3% =  6,86 €\r\n"
        "\tT.E.E   2%     =  4,57 €\r\n"
        "\t" +
        H31 +
        "\r\n"
        "\tΣΥΝΟΛΟ.........=  290,74 €\r\n"
        "\r\n"
        "\r\n"
        "\t     O ΜΗΧΑΝΙΚΟΣ\r\n"
        "\r\n"
        "\r\n"
        "\r\n"
        "\r\n"
        "\t Γ Δ\r\n"
        "\t Πολιτικός Μηχανικός\r\n"
        "\t Οδός 2  Πόλη 2\r\n";
    EXPECT_EQ(r.out, expected);
    // The files are left behind for the document window.
    EXPECT_TRUE(root.fs().exists(std::string(kJob) + "\\synola.dat"));
}

// Installed by setup into a folder of the user's choosing, the program works on the job list
// and jobs installed beside it; a program alone in its folder keeps to the default folder.
TEST_F(CommandLine, statement_works_on_the_data_beside_an_installed_program) {
    makeJob();
    const std::string installed = "c:\\apps\\orvekia\\";
    auto& fs = root.fs();
    ASSERT_TRUE(fs.createDirectory("c:\\apps"));
    ASSERT_TRUE(fs.createDirectory(installed));
    ASSERT_TRUE(fs.writeFile(installed + "Ergasies.dat", cp1253("Ε\r\nΖ\r\n")));
    ASSERT_TRUE(fs.writeFile(installed + "l.dat", "29350\r\n"));
    ASSERT_TRUE(fs.createDirectory(installed + "ΕΖ"));
    ASSERT_TRUE(fs.writeFile(installed + "temp.dat", cp1253(installed + "ΕΖ\r\n")));
    ASSERT_TRUE(fs.writeFile(installed + "ΕΖ\\STOIXEIA.dat",
                             cp1253("Ε\r\nΖ\r\n\r\n\r\n\r\n\r\n\r\nΗ\r\nΘ\r\n\r\n\r\n\r\n")));
    ASSERT_TRUE(fs.writeFile(installed + "ΕΖ\\l.dat", "29350\r\n"));

    const Outcome r = run({"statement"}, root.driveC() / "apps" / "orvekia");
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_NE(r.out.find("ΙΔΙΟΚΤΗΤΗΣ:Ε Ζ\r\n"), std::string::npos) << r.out;
    EXPECT_TRUE(fs.exists(installed + "ΕΖ\\telos.dat"));
    EXPECT_FALSE(fs.exists(std::string(kJob) + "\\telos.dat"));

    // The same folder without the installation's files is no data folder: the default's job.
    ASSERT_TRUE(fs.removeFile(installed + "Ergasies.dat"));
    const Outcome alone = run({"statement"}, root.driveC() / "apps" / "orvekia");
    ASSERT_EQ(alone.status, 0) << alone.err;
    EXPECT_NE(alone.out.find("ΙΔΙΟΚΤΗΤΗΣ:Α Β\r\n"), std::string::npos) << alone.out;
}

// A run killed while writing leaves its temporary files beside the fragments, named after the
// fragment, the process id and a count. A later run, even one given the same process id, must
// write the whole statement and clear them away, and touch no other file.
TEST_F(CommandLine, statement_clears_what_killed_runs_left_and_nothing_else) {
    makeJob();
    const Outcome undisturbed = run({"statement"});
    ASSERT_EQ(undisturbed.status, 0) << undisturbed.err;

    namespace fs = std::filesystem;
    const fs::path inC = fs::path("program files") / "dezovur" / "ΑΒ";
    const fs::path job = root.driveC() / inC;
    const auto names = [&job] {
        std::set<std::string> out;
        for (const auto& entry : fs::directory_iterator(job))
            out.insert(entry.path().filename().string());
        return out;
    };
    std::set<std::string> expected = names();
    const std::string pid = std::to_string(::getpid());
    std::set<std::string> abandoned;
    // The names this process gives analog1.dat's temporary file first, as a dead run with the
    // same process id left them; and two of other runs.
    for (int n = 0; n < 1000; ++n)
        abandoned.insert(".analog1.dat." + pid + "." + std::to_string(n) + ".new");
    abandoned.insert(".telos.dat.4194303.0.new");
    abandoned.insert(".synola.dat.17.2.new");
    const std::set<std::string> others = {
        ".analog1.dat.new",        ".analog1.dat.17.new",  ".analog1.dat.17.x.new",
        ".analog1.dat.17.2.new.1", "analog1.dat.17.2.new", ".analog.dat.17.2.new",
        ".polygon1.dat.17..new",
    };
    for (const std::string& name : abandoned) root.writeHostFile(inC / name, "left\r\n");
    for (const std::string& name : others) root.writeHostFile(inC / name, "left\r\n");
    // One whose writer is still at work on it (and holds its lock), and a link that looks like
    // one left behind: neither is to be removed, and the link's file is not to be written.
    const std::string busy = ".trig1.dat.17.3.new";
    root.writeHostFile(inC / busy, "busy");
    const int writer = ::open((job / busy).c_str(), O_RDONLY | O_CLOEXEC);
    ASSERT_GE(writer, 0);
    ASSERT_EQ(::flock(writer, LOCK_EX), 0);
    root.writeHostFile("elsewhere.txt", "keep");
    const std::string link = ".oix1.dat.17.4.new";
    fs::create_symlink(root.driveC() / "elsewhere.txt", job / link);

    const Outcome later = run({"statement"});
    ::close(writer);
    EXPECT_EQ(later.status, 0) << later.err;
    EXPECT_EQ(later.out, undisturbed.out);

    expected.insert(others.begin(), others.end());
    expected.insert(busy);
    expected.insert(link);
    EXPECT_EQ(names(), expected);
    EXPECT_EQ(root.readHostFile("elsewhere.txt"), "keep");
}

}  // namespace
