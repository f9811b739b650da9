#pragma once
// Small constructors for the controls every window makes: each carries its object name, by
// which tests and screen readers find it.

#include <QString>

class QLabel;
class QPushButton;
class QWidget;

namespace fee::app {

QLabel* namedLabel(QWidget* parent, const char* objectName, const QString& text = {});

// Not an auto-default button: Return in a field of a job window must not press it.
QPushButton* namedButton(QWidget* parent, const char* objectName, const QString& caption);

// The "OK" button (object name OKButton) of a window that only informs: default, and it
// closes the window.
QPushButton* closingOkButton(QWidget* window);

}  // namespace fee::app
