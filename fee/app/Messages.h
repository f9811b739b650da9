#pragma once
#include <QString>

class QWidget;

namespace fee::app {

// Tells the user why an entry was refused. The box is window-modal but does not block the
// caller (it is shown with open()), so the window behind stays as it was. Object name "refusal".
void refuse(QWidget* parent, const QString& text);

// The refusal shown when a task needs a job and temp.dat names none inside the data folder.
QString noJobMessage();

// A number as a person reads it: at most `digits` significant digits, the user's decimal
// separator, and a zero before the separator below 1 ("0,2935", "12,5", "15").
QString displayNumber(double value, int digits, const QString& separator);

}  // namespace fee::app
