#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdio>
#include <filesystem>
#include <fstream>

#include "engine_support.h"
#include "setup/engine/ShellLink.h"

using engine_test::readLink;
using engine_test::wide;

namespace {

std::string runCommand(const std::string& command, int& status) {
    std::string out;
    FILE* pipe = ::popen(command.c_str(), "r");
    if (!pipe) return out;
    char buffer[4096];
    for (std::size_t n; (n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0;)
        out.append(buffer, n);
    status = ::pclose(pipe);
    return out;
}

bool haveTool(const char* name) {
    int status = -1;
    runCommand(std::string("command -v ") + name + " >/dev/null 2>&1", status);
    return status == 0;
}

std::filesystem::path saved(const std::string& bytes, const char* name) {
    auto path = std::filesystem::temp_directory_path() / name;
    std::ofstream(path, std::ios::binary) << bytes;
    return path;
}

}  // namespace

TEST(ShellLink, fields_read_back) {
    setup::ShellLinkData link;
    link.target = "C:\\Program Files\\Αμοιβές\\app.exe";
    link.workingFolder = "C:\\Program Files\\Αμοιβές";
    link.arguments = "/x \"a b\"";
    link.iconLocation = "C:\\Program Files\\Αμοιβές\\app.ico";
    link.showCommand = 7;
    link.fileSize = 1234;
    link.codePage = 1253;
    const auto f = readLink(setup::shellLinkBytes(link));
    EXPECT_EQ(f.flags, 0x2u | 0x10 | 0x20 | 0x40 | 0x80);
    EXPECT_EQ(f.showCommand, 7u);
    EXPECT_EQ(f.fileSize, 1234u);
    EXPECT_EQ(f.ansiPath, "C:\\Program Files\\\xC1\xEC\xEF\xE9\xE2\xDD\xF2\\app.exe");
    EXPECT_EQ(f.unicodePath.substr(0, 34), wide("C:\\Program Files\\"));
    ASSERT_EQ(f.strings.size(), 3u);
    EXPECT_EQ(f.strings[1], wide("/x \"a b\""));
    EXPECT_TRUE(f.terminated);
}

TEST(ShellLink, empty_strings_left_out_and_show_commands) {
    struct Case {
        std::uint32_t show, stored;
    } cases[] = {{1, 1}, {3, 3}, {7, 7}, {6, 1}, {0, 1}};
    for (const auto& c : cases) {
        setup::ShellLinkData link;
        link.target = "C:\\app.exe";
        link.showCommand = c.show;
        const auto f = readLink(setup::shellLinkBytes(link));
        EXPECT_EQ(f.flags, 0x82u);
        EXPECT_TRUE(f.strings.empty());
        EXPECT_EQ(f.showCommand, c.stored);
        EXPECT_TRUE(f.terminated);
    }
}

TEST(ShellLink, lnkinfo_reads_it) {
    ASSERT_TRUE(haveTool("lnkinfo")) << "lnkinfo (liblnk-utils, scripts/install-deps) is missing";
    setup::ShellLinkData link;
    link.target = "C:\\Program Files\\Αμοιβές\\app.exe";
    link.workingFolder = "C:\\Program Files\\Αμοιβές";
    link.arguments = "--statement";
    const auto path = saved(setup::shellLinkBytes(link), "engine-test.lnk");
    int status = -1;
    const auto out = runCommand("lnkinfo '" + path.string() + "' 2>&1", status);
    std::filesystem::remove(path);
    EXPECT_EQ(status, 0) << out;
    EXPECT_NE(out.find("C:\\Program Files\\Αμοιβές\\app.exe"), std::string::npos) << out;
    EXPECT_NE(out.find("--statement"), std::string::npos) << out;
}

TEST(DesktopEntry, exec_quoting_and_validation) {
    setup::DesktopEntryData entry{"Αμοιβές 100%", "/opt/a b/dezovur", "statement \"x $y\"",
                                  "/opt/a b", "", "", ""};
    const auto text = setup::desktopEntryText(entry);
    EXPECT_EQ(text,
              "[Desktop Entry]\nType=Application\nName=Αμοιβές 100%\n"
              "Exec=\"/opt/a b/dezovur\" \"statement\" \"x \\\\$y\"\n"
              "Path=/opt/a b\nTerminal=false\n");
    EXPECT_EQ(setup::desktopFileName("Dezovur", "Uninstall Dezovur"),
              "dezovur-uninstall-dezovur.desktop");
    ASSERT_TRUE(haveTool("desktop-file-validate"))
        << "desktop-file-validate (desktop-file-utils, scripts/install-deps) is missing";
    const auto path = saved(text, "engine-test.desktop");
    int status = -1;
    const auto out = runCommand("desktop-file-validate '" + path.string() + "' 2>&1", status);
    std::filesystem::remove(path);
    EXPECT_EQ(status, 0) << out;
}
