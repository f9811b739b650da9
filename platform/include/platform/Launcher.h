#pragma once
// Starting programs and opening documents, the two ways a Windows program reaches others.

#include <memory>
#include <string>
#include <string_view>

namespace platform {

class Launcher {
public:
    virtual ~Launcher() = default;
    // A Windows command line ("regsvr32.exe /s \"c:\x.dll\""), started detached. The program
    // is found through the Windows paths (a ".exe" also without its extension on this host).
    // False when it cannot be found or started; never waits for it.
    virtual bool start(std::string_view commandLine, std::string_view workingFolder) = 0;
    // A document or folder opened by its default action (xdg-open on this host).
    virtual bool open(std::string_view winPath) = 0;
};

class FileSystem;

// Programs are looked up by Windows path: a relative name in the working folder, then the
// system folder, then the Windows folder; a name without extension as ".exe" first. Starts
// through a double fork (setsid, no zombie left); the start fails when exec does.
// opener: the host program that opens documents by their default action.
std::unique_ptr<Launcher> makePosixLauncher(FileSystem& files,
                                            std::string systemFolder = "c:\\windows\\system32",
                                            std::string windowsFolder = "c:\\windows",
                                            std::string opener = "xdg-open");

}  // namespace platform
