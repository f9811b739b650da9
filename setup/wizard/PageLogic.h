#pragma once
// What the wizard pages decide, kept free of Qt so it can be tested without windows: the page
// list, the texts the pages build, the folder rules of the destination page and the rows of
// the custom file page.

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "setup/engine/WinText.h"

namespace platform {
class FileSystem;
}

namespace setup {

struct Pages;
struct RunState;

// The page names in the order they can appear, each shown when its switch is on; "progress" has
// none and is always there.
std::vector<std::string> buildPageList(const Pages& pages);

// A licence or readme file as text: a byte-order mark picks UTF-8 or UTF-16, anything else is
// in the ANSI code page (1253 or 1252). A zero byte (zero unit in UTF-16) ends the text.
std::string decodePageText(std::string_view bytes, int ansiCodePage);
// Single-byte text of the setup data files in the ANSI code page, as UTF-8.
std::string decodeAnsi(std::string_view bytes, int ansiCodePage);

// The start-copying page's review of the run state, lines ended by CR LF but the last.
std::string installSummary(const RunState& state);

// A path too long for the destination page's label: its first 60 characters and "...".
std::string shortenForDisplay(std::string_view path);

enum class FolderTest { Ok = 0, Invalid = 1, CannotCreate = 2 };
// A folder name the destination page accepts.
bool folderNameValid(std::string_view name);
// The rules of a typed destination folder; with create, each missing folder of the chain is
// made in turn.
FolderTest testFolder(std::string_view path, bool create, platform::FileSystem& files);

// Start menu entries the program folder page lists: shortcuts ("lnk", "pif", compared
// exactly) are left out.
bool listedProgramEntry(std::string_view name);

}  // namespace setup
