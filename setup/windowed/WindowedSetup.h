#pragma once
// The windowed half of setup: the message boxes and the windowed stages of the start-up
// (extraction window and splash, background window, wizard). It is built on Qt Widgets and
// lives in a library of its own, setup-windows.so beside the program, which main opens only
// when the first window is due: a silent run never maps Qt.
//
// main and the library are built from the same sources in one build; what crosses between
// them is this header's classes and the engine's (SetupContext, StartupStages, Prompter).

#include <string>

#include "setup/config/Prompter.h"
#include "setup/engine/Startup.h"

namespace platform {
class SystemInfo;
}

namespace setup {

class WindowedSetup {
public:
    virtual ~WindowedSetup() = default;
    // Message boxes over the window the user works in.
    virtual Prompter& prompter() = 0;
    // The stages of a windowed run; currentDirectory (a Windows path) is where the splash
    // picture is looked for. They use this object, which must outlive them.
    virtual StartupStages stages(const std::string& currentDirectory) = 0;
};

struct WindowedSetupArgs {
    // main's, which the application object keeps for its whole life.
    int* argc = nullptr;
    char** argv = nullptr;
    // Told the screen's size and depth once the window system is up.
    platform::SystemInfo* system = nullptr;
};

// The library's one entry point, looked up by this name: makes the application object (a
// display must be there) and returns what main deletes at its end.
inline constexpr const char* kOpenWindowedSetup = "setupOpenWindowedSetup";
using OpenWindowedSetup = WindowedSetup* (*)(const WindowedSetupArgs&);

// The library's file name, beside the program.
inline constexpr const char* kWindowedSetupLibrary = "setup-windows.so";

}  // namespace setup
