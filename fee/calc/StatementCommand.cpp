#include "fee/calc/StatementCommand.h"

#include <array>
#include <string_view>

#include "fee/calc/Product.h"
#include "fee/calc/Statement.h"
#include "fee/store/DataFolder.h"
#include "fee/store/DataStore.h"
#include "platform/Locale.h"
#include "platform/Services.h"
#include "platform/WinRoot.h"

namespace fee {

namespace {

constexpr std::string_view kHelp =
    "Χρήση: dezovur [εντολή]\n"
    "\n"
    "Χωρίς εντολή ανοίγει τα παράθυρα του προγράμματος.\n"
    "\n"
    "Εντολές:\n"
    "  statement   Υπολογισμός της αμοιβής της τρέχουσας μελέτης (όπως την ορίζει το temp.dat)\n"
    "              και εκτύπωση της κατάστασης στην τυπική έξοδο (UTF-8, γραμμές CR LF).\n"
    "  --help      Αυτή η βοήθεια.\n"
    "  --version   Η έκδοση του προγράμματος.\n"
    "\n"
    "Τα αρχεία βρίσκονται στον φάκελο του προγράμματος, όταν εκεί υπάρχουν τα Ergasies.dat\n"
    "και l.dat μιας εγκατάστασης, αλλιώς στο c:\\program files\\dezovur\\ του $WINROOT.\n";

// Options Qt itself takes from the command line: they start the windows, not a command.
bool isQtOption(std::string_view arg) {
    static constexpr std::array<std::string_view, 20> kQtOptions = {
        "platform",      "platformpluginpath",
        "platformtheme", "plugin",
        "qmljsdebugger", "qwindowgeometry",
        "qwindowicon",   "qwindowtitle",
        "reverse",       "session",
        "style",         "stylesheet",
        "widgetcount",   "display",
        "geometry",      "name",
        "title",         "visual",
        "nograb",        "dograb",
    };
    if (arg.size() < 2 || arg[0] != '-') return false;
    arg.remove_prefix(arg[1] == '-' ? 2 : 1);
    if (auto eq = arg.find('='); eq != std::string_view::npos) arg = arg.substr(0, eq);
    for (auto option : kQtOptions)
        if (arg == option) return true;
    return false;
}

int printStatement(std::ostream& out, std::ostream& err,
                   const std::filesystem::path& programFolder) {
    const auto root = platform::winRootFromEnvironment();
    // A statement reads and writes the job's files and needs nothing else of the root.
    const std::unique_ptr<platform::FileSystem> files = platform::openFileSystem(root);
    if (!files) {
        err << "dezovur: δεν είναι δυνατή η χρήση του φακέλου " << root.string() << "\n";
        return 1;
    }
    DataStore store(*files, platform::decimalSeparator(),
                    dataFolderForProgram(*files, root, programFolder));
    // What is printed is what was just written: no need to read it back.
    store.keepWrittenFragments();

    const AssemblyResult result = assembleStatement(store);
    const std::string job = store.currentJobFolder().value_or(store.currentJob().value_or(""));
    if (result.status != AssemblyResult::Ok) {
        err << "dezovur: " << assemblyMessage(result, job) << "\n";
        return 1;
    }
    const StatementText statement = loadStatement(store, job);
    if (!statement.missing.empty()) {
        err << "dezovur: λείπουν αρχεία της κατάστασης:";
        for (const auto& name : statement.missing) err << ' ' << name;
        err << "\n";
        return 1;
    }
    out << statement.text;
    out.flush();
    return out ? 0 : 1;
}

}  // namespace

std::optional<int> runCommandLine(int argc, char** argv, std::ostream& out, std::ostream& err,
                                  const std::filesystem::path& programFolder) {
    if (argc < 2 || !argv || !argv[1]) return std::nullopt;
    const std::string_view command = argv[1];
    if (isQtOption(command)) return std::nullopt;

    if (command == "--help" || command == "-h" || command == "help") {
        out << kHelp;
        return 0;
    }
    if (command == "--version") {
        out << "dezovur " << versionNumber() << '\n';
        return 0;
    }
    if (command == "statement") {
        if (argc > 2) {
            err << "dezovur: η εντολή statement δεν δέχεται ορίσματα (" << argv[2]
                << "). Δείτε: dezovur --help\n";
            return 2;
        }
        return printStatement(out, err, programFolder);
    }
    err << "dezovur: άγνωστη εντολή «" << command << "». Δείτε: dezovur --help\n";
    return 2;
}

}  // namespace fee
