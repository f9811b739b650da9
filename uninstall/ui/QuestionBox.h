#pragma once
// The one question the uninstaller asks before it removes anything.

#include <string_view>

class QWidget;

namespace uninstall {

struct Texts;

// True when the user answers Yes. No is the default button: Enter alone removes nothing.
bool askToRemove(const Texts& texts, std::string_view product, QWidget* parent = nullptr);

}  // namespace uninstall
