#include "setup/engine/Installer.h"

#include <algorithm>
#include <chrono>
#include <ctime>
#include <unordered_map>

#include "platform/WinNames.h"
#include "record/Journal.h"
#include "setup/config/OwnTexts.h"
#include "setup/engine/DownloadMeter.h"
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

std::int64_t systemNowNs() {
    return std::chrono::duration_cast<std::chrono::nanoseconds>(
               std::chrono::system_clock::now().time_since_epoch())
        .count();
}

}  // namespace

Installer::Installer(platform::Services& services, RunState& run, const PackageDescription& package,
                     FolderTable& folders, ProgressView& progress, Prompter& prompter,
                     InstallerOptions options)
    : services_(services),
      run_(run),
      package_(package),
      folders_(folders),
      progress_(progress),
      prompter_(prompter),
      options_(std::move(options)),
      log_(*services.files, services.system->ansiCodePage()) {
    if (!options_.minutesSeconds) options_.minutesSeconds = localMinutesSeconds;
    if (!options_.nowNs) options_.nowNs = systemNowNs;
}

const OwnTexts& Installer::texts() const {
    return ownTextsFor(package_);
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
    recoverUnfinishedRuns(folder);
    log_.setPath(folder + "\\" + record::InstallLogWriter::chooseName(
                                      *services_.files, folder, options_.minutesSeconds()));
    if (run_.languagePresent) progress_.setStatus("Please Wait...");

    total_ = package_.files.total;
    progress_.setValue(0);
    progress_.setRange(total_);

    chosen_.clear();
    if (run_.selection == SelectionMode::TypeList) {
        chosen_ = package_.compactFiles;
    } else if (run_.selection == SelectionMode::Custom) {
        chosen_ = run_.chosenFiles;
    }

    // A package that lists "Download" actions means them to be fetched.
    for (const AdvancedAction& action : package_.advancedActions)
        advancedActions_ = advancedActions_ || action.download;
}

RunOutcome Installer::run() {
    logNumber_ = dirNumber_ = registryEntryNumber_ = 0;
    systemFolderLower_ = lowerCase(services_.system->systemFolder());

    // A preview shows the pages and changes nothing on the machine.
    if (run_.preview || package_.app.preview) {
        progress_.setStatus("Finishing Installation...");
        deleteTemporaryFiles();
        run_.setState(InstallState::Done);
        return RunOutcome::Finished;
    }
    if (std::string why = refusal(); !why.empty()) {
        failure_ = std::move(why);
        deleteTemporaryFiles();
        return RunOutcome::Failed;
    }

    createFolderChain(installFolder() + "\\");
    if (!beginJournal()) return fail(fillIn(texts().journalUnwritable, {installFolder()}));

    internet_ = countInternetSources();
    if (internet_ > 0) progress_.setRange(total_ + internet_);

    buildCopyList();
    for (const auto& entry : copyList_) createFolderChain(entry.destination);
    if (!recorder_->healthy()) return fail(fillIn(texts().journalUnwritable, {installFolder()}));
    if (advancedActions_) addDownloadActions();
    if (!copyPass()) {
        if (!failure_.empty()) return fail(failure_);
        rollBack();
        return RunOutcome::Cancelled;
    }
    // Before the downloads too: they end in finish(), and nothing the package asks for may
    // depend on whether it had files to fetch.
    writeEnvironment();
    copyKillProcess();

    if (!downloads_.empty() && options_.startDownloads) {
        options_.startDownloads(downloads_, [this] {
            if (!finish())
                prompter_.message(failure_ + "\n" + texts().nothingInstalled, options_.cancelTitle);
        });
        return RunOutcome::Downloading;
    }
    progress_.setStatus("Finishing Installation...");
    return finish() ? RunOutcome::Finished : RunOutcome::Failed;
}

std::string Installer::refusal() {
    const std::string folder = installFolder();
    auto letter = [](char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); };
    // "App" or "<Documents Folder>\App" (a folder the machine does not have) would put the
    // log and every file somewhere nobody chose.
    if (folder.size() < 4 || !letter(folder[0]) || folder[1] != ':' || folder[2] != '\\' ||
        folder.find_first_of("<>\"*?|") != std::string::npos)
        return fillIn(texts().folderNotAbsolute, {folder});
    std::string datafile = run_.datafilePath;
    if (datafile.empty()) {
        datafile = run_.dataTagPath;
        if (const auto at = datafile.rfind("data.tag"); at != std::string::npos)
            datafile.replace(at, 8, "datafile.dlr");
    }
    if (auto bytes = services_.files->readFile(datafile)) {
        packageList_ = parsePackageList(*bytes, services_.system->ansiCodePage());
    } else if (package_.files.total > 0) {
        return fillIn(texts().fileListUnreadable, {datafile});
    }
    return {};
}

// The journal begins in the installation folder, which must exist first: the folders of its
// chain that this run created are recorded as soon as the journal can hold them.
bool Installer::beginJournal() {
    auto& files = *services_.files;
    auto journal = record::Journal::create(files, record::journalPathFor(log_.path()));
    if (!journal) return false;
    recorder_ = std::make_unique<record::Recorder>(
        record::Machine{files, *services_.registry, *services_.profiles}, std::move(journal));
    auto& r = *recorder_;
    // The folders first: undone backwards, the journal goes before the folder holding it.
    for (const auto& folder : foldersBeforeJournal_) r.append({"folder", {folder}});
    foldersBeforeJournal_.clear();
    r.append({"journal", {r.journal().path()}});
    r.append({"product", {run_.productName}});
    // So the uninstaller speaks the package's language (OwnTexts.h).
    r.append({"language", {std::string(languageCode(packageLanguage(package_)))}});
    r.append({"log", {log_.path()}});
    return r.healthy();
}

// A run of this package into this folder that was killed left its journal unfinished: undo it
// before anything else, so the new run starts from the machine as it was.
void Installer::recoverUnfinishedRuns(const std::string& folder) {
    auto& files = *services_.files;
    if (folder.empty() || !files.isDirectory(folder)) return;
    for (const std::string& name : files.list(folder, "*.journal")) {
        const std::string path = folder + "\\" + name;
        const auto journal = record::readJournal(files, path);
        if (!journal || journal->done) continue;
        record::UndoContext context{{files, *services_.registry, *services_.profiles},
                                    record::UndoMode::Rollback, 0, {}, {}};
        record::undoRecords(journal->records, context);
        files.removeFile(path);  // also when its own record was torn off
        recovered_.push_back(path);
        prompter_.message(fillIn(texts().recoveredRun, {folder, path}), options_.cancelTitle);
    }
}

RunOutcome Installer::fail(std::string why) {
    failure_ = std::move(why);
    rollBack();
    return RunOutcome::Failed;
}

// Everything the run changed goes back as it was, and so do the members it unpacked.
void Installer::rollBack() {
    if (recorder_) recorder_->rollback();
    for (auto it = foldersBeforeJournal_.rbegin(); it != foldersBeforeJournal_.rend(); ++it)
        services_.files->removeDirectory(*it);
    foldersBeforeJournal_.clear();
    deleteTemporaryFiles();
}

// The package's files that come from the Internet rather than its cabinets.
int Installer::countInternetSources() const {
    int count = 0;
    for (const std::string& source : package_.files.sources)
        if (isUrl(source)) ++count;
    return count;
}

void Installer::buildCopyList() {
    const bool filtered =
        run_.selection == SelectionMode::TypeList || run_.selection == SelectionMode::Custom;
    std::unordered_set<std::string> chosen(chosen_.begin(), chosen_.end());
    // A package names a handful of folders for thousands of files.
    std::unordered_map<std::string, Resolved> resolved;
    for (std::size_t i = 0; i < packageList_.size(); ++i) {
        const auto& p = packageList_[i];
        if (filtered && !chosen.count(p.name)) continue;
        auto [at, added] = resolved.try_emplace(p.destination);
        if (added) at->second = folders_.resolve(p.destination);
        const Resolved& where = at->second;
        CopyEntry e;
        e.source = run_.extractionFolder + memberName(i, p.name);
        e.member = static_cast<long>(i);
        e.destination = where.path;
        if (e.destination.empty() || e.destination.back() != '\\') e.destination += '\\';
        e.destination += p.name;
        // A folder without a leading token is no folder of this machine: its file is left
        // out, and said so, rather than copied wherever the text happens to point.
        if (where.kind == FolderKind::None) {
            notInstalled_.push_back({p.destination + "\\" + p.name, NotInstalled::Why::NoFolder});
            continue;
        }
        if (characterCount(e.destination) > kMaxPathLength) {
            notInstalled_.push_back({e.destination, NotInstalled::Why::PathTooLong});
            continue;
        }
        e.kind = where.kind;
        e.keepExisting = p.keepExisting;
        e.noLog = p.noLog;
        e.selfRegister = p.selfRegister;
        copyList_.push_back(std::move(e));
    }
}

void Installer::addDownloadActions() {
    for (const AdvancedAction& action : package_.advancedActions) {
        if (!action.download) continue;
        CopyEntry e;
        e.kind = FolderKind::InstallDir;
        e.destination = folders_.resolve("Install Dir\\").path;
        e.source = action.argument;
        copyList_.push_back(std::move(e));
        ++total_;
    }
    advancedActions_ = false;
}

bool Installer::copyPass() {
    // "No" answers the request; the user is not asked again before every file.
    auto cancelled = [this] {
        if (!run_.cancelRequested.load()) return false;
        if (run_.cancelConfirmed.load()) return true;
        const bool yes = options_.confirmCancel
                             ? options_.confirmCancel()
                             : prompter_.yesNo(options_.cancelQuestion, options_.cancelTitle,
                                               options_.yesCaption, options_.noCaption) == Answer::Yes;
        if (yes) return true;
        run_.cancelRequested.store(false);
        return false;
    };
    for (std::size_t n = 0; n < copyList_.size(); ++n) {
        if (cancelled()) return false;
        const auto& entry = copyList_[n];
        progress_.setValue(static_cast<int>(n));
        progress_.setCurrentFile(entry.destination);
        progress_.pump();
        const bool written = copyEntry(entry);
        if (!failure_.empty()) return false;
        settle(entry, written);
    }
    // A cancel pressed during the last file is answered too.
    return !cancelled();
}

// The file-system part of an entry: whether its file was written (and, when the log records
// it, made writable as recordFile would).
bool Installer::copyEntry(const CopyEntry& entry) {
    auto& files = *services_.files;
    if (isUrl(entry.source)) return false;  // downloaded later
    // Shared DLLs follow the same rule: with the flag an existing copy stays, "ocx" or not.
    if (entry.kind != FolderKind::SharedDlls && !plainCopyKind(entry.kind))
        return false;  // Current Drive, Temp Dir, no token
    bool moved = false;
    switch (recorder_->moveFile(entry.source, entry.destination, entry.keepExisting != 0, &moved)) {
        case record::Recorder::Placed::Kept:
            return false;
        case record::Recorder::Placed::NoSource:
            notInstalled_.push_back({entry.destination, NotInstalled::Why::NotInCabinets});
            return false;
        case record::Recorder::Placed::Failed:
            failure_ = fillIn(texts().fileNotInstalled, {entry.destination});
            return false;
        case record::Recorder::Placed::Written:
            break;
    }
    if (moved && entry.member >= 0) {
        movedMembers_.insert(static_cast<std::size_t>(entry.member));
        movedSources_.insert(platform::pathKey(entry.source));
    }
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
    if (at == std::string_view::npos) at = dest.find("https://");
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
    bool shellFolderMade = false;
    while (start <= folder.size()) {
        auto end = folder.find('\\', start);
        if (end == std::string_view::npos) end = folder.size();
        prefix.append(folder.substr(start, end - start)).push_back('\\');
        start = end + 1;
        if (prefix.size() <= 3 || !createdFolderSet_.insert(platform::pathKey(prefix)).second)
            continue;
        if (!std::exchange(shellFolderMade, true))
            makeShellFolderOf(folders_, *services_.system, folder);
        if (recorder_) {
            recorder_->createFolder(prefix);
        } else if (!services_.files->isDirectory(prefix) &&
                   services_.files->createDirectory(prefix)) {
            // Before the journal exists (the installation folder that will hold it).
            foldersBeforeJournal_.push_back(prefix);
        }
        recordFolder(prefix);
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

// The finishing steps in their order. Each makes its changes through the journal, so undoing
// the run undoes them in the reverse order; a new kind of step is one function and a row here.
bool Installer::finish() {
    static constexpr void (Installer::*kSteps[])() = {
        &Installer::copyUninstaller,    &Installer::createShortcuts,
        &Installer::writeUninstallEntry, &Installer::writeLogSettings,
        &Installer::copyDataTag,        &Installer::writeIniEntries,
        &Installer::writeApplicationKey, &Installer::writeMachineValues,
        &Installer::writeKeyList,       &Installer::writeValueList,
    };
    progress_.setValue(total_);
    noteMissingDownloads();
    for (auto step : kSteps) {
        (this->*step)();
        if (!recorder_->healthy()) break;
    }
    const bool written = recorder_->healthy() && log_.flush();
    if (!written || !recorder_->commit(options_.nowNs())) {
        fail(written ? fillIn(texts().journalUnwritable, {installFolder()})
                     : fillIn(texts().logUnwritable, {log_.path()}));
        run_.setState(InstallState::Done);
        return false;
    }
    deleteTemporaryFiles();
    run_.setState(InstallState::Done);
    if (!notInstalled_.empty()) prompter_.message(notInstalledMessage(), options_.cancelTitle);
    return true;
}

// A download given up (or never started: nobody to fetch it) leaves no file where it was to go.
void Installer::noteMissingDownloads() {
    for (const auto& entry : downloads_) {
        const auto name = downloadFileName(entry.url);
        std::string folder = entry.folder.empty() ? installFolder() : entry.folder;
        if (!folder.empty() && folder.back() != '\\') folder += '\\';
        const std::string path = name ? folder + *name : entry.url;
        if (!name || !services_.files->exists(path))
            notInstalled_.push_back({path, NotInstalled::Why::NotDownloaded});
    }
}

std::string Installer::notInstalledMessage() const {
    if (notInstalled_.empty()) return {};
    const OwnTexts& t = texts();
    std::string text = fillIn(t.notInstalledHeading, {run_.productName}) + "\n";
    // A window holds a few dozen lines; standard error takes them all.
    const std::size_t shown =
        run_.silent ? notInstalled_.size() : std::min<std::size_t>(notInstalled_.size(), 25);
    for (std::size_t i = 0; i < shown; ++i) {
        const NotInstalled& n = notInstalled_[i];
        const std::string* why = &t.whyNotInCabinets;
        switch (n.why) {
            case NotInstalled::Why::NotInCabinets:
                break;
            case NotInstalled::Why::NoFolder:
                why = &t.whyNoFolder;
                break;
            case NotInstalled::Why::PathTooLong:
                why = &t.whyPathTooLong;
                break;
            case NotInstalled::Why::NotDownloaded:
                why = &t.whyNotDownloaded;
                break;
        }
        text += "\n" + n.path + "  (" + *why + ")";
    }
    if (shown < notInstalled_.size())
        text += "\n" + fillIn(t.andMore, {std::to_string(notInstalled_.size() - shown)});
    return text + "\n\n" + t.restInstalled;
}

// The uninstaller and its windows, which the cabinets bring. Unpacked by this run, they are
// moved into place; a copy found in the temporary folder that this run did not unpack is
// someone else's, and only copied.
void Installer::copyUninstaller() {
    const std::string system = services_.system->systemFolder();
    const std::string uninstaller =
        record::sharedUninstallerFile(system, record::kUninstallerProgram);
    auto place = [&](const std::string& source, const std::string& dest) {
        const std::string key = platform::pathKey(source);
        const bool unpacked =
            std::any_of(run_.unpackedFiles.begin(), run_.unpackedFiles.end(),
                        [&](const std::string& path) { return platform::pathKey(path) == key; });
        bool moved = false;
        if (!unpacked) return recorder_->copyFile(source, dest, false);
        const auto placed = recorder_->moveFile(source, dest, false, &moved);
        if (moved) movedSources_.insert(key);
        return placed;
    };
    place(run_.extractionFolder + std::string(record::kUninstallerProgram), uninstaller);
    // Its windows, where the package has them: without them it still works silently.
    const std::string windows = run_.extractionFolder + std::string(record::kUninstallerWindows);
    if (services_.files->exists(windows))
        place(windows, record::sharedUninstallerFile(system, record::kUninstallerWindows));
    installedFiles_.push_back(uninstaller);
    ++logNumber_;  // the uninstaller's number stays unused: it must not remove itself
}

void Installer::writeLogSettings() {
    for (const char* key : {"PATH1", "PATH2", "PATH3", "PATH4"}) log_.set("CAMINHO", key, "");
    log_.set("RTYPE", "MERILDA", "NAO");
}

void Installer::copyDataTag() {
    const std::string dataTag = installFolder() + "\\data.tag";
    recordFile(dataTag, recorder_->copyFile(run_.dataTagPath, dataTag, false) ==
                            record::Recorder::Placed::Written);
}

void Installer::deleteTemporaryFiles() {
    auto& files = *services_.files;
    progress_.setStatus("Deleting Temporary Files...");
    std::string temp = services_.system->tempFolder();
    if (!temp.empty() && temp.back() != '\\') temp += '\\';
    std::vector<std::string> folders{temp};
    // Where the cabinets were unpacked elsewhere, that folder is cleaned too.
    if (!run_.extractionFolder.empty() && !platform::samePath(run_.extractionFolder, temp))
        folders.push_back(run_.extractionFolder);
    // What the extraction says it unpacked goes, whatever it was (the inner cabinet of a
    // two-stage package, a member the file list does not name); nothing else of the folder is
    // touched.
    for (const std::string& path : run_.unpackedFiles) {
        if (movedSources_.count(platform::pathKey(path))) continue;  // installed, not left over
        progress_.setCurrentFile(path);
        files.removeFile(path);
    }
    for (const auto& folder : folders) {
        for (std::size_t i = 0; i < packageList_.size(); ++i) {
            if (movedMembers_.count(i)) continue;
            // The member itself, or when there is none, a file of the bare name.
            const std::string member = folder + memberName(i, packageList_[i].name);
            progress_.setCurrentFile(member);
            if (files.removeFile(member) || files.exists(member)) continue;
            if (!run_.unpackedFiles.empty()) continue;  // the extraction's own list said it all
            progress_.setCurrentFile(folder + packageList_[i].name);
            files.removeFile(folder + packageList_[i].name);
        }
        if (!run_.unpackedFiles.empty()) continue;
        for (const char* name :
             {"readme.txt", "license.txt", "zuninstall.exe", "liveupdate.exe", "feedback.exe"})
            files.removeFile(folder + name);
    }
    run_.unpackedFiles.clear();
    if (folders.size() > 1) files.removeDirectory(folders.back());
}

}  // namespace setup
