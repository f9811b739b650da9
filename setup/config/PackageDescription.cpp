#include "setup/config/PackageDescription.h"

#include <initializer_list>
#include <map>
#include <set>

#include "platform/Profile.h"
#include "setup/config/SetupData.h"

namespace setup {

namespace {

// The names this program asks for are ASCII, and the profile reader's case rule folds no other
// letter onto an ASCII one: comparing in ASCII upper case finds exactly the key it would. (Not
// toupper: the user's locale could fold a byte of a Greek name.)
std::string upper(std::string_view name) {
    std::string out(name);
    for (char& c : out)
        if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    return out;
}

// The reader's buffer holds characters, not bytes: a Greek value is not cut inside a letter.
std::string cutToLength(const std::string& text, std::size_t longest) {
    std::size_t pos = 0;
    for (std::size_t kept = 0; pos < text.size() && kept < longest; ++kept) {
        ++pos;
        while (pos < text.size() && (static_cast<unsigned char>(text[pos]) & 0xC0) == 0x80) ++pos;
    }
    return text.substr(0, pos);
}

// The number a list key carries as "%d" writes it: no sign, no leading zero.
std::optional<long> keyNumber(std::string_view digits) {
    if (digits.empty() || digits.size() > 18 || (digits.size() > 1 && digits[0] == '0'))
        return std::nullopt;
    long n = 0;
    for (char c : digits) {
        if (c < '0' || c > '9') return std::nullopt;
        n = n * 10 + (c - '0');
    }
    return n;
}

// One section of a file, read once; a key the file holds twice counts with its first line.
class Section {
public:
    Section(const platform::ProfileFiles& profiles, std::string_view file, std::string_view name) {
        for (auto& [key, value] : profiles.values(file, name))
            values_.emplace(upper(key), std::move(value));
    }

    std::string text(std::string_view key, std::size_t longest) const {
        const auto it = values_.find(upper(key));
        return it == values_.end() ? std::string() : cutToLength(it->second, longest);
    }
    bool on(std::string_view key, std::size_t longest) const { return number(key, longest) == 1; }
    long number(std::string_view key, std::size_t longest) const {
        return leadingInteger(text(key, longest));
    }
    bool is(std::string_view key, std::size_t longest, std::string_view keyword) const {
        return text(key, longest) == keyword;
    }

    // The numbers below count that at least one key of the list carries (prefix and number),
    // ascending: never more than the section has keys, whatever the count says.
    std::vector<long> numbered(std::initializer_list<std::string_view> prefixes, long count) const {
        std::set<long> found;
        for (const auto& entry : values_) {
            const std::string_view key = entry.first;
            for (std::string_view prefix : prefixes) {
                if (!key.starts_with(prefix)) continue;
                const auto n = keyNumber(key.substr(prefix.size()));
                if (n && *n < count) found.insert(*n);
            }
        }
        return {found.begin(), found.end()};
    }

private:
    std::map<std::string, std::string> values_;  // by the key in ASCII upper case
};

std::string numberedKey(std::string_view prefix, long n) {
    return std::string(prefix) + std::to_string(n);
}

struct LanguageKey {
    const char* key;
    std::size_t longest;
    bool placeholder;
    std::string LanguageTexts::*text;
};

// The [LANGUAGE] keys: the only place their numbers appear.
constexpr LanguageKey kLanguageKeys[] = {
    {"1", 99, false, &LanguageTexts::next},
    {"2", 99, false, &LanguageTexts::back},
    {"3", 99, false, &LanguageTexts::cancel},
    {"4", 99, true, &LanguageTexts::welcomeBody},
    {"5", 99, true, &LanguageTexts::welcomeTitle},
    {"6", 169, false, &LanguageTexts::licenseTitle},
    {"7", 169, false, &LanguageTexts::licenseSubtitle},
    {"8", 169, false, &LanguageTexts::licenseDecline},
    {"9", 169, true, &LanguageTexts::licenseAccept},
    {"10", 149, false, &LanguageTexts::yes},
    {"11", 149, false, &LanguageTexts::no},
    {"12", 99, false, &LanguageTexts::readmeTitle},
    {"13", 99, false, &LanguageTexts::readmeSubtitle},
    {"14", 149, false, &LanguageTexts::userTitle},
    {"15", 149, false, &LanguageTexts::userSubtitle},
    {"16", 149, false, &LanguageTexts::userNameLabel},
    {"17", 149, false, &LanguageTexts::companyLabel},
    {"19", 149, false, &LanguageTexts::destinationTitle},
    {"20", 149, false, &LanguageTexts::destinationSubtitle},
    {"22", 149, true, &LanguageTexts::destinationText},
    {"25", 149, false, &LanguageTexts::browse},
    {"26", 149, false, &LanguageTexts::setupTypeTitle},
    {"27", 149, false, &LanguageTexts::setupTypeSubtitle},
    {"28", 149, false, &LanguageTexts::typicalDescription},
    {"29", 149, false, &LanguageTexts::compactDescription},
    {"30", 149, false, &LanguageTexts::customDescription},
    {"31", 149, false, &LanguageTexts::typical},
    {"32", 149, false, &LanguageTexts::compact},
    {"33", 149, false, &LanguageTexts::custom},
    {"34", 149, false, &LanguageTexts::folderTitle},
    {"35", 149, false, &LanguageTexts::folderSubtitle},
    {"36", 149, false, &LanguageTexts::folderListLabel},
    {"39", 149, false, &LanguageTexts::startTitle},
    {"40", 149, false, &LanguageTexts::startSubtitle},
    {"41", 149, false, &LanguageTexts::startText},
    {"42", 149, false, &LanguageTexts::startSummaryLabel},
    {"43", 149, false, &LanguageTexts::completeTitle},
    {"44", 149, false, &LanguageTexts::restartQuestion},
    {"48", 149, false, &LanguageTexts::readmeBox},
    {"49", 149, false, &LanguageTexts::runBox},
    {"50", 169, false, &LanguageTexts::extractionStatus},
    {"51", 149, false, &LanguageTexts::progressTitle},
    {"52", 149, false, &LanguageTexts::progressSubtitle},
    {"56", 149, false, &LanguageTexts::cancelQuestion},
    {"57", 99, false, &LanguageTexts::finish},
    {"58", 99, false, &LanguageTexts::customTitle},
    {"59", 99, false, &LanguageTexts::customSubtitle},
};

// [SYSTEM] values are read whole.
constexpr std::size_t kWhole = 4095;

SystemRequirements readRequirements(const Section& s) {
    SystemRequirements r;
    r.everySystem = s.on("ALL", kWhole);
    for (std::size_t i = 0; i < r.systems.size(); ++i)
        r.systems[i] = s.on(numberedKey("mr", static_cast<long>(i) + 1), kWhole);

    const std::string memory = s.text("mr7", kWhole);
    r.memoryMegabytes = memory == "Any" ? std::nullopt : std::optional(leadingInteger(memory));

    const std::string resolution = s.text("mr8", kWhole);
    if (resolution == "Any resolution") {
        r.resolution = std::nullopt;
    } else if (const auto x = resolution.find('x'); x == std::string::npos) {
        r.resolution = SystemRequirements::Resolution{0, leadingInteger(resolution)};
    } else {
        r.resolution = SystemRequirements::Resolution{leadingInteger(resolution.substr(0, x)),
                                                      leadingInteger(resolution.substr(x + 1))};
    }

    const std::string colours = s.text("mr9", kWhole);
    r.colourBits = colours == "256 colors" ? 8
                   : colours == "24 Bit"   ? 24
                   : colours == "32 Bit"   ? 32
                                           : 0;
    return r;
}

LanguageTexts readLanguage(const platform::ProfileFiles& profiles, std::string_view path,
                           std::string_view productName) {
    LanguageTexts texts;
    texts.present = true;
    const Section s(profiles, path, "LANGUAGE");
    for (const LanguageKey& k : kLanguageKeys) {
        std::string value = s.text(k.key, k.longest);
        // Without a product name the marks stay, rather than leave a gap in the sentence.
        if (k.placeholder && !productName.empty()) value = applyPlaceholder(value, productName);
        texts.*k.text = std::move(value);
    }
    return texts;
}

}  // namespace

PackageDescription readPackage(const platform::ProfileFiles& profiles, std::string_view dataTagPath,
                               std::optional<std::string_view> languageTagPath) {
    PackageDescription p;
    const auto section = [&](std::string_view name) {
        return Section(profiles, dataTagPath, name);
    };

    {
        const Section s = section("APPINFO");
        AppInfo& a = p.app;
        a.productName = s.text("1", 99);
        a.program = s.text("2", 254);
        a.version = s.text("3", 99);
        a.company = s.text("4", 99);
        a.defaultInstallFolder = s.text("5", 99);
        const std::string mode = s.text("INSTALLMODE", 99);
        a.update = !mode.empty() && mode != "New Software";
        a.preview = s.is("Preview", 99, "YES");
        a.silent = s.on("SILENTMODE", 99);
        a.uninstallOff = s.on("UNINSTALLOFF", 99);
    }
    {
        const Section s = section("MAINWINDOW");
        MainWindow& w = p.window;
        w.background = s.is("BackGround", 99, "SIM");
        w.caption = s.text("BACK1", 99);
        w.footer = s.text("BACK2", 99);
        w.top = parseColour(s.text("BACK3", 99));
        w.bottom = parseColour(s.text("BACK4", 99));
        w.leftImage = s.text("LeftImage", 99);
        w.leftImageOnWelcome = s.is("LeftImageS", 99, "0");
        w.advanced = s.is("ADVANCED", 8, "1");
        w.splash = !s.text("2", 8).empty();
        w.runCompanion = section("SPLASH").is("6", 8, "1");
    }
    p.requirements = readRequirements(section("SYSTEM"));
    {
        const Section s = section("DIALOG");
        Pages& g = p.pages;
        g.welcome = s.on("0", 4);
        g.license = s.on("1", 4);
        g.readme = s.on("2", 4);
        g.user = s.on("3", 4);
        g.destination = s.on("4", 4);
        g.setupType = s.on("5", 4);
        g.programFolder = s.on("6", 4);
        g.startCopying = s.on("7", 4);
        g.progressShown = s.is("8", 4, "1");
        g.complete = s.on("9", 4);
        g.defaultProgramFolder = s.text("DS4", 99);
        g.completeBoxes = s.number("COMPLETE1", 9) == 0;
        g.finishActions = s.number("COMPLETE2", 9) != 0;
        g.readmeBox = s.number("COMPLETE3", 9) == 1;
        g.runBox = s.number("COMPLETE4", 9) == 1;
        g.alwaysRun = s.number("COMPLETE5", 9) == 1;
        g.alwaysReadme = s.number("COMPLETE6", 9) == 1;
    }
    {
        const Section s = section("FILES");
        // The progress bar's range is an int, and so is the file count everywhere it is used.
        p.files.total = static_cast<int>(s.number("TOTAL", 19));
        for (long i : s.numbered({"PR"}, p.files.total))
            p.files.sources.push_back(s.text(numberedKey("PR", i), 254));
    }
    {
        const Section s = section("SETUPTYPE");
        for (long i : s.numbered({"A"}, s.number("TOTAL", 99)))
            p.compactFiles.push_back(s.text(numberedKey("A", i), 99));
    }
    {
        const Section s = section("ADVANCEDACTIONS");
        for (long i : s.numbered({"C", "F"}, s.number("TOTAL", 99)))
            p.advancedActions.push_back(
                {s.is(numberedKey("C", i), 99, "Download"), s.text(numberedKey("F", i), 99)});
    }
    {
        const Section s = section("ENVIR");
        p.environment.total = s.number("TOTAL", 99);
        for (long i : s.numbered({"A", "B", "C"}, p.environment.total)) {
            const std::string scope = s.text(numberedKey("C", i), 99);
            p.environment.variables.push_back({s.text(numberedKey("A", i), 99),
                                               s.text(numberedKey("B", i), 99),
                                               scope == "User"     ? EnvironmentScope::User
                                               : scope == "System" ? EnvironmentScope::System
                                                                   : EnvironmentScope::None});
        }
    }
    {
        const Section s = section("KILLPROCESS");
        p.killProcess = {s.text("CLASSNAME", 254), s.text("WINDOWNAME", 254),
                         s.text("METHOD", 254)};
    }
    {
        const Section s = section("INI");
        for (long i : s.numbered({"N1", "N2", "N3", "N4", "N5"}, s.number("TOTAL", 99)))
            p.iniEntries.push_back(
                {s.text(numberedKey("N1", i), 119), s.text(numberedKey("N2", i), 119),
                 s.text(numberedKey("N3", i), 119), s.text(numberedKey("N4", i), 119),
                 s.text(numberedKey("N5", i), 119)});
    }
    {
        const Section s = section("REGISTROCHAVES");
        for (long i : s.numbered({"KEY"}, s.number("TOTALKEYS", 99)))
            p.registryKeys.push_back(s.text(numberedKey("KEY", i), 254));
    }
    {
        const Section s = section("REGISTRODADOS");
        for (long i : s.numbered({"A", "B", "C", "D"}, s.number("TOTALDADOS", 99))) {
            const std::string type = s.text(numberedKey("D", i), 254);
            p.registryValues.push_back({s.text(numberedKey("A", i), 254),
                                        s.text(numberedKey("B", i), 254),
                                        s.text(numberedKey("C", i), 254),
                                        type == "String"   ? RegistryType::String
                                        : type == "DWORD"  ? RegistryType::Dword
                                        : type == "Binary" ? RegistryType::Binary
                                                           : RegistryType::Unknown});
        }
    }
    {
        const Section s = section("FOLDER");
        ShortcutSection& f = p.shortcuts;
        f.total = s.number("TOTAL", 99);
        for (long i : s.numbered({"A", "B", "C", "D", "E", "F", "G"}, f.total)) {
            const std::string place = s.text(numberedKey("B", i), 99);
            const std::string show = s.text(numberedKey("C", i), 99);
            Shortcut c;
            c.name = s.text(numberedKey("A", i), 99);
            c.place = place == "Programs Menu Folder"    ? ShortcutPlace::ProgramsMenu
                      : place == "Start Menu Folder"     ? ShortcutPlace::StartMenu
                      : place == "Desktop Folder"        ? ShortcutPlace::Desktop
                      : place == "Startup Folder"        ? ShortcutPlace::Startup
                      : place == "Active Desktop Folder" ? ShortcutPlace::ActiveDesktop
                      : place == "Favorites Folder"      ? ShortcutPlace::Favorites
                                                         : ShortcutPlace::Unknown;
            c.show = show == "Maximized"   ? ShowState::Maximized
                     : show == "Minimized" ? ShowState::Minimized
                                           : ShowState::Normal;
            c.target = s.text(numberedKey("D", i), 99);
            c.workingFolder = s.text(numberedKey("E", i), 99);
            c.icon = s.text(numberedKey("F", i), 99);
            c.arguments = s.text(numberedKey("G", i), 99);
            f.shortcuts.push_back(std::move(c));
        }
        f.openGroup = !s.is("SHOWWINDOWFOLDER", 99, "NO");
    }
    if (languageTagPath) p.texts = readLanguage(profiles, *languageTagPath, p.app.productName);
    return p;
}

}  // namespace setup
