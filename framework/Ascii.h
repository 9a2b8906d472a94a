// Character tests and case folding for ASCII alone, whatever the C locale:
// names, versions and SDDL the kit reads are compared by these rules, and
// the bytes of other characters' UTF-8 forms pass through unchanged.
#pragma once

#include <string>

namespace fw {

inline bool IsAsciiDigit(char c) { return c >= '0' && c <= '9'; }
inline bool IsAsciiUpper(char c) { return c >= 'A' && c <= 'Z'; }
inline bool IsAsciiLetter(char c) { return IsAsciiUpper(c) || (c >= 'a' && c <= 'z'); }

inline char AsciiLower(char c) { return IsAsciiUpper(c) ? static_cast<char>(c - 'A' + 'a') : c; }
inline std::string AsciiLower(std::string text) {
    for (char& c : text) c = AsciiLower(c);
    return text;
}

}  // namespace fw
