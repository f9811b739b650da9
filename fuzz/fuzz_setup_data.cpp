// Arbitrary bytes as data.tag and language.tag, read the way the setup program reads them: the
// start-up (which reads both files into the package description, fills the folder table and
// resolves the install folder) and the requirements test. Every value the description holds
// must be what the profile reader itself gives for its key, cut to the key's longest value and
// read by the key's rule (text, strtol switch or number, keyword), and a list must hold exactly
// the numbered entries the section has keys for.
// The first byte picks the code page, the Windows version and whether a screen is known.

#include <climits>
#include <cstdint>
#include <cstdlib>
#include <functional>
#include <set>
#include <string>

#include "platform/codec/ProfileSyntax.h"
#include "setup/config/Requirements.h"
#include "setup/config/SetupData.h"
#include "setup/engine/Startup.h"
#include "support/FakeServices.h"
#include "support/MemoryFileSystem.h"

namespace {

using setup::PackageDescription;

// No registry: the program files folder then comes from PROGRAMFILES.
class NoRegistry final : public platform::Registry {
public:
    bool createKey(platform::RegRoot, std::string_view) override { return false; }
    bool keyExists(platform::RegRoot, std::string_view) const override { return false; }
    bool deleteKey(platform::RegRoot, std::string_view) override { return false; }
    bool setValue(platform::RegRoot, std::string_view, std::string_view,
                  const platform::RegValue&) override {
        return false;
    }
    std::optional<platform::RegValue> value(platform::RegRoot, std::string_view,
                                            std::string_view) const override {
        return std::nullopt;
    }
    bool deleteValue(platform::RegRoot, std::string_view, std::string_view) override {
        return false;
    }
    std::vector<std::string> subkeys(platform::RegRoot, std::string_view) const override {
        return {};
    }
    std::vector<std::string> valueNames(platform::RegRoot, std::string_view) const override {
        return {};
    }
};

class QuietPrompter final : public setup::Prompter {
public:
    void message(std::string_view, std::string_view) override {}
    setup::Answer okCancel(std::string_view, std::string_view) override {
        return setup::Answer::Cancel;
    }
    setup::Answer yesNo(std::string_view, std::string_view, std::string_view,
                        std::string_view) override {
        return setup::Answer::No;
    }
};

std::string asciiUpper(std::string text) {
    for (char& c : text)
        if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 0x20);
    return text;
}

// The reference: the profile reader asked for one key with a buffer one longer than the value.
// A section the file lacks reads empty without reading the file again (the reader folds no
// other letter onto an ASCII one, so ASCII upper case finds the sections it would).
struct Reference {
    std::string bytes;
    int codePage;
    std::set<std::string> sections;

    Reference(std::string b, int cp) : bytes(std::move(b)), codePage(cp) {
        for (const auto& name : platform::codec::profileSections(bytes, codePage))
            sections.insert(asciiUpper(name));
    }
    std::string text(std::string_view section, std::string_view key, std::size_t longest) const {
        if (!sections.count(asciiUpper(std::string(section)))) return {};
        return platform::codec::readProfileString(bytes, codePage, section, key, "", longest + 1);
    }
};

long strtolOf(const std::string& text) {
    return std::strtol(text.c_str(), nullptr, 10);  // up to a NUL, as the reader of C would
}

// One key of the description: its section, key, longest value, and whether the field holds
// what the reference text t says by the key's rule.
struct Field {
    const char* section;
    const char* key;
    std::size_t longest;
    std::function<bool(const PackageDescription&, const std::string& t)> holds;
};

bool on(const std::string& t) {
    return strtolOf(t) == 1;
}

const Field kFields[] = {
    {"APPINFO", "1", 99, [](auto& p, auto& t) { return p.app.productName == t; }},
    {"APPINFO", "2", 254, [](auto& p, auto& t) { return p.app.program == t; }},
    {"APPINFO", "3", 99, [](auto& p, auto& t) { return p.app.version == t; }},
    {"APPINFO", "4", 99, [](auto& p, auto& t) { return p.app.company == t; }},
    {"APPINFO", "5", 99, [](auto& p, auto& t) { return p.app.defaultInstallFolder == t; }},
    {"APPINFO", "INSTALLMODE", 99,
     [](auto& p, auto& t) { return p.app.update == (!t.empty() && t != "New Software"); }},
    {"APPINFO", "Preview", 99, [](auto& p, auto& t) { return p.app.preview == (t == "YES"); }},
    {"APPINFO", "SILENTMODE", 99, [](auto& p, auto& t) { return p.app.silent == on(t); }},
    {"APPINFO", "UNINSTALLOFF", 99, [](auto& p, auto& t) { return p.app.uninstallOff == on(t); }},
    {"MAINWINDOW", "BackGround", 99,
     [](auto& p, auto& t) { return p.window.background == (t == "SIM"); }},
    {"MAINWINDOW", "BACK1", 99, [](auto& p, auto& t) { return p.window.caption == t; }},
    {"MAINWINDOW", "BACK3", 99,
     [](auto& p, auto& t) { return p.window.top == setup::parseColour(t); }},
    {"MAINWINDOW", "LeftImageS", 99,
     [](auto& p, auto& t) { return p.window.leftImageOnWelcome == (t == "0"); }},
    {"MAINWINDOW", "ADVANCED", 8, [](auto& p, auto& t) { return p.window.advanced == (t == "1"); }},
    {"MAINWINDOW", "2", 8, [](auto& p, auto& t) { return p.window.splash == !t.empty(); }},
    {"SPLASH", "6", 8, [](auto& p, auto& t) { return p.window.runCompanion == (t == "1"); }},
    {"SYSTEM", "ALL", 4095, [](auto& p, auto& t) { return p.requirements.everySystem == on(t); }},
    {"SYSTEM", "mr5", 4095, [](auto& p, auto& t) { return p.requirements.systems[4] == on(t); }},
    {"SYSTEM", "mr7", 4095,
     [](auto& p, auto& t) {
         const auto& m = p.requirements.memoryMegabytes;
         return t == "Any" ? !m : m == strtolOf(t);
     }},
    {"SYSTEM", "mr9", 4095,
     [](auto& p, auto& t) {
         const int bits = t == "256 colors" ? 8 : t == "24 Bit" ? 24 : t == "32 Bit" ? 32 : 0;
         return p.requirements.colourBits == bits;
     }},
    {"DIALOG", "0", 4, [](auto& p, auto& t) { return p.pages.welcome == on(t); }},
    {"DIALOG", "9", 4, [](auto& p, auto& t) { return p.pages.complete == on(t); }},
    {"DIALOG", "8", 4, [](auto& p, auto& t) { return p.pages.progressShown == (t == "1"); }},
    {"DIALOG", "DS4", 99, [](auto& p, auto& t) { return p.pages.defaultProgramFolder == t; }},
    {"DIALOG", "COMPLETE1", 9,
     [](auto& p, auto& t) { return p.pages.completeBoxes == (strtolOf(t) == 0); }},
    {"DIALOG", "COMPLETE2", 9,
     [](auto& p, auto& t) { return p.pages.finishActions == (strtolOf(t) != 0); }},
    {"FILES", "TOTAL", 19,
     [](auto& p, auto& t) { return p.files.total == static_cast<int>(strtolOf(t)); }},
    {"ENVIR", "TOTAL", 99, [](auto& p, auto& t) { return p.environment.total == strtolOf(t); }},
    {"KILLPROCESS", "METHOD", 254, [](auto& p, auto& t) { return p.killProcess.method == t; }},
    {"FOLDER", "SHOWWINDOWFOLDER", 99,
     [](auto& p, auto& t) { return p.shortcuts.openGroup == (t != "NO"); }},
};

// The numbers below count that some key "<prefix><n>" of the section carries, written as "%d"
// writes them, in ascending order.
std::vector<long> numbered(const Reference& r, std::string_view section,
                           std::initializer_list<std::string_view> prefixes, long count) {
    std::set<long> found;
    if (!r.sections.count(std::string(section))) return {};
    for (const std::string& key : platform::codec::profileKeys(r.bytes, r.codePage, section)) {
        for (std::string_view prefix : prefixes) {
            if (key.size() <= prefix.size() || key.size() > prefix.size() + 18) continue;
            bool same = true;
            for (std::size_t i = 0; i < prefix.size(); ++i)
                same = same && (key[i] & ~0x20) == prefix[i];
            const std::string digits = key.substr(prefix.size());
            if (!same || (digits.size() > 1 && digits[0] == '0') ||
                digits.find_first_not_of("0123456789") != std::string::npos)
                continue;
            if (const long n = std::stol(digits); n < count) found.insert(n);
        }
    }
    return {found.begin(), found.end()};
}

void checkLists(const PackageDescription& p, const Reference& r) {
    const auto files = numbered(r, "FILES", {"PR"}, p.files.total);
    if (files.size() != p.files.sources.size()) std::abort();
    for (std::size_t i = 0; i < files.size(); ++i)
        if (p.files.sources[i] != r.text("FILES", "PR" + std::to_string(files[i]), 254))
            std::abort();
    const auto shortcuts = numbered(r, "FOLDER", {"A", "B", "C", "D", "E", "F", "G"},
                                    strtolOf(r.text("FOLDER", "TOTAL", 99)));
    if (shortcuts.size() != p.shortcuts.shortcuts.size()) std::abort();
    for (std::size_t i = 0; i < shortcuts.size() && i < 4; ++i) {
        const std::string n = std::to_string(shortcuts[i]);
        const auto& s = p.shortcuts.shortcuts[i];
        if (s.name != r.text("FOLDER", "A" + n, 99) || s.target != r.text("FOLDER", "D" + n, 99) ||
            s.arguments != r.text("FOLDER", "G" + n, 99))
            std::abort();
    }
}

void checkLanguage(const PackageDescription& p, const Reference& r) {
    const std::string& product = p.app.productName;
    const auto withName = [&](const std::string& t) {
        return product.empty() ? t : setup::applyPlaceholder(t, product);
    };
    const struct {
        const char* key;
        std::size_t longest;
        bool placeholder;
        const std::string setup::LanguageTexts::*text;
    } keys[] = {
        {"1", 99, false, &setup::LanguageTexts::next},
        {"4", 99, true, &setup::LanguageTexts::welcomeBody},
        {"9", 169, true, &setup::LanguageTexts::licenseAccept},
        {"10", 149, false, &setup::LanguageTexts::yes},
        {"50", 169, false, &setup::LanguageTexts::extractionStatus},
        {"57", 99, false, &setup::LanguageTexts::finish},
    };
    for (const auto& k : keys) {
        const std::string t = r.text("LANGUAGE", k.key, k.longest);
        if (p.texts.*k.text != (k.placeholder ? withName(t) : t)) std::abort();
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0) return 0;
    const std::uint8_t options = data[0];
    const std::string file(reinterpret_cast<const char*>(data + 1), size - 1);

    auto files = std::make_unique<testing_support::MemoryFileSystem>();
    files->createDirectory("C:\\setup");
    files->createDirectory("C:\\windows");
    files->writeFile("C:\\setup\\data.tag", file);
    files->writeFile("C:\\setup\\language.tag", file);
    auto system = std::make_unique<testing_support::FakeSystemInfo>();
    system->codePage = (options & 1) ? 1253 : 1252;
    system->variables["PROGRAMFILES"] = "C:\\Program Files";
    static const platform::WindowsVersion kVersions[] = {
        {4, 0, false, ""},  {4, 10, false, " A"},
        {4, 90, false, ""}, {4, 0, true, "Service Pack 6a"},
        {5, 0, true, ""},   {5, 1, true, "Service Pack 2"},
        {6, 2, true, ""},   {5, 1, true, ""}};
    system->windowsVersion = kVersions[(options >> 1) & 7];
    if (!(options & 0x10)) system->screenFacts = {};
    const Reference reference(file, system->codePage);

    platform::Services services;
    services.profiles = platform::makeProfileFiles(*files, system->codePage, "C:\\windows");
    services.files = std::move(files);
    services.registry = std::make_unique<NoRegistry>();
    services.system = std::move(system);

    QuietPrompter prompter;
    setup::RunState run;
    setup::Startup startup(services, prompter, run, "C:\\setup\\setup.exe", "C:\\setup");
    // The data file is there and so is a program files folder: start-up must get through.
    if (startup.prepare()) std::abort();
    const PackageDescription& package = startup.package();
    if (run.productName != package.app.productName || run.silent != package.app.silent ||
        run.installFolder != startup.folders().value(setup::FolderKind::InstallDir))
        std::abort();

    for (const Field& f : kFields)
        if (!f.holds(package, reference.text(f.section, f.key, f.longest))) std::abort();
    checkLists(package, reference);
    checkLanguage(package, reference);

    const setup::MachineFacts facts{services.system->version(),
                                    services.system->physicalMemoryBytes(),
                                    services.system->screen()};
    const auto failed = setup::failedRequirement(package.requirements, facts);
    // Every system allowed, any memory, and no screen to judge: nothing can fail.
    const bool lenient = package.requirements.everySystem &&
                         !package.requirements.memoryMegabytes && facts.screen.width == 0 &&
                         facts.screen.height == 0;
    if (lenient && failed) std::abort();
    return 0;
}
