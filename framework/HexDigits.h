// A number as the kit writes it into names and its journal: 16 hexadecimal
// digits, upper case, with leading zeros.
#pragma once

#include <cstdint>
#include <string>

namespace fw {

inline std::string HexDigits(std::uint64_t value) {
    static const char digits[] = "0123456789ABCDEF";
    std::string text;
    for (int shift = 60; shift >= 0; shift -= 4) text += digits[(value >> shift) & 0xF];
    return text;
}

}  // namespace fw
