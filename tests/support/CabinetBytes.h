#pragma once
// Cabinets written byte by byte for tests: one folder, stored (uncompressed) data, every member
// dated 2024-07-15 08:09:10 with the archive attribute.

#include <cstdint>
#include <string>
#include <vector>

namespace testing_support {

struct CabMember {
    std::string name;
    std::string bytes;
};

inline void putLe16(std::string& s, std::uint16_t v) {
    s += static_cast<char>(v & 0xFF);
    s += static_cast<char>(v >> 8);
}
inline void putLe32(std::string& s, std::uint32_t v) {
    putLe16(s, static_cast<std::uint16_t>(v & 0xFFFF));
    putLe16(s, static_cast<std::uint16_t>(v >> 16));
}

inline std::string cabinet(const std::vector<CabMember>& members) {
    std::string data;
    for (const CabMember& m : members) data += m.bytes;
    std::string files;
    std::uint32_t offset = 0;
    for (const CabMember& m : members) {
        putLe32(files, static_cast<std::uint32_t>(m.bytes.size()));
        putLe32(files, offset);
        putLe16(files, 0);
        putLe16(files, 0x58ef);
        putLe16(files, 0x4125);
        putLe16(files, 0x20);
        files += m.name + '\0';
        offset += static_cast<std::uint32_t>(m.bytes.size());
    }
    std::string blocks;
    std::uint16_t count = 0;
    for (std::size_t at = 0; at < data.size(); at += 32768, ++count) {
        const std::string chunk = data.substr(at, 32768);
        putLe32(blocks, 0);  // no checksum
        putLe16(blocks, static_cast<std::uint16_t>(chunk.size()));
        putLe16(blocks, static_cast<std::uint16_t>(chunk.size()));
        blocks += chunk;
    }
    const std::uint32_t headerSize = 36 + 8;
    std::string cab = "MSCF";
    putLe32(cab, 0);
    putLe32(cab, static_cast<std::uint32_t>(headerSize + files.size() + blocks.size()));
    putLe32(cab, 0);
    putLe32(cab, headerSize);
    putLe32(cab, 0);
    cab += '\x03';
    cab += '\x01';
    putLe16(cab, 1);
    putLe16(cab, static_cast<std::uint16_t>(members.size()));
    putLe16(cab, 0);
    putLe16(cab, 0x1234);
    putLe16(cab, 0);
    putLe32(cab, static_cast<std::uint32_t>(headerSize + files.size()));
    putLe16(cab, count);
    putLe16(cab, 0);
    return cab + files + blocks;
}

}  // namespace testing_support
