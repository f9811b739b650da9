#pragma once
// The package's file list (datafile.dlr) and the copy list built from it.
//
// datafile.dlr holds pairs of CR LF lines: the file's path on the build machine (only its
// name counts) and "<destination folder>*k,n,s" with the three one-digit flags keepExisting,
// noLog and selfRegister. A pair's position names its cabinet member "F<i>_<name>".

#include <string>
#include <string_view>
#include <vector>

#include "setup/engine/FolderTable.h"

namespace setup {

struct PackageEntry {
    std::string name;         // the file's own name
    std::string sourceLine;   // as written in datafile.dlr
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
};

// Lines count only when ended by CR (a following LF is skipped) and not empty; an unpaired
// last line is dropped.
std::vector<PackageEntry> parsePackageList(std::string_view text);

// "F<index>_<name>"
std::string memberName(std::size_t index, std::string_view name);

}  // namespace setup
