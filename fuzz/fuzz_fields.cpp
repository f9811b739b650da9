// The field reader over arbitrary file contents: every kind of field is read until the end. It
// must not crash, read out of bounds or stop making progress, and once at the end every further
// read must fail.
//
// Input: one byte that picks the decoding and the order of the reads, then the file's bytes.

#include <cstdint>
#include <string>

#include "fee/store/TextFile.h"
#include "platform/Cp1253.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0) return 0;
    const unsigned control = data[0];
    const std::string bytes(reinterpret_cast<const char*>(data + 1), size - 1);
    // Files reach the reader decoded from Windows-1253; raw bytes check it copes with anything.
    const std::string content = (control & 1) ? platform::cp1253ToUtf8(bytes) : bytes;

    fee::FieldReader reader(content);
    unsigned op = control >> 1;
    std::size_t reads = 0;
    while (!reader.atEnd()) {
        // Every field consumes at least one character, so the reads are bounded by the length.
        if (++reads > content.size() + 1) __builtin_trap();
        bool ok = false;
        switch (op % 4) {
            case 0:
                ok = reader.text().has_value();
                break;
            case 1:
                ok = reader.number().has_value();
                break;
            case 2:
                ok = reader.single().has_value();
                break;
            default:
                ok = reader.int16().has_value();
                break;
        }
        if (!ok) __builtin_trap();  // not at the end, so a field was there to read
        op = op * 5 + 3;
    }
    if (reader.text() || reader.number() || reader.single() || reader.int16()) __builtin_trap();
    return 0;
}
