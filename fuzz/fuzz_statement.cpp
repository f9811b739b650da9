// The whole statement assembly on an in-memory file system with arbitrary job files: it must
// never crash, never write outside the job folder, and a statement it calls whole must load
// with every fragment present.
//
// Input: the bytes of the job's files one after another, each ended by a 0xFF byte, in the
// order of kFiles below.

#include <cstdint>
#include <string>
#include <string_view>

#include "fee/calc/Statement.h"
#include "fee/store/DataStore.h"
#include "support/MemoryFileSystem.h"

namespace {

constexpr std::string_view kJob = "c:\\program files\\dezovur\\job";
constexpr std::string_view kFiles[] = {
    "temp.dat",   "STOIXEIA.dat", "l.dat",       "entos.dat",   "klimaka.dat",
    "analog.dat", "taxi.dat",     "asti.dat",    "polygon.dat", "rymotom.dat",
    "trig.dat",   "them.dat",     "xilosta.dat", "oix.dat",
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    testing_support::MemoryFileSystem fs;
    fs.createDirectory("c:\\program files");
    fs.createDirectory(fee::kDataFolder);
    fs.createDirectory(kJob);
    std::string_view input(reinterpret_cast<const char*>(data), size);
    for (std::string_view name : kFiles) {
        if (input.empty()) break;
        const auto end = input.find('\xFF');
        const std::string_view bytes = input.substr(0, end);
        input.remove_prefix(end == std::string_view::npos ? input.size() : end + 1);
        const std::string where = name == "temp.dat" ? std::string(fee::kDataFolder) + std::string(name)
                                                     : fee::DataStore::jobFile(kJob, name);
        fs.writeFile(where, bytes);
    }
    const auto before = fs.list(fee::kDataFolder, "*.*", true);
    fee::DataStore store(fs, ",");
    const fee::AssemblyResult result = fee::assembleStatement(store);
    if (fs.list(fee::kDataFolder, "*.*", true) != before) __builtin_trap();
    if (result == fee::AssemblyResult::Ok) {
        const auto job = store.currentJobFolder();
        if (!job || !fee::loadStatement(store, *job).missing.empty()) __builtin_trap();
    }
    return 0;
}
