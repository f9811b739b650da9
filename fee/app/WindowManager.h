#pragma once
// The real Navigator: creates the windows by WindowId, keeps at most one live window per id
// (one per category and mode for the entry windows), and refuses to open the windows that
// work on the current job while temp.dat names no existing job folder.

#include <QPointer>
#include <QWidget>
#include <functional>
#include <map>
#include <utility>

#include "fee/app/AppContext.h"
#include "fee/app/DocumentFrame.h"

namespace fee::app {

// A new, not yet shown window for the id (not Document, which lives in the document frame).
// Kept apart so the manager does not depend on how each window is built.
QWidget* createWindow(AppContext& ctx, WindowId id);
QWidget* createEntry(AppContext& ctx, fee::CategoryId category, EntryMode mode);

// The windows that need an existing current job.
bool needsJob(WindowId id);

class WindowManager : public Navigator {
public:
    // quitApplication runs after every window has been closed by quit() (the event loop's
    // quit by default).
    WindowManager(fee::DataStore& store, platform::SettingsStore& settings, Timings timings = {},
                  std::function<void()> quitApplication = {});
    ~WindowManager() override;
    WindowManager(const WindowManager&) = delete;
    WindowManager& operator=(const WindowManager&) = delete;

    void open(WindowId id) override;
    void openEntry(fee::CategoryId category, EntryMode mode) override;
    void reopen(WindowId id) override;
    void close(WindowId id) override;
    void quit() override;

    AppContext& context() { return ctx_; }
    // The live window of the id, or null.
    QWidget* window(WindowId id) const;
    QWidget* entryWindow(fee::CategoryId category, EntryMode mode) const;
    DocumentFrame* documentFrame() const { return frame_.data(); }

private:
    bool jobAvailable();
    // The window was opened on a job other than the one temp.dat names now.
    bool showsOtherJob(const QWidget* window) const;
    void openDocument();
    void refuseHere(const QString& text);
    static void show(QWidget* window);
    static void bringToFront(QWidget* window);

    AppContext ctx_;
    std::function<void()> quitApplication_;
    std::map<WindowId, QPointer<QWidget>> windows_;
    std::map<std::pair<fee::CategoryId, EntryMode>, QPointer<QWidget>> entries_;
    QPointer<DocumentFrame> frame_;
    int documentCounter_ = 0;
};

}  // namespace fee::app
