#pragma once
// The one question the uninstaller asks before it removes anything, and the refusal of a log
// it cannot use.

#include <string>
#include <string_view>

class QWidget;

namespace uninstall {

struct Texts;

// True when the user answers Yes. No is the default button: Enter alone removes nothing.
bool askToRemove(const Texts& texts, std::string_view product, QWidget* parent = nullptr);

// The log cannot be used: message says why; nothing was removed.
void tellUnusable(const Texts& texts, const std::string& message, QWidget* parent = nullptr);

}  // namespace uninstall
