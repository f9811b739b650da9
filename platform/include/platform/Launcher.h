#pragma once
// Starting programs and opening documents, the two ways a Windows program reaches others.

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

}  // namespace platform
