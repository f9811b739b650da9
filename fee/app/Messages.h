#pragma once
#include <QString>

class QWidget;

namespace fee::app {

// Tells the user why an entry was refused. The box is window-modal but does not block the
// caller (it is shown with open()), so the window behind stays as it was. Object name "refusal".
void refuse(QWidget* parent, const QString& text);

}  // namespace fee::app
