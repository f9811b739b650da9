#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <optional>

#include "platform/FileSystem.h"
#include "platform/HostEntries.h"
#include "platform/WinRoot.h"
#include "support/TempWinRoot.h"

namespace fs = std::filesystem;
using testing_support::TempWinRoot;

namespace {

std::vector<std::string> hostNames(const fs::path& folder) {
    std::vector<std::string> names;
    for (const auto& e : fs::directory_iterator(folder))
        names.push_back(e.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

TEST(FileSystem, names_match_without_regard_to_case) {
    TempWinRoot root;
    root.writeHostFile("program files/dezovur/Ergasies.dat", "list");
    auto& fs = root.fs();
    EXPECT_EQ(fs.readFile("c:\\program files\\dezovur\\ergasies.dat"), "list");
    EXPECT_EQ(fs.readFile("C:\\PROGRAM FILES\\DEZOVUR\\ERGASIES.DAT"), "list");
    EXPECT_TRUE(fs.exists("c:\\Program Files\\Dezovur\\eRGASIES.dat"));
    EXPECT_TRUE(fs.isDirectory("c:\\PROGRAM FILES\\dezovur"));
    EXPECT_EQ(fs.hostPath("c:\\PROGRAM FILES\\DEZOVUR\\ERGASIES.DAT"),
              root.driveC() / "program files" / "dezovur" / "Ergasies.dat");
}

// A folder found under another spelling is remembered; whatever then happens to it, from this
// process or another, the next call must see the folder that is there now.
TEST(FileSystem, a_folder_found_under_another_spelling_follows_what_becomes_of_it) {
    const struct {
        const char* what;
        std::function<void(TempWinRoot&)> change;
        std::optional<std::string> expected;
    } cases[] = {
        {"renamed away, another made", [](TempWinRoot& r) {
             fs::rename(r.driveC() / "Jobs", r.driveC() / "Old");
             r.writeHostFile("JOBS/a.dat", "new");
         }, "new"},
        {"removed and made again by the program", [](TempWinRoot& r) {
             ASSERT_TRUE(r.fs().removeFile("c:\\jobs\\a.dat"));
             ASSERT_TRUE(r.fs().removeDirectory("c:\\jobs"));
             ASSERT_TRUE(r.fs().createDirectory("c:\\JoBs"));
             ASSERT_TRUE(r.fs().writeFile("c:\\JoBs\\A.dat", "again"));
         }, "again"},
        {"replaced by a link elsewhere", [](TempWinRoot& r) {
             fs::rename(r.driveC() / "Jobs", r.driveC() / "Old");
             r.writeHostFile("Other/a.dat", "other");
             fs::create_directory_symlink(r.driveC() / "Other", r.driveC() / "Jobs");
         }, "other"},
        {"gone", [](TempWinRoot& r) { fs::remove_all(r.driveC() / "Jobs"); }, std::nullopt},
    };
    for (const auto& c : cases) {
        TempWinRoot root;
        root.writeHostFile("Jobs/a.dat", "old");
        ASSERT_EQ(root.fs().readFile("c:\\jobs\\a.dat"), "old") << c.what;
        c.change(root);
        EXPECT_EQ(root.fs().readFile("c:\\jobs\\a.dat"), c.expected) << c.what;
        EXPECT_EQ(root.fs().exists("c:\\jobs\\a.dat"), c.expected.has_value()) << c.what;
    }
}

// The program's own writes do not have a folder read again, but a name another process adds
// afterwards (its change time later than the program's last change) must be seen.
TEST(FileSystem, a_name_added_by_another_process_after_the_programs_own_is_found) {
    TempWinRoot root;
    auto& files = root.fs();
    ASSERT_TRUE(files.createDirectory("c:\\d"));
    ASSERT_TRUE(files.writeFile("c:\\d\\a.txt", "a"));
    root.writeHostFile("d/B.TXT", "theirs");
    const timespec later[2] = {{0, UTIME_OMIT}, {::time(nullptr) + 2, 0}};
    ASSERT_EQ(::utimensat(AT_FDCWD, (root.driveC() / "d").c_str(), later, 0), 0);
    EXPECT_EQ(files.readFile("c:\\d\\b.txt"), "theirs");
    ASSERT_TRUE(files.writeFile("c:\\d\\b.txt", "ours"));
    EXPECT_EQ(hostNames(root.driveC() / "d"), (std::vector<std::string>{"B.TXT", "a.txt"}));
}

// A path deep below a folder the program made is known missing from that folder's names
// alone; once another process makes the chain, spelled as asked or otherwise, it is found.
TEST(FileSystem, a_chain_another_process_makes_below_the_programs_folder_is_found) {
    for (const char* made : {"x/y/z.txt", "X/Y/Z.TXT"}) {
        TempWinRoot root;
        auto& files = root.fs();
        ASSERT_TRUE(files.createDirectory("c:\\d"));
        EXPECT_FALSE(files.exists("c:\\d\\x\\y\\z.txt")) << made;
        root.writeHostFile(fs::path("d") / made, "theirs");
        const timespec later[2] = {{0, UTIME_OMIT}, {::time(nullptr) + 2, 0}};
        ASSERT_EQ(::utimensat(AT_FDCWD, (root.driveC() / "d").c_str(), later, 0), 0);
        EXPECT_EQ(files.readFile("c:\\d\\x\\y\\z.txt"), "theirs") << made;
    }
}

TEST(FileSystem, greek_names_match_as_windows_compares_them) {
    TempWinRoot root;
    root.writeHostFile("Ταχύς.dat", "t");
    root.writeHostFile("Άλφα.dat", "a");
    auto& fs = root.fs();
    EXPECT_EQ(fs.readFile("c:\\ΤΑΧΎΣ.DAT"), "t");
    EXPECT_EQ(fs.readFile("c:\\ταχύς.dat"), "t");
    EXPECT_EQ(fs.readFile("c:\\ταχύσ.dat"), "t");  // final and medial sigma are one letter
    EXPECT_EQ(fs.readFile("c:\\άλφα.DAT"), "a");
    // The accent is part of the letter: Υ is not Ύ, α is not ά.
    EXPECT_FALSE(fs.readFile("c:\\ΤΑΧΥΣ.DAT").has_value());
    EXPECT_FALSE(fs.exists("c:\\αλφα.dat"));
}

TEST(FileSystem, trailing_blanks_and_periods_are_ignored) {
    TempWinRoot root;
    root.writeHostFile("job/oix1.dat", "fragment");
    auto& fs = root.fs();
    EXPECT_EQ(fs.readFile("c:\\job\\oix1.dat "), "fragment");
    EXPECT_EQ(fs.readFile("c:\\job  \\OIX1.DAT. ."), "fragment");
    ASSERT_TRUE(fs.writeFile("c:\\job\\them1.dat ", "x"));
    ASSERT_TRUE(fs.writeFile("c:\\job\\oix1.dat ", "new"));
    EXPECT_EQ(hostNames(root.driveC() / "job"),
              (std::vector<std::string>{"oix1.dat", "them1.dat"}));
    EXPECT_EQ(root.readHostFile("job/oix1.dat"), "new");
}

TEST(FileSystem, dot_dot_stops_at_the_drive_root) {
    TempWinRoot root;
    { std::ofstream(root.root() / "secret.txt") << "outside"; }
    root.writeHostFile("a/inside.txt", "in");
    auto& fs = root.fs();
    EXPECT_FALSE(fs.readFile("c:\\..\\secret.txt").has_value());
    EXPECT_FALSE(fs.exists("c:\\a\\..\\..\\..\\secret.txt"));
    EXPECT_EQ(fs.hostPath("c:\\..\\..\\secret.txt"), root.driveC() / "secret.txt");
    EXPECT_EQ(fs.hostPath("c:/a/../../b"), root.driveC() / "b");
    EXPECT_EQ(fs.readFile("c:\\..\\a\\.\\inside.txt"), "in");
    // "..." and ".. " are not a parent folder once trailing periods and blanks go.
    EXPECT_EQ(fs.hostPath("c:\\a\\...\\inside.txt"), root.driveC() / "a" / "inside.txt");
    EXPECT_EQ(fs.hostPath("c:\\a\\.. \\inside.txt"), root.driveC() / "a" / "inside.txt");
    ASSERT_TRUE(fs.writeFile("c:\\..\\..\\secret.txt", "inside"));
    EXPECT_EQ(root.readHostFile("secret.txt"), "inside");
    std::ifstream in(root.root() / "secret.txt");
    std::string text;
    in >> text;
    EXPECT_EQ(text, "outside");
}

TEST(FileSystem, both_separators_and_repeated_ones) {
    TempWinRoot root;
    root.writeHostFile("program files/dezovur/temp.dat", "job");
    auto& fs = root.fs();
    EXPECT_EQ(fs.readFile("c:/program files/dezovur/temp.dat"), "job");
    EXPECT_EQ(fs.readFile("c:\\program files/dezovur\\\\temp.dat"), "job");
    EXPECT_EQ(fs.hostPath("C:"), root.driveC());
    EXPECT_EQ(fs.hostPath("c:\\"), root.driveC());
}

TEST(FileSystem, refuses_paths_without_a_drive) {
    TempWinRoot root;
    root.writeHostFile("x.dat", "x");
    auto& fs = root.fs();
    for (const char* path :
         {"", "x.dat", "\\x.dat", "/x.dat", "c:x.dat", "\\\\server\\share\\x.dat",
          "//server/share/x.dat", "\\\\?\\c:\\x.dat", "1:\\x.dat", "q:\\x.dat", "c:\\x.dat:stream",
          "c:\\a*b", "c:\\bad\x01name"}) {
        SCOPED_TRACE(path);
        EXPECT_FALSE(fs.hostPath(path).has_value());
        EXPECT_FALSE(fs.readFile(path).has_value());
        EXPECT_FALSE(fs.exists(path));
        EXPECT_FALSE(fs.writeFile(path, "y"));
    }
    EXPECT_EQ(root.readHostFile("x.dat"), "x");
}

TEST(FileSystem, drive_letters_and_the_host_drive) {
    TempWinRoot root;
    auto& fs = root.fs();
    EXPECT_EQ(fs.hostPath("C:\\x"), fs.hostPath("c:\\x"));
    EXPECT_EQ(fs.hostPath("z:\\"), fs::path("/"));
    EXPECT_TRUE(fs.isDirectory("Z:\\TMP"));  // matched case-insensitively to /tmp
}

TEST(FileSystem, rewrite_keeps_the_existing_spelling_and_new_files_get_the_given_one) {
    TempWinRoot root;
    root.writeHostFile("dezovur/STOIXEIA.dat", "old");
    auto& fs = root.fs();
    ASSERT_TRUE(fs.writeFile("c:\\DEZOVUR\\stoixeia.dat", "new contents"));
    ASSERT_TRUE(fs.writeFile("c:\\dezovur\\Klimaka.Dat", "500\r\n"));
    EXPECT_EQ(hostNames(root.driveC() / "dezovur"),
              (std::vector<std::string>{"Klimaka.Dat", "STOIXEIA.dat"}));
    EXPECT_EQ(root.readHostFile("dezovur/STOIXEIA.dat"), "new contents");
    EXPECT_EQ(root.readHostFile("dezovur/Klimaka.Dat"), "500\r\n");
    // Shorter contents truncate.
    ASSERT_TRUE(fs.writeFile("c:\\dezovur\\stoixeia.DAT", "z"));
    EXPECT_EQ(root.readHostFile("dezovur/STOIXEIA.dat"), "z");
    ASSERT_TRUE(fs.writeFile("c:\\dezovur\\empty.dat", ""));
    EXPECT_EQ(fs.readFile("c:\\dezovur\\EMPTY.dat"), "");
}

TEST(FileSystem, writing_needs_the_folder_and_never_replaces_a_folder) {
    TempWinRoot root;
    auto& fs = root.fs();
    EXPECT_FALSE(fs.writeFile("c:\\missing\\x.dat", "x"));
    EXPECT_FALSE(fs::exists(root.driveC() / "missing"));
    ASSERT_TRUE(fs.createDirectory("c:\\folder"));
    EXPECT_FALSE(fs.writeFile("c:\\FOLDER", "x"));
    EXPECT_FALSE(fs.readFile("c:\\folder").has_value());
    EXPECT_FALSE(fs.writeFile("c:\\", "x"));
    EXPECT_TRUE(fs::is_directory(root.driveC() / "folder"));
}

TEST(FileSystem, folders_create_and_remove) {
    TempWinRoot root;
    auto& fs = root.fs();
    EXPECT_TRUE(fs.createDirectory("c:\\program files"));
    EXPECT_TRUE(fs.createDirectory("c:\\program files\\Dezovur"));
    EXPECT_TRUE(fs.createDirectory("c:\\PROGRAM FILES\\DEZOVUR"));  // already there
    EXPECT_EQ(hostNames(root.driveC() / "program files"), (std::vector<std::string>{"Dezovur"}));
    EXPECT_FALSE(fs.createDirectory("c:\\no\\such\\parent"));

    ASSERT_TRUE(fs.writeFile("c:\\program files\\dezovur\\ΑΒ.dat", "x"));
    EXPECT_FALSE(fs.createDirectory("c:\\program files\\dezovur\\αβ.DAT"));  // a file has it
    EXPECT_FALSE(fs.removeDirectory("c:\\program files\\dezovur"));          // not empty
    EXPECT_FALSE(fs.removeFile("c:\\program files\\dezovur"));               // not a file
    EXPECT_FALSE(fs.removeDirectory("c:\\program files\\dezovur\\αβ.dat"));
    EXPECT_TRUE(fs.removeFile("c:\\program files\\dezovur\\αβ.dat"));
    EXPECT_FALSE(fs.removeFile("c:\\program files\\dezovur\\αβ.dat"));
    EXPECT_TRUE(fs.removeDirectory("c:\\program files\\DEZOVUR"));
    EXPECT_FALSE(fs.exists("c:\\program files\\dezovur"));
    EXPECT_FALSE(fs.removeDirectory("c:\\"));
    EXPECT_TRUE(fs::is_directory(root.driveC()));
}

TEST(FileSystem, copy_respects_overwrite_and_never_empties_the_source) {
    TempWinRoot root;
    root.writeHostFile("a/Source.dat", "source bytes \x80\r\n");
    root.writeHostFile("a/Target.dat", "target");
    auto& fs = root.fs();
    EXPECT_FALSE(fs.copyFile("c:\\a\\source.dat", "c:\\a\\target.dat", false));
    EXPECT_EQ(root.readHostFile("a/Target.dat"), "target");
    EXPECT_TRUE(fs.copyFile("c:\\a\\source.dat", "c:\\a\\TARGET.DAT", true));
    EXPECT_EQ(root.readHostFile("a/Target.dat"), "source bytes \x80\r\n");
    EXPECT_TRUE(fs.copyFile("c:\\a\\source.dat", "c:\\a\\New.dat", false));
    EXPECT_EQ(root.readHostFile("a/New.dat"), "source bytes \x80\r\n");
    EXPECT_FALSE(fs.copyFile("c:\\a\\SOURCE.DAT", "c:\\a\\source.dat", true));
    EXPECT_EQ(root.readHostFile("a/Source.dat"), "source bytes \x80\r\n");
    EXPECT_FALSE(fs.copyFile("c:\\a\\missing.dat", "c:\\a\\other.dat", true));
    EXPECT_FALSE(fs.copyFile("c:\\a\\source.dat", "c:\\nowhere\\x.dat", true));
    EXPECT_EQ(hostNames(root.driveC() / "a"),
              (std::vector<std::string>{"New.dat", "Source.dat", "Target.dat"}));
}

TEST(FileSystem, list_with_windows_wildcards) {
    TempWinRoot root;
    for (const char* name :
         {"a.dat", "B.DAT", "readme", "f1.txt", "f12.txt", "Ώρα.dat", "x.dat.bak"}) {
        root.writeHostFile(fs::path("d") / name, "");
    }
    fs::create_directories(root.driveC() / "d" / "Sub.dat");
    auto& fs = root.fs();
    using V = std::vector<std::string>;
    EXPECT_EQ(fs.list("c:\\d", "*.*"),
              (V{"a.dat", "B.DAT", "f1.txt", "f12.txt", "readme", "x.dat.bak", "Ώρα.dat"}));
    EXPECT_EQ(fs.list("c:\\D\\", "*.dat"), (V{"a.dat", "B.DAT", "Ώρα.dat"}));
    EXPECT_EQ(fs.list("c:\\d", "*.DAT", true), (V{"a.dat", "B.DAT", "Sub.dat", "Ώρα.dat"}));
    EXPECT_EQ(fs.list("c:\\d", "f?.txt"), (V{"f1.txt"}));
    EXPECT_EQ(fs.list("c:\\d", "F*.TXT"), (V{"f1.txt", "f12.txt"}));
    EXPECT_EQ(fs.list("c:\\d", "*."), (V{"readme"}));
    EXPECT_EQ(fs.list("c:\\d", "ώρα.*"), (V{"Ώρα.dat"}));
    EXPECT_EQ(fs.list("c:\\d", "b.dat"), (V{"B.DAT"}));
    EXPECT_EQ(fs.list("c:\\d", "*"),
              (V{"a.dat", "B.DAT", "f1.txt", "f12.txt", "readme", "x.dat.bak", "Ώρα.dat"}));
    EXPECT_TRUE(fs.list("c:\\d", "*.xyz").empty());
    EXPECT_TRUE(fs.list("c:\\missing", "*.*").empty());
    EXPECT_TRUE(fs.list("c:\\d", "..\\*.*").empty());
}

TEST(FileSystem, list_pattern_with_many_stars_stays_fast) {
    TempWinRoot root;
    root.writeHostFile("d/" + std::string(200, 'a'), "");
    const std::string pattern = std::string(100, '*') + "b";
    EXPECT_TRUE(root.fs().list("c:\\d", pattern).empty());
    EXPECT_EQ(root.fs().list("c:\\d", std::string(100, '*') + "a").size(), 1u);
}

TEST(FileSystem, a_write_replaces_links_instead_of_writing_through_them) {
    TempWinRoot root;
    root.writeHostFile("outside.txt", "precious");
    root.writeHostFile("job/shared.dat", "old");
    fs::create_directories(root.driveC() / "job");
    fs::create_symlink(root.driveC() / "outside.txt", root.driveC() / "job" / "oix1.dat");
    fs::create_hard_link(root.driveC() / "job" / "shared.dat", root.driveC() / "other.dat");
    auto& fs = root.fs();
    EXPECT_TRUE(fs.isLink("c:\\job\\OIX1.dat"));
    EXPECT_FALSE(fs.isLink("c:\\job\\shared.dat"));

    ASSERT_TRUE(fs.writeFile("c:\\job\\oix1.dat", "fragment"));
    ASSERT_TRUE(fs.writeFileDurably("c:\\job\\SHARED.dat", "new"));
    EXPECT_EQ(root.readHostFile("outside.txt"), "precious");
    EXPECT_EQ(root.readHostFile("other.dat"), "old");
    EXPECT_FALSE(fs.isLink("c:\\job\\oix1.dat"));
    EXPECT_EQ(root.readHostFile("job/oix1.dat"), "fragment");
    // The existing spelling is kept and no temporary file is left behind.
    EXPECT_EQ(hostNames(root.driveC() / "job"),
              (std::vector<std::string>{"oix1.dat", "shared.dat"}));
    EXPECT_EQ(root.readHostFile("job/shared.dat"), "new");
}

TEST(FileSystem, a_read_only_file_or_folder_is_not_written) {
    TempWinRoot root;
    root.writeHostFile("job/l.dat", "kept");
    root.writeHostFile("locked/l.dat", "kept");
    auto& fs = root.fs();
    ASSERT_TRUE(fs.setAttributes("c:\\job\\l.dat", platform::kAttrReadOnly));
    EXPECT_FALSE(fs.writeFile("c:\\job\\l.dat", "new"));
    EXPECT_FALSE(fs.writeFileDurably("c:\\job\\l.dat", "new"));
    EXPECT_EQ(root.readHostFile("job/l.dat"), "kept");
    EXPECT_EQ(hostNames(root.driveC() / "job"), (std::vector<std::string>{"l.dat"}));
    if (::geteuid() != 0) {  // root writes into any folder
        fs::permissions(root.driveC() / "locked", fs::perms::owner_read | fs::perms::owner_exec);
        EXPECT_FALSE(fs.writeFile("c:\\locked\\l.dat", "new"));
        fs::permissions(root.driveC() / "locked", fs::perms::owner_all);
        EXPECT_EQ(root.readHostFile("locked/l.dat"), "kept");
    }
}

TEST(FileSystem, an_exclusive_lock_is_seen_by_other_processes_until_released) {
    TempWinRoot root;
    auto& fs = root.fs();
    const auto othersCanLock = [&] {
        const pid_t child = ::fork();
        if (child == 0) {
            const int fd = ::open((root.driveC() / "list.lock").c_str(), O_RDWR);
            ::_exit(fd >= 0 && ::flock(fd, LOCK_EX | LOCK_NB) == 0 ? 0 : 1);
        }
        int status = 0;
        ::waitpid(child, &status, 0);
        return WIFEXITED(status) && WEXITSTATUS(status) == 0;
    };
    {
        auto lock = fs.lockExclusive("c:\\list.lock");
        ASSERT_NE(lock, nullptr);
        EXPECT_FALSE(othersCanLock());
    }
    EXPECT_TRUE(othersCanLock());
    EXPECT_EQ(fs.lockExclusive("c:\\no such folder\\list.lock"), nullptr);
}

// What an uninstallation removes: the last name of a path is never followed, a folder on the
// way is followed only within its drive, and a folder swapped for a link once it was looked at
// does not lead the removal elsewhere.
TEST(EntryKinds, removal_stays_where_the_installation_was) {
    namespace pf = platform;
    const struct {
        const char* what;
        const char* path;
        std::function<void(TempWinRoot&, const fs::path& outside)> after;  // after the first look
        pf::EntryKind kind;
        bool removed;
        const char* gone;  // relative to drive C, empty: nothing
    } cases[] = {
        {"a file", "c:\\app\\a.txt", nullptr, pf::EntryKind::File, true, "app/a.txt"},
        {"spelled in another case", "C:\\APP\\A.TXT ", nullptr, pf::EntryKind::File, true,
         "app/a.txt"},
        {"a link", "c:\\app\\link", nullptr, pf::EntryKind::Link, true, "app/link"},
        {"a folder", "c:\\app\\sub", nullptr, pf::EntryKind::Folder, false, ""},
        {"missing", "c:\\app\\none.txt", nullptr, pf::EntryKind::Missing, true, ""},
        {"through a link out of the drive", "c:\\out\\a.txt", nullptr, pf::EntryKind::Outside,
         false, ""},
        {"a folder swapped for a link", "c:\\app\\a.txt",
         [](TempWinRoot& r, const fs::path& outside) {
             fs::rename(r.driveC() / "app", r.driveC() / "was");
             fs::create_directory_symlink(outside, r.driveC() / "app");
         },
         pf::EntryKind::File, true, "was/a.txt"},
    };
    for (const auto& c : cases) {
        TempWinRoot root;
        const fs::path outside = root.root() / "outside";
        fs::create_directories(outside);
        std::ofstream(outside / "a.txt") << "not ours";
        root.writeHostFile("app/a.txt", "ours");
        fs::create_directories(root.driveC() / "app/sub");
        fs::create_symlink(outside / "a.txt", root.driveC() / "app/link");
        fs::create_directory_symlink(outside, root.driveC() / "out");
        pf::EntryKinds kinds;
        EXPECT_EQ(kinds.of(root.fs(), c.path), c.kind) << c.what;
        if (c.after) {
            EXPECT_EQ(kinds.of(root.fs(), "c:\\app\\sub"), pf::EntryKind::Folder) << c.what;
            c.after(root, outside);
        }
        EXPECT_EQ(kinds.removeFile(root.fs(), c.path), c.removed) << c.what;
        if (*c.gone) {
            EXPECT_FALSE(fs::exists(fs::symlink_status(root.driveC() / c.gone))) << c.what;
        }
        EXPECT_TRUE(fs::exists(outside / "a.txt")) << c.what;
        EXPECT_TRUE(fs::exists(root.driveC() / "app/sub") || c.after) << c.what;
    }
}

TEST(WinRoot, fresh_root_gets_drives_c_and_z) {
    TempWinRoot temp;
    const fs::path root = temp.root() / "fresh";
    ASSERT_TRUE(platform::prepareWinRoot(root));
    EXPECT_EQ(fs::read_symlink(root / "dosdevices" / "c:"), fs::path("../drive_c"));
    EXPECT_EQ(fs::read_symlink(root / "dosdevices" / "z:"), fs::path("/"));
    EXPECT_TRUE(fs::is_directory(root / "drive_c"));

    auto files = platform::makePosixFileSystem(root);
    ASSERT_TRUE(files->writeFile("c:\\hello.txt", "hi"));
    EXPECT_EQ(files->hostPath("c:\\hello.txt"), root / "drive_c" / "hello.txt");
    EXPECT_TRUE(fs::exists(root / "drive_c" / "hello.txt"));
}

TEST(WinRoot, existing_drive_entries_are_left_alone) {
    TempWinRoot temp;
    const fs::path root = temp.root() / "custom";
    fs::create_directories(root / "dosdevices");
    fs::create_directories(root / "elsewhere");
    fs::create_directory_symlink("../elsewhere", root / "dosdevices" / "c:");
    fs::create_directories(root / "dosdevices" / "d:");
    ASSERT_TRUE(platform::prepareWinRoot(root));
    EXPECT_EQ(fs::read_symlink(root / "dosdevices" / "c:"), fs::path("../elsewhere"));
    EXPECT_FALSE(fs::exists(root / "drive_c"));

    auto files = platform::makePosixFileSystem(root);
    ASSERT_TRUE(files->writeFile("c:\\a.txt", "c"));
    ASSERT_TRUE(files->writeFile("D:\\b.txt", "d"));
    EXPECT_TRUE(fs::exists(root / "elsewhere" / "a.txt"));
    EXPECT_TRUE(fs::exists(root / "dosdevices" / "d:" / "b.txt"));
    EXPECT_EQ(files->hostPath("d:\\..\\..\\b.txt"), root / "dosdevices" / "d:" / "b.txt");
    EXPECT_FALSE(files->exists("e:\\"));
}

TEST(WinRoot, location_from_the_environment) {
    TempWinRoot temp;  // restores WINROOT and XDG_DATA_HOME afterwards
    setenv("WINROOT", "/some/where", 1);
    EXPECT_EQ(platform::winRootFromEnvironment(), fs::path("/some/where"));
    unsetenv("WINROOT");
    setenv("XDG_DATA_HOME", "/data/home", 1);
    EXPECT_EQ(platform::winRootFromEnvironment(), fs::path("/data/home/winroot"));
    setenv("XDG_DATA_HOME", "", 1);
    const char* home = std::getenv("HOME");
    const std::string savedHome = home ? home : "";
    setenv("HOME", "/home/someone", 1);
    EXPECT_EQ(platform::winRootFromEnvironment(), fs::path("/home/someone/.local/share/winroot"));
    if (home)
        setenv("HOME", savedHome.c_str(), 1);
    else
        unsetenv("HOME");
}

}  // namespace
