// The extractor against cabinets of two kinds. Our own, written before the tests run by
// cabinets/make_cabinets.py, with what each must give stated here: attributes and dates, a
// three-part set, the two-stage package, hostile names and broken cabinets. They always run;
// a missing one is a failure. Then every cabinet of the shared test collection where it is
// present, checked against the listing cabextract made of it. Good cabinets give exactly
// their members (bytes, dates, attributes); broken ones and ones with names that are not
// plain file names fail, leaving nothing outside the extraction folder and no member half
// written.

#include <gtest/gtest.h>

#include <QCryptographicHash>
#include <QFile>
#include <QString>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <functional>
#include <map>
#include <optional>
#include <set>
#include <sstream>
#include <tuple>

#include "platform/Cp1253.h"
#include "setup/config/ExitStatus.h"
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
    std::vector<std::string> messages;
    std::function<setup::Answer()> answer = [] { return setup::Answer::Cancel; };
    void message(std::string_view text, std::string_view) override { messages.emplace_back(text); }
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

// One of our own cabinets. Missing is a failure, never a skip: the generator runs as a CTest
// fixture before this test.
std::string ownCabinet(const std::string& name) {
    const char* env = std::getenv("DEZOVUR_OWN_CABINETS");
    const fs::path p = fs::path(env ? env : DEZOVUR_OWN_CABINETS_DIR) / (name + ".cab");
    if (!fs::is_regular_file(p))
        ADD_FAILURE() << p << " missing: the cabinet generator did not run";
    return slurp(p);
}

// Member contents as the generator makes them: a head repeated to the size, or bytes that
// repeat every 5003 so that compressed blocks refer back into earlier ones.
std::string fill(std::string_view head, std::size_t size) {
    std::string out;
    while (out.size() < size) out += head;
    return out.substr(0, size);
}
std::string pattern(std::size_t size, unsigned salt) {
    std::string out(size, '\0');
    for (std::size_t i = 0; i < size; ++i)
        out[i] = static_cast<char>((((i % 5003) * 40503 + salt) >> 7) & 0xFF);
    return out;
}
// The date the generator gives members unless a case is about dates: 2024-03-01 12:00:00.
constexpr std::int64_t kWhen = 1709294400;

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

// The attribute and date cabinet (or another of ours) unpacked into c:\temp\ex.
ExtractionResult extractAttributesCabinet(testing_support::TempWinRoot& root,
                                          const std::string& name = "attributes") {
    root.writeHostFile("pkg/a.cab", ownCabinet(name));
    fs::create_directories(root.driveC() / "temp/ex");
    FakePrompter prompter;
    setup::CabinetExtractor extractor(root.fs(), prompter);
    return extractor.extract("c:\\pkg\\a.cab", "c:\\temp\\ex\\", "c:\\pkg");
}

// Read-only, hidden, system and archive survive, other bits do not, a script or an ELF program
// becomes runnable whatever its attributes say, and names are read as the UTF-8 flag says:
// UTF-8 or Windows-1253. Dates run from the first DOS date to the last one.
TEST(CabinetMembers, attributes_dates_and_programs) {
    testing_support::TempWinRoot root;
    ASSERT_EQ(extractAttributesCabinet(root).outcome, ExtractionResult::Outcome::Done);

    using namespace std::string_view_literals;
    struct Row {
        const char* name;
        std::uint32_t attributes;
        std::int64_t mtime;
        std::size_t size;
        std::string_view head = {};  // of the contents; empty: the name and a line break
        bool program = false;
    };
    const Row rows[] = {
        {"readonly.txt", 0x21, 315532800, 100},
        {"hidden.txt", 0x02, 946684798, 137},
        {"system_hidden.txt", 0x06, 951827696, 174},
        {"run.sh", 0x20, 1721030950, 211, "#!/bin/sh\necho run\n", true},
        {"no_attribs.txt", 0x00, 4354819198, 248},
        {"all_flags.txt", 0x27, 2147483648, 285},
        {"dir_ação.txt", 0x20, 1277920802, 322},
        {"αβγ.txt", 0x20, 1000000000, 359, "\xE1\xE2\xE3.txt\n"},
        {"prog", 0x20, 1445444940, 396, "\x7f\x45\x4c\x46\x02\x01\x01\x00"sv, true},  // ELF
        {"odd_bits.txt", 0x00, 1580674820, 433},
    };
    std::set<std::string> wanted, got;
    for (const Row& row : rows) {
        wanted.insert(row.name);
        const std::string win = std::string("c:\\temp\\ex\\") + row.name;
        const fs::path host = root.driveC() / "temp/ex" / row.name;
        EXPECT_EQ(slurp(host),
                  fill(row.head.empty() ? row.name + std::string("\n") : row.head, row.size))
            << row.name;
        EXPECT_EQ(dosAttributes(root, win, host), row.attributes) << row.name;
        EXPECT_EQ(root.fs().modifiedTime(win), row.mtime) << row.name;
        const auto perms = fs::status(host).permissions();
        EXPECT_EQ((perms & fs::perms::owner_exec) != fs::perms::none, row.program) << row.name;
        EXPECT_EQ((perms & fs::perms::others_exec) != fs::perms::none,
                  row.program && (perms & fs::perms::others_read) != fs::perms::none)
            << row.name;
    }
    for (const auto& entry : fs::directory_iterator(root.driveC() / "temp/ex"))
        got.insert(entry.path().filename().string());
    EXPECT_EQ(got, wanted);
}

// DOS dates are local times: in a zone east of Greenwich, with summer time, a member's time
// lies two hours (winter) or three (summer) before the same reading in UTC.
TEST(CabinetMembers, dates_are_local_times) {
    struct Zone {
        Zone() {
            setenv("TZ", "EET-2EEST,M3.5.0/3,M10.5.0/4", 1);
            tzset();
        }
        ~Zone() {
            setenv("TZ", "UTC", 1);
            tzset();
        }
    } athens;
    testing_support::TempWinRoot root;
    ASSERT_EQ(extractAttributesCabinet(root).outcome, ExtractionResult::Outcome::Done);
    EXPECT_EQ(root.fs().modifiedTime("c:\\temp\\ex\\hidden.txt"), 946677598);  // 21:59:58 UTC
    EXPECT_EQ(root.fs().modifiedTime("c:\\temp\\ex\\run.sh"), 1721020150);     // 05:09:10 UTC
}

// A member that cannot be created (a folder holds its name) fails the extraction with its
// name, whether the caller writes the members (a few) or the writer's thread does (many, from
// a point on); the members before it are removed again, and none after it is written.
TEST(CabinetMembers, member_that_cannot_be_created_stops_the_extraction) {
    for (const auto& [cabinet, member, folder] :
         {std::tuple{"attributes", "hidden.txt", "Hidden.TXT"}, {"many_small", "s140.txt", "S140.txt"}}) {
        SCOPED_TRACE(cabinet);
        testing_support::TempWinRoot root;
        fs::create_directories(root.driveC() / "temp/ex" / folder);
        const auto result = extractAttributesCabinet(root, cabinet);
        EXPECT_EQ(result.outcome, ExtractionResult::Outcome::Failed);
        EXPECT_EQ(result.message, std::string("error...\r\nc:\\pkg\\a.cab\r\n") + member +
                                      ": a file could not be opened");
        std::set<std::string> left;
        for (const auto& entry : fs::directory_iterator(root.driveC() / "temp/ex"))
            left.insert(entry.path().filename().string());
        EXPECT_EQ(left, (std::set<std::string>{folder}));
    }
}

// Links left where members go (a temporary folder others can write to) are replaced by the
// members: the file they lead to keeps its bytes, permissions and attributes.
TEST(CabinetMembers, links_in_the_members_places_are_not_followed) {
    testing_support::TempWinRoot root;
    root.writeHostFile("outside.txt", "not yours");
    const fs::path outside = root.driveC() / "outside.txt";
    const auto perms = fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read;
    fs::permissions(outside, perms);
    const auto attributes = root.fs().attributes("c:\\outside.txt");
    fs::create_directories(root.driveC() / "temp/ex");
    for (const char* member : {"readonly.txt", "hidden.txt"})
        fs::create_symlink(outside, root.driveC() / "temp/ex" / member);

    ASSERT_EQ(extractAttributesCabinet(root).outcome, ExtractionResult::Outcome::Done);
    EXPECT_EQ(slurp(outside), "not yours");
    EXPECT_EQ(fs::status(outside).permissions(), perms);
    EXPECT_EQ(root.fs().attributes("c:\\outside.txt"), attributes);
    for (const auto& [member, size] : {std::pair{"readonly.txt", 100}, {"hidden.txt", 137}}) {
        const fs::path host = root.driveC() / "temp/ex" / member;
        EXPECT_FALSE(fs::is_symlink(host)) << member;
        EXPECT_EQ(slurp(host), fill(member + std::string("\n"), size)) << member;
    }
}

// What the extraction folder must hold: each file's bytes, date and attributes.
struct Member {
    std::string name;
    std::string bytes;
    std::uint32_t attributes = 0x20;
    std::optional<std::int64_t> mtime = kWhen;  // none: no valid date is stored
};

// The extraction folder holds exactly these members, and nothing is left anywhere else.
void expectExtracted(testing_support::TempWinRoot& root,
                     const std::map<std::string, long long>& before,
                     const std::vector<Member>& members) {
    for (const auto& [path, size] : tree(root.root())) {
        if (path.rfind("drive_c/temp/ex/", 0) != 0) {
            EXPECT_TRUE(before.count(path)) << "written outside the extraction folder: " << path;
        }
    }
    std::set<std::string> wanted, got;
    for (const Member& m : members) {
        wanted.insert(m.name);
        const std::string win = "c:\\temp\\ex\\" + m.name;
        const fs::path host = root.driveC() / "temp/ex" / m.name;
        EXPECT_TRUE(slurp(host) == m.bytes) << m.name << ": other bytes";
        EXPECT_EQ(dosAttributes(root, win, host), m.attributes) << m.name;
        if (m.mtime) {
            EXPECT_EQ(root.fs().modifiedTime(win), m.mtime) << m.name;
        }
    }
    for (const auto& entry : fs::directory_iterator(root.driveC() / "temp/ex"))
        got.insert(entry.path().filename().string());
    EXPECT_EQ(got, wanted);
}

struct OwnCase {
    std::string cabinet;
    std::string_view headline;  // empty: the extraction succeeds
    std::string detail;         // how the failure message goes on after the cabinet's line
    std::vector<Member> left;   // what the extraction folder holds afterwards
};

Member txt(const std::string& name, std::size_t size = 64) {
    return {name, fill(name + "\n", size)};
}

OwnCase refused(const std::string& cabinet, const std::string& shown) {
    return {"hostile_" + cabinet,
            setup::kMsgCopyFailed,
            "refused member name \"" + shown + "\": a member must be a plain file name",
            {}};
}

std::vector<Member> manySmall() {
    std::vector<Member> members;
    for (int i = 0; i < 150; ++i) {
        char name[16];
        std::snprintf(name, sizeof name, "s%03d.txt", i);
        members.push_back(txt(name, 100 + 7 * i));
    }
    members.insert(members.begin() + 100, Member{"large.bin", pattern(90000, 7)});
    return members;
}

std::vector<OwnCase> ownCases() {
    using setup::kMsgCopyFailed;
    using setup::kMsgNotCabinet;
    const Member first{"first.bin", pattern(32768, 4)};
    return {
        // Enough small members for the writer's thread to start part-way.
        {"many_small", {}, {}, manySmall()},
        // A stored folder (an empty member, one over two blocks) and an MSZIP one whose blocks
        // refer back into the ones before.
        {"two_folders",
         {},
         {},
         {{"empty.txt", ""},
          {"stored.bin", pattern(40000, 1)},
          {"deflated.bin", pattern(100000, 2)},
          txt("small.txt")}},
        // Reserved areas in the header and blocks without checksums.
        {"reserve_no_checksums", {}, {}, {txt("reserved.txt", 5000)}},
        // Dates no calendar has do not stop the members.
        {"odd_dates",
         {},
         {},
         {{"zero.txt", fill("zero\n", 50), 0x20, std::nullopt},
          {"late.txt", fill("late\n", 50), 0x20, std::nullopt}}},
        // Names that are not one plain file name: refused before anything is written, though
        // a good member comes first.
        refused("folder", "sub\\evil.txt"),
        refused("slash", "sub/evil.txt"),
        refused("drive", "c:evil.txt"),
        refused("drive_root", "C:\\evil.txt"),
        refused("dotdot", "..\\evil.txt"),
        refused("dotdot_alone", ".."),
        refused("leading_backslash", "\\evil.txt"),
        refused("control", "evil\\x01.txt"),
        refused("delete", "evil\\x7F.txt"),
        refused("stream", "evil.txt:hidden"),
        refused("wildcard", "evil*.txt"),
        refused("blank", "  "),
        // Bytes Windows-1253 has no letter for.
        refused("cp1253_aa", "evil\\xAA.txt"),
        refused("cp1253_d2", "\\xD2.txt"),
        refused("cp1253_ff", "evil\\xFF"),
        // Flagged UTF-8 that is not: an overlong "/", a C1 control, a surrogate, a cut sequence.
        refused("utf8_overlong_slash", "..\\xC0\\xAFevil.txt"),
        refused("utf8_c1", "evil\\xC2\\x85.txt"),
        refused("utf8_surrogate", "\\xED\\xA0\\x80.txt"),
        refused("utf8_cut", "evil\\xE2\\x82"),
        // Devices to Windows, whatever follows the name: never a file of the package.
        refused("device_con", "CON"),
        refused("device_nul", "nul.txt"),
        refused("device_com", "com1 .log"),
        // Broken cabinets. first.bin, in a folder of its own, comes out whole; second.bin is
        // not left half written.
        {"truncated_data",
         kMsgCopyFailed,
         "second.bin: truncated data: the cabinet ends before its data does",
         {first}},
        {"bad_checksum", kMsgCopyFailed, "second.bin: bad checksum", {first}},
        {"damaged_deflate", kMsgCopyFailed, "second.bin: the compressed data is damaged", {first}},
        {"truncated_header",
         kMsgCopyFailed,
         "truncated data: the cabinet ends before its data does",
         {}},
        // A member claiming 2 GiB, and one claiming 30000 bytes, in a block of 100.
        {"size_far_beyond_data", kMsgCopyFailed, "short.bin: the compressed data is damaged", {}},
        {"size_beyond_block", kMsgCopyFailed, "short.bin: damaged cabinet structure", {}},
        {"unknown_method", kMsgCopyFailed, "unsupported compression (method 15)", {}},
        {"bad_signature", kMsgNotCabinet, {}, {}},
        {"empty", kMsgNotCabinet, {}, {}},
        {"tiny", kMsgNotCabinet, {}, {}},
        // A set whose next part is the cabinet itself.
        {"loop", kMsgCopyFailed, "the cabinet set names a part twice: c:\\pkg\\LOOP.CAB", {}},
    };
}

class OwnCabinets : public ::testing::TestWithParam<OwnCase> {};

TEST_P(OwnCabinets, extract_as_stated) {
    const OwnCase& c = GetParam();
    testing_support::TempWinRoot root;
    root.writeHostFile("pkg/" + c.cabinet + ".cab", ownCabinet(c.cabinet));
    fs::create_directories(root.driveC() / "temp/ex");
    const auto before = tree(root.root());
    FakePrompter prompter;
    setup::CabinetExtractor extractor(root.fs(), prompter);
    const std::string cabinet = "c:\\pkg\\" + c.cabinet + ".cab";
    const auto result = extractor.extract(cabinet, "c:\\temp\\ex\\", "c:\\pkg");

    if (c.headline.empty()) {
        EXPECT_EQ(result.outcome, ExtractionResult::Outcome::Done) << result.message;
        EXPECT_EQ(result.members, static_cast<int>(c.left.size()));
    } else {
        EXPECT_EQ(result.outcome, ExtractionResult::Outcome::Failed);
        std::string message = std::string(c.headline) + "\r\n" + cabinet;
        if (!c.detail.empty()) message += "\r\n" + c.detail;
        // What the library added in parentheses is its own wording.
        EXPECT_EQ(result.message.substr(0, message.size()), message) << result.message;
    }
    EXPECT_TRUE(prompter.questions.empty());
    // A cabinet that fails part-way leaves none of its members, whole or not.
    expectExtracted(root, before, c.headline.empty() ? c.left : std::vector<Member>{});
}

INSTANTIATE_TEST_SUITE_P(Generated, OwnCabinets, ::testing::ValuesIn(ownCases()),
                         [](const auto& info) { return info.param.cabinet; });

// The members of the three-part set, which lie in the parts on disk as part-N.cab while the
// headers name them Part-N.CAB.
std::vector<Member> setMembers() {
    return {{"one.txt", fill("one\n", 10000)},
            {"span.bin", pattern(70000, 3)},
            {"three.txt", fill("three\n", 5000)},
            {"tail.txt", fill("tail\n", 1000)}};
}

// Whichever part is opened, the parts before and after it are found and the whole set comes
// out, a member running through all three parts included.
TEST(OwnCabinetSet, any_part_gives_the_whole_set) {
    for (const char* start : {"part-1", "part-2", "part-3"}) {
        SCOPED_TRACE(start);
        testing_support::TempWinRoot root;
        for (const char* part : {"part-1", "part-2", "part-3"})
            root.writeHostFile(std::string("pkg/") + part + ".cab", ownCabinet(part));
        fs::create_directories(root.driveC() / "temp/ex");
        const auto before = tree(root.root());
        FakePrompter prompter;
        setup::CabinetExtractor extractor(root.fs(), prompter);
        const auto result = extractor.extract(std::string("c:\\pkg\\") + start + ".cab",
                                              "c:\\temp\\ex\\", "c:\\pkg");
        EXPECT_EQ(result.outcome, ExtractionResult::Outcome::Done) << result.message;
        EXPECT_EQ(result.members, 4);
        EXPECT_TRUE(prompter.questions.empty());
        expectExtracted(root, before, setMembers());
    }
}

// A missing part, after or before, is asked for by the name the header gives, in the setup
// folder (the cabinet lies elsewhere). Cancel gives up with nothing written; the part supplied
// before OK lets the whole set through.
TEST(OwnCabinetSet, missing_part_is_asked_for) {
    struct Row {
        const char* start;
        const char* missing;
        const char* question;
    };
    const Row rows[] = {
        {"part-1", "part-3", "Please insert next disk...\r\nc:\\setup\\Part-3.CAB"},
        {"part-3", "part-1", "Please insert next disk...\r\nc:\\setup\\Part-1.CAB"},
    };
    for (const Row& row : rows) {
        for (const bool supply : {false, true}) {
            SCOPED_TRACE(std::string(row.start) + (supply ? ", supplied" : ", cancelled"));
            testing_support::TempWinRoot root;
            for (const char* part : {"part-1", "part-2", "part-3"})
                if (part != std::string(row.missing))
                    root.writeHostFile(std::string("pkg/") + part + ".cab", ownCabinet(part));
            fs::create_directories(root.driveC() / "temp/ex");
            fs::create_directories(root.driveC() / "setup");
            FakePrompter prompter;
            prompter.answer = [&] {
                if (!supply) return setup::Answer::Cancel;
                root.writeHostFile(std::string("setup/") + row.missing + ".cab",
                                   ownCabinet(row.missing));
                return setup::Answer::Ok;
            };
            auto before = tree(root.root());
            before[std::string("drive_c/setup/") + row.missing + ".cab"] = 0;  // the user's
            setup::CabinetExtractor extractor(root.fs(), prompter);
            const auto result = extractor.extract(std::string("c:\\pkg\\") + row.start + ".cab",
                                                  "c:\\temp\\ex\\", "c:\\setup");
            EXPECT_EQ(prompter.questions, std::vector<std::string>{row.question});
            EXPECT_EQ(result.outcome, supply ? ExtractionResult::Outcome::Done
                                             : ExtractionResult::Outcome::Cancelled)
                << result.message;
            if (supply) {
                EXPECT_EQ(result.members, 4);
                expectExtracted(root, before, setMembers());
            } else {
                EXPECT_EQ(result.members, 0);
                EXPECT_TRUE(fs::is_empty(root.driveC() / "temp/ex"));
            }
        }
    }
}

// The package as a silent run unpacks it. With multi1.cab in the setup folder, two stages:
// multi1.cab, then the F0_ice1.cab it leaves in the extraction folder (file1.cab beside it
// is not used). Without it, file1.cab alone, and a cabinet among its members stays a file.
TEST(OwnPackage, one_or_two_stages) {
    struct Row {
        const char* what;
        std::map<std::string, std::string> setupFolder;  // file name: our cabinet
        int exitCode;
        std::map<std::string, std::optional<std::string>> extracted;  // bytes, where stated
        std::vector<std::string> messages;
    };
    const std::string program = fill("program.txt\n", 3000);
    const std::string file1 = fill("file1.txt\n", 64);
    const Row rows[] = {
        {"two stages",
         {{"multi1.cab", "multi1"}, {"file1.cab", "file1"}},
         setup::kExitDone,
         {{"notes.txt", fill("notes.txt\n", 64)},
          {"F0_ice1.cab", std::nullopt},
          {"program.txt", program},
          {"data.bin", pattern(50000, 6)}},
         {}},
        {"one stage",
         {{"file1.cab", "file1"}},
         setup::kExitDone,
         {{"file1.txt", file1}, {"inner.cab", std::nullopt}},
         {}},
        // A multi1.cab that leaves no F0_ice1.cab fails at the second stage.
        // What the first stage unpacked goes with the failure.
        {"second stage missing",
         {{"multi1.cab", "file1"}},
         setup::kExitExtractionFailed,
         {},
         {"error destroy...\r\nc:\\temp\\ex\\F0_ice1.cab\r\nthe cabinet cannot be opened"}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        testing_support::TempWinRoot root;
        for (const auto& [file, cabinet] : row.setupFolder)
            root.writeHostFile("pkg/" + file, ownCabinet(cabinet));
        fs::create_directories(root.driveC() / "temp");
        FakePrompter prompter;
        const setup::PackageCabinets where{"c:\\pkg", "c:\\pkg\\file1.cab", "c:\\pkg\\multi1.cab",
                                           "c:\\temp\\ex\\"};
        std::vector<std::string> unpacked;
        EXPECT_EQ(setup::extractPackage(root.fs(), prompter, where, "setup", &unpacked),
                  row.exitCode);
        EXPECT_EQ(prompter.messages, row.messages);
        std::set<std::string> wanted, got;
        for (const auto& [name, bytes] : row.extracted) {
            wanted.insert(name);
            if (bytes) {
                EXPECT_TRUE(root.readHostFile("temp/ex/" + name) == *bytes) << name;
            }
        }
        for (const auto& entry : fs::directory_iterator(root.driveC() / "temp/ex"))
            got.insert(entry.path().filename().string());
        EXPECT_EQ(got, wanted);
        // The list the run's clean-up works from names each file left, the inner cabinet too.
        std::set<std::string> listed;
        for (const std::string& path : unpacked) listed.insert(path.substr(path.rfind('\\') + 1));
        EXPECT_EQ(listed, got);
    }
}

}  // namespace

int main(int argc, char** argv) {
    // The listings were made in UTC; member times are local times.
    setenv("TZ", "UTC", 1);
    tzset();
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
