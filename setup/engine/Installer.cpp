#include "setup/engine/Installer.h"

#include <algorithm>
#include <atomic>
#include <condition_variable>
#include <ctime>
#include <memory>
#include <mutex>
#include <thread>

#include "setup/engine/WinText.h"

namespace setup {
namespace {

std::pair<int, int> localMinutesSeconds() {
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    return {local.tm_min, local.tm_sec};
}

bool contains(std::string_view text, std::string_view part) {
    return text.find(part) != std::string_view::npos;
}

// The kinds whose files are copied with the plain rule.
bool plainCopyKind(FolderKind kind) {
    switch (kind) {
        case FolderKind::ProgramFiles:
        case FolderKind::WindowsDisk:
        case FolderKind::CommonFiles:
        case FolderKind::WindowsDirectory:
        case FolderKind::Favorites:
        case FolderKind::Documents:
        case FolderKind::MyPictures:
        case FolderKind::MyMusic:
        case FolderKind::SendTo:
        case FolderKind::InstallDir:
        case FolderKind::ApplicationData:
        case FolderKind::Fonts:
            return true;
        default:
            return false;
    }
}

constexpr std::size_t kLogFlushEvery = 500;

}  // namespace

Installer::Installer(platform::Services& services, RunState& run, const SetupData& data,
                     FolderTable& folders, ProgressView& progress, Prompter& prompter,
                     InstallerOptions options)
    : services_(services),
      run_(run),
      data_(data),
      folders_(folders),
      progress_(progress),
      prompter_(prompter),
      options_(std::move(options)),
      log_(*services.files, services.system->ansiCodePage()) {
    if (!options_.minutesSeconds) options_.minutesSeconds = localMinutesSeconds;
}

std::string Installer::text(std::string_view section, std::string_view key, std::size_t longest) {
    return data_.text(section, key, longest);
}

std::string Installer::installFolder() const {
    return folders_.value(FolderKind::InstallDir);
}

std::string Installer::programGroupName() const {
    return run_.programFolder.empty() ? run_.productName : run_.programFolder;
}

void Installer::open() {
    if (!run_.installFolder.empty()) folders_.set(FolderKind::InstallDir, run_.installFolder);
    std::string folder = installFolder();
    while (!folder.empty() && folder.back() == '\\') folder.pop_back();
    log_.setPath(folder + "\\" +
                 InstallLog::chooseName(*services_.files, folder, options_.minutesSeconds()));
    if (run_.languagePresent) progress_.setStatus("Please Wait...");

    total_ = static_cast<int>(data_.number("FILES", "TOTAL", 19));
    progress_.setValue(0);
    progress_.setRange(total_);

    chosen_.clear();
    if (run_.selection == SelectionMode::TypeList) {
        const long count = data_.number("SETUPTYPE", "TOTAL");
        for (long i = 0; i < count; ++i)
            chosen_.push_back(text("SETUPTYPE", "A" + std::to_string(i)));
    } else if (run_.selection == SelectionMode::Custom) {
        chosen_ = run_.chosenFiles;
    }

    // A package that lists "Download" actions means them to be fetched.
    const long actions = data_.number("ADVANCEDACTIONS", "TOTAL");
    for (long i = 0; i < actions && !advancedActions_; ++i)
        advancedActions_ = text("ADVANCEDACTIONS", "C" + std::to_string(i)) == "Download";
}

RunOutcome Installer::run() {
    logNumber_ = dirNumber_ = registryEntryNumber_ = 0;
    systemFolderLower_ = lowerCase(services_.system->systemFolder());
    createFolderChain(installFolder() + "\\");

    internet_ = countInternetSources();
    if (internet_ > 0) progress_.setRange(total_ + internet_);

    const bool preview = run_.preview || text("APPINFO", "Preview") == "YES";
    if (!preview) {
        std::string datafile = run_.datafilePath;
        if (datafile.empty()) {
            datafile = run_.dataTagPath;
            if (const auto at = datafile.rfind("data.tag"); at != std::string::npos)
                datafile.replace(at, 8, "datafile.dlr");
        }
        if (auto bytes = services_.files->readFile(datafile))
            packageList_ = parsePackageList(*bytes);
        buildCopyList();
        for (const auto& entry : copyList_) createFolderChain(entry.destination);
        if (advancedActions_) addDownloadActions();
        if (!copyPass()) {
            log_.flush();
            return RunOutcome::Cancelled;
        }
    }
    log_.flush();

    if (!downloads_.empty() && !preview && options_.startDownloads) {
        options_.startDownloads(downloads_, [this] { finish(); });
        return RunOutcome::Downloading;
    }
    writeEnvironment();
    copyKillProcess();
    progress_.setStatus("Finishing Installation...");
    if (preview) {
        log_.flush();
        deleteTemporaryFiles();
        run_.setState(InstallState::Done);
    } else {
        finish();
    }
    return RunOutcome::Finished;
}

// The keys "PR0" to "PR<total - 1>" of [FILES] whose value is an Internet address, from one
// read of the section: asking key by key reads the whole file once per file of the package.
int Installer::countInternetSources() const {
    int count = 0;
    for (const auto& [key, value] : data_.values("FILES")) {
        if (key.size() < 3 || (key[0] | 0x20) != 'p' || (key[1] | 0x20) != 'r') continue;
        const std::string_view digits = std::string_view(key).substr(2);
        // Exactly as "PR%d" spells a number: no sign, blank or leading zero.
        if (digits.size() > 9 || (digits.size() > 1 && digits[0] == '0') ||
            digits.find_first_not_of("0123456789") != std::string_view::npos)
            continue;
        if (std::stol(std::string(digits)) >= total_) continue;
        if (isUrl(value)) ++count;
    }
    return count;
}

void Installer::buildCopyList() {
    const bool filtered =
        run_.selection == SelectionMode::TypeList || run_.selection == SelectionMode::Custom;
    std::unordered_set<std::string> chosen(chosen_.begin(), chosen_.end());
    for (std::size_t i = 0; i < packageList_.size(); ++i) {
        const auto& p = packageList_[i];
        if (filtered && !chosen.count(p.name)) continue;
        CopyEntry e;
        e.source = run_.extractionFolder + memberName(i, p.name);
        const Resolved where = folders_.resolve(p.destination);
        e.destination = where.path;
        if (e.destination.empty() || e.destination.back() != '\\') e.destination += '\\';
        e.destination += p.name;
        // A folder without a token gets no copy rule of its own (it copies nothing) rather
        // than the rule of whatever entry came before it.
        e.kind = where.kind;
        e.keepExisting = p.keepExisting;
        e.noLog = p.noLog;
        e.selfRegister = p.selfRegister;
        copyList_.push_back(std::move(e));
    }
}

void Installer::addDownloadActions() {
    const long actions = data_.number("ADVANCEDACTIONS", "TOTAL");
    for (long i = 0; i < actions; ++i) {
        const auto n = std::to_string(i);
        if (text("ADVANCEDACTIONS", "C" + n) != "Download") continue;
        CopyEntry e;
        e.kind = FolderKind::InstallDir;
        e.destination = folders_.resolve("Install Dir\\").path;
        e.source = text("ADVANCEDACTIONS", "F" + n);
        copyList_.push_back(std::move(e));
        ++total_;
    }
    advancedActions_ = false;
}

namespace {

// Copies the entries of a pass on helper threads, in order, at most `window` entries ahead of
// the entry the pass has reached, so a cancelled pass has not run far ahead. A wake-up or a
// contended lock costs about what a small copy does, so an entry done is told through its
// own flag, the pass locks only to wait, and the window moves on by half its width at a time.
class CopyAhead {
public:
    CopyAhead(std::size_t count, int threads, std::function<bool(std::size_t)> copy)
        : count_(count), done_(count), written_(count, 0), copy_(std::move(copy)) {
        for (int i = 0; i < threads; ++i) workers_.emplace_back([this] { work(); });
    }
    ~CopyAhead() {
        stop();
        for (auto& worker : workers_) worker.join();
    }
    CopyAhead(const CopyAhead&) = delete;
    CopyAhead& operator=(const CopyAhead&) = delete;

    // Whether entry n was written, once it is done.
    bool written(std::size_t n) {
        if (n + kWindow / 2 >= allowed_ && allowed_ < count_) {
            const std::lock_guard lock(mutex_);
            allowed_ = std::min(count_, n + kWindow);
            if (idleWorkers_ > 0) changed_.notify_all();
        }
        if (!done_[n].load()) {
            std::unique_lock lock(mutex_);
            passWaits_ = true;
            changed_.wait(lock, [&] { return done_[n].load(); });
            passWaits_ = false;
        }
        return written_[n] != 0;
    }

    // Takes no more entries and waits for those taken; the entries from `from` on that were
    // written.
    std::vector<std::size_t> stop(std::size_t from = 0) {
        std::unique_lock lock(mutex_);
        stopping_ = true;
        changed_.notify_all();
        changed_.wait(lock, [&] { return busy_.load() == 0; });
        std::vector<std::size_t> done;
        for (std::size_t i = from; i < count_; ++i)
            if (done_[i].load() && written_[i]) done.push_back(i);
        return done;
    }

private:
    static constexpr std::size_t kWindow = 64;

    void work() {
        for (;;) {
            std::size_t n = 0;
            {
                std::unique_lock lock(mutex_);
                ++idleWorkers_;
                changed_.wait(lock,
                              [&] { return stopping_ || next_ >= count_ || next_ < allowed_; });
                --idleWorkers_;
                if (stopping_ || next_ >= count_) return;
                n = next_++;
                ++busy_;
            }
            bool ok = false;
            try {
                ok = copy_(n);
            } catch (...) {
                ok = false;  // a copy that throws (out of memory) is a copy that failed
            }
            written_[n] = ok;
            // Set, then looked at, while the waiting side does the reverse (both in one total
            // order): one of the two always sees the other, so no wake-up is lost.
            done_[n].store(true);
            --busy_;
            if (passWaits_.load() || stopping_.load()) {
                const std::lock_guard lock(mutex_);
                changed_.notify_all();
            }
        }
    }

    std::mutex mutex_;
    std::condition_variable changed_;
    const std::size_t count_;
    std::size_t next_ = 0;                  // under mutex_
    std::atomic<std::size_t> allowed_ = 0;  // written under mutex_
    std::atomic<std::size_t> busy_ = 0;
    std::size_t idleWorkers_ = 0;          // under mutex_
    std::atomic<bool> passWaits_ = false;  // written under mutex_
    std::atomic<bool> stopping_ = false;   // written under mutex_
    std::vector<std::atomic<bool>> done_;
    std::vector<char> written_;  // entry n's, published by done_[n]
    std::function<bool(std::size_t)> copy_;
    std::vector<std::thread> workers_;
};

}  // namespace

bool Installer::copyPass() {
    std::unique_ptr<CopyAhead> ahead;
    if (options_.copyThreads > 0 && copyList_.size() > 1) {
        // Two entries for one file must be copied in their order, so such a pass is not split.
        std::unordered_set<std::string> destinations;
        bool distinct = true;
        for (const auto& entry : copyList_)
            distinct = distinct && destinations.insert(lowerCase(entry.destination)).second;
        if (distinct) {
            ahead = std::make_unique<CopyAhead>(
                copyList_.size(), options_.copyThreads,
                [this](std::size_t n) { return copyEntry(copyList_[n]); });
        }
    }
    for (std::size_t n = 0; n < copyList_.size(); ++n) {
        if (run_.cancelRequested.load()) {
            const Answer answer = prompter_.yesNo(options_.cancelQuestion, options_.cancelTitle,
                                                  options_.yesCaption, options_.noCaption);
            if (answer == Answer::Yes) {
                // Files the helpers had already copied are installed files like the others:
                // the uninstaller must find them in the log.
                if (ahead) {
                    for (std::size_t k : ahead->stop(n)) {
                        const auto& entry = copyList_[k];
                        if (entry.noLog == 0) recordFile(entry.destination, true, false);
                    }
                }
                return false;
            }
            // "No" answers the request; the user is not asked again before every file.
            run_.cancelRequested.store(false);
        }
        const auto& entry = copyList_[n];
        progress_.setValue(static_cast<int>(n));
        progress_.setCurrentFile(entry.destination);
        progress_.pump();
        settle(entry, ahead ? ahead->written(n) : copyEntry(entry));
        if (logNumber_ > 0 && logNumber_ % kLogFlushEvery == 0) log_.flush();
    }
    return true;
}

// The file-system part of an entry, safe on a helper thread: whether its file was written (and,
// when the log records it, made writable as recordFile would).
bool Installer::copyEntry(const CopyEntry& entry) {
    auto& files = *services_.files;
    if (isUrl(entry.source)) return false;  // downloaded later
    if (entry.kind == FolderKind::SharedDlls) {
        if (!contains(lowerCase(entry.destination), "ocx") && entry.keepExisting &&
            files.exists(entry.destination))
            return false;
    } else if (!plainCopyKind(entry.kind)) {
        return false;  // Current Drive, Temp Dir, no token
    }
    if (!files.copyFile(entry.source, entry.destination, !entry.keepExisting)) return false;
    if (entry.noLog == 0 && files.isReadOnly(entry.destination))
        files.setAttributes(entry.destination, 0);
    return true;
}

// The rest of an entry, in the pass's order: downloads queued, self-registration, the log.
void Installer::settle(const CopyEntry& entry, bool written) {
    if (entry.kind == FolderKind::SharedDlls) {
        if (isUrl(entry.source)) return queueDownload(entry);
        if (entry.selfRegister == 1) selfRegister(entry.destination);
        if (entry.noLog == 0) recordFile(entry.destination, written, false);
        return;
    }
    if (!plainCopyKind(entry.kind)) return;
    if (isUrl(entry.source)) return queueDownload(entry);
    progress_.setStatus("Copying Files...");
    if (entry.selfRegister == 1) selfRegister(entry.destination);
    if (entry.noLog == 0) recordFile(entry.destination, written, false);
    // Fonts need no registering on this host: the folder is where they are looked for.
}

void Installer::queueDownload(const CopyEntry& entry) {
    std::string_view dest = entry.destination;
    auto at = dest.find("http://");
    if (at == std::string_view::npos) at = dest.find("ftp://");
    std::string folder;
    if (at != std::string_view::npos) {
        folder = std::string(dest.substr(0, at));
    } else {
        // No URL in the destination (a "Download" action): the file goes where the entry
        // points, not to the root of whatever drive is current.
        folder = std::string(dest);
    }
    if (!folder.empty() && folder.back() == '\\') folder.pop_back();
    downloads_.push_back({entry.source, folder});
}

void Installer::createFolderChain(std::string_view filePath) {
    const auto cut = filePath.rfind('\\');
    if (cut == std::string_view::npos) return;
    std::string_view folder = filePath.substr(0, cut);
    while (!folder.empty() && folder.back() == '\\') folder.remove_suffix(1);
    std::string prefix;
    std::size_t start = 0;
    while (start <= folder.size()) {
        auto end = folder.find('\\', start);
        if (end == std::string_view::npos) end = folder.size();
        prefix.append(folder.substr(start, end - start)).push_back('\\');
        start = end + 1;
        if (prefix.size() <= 3 || createdFolderSet_.count(prefix)) continue;
        services_.files->createDirectory(prefix);
        recordFolder(prefix);
        createdFolderSet_.insert(prefix);
        createdFolders_.push_back(prefix);
    }
}

void Installer::recordFolder(const std::string& path) {
    log_.append("DIR", std::to_string(dirNumber_++), path);
}

void Installer::recordFile(const std::string& path, bool written, bool makeWritable) {
    if (written && makeWritable && services_.files->isReadOnly(path))
        services_.files->setAttributes(path, 0);
    installedFiles_.push_back(path);
    // A file this run did not write (kept, or a failed copy) belongs to someone else: the
    // uninstaller must not delete it.
    if (!written) return;
    const std::string lower = lowerCase(path);
    if (contains(lower, ".dll") && contains(lower, systemFolderLower_)) return;
    log_.append("LOG", std::to_string(logNumber_++), lower);
}

void Installer::selfRegister(const std::string& path) {
    services_.launcher->start("regsvr32.exe /s \"" + path + "\"", "");
}

void Installer::finish() {
    auto& files = *services_.files;
    progress_.setValue(total_);

    const std::string uninstaller = services_.system->systemFolder() + "\\zuninstall.exe";
    files.copyFile(run_.extractionFolder + "zuninstall.exe", uninstaller, true);
    installedFiles_.push_back(uninstaller);
    ++logNumber_;  // the uninstaller's number stays unused: it must not remove itself

    createShortcuts();
    log_.flush();
    writeUninstallEntry();
    for (const char* key : {"PATH1", "PATH2", "PATH3", "PATH4"}) log_.set("CAMINHO", key, "");
    log_.set("RTYPE", "MERILDA", "NAO");

    const std::string dataTag = installFolder() + "\\data.tag";
    const std::string from = run_.dataTagPath.empty() ? data_.path() : run_.dataTagPath;
    recordFile(dataTag, files.copyFile(from, dataTag, true));

    writeIniEntries();
    writeApplicationKey();
    writeKeyList();
    writeValueList();
    log_.flush();
    deleteTemporaryFiles();
    run_.setState(InstallState::Done);
}

void Installer::deleteTemporaryFiles() {
    auto& files = *services_.files;
    progress_.setStatus("Deleting Temporary Files...");
    std::string temp = services_.system->tempFolder();
    if (!temp.empty() && temp.back() != '\\') temp += '\\';
    std::vector<std::string> folders{temp};
    // Where the cabinets were unpacked elsewhere, that folder is cleaned too.
    if (!run_.extractionFolder.empty() && lowerCase(run_.extractionFolder) != lowerCase(temp))
        folders.push_back(run_.extractionFolder);
    for (const auto& folder : folders) {
        for (std::size_t i = 0; i < packageList_.size(); ++i) {
            // The member itself, or when there is none, a file of the bare name.
            const std::string member = folder + memberName(i, packageList_[i].name);
            progress_.setCurrentFile(member);
            if (files.removeFile(member) || files.exists(member)) continue;
            progress_.setCurrentFile(folder + packageList_[i].name);
            files.removeFile(folder + packageList_[i].name);
        }
        for (const char* name :
             {"readme.txt", "license.txt", "zuninstall.exe", "liveupdate.exe", "feedback.exe"})
            files.removeFile(folder + name);
    }
    if (folders.size() > 1) files.removeDirectory(folders.back());
}

}  // namespace setup
