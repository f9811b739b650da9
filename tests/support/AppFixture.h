#pragma once
// What a widget test needs: a fresh $WINROOT with the data folder, the store, settings and a
// Navigator that records what the windows ask for instead of opening anything.

#include <memory>
#include <utility>
#include <vector>

#include "fee/app/AppContext.h"
#include "platform/Locale.h"
#include "platform/Registry.h"
#include "platform/Settings.h"
#include "support/TempWinRoot.h"

namespace testing_support {

class FakeNavigator : public fee::app::Navigator {
public:
    enum class Call { Open, OpenEntry, Reopen, Close, Quit };
    struct Record {
        Call call;
        fee::app::WindowId window{};
        fee::CategoryId category{};
        fee::app::EntryMode mode{};
        bool operator==(const Record&) const = default;
    };

    void open(fee::app::WindowId id) override { calls.push_back({Call::Open, id}); }
    void openEntry(fee::CategoryId c, fee::app::EntryMode m) override {
        calls.push_back({Call::OpenEntry, {}, c, m});
    }
    void reopen(fee::app::WindowId id) override { calls.push_back({Call::Reopen, id}); }
    void close(fee::app::WindowId id) override { calls.push_back({Call::Close, id}); }
    void quit() override { calls.push_back({Call::Quit}); }

    bool opened(fee::app::WindowId id) const { return has({Call::Open, id}); }
    bool reopened(fee::app::WindowId id) const { return has({Call::Reopen, id}); }
    bool closed(fee::app::WindowId id) const { return has({Call::Close, id}); }
    bool has(const Record& r) const {
        for (const auto& c : calls)
            if (c == r) return true;
        return false;
    }

    std::vector<Record> calls;
};

struct AppFixture {
    AppFixture()
        : store(root.fs(), platform::decimalSeparator()),
          registry(platform::makeFileRegistry(root.root())),
          settings(platform::makeRegistrySettings(*registry)),
          context{store, *settings, nav, fee::app::Timings{}} {
        store.ensureDataFolder();
    }

    TempWinRoot root;
    fee::DataStore store;
    std::unique_ptr<platform::Registry> registry;
    std::unique_ptr<platform::SettingsStore> settings;
    FakeNavigator nav;
    fee::app::AppContext context;
};

}  // namespace testing_support
