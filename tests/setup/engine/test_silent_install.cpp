// One silent installation of a small package into a fresh $WINROOT, checked for everything it
// leaves behind.

#include <filesystem>
#include <fstream>

#include "engine_support.h"
#include "setup/engine/WinText.h"

using engine_test::EngineTest;
using engine_test::readLink;
using engine_test::wide;
using platform::RegRoot;

namespace {

const char* kDataTag =
    "[APPINFO]\r\n1=App\r\n3=1.0\r\n4=Acme\r\n"
    "[FILES]\r\nTOTAL=5\r\n"
    "[ENVIR]\r\nTOTAL=2\r\nA0=PATH\r\nB0=<Install Dir>\r\nC0=User\r\n"
    "A1=APPDATA_DIR\r\nB1=<Install Dir>\\data\r\nC1=System\r\n"
    "[INI]\r\nTOTAL=1\r\nN10=Paths\r\nN20=Home\r\nN30=<Install Dir>\r\nN40=app.ini\r\n"
    "N50=<Install Dir>\r\n"
    "[KILLPROCESS]\r\nCLASSNAME=AppWindow\r\n"
    "[FOLDER]\r\nTOTAL=3\r\nSHOWWINDOWFOLDER=NO\r\n"
    "A0=App\r\nB0=Programs Menu Folder\r\nC0=Maximized\r\nD0=<Install Dir>\\bin\\App.exe\r\n"
    "E0=<Install Dir>\r\nF0=app.ico\r\nG0=--start\r\n"
    "A1=Remove App\r\nB1=Programs Menu Folder\r\nD1=zuninstall.exe\r\n"
    "A2=Site\r\nB2=Favorites Folder\r\nD2=http://example.com/\r\n";

}  // namespace

TEST_F(EngineTest, silent_install_leaves_exactly_this) {
    dataTag(kDataTag);
    package({{"C:\\build\\App.exe", "<Install Dir>\\lib*0,0,0"},
             {"C:\\build\\readme.txt", "<Install Dir>\\docs*0,0,0"},
             {"C:\\build\\shared.dll", "<Shared DLLs>*0,0,0"},
             {"C:\\build\\app.ico", "<Install Dir>*0,1,0"},
             {"C:\\build\\scratch.tmp", "<Temp Dir>*0,0,0"}});
    root.writeHostFile("windows/temp/zuninstall.exe", "uninstaller");
    root.writeHostFile("windows/temp/readme.txt", "readme");
    services.registry->setValue(RegRoot::CurrentUser, "Environment", "PATH",
                                platform::RegValue{platform::RegValue::Type::String, "old", 0, ""});
    run.userName = "Νίκος";

    ASSERT_EQ(install(), setup::RunOutcome::Finished);
    EXPECT_EQ(run.state(), setup::InstallState::Done);

    // Files, with the member's bytes.
    EXPECT_EQ(host("Program Files/App/lib/App.exe"), "member 0");
    EXPECT_EQ(host("Program Files/App/docs/readme.txt"), "member 1");
    EXPECT_EQ(host("windows/system32/shared.dll"), "member 2");
    EXPECT_EQ(host("Program Files/App/app.ico"), "member 3");
    EXPECT_EQ(host("windows/system32/zuninstall.exe"), "uninstaller");
    EXPECT_EQ(host("Program Files/App/data.tag"), kDataTag);
    EXPECT_EQ(host("Program Files/App/app.ini"), "[Paths]\r\nHome=C:\\Program Files\\App\r\n");
    EXPECT_TRUE(services.files->list("C:\\windows\\temp", "*").empty());

    // Registry and environment.
    const std::string uninstall = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\App";
    EXPECT_EQ(reg(RegRoot::LocalMachine, uninstall, "DisplayName")->text, "App");
    EXPECT_EQ(reg(RegRoot::LocalMachine, uninstall, "UninstallString")->text,
              "C:\\windows\\system32\\zuninstall.exe \"C:\\Program Files\\App\\install.log\"");
    EXPECT_EQ(reg(RegRoot::LocalMachine, "Software\\Acme\\App", "PATH")->text,
              "C:\\Program Files\\App");
    EXPECT_EQ(reg(RegRoot::LocalMachine, "Software\\Acme\\App", "VERSION")->text, "1.0");
    EXPECT_EQ(reg(RegRoot::LocalMachine, "Software\\Acme\\App", "NAME")->text, "Νίκος");
    EXPECT_FALSE(reg(RegRoot::LocalMachine, "Software\\Acme\\App", "COMPANY"));
    EXPECT_EQ(reg(RegRoot::CurrentUser, "Environment", "PATH")->text, "C:\\Program Files\\App");
    EXPECT_EQ(reg(RegRoot::LocalMachine,
                  "SYSTEM\\CurrentControlSet\\Control\\Session Manager\\Environment", "APPDATA_DIR")
                  ->text,
              "C:\\Program Files\\App\\data");

    // Shortcuts: the program's link points at where App.exe was installed.
    const auto app = readLink(host("Menu/Programs/App/App.lnk"));
    EXPECT_EQ(app.ansiPath, "C:\\Program Files\\App\\lib\\App.exe");
    EXPECT_EQ(app.showCommand, 3u);
    EXPECT_EQ(app.fileSize, 8u);
    ASSERT_EQ(app.strings.size(), 3u);
    EXPECT_EQ(app.strings[0], wide("C:\\Program Files\\App"));
    EXPECT_EQ(app.strings[1], wide("--start"));
    EXPECT_EQ(app.strings[2], wide("C:\\Program Files\\App\\app.ico"));
    const auto remove = readLink(host("Menu/Programs/App/Remove App.lnk"));
    EXPECT_EQ(remove.ansiPath, "C:\\windows\\system32\\zuninstall.exe");
    ASSERT_EQ(remove.strings.size(), 1u);
    EXPECT_EQ(remove.strings[0], wide("\"C:\\Program Files\\App\\install.log\""));
    EXPECT_EQ(host("Favorites/Site.url"), "[InternetShortcut]\r\nURL=http://example.com/\r\n");
    EXPECT_TRUE(launcher->opened.empty());

    // The desktop entries, written where the host desktop looks.
    const auto apps = root.root() / "xdg" / "applications";
    const auto hostExe = (root.driveC() / "Program Files/App/lib/App.exe").string();
    std::ifstream in(apps / "app-app.desktop");
    const std::string entry{std::istreambuf_iterator<char>(in), {}};
    // Started from the menu, the program opens on the tree it was installed into.
    EXPECT_EQ(entry, "[Desktop Entry]\nType=Application\nName=App\nExec=env \"WINROOT=" +
                         root.root().string() + "\" \"" + hostExe + "\" \"--start\"\nPath=" +
                         (root.driveC() / "Program Files/App").string() +
                         "\nCategories=Office;\nTerminal=false\n");
    EXPECT_TRUE(std::filesystem::exists(apps / "app-remove-app.desktop"));
    std::string xdgWin = "z:" + (root.root() / "xdg").string();
    for (char& c : xdgWin)
        if (c == '/') c = '\\';
    const std::string appsWin = xdgWin + "\\applications";

    // The log, record by record.
    const std::vector<std::pair<std::string, std::string>> logged = {
        {"0", "c:\\program files\\app\\lib\\app.exe"},
        {"1", "c:\\program files\\app\\docs\\readme.txt"},
        {"2", "<none>"},  // the uninstaller's number
        {"3", "c:\\menu\\programs\\app\\app.lnk"},
        {"4", setup::lowerCase(appsWin + "\\app-app.desktop")},
        {"5", "c:\\menu\\programs\\app\\remove app.lnk"},
        {"6", setup::lowerCase(appsWin + "\\app-remove-app.desktop")},
        {"7", "c:\\favorites\\site.url"},
        {"8", "c:\\menu\\programs\\app\\"},
        {"9", "c:\\program files\\app\\data.tag"},
        {"10", "c:\\program files\\app\\app.ini"},
        {"11", "<none>"},
    };
    for (const auto& [key, value] : logged) EXPECT_EQ(log("LOG", key), value) << key;
    const std::vector<std::string> dirs = {"C:\\Program Files\\",
                                           "C:\\Program Files\\App\\",
                                           "C:\\Program Files\\App\\lib\\",
                                           "C:\\Program Files\\App\\docs\\",
                                           "C:\\windows\\",
                                           "C:\\windows\\system32\\",
                                           "C:\\windows\\temp\\",
                                           "C:\\Menu\\Programs\\App",
                                           "C:\\Menu\\",
                                           "C:\\Menu\\Programs\\",
                                           "C:\\Menu\\Programs\\App\\",
                                           xdgWin + "\\",
                                           xdgWin + "\\applications\\",
                                           "<none>"};
    for (std::size_t i = 0; i < dirs.size(); ++i)
        EXPECT_EQ(log("DIR", std::to_string(i)), dirs[i]) << i;
    EXPECT_EQ(log("UNINSTALL", "PATH"), uninstall);
    for (const char* key : {"PATH1", "PATH2", "PATH3", "PATH4"}) EXPECT_EQ(log("CAMINHO", key), "");
    EXPECT_EQ(log("RTYPE", "MERILDA"), "NAO");
    EXPECT_EQ(log("REGISTRY", "PATH"), "Software\\Acme\\App");
    EXPECT_EQ(log("REGISTRY", "VERSION"), "Software\\Acme\\App");
    EXPECT_EQ(log("KILLPROCESS", "CLASSNAME"), "AppWindow");
    EXPECT_EQ(log("KILLPROCESS", "METHOD"), "");
    EXPECT_EQ(services.profiles->sections(installer->logPath()),
              (std::vector<std::string>{"DIR", "LOG", "KILLPROCESS", "UNINSTALL", "CAMINHO",
                                        "RTYPE", "REGISTRY"}));
}
