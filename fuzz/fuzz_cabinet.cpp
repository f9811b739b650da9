// Arbitrary bytes as file1.cab, unpacked by the extractor into a real temporary $WINROOT: every
// member name the cabinet stores goes through the member-name check and the extractor's I/O
// glue over libmspack. Whatever the cabinet says, the file system must only be asked to change
// entries directly inside the extraction folder, under plain file names, and afterwards the
// extraction folder may hold plain files only while nothing else under the root has changed.
//
// Input: a cabinet; a second "MSCF" after the first starts the next part of a set, which is put
// where the extractor asks for the next disk (as a user inserting it would).

#include <unistd.h>

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <mutex>
#include <set>
#include <string>
#include <vector>

#include "platform/WinRoot.h"
#include "setup/engine/CabinetExtractor.h"
#include "support/CabinetBytes.h"

namespace fs = std::filesystem;

namespace {

constexpr std::string_view kPrefix = "C:\\x\\";

// Passes everything to the real file system and writes down every path it is asked to change.
class RecordingFileSystem final : public platform::FileSystem {
public:
    explicit RecordingFileSystem(platform::FileSystem& inner) : inner_(inner) {}

    std::vector<std::string> changed() {
        const std::lock_guard lock(mutex_);
        return changed_;
    }
    void clear() {
        const std::lock_guard lock(mutex_);
        changed_.clear();
    }

    std::optional<fs::path> hostPath(std::string_view p) const override {
        return inner_.hostPath(p);
    }
    std::optional<std::string> readFile(std::string_view p) const override {
        return inner_.readFile(p);
    }
    bool writeFile(std::string_view p, std::string_view b) override {
        note(p);
        return inner_.writeFile(p, b);
    }
    bool writeFileDurably(std::string_view p, std::string_view b) override {
        note(p);
        return inner_.writeFileDurably(p, b);
    }
    bool exists(std::string_view p) const override { return inner_.exists(p); }
    bool isDirectory(std::string_view p) const override { return inner_.isDirectory(p); }
    bool createDirectory(std::string_view p) override {
        note(p);
        return inner_.createDirectory(p);
    }
    bool removeDirectory(std::string_view p) override {
        note(p);
        return inner_.removeDirectory(p);
    }
    bool removeFile(std::string_view p) override {
        note(p);
        return inner_.removeFile(p);
    }
    bool copyFile(std::string_view from, std::string_view to, bool overwrite) override {
        note(to);
        return inner_.copyFile(from, to, overwrite);
    }
    std::vector<std::string> list(std::string_view f, std::string_view pattern,
                                  bool includeFolders) const override {
        return inner_.list(f, pattern, includeFolders);
    }
    std::unique_ptr<platform::File> open(std::string_view p, OpenMode mode) override {
        if (mode != OpenMode::Read) note(p);
        return inner_.open(p, mode);
    }
    bool setModifiedTime(std::string_view p, std::int64_t t) override {
        note(p);
        return inner_.setModifiedTime(p, t);
    }
    std::optional<std::int64_t> modifiedTime(std::string_view p) const override {
        return inner_.modifiedTime(p);
    }
    bool setAttributes(std::string_view p, std::uint32_t a) override {
        note(p);
        return inner_.setAttributes(p, a);
    }
    std::optional<std::uint32_t> attributes(std::string_view p) const override {
        return inner_.attributes(p);
    }
    bool isReadOnly(std::string_view p) const override { return inner_.isReadOnly(p); }
    bool setExecutable(std::string_view p) override {
        note(p);
        return inner_.setExecutable(p);
    }
    bool isLink(std::string_view p) const override { return inner_.isLink(p); }
    std::unique_ptr<Lock> lockExclusive(std::string_view p) override {
        note(p);
        return inner_.lockExclusive(p);
    }

private:
    void note(std::string_view p) {
        const std::lock_guard lock(mutex_);
        changed_.emplace_back(p);
    }

    platform::FileSystem& inner_;
    std::mutex mutex_;
    std::vector<std::string> changed_;
};

// Answers the next-disk question by putting the next part where it was asked for.
class DiskChanger final : public setup::Prompter {
public:
    explicit DiskChanger(platform::FileSystem& files) : files_(files) {}
    std::string nextPart;  // empty: there is none, and the question is cancelled

    void message(std::string_view, std::string_view) override {}
    setup::Answer okCancel(std::string_view text, std::string_view) override {
        const auto cut = text.find("\r\n");
        if (nextPart.empty() || cut == std::string_view::npos) return setup::Answer::Cancel;
        files_.writeFile(text.substr(cut + 2), nextPart);
        nextPart.clear();
        return setup::Answer::Ok;
    }
    setup::Answer yesNo(std::string_view, std::string_view, std::string_view,
                        std::string_view) override {
        return setup::Answer::No;
    }

private:
    platform::FileSystem& files_;
};

std::set<std::string> entriesUnder(const fs::path& root) {
    std::set<std::string> out;
    for (auto it = fs::recursive_directory_iterator(root); it != fs::recursive_directory_iterator();
         ++it)
        out.insert(fs::relative(it->path(), root).string());
    return out;
}

// One name Windows could give a file: no folder, drive, wildcard or control character, not only
// dots and blanks (the folder itself), and no device ("nul.txt" is the device NUL).
bool plainName(std::string_view name) {
    if (name.empty() || name.find_last_not_of(" .") == std::string_view::npos) return false;
    for (const char ch : name) {
        const auto c = static_cast<unsigned char>(ch);
        if (c < 0x20 || c == 0x7F || std::strchr("\\/:*?\"<>|", ch)) return false;
    }
    std::string stem(name.substr(0, name.find('.')));
    while (!stem.empty() && stem.back() == ' ') stem.pop_back();
    for (char& c : stem)
        if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 0x20);
    static const std::set<std::string> kDevices = {
        "CON",  "PRN",  "AUX",  "NUL",  "COM1", "COM2", "COM3",   "COM4",
        "COM5", "COM6", "COM7", "COM8", "COM9", "LPT1", "LPT2",   "LPT3",
        "LPT4", "LPT5", "LPT6", "LPT7", "LPT8", "LPT9", "CONIN$", "CONOUT$"};
    return !kDevices.count(stem);
}

struct Fixture {
    fs::path root;
    fs::path setupFolder;
    fs::path extraction;
    std::unique_ptr<platform::FileSystem> host;
    std::unique_ptr<RecordingFileSystem> files;
    std::set<std::string> before;  // everything outside the setup and extraction folders

    Fixture() {
        // Every member is a file created and stamped: in memory rather than on a disk.
        std::error_code ec;
        const fs::path base =
            fs::is_directory("/dev/shm", ec) ? fs::path("/dev/shm") : fs::temp_directory_path();
        std::string templ = (base / "fuzz-cabinet-XXXXXX").string();
        if (!mkdtemp(templ.data())) std::abort();
        root = templ;
        platform::prepareWinRoot(root);
        setupFolder = root / "drive_c" / "setup";
        extraction = root / "drive_c" / "x";
        std::ofstream(root / "drive_c" / "bystander.txt") << "must stay as it is";
        host = platform::makePosixFileSystem(root);
        files = std::make_unique<RecordingFileSystem>(*host);
        reset();
        before = entriesUnder(root);
        // A harness that cannot unpack a good cabinet finds nothing: say so at once.
        const std::string good =
            testing_support::cabinet({{"a.txt", "alpha"}, {"Β.dat", std::string(40000, 'b')}});
        std::ofstream(setupFolder / "file1.cab", std::ios::binary) << good;
        DiskChanger prompter(*host);
        setup::CabinetExtractor extractor(*files, prompter);
        const auto result = extractor.extract("C:\\setup\\file1.cab", kPrefix, "C:\\setup");
        if (result.outcome != setup::ExtractionResult::Outcome::Done || result.members != 2)
            std::abort();
    }
    ~Fixture() {
        std::error_code ec;
        fs::remove_all(root, ec);
    }

    void reset() {
        std::error_code ec;
        fs::remove_all(setupFolder, ec);
        fs::remove_all(extraction, ec);
        fs::create_directories(setupFolder);
        fs::create_directories(extraction);
        files->clear();
    }
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static Fixture f;
    f.reset();
    const std::string input(reinterpret_cast<const char*>(data), size);
    const auto second = input.find("MSCF", 4);
    std::ofstream(f.setupFolder / "file1.cab", std::ios::binary) << input.substr(0, second);

    DiskChanger prompter(*f.host);
    if (second != std::string::npos) prompter.nextPart = input.substr(second);
    setup::CabinetExtractor extractor(*f.files, prompter);
    const auto result = extractor.extract("C:\\setup\\file1.cab", kPrefix, "C:\\setup");

    for (const std::string& path : f.files->changed()) {
        if (path.compare(0, kPrefix.size(), kPrefix) != 0) std::abort();
        if (!plainName(std::string_view(path).substr(kPrefix.size()))) std::abort();
    }
    std::size_t written = 0;
    for (const auto& entry : fs::directory_iterator(f.extraction)) {
        if (!entry.is_regular_file() || entry.is_symlink()) std::abort();
        ++written;
    }
    // Members of the same name share a file; none is counted that was not written.
    if (written > static_cast<std::size_t>(result.members) && result.members > 0) std::abort();
    if (result.outcome == setup::ExtractionResult::Outcome::Done && result.members > 0 &&
        written == 0)
        std::abort();
    auto after = entriesUnder(f.root);
    std::erase_if(after, [](const std::string& e) {
        return e.rfind("drive_c/setup/", 0) == 0 || e.rfind("drive_c/x/", 0) == 0;
    });
    if (after != f.before) std::abort();
    return 0;
}
