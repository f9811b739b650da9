#pragma once
// The package's file list (datafile.dlr) and the copy list built from it.
//
// datafile.dlr holds pairs of CR LF lines: the file's path on the build machine (only its
// name counts) and "<destination folder>*k,n,s" with the three one-digit flags keepExisting,
// noLog and selfRegister. A pair's position names its cabinet member "F<i>_<name>".
// The file is written in the build machine's ANSI code page; the names are read as UTF-8, the
// form in which the extractor unpacks the members and the custom page shows them.

#include <string>
#include <string_view>
#include <vector>

#include "setup/engine/FolderTable.h"

namespace setup {

struct PackageEntry {
    std::string name;         // the file's own name
    std::string sourceLine;   // as written in datafile.dlr (decoded)
    std::string destination;  // folder text with tokens
    int keepExisting = 0;
    int noLog = 0;
    int selfRegister = 0;
};

struct CopyEntry {
    FolderKind kind = FolderKind::None;
    std::string destination;  // full path of the installed file
    std::string source;       // the extracted member, or a URL
    int keepExisting = 0;
    int noLog = 0;
    int selfRegister = 0;
    // The entry's position in the package list; -1 for a download action.
    long member = -1;
};

// Lines count only when ended by CR (a following LF is skipped) and not empty; an unpaired
// last line is dropped. The text is decoded from ansiCodePage (the root's, 1253 or 1252)
// first; 0 keeps its bytes as they are, for callers that look only at its layout.
std::vector<PackageEntry> parsePackageList(std::string_view text, int ansiCodePage = 0);

// "F<index>_<name>"
std::string memberName(std::size_t index, std::string_view name);

}  // namespace setup
