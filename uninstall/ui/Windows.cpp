#include "uninstall/ui/Windows.h"

#include <QApplication>
#include <memory>

#include "uninstall/Uninstaller.h"
#include "uninstall/ui/QuestionBox.h"
#include "uninstall/ui/ResultWindow.h"

namespace uninstall {
namespace {

class QtWindows final : public Windows {
public:
    QtWindows(int* argc, char** argv) : app_(*argc, argv) {}

    bool askToRemove(const Texts& texts, std::string_view product) override {
        return uninstall::askToRemove(texts, product);
    }
    void tellUnusable(const Texts& texts, const std::string& message) override {
        uninstall::tellUnusable(texts, message);
    }
    void showResult(const Texts& texts, const std::string& product,
                    const Outcome& outcome) override {
        ResultWindow window(texts, product, outcome);
        window.exec();
    }

private:
    QApplication app_;
};

}  // namespace
}  // namespace uninstall

extern "C" __attribute__((visibility("default"))) uninstall::Windows* zuninstallOpenWindows(
    int* argc, char** argv) {
    return new uninstall::QtWindows(argc, argv);
}
