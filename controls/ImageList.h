// A list of equally sized images kept side by side in one bitmap strip.
#pragma once

#include "controls/Bitmap.h"

namespace lb {

class ImageList {
public:
    ImageList(int width, int height) : width_(width), height_(height) {}

    int Width() const { return width_; }
    int Height() const { return height_; }
    int Count() const { return width_ > 0 ? strip_.Width() / width_ : 0; }

    // Appends the images of a strip of cells of this list's size.
    void Add(const Bitmap& strip);
    // Copies image index into target with its top-left corner at (x, y).
    void Draw(Bitmap& target, int x, int y, int index) const;

private:
    int width_;
    int height_;
    Bitmap strip_;
};

}  // namespace lb
