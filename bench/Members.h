#pragma once
// The bytes the benchmarks pack into their cabinets.

#include <cstddef>
#include <random>
#include <string>

namespace bench {

// Text-like data that compresses about as well as program files and documents do.
inline std::string memberBytes(std::size_t size, std::mt19937_64& random) {
    static const char* words[] = {"μελέτη ",   "survey ", "0x7f3a ",  "ταχυμετρική ", "\r\n",
                                  "λ=0,2935 ", "plot ",   "\x01\x02", "ΦΠΑ 18% ",     "total "};
    std::string data;
    data.reserve(size + 32);
    while (data.size() < size) {
        data += words[random() % 10];
        if (random() % 4 == 0) data += static_cast<char>(random());
    }
    data.resize(size);
    return data;
}

}  // namespace bench
