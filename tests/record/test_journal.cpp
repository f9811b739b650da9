// The journal as a reader meets it after anything: a kill mid-record, names with every byte a
// field separator could be mistaken for, a file that only looks like one.

#include <gtest/gtest.h>

#include "record/Changes.h"
#include "record/Journal.h"

namespace {

using record::Record;

TEST(Journal, records_come_back_whole_and_a_torn_one_is_dropped) {
    const std::vector<Record> written = {
        {"file", {"C:\\Program Files\\Δεζοβούρ\\μελέτη 100%.dat", "tab\there", "cr\rlf\n"}},
        {"regvalue", {"HKEY_CURRENT_USER", "Environment", "PATH", "s:C:\\old;C:\\keep", "-"}},
        {"folder", {""}},
        {"done", {"1700000000123456789"}},
    };
    std::string bytes = "setup journal 1\n";
    for (const auto& r : written) bytes += record::encodeRecord(r);
    const auto whole = record::parseJournal(bytes);
    ASSERT_TRUE(whole);
    ASSERT_EQ(whole->records.size(), written.size());
    for (std::size_t i = 0; i < written.size(); ++i) {
        EXPECT_EQ(whole->records[i].tag, written[i].tag);
        EXPECT_EQ(whole->records[i].fields, written[i].fields);
    }
    EXPECT_TRUE(whole->done);
    EXPECT_EQ(whole->doneAtNs, 1700000000123456789);

    // Killed in the middle of the last record: the change it announced had not begun.
    const std::string cut = bytes.substr(0, bytes.size() - 5);
    const auto torn = record::parseJournal(cut);
    ASSERT_TRUE(torn);
    EXPECT_EQ(torn->records.size(), written.size() - 1);
    EXPECT_FALSE(torn->done);
}

TEST(Journal, what_is_not_one_is_refused_whole) {
    for (const std::string& bytes : {std::string("file\tc:\\x\n"), std::string(""),
                                    std::string("setup journal 1\nfile\tc:\\x%G1\n"),
                                    std::string("setup journal 1\n\tno tag\n")})
        EXPECT_FALSE(record::parseJournal(bytes)) << bytes;
}

TEST(Journal, registry_values_keep_their_type_and_bytes) {
    using platform::RegValue;
    for (const RegValue& v : {RegValue{RegValue::Type::String, "Ω;\\x", 0, ""},
                              RegValue{RegValue::Type::ExpandString, "%PATH%", 0, ""},
                              RegValue{RegValue::Type::Dword, "", 4294967295u, ""},
                              RegValue{RegValue::Type::Binary, "", 0, std::string("\0\xff\x41", 3)}}) {
        const auto back =
            record::RegistryValueChange::decode(record::RegistryValueChange::encode(v));
        ASSERT_TRUE(back);
        EXPECT_EQ(back->type, v.type);
        EXPECT_EQ(back->text, v.text);
        EXPECT_EQ(back->dword, v.dword);
        EXPECT_EQ(back->bytes, v.bytes);
    }
    EXPECT_FALSE(record::RegistryValueChange::decode("-"));
    EXPECT_FALSE(record::RegistryValueChange::decode("b:abc"));
}

}  // namespace
