#pragma once
// Windows command lines taken apart the way Windows does, without any I/O.

#include <string>
#include <string_view>
#include <vector>

namespace platform::codec {

struct ProgramCandidate {
    std::string program;    // as written, quotes removed
    std::string arguments;  // the rest of the line, leading blanks removed
};

// The programs a command line may name, in the order Windows tries them: a quoted first word
// is the program; an unquoted line is tried at each blank, shortest first
// ("c:\program files\x.exe /s" tries "c:\program", then "c:\program files\x.exe").
std::vector<ProgramCandidate> programCandidates(std::string_view commandLine);

// Arguments split as the C runtime of a Windows program splits them: blanks separate, double
// quotes group, 2n backslashes before a quote give n and the quote groups, 2n+1 give n and a
// literal quote, "" inside a group is a literal quote; other backslashes are literal.
std::vector<std::string> splitWindowsArguments(std::string_view arguments);

}  // namespace platform::codec
