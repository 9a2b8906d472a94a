// Colour values of the button control: 0x00BBGGRR, where a high byte of 0xFF
// names a system colour (its low byte is the system colour index) that must be
// resolved to RGB before any arithmetic.
#pragma once

#include <cstdint>

namespace lb {

using TColor = std::uint32_t;

constexpr TColor kNoColor = 0x1FFFFFFF;   // "no colour" for the hot-track and pressed colours
constexpr TColor kKeyColor = 0x00FF00FF;  // marks the transparent pixels of a face
constexpr TColor clBlack = 0x00000000;
constexpr TColor clWhite = 0x00FFFFFF;
constexpr TColor clGray = 0x00808080;
constexpr TColor clYellow = 0x0000FFFF;
constexpr TColor clOlive = 0x00008080;
constexpr TColor clBtnFace = 0xFF00000F;
constexpr TColor clWindowText = 0xFF000008;
constexpr TColor clWindowFrame = 0xFF000015;

// Where system colours come from: GetSysColor on Windows, a table in tests.
class SystemColors {
public:
    virtual TColor SystemColor(int index) const = 0;

protected:
    ~SystemColors() = default;
};

constexpr bool IsSystemColor(TColor color) { return (color >> 24) == 0xFF; }
constexpr int RedOf(TColor color) { return static_cast<int>(color & 0xFF); }
constexpr int GreenOf(TColor color) { return static_cast<int>((color >> 8) & 0xFF); }
constexpr int BlueOf(TColor color) { return static_cast<int>((color >> 16) & 0xFF); }
constexpr TColor MakeColor(int red, int green, int blue) {
    return static_cast<TColor>(red) | (static_cast<TColor>(green) << 8) | (static_cast<TColor>(blue) << 16);
}

// The RGB value of a colour, system colours resolved.
TColor ColorToRGB(TColor color, const SystemColors& system);

// Nearest integer, a half going to the even neighbour.
int RoundHalfToEven(double value);

}  // namespace lb
