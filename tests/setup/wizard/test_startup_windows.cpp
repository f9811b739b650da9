#include <gtest/gtest.h>

#include <QApplication>
#include <QBuffer>
#include <QImage>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>

#include "setup/wizard/BackgroundWindow.h"
#include "setup/wizard/QtPrompter.h"
#include "setup/wizard/SplashWindow.h"
#include "support/QtWaiting.h"
#include "support/TempWinRoot.h"

using namespace setup;
using testing_support::eventually;

TEST(background_window, gradient_rows_truncate_toward_zero) {
    const QColor top(255, 128, 0), bottom(0, 0, 128);
    EXPECT_EQ(BackgroundWindow::rowColour(top, bottom, 0, 100), top);
    EXPECT_EQ(BackgroundWindow::rowColour(top, bottom, 50, 100), QColor(128, 64, 64));
    // 255 - 252.45 keeps 3 (a floor would give 2).
    EXPECT_EQ(BackgroundWindow::rowColour(top, bottom, 99, 100), QColor(3, 2, 126));

    BackgroundWindow window(top, bottom, "Dezovur", "Korvanet");
    window.resize(400, 100);
    QImage image = window.grab().toImage();
    EXPECT_EQ(image.pixelColor(200, 60), QColor(102, 52, 76));
    EXPECT_EQ(window.windowTitle(), "Korvanet Instavo");
}

TEST(splash_window, closes_when_asked_and_not_shown_without_picture) {
    testing_support::TempWinRoot root;
    std::atomic<int> state{0};
    EXPECT_EQ(SplashWindow::fromCurrentDirectory(root.fs(), "C:\\pkg", state), nullptr);

    QImage picture(40, 30, QImage::Format_RGB32);
    picture.fill(Qt::blue);
    QByteArray bytes;
    QBuffer buffer(&bytes);
    ASSERT_TRUE(picture.save(&buffer, "BMP"));
    root.writeHostFile("pkg/SETUP.BMP", std::string_view(bytes.constData(), bytes.size()));
    auto splash = SplashWindow::fromCurrentDirectory(root.fs(), "C:\\pkg", state, 5);
    ASSERT_NE(splash, nullptr);
    EXPECT_EQ(splash->size(), QSize(40, 30));
    splash->show();
    EXPECT_EQ(state.load(), SplashWindow::kOpen);
    EXPECT_TRUE(eventually([&] { return state.load() == 0; }));
    EXPECT_TRUE(splash->isVisible());
    state.store(SplashWindow::kClose);
    EXPECT_TRUE(eventually([&] { return !splash->isVisible(); }));
    EXPECT_EQ(state.load(), SplashWindow::kClose);
}

namespace {

// Presses the named button of the next message box once it is up; records what it showed.
void pressWhenShown(const char* buttonName, QString* seen) {
    QTimer::singleShot(0, [=] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (!box) return pressWhenShown(buttonName, seen);
        *seen = box->windowTitle() + "|" + box->text();
        for (auto* b : box->findChildren<QPushButton*>()) seen->append("|" + b->text());
        box->findChild<QPushButton*>(buttonName)->click();
    });
}

}  // namespace

TEST(qt_prompter, boxes_answer_with_the_button_pressed) {
    QtPrompter boxes;
    Prompter& prompter = boxes;
    QString seen;
    pressWhenShown("ok", &seen);
    prompter.message("Data file not found...", "setup");
    EXPECT_EQ(seen, "setup|Data file not found...|OK");

    pressWhenShown("cancel", &seen);
    EXPECT_EQ(prompter.okCancel("Please insert next disk...", "setup"), Answer::Cancel);
    pressWhenShown("yes", &seen);
    EXPECT_EQ(prompter.yesNo("Restart?", "setup", "Ναι", ""), Answer::Yes);
    EXPECT_TRUE(seen.contains("|Ναι|&No")) << seen.toStdString();
    pressWhenShown("no", &seen);
    EXPECT_EQ(prompter.yesNo("Restart?", "setup"), Answer::No);
}
