// Install, then uninstall, then find the machine exactly as it was: drive tree, registry files
// and the desktop's data home, byte for byte.

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <map>

#include "platform/HostDesktop.h"
#include "setup/config/ExitStatus.h"
#include "setup/engine/InstallRun.h"
#include "setup/engine/download_support.h"
#include "setup/engine/engine_support.h"
#include "support/TempWinRoot.h"
#include "uninstall/Uninstaller.h"

namespace {

namespace fs = std::filesystem;
using platform::RegRoot;
using setup::RunOutcome;

platform::RegValue text(std::string t) {
    platform::RegValue v;
    v.text = std::move(t);
    return v;
}

struct Row {
    const char* name;
    int codePage;
    std::string product, folder, group;
    // What the machine held before; extra data.tag lines.
    std::function<void(testing_support::TempWinRoot&, platform::Services&)> before;
    std::string extra;
    std::string keepFlag = "0";
};

void PrintTo(const Row& row, std::ostream* os) { *os << row.name; }

class RoundTrip : public engine_test::EngineTest, public ::testing::WithParamInterface<Row> {};

TEST_P(RoundTrip, uninstalling_leaves_the_machine_as_it_was) {
    const Row& row = GetParam();
    useCodePage(row.codePage);
    // Shell folders a Windows machine has anyway, so that asking for them changes nothing.
    for (auto f : {platform::ShellFolder::CommonPrograms, platform::ShellFolder::CommonStartMenu,
                   platform::ShellFolder::Desktop, platform::ShellFolder::CommonFavorites})
        services.system->shellFolder(f);
    services.files->createDirectory("C:\\windows\\system32");
    // A machine's registry is never empty: both roots the run writes hold something of others.
    for (auto r : {RegRoot::LocalMachine, RegRoot::CurrentUser})
        services.registry->setValue(r, "Software\\Other", "Theirs", text("kept"));
    ASSERT_FALSE(platform::hostDataFolder().empty());
    if (row.before) row.before(root, services);

    run.productName = row.product;
    run.programFolder = row.group;
    run.installFolder = row.folder;
    // Greek needs more than code page 1252 holds: such a package writes its data.tag as UTF-8.
    const std::string tag =
        "[APPINFO]\r\n1=" + row.product + "\r\n3=1.0\r\n4=Maker\r\n" +
        "[FILES]\r\nTOTAL=4\r\n"
        "[FOLDER]\r\nTOTAL=2\r\nA0=" + row.product + "\r\nB0=Programs Menu Folder\r\n"
        "D0=<Install Dir>\\app.exe\r\nF0=app.svg\r\nA1=" + row.product + "\r\nB1=Desktop Folder\r\n"
        "D1=<Install Dir>\\app.exe\r\nSHOWWINDOWFOLDER=NO\r\n" + row.extra;
    dataTag(row.codePage == 1252 ? "\xEF\xBB\xBF" + tag : testing_support::cp1253(tag));
    // A file list in code page 1252 cannot name a Greek file.
    const std::string data = row.codePage == 1253 ? "Δεδομένα\\μελέτη.dat" : "Data\\study.dat";
    package({{"C:\\b\\app.exe", "<Install Dir>*0,0,0"},
             {"C:\\b\\" + data.substr(data.find('\\') + 1),
              "<Install Dir>\\" + data.substr(0, data.find('\\')) + "*0,0,0"},
             {"C:\\b\\keep.txt", "<Install Dir>*" + row.keepFlag + ",0,0"},
             {"C:\\b\\app.svg", "<Install Dir>*0,0,0"}});
    root.writeHostFile("windows/temp/zuninstall.exe", "uninstaller");
    const auto before = engine_test::snapshot(root.root());

    ASSERT_EQ(install(), RunOutcome::Finished);
    EXPECT_TRUE(services.files->exists(row.folder + "\\" + data));
    EXPECT_TRUE(services.files->exists(row.folder + "\\app.exe"));
    // The menu's entry shows the program's icon, from the icon theme's folders.
    bool icon = false;
    for (const auto& e : fs::recursive_directory_iterator(root.root() / "xdg/icons/hicolor/scalable/apps"))
        icon = icon || e.path().extension() == ".svg";
    EXPECT_TRUE(icon);

    std::string problem;
    const auto installation = uninstall::loadInstallation(*services.files, installer->logPath(),
                                                          row.codePage, problem);
    ASSERT_TRUE(installation) << problem;
    ASSERT_TRUE(installation->journal);
    EXPECT_EQ(uninstall::productName(*installation, *services.registry), row.product);
    const auto outcome = uninstall::uninstall(
        *installation, {*services.files, *services.registry, *services.system, *services.profiles});
    for (const auto& left : outcome.leftovers) ADD_FAILURE() << "left: " << left.item;
    EXPECT_TRUE(outcome.complete());
    engine_test::expectSameTree(before, engine_test::snapshot(root.root()));
}

const std::string kSettings =
    "[ENVIR]\r\nTOTAL=1\r\nA0=PATH\r\nB0=<Install Dir>\r\nC0=User\r\n"
    "[INI]\r\nTOTAL=2\r\nN10=Paths\r\nN20=Data\r\nN30=<Install Dir>\r\nN40=app.ini\r\n"
    "N50=<Windows Directory>\r\nN11=New\r\nN21=Key\r\nN31=1\r\nN41=app.ini\r\n"
    "N51=<Windows Directory>\r\n"
    "[REGISTRODADOS]\r\nTOTALDADOS=2\r\nA0=HKEY_CURRENT_USER\\Software\\Tool\r\nB0=Dir\r\n"
    "C0=<Install Dir>\r\nD0=String\r\nA1=HKEY_CURRENT_USER\\Software\\Made\\Here\r\nB1=N\r\n"
    "C1=7\r\nD1=DWORD\r\n"
    "[REGISTROCHAVES]\r\nTOTALKEYS=1\r\nKEY0=HKEY_LOCAL_MACHINE\\Software\\Empty\\Key\r\n";

INSTANTIATE_TEST_SUITE_P(
    Packages, RoundTrip,
    ::testing::Values(
        Row{"plain", 1253, "App", "C:\\Program Files\\App", "App", nullptr, ""},
        Row{"greek_names_1253", 1253, "Μελέτες", "C:\\Program Files\\Δεζοβούρ", "Ομάδα Μελετών",
            nullptr, ""},
        Row{"greek_names_1252", 1252, "Μελέτες", "C:\\Program Files\\Δεζοβούρ", "Ομάδα Μελετών",
            nullptr, ""},
        Row{"settings_that_existed_before", 1253, "App", "C:\\Program Files\\App", "App",
            [](testing_support::TempWinRoot& root, platform::Services& services) {
                services.registry->setValue(RegRoot::CurrentUser, "Environment", "PATH",
                                              text("C:\\old;C:\\keep"));
                services.registry->setValue(RegRoot::CurrentUser, "Software\\Tool", "Dir",
                                              text("C:\\Tool"));
                root.writeHostFile("windows/app.ini", "[Paths]\r\nData=C:\\Mine\r\n");
            },
            kSettings},
        Row{"settings_new_to_the_machine", 1253, "App", "C:\\Program Files\\App", "App",
            nullptr, kSettings},
        Row{"keep_existing_over_a_users_file", 1253, "App", "C:\\Program Files\\App", "App",
            [](testing_support::TempWinRoot& root, platform::Services&) {
                root.writeHostFile("Program Files/App/keep.txt", "the user's");
            },
            "", "1"}),
    [](const auto& info) { return std::string(info.param.name); });

// The whole silent run, Internet file included: the downloaded file is the installation's too.
using engine_test::EngineTest;

TEST_F(EngineTest, a_download_goes_with_the_installation) {
    testing_support::LoopbackServer server;
    server.on("/pkg/extra.zip", testing_support::LoopbackServer::reply(
                                    "HTTP/1.1 200 OK\r\nContent-Length: 5\r\n\r\nhello"));
    services.registry->setValue(RegRoot::LocalMachine, "Software\\Other", "Theirs", text("kept"));
    services.files->createDirectory("C:\\windows\\system32");
    dataTag("[APPINFO]\r\n1=App\r\n[FILES]\r\nTOTAL=1\r\n[ADVANCEDACTIONS]\r\nTOTAL=1\r\n"
            "C0=Download\r\nF0=" + server.url("/pkg/extra.zip") + "\r\n");
    package({{"C:\\b\\a.txt", "<Install Dir>*0,0,0"}});
    const auto before = engine_test::snapshot(root.root());

    folders.set(setup::FolderKind::InstallDir, run.installFolder);
    const std::string title = "setup";
    setup::SetupContext context{services, prompter, run, folders, data, title};
    ASSERT_EQ(setup::runSilentInstall(context), setup::kExitDone);
    EXPECT_EQ(host("Program Files/App/extra.zip"), "hello");

    std::string problem;
    const auto installation = uninstall::loadInstallation(
        *services.files, "C:\\Program Files\\App\\install.log", 1253, problem);
    ASSERT_TRUE(installation) << problem;
    const auto outcome = uninstall::uninstall(
        *installation, {*services.files, *services.registry, *services.system, *services.profiles});
    for (const auto& left : outcome.leftovers) ADD_FAILURE() << "left: " << left.item;
    engine_test::expectSameTree(before, engine_test::snapshot(root.root()));
}

// A shell folder is the system's: made when a file first goes into it, never recorded as the
// installation's, so the uninstaller leaves it; one nothing goes into is not made at all.
TEST_F(EngineTest, a_shell_folder_is_made_for_its_first_file_and_stays_the_systems) {
    folders.set(setup::FolderKind::MyMusic, "C:\\Users\\u\\Music");
    folders.set(setup::FolderKind::MyPictures, "C:\\Users\\u\\Pictures");
    services.files->createDirectory("C:\\windows\\system32");
    dataTag("[APPINFO]\r\n1=App\r\n[FILES]\r\nTOTAL=2\r\n");
    package({{"C:\\b\\song.mp3", "<My Music Folder>\\Album*0,0,0"},
             {"C:\\b\\a.txt", "<Install Dir>*0,0,0"}});
    ASSERT_EQ(install(), RunOutcome::Finished);
    EXPECT_EQ(host("Users/u/Music/Album/song.mp3"), "member 0");
    EXPECT_FALSE(fs::exists(root.driveC() / "Users/u/Pictures"));

    std::string problem;
    const auto installation =
        uninstall::loadInstallation(*services.files, installer->logPath(), 1253, problem);
    ASSERT_TRUE(installation) << problem;
    const auto outcome = uninstall::uninstall(
        *installation, {*services.files, *services.registry, *services.system, *services.profiles});
    for (const auto& left : outcome.leftovers) ADD_FAILURE() << "left: " << left.item;
    EXPECT_FALSE(fs::exists(root.driveC() / "Users/u/Music/Album"));
    EXPECT_TRUE(fs::is_directory(root.driveC() / "Users/u/Music"));
}

}  // namespace
