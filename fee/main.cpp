// dezovur: the fees of surveying works under Presidential Decree 696/74.
//
// How the program fits together:
//   platform/   the host seen as Windows: drives under $WINROOT (FileSystem), the Windows-1253
//               code page, the registry as text files, per-user settings, the decimal separator.
//   fee/store   the data folder (beside the program when an installation put its data files
//               there, else "c:\program files\dezovur\", DataFolder.h) and one folder per job:
//               every file, the print-style numbers, the field reader (DataStore, Number,
//               TextFile).
//   fee/calc    the nine categories priced into their fragments and the statement around them
//               (Pricing, Statement), what the user types turned into stored values
//               (EntryInput), and the "statement" command (StatementCommand).
//   fee/app     the windows, one class each, created by WindowManager by WindowId. They never
//               call each other: they ask the Navigator to open, reopen or close a window and
//               hand information on only through the job's files (AppContext.h).
//
// This file is the command itself, and it links no Qt: a command on the command line runs
// here without any window, so `dezovur statement` costs no more than reading and writing the
// job's files. Without a command it becomes the windowed program, dezovur-gui beside it
// (fee/app/main.cpp), in the same process with the same arguments.
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <iostream>

#include "fee/calc/StatementCommand.h"
#include "fee/store/DataFolder.h"

namespace {

constexpr const char* kWindowsProgram = "dezovur-gui";

}  // namespace

int main(int argc, char** argv) {
    std::filesystem::path folder = fee::runningProgramFolder();
    if (const std::optional<int> status =
            fee::runCommandLine(argc, argv, std::cout, std::cerr, folder))
        return *status;

    if (folder.empty() && argc > 0 && argv[0]) {
        std::error_code ec;
        folder = std::filesystem::absolute(argv[0], ec).parent_path();
    }
    const std::filesystem::path windows = folder / kWindowsProgram;
    // argv[0] stays as given, so the windows carry the name the program was started by.
    ::execv(windows.c_str(), argv);
    std::cerr << "dezovur: δεν ήταν δυνατό να ανοίξουν τα παράθυρα του προγράμματος ("
              << windows.string() << ": " << std::strerror(errno) << ")\n";
    return 127;
}
