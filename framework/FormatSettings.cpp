#include "framework/FormatSettings.h"

#include <limits>

#include "framework/Error.h"

namespace fw {

FormatSettings& Formats() {
    static FormatSettings settings;
    return settings;
}

std::string CurrToStr(Currency value) {
    const bool negative = value.count < 0;
    // Work in unsigned so the most negative count doesn't overflow.
    const std::uint64_t magnitude =
        negative ? 0 - static_cast<std::uint64_t>(value.count) : static_cast<std::uint64_t>(value.count);
    std::string text = (negative ? "-" : "") + std::to_string(magnitude / 10000);
    std::uint64_t fraction = magnitude % 10000;
    if (fraction != 0) {
        std::string digits = std::to_string(fraction);
        digits.insert(0, 4 - digits.size(), '0');
        digits.erase(digits.find_last_not_of('0') + 1);
        text += Formats().DecimalSeparator;
        text += digits;
    }
    return text;
}

int StrToInt(const std::string& text) {
    auto fail = [&text]() { return Error(FormatMessageText("'%s' is not a valid integer value", {text})); };
    std::size_t i = 0;
    while (i < text.size() && text[i] == ' ') ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';
    if (i == text.size()) throw fail();
    long long value = 0;
    for (; i < text.size(); ++i) {
        if (text[i] < '0' || text[i] > '9') throw fail();
        value = value * 10 + (text[i] - '0');
        if (value > static_cast<long long>(std::numeric_limits<int>::max()) + 1) throw fail();
    }
    if (negative) value = -value;
    if (value > std::numeric_limits<int>::max()) throw fail();
    return static_cast<int>(value);
}

}  // namespace fw
