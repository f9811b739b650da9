#pragma once
// The uninstaller's windows: a library beside the program (record::kUninstallerWindows) that
// zuninstall opens only for a run that shows them, so a silent run loads no window library.

#include <string>
#include <string_view>

namespace uninstall {

struct Outcome;
struct Texts;

class Windows {
public:
    virtual ~Windows() = default;
    // True when the user answers Yes.
    virtual bool askToRemove(const Texts& texts, std::string_view product) = 0;
    // The log cannot be used: message says why; nothing was removed.
    virtual void tellUnusable(const Texts& texts, const std::string& message) = 0;
    // What was removed and what stays, until the user closes it.
    virtual void showResult(const Texts& texts, const std::string& product,
                            const Outcome& outcome) = 0;
};

// The library's one entry point: the application object made from main's arguments (argc
// must outlive it) and the windows over it.
using OpenWindows = Windows* (*)(int* argc, char** argv);
inline constexpr const char* kOpenWindows = "zuninstallOpenWindows";

}  // namespace uninstall
