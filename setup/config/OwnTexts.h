#pragma once
// The texts setup and the uninstaller show that a package's language.tag has no key for: our
// own windows and messages (the folder chooser, the custom list's columns, the uninstaller's
// question and list, the messages we add). They follow the package's language: one table in
// Greek, one in English.
//
// The package's language. language.tag carries no language name, only its texts, and they
// are already decoded (from the ANSI code page, or UTF-8 after a byte-order mark) when the
// package is read. So the texts decide: a package whose language.tag holds more Greek letters
// than Latin ones speaks Greek; one without language.tag, or whose texts are in Latin letters
// or in any other script, gets English. The product's name, which the texts take in place of
// "********", is not counted: a Greek name in English texts leaves them English, a Latin one
// in Greek texts leaves them Greek; and counting rather than looking for a single Greek
// letter keeps a Latin file name ("readme.txt") in a Greek text from mattering.
//
// The uninstaller knows the language the same way: setup records it in the installation's
// journal, and without that record the texts of a language.tag beside the log decide.

#include <initializer_list>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace setup {

struct PackageDescription;

enum class Language { English, Greek };

// Every text is UTF-8. "%s" marks where a value goes (fillIn); "********" in the uninstaller's
// texts is the product name. "&" marks a button's access key.
struct OwnTexts {
    // Buttons of our own message boxes and windows.
    std::string ok;
    std::string cancel;
    std::string yes;
    std::string no;

    // The wizard's pages.
    std::string headerIcon;       // the header icon, for screen readers
    std::string pleaseWait;       // the progress page's status before the first file
    std::string downloadCaption;  // over the download bar
    std::string fileNameColumn;   // the custom list's columns
    std::string destinationColumn;
    std::string licensePlaceholder;  // the licence page without license.txt
    std::string readmePlaceholder;   // the readme page without readme.txt
    std::string noDialogs;           // data.tag turns every page off
    std::string restartNotDone;      // after "Yes" to the restart question

    // The installation's end, when it did less than asked or nothing; %s as marked.
    std::string notInstalledHeading;  // %s the product
    std::string whyNotInCabinets;
    std::string whyNoFolder;
    std::string whyPathTooLong;
    std::string whyNotDownloaded;
    std::string andMore;              // %s how many
    std::string restInstalled;
    std::string nothingInstalled;
    std::string folderNotAbsolute;    // %s the folder
    std::string fileListUnreadable;   // %s its path
    std::string journalUnwritable;    // %s the folder
    std::string logUnwritable;        // %s its path
    std::string fileNotInstalled;     // %s its path
    std::string recoveredRun;         // %s the folder, then the journal

    // The folder chooser and its messages; %s is the folder typed.
    std::string choosePrompt;
    std::string folderTree;  // the tree of folders, for screen readers
    std::string folderInvalid;
    std::string folderCreate;
    std::string folderCannotCreate;
    std::string folderTooLong;  // %s the folder's beginning, then its length, then the limit

    // The uninstaller.
    std::string uninstallTitle;
    std::string uninstallQuestion;
    std::string uninstallDone;
    std::string uninstallLeftHeading;
    std::string uninstallNoLog;    // %s the log's path
    std::string uninstallNotALog;  // %s the path given
    // Why an item stays, after the item.
    std::string whyOutside;
    std::string whyIsFolder;
    std::string whyNotAFolder;
    std::string whyFailed;
    std::string whyKept;
    std::string whyUnknownRoot;
    std::string whyNotOwned;
    std::string whyShared;
    std::string whyChanged;
};

const OwnTexts& ownTexts(Language language);

// The language of a set of texts by the letters rule above, leaving out every occurrence of
// name.
Language languageOfTexts(const std::vector<std::string_view>& texts, std::string_view name = {});
// The package's language from its [LANGUAGE] texts (English when there is no language.tag).
Language packageLanguage(const PackageDescription& package);
// Both together: the texts of our own a package gets.
const OwnTexts& ownTextsFor(const PackageDescription& package);

// How the journal names a language ("en", "el"), and back; none for a code we do not know.
std::string_view languageCode(Language language);
std::optional<Language> languageFromCode(std::string_view code);

// text with each "%s" replaced by the next value, in order; marks beyond the values stay.
std::string fillIn(std::string_view text, std::initializer_list<std::string_view> values);

}  // namespace setup
