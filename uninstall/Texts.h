#pragma once
// Everything the uninstaller says, in the language of the package it removes, from the table
// of our own texts (setup/config/OwnTexts.h): the language setup recorded in the
// installation's journal; without that record (another installer's log, an older journal),
// the language of the texts of a language.tag beside the log; else English.
//
// A package may word any text itself: a [ZUNINSTALL] section in the language.tag beside the
// log, one key per text below (an empty or missing key keeps ours). "********" in a text
// stands for the product name, as in setup's own texts.

#include <optional>
#include <string>
#include <string_view>

#include "record/Changes.h"
#include "setup/config/OwnTexts.h"

namespace platform {
class ProfileFiles;
}

namespace uninstall {

using record::Why;
struct Installation;

struct Texts {
    Texts() : Texts(setup::Language::English) {}
    explicit Texts(setup::Language language);

    std::string title;
    std::string question;
    std::string yes;
    std::string no;
    std::string ok;
    std::string done;
    std::string leftHeading;
    std::string noLog;
    std::string notALog;
    // Reasons, after the item they describe.
    std::string outside;
    std::string isFolder;
    std::string notAFolder;
    std::string failed;
    std::string kept;
    std::string unknownRoot;
    std::string notOwned;
    std::string shared;
    std::string changed;

    // product replaces "********".
    std::string forProduct(const std::string& text, std::string_view product) const;
    std::string reason(Why why) const;
};

// The language setup wrote into the installation's journal; none without a journal or record.
std::optional<setup::Language> recordedLanguage(const Installation& installation);

// The texts for an installation whose log lies in logFolder (a Windows folder path): in the
// recorded language, or without one in the language of language.tag there; the package's own
// [ZUNINSTALL] texts over ours.
Texts loadTexts(const platform::ProfileFiles& profiles, std::string_view logFolder,
                std::optional<setup::Language> recorded = std::nullopt);

}  // namespace uninstall
