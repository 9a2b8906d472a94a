#include "controls/GdiCanvas.h"

#include <memory>
#include <string>
#include <vector>

#include "controls/DibSurface.h"
#include "framework/Utf16.h"
#include "framework/Win32Error.h"

namespace lb {

namespace {

RECT ToRect(const Rect& r) { return RECT{r.left, r.top, r.right, r.bottom}; }

// A bitmap resource of the program's own module as plain pixels; null when
// the module has no bitmap of that name.
std::unique_ptr<Bitmap> LoadBitmapResource(const char* name) {
    fw::unique_hbitmap handle(static_cast<HBITMAP>(
        LoadImageW(GetModuleHandleW(nullptr), fw::WideText(name).c_str(), IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION)));
    if (!handle) {
        const DWORD code = GetLastError();
        if (code == ERROR_RESOURCE_NAME_NOT_FOUND || code == ERROR_RESOURCE_TYPE_NOT_FOUND) return nullptr;
        fw::ThrowLastError("Cannot load a bitmap resource");  // the last error is still code
    }
    BITMAP info = {};
    if (!GetObjectW(handle.get(), sizeof info, &info)) fw::ThrowGdiFailure("Cannot read a bitmap resource");
    if (info.bmWidth <= 0 || info.bmHeight <= 0) return nullptr;
    BITMAPINFO format = {};
    format.bmiHeader.biSize = sizeof format.bmiHeader;
    format.bmiHeader.biWidth = info.bmWidth;
    format.bmiHeader.biHeight = -info.bmHeight;  // top-down
    format.bmiHeader.biPlanes = 1;
    format.bmiHeader.biBitCount = 32;
    format.bmiHeader.biCompression = BI_RGB;
    std::vector<DWORD> pixels(static_cast<size_t>(info.bmWidth) * info.bmHeight);
    fw::window_dc screen(nullptr);
    if (!screen.get()) fw::ThrowGdiFailure("Cannot reach the screen's device context");
    // GetDIBits sets the last error when it fails.
    fw::ThrowLastErrorIf(
        !GetDIBits(screen.get(), handle.get(), 0, info.bmHeight, pixels.data(), &format, DIB_RGB_COLORS),
        "Cannot read the pixels of a bitmap resource");
    auto bitmap = std::make_unique<Bitmap>(info.bmWidth, info.bmHeight);
    for (int y = 0; y < info.bmHeight; ++y)
        for (int x = 0; x < info.bmWidth; ++x)
            bitmap->SetPixel(x, y, DibToColor(pixels[static_cast<size_t>(y) * info.bmWidth + x]));
    return bitmap;
}

}  // namespace

//--- Canvas

GdiCanvas::GdiCanvas(HDC dc, FontCache& fonts) : dc_(dc), fonts_(fonts), savedState_(SaveDC(dc)) {
    SelectObject(dc_, GetStockObject(DC_PEN));
    SelectObject(dc_, GetStockObject(DC_BRUSH));
    SetDCPenColor(dc_, RGB(0, 0, 0));
    SetDCBrushColor(dc_, brushColor_);
    SetBkMode(dc_, OPAQUE);
    SetBkColor(dc_, brushColor_);
}

GdiCanvas::~GdiCanvas() { RestoreDC(dc_, savedState_); }

TColor GdiCanvas::SystemColor(int index) const { return GetSysColor(index); }

void GdiCanvas::SetPenColor(TColor color) { SetDCPenColor(dc_, Resolve(color)); }

void GdiCanvas::SetPenStyle(Pen style) {
    penStyle_ = style;
    SelectObject(dc_, GetStockObject(style == Pen::Solid ? DC_PEN : NULL_PEN));
}

void GdiCanvas::SetBrushColor(TColor color) {
    brushColor_ = Resolve(color);
    SetDCBrushColor(dc_, brushColor_);
    SetBrushStyle(Brush::Solid);
}

void GdiCanvas::SetBrushStyle(Brush style) {
    brushStyle_ = style;
    SelectObject(dc_, GetStockObject(style == Brush::Solid ? DC_BRUSH : NULL_BRUSH));
    // Text takes its background from the brush.
    SetBkMode(dc_, style == Brush::Solid ? OPAQUE : TRANSPARENT);
    SetBkColor(dc_, brushColor_);
}

void GdiCanvas::SetFont(const ButtonFont& font) {
    SelectObject(dc_, fonts_.Get(font));
    SetTextColor(dc_, Resolve(font.color));
}

void GdiCanvas::Rectangle(int left, int top, int right, int bottom) { ::Rectangle(dc_, left, top, right, bottom); }

void GdiCanvas::RoundRect(int left, int top, int right, int bottom, int ellipseWidth, int ellipseHeight) {
    ::RoundRect(dc_, left, top, right, bottom, ellipseWidth, ellipseHeight);
}

void GdiCanvas::MoveTo(int x, int y) { MoveToEx(dc_, x, y, nullptr); }

void GdiCanvas::LineTo(int x, int y) { ::LineTo(dc_, x, y); }

void GdiCanvas::FillRect(const Rect& rect) {
    if (brushStyle_ == Brush::Clear || rect.right <= rect.left || rect.bottom <= rect.top) return;
    RECT r = ToRect(rect);
    ::FillRect(dc_, &r, static_cast<HBRUSH>(GetStockObject(DC_BRUSH)));
}

int GdiCanvas::DrawFormattedText(const std::string& text, Rect& rect, unsigned format) {
    RECT r = ToRect(rect);
    const fw::WideText wide(text);
    const int height = ::DrawTextW(dc_, wide.c_str(), static_cast<int>(wide.size()), &r, format);
    rect = Rect{r.left, r.top, r.right, r.bottom};
    return height;
}

int GdiCanvas::TextWidth(const std::string& text) {
    SIZE size = {};
    const fw::WideText wide(text);
    GetTextExtentPoint32W(dc_, wide.c_str(), static_cast<int>(wide.size()), &size);
    return size.cx;
}

void GdiCanvas::DrawTransparent(const Bitmap& bitmap, int x, int y, TColor transparent) {
    const int w = bitmap.Width(), h = bitmap.Height();
    if (w <= 0 || h <= 0) return;
    transparent &= 0x00FFFFFF;
    // Image with its transparent pixels black, and a monochrome mask that is
    // 1 (white) where the image is transparent: the destination is ANDed with
    // the mask, then ORed with the image.
    DibSurface image;
    image.Resize(w, h);
    const int maskStride = ((w + 15) / 16) * 2;  // monochrome rows are WORD-aligned
    std::vector<BYTE> maskBits(static_cast<size_t>(maskStride) * h, 0);
    GdiFlush();
    for (int row = 0; row < h; ++row) {
        for (int col = 0; col < w; ++col) {
            const TColor pixel = bitmap.Pixel(col, row) & 0x00FFFFFF;
            const bool clear = pixel == transparent;
            image.Bits()[static_cast<size_t>(row) * w + col] = clear ? 0 : ColorToDib(pixel);
            if (clear)
                maskBits[static_cast<size_t>(row) * maskStride + col / 8] |= static_cast<BYTE>(0x80 >> (col % 8));
        }
    }
    // CreateBitmap sets the last error when it fails; CreateCompatibleDC doesn't.
    fw::unique_hbitmap mask(fw::ThrowLastErrorIfNull(CreateBitmap(w, h, 1, 1, maskBits.data()),
                                                     "Cannot create the mask of a transparent bitmap"));
    fw::unique_hdc maskDc(CreateCompatibleDC(dc_));
    if (!maskDc) fw::ThrowGdiFailure("Cannot create a memory device context");
    fw::unique_select selected(maskDc.get(), mask.get());
    const COLORREF oldText = ::SetTextColor(dc_, RGB(0, 0, 0));
    const COLORREF oldBack = ::SetBkColor(dc_, RGB(255, 255, 255));
    BitBlt(dc_, x, y, w, h, maskDc.get(), 0, 0, SRCAND);
    BitBlt(dc_, x, y, w, h, image.Dc(), 0, 0, SRCPAINT);
    ::SetTextColor(dc_, oldText);
    ::SetBkColor(dc_, oldBack);
}

const Bitmap* GdiCanvas::ResourceBitmap(const char* name) {
    // Loaded once per process, in a short list (the buttons use one bitmap);
    // only the GUI thread paints.
    struct Loaded {
        std::string name;
        std::unique_ptr<Bitmap> bitmap;
        std::unique_ptr<Loaded> next;
    };
    static std::unique_ptr<Loaded> loaded;
    for (const Loaded* entry = loaded.get(); entry; entry = entry->next.get())
        if (entry->name == name) return entry->bitmap.get();
    loaded.reset(new Loaded{name, LoadBitmapResource(name), std::move(loaded)});
    return loaded->bitmap.get();
}

}  // namespace lb
