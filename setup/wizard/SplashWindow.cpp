#include "setup/wizard/SplashWindow.h"

#include <QLabel>
#include <QVBoxLayout>

#include "platform/FileSystem.h"
#include "setup/config/DataFiles.h"

namespace setup {

SplashWindow::SplashWindow(const QPixmap& picture, std::atomic<int>& state, int tickMs,
                           QWidget* parent)
    : QWidget(parent, Qt::SplashScreen | Qt::FramelessWindowHint), state_(state) {
    setObjectName("SplashWindow");
    setWindowTitle("Korvanet Instavo");
    setAccessibleName(windowTitle());
    auto* label = new QLabel(this);
    label->setObjectName("picture");
    label->setAccessibleName("Korvanet Instavo");
    label->setPixmap(picture);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(label);
    setFixedSize(picture.size());
    tick_.setInterval(tickMs);
    connect(&tick_, &QTimer::timeout, this, &SplashWindow::onTick);
}

std::unique_ptr<SplashWindow> SplashWindow::fromCurrentDirectory(platform::FileSystem& files,
                                                                 std::string_view currentDirectory,
                                                                 std::atomic<int>& state,
                                                                 int tickMs) {
    auto bytes = files.readFile(fileInFolder(currentDirectory, "setup.bmp"));
    if (!bytes) return nullptr;
    QPixmap picture;
    if (!picture.loadFromData(reinterpret_cast<const uchar*>(bytes->data()),
                              static_cast<uint>(bytes->size()), "BMP") ||
        picture.isNull())
        return nullptr;
    return std::make_unique<SplashWindow>(picture, state, tickMs);
}

void SplashWindow::showEvent(QShowEvent* event) {
    state_.store(kOpen);
    tick_.start();
    QWidget::showEvent(event);
}

void SplashWindow::onTick() {
    int expected = kOpen;
    // Only 255 goes back to 0: a 111 written meanwhile by the extraction must survive.
    state_.compare_exchange_strong(expected, 0);
    if (state_.load() == kClose) {
        tick_.stop();
        close();
    }
}

}  // namespace setup
