// The face painter's canvas over a GDI device context. Pens and brushes are
// the DC pen and DC brush, so colour changes create no GDI objects; fonts come
// from a cache the caller keeps between paints.
#pragma once

#include <windows.h>

#include <vector>

#include "controls/LbCanvas.h"
#include "framework/Handles.h"

// HFONTs for fw::Font values, created on first use and kept.
class TLbGdiFontCache {
public:
    HFONT Get(const fw::Font& font);

private:
    struct Entry {
        fw::Font font;
        fw::unique_hfont handle;
    };
    std::vector<Entry> entries_;
};

class TLbGdiCanvas final : public ILbCanvas {
public:
    TLbGdiCanvas(HDC dc, TLbGdiFontCache& fonts);
    ~TLbGdiCanvas() override;
    TLbGdiCanvas(const TLbGdiCanvas&) = delete;
    TLbGdiCanvas& operator=(const TLbGdiCanvas&) = delete;

    TColor SystemColor(int index) const override;
    void SetPenColor(TColor color) override;
    void SetPenStyle(TLbPenStyle style) override;
    TLbPenStyle PenStyle() const override { return penStyle_; }
    void SetBrushColor(TColor color) override;
    void SetBrushStyle(TLbBrushStyle style) override;
    void SetFont(const fw::Font& font) override;
    void Rectangle(int left, int top, int right, int bottom) override;
    void RoundRect(int left, int top, int right, int bottom, int ellipseWidth, int ellipseHeight) override;
    void MoveTo(int x, int y) override;
    void LineTo(int x, int y) override;
    void FillRect(const TLbRect& rect) override;
    int DrawFormattedText(const std::string& text, TLbRect& rect, unsigned format) override;
    int TextWidth(const std::string& text) override;
    void DrawTransparent(const TLbBitmap& bitmap, int x, int y, TColor transparent) override;
    const TLbBitmap* ResourceBitmap(const char* name) override;

private:
    COLORREF Resolve(TColor color) const { return ColorToRGB(color, *this); }

    HDC dc_;
    TLbGdiFontCache& fonts_;
    int savedState_;
    TLbPenStyle penStyle_ = TLbPenStyle::Solid;
    TLbBrushStyle brushStyle_ = TLbBrushStyle::Solid;
    COLORREF brushColor_ = RGB(255, 255, 255);
};

// A 32-bit top-down DIB section selected into its own memory DC; its pixels
// are readable and writable in place (after GdiFlush).
class TLbDibSurface {
public:
    TLbDibSurface() = default;
    void Resize(int width, int height);  // contents undefined afterwards
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
