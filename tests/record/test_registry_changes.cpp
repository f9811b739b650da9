// Registry changes made together in one write: each key of a chain recorded once, and undoing
// them, either way, leaves the registry as it was found.

#include <gtest/gtest.h>

#include "platform/Profile.h"
#include "platform/Services.h"
#include "record/Changes.h"
#include "support/TempWinRoot.h"

namespace {

using platform::RegRoot;
using platform::RegValue;

RegValue text(std::string t) {
    RegValue v;
    v.text = std::move(t);
    return v;
}

TEST(RegistryChanges, keys_written_together_are_recorded_once_and_undone_whole) {
    for (const auto mode : {record::UndoMode::Rollback, record::UndoMode::Uninstall}) {
        SCOPED_TRACE(mode == record::UndoMode::Rollback ? "rollback" : "uninstall");
        testing_support::TempWinRoot root;
        auto services = platform::openServices(root.root());
        ASSERT_TRUE(services);
        auto& registry = *services->registry;
        const std::string before = root.readHostFile("../registry/HKEY_LOCAL_MACHINE.reg");
        record::Machine machine{*services->files, registry, *services->profiles};
        record::Recorder recorder(machine,
                                  record::Journal::create(*services->files, "C:\\journal"));

        // Two keys under one new chain, spelt differently, and a value set twice.
        ASSERT_TRUE(recorder.setValues(
            RegRoot::LocalMachine, {{"Software\\Δέλτα\\App\\One", {{"v", text("1")}}},
                                    {"SOFTWARE\\δέλτα\\APP\\Two", {{"v", text("2")}}},
                                    {"software\\ΔΈΛΤΑ\\app\\one", {{"V", text("3")}}}}));
        EXPECT_EQ(registry.value(RegRoot::LocalMachine, "Software\\Δέλτα\\App\\One", "v")->text, "3");
        EXPECT_EQ(registry.value(RegRoot::LocalMachine, "Software\\Δέλτα\\App\\Two", "v")->text, "2");

        const auto journal = record::readJournal(*services->files, "C:\\journal");
        ASSERT_TRUE(journal);
        std::vector<std::string> keys;
        for (const auto& r : journal->records)
            if (r.tag == "regkey") keys.push_back(r.field(1));
        EXPECT_EQ(keys, (std::vector<std::string>{"Software\\Δέλτα", "Software\\Δέλτα\\App",
                                                  "Software\\Δέλτα\\App\\One",
                                                  "SOFTWARE\\δέλτα\\APP\\Two"}));

        record::UndoContext context{machine, mode, 0, {}, {}};
        undoRecords(journal->records, context);
        for (const auto& left : context.leftovers) ADD_FAILURE() << left.item;
        EXPECT_FALSE(registry.keyExists(RegRoot::LocalMachine, "Software\\Δέλτα"));
        EXPECT_EQ(root.readHostFile("../registry/HKEY_LOCAL_MACHINE.reg"), before);
    }
}

}  // namespace
