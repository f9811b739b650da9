#pragma once
// A home folder of the test's own for as long as it lives: printing makes the documents
// folder it offers the PDF in, and (run as root) would otherwise make it in whatever HOME
// names, even the test environment's "/nonexistent-home".

#include <QByteArray>
#include <QTemporaryDir>
#include <QtGlobal>

namespace testing_support {

class TempHome {
public:
    TempHome() : home_(qgetenv("HOME")), config_(qgetenv("XDG_CONFIG_HOME")) {
        hadConfig_ = qEnvironmentVariableIsSet("XDG_CONFIG_HOME");
        qputenv("HOME", dir_.path().toUtf8());
        // Where a user-dirs.dirs could move the documents folder elsewhere.
        qputenv("XDG_CONFIG_HOME", dir_.filePath(QStringLiteral(".config")).toUtf8());
    }
    ~TempHome() {
        qputenv("HOME", home_);
        if (hadConfig_)
            qputenv("XDG_CONFIG_HOME", config_);
        else
            qunsetenv("XDG_CONFIG_HOME");
    }
    TempHome(const TempHome&) = delete;
    TempHome& operator=(const TempHome&) = delete;

    QString path() const { return dir_.path(); }
    QString filePath(const QString& name) const { return dir_.filePath(name); }

private:
    QTemporaryDir dir_;
    QByteArray home_, config_;
    bool hadConfig_ = false;
};

}  // namespace testing_support
