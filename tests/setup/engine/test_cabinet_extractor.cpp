// Every cabinet of the shared test collection, checked against the listing cabextract made of
// it: good cabinets give exactly the listed members (bytes, dates, attributes); broken ones and
// ones with names that are not plain file names fail, leaving nothing outside the extraction
// folder and no member half written.

#include <gtest/gtest.h>

#include <QCryptographicHash>
#include <QFile>
#include <QString>
#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <functional>
#include <map>
#include <set>
#include <sstream>

#include "platform/Cp1253.h"
#include "setup/engine/CabinetExtractor.h"
#include "support/TempWinRoot.h"

namespace fs = std::filesystem;
using setup::ExtractionResult;

namespace {

fs::path testData() {
    if (const char* env = std::getenv("DEZOVUR_TESTDATA")) return env;
    return DEZOVUR_TESTDATA_DIR;
}

class FakePrompter final : public setup::Prompter {
public:
    std::vector<std::string> questions;
    std::function<setup::Answer()> answer = [] { return setup::Answer::Cancel; };
    void message(std::string_view, std::string_view) override {}
    setup::Answer okCancel(std::string_view text, std::string_view) override {
        questions.emplace_back(text);
        return answer();
    }
    setup::Answer yesNo(std::string_view, std::string_view, std::string_view,
                        std::string_view) override {
        return setup::Answer::No;
    }
};

std::string slurp(const fs::path& p) {
    std::ifstream in(p, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

std::string sha256(const fs::path& p) {
    QFile f(QString::fromStdString(p.string()));
    if (!f.open(QIODevice::ReadOnly)) return {};
    QCryptographicHash h(QCryptographicHash::Sha256);
    h.addData(&f);
    return h.result().toHex().toStdString();
}

std::string unhex(const std::string& hex) {
    std::string out;
    if (hex == "(empty)") return out;
    for (std::size_t i = 0; i + 1 < hex.size(); i += 2)
        out += static_cast<char>(std::stoi(hex.substr(i, 2), nullptr, 16));
    return out;
}

// The listing's escapes (\xNN, \uXXXX) back to the bytes of the stored name.
std::string unescape(std::string s) {
    const std::string mark = "(not UTF-8) ";
    const std::string mark2 = "(UTF-8, escaped) ";
    if (s.rfind(mark, 0) == 0) s = s.substr(mark.size());
    if (s.rfind(mark2, 0) == 0) s = s.substr(mark2.size());
    std::string out;
    for (std::size_t i = 0; i < s.size(); ++i) {
        if (s[i] == '\\' && i + 3 < s.size() + 1 && s[i + 1] == 'x' &&
            std::isxdigit(static_cast<unsigned char>(s[i + 2])) &&
            std::isxdigit(static_cast<unsigned char>(s[i + 3]))) {
            out += static_cast<char>(std::stoi(s.substr(i + 2, 2), nullptr, 16));
            i += 3;
        } else if (s[i] == '\\' && i + 5 < s.size() && s[i + 1] == 'u' &&
                   std::all_of(s.begin() + i + 2, s.begin() + i + 6, [](char c) {
                       return std::isxdigit(static_cast<unsigned char>(c));
                   })) {
            const QString c(
                QChar(static_cast<char16_t>(std::stoi(s.substr(i + 2, 4), nullptr, 16))));
            out += c.toUtf8().toStdString();
            i += 5;
        } else {
            out += s[i];
        }
    }
    return out;
}

struct RawMember {
    std::string bytes;
    unsigned attribs = 0;
};
struct Listed {
    std::string sha, path;
    long long size = 0;
    std::int64_t mtime = 0;
};
struct Expected {
    int exitCode = -1;
    std::vector<RawMember> raw;
    std::vector<Listed> listed;
};

Expected parseExpected(const fs::path& p) {
    Expected e;
    std::istringstream in(slurp(p));
    std::string line;
    bool inExtract = false, inTable = false;
    while (std::getline(in, line)) {
        if (line.rfind("== ", 0) == 0) {
            inExtract = line.rfind("== cabextract -d OUT", 0) == 0;
            inTable = false;
            continue;
        }
        if (inExtract && line.rfind("exit_code=", 0) == 0) e.exitCode = std::stoi(line.substr(10));
        if (inExtract && line.rfind("-- extracted", 0) == 0) {
            inTable = true;
            continue;
        }
        if (inTable && line.rfind("--", 0) == 0) inTable = false;
        if (inTable && !line.empty() && line[0] != '(') {
            std::istringstream f(line);
            Listed l;
            std::string mode, day, time;
            f >> l.sha >> l.size >> mode >> day >> time;
            std::getline(f, l.path);
            l.path = unescape(l.path.substr(l.path.find_first_not_of(' ')));
            std::tm t{};
            std::sscanf((day + " " + time).c_str(), "%d-%d-%d %d:%d:%d", &t.tm_year, &t.tm_mon,
                        &t.tm_mday, &t.tm_hour, &t.tm_min, &t.tm_sec);
            t.tm_year -= 1900;
            t.tm_mon -= 1;
            l.mtime = timegm(&t);
            e.listed.push_back(l);
        }
        if (line.rfind("file ", 0) == 0 && line.find(" name_hex=") != std::string::npos) {
            RawMember m;
            const auto a = line.find("attribs=0x");
            m.attribs = static_cast<unsigned>(std::stoul(line.substr(a + 10, 4), nullptr, 16));
            const auto h = line.find("name_hex=") + 9;
            m.bytes = unhex(line.substr(h, line.find(' ', h) - h));
            e.raw.push_back(m);
        }
    }
    return e;
}

// The name our extractor must give a stored name, worked out independently of it; empty when
// the name must be refused.
std::string plainName(const RawMember& m) {
    std::string name = m.bytes;
    if (m.attribs & 0x80) {
        const QByteArray bytes = QByteArray::fromStdString(name);
        const QString text = QString::fromUtf8(bytes);
        if (text.toUtf8() != bytes) return {};
        for (const QChar c : text)
            if (c.unicode() >= 0x80 && c.unicode() <= 0x9F) return {};
    } else {
        name = platform::cp1253ToUtf8(name);
        if (name.find("\xEF\xBF\xBD") != std::string::npos) return {};
    }
    if (name.find_first_not_of(" .") == std::string::npos) return {};
    for (const unsigned char c : name)
        if (c < 0x20 || c == 0x7F ||
            std::string_view("\\/:*?\"<>|").find(static_cast<char>(c)) != std::string_view::npos)
            return {};
    return name;
}

// Every regular file below root, by path relative to it.
std::map<std::string, long long> tree(const fs::path& root) {
    std::map<std::string, long long> files;
    for (auto it = fs::recursive_directory_iterator(root); it != fs::recursive_directory_iterator();
         ++it)
        if (it->is_regular_file())
            files[fs::relative(it->path(), root).string()] =
                static_cast<long long>(it->file_size());
    return files;
}

// Read-only read from the permissions themselves: the tests may run as root, for whom every
// file is writable.
std::uint32_t dosAttributes(testing_support::TempWinRoot& root, const std::string& win,
                            const fs::path& host) {
    std::uint32_t a = root.fs().attributes(win).value_or(0xFF) & ~platform::kAttrReadOnly;
    if ((fs::status(host).permissions() & (fs::perms::owner_write | fs::perms::group_write |
                                           fs::perms::others_write)) == fs::perms::none)
        a |= platform::kAttrReadOnly;
    return a;
}

struct Case {
    fs::path cabinet;
};

class CabinetCollection : public ::testing::TestWithParam<Case> {};

TEST_P(CabinetCollection, extracts_as_listed_or_fails_cleanly) {
    const fs::path cabPath = GetParam().cabinet;
    const Expected expected = parseExpected(fs::path(cabPath.string() + ".expected.txt"));
    ASSERT_GE(expected.exitCode, 0) << "no listing for " << cabPath;

    testing_support::TempWinRoot root;
    const std::string bytes = slurp(cabPath);
    root.writeHostFile(fs::path("pkg") / cabPath.filename(), bytes);
    // The other parts of a set lie beside it in the setup folder.
    const bool inSet = bytes.size() > 31 && (static_cast<unsigned char>(bytes[30]) & 0x03) != 0;
    if (inSet)
        for (const auto& other : fs::directory_iterator(cabPath.parent_path()))
            if (other.path().extension() == ".cab" && other.path() != cabPath)
                root.writeHostFile(fs::path("pkg") / other.path().filename(), slurp(other.path()));
    fs::create_directories(root.driveC() / "temp/ex");
    const auto before = tree(root.root());

    FakePrompter prompter;
    setup::CabinetExtractor extractor(root.fs(), prompter);
    const std::string cabinet = "c:\\pkg\\" + cabPath.filename().string();
    const ExtractionResult result = extractor.extract(cabinet, "c:\\temp\\ex\\", "c:\\pkg");

    bool namesPlain = true;
    for (const RawMember& m : expected.raw) namesPlain = namesPlain && !plainName(m).empty();
    const bool startsAsCabinet = bytes.rfind("MSCF", 0) == 0;
    const bool shouldSucceed = expected.exitCode == 0 && namesPlain && startsAsCabinet;

    // Nothing appears anywhere but in the extraction folder.
    auto after = tree(root.root());
    for (const auto& [path, size] : after) {
        if (path.rfind("drive_c/temp/ex/", 0) == 0) continue;
        EXPECT_TRUE(before.count(path)) << "written outside the extraction folder: " << path;
    }
    const fs::path out = root.driveC() / "temp/ex";

    if (!shouldSucceed) {
        EXPECT_NE(result.outcome, ExtractionResult::Outcome::Done) << result.message;
        if (result.outcome == ExtractionResult::Outcome::Failed) {
            EXPECT_NE(result.message.find(cabinet), std::string::npos) << result.message;
            EXPECT_EQ(result.message.rfind("error", 0), 0u) << result.message;
        }
        // What is left is whole: each file has the size its member's listing gives.
        std::map<std::string, long long> sizes;
        for (const Listed& l : expected.listed) sizes[l.path] = l.size;
        for (const auto& entry : fs::directory_iterator(out)) {
            const std::string name = entry.path().filename().string();
            if (sizes.count(name)) {
                EXPECT_EQ(static_cast<long long>(entry.file_size()), sizes[name]) << name;
            }
        }
        if (!namesPlain) {
            EXPECT_TRUE(fs::is_empty(out)) << "a refused cabinet must write nothing";
        }
        return;
    }

    ASSERT_EQ(result.outcome, ExtractionResult::Outcome::Done) << result.message;
    std::set<std::string> wanted;
    for (const Listed& l : expected.listed) {
        std::string name = l.path;
        unsigned attribs = 0;
        bool known = false;
        for (const RawMember& m : expected.raw)
            if (m.bytes == l.path) {
                name = plainName(m);
                attribs = m.attribs;
                known = true;
            }
        wanted.insert(name);
        const fs::path host = out / name;
        ASSERT_TRUE(fs::is_regular_file(host)) << name;
        EXPECT_EQ(static_cast<long long>(fs::file_size(host)), l.size) << name;
        EXPECT_EQ(sha256(host), l.sha) << name;
        const std::string win = "c:\\temp\\ex\\" + name;
        EXPECT_EQ(root.fs().modifiedTime(win), l.mtime) << name;
        if (known) {
            EXPECT_EQ(dosAttributes(root, win, host), attribs & 0x27u) << name;
        }
    }
    std::set<std::string> got;
    for (const auto& entry : fs::directory_iterator(out))
        got.insert(entry.path().filename().string());
    EXPECT_EQ(got, wanted);
    EXPECT_TRUE(prompter.questions.empty());
}

std::vector<Case> collection() {
    std::vector<Case> cases;
    for (const char* folder : {"cab", "cab-more"}) {
        const fs::path dir = testData() / folder;
        if (!fs::is_directory(dir)) continue;
        for (const auto& entry : fs::directory_iterator(dir))
            if (entry.path().extension() == ".cab") cases.push_back({entry.path()});
    }
    std::sort(cases.begin(), cases.end(),
              [](const Case& a, const Case& b) { return a.cabinet < b.cabinet; });
    return cases;
}

std::string caseName(const ::testing::TestParamInfo<Case>& info) {
    std::string name = info.param.cabinet.parent_path().filename().string() + "_" +
                       info.param.cabinet.stem().string();
    for (char& c : name)
        if (!std::isalnum(static_cast<unsigned char>(c))) c = '_';
    return name;
}

INSTANTIATE_TEST_SUITE_P(Shared, CabinetCollection, ::testing::ValuesIn(collection()), caseName);
GTEST_ALLOW_UNINSTANTIATED_PARAMETERIZED_TEST(CabinetCollection);

// A set whose third part is missing: the question names the part in the setup folder; Cancel
// gives up, and supplying the part before OK lets the whole set through.
TEST(CabinetSet, missing_part_is_asked_for) {
    const fs::path set = testData() / "cab-more/split_missing_part3";
    if (!fs::is_directory(set)) GTEST_SKIP() << "test data absent";
    for (const bool supply : {false, true}) {
        testing_support::TempWinRoot root;
        for (const auto& part : fs::directory_iterator(set))
            if (part.path().extension() == ".cab")
                root.writeHostFile(fs::path("pkg") / part.path().filename(), slurp(part.path()));
        fs::create_directories(root.driveC() / "temp/ex");
        FakePrompter prompter;
        if (supply)
            prompter.answer = [&] {
                root.writeHostFile("pkg/split-3.cab", slurp(testData() / "cab/split-3.cab"));
                return setup::Answer::Ok;
            };
        setup::CabinetExtractor extractor(root.fs(), prompter);
        const auto result = extractor.extract("c:\\pkg\\split-1.cab", "c:\\temp\\ex\\", "c:\\pkg");
        ASSERT_EQ(prompter.questions.size(), 1u);
        EXPECT_EQ(prompter.questions[0], "Please insert next disk...\r\nc:\\pkg\\Split-3.CAB");
        EXPECT_EQ(result.outcome,
                  supply ? ExtractionResult::Outcome::Done : ExtractionResult::Outcome::Cancelled)
            << result.message;
        EXPECT_EQ(result.members, supply ? 6 : 0);
    }
}

// The attribute and date cabinet, with its one folder name flattened, unpacked into
// c:\temp\ex.
ExtractionResult extractAttributesCabinet(testing_support::TempWinRoot& root) {
    std::string bytes = slurp(testData() / "cab/own_attribs_dates.cab");
    const auto slash = bytes.find("dir\\a");
    if (slash != std::string::npos) bytes[slash + 3] = '_';
    root.writeHostFile("pkg/a.cab", bytes);
    fs::create_directories(root.driveC() / "temp/ex");
    FakePrompter prompter;
    setup::CabinetExtractor extractor(root.fs(), prompter);
    return extractor.extract("c:\\pkg\\a.cab", "c:\\temp\\ex\\", "c:\\pkg");
}

// Read-only, hidden, system and archive survive, other bits do not, a script becomes runnable.
TEST(CabinetMembers, attributes_dates_and_programs) {
    if (!fs::exists(testData() / "cab/own_attribs_dates.cab")) GTEST_SKIP() << "test data absent";
    testing_support::TempWinRoot root;
    ASSERT_EQ(extractAttributesCabinet(root).outcome, ExtractionResult::Outcome::Done);

    struct Row {
        const char* name;
        std::uint32_t attributes;
        std::int64_t mtime;
    };
    const Row rows[] = {
        {"readonly.txt", 0x21, 315532800},      {"hidden.txt", 0x02, 946684798},
        {"system_hidden.txt", 0x06, 951827696}, {"run.sh", 0x20, 1721030950},
        {"no_attribs.txt", 0x00, 4354819198},   {"all_flags.txt", 0x27, 2147483648},
        {"dir_ação.txt", 0x20, 1277920802},
    };
    for (const Row& row : rows) {
        const std::string win = std::string("c:\\temp\\ex\\") + row.name;
        const fs::path host = root.driveC() / "temp/ex" / row.name;
        EXPECT_EQ(dosAttributes(root, win, host), row.attributes) << row.name;
        EXPECT_EQ(root.fs().modifiedTime(win), row.mtime) << row.name;
        const bool script = slurp(host).rfind("#!", 0) == 0;
        const auto perms = fs::status(host).permissions();
        EXPECT_EQ((perms & fs::perms::owner_exec) != fs::perms::none, script) << row.name;
        EXPECT_EQ((perms & fs::perms::others_exec) != fs::perms::none,
                  script && (perms & fs::perms::others_read) != fs::perms::none)
            << row.name;
    }
}

// A member that cannot be created (a folder holds its name) fails the extraction with its
// name, though it is written on another thread: the members before it are whole, and none
// after it is written.
TEST(CabinetMembers, member_that_cannot_be_created_stops_the_extraction) {
    if (!fs::exists(testData() / "cab/own_attribs_dates.cab")) GTEST_SKIP() << "test data absent";
    testing_support::TempWinRoot root;
    fs::create_directories(root.driveC() / "temp/ex/Hidden.TXT");
    const auto result = extractAttributesCabinet(root);
    EXPECT_EQ(result.outcome, ExtractionResult::Outcome::Failed);
    EXPECT_EQ(result.message,
              "error...\r\nc:\\pkg\\a.cab\r\nhidden.txt: a file could not be opened");
    std::set<std::string> left;
    for (const auto& entry : fs::directory_iterator(root.driveC() / "temp/ex"))
        left.insert(entry.path().filename().string());
    EXPECT_EQ(left, (std::set<std::string>{"Hidden.TXT", "readonly.txt"}));
    EXPECT_EQ(fs::file_size(root.driveC() / "temp/ex/readonly.txt"), 100u);
}

}  // namespace

int main(int argc, char** argv) {
    // The listings were made in UTC; member times are local times.
    setenv("TZ", "UTC", 1);
    tzset();
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
