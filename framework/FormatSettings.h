// Process-wide number and date formats. They start from the user's regional
// settings (loaded by the Win32 side) and every number-to-text and
// text-to-number conversion of the kit goes through them, so a program can
// force its own separators regardless of the regional settings.
#pragma once

#include <cstdint>
#include <string>

namespace fw {

struct FormatSettings {
    char DecimalSeparator = '.';
    char DateSeparator = '/';
    std::string ShortDateFormat = "M/d/yyyy";
};

FormatSettings& Formats();

// Fixed-point currency value: a signed count of ten-thousandths.
struct Currency {
    std::int64_t count;
};

// Shortest decimal form: no trailing zeros, no thousands separator, the
// process-wide decimal separator (2.39 gives "2.39", 2.4 "2.4", 2 "2").
std::string CurrToStr(Currency value);

// Decimal integer with optional leading blanks and sign; anything else fails
// with "'<text>' is not a valid integer value".
int StrToInt(const std::string& text);

}  // namespace fw
