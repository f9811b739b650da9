#pragma once
// Everything the uninstaller says. Built-in English; a package whose setup speaks another
// language puts a [ZUNINSTALL] section into its language.tag beside the log, one key per text
// below (an empty or missing key keeps the English). "********" in a text stands for the
// product name, as in setup's own texts.

#include <string>
#include <string_view>

namespace platform {
class ProfileFiles;
}

#include "record/Changes.h"

namespace uninstall {

using record::Why;

struct Texts {
    std::string title = "Uninstall";
    std::string question = "Remove ******** and all of its components?";
    std::string yes = "&Yes";
    std::string no = "&No";
    std::string ok = "OK";
    std::string done = "******** was removed from your computer.";
    std::string leftHeading = "These items were not removed:";
    std::string noLog = "The installation log %s cannot be read.";
    std::string notALog = "%s is not an installation log that can be read whole; nothing was removed.";
    // Reasons, after the item they describe.
    std::string outside = "outside every drive folder, not removed";
    std::string isFolder = "a folder, not removed as a file";
    std::string notAFolder = "not a folder (a link or a file), left as it is";
    std::string failed = "could not be removed";
    std::string kept = "kept: it holds files that were not installed";
    std::string unknownRoot = "not a registry path this uninstaller knows";
    std::string notOwned = "not removed: it is not a key that setup creates";
    std::string shared = "kept: other installed products still use it";
    std::string changed = "kept: changed since it was installed";

    // product replaces "********".
    std::string forProduct(const std::string& text, std::string_view product) const;
    std::string reason(Why why) const;
};

// The texts of language.tag in logFolder (a Windows folder path), English where it is silent.
Texts loadTexts(const platform::ProfileFiles& profiles, std::string_view logFolder);

}  // namespace uninstall
