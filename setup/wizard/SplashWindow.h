#pragma once
// The picture setup.bmp shown while the cabinets are unpacked. It shares one integer with the
// extraction: it sets 255 when it opens, a tick every 500 ms puts 255 back to 0, and a tick
// that finds 111 closes the window.

#include <QPixmap>
#include <QTimer>
#include <QWidget>
#include <atomic>
#include <memory>
#include <string_view>

namespace platform {
class FileSystem;
}

namespace setup {

class SplashWindow : public QWidget {
    Q_OBJECT
public:
    static constexpr int kOpen = 255;
    static constexpr int kClose = 111;

    SplashWindow(const QPixmap& picture, std::atomic<int>& state, int tickMs = 500,
                 QWidget* parent = nullptr);

    // setup.bmp in the current directory, or nothing when it is missing or no picture (a
    // window shrunk to an empty picture shows nothing useful).
    static std::unique_ptr<SplashWindow> fromCurrentDirectory(platform::FileSystem& files,
                                                              std::string_view currentDirectory,
                                                              std::atomic<int>& state,
                                                              int tickMs = 500);

protected:
    void showEvent(QShowEvent* event) override;

private:
    void onTick();

    std::atomic<int>& state_;
    QTimer tick_;
};

}  // namespace setup
