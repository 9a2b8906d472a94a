// A 32-bit top-down DIB section selected into its own memory DC, and the
// conversions between its pixels and colours.
#pragma once

#include <windows.h>

#include "controls/Color.h"
#include "framework/Handles.h"

namespace lb {

// Its pixels are readable and writable in place (after GdiFlush).
class DibSurface {
public:
    DibSurface() = default;
    // Contents undefined afterwards. Fails with fw::Error when there is no
    // bitmap of that size, leaving the surface empty (0 × 0, no pixels).
    void Resize(int width, int height);
    HDC Dc() const { return dc_.get(); }
    int Width() const { return width_; }
    int Height() const { return height_; }
    // 0x00RRGGBB words, rows top-down.
    DWORD* Bits() const { return bits_; }

private:
    // Declared before the DC so the DC goes first and frees the bitmap's selection.
    fw::unique_hbitmap bitmap_;
    fw::unique_hdc dc_;
    HGDIOBJ original_ = nullptr;
    DWORD* bits_ = nullptr;
    int width_ = 0;
    int height_ = 0;
};

// Converts between a DIB pixel (0x00RRGGBB) and a colour (0x00BBGGRR).
inline TColor DibToColor(DWORD pixel) {
    return MakeColor(static_cast<int>((pixel >> 16) & 0xFF), static_cast<int>((pixel >> 8) & 0xFF),
                     static_cast<int>(pixel & 0xFF));
}
inline DWORD ColorToDib(TColor color) {
    return (static_cast<DWORD>(RedOf(color)) << 16) | (static_cast<DWORD>(GreenOf(color)) << 8) |
           static_cast<DWORD>(BlueOf(color));
}

}  // namespace lb
