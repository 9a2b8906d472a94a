#include "controls/LbGdiCanvas.h"

#include <map>
#include <memory>
#include <stdexcept>
#include <string>

namespace {

RECT ToRect(const TLbRect& r) { return RECT{r.left, r.top, r.right, r.bottom}; }

// A bitmap resource of the program's own module as plain pixels.
std::unique_ptr<TLbBitmap> LoadBitmapResource(const char* name) {
    fw::unique_hbitmap handle(static_cast<HBITMAP>(
        LoadImageA(GetModuleHandleA(nullptr), name, IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION)));
    if (!handle) return nullptr;
    BITMAP info = {};
    if (!GetObjectA(handle.get(), sizeof info, &info) || info.bmWidth <= 0 || info.bmHeight <= 0) return nullptr;
    BITMAPINFO format = {};
    format.bmiHeader.biSize = sizeof format.bmiHeader;
    format.bmiHeader.biWidth = info.bmWidth;
    format.bmiHeader.biHeight = -info.bmHeight;  // top-down
    format.bmiHeader.biPlanes = 1;
    format.bmiHeader.biBitCount = 32;
    format.bmiHeader.biCompression = BI_RGB;
    std::vector<DWORD> pixels(static_cast<size_t>(info.bmWidth) * info.bmHeight);
    fw::unique_hdc_window screen(nullptr);
    if (!GetDIBits(screen.get(), handle.get(), 0, info.bmHeight, pixels.data(), &format, DIB_RGB_COLORS))
        return nullptr;
    auto bitmap = std::make_unique<TLbBitmap>(info.bmWidth, info.bmHeight);
    for (int y = 0; y < info.bmHeight; ++y)
        for (int x = 0; x < info.bmWidth; ++x)
            bitmap->SetPixel(x, y, DibToColor(pixels[static_cast<size_t>(y) * info.bmWidth + x]));
    return bitmap;
}

}  // namespace

//--- Fonts

HFONT TLbGdiFontCache::Get(const fw::Font& font) {
    for (const Entry& entry : entries_)
        if (entry.font.SameFace(font)) return entry.handle.get();
    LOGFONTA log = {};
    log.lfHeight = font.height;
    log.lfWeight = font.bold ? FW_BOLD : FW_NORMAL;
    log.lfItalic = font.italic;
    log.lfUnderline = font.underline;
    log.lfStrikeOut = font.strikeOut;
    log.lfCharSet = static_cast<BYTE>(font.charset);
    log.lfOutPrecision = OUT_DEFAULT_PRECIS;
    log.lfClipPrecision = CLIP_DEFAULT_PRECIS;
    log.lfQuality = DEFAULT_QUALITY;
    log.lfPitchAndFamily = DEFAULT_PITCH;
    lstrcpynA(log.lfFaceName, font.name.c_str(), LF_FACESIZE);
    fw::unique_hfont handle(CreateFontIndirectA(&log));
    if (!handle) throw std::runtime_error("Cannot create font " + font.name);
    entries_.push_back(Entry{font, std::move(handle)});
    return entries_.back().handle.get();
}

//--- Canvas

TLbGdiCanvas::TLbGdiCanvas(HDC dc, TLbGdiFontCache& fonts) : dc_(dc), fonts_(fonts), savedState_(SaveDC(dc)) {
    SelectObject(dc_, GetStockObject(DC_PEN));
    SelectObject(dc_, GetStockObject(DC_BRUSH));
    SetDCPenColor(dc_, RGB(0, 0, 0));
    SetDCBrushColor(dc_, brushColor_);
    SetBkMode(dc_, OPAQUE);
    SetBkColor(dc_, brushColor_);
}

TLbGdiCanvas::~TLbGdiCanvas() { RestoreDC(dc_, savedState_); }

TColor TLbGdiCanvas::SystemColor(int index) const { return GetSysColor(index); }

void TLbGdiCanvas::SetPenColor(TColor color) { SetDCPenColor(dc_, Resolve(color)); }

void TLbGdiCanvas::SetPenStyle(TLbPenStyle style) {
    penStyle_ = style;
    SelectObject(dc_, GetStockObject(style == TLbPenStyle::Solid ? DC_PEN : NULL_PEN));
}

void TLbGdiCanvas::SetBrushColor(TColor color) {
    brushColor_ = Resolve(color);
    SetDCBrushColor(dc_, brushColor_);
    SetBrushStyle(TLbBrushStyle::Solid);
}

void TLbGdiCanvas::SetBrushStyle(TLbBrushStyle style) {
    brushStyle_ = style;
    SelectObject(dc_, GetStockObject(style == TLbBrushStyle::Solid ? DC_BRUSH : NULL_BRUSH));
    // Text takes its background from the brush.
    SetBkMode(dc_, style == TLbBrushStyle::Solid ? OPAQUE : TRANSPARENT);
    SetBkColor(dc_, brushColor_);
}

void TLbGdiCanvas::SetFont(const fw::Font& font) {
    SelectObject(dc_, fonts_.Get(font));
    SetTextColor(dc_, Resolve(font.color));
}

void TLbGdiCanvas::Rectangle(int left, int top, int right, int bottom) { ::Rectangle(dc_, left, top, right, bottom); }

void TLbGdiCanvas::RoundRect(int left, int top, int right, int bottom, int ellipseWidth, int ellipseHeight) {
    ::RoundRect(dc_, left, top, right, bottom, ellipseWidth, ellipseHeight);
}

void TLbGdiCanvas::MoveTo(int x, int y) { MoveToEx(dc_, x, y, nullptr); }

void TLbGdiCanvas::LineTo(int x, int y) { ::LineTo(dc_, x, y); }

void TLbGdiCanvas::FillRect(const TLbRect& rect) {
    if (brushStyle_ == TLbBrushStyle::Clear || rect.right <= rect.left || rect.bottom <= rect.top) return;
    RECT r = ToRect(rect);
    ::FillRect(dc_, &r, static_cast<HBRUSH>(GetStockObject(DC_BRUSH)));
}

int TLbGdiCanvas::DrawFormattedText(const std::string& text, TLbRect& rect, unsigned format) {
    RECT r = ToRect(rect);
    const int height = ::DrawTextA(dc_, text.c_str(), static_cast<int>(text.size()), &r, format);
    rect = TLbRect{r.left, r.top, r.right, r.bottom};
    return height;
}

int TLbGdiCanvas::TextWidth(const std::string& text) {
    SIZE size = {};
    GetTextExtentPoint32A(dc_, text.c_str(), static_cast<int>(text.size()), &size);
    return size.cx;
}

void TLbGdiCanvas::DrawTransparent(const TLbBitmap& bitmap, int x, int y, TColor transparent) {
    const int w = bitmap.Width(), h = bitmap.Height();
    if (w <= 0 || h <= 0) return;
    transparent &= 0x00FFFFFF;
    // Image with its transparent pixels black, and a monochrome mask that is
    // 1 (white) where the image is transparent: the destination is ANDed with
    // the mask, then ORed with the image.
    TLbDibSurface image;
    image.Resize(w, h);
    const int maskStride = ((w + 15) / 16) * 2;  // monochrome rows are WORD-aligned
    std::vector<BYTE> maskBits(static_cast<size_t>(maskStride) * h, 0);
    GdiFlush();
    for (int row = 0; row < h; ++row) {
        for (int col = 0; col < w; ++col) {
            const TColor pixel = bitmap.Pixel(col, row) & 0x00FFFFFF;
            const bool clear = pixel == transparent;
            image.Bits()[static_cast<size_t>(row) * w + col] = clear ? 0 : ColorToDib(pixel);
            if (clear) maskBits[static_cast<size_t>(row) * maskStride + col / 8] |= static_cast<BYTE>(0x80 >> (col % 8));
        }
    }
    fw::unique_hbitmap mask(CreateBitmap(w, h, 1, 1, maskBits.data()));
    fw::unique_hdc maskDc(CreateCompatibleDC(dc_));
    if (!mask || !maskDc) return;
    fw::unique_select selected(maskDc.get(), mask.get());
    const COLORREF oldText = ::SetTextColor(dc_, RGB(0, 0, 0));
    const COLORREF oldBack = ::SetBkColor(dc_, RGB(255, 255, 255));
    BitBlt(dc_, x, y, w, h, maskDc.get(), 0, 0, SRCAND);
    BitBlt(dc_, x, y, w, h, image.Dc(), 0, 0, SRCPAINT);
    ::SetTextColor(dc_, oldText);
    ::SetBkColor(dc_, oldBack);
}

const TLbBitmap* TLbGdiCanvas::ResourceBitmap(const char* name) {
    // Loaded once per process; only the GUI thread paints.
    static std::map<std::string, std::unique_ptr<TLbBitmap>> loaded;
    auto found = loaded.find(name);
    if (found == loaded.end()) found = loaded.emplace(name, LoadBitmapResource(name)).first;
    return found->second.get();
}

//--- DIB surface

void TLbDibSurface::Resize(int width, int height) {
    if (width == width_ && height == height_ && dc_) return;
    if (dc_ && original_) SelectObject(dc_.get(), original_);
    bitmap_.reset();
    bits_ = nullptr;
    width_ = width > 0 ? width : 1;
    height_ = height > 0 ? height : 1;
    if (!dc_) dc_.reset(CreateCompatibleDC(nullptr));
    if (!dc_) throw std::runtime_error("Cannot create a memory device context");
    BITMAPINFO format = {};
    format.bmiHeader.biSize = sizeof format.bmiHeader;
    format.bmiHeader.biWidth = width_;
    format.bmiHeader.biHeight = -height_;
    format.bmiHeader.biPlanes = 1;
    format.bmiHeader.biBitCount = 32;
    format.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    bitmap_.reset(CreateDIBSection(dc_.get(), &format, DIB_RGB_COLORS, &bits, nullptr, 0));
    if (!bitmap_) throw std::runtime_error("Cannot create a bitmap of the button's size");
    bits_ = static_cast<DWORD*>(bits);
    original_ = SelectObject(dc_.get(), bitmap_.get());
}
