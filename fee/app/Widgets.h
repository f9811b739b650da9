#pragma once
// Small constructors for the controls every window makes: each carries its object name, by
// which tests and screen readers find it.

#include <QString>
#include <array>
#include <string_view>

class QGridLayout;
class QLabel;
class QPushButton;
class QWidget;

namespace fee::app {

QLabel* namedLabel(QWidget* parent, const char* objectName, const QString& text = {});

// Not an auto-default button: Return in a field of a job window must not press it.
QPushButton* namedButton(QWidget* parent, const char* objectName, const QString& caption);

// The authors' names (bold, from fee::kAuthors) over the titles given, in two columns:
// objectNames are author 1, title 1, author 2, title 2.
QGridLayout* creditsGrid(QWidget* parent, const std::array<const char*, 4>& objectNames,
                         const std::array<QString, 2>& titles, Qt::Alignment alignment);

QString fromView(std::string_view text);

// Keyboard of a dialog or entry window: Escape closes it without writing, as its Cancel does;
// Return and Enter press defaultButton (when given) wherever the focus is in the window.
void dialogKeys(QWidget* window, QPushButton* defaultButton = nullptr);

// The "OK" button (object name OKButton) of a window that only informs: default, and it
// closes the window.
QPushButton* closingOkButton(QWidget* window);

}  // namespace fee::app
