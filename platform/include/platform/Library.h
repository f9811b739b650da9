#pragma once
// A library that lies beside the running program, opened for one entry point: the programs
// keep their windows in such libraries, so that a run without windows maps no window system.

#include <string>
#include <string_view>

namespace platform {

// The entry point `symbol` of the library `fileName` in the running program's folder. The
// library stays open: what it makes lives until the program ends. Null, with the loader's
// reason in `problem`, when it cannot be opened or lacks the entry point.
void* entryPointBeside(std::string_view fileName, const char* symbol, std::string& problem);

}  // namespace platform
