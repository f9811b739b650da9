#pragma once
// What a widget test needs: a fresh $WINROOT with the data folder, the store, settings and a
// Navigator that records what the windows ask for instead of opening anything.

#include <memory>
#include <string>
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

// A job "ΑΒ" as job creation leaves it, laid out byte by byte and made current: owner Α Β,
// engineer with the given eid.dat code and specialty, λ 29350. Returns its host folder below
// drive c:.
inline std::string writeJob(AppFixture& f, int specialtyCode = 1,
                            const std::string& entos = " 1 \r\n",
                            const std::string& specialty = "Πολιτικός Μηχανικός") {
    const std::string data = "program files/dezovur/";
    const std::string job = data + "ΑΒ/";
    f.root.writeHostFile(data + "temp.dat", cp1253("c:\\program files\\dezovur\\ΑΒ\r\n"));
    f.root.writeHostFile(job + "STOIXEIA.dat",
                         cp1253("Α\r\nΒ\r\nΟδός 1\r\nΠάτρα\r\nΠατρέων\r\nΡίου\r\nΚάστρο\r\n"
                                "Νίκος\r\nΠαππάς\r\nΟδός 2\r\nΑθήνα\r\n" +
                                specialty + "\r\n"));
    f.root.writeHostFile(job + "l.dat", "29350\r\n");
    f.root.writeHostFile(job + "entos.dat", entos);
    f.root.writeHostFile(job + "eid.dat", " " + std::to_string(specialtyCode) + " \r\n");
    return job;
}

}  // namespace testing_support
