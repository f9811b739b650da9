#pragma once
// The full-screen window behind the wizard: a vertical gradient between two colours with the
// package's caption at the top left and a line of text at the bottom right.

#include <QColor>
#include <QString>
#include <QWidget>
#include <memory>

namespace setup {

struct MainWindow;

class BackgroundWindow : public QWidget {
    Q_OBJECT
public:
    BackgroundWindow(QColor top, QColor bottom, QString caption, QString footer,
                     QWidget* parent = nullptr);

    // The package's colours and texts.
    static std::unique_ptr<BackgroundWindow> fromPackage(const MainWindow& look);

    // Shown maximised in front of everything; without a window manager to maximise it, it
    // takes the screen's size itself.
    void cover();

    // The colour of row y of a window h pixels high, with the integer arithmetic the packages'
    // pictures were designed for (product before division, truncated).
    static QColor rowColour(QColor top, QColor bottom, int y, int h);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QColor top_;
    QColor bottom_;
    QString caption_;
    QString footer_;
};

}  // namespace setup
