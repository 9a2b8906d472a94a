#include "controls/DibSurface.h"

#include "framework/Win32Error.h"

namespace lb {

void DibSurface::Resize(int width, int height) {
    width = width > 0 ? width : 1;
    height = height > 0 ? height : 1;
    if (width == width_ && height == height_ && bitmap_) return;
    if (dc_ && original_) SelectObject(dc_.get(), original_);
    original_ = nullptr;
    bitmap_.reset();
    // No size until a bitmap of the new one is there: a failure below leaves
    // an empty surface that the next call builds again, never a size
    // without pixels behind it.
    bits_ = nullptr;
    width_ = height_ = 0;
    if (!dc_) dc_.reset(CreateCompatibleDC(nullptr));
    if (!dc_) fw::ThrowGdiFailure("Cannot create a memory device context");
    BITMAPINFO format = {};
    format.bmiHeader.biSize = sizeof format.bmiHeader;
    format.bmiHeader.biWidth = width;
    format.bmiHeader.biHeight = -height;
    format.bmiHeader.biPlanes = 1;
    format.bmiHeader.biBitCount = 32;
    format.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    fw::unique_hbitmap bitmap(CreateDIBSection(dc_.get(), &format, DIB_RGB_COLORS, &bits, nullptr, 0));
    // CreateDIBSection sets the last error when it fails.
    fw::ThrowLastErrorIf(!bitmap || !bits, "Cannot create a bitmap of the button's size");
    original_ = SelectObject(dc_.get(), bitmap.get());
    if (!original_) fw::ThrowGdiFailure("Cannot select the button's bitmap");
    bitmap_ = std::move(bitmap);
    bits_ = static_cast<DWORD*>(bits);
    width_ = width;
    height_ = height;
}

}  // namespace lb
