#pragma once
// The installation run of the progress page, window-free so a silent run and the tests drive
// it the same way.
//
// open() is what the page does when it appears (the log name, the progress range, the chosen
// names); run() is what its 500 ms timer starts: the package list from datafile.dlr, the copy
// list for the chosen setup type, the destination folders, the copy pass by folder kind, and
// then either the Internet downloads (whose sequence calls finish() when the queue is empty)
// or the environment variables, the kill-process settings and finish(). finish() writes the
// uninstaller, shortcuts, uninstall entry, INI entries and registry data, deletes the
// temporary files and sets InstallState to Done. Every file, folder and value is recorded in
// the install log that the uninstaller reads, and every change, before it is made, in the
// journal beside it: a run that is cancelled, fails or was killed is rolled back from it.

#include <cstdint>
#include <functional>
#include <memory>
#include <set>
#include <string>
#include <string_view>
#include <unordered_set>
#include <utility>
#include <vector>

#include "platform/Services.h"
#include "record/Changes.h"
#include "record/InstallLog.h"
#include "setup/config/OwnTexts.h"
#include "setup/config/PackageDescription.h"
#include "setup/config/Prompter.h"
#include "setup/config/RunState.h"
#include "setup/engine/DownloadQueue.h"
#include "setup/engine/FolderTable.h"
#include "setup/engine/PackageList.h"
#include "setup/engine/ProgressView.h"

namespace setup {

struct InstallerOptions {
    // Local minutes and seconds, for the second log's name; the system clock when empty.
    std::function<std::pair<int, int>()> minutesSeconds;
    // Runs the queued downloads and then calls done (on the user-interface thread). When
    // empty, queued downloads are left alone and the run finishes at once.
    std::function<void(DownloadQueue& queue, std::function<void()> done)> startDownloads;
    // The cancel question (the wizard passes the language file's texts).
    std::string cancelQuestion = "Do you wish cancel the installation ?";
    std::string cancelTitle = "Korvanet Instavo";
    std::string yesCaption;
    std::string noCaption;
    // Asks the cancel question and returns true for "Yes"; the wizard passes its own dialog,
    // so the question looks and answers the same before and during the copy. When empty, the
    // prompter asks it.
    std::function<bool()> confirmCancel;
    // Nanoseconds since 1970, for the journal's last record; the system clock when empty.
    std::function<std::int64_t()> nowNs;
};

// A file of the package that the run did not install, and why; the run says so at its end.
struct NotInstalled {
    enum class Why {
        NotInCabinets,  // the cabinets held no member for it
        NoFolder,       // its destination begins with no folder token
        PathTooLong,    // its destination is longer than a Windows path may be
        NotDownloaded,  // its download was given up (or there was nobody to fetch it)
    };
    std::string path;
    Why why = Why::NotInCabinets;
};

enum class RunOutcome {
    Finished,     // InstallState is Done
    Downloading,  // the download sequence will call finish()
    Cancelled,    // the user answered Yes to the cancel question: the run was rolled back
    Failed,       // a change could not be made: the run was rolled back (failure() says why)
};

class Installer {
public:
    Installer(platform::Services& services, RunState& run, const PackageDescription& package,
              FolderTable& folders, ProgressView& progress, Prompter& prompter,
              InstallerOptions options = {});

    void open();
    RunOutcome run();
    // False when a step failed: the run was rolled back (failure() says why). Either way
    // InstallState is Done afterwards.
    bool finish();

    // What made the run fail, for the user.
    const std::string& failure() const { return failure_; }
    // What the run was asked to install and did not; the run went through without them.
    const std::vector<NotInstalled>& notInstalled() const { return notInstalled_; }
    // The message that names them; empty when everything was installed.
    std::string notInstalledMessage() const;
    // Installations of this package cut short by a kill and rolled back by open().
    const std::vector<std::string>& recovered() const { return recovered_; }
    // The journal of the run, once it has begun (the downloads announce their files to it).
    record::Recorder* recorder() { return recorder_.get(); }

    const std::string& logPath() const { return log_.path(); }
    const std::vector<std::string>& installedFiles() const { return installedFiles_; }
    const std::vector<PackageEntry>& packageList() const { return packageList_; }
    const std::vector<CopyEntry>& copyList() const { return copyList_; }
    const DownloadQueue& downloads() const { return downloads_; }
    int totalFiles() const { return total_; }
    // The [FILES] "PR<i>" sources on the Internet: the download sequence's main bar ends at
    // totalFiles() + internetSources() - 1.
    int internetSources() const { return internet_; }

private:
    // The run's steps.
    int countInternetSources() const;
    // Why the run cannot begin (a folder that is no folder, a file list that cannot be read),
    // found before anything is written; empty when it can.
    std::string refusal();
    void buildCopyList();
    void addDownloadActions();
    bool beginJournal();
    void recoverUnfinishedRuns(const std::string& folder);
    RunOutcome fail(std::string why);
    bool copyPass();
    // Whether the entry's file was written; false with failure_ set when it could not be.
    bool copyEntry(const CopyEntry& entry);
    void settle(const CopyEntry& entry, bool written);
    void noteMissingDownloads();
    void rollBack();
    void queueDownload(const CopyEntry& entry);
    void createFolderChain(std::string_view filePath);
    // makeWritable: a written file that is read-only is made writable first (the copy pass
    // has done so already).
    void recordFile(const std::string& path, bool written, bool makeWritable = true);
    void recordFolder(const std::string& path);
    void selfRegister(const std::string& path);
    void deleteTemporaryFiles();

    // Registry, environment, INI entries and shortcuts: the finishing steps, in the order of
    // the table in Installer.cpp.
    void writeEnvironment();
    void copyKillProcess();
    void copyUninstaller();
    void writeUninstallEntry();
    void writeLogSettings();
    void copyDataTag();
    void createShortcuts();
    void writeIniEntries();
    void writeApplicationKey();
    void writeMachineValues();
    void writeKeyList();
    void writeValueList();
    // A launcher in the host desktop's menu beside a shell link.
    struct MenuEntry {
        bool wanted = false;
        std::string name;
        std::string categories;
    };
    void writeShellLink(const std::string& path, const std::string& target,
                        const std::string& workingFolder, const std::string& arguments,
                        const std::string& icon, std::uint32_t show, const MenuEntry& menu);
    void writeDesktopEntry(const MenuEntry& menu, const std::string& target,
                           const std::string& arguments, const std::string& workingFolder,
                           const std::string& icon);
    std::string installIcon(const std::string& dataFolder, const std::string& icon,
                            const std::string& themeName);
    bool ensureFolder(const std::string& folder);

    std::string installFolder() const;
    // Our own words, in the package's language.
    const OwnTexts& texts() const;
    std::string programGroupName() const;

    platform::Services& services_;
    RunState& run_;
    const PackageDescription& package_;
    FolderTable& folders_;
    ProgressView& progress_;
    Prompter& prompter_;
    InstallerOptions options_;

    record::InstallLogWriter log_;
    std::unique_ptr<record::Recorder> recorder_;
    std::string failure_;
    std::vector<NotInstalled> notInstalled_;
    // Indexes into packageList_ of the members moved into place (nothing of them is left to
    // delete with the temporary files).
    std::unordered_set<std::size_t> movedMembers_;
    // The same members by the path key of where they were unpacked.
    std::unordered_set<std::string> movedSources_;
    std::vector<std::string> recovered_;
    std::vector<std::string> foldersBeforeJournal_;
    int logNumber_ = 0;
    int dirNumber_ = 0;
    int registryEntryNumber_ = 0;
    std::vector<record::KeyValues> machineValues_;  // written together by writeMachineValues
    int total_ = 0;
    int internet_ = 0;
    bool advancedActions_ = false;
    std::vector<std::string> chosen_;
    std::vector<PackageEntry> packageList_;
    std::vector<CopyEntry> copyList_;
    std::vector<std::string> installedFiles_;
    std::unordered_set<std::string> createdFolderSet_;  // by platform::pathKey
    std::set<std::string> desktopEntries_;
    DownloadQueue downloads_;
    std::string systemFolderLower_;
};

}  // namespace setup
