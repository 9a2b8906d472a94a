// A bitmap held as plain pixels (0x00BBGGRR, rows top-down). Glyph strips,
// image lists and the drop-down arrow live in it, so cells can be cut and
// checked without a device context.
#pragma once

#include <vector>

#include "controls/Color.h"

namespace lb {

class Bitmap {
public:
    Bitmap() = default;
    Bitmap(int width, int height, TColor fill = clBlack);

    int Width() const { return width_; }
    int Height() const { return height_; }
    bool Empty() const { return width_ <= 0 || height_ <= 0; }

    TColor Pixel(int x, int y) const;           // black outside the bitmap
    void SetPixel(int x, int y, TColor color);  // ignored outside the bitmap
    void Fill(TColor color);
    void FillRect(int left, int top, int right, int bottom, TColor color);
    // Changes the size, keeping the pixels that still fit at their places.
    void SetSize(int width, int height);
    // Copies source with its top-left corner at (x, y), clipped to this bitmap.
    void Draw(const Bitmap& source, int x, int y);

    const std::vector<TColor>& Pixels() const { return pixels_; }
    friend bool operator==(const Bitmap& a, const Bitmap& b) {
        return a.width_ == b.width_ && a.height_ == b.height_ && a.pixels_ == b.pixels_;
    }

private:
    int width_ = 0;
    int height_ = 0;
    std::vector<TColor> pixels_;
};

}  // namespace lb
