// Numbers as the kit writes them into names, its journal and its reports:
// hexadecimal digits, upper case.
#pragma once

#include <cstdint>
#include <string>

namespace fw {

// The digit of value's lowest four bits.
inline char HexDigit(std::uint64_t value) { return "0123456789ABCDEF"[value & 0xF]; }

// The value of an upper-case hexadecimal digit; -1 for any other character.
inline int HexValue(char c) { return c >= '0' && c <= '9' ? c - '0' : c >= 'A' && c <= 'F' ? c - 'A' + 10 : -1; }

// 16 digits, with leading zeros.
inline std::string HexDigits(std::uint64_t value) {
    std::string text;
    for (int shift = 60; shift >= 0; shift -= 4) text += HexDigit(value >> shift);
    return text;
}

}  // namespace fw
