#include "controls/ImageList.h"

namespace lb {

void ImageList::Add(const Bitmap& strip) {
    if (width_ <= 0 || height_ <= 0) return;
    const int added = strip.Width() / width_;
    const int oldWidth = Count() * width_;
    Bitmap grown(oldWidth + added * width_, height_);
    grown.Draw(strip_, 0, 0);
    grown.Draw(strip, oldWidth, 0);
    // A strip taller than the list keeps only its top rows.
    grown.SetSize(oldWidth + added * width_, height_);
    strip_ = std::move(grown);
}

void ImageList::Draw(Bitmap& target, int x, int y, int index) const {
    if (index < 0 || index >= Count()) return;
    for (int row = 0; row < height_; ++row)
        for (int col = 0; col < width_; ++col)
            target.SetPixel(x + col, y + row, strip_.Pixel(index * width_ + col, row));
}

}  // namespace lb
