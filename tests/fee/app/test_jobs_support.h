#pragma once
// Shared by the widget tests of the particulars, work menu and overview windows: a job laid
// out on disk byte by byte (not through the code under test), and small window helpers.

#include <QCoreApplication>
#include <QPointer>
#include <QTest>
#include <QWidget>
#include <filesystem>
#include <map>
#include <string>

#include "support/AppFixture.h"
#include "support/QtWaiting.h"

namespace jobs_test {

using testing_support::cp1253;

inline const std::string kData = "program files/dezovur/";

// What job creation leaves (see testing_support::writeJob).
inline std::string makeJob(testing_support::AppFixture& f, int specialtyCode = 1,
                           const std::string& entos = " 1 \r\n") {
    return testing_support::writeJob(f, specialtyCode, entos);
}

// Every file below the data folder with its bytes, to show that nothing changed.
inline std::map<std::string, std::string> snapshot(const testing_support::AppFixture& f) {
    std::map<std::string, std::string> files;
    const auto base = f.root.driveC() / kData;
    for (const auto& entry : std::filesystem::recursive_directory_iterator(base))
        if (entry.is_regular_file())
            files[std::filesystem::relative(entry.path(), base).string()] =
                f.root.readHostFile(entry.path().lexically_relative(f.root.driveC()));
    return files;
}

inline bool exists(const testing_support::AppFixture& f, const std::string& relativeToC) {
    return std::filesystem::exists(f.root.driveC() / relativeToC);
}

// QTest::keyClicks only knows Latin-1 keys; Greek is typed as key events carrying the text.
inline void typeText(QWidget* widget, const QString& text) {
    for (const QChar ch : text)
        QTest::sendKeyEvent(QTest::Click, widget, Qt::Key_unknown, QString(ch), Qt::NoModifier);
}

using testing_support::gone;

}  // namespace jobs_test
