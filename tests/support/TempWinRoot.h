#pragma once
// A fresh $WINROOT for one test: a temporary folder with dosdevices/c: and z:, exported as
// WINROOT (and XDG_DATA_HOME pointed inside it) for the test's lifetime, removed afterwards.

#include <filesystem>
#include <memory>
#include <string>
#include <string_view>

#include "platform/FileSystem.h"

namespace testing_support {

class TempWinRoot {
public:
    TempWinRoot();
    ~TempWinRoot();
    TempWinRoot(const TempWinRoot&) = delete;
    TempWinRoot& operator=(const TempWinRoot&) = delete;

    const std::filesystem::path& root() const { return root_; }
    // $WINROOT/drive_c
    std::filesystem::path driveC() const { return root_ / "drive_c"; }
    platform::FileSystem& fs() { return *fs_; }

    // Host helpers for arranging and checking files by host path below drive_c.
    void writeHostFile(const std::filesystem::path& relativeToC, std::string_view bytes);
    std::string readHostFile(const std::filesystem::path& relativeToC) const;

private:
    std::filesystem::path root_;
    std::string savedWinRoot_;
    std::string savedXdg_;
    bool hadWinRoot_ = false;
    bool hadXdg_ = false;
    std::unique_ptr<platform::FileSystem> fs_;
};

// The Windows-1253 bytes of a UTF-8 literal, for writing expected file contents in tests.
std::string cp1253(std::string_view utf8);

}  // namespace testing_support
