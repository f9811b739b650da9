#include "setup/config/OwnTexts.h"

#include "setup/config/PackageDescription.h"

namespace setup {

namespace {

const OwnTexts kEnglish{
    .ok = "OK",
    .cancel = "Cancel",
    .yes = "&Yes",
    .no = "&No",

    .headerIcon = "Setup",
    .pleaseWait = "Please Wait...",
    .downloadCaption = "Download Progress:",
    .fileNameColumn = "FileName",
    .destinationColumn = "Destination",
    .licensePlaceholder =
        "To add your own license text to this dialog, supply your license agreement file in the "
        "Dialogs view.\n\n"
        "1. Write the license agreement as a text file named license.txt.\n"
        "2. Put license.txt into the package's cabinet with the other files.\n"
        "3. Build the package again.\n\n"
        "When the package runs, the text of license.txt appears here.",
    .readmePlaceholder =
        "To add your own read text to this dialog, supply your readme file in the Dialogs "
        "view.\n\n"
        "1. Write the text as a file named readme.txt.\n"
        "2. Put readme.txt into the package's cabinet with the other files.\n"
        "3. Build the package again.\n\n"
        "When the package runs, the text of readme.txt appears here.",
    .noDialogs = "No dialogs configured!",
    .restartNotDone =
        "The computer was not restarted. Please restart it yourself when it suits you, so that "
        "the configuration changes take effect.",
    .notInstalledHeading = "These files of %s were not installed:",
    .whyNotInCabinets = "missing from the package's cabinets",
    .whyNoFolder = "its folder begins with no folder token",
    .whyPathTooLong = "longer than a Windows path may be",
    .whyNotDownloaded = "not downloaded",
    .andMore = "... and %s more",
    .restInstalled = "Everything else was installed.",
    .nothingInstalled = "Nothing was installed.",
    .folderNotAbsolute =
        "The installation folder \"%s\" is not a full path on a drive; nothing was installed.",
    .fileListUnreadable = "The package's file list %s cannot be read; nothing was installed.",
    .journalUnwritable = "The installation journal cannot be written in %s.",
    .logUnwritable = "The install log cannot be written: %s",
    .fileNotInstalled = "The file %s could not be installed.",
    .recoveredRun =
        "An installation into %s was cut short; what it had changed has been undone (%s).",

    .choosePrompt = "Choose destination directory...",
    .folderTree = "Folders",
    .folderInvalid = "The folder:\n\n%s\n\nis invalid. Please reenter.",
    .folderCreate = "The folder:\n\n%s\n\ndoes not exist. Do you want the folder to be created?",
    .folderCannotCreate = "The folder:\n\n%s\n\ncan not be created. Please double check.",
    .folderTooLong =
        "The folder:\n\n%s\n\nis %s characters long; a folder may have at most %s. "
        "Please enter a shorter one.",

    .uninstallTitle = "Uninstall",
    .uninstallQuestion = "Remove ******** and all of its components?",
    .uninstallDone = "******** was removed from your computer.",
    .uninstallLeftHeading = "These items were not removed:",
    .uninstallNoLog = "The installation log %s cannot be read.",
    .uninstallNotALog =
        "%s is not an installation log that can be read whole; nothing was removed.",
    .whyOutside = "outside every drive folder, not removed",
    .whyIsFolder = "a folder, not removed as a file",
    .whyNotAFolder = "not a folder (a link or a file), left as it is",
    .whyFailed = "could not be removed",
    .whyKept = "kept: it holds files that were not installed",
    .whyUnknownRoot = "not a registry path this uninstaller knows",
    .whyNotOwned = "not removed: it is not a key that setup creates",
    .whyShared = "kept: other installed products still use it",
    .whyChanged = "kept: changed since it was installed",
};

const OwnTexts kGreek{
    .ok = "Εντάξει",
    .cancel = "Άκυρο",
    .yes = "&Ναι",
    .no = "&Όχι",

    .headerIcon = "Εγκατάσταση",
    .pleaseWait = "Παρακαλώ περιμένετε...",
    .downloadCaption = "Πρόοδος λήψης:",
    .fileNameColumn = "Αρχείο",
    .destinationColumn = "Προορισμός",
    .licensePlaceholder =
        "Για να εμφανίζεται εδώ το δικό σας κείμενο άδειας χρήσης, προσθέστε στο πακέτο το "
        "αρχείο της άδειας χρήσης.\n\n"
        "1. Γράψτε την άδεια χρήσης σε αρχείο κειμένου με όνομα license.txt.\n"
        "2. Βάλτε το license.txt στο αρχείο cabinet του πακέτου μαζί με τα άλλα αρχεία.\n"
        "3. Φτιάξτε ξανά το πακέτο.\n\n"
        "Όταν εκτελείται το πακέτο, εδώ εμφανίζεται το κείμενο του license.txt.",
    .readmePlaceholder =
        "Για να εμφανίζεται εδώ το δικό σας κείμενο πληροφοριών, προσθέστε στο πακέτο το "
        "αρχείο readme.\n\n"
        "1. Γράψτε το κείμενο σε αρχείο με όνομα readme.txt.\n"
        "2. Βάλτε το readme.txt στο αρχείο cabinet του πακέτου μαζί με τα άλλα αρχεία.\n"
        "3. Φτιάξτε ξανά το πακέτο.\n\n"
        "Όταν εκτελείται το πακέτο, εδώ εμφανίζεται το κείμενο του readme.txt.",
    .noDialogs = "Δεν έχει οριστεί καμία σελίδα!",
    .restartNotDone =
        "Ο υπολογιστής δεν επανεκκινήθηκε. Επανεκκινήστε τον μόνοι σας όταν σας "
        "βολεύει, για να ισχύσουν οι αλλαγές των ρυθμίσεων.",
    .notInstalledHeading = "Αυτά τα αρχεία του %s δεν εγκαταστάθηκαν:",
    .whyNotInCabinets = "λείπει από τα αρχεία cabinet του πακέτου",
    .whyNoFolder = "ο φάκελός του δεν αρχίζει με όνομα γνωστού φακέλου",
    .whyPathTooLong = "μακρύτερη διαδρομή από όση επιτρέπουν τα Windows",
    .whyNotDownloaded = "δεν κατέβηκε",
    .andMore = "... και άλλα %s",
    .restInstalled = "Όλα τα άλλα εγκαταστάθηκαν.",
    .nothingInstalled = "Δεν εγκαταστάθηκε τίποτα.",
    .folderNotAbsolute =
        "Ο φάκελος εγκατάστασης «%s» δεν είναι πλήρης διαδρομή σε μονάδα δίσκου· δεν "
        "εγκαταστάθηκε τίποτα.",
    .fileListUnreadable =
        "Ο κατάλογος αρχείων του πακέτου %s δεν διαβάζεται· δεν εγκαταστάθηκε τίποτα.",
    .journalUnwritable = "Το ημερολόγιο της εγκατάστασης δεν μπορεί να γραφτεί στο %s.",
    .logUnwritable = "Το αρχείο καταγραφής της εγκατάστασης δεν μπορεί να γραφτεί: %s",
    .fileNotInstalled = "Το αρχείο %s δεν μπόρεσε να εγκατασταθεί.",
    .recoveredRun =
        "Μια εγκατάσταση στο %s διακόπηκε· όσα είχε αλλάξει αναιρέθηκαν (%s).",

    .choosePrompt = "Επιλέξτε τον φάκελο προορισμού...",
    .folderTree = "Φάκελοι",
    .folderInvalid = "Ο φάκελος:\n\n%s\n\nδεν είναι έγκυρος. Πληκτρολογήστε τον ξανά.",
    .folderCreate = "Ο φάκελος:\n\n%s\n\nδεν υπάρχει. Θέλετε να δημιουργηθεί;",
    .folderCannotCreate = "Ο φάκελος:\n\n%s\n\nδεν μπορεί να δημιουργηθεί. Ελέγξτε τον ξανά.",
    .folderTooLong =
        "Ο φάκελος:\n\n%s\n\nέχει %s χαρακτήρες· ένας φάκελος μπορεί να έχει έως "
        "%s. Πληκτρολογήστε έναν συντομότερο.",

    .uninstallTitle = "Απεγκατάσταση",
    .uninstallQuestion = "Να αφαιρεθεί το ******** με όλα τα μέρη του;",
    .uninstallDone = "Το ******** αφαιρέθηκε από τον υπολογιστή σας.",
    .uninstallLeftHeading = "Τα παρακάτω δεν αφαιρέθηκαν:",
    .uninstallNoLog = "Το αρχείο καταγραφής της εγκατάστασης %s δεν μπορεί να διαβαστεί.",
    .uninstallNotALog =
        "Το %s δεν είναι αρχείο καταγραφής εγκατάστασης που να διαβάζεται "
        "ολόκληρο· δεν αφαιρέθηκε τίποτα.",
    .whyOutside = "έξω από κάθε φάκελο μονάδας δίσκου, δεν αφαιρέθηκε",
    .whyIsFolder = "είναι φάκελος, δεν αφαιρέθηκε ως αρχείο",
    .whyNotAFolder = "δεν είναι φάκελος (είναι σύνδεσμος ή αρχείο), έμεινε ως έχει",
    .whyFailed = "δεν ήταν δυνατό να αφαιρεθεί",
    .whyKept = "έμεινε: περιέχει αρχεία που δεν εγκαταστάθηκαν",
    .whyUnknownRoot = "δεν είναι διαδρομή μητρώου που γνωρίζει η απεγκατάσταση",
    .whyNotOwned = "δεν αφαιρέθηκε: δεν είναι κλειδί που δημιουργεί η εγκατάσταση",
    .whyShared = "έμεινε: το χρησιμοποιούν ακόμη άλλα εγκατεστημένα προγράμματα",
    .whyChanged = "έμεινε: άλλαξε μετά την εγκατάσταση",
};

// The next code point of UTF-8 text at i; i moves past it. A byte that does not begin a
// well-formed sequence counts as one unknown character.
char32_t nextCodePoint(std::string_view s, std::size_t& i) {
    const auto byte = [&](std::size_t k) { return static_cast<unsigned char>(s[k]); };
    const unsigned char lead = byte(i++);
    if (lead < 0x80) return lead;
    const int extra = (lead >> 5) == 6 ? 1 : (lead >> 4) == 14 ? 2 : (lead >> 3) == 30 ? 3 : 0;
    if (extra == 0 || i + extra > s.size()) return 0xFFFD;
    char32_t c = lead & (0x3F >> extra);
    for (int k = 0; k < extra; ++k) {
        if ((byte(i + k) & 0xC0) != 0x80) return 0xFFFD;
        c = (c << 6) | (byte(i + k) & 0x3F);
    }
    i += extra;
    return c;
}

bool greekLetter(char32_t c) {
    // The Greek and Coptic block and Greek Extended, less the signs that are not letters.
    if (c == 0x374 || c == 0x375 || c == 0x37E || c == 0x384 || c == 0x385 || c == 0x387)
        return false;
    return (c >= 0x370 && c <= 0x3FF) || (c >= 0x1F00 && c <= 0x1FFF);
}

bool latinLetter(char32_t c) {
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') ||
           (c >= 0xC0 && c <= 0x24F && c != 0xD7 && c != 0xF7);
}

}  // namespace

const OwnTexts& ownTexts(Language language) {
    return language == Language::Greek ? kGreek : kEnglish;
}

Language languageOfTexts(const std::vector<std::string_view>& texts, std::string_view name) {
    long greek = 0, latin = 0;
    for (std::string_view text : texts) {
        for (std::size_t i = 0; i < text.size();) {
            if (!name.empty() && text.substr(i).starts_with(name)) {
                i += name.size();
                continue;
            }
            const char32_t c = nextCodePoint(text, i);
            greek += greekLetter(c);
            latin += latinLetter(c);
        }
    }
    return greek > latin ? Language::Greek : Language::English;
}

Language packageLanguage(const PackageDescription& package) {
    const LanguageTexts& t = package.texts;
    if (!t.present) return Language::English;
    return languageOfTexts({t.next,
                            t.back,
                            t.cancel,
                            t.welcomeBody,
                            t.welcomeTitle,
                            t.licenseTitle,
                            t.licenseSubtitle,
                            t.licenseDecline,
                            t.licenseAccept,
                            t.yes,
                            t.no,
                            t.readmeTitle,
                            t.readmeSubtitle,
                            t.userTitle,
                            t.userSubtitle,
                            t.userNameLabel,
                            t.companyLabel,
                            t.destinationTitle,
                            t.destinationSubtitle,
                            t.destinationText,
                            t.browse,
                            t.setupTypeTitle,
                            t.setupTypeSubtitle,
                            t.typicalDescription,
                            t.compactDescription,
                            t.customDescription,
                            t.typical,
                            t.compact,
                            t.custom,
                            t.folderTitle,
                            t.folderSubtitle,
                            t.folderListLabel,
                            t.startTitle,
                            t.startSubtitle,
                            t.startText,
                            t.startSummaryLabel,
                            t.completeTitle,
                            t.restartQuestion,
                            t.readmeBox,
                            t.runBox,
                            t.extractionStatus,
                            t.progressTitle,
                            t.progressSubtitle,
                            t.cancelQuestion,
                            t.finish,
                            t.customTitle,
                            t.customSubtitle},
                           package.app.productName);
}

const OwnTexts& ownTextsFor(const PackageDescription& package) {
    return ownTexts(packageLanguage(package));
}

std::string_view languageCode(Language language) {
    return language == Language::Greek ? "el" : "en";
}

std::optional<Language> languageFromCode(std::string_view code) {
    if (code == "el") return Language::Greek;
    if (code == "en") return Language::English;
    return std::nullopt;
}

std::string fillIn(std::string_view text, std::initializer_list<std::string_view> values) {
    std::string out;
    auto value = values.begin();
    std::size_t from = 0;
    for (std::size_t at; value != values.end() && (at = text.find("%s", from)) != text.npos;) {
        out.append(text.substr(from, at - from));
        out.append(*value++);
        from = at + 2;
    }
    out.append(text.substr(from));
    return out;
}

}  // namespace setup
