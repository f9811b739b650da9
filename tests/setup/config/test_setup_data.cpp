#include <gtest/gtest.h>

#include <climits>
#include <functional>
#include <optional>

#include "platform/Profile.h"
#include "platform/WinRoot.h"
#include "setup/config/DataFiles.h"
#include "setup/config/PackageDescription.h"
#include "setup/config/SetupData.h"
#include "support/TempWinRoot.h"

using namespace setup;

TEST(setup_data, switches_and_numbers_read_as_strtol) {
    const struct {
        const char* text;
        long value;
    } cases[] = {{"1", 1},
                 {"01", 1},
                 {"  1", 1},
                 {"1abc", 1},
                 {"\t+1", 1},
                 {"yes", 0},
                 {"", 0},
                 {"0", 0},
                 {"-12x", -12},
                 {"- 1", 0},
                 {"99999999999999999999", LONG_MAX},
                 {"-99999999999999999999", LONG_MIN}};
    for (const auto& c : cases) EXPECT_EQ(leadingInteger(c.text), c.value) << c.text;
}

namespace {

std::string onOff(bool on) {
    return on ? "on" : "off";
}

std::string joined(const std::vector<std::string>& texts) {
    std::string out;
    for (const auto& t : texts) out += (out.empty() ? "" : "|") + t;
    return out;
}

const char* scopeName(EnvironmentScope scope) {
    return scope == EnvironmentScope::User     ? "User"
           : scope == EnvironmentScope::System ? "System"
                                               : "-";
}

struct ReaderRow {
    const char* name;
    std::optional<std::string> dataTag;  // none: no data.tag at all
    std::optional<std::string> languageTag;
    std::function<std::string(const PackageDescription&)> field;
    std::string expected;
};

const std::string kHuge = "2000000000";

}  // namespace

// Each row: a data.tag (and language.tag) as the package holds it, and one value of the
// description as the pages and the engine see it.
TEST(setup_data, package_read_with_limits_rules_and_lists) {
    using P = const PackageDescription&;
    const ReaderRow rows[] = {
        // Texts: quotes go, names match without regard to case, values are cut.
        {"quoted_name",
         "[appinfo]\r\n1=\"Demo\"\r\n",
         {},
         [](P p) { return p.app.productName; },
         "Demo"},
        {"cut_to_99",
         "[APPINFO]\r\n5=" + std::string(120, 'p') + "\r\n",
         {},
         [](P p) { return p.app.defaultInstallFolder; },
         std::string(99, 'p')},
        {"cut_to_254",
         "[APPINFO]\r\n2=" + std::string(300, 'x') + "\r\n",
         {},
         [](P p) { return p.app.program; },
         std::string(254, 'x')},
        {"cut_counts_letters",
         testing_support::cp1253("[APPINFO]\r\n1=") + std::string(120, '\xE1'),
         {},
         [](P p) { return p.app.productName; },
         [] {
             std::string alphas;
             for (int i = 0; i < 99; ++i) alphas += "α";
             return alphas;
         }()},
        {"missing_section_reads_empty",
         "[OTHER]\r\n1=x\r\n",
         {},
         [](P p) { return p.app.productName + p.pages.defaultProgramFolder; },
         ""},
        // Switches read as strtol reads the value cut to its limit.
        {"switches",
         "[DIALOG]\r\n0=12345\r\n1=00001\r\n3=1 \r\n4=yes\r\n5= 01\r\n7=1x\r\n9=+1\r\n",
         {},
         [](P p) {
             const Pages& g = p.pages;
             return onOff(g.welcome) + onOff(g.license) + onOff(g.readme) + onOff(g.user) +
                    onOff(g.destination) + onOff(g.setupType) + onOff(g.programFolder) +
                    onOff(g.startCopying) + onOff(g.complete);
         },
         "offoffoffonoffonoffonon"},
        {"silent_switch",
         "[APPINFO]\r\nSILENTMODE= 1x\r\nUNINSTALLOFF=2\r\n",
         {},
         [](P p) { return onOff(p.app.silent) + onOff(p.app.uninstallOff); },
         "onoff"},
        // Numbers.
        {"complete_numbers",
         "[DIALOG]\r\nCOMPLETE1=7\r\nCOMPLETE2=12abc\r\nCOMPLETE3=01\r\nCOMPLETE4=1.5\r\n"
         "COMPLETE5=-1\r\nCOMPLETE6=\r\n",
         {},
         [](P p) {
             const Pages& g = p.pages;
             return onOff(g.completeBoxes) + onOff(g.finishActions) + onOff(g.readmeBox) +
                    onOff(g.runBox) + onOff(g.alwaysRun) + onOff(g.alwaysReadme);
         },
         "offonononoffoff"},
        {"files_total_cut_to_19",
         "[FILES]\r\nTOTAL=00000000000000000012\r\n",
         {},
         [](P p) { return std::to_string(p.files.total); },
         "1"},
        // Keywords compare the whole text, letter case counting.
        {"keywords",
         "[APPINFO]\r\nPreview=YES\r\nINSTALLMODE=New Software\r\n[MAINWINDOW]\r\n"
         "BackGround=sim\r\nADVANCED=01\r\nLeftImageS=0\r\n[SPLASH]\r\n6=1\r\n[DIALOG]\r\n8=1\r\n",
         {},
         [](P p) {
             return onOff(p.app.preview) + onOff(p.app.update) + onOff(p.window.background) +
                    onOff(p.window.advanced) + onOff(p.window.leftImageOnWelcome) +
                    onOff(p.window.runCompanion) + onOff(p.pages.progressShown);
         },
         "onoffoffoffononon"},
        {"advanced_is_the_text_1",
         "[MAINWINDOW]\r\nADVANCED= 1 \r\nBackGround=SIM\r\n2=x\r\n",
         {},
         [](P p) {
             return onOff(p.window.advanced) + onOff(p.window.background) + onOff(p.window.splash);
         },
         "ononon"},
        {"colours",
         "[MAINWINDOW]\r\nBACK3=OrangeRed@0xFF,0x80,0x00\r\nBACK4=0xff,0xC0\r\n",
         {},
         [](P p) {
             const Rgb& t = p.window.top;
             const Rgb& b = p.window.bottom;
             return std::to_string(t.red) + "," + std::to_string(t.green) + "," +
                    std::to_string(t.blue) + "/" + std::to_string(b.red) + "," +
                    std::to_string(b.green) + "," + std::to_string(b.blue);
         },
         "255,128,0/0,192,0"},
        {"requirements",
         "[SYSTEM]\r\nmr2=1\r\nmr5=01\r\nmr7=64MB\r\nmr8=800x600\r\nmr9=256 colors\r\n",
         {},
         [](P p) {
             const SystemRequirements& r = p.requirements;
             std::string systems;
             for (bool on : r.systems) systems += on ? '1' : '0';
             return systems + onOff(r.everySystem) + std::to_string(*r.memoryMegabytes) + " " +
                    std::to_string(r.resolution->width) + "x" +
                    std::to_string(r.resolution->height) + " " + std::to_string(r.colourBits);
         },
         "010010off64 800x600 8"},
        {"requirements_keywords",
         "[SYSTEM]\r\nALL=1\r\nmr7=Any\r\nmr8=Any resolution\r\nmr9=32 bit\r\n",
         {},
         [](P p) {
             const SystemRequirements& r = p.requirements;
             return onOff(r.everySystem) + onOff(r.memoryMegabytes.has_value()) +
                    onOff(r.resolution.has_value()) + std::to_string(r.colourBits);
         },
         "onoffoff0"},
        {"height_alone",
         "[SYSTEM]\r\nmr8=1024\r\n",
         {},
         [](P p) {
             return std::to_string(p.requirements.resolution->width) + "x" +
                    std::to_string(p.requirements.resolution->height);
         },
         "0x1024"},
        // Lists: entries below TOTAL that have a key; a TOTAL far beyond them reads as quickly.
        {"list_beyond_its_keys",
         "[ENVIR]\r\nTOTAL=" + kHuge +
             "\r\nA0=PATH\r\nB0=<Install Dir>\r\nC0=User\r\n"
             "C7=System\r\nA7=HOME\r\nA05=padded\r\nA-1=negative\r\nA2000000000=beyond\r\n",
         {},
         [](P p) {
             std::string out = std::to_string(p.environment.total);
             for (const auto& v : p.environment.variables)
                 out += " " + v.name + "=" + v.value + "@" + scopeName(v.scope);
             return out;
         },
         kHuge + " PATH=<Install Dir>@User HOME=@System"},
        {"list_stops_at_total",
         "[SETUPTYPE]\r\nTOTAL=2\r\nA0=a.txt\r\nA1=b.dll\r\nA2=c.txt\r\n",
         {},
         [](P p) { return joined(p.compactFiles); },
         "a.txt|b.dll"},
        {"list_without_total",
         "[REGISTROCHAVES]\r\nKEY0=HKEY_USERS\\x\r\n",
         {},
         [](P p) { return std::to_string(p.registryKeys.size()); },
         "0"},
        {"list_at_the_largest_total",
         "[REGISTROCHAVES]\r\nTOTALKEYS=99999999999999999999\r\nKEY3=HKEY_USERS\\x\r\n"
         "key999999999999999999=HKEY_USERS\\y\r\n",
         {},
         [](P p) { return joined(p.registryKeys); },
         "HKEY_USERS\\x|HKEY_USERS\\y"},
        {"duplicates_first_wins",
         "[SETUPTYPE]\r\nTOTAL=1\r\nA0=first\r\na0=second\r\nTOTAL=5\r\n[setuptype]\r\nA1=x\r\n",
         {},
         [](P p) { return joined(p.compactFiles); },
         "first"},
        {"ini_entries_cut_to_119",
         "[INI]\r\nTOTAL=" + kHuge + "\r\nN10=Paths\r\nN20=Data\r\nN30=" + std::string(130, 'v') +
             "\r\nN40=app.ini\r\nN50=<Windows Directory>\r\nN41=only.ini\r\n",
         {},
         [](P p) {
             std::string out;
             for (const auto& e : p.iniEntries)
                 out += e.section + "," + e.key + "," + std::to_string(e.value.size()) + "," +
                        e.file + "," + e.folder + ";";
             return out;
         },
         "Paths,Data,119,app.ini,<Windows Directory>;,,0,only.ini,;"},
        {"registry_values_and_types",
         "[REGISTRODADOS]\r\nTOTALDADOS=" + kHuge +
             "\r\nA0=HKEY_CURRENT_USER\\S\r\nB0=N\r\n"
             "C0=12abc\r\nD0=DWORD\r\nA1=HKEY_CURRENT_USER\\S\r\nD1=binary\r\nD2=Binary\r\n"
             "D3=String\r\n",
         {},
         [](P p) {
             std::string out;
             for (const auto& v : p.registryValues)
                 out += std::to_string(static_cast<int>(v.type)) + v.name + v.data;
             return out;
         },
         "2N12abc031"},
        {"advanced_actions",
         "[ADVANCEDACTIONS]\r\nTOTAL=" + kHuge +
             "\r\nC0=Download\r\nF0=http://h/a.zip\r\n"
             "C1=download\r\nF1=http://h/b.zip\r\nF2=http://h/c.zip\r\n",
         {},
         [](P p) {
             std::string out;
             for (const auto& a : p.advancedActions) out += onOff(a.download) + a.argument + " ";
             return out;
         },
         "onhttp://h/a.zip offhttp://h/b.zip offhttp://h/c.zip "},
        {"internet_sources_below_total",
         "[FILES]\r\nTOTAL=2\r\nPR0=http://h/a\r\nPR1=c:\\b\r\nPR2=ftp://h/c\r\nPR01=ftp://x\r\n",
         {},
         [](P p) { return joined(p.files.sources); },
         "http://h/a|c:\\b"},
        {"shortcuts",
         "[FOLDER]\r\nTOTAL=" + kHuge +
             "\r\nA0=App\r\nB0=Desktop Folder\r\nC0=Minimized\r\n"
             "D0=<Install Dir>\\app.exe\r\nG0=-x\r\nB3=Nowhere\r\nC3=maximized\r\n"
             "SHOWWINDOWFOLDER=NO\r\n",
         {},
         [](P p) {
             std::string out = onOff(p.shortcuts.openGroup);
             for (const auto& c : p.shortcuts.shortcuts)
                 out += " " + c.name + std::to_string(static_cast<int>(c.place)) +
                        std::to_string(static_cast<int>(c.show)) + c.target + c.arguments;
             return out;
         },
         "off App32<Install Dir>\\app.exe-x 00"},
        {"kill_process_cut_to_254",
         "[KILLPROCESS]\r\nCLASSNAME=" + std::string(300, 'c') + "\r\nMETHOD=WM_CLOSE\r\n",
         {},
         [](P p) {
             return std::to_string(p.killProcess.className.size()) + p.killProcess.windowName +
                    p.killProcess.method;
         },
         "254WM_CLOSE"},
        // Nothing to read: every text empty, switches off, numbers 0.
        {"missing_data_file",
         std::nullopt,
         {},
         [](P p) {
             return p.app.productName + onOff(p.pages.welcome) + onOff(p.pages.completeBoxes) +
                    onOff(p.pages.finishActions) + onOff(p.shortcuts.openGroup) +
                    std::to_string(p.requirements.resolution->height) +
                    std::to_string(p.environment.variables.size()) + onOff(p.texts.present);
         },
         "offonoffon00off"},
        // The language file: limits per key, the product name in place of the placeholder.
        {"language_placeholder", "[APPINFO]\r\n1=Demo\r\n",
         "[LANGUAGE]\r\n9=Accept ******** and ******** too\r\n3=********\r\n",
         [](P p) { return p.texts.licenseAccept + "/" + p.texts.cancel; },
         "Accept Demo and Demo too/********"},
        {"language_limits", "",
         "[LANGUAGE]\r\n6=" + std::string(200, 'l') + "\r\n57=" + std::string(200, 'f') +
             "\r\n50=" + std::string(200, 's') + "\r\n",
         [](P p) {
             return std::to_string(p.texts.licenseTitle.size()) + " " +
                    std::to_string(p.texts.finish.size()) + " " +
                    std::to_string(p.texts.extractionStatus.size()) + onOff(p.texts.present);
         },
         "169 99 169on"},
        {"language_without_product_keeps_marks", "", "[LANGUAGE]\r\n22=Install ******** to:\r\n",
         [](P p) { return p.texts.destinationText; }, "Install ******** to:"},
    };
    testing_support::TempWinRoot root;
    auto profiles = platform::makeProfileFiles(root.fs(), 1253);
    int n = 0;
    for (const ReaderRow& row : rows) {
        const std::string folder = "pkg" + std::to_string(n++);
        if (row.dataTag) root.writeHostFile(folder + "/data.tag", *row.dataTag);
        if (row.languageTag) root.writeHostFile(folder + "/language.tag", *row.languageTag);
        const std::string language = "C:\\" + folder + "\\language.tag";
        const PackageDescription package =
            readPackage(*profiles, "C:\\" + folder + "\\data.tag",
                        row.languageTag ? std::optional<std::string_view>(language) : std::nullopt);
        EXPECT_EQ(row.field(package), row.expected) << row.name;
    }
}

TEST(setup_data, colour_texts) {
    const struct {
        const char* text;
        Rgb colour;
    } cases[] = {
        {"OrangeRed@0xFF,0x80,0x00", {255, 128, 0}},
        {"@0xff,0x80,0x00", {0, 128, 0}},
        {"0xFF,0x00,0x00", {255, 0, 0}},
        {"Navy@0x00,0x00,0x80", {0, 0, 128}},
        {"a@b@0xC0,0xC0,0xC0", {0, 192, 192}},
        {"@0xC0, 0xC0,0xFF", {192, 0, 255}},
        {"@0xFF", {255, 0, 0}},
        {"", {0, 0, 0}},
    };
    for (const auto& c : cases) EXPECT_EQ(parseColour(c.text), c.colour) << c.text;
}

TEST(setup_data, setup_folder_and_file_paths) {
    const struct {
        const char* program;
        const char* folder;
    } cases[] = {
        {"C:\\Pkg\\setup.exe", "C:\\Pkg"},     {"Z:\\opt\\pkg\\setup", "Z:\\opt\\pkg"},
        {"C:\\Pkg\\SETUP.EXE", "D:\\cwd"},     {"C:\\Pkg\\mysetup.exe", "D:\\cwd"},
        {"C:\\Pkg\\setup.exe.bak", "D:\\cwd"}, {"E:\\setup.exe", "E:\\"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(setupFolderFor(c.program, "D:\\cwd"), c.folder) << c.program;

    RunState run;
    locateDataFiles("E:\\", run);
    EXPECT_EQ(run.dataTagPath, "E:\\data.tag");
    EXPECT_EQ(run.languageTagPath, "E:\\language.tag");
    EXPECT_EQ(run.file1CabPath, "E:\\file1.cab");
    EXPECT_EQ(run.multi1CabPath, "E:\\\\multi1.cab");
    EXPECT_EQ(run.datafilePath, "E:\\datafile.dlr");
    locateDataFiles("C:\\Pkg", run);
    EXPECT_EQ(run.dataTagPath, "C:\\Pkg\\data.tag");
    EXPECT_EQ(run.multi1CabPath, "C:\\Pkg\\multi1.cab");
    EXPECT_EQ(run.datafilePath, "C:\\Pkg\\datafile.dlr");
    EXPECT_EQ(currentDrive("D:\\cwd\\x"), "D:");
    EXPECT_EQ(programTitle("C:\\Pkg\\Setup.exe"), "Setup");
}

TEST(setup_data, host_paths_seen_through_their_drive) {
    testing_support::TempWinRoot root;
    std::filesystem::create_directories(root.driveC() / "Pkg");
    EXPECT_EQ(platform::windowsPathOf(root.driveC() / "Pkg" / "setup", root.root()),
              "C:\\Pkg\\setup");
    EXPECT_EQ(platform::windowsPathOf(root.driveC(), root.root()), "C:\\");
    EXPECT_EQ(platform::windowsPathOf("/usr/bin/setup", root.root()), "Z:\\usr\\bin\\setup");
}

TEST(setup_data, earlier_texts_removed_from_the_temporary_folder) {
    testing_support::TempWinRoot root;
    root.writeHostFile("windows/temp/README.TXT", "old");
    root.writeHostFile("windows/temp/license.txt", "old");
    root.writeHostFile("windows/temp/keep.txt", "new");
    removeEarlierTexts(root.fs(), "C:\\windows\\temp\\");
    EXPECT_FALSE(root.fs().exists("C:\\windows\\temp\\readme.txt"));
    EXPECT_FALSE(root.fs().exists("C:\\windows\\temp\\license.txt"));
    EXPECT_TRUE(root.fs().exists("C:\\windows\\temp\\keep.txt"));
}
