#pragma once
// Unpacks a package cabinet (and the rest of its set) into the extraction folder. libmspack
// does the decompressing; every file it touches goes through platform::FileSystem, so cabinet
// and member names stay Windows paths and nothing reaches the host except through the
// Windows-path layer. Members are streamed: however large a member, what waits to be written
// stays under a megabyte.

#include <atomic>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "platform/FileSystem.h"
#include "setup/config/Prompter.h"

namespace setup {

// The messages that start every failure report; what follows names the cabinet and the cause.
inline constexpr std::string_view kMsgNoContext = "error fdiNULL...";
inline constexpr std::string_view kMsgCannotOpen = "error destroy...";
inline constexpr std::string_view kMsgNotCabinet = "error, it's not DDC...";
inline constexpr std::string_view kMsgCopyFailed = "error...";
inline constexpr std::string_view kMsgNextDisk = "Please insert next disk...\r\n%s";

struct ExtractionResult {
    enum class Outcome {
        Done,
        Failed,     // message says why; no member is left half written
        Cancelled,  // the user declined to supply a missing cabinet of the set
        Stopped,    // the stop flag was raised
    };
    Outcome outcome = Outcome::Failed;
    std::string message;
    int members = 0;  // members written
    // Done: the files written (Windows paths). Otherwise nothing of the cabinet is left.
    std::vector<std::string> written;
};

// The name a member may be written under, or empty when it is refused: a name must be one
// plain file name (no folder, drive or device syntax, no control characters). UTF-8 names are
// taken as they are when valid; other names are read in the system code page (Windows-1253).
std::string memberFileName(std::string_view stored, bool utf8);

class CabinetExtractor {
public:
    // Members are written on a thread of their own (see MemberWriter), so files must take
    // calls from two threads.
    // title: the title of the question for the next disk of a set.
    CabinetExtractor(platform::FileSystem& files, Prompter& prompter, std::string title = "setup")
        : files_(files), prompter_(prompter), title_(std::move(title)) {}

    // Extracts every member of cabinetPath (a Windows path) into destinationPrefix (a folder
    // ending with "\"). Parts of its set are looked for beside the cabinet, then in
    // setupFolder; a missing one is asked for with kMsgNextDisk. stop, when given, is polled
    // while data is written.
    ExtractionResult extract(std::string_view cabinetPath, std::string_view destinationPrefix,
                             std::string_view setupFolder, const std::atomic<bool>* stop = nullptr);

private:
    platform::FileSystem& files_;
    Prompter& prompter_;
    std::string title_;
};

// Removes what earlier stages unpacked, when a later one fails or is cancelled.
void removeUnpacked(platform::FileSystem& files, std::vector<std::string>& unpacked);

// Where a package's cabinets are and where they go.
struct PackageCabinets {
    std::string setupFolder;
    std::string file1Cab;
    std::string multi1Cab;
    std::string extractionFolder;  // ends with "\"
};

// Unpacks the package without a window, as a silent run does: multi1.cab and then the
// "F0_ice1.cab" it leaves in the extraction folder, or file1.cab alone. A failure is told
// through the prompter. The exit status: kExitDone, or kExitExtractionFailed (a missing part
// of a set declined counts as a failure too: nothing was installed). unpacked, when given,
// gets every file written; after a failure nothing is left.
int extractPackage(platform::FileSystem& files, Prompter& prompter, const PackageCabinets& where,
                   std::string_view title, std::vector<std::string>* unpacked = nullptr);

// The local time a member's DOS date and time stand for, in seconds since 1970 UTC.
std::int64_t dosLocalTimeToUnix(int year, int month, int day, int hour, int minute, int second);

}  // namespace setup
