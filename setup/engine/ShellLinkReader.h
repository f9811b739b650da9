#pragma once
// Reads a shell link (.lnk) back into the fields setup writes, so that what shellLinkBytes
// made can be checked against what it was given, and a link found on the disk can be looked
// at without trusting its sizes and offsets. Every size and offset is checked against the
// bytes there are: a damaged file is refused, never read past its end.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "setup/engine/ShellLink.h"

namespace setup {

struct ShellLinkFields {
    // target: the LinkInfo path (its Unicode copy when there is one, else the ANSI copy in
    // codePage), base path and suffix joined; workingFolder, arguments, iconLocation: the
    // StringData entries; writeTime from the header; codePage as given to the reader.
    ShellLinkData link;
    std::string ansiTarget;  // the LinkInfo's ANSI copy, as stored (base path and suffix)
    std::string name;        // StringData NAME
    std::string relativePath;
    std::string environmentTarget;  // the EnvironmentVariableDataBlock's target
    std::uint32_t flags = 0;
    std::uint32_t fileAttributes = 0;
    std::uint16_t hotKey = 0;
    std::int64_t creationTime = 0;  // seconds since 1970; 0 for none, as writeTime
    std::int64_t accessTime = 0;
};

// Nothing when the bytes are not a whole shell link: a wrong header size or class id, a
// structure running past the end, a string without its terminator, no terminal block.
// codePage (1253 or 1252) decodes the ANSI strings.
std::optional<ShellLinkFields> readShellLink(std::string_view bytes, int codePage);

// Seconds since 1970 from a FILETIME (100 ns ticks since 1601); 0 for 0.
std::int64_t unixTimeOfFileTime(std::uint64_t ticks);

}  // namespace setup
