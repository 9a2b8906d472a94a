#include "controls/Bitmap.h"

#include <algorithm>
#include <cstddef>

namespace lb {

namespace {
int NonNegative(int value) { return value < 0 ? 0 : value; }
}  // namespace

Bitmap::Bitmap(int width, int height, TColor fill)
    : width_(NonNegative(width)),
      height_(NonNegative(height)),
      pixels_(static_cast<std::size_t>(width_) * static_cast<std::size_t>(height_), fill) {}

TColor Bitmap::Pixel(int x, int y) const {
    if (x < 0 || y < 0 || x >= width_ || y >= height_) return clBlack;
    return pixels_[static_cast<std::size_t>(y) * width_ + x];
}

void Bitmap::SetPixel(int x, int y, TColor color) {
    if (x < 0 || y < 0 || x >= width_ || y >= height_) return;
    pixels_[static_cast<std::size_t>(y) * width_ + x] = color;
}

void Bitmap::Fill(TColor color) { std::fill(pixels_.begin(), pixels_.end(), color); }

void Bitmap::FillRect(int left, int top, int right, int bottom, TColor color) {
    for (int y = std::max(top, 0); y < std::min(bottom, height_); ++y)
        for (int x = std::max(left, 0); x < std::min(right, width_); ++x)
            pixels_[static_cast<std::size_t>(y) * width_ + x] = color;
}

void Bitmap::SetSize(int width, int height) {
    Bitmap resized(width, height);
    resized.Draw(*this, 0, 0);
    *this = std::move(resized);
}

void Bitmap::Draw(const Bitmap& source, int x, int y) {
    for (int sy = 0; sy < source.height_; ++sy)
        for (int sx = 0; sx < source.width_; ++sx) SetPixel(x + sx, y + sy, source.Pixel(sx, sy));
}

}  // namespace lb
