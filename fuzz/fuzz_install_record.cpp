// Arbitrary bytes as what zuninstall reads (the first byte picks): an install log, which must
// read without a crash, or a journal, whose records must come back the same after being
// written again, registry values included.

#include <cstdint>
#include <cstdlib>
#include <string>

#include "record/Changes.h"
#include "record/InstallLog.h"
#include "record/Journal.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0) return 0;
    const std::string bytes(reinterpret_cast<const char*>(data + 1), size - 1);
    if (data[0] & 1) {
        (void)record::parseInstallLog(bytes, (data[0] & 2) ? 1253 : 1252);
        return 0;
    }
    const auto journal = record::parseJournal(bytes);
    if (!journal) return 0;
    std::string again = "setup journal 1\n";
    for (const auto& r : journal->records) {
        again += record::encodeRecord(r);
        if (r.tag != "regvalue") continue;
        for (std::size_t i : {3u, 4u}) {
            const auto value = record::RegistryValueChange::decode(r.field(i));
            if (!value) continue;
            const auto back =
                record::RegistryValueChange::decode(record::RegistryValueChange::encode(*value));
            if (!back || back->type != value->type || back->text != value->text ||
                back->dword != value->dword || back->bytes != value->bytes)
                std::abort();
        }
    }
    const auto reread = record::parseJournal(again);
    if (!reread || reread->records.size() != journal->records.size() ||
        reread->done != journal->done)
        std::abort();
    for (std::size_t i = 0; i < journal->records.size(); ++i)
        if (reread->records[i].tag != journal->records[i].tag ||
            reread->records[i].fields != journal->records[i].fields)
            std::abort();
    return 0;
}
