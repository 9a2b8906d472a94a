#include "controls/DibSurface.h"

#include "framework/Error.h"

namespace lb {

void DibSurface::Resize(int width, int height) {
    if (width == width_ && height == height_ && dc_) return;
    if (dc_ && original_) SelectObject(dc_.get(), original_);
    bitmap_.reset();
    bits_ = nullptr;
    width_ = width > 0 ? width : 1;
    height_ = height > 0 ? height : 1;
    if (!dc_) dc_.reset(CreateCompatibleDC(nullptr));
    if (!dc_) throw fw::Error("Cannot create a memory device context");
    BITMAPINFO format = {};
    format.bmiHeader.biSize = sizeof format.bmiHeader;
    format.bmiHeader.biWidth = width_;
    format.bmiHeader.biHeight = -height_;
    format.bmiHeader.biPlanes = 1;
    format.bmiHeader.biBitCount = 32;
    format.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    bitmap_.reset(CreateDIBSection(dc_.get(), &format, DIB_RGB_COLORS, &bits, nullptr, 0));
    if (!bitmap_) throw fw::Error("Cannot create a bitmap of the button's size");
    bits_ = static_cast<DWORD*>(bits);
    original_ = SelectObject(dc_.get(), bitmap_.get());
}

}  // namespace lb
