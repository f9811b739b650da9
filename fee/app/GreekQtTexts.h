#pragma once
// Greek for the texts Qt itself shows in our windows: the print dialog with its page set-up,
// its questions and errors, and the standard buttons of message boxes. Debian ships no Greek
// translation of Qt, so without this the printing path would turn English halfway.
// Installed once on the application (QCoreApplication::installTranslator).

#include <QTranslator>

namespace fee::app {

class GreekQtTexts : public QTranslator {
public:
    using QTranslator::QTranslator;
    QString translate(const char* context, const char* sourceText,
                      const char* disambiguation = nullptr, int n = -1) const override;
    bool isEmpty() const override { return false; }
};

}  // namespace fee::app
