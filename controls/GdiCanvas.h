// The face painter's canvas over a GDI device context. Pens and brushes are
// the DC pen and DC brush, so colour changes create no GDI objects; fonts come
// from a cache the caller keeps between paints.
#pragma once

#include <windows.h>

#include "controls/Canvas.h"
#include "controls/FontCache.h"

namespace lb {

class GdiCanvas final : public Canvas {
public:
    GdiCanvas(HDC dc, FontCache& fonts);
    ~GdiCanvas() override;
    GdiCanvas(const GdiCanvas&) = delete;
    GdiCanvas& operator=(const GdiCanvas&) = delete;

    TColor SystemColor(int index) const override;
    void SetPenColor(TColor color) override;
    void SetPenStyle(Pen style) override;
    Pen PenStyle() const override { return penStyle_; }
    void SetBrushColor(TColor color) override;
    void SetBrushStyle(Brush style) override;
    void SetFont(const ButtonFont& font) override;
    void Rectangle(int left, int top, int right, int bottom) override;
    void RoundRect(int left, int top, int right, int bottom, int ellipseWidth, int ellipseHeight) override;
    void MoveTo(int x, int y) override;
    void LineTo(int x, int y) override;
    void FillRect(const Rect& rect) override;
    int DrawFormattedText(const std::string& text, Rect& rect, unsigned format) override;
    int TextWidth(const std::string& text) override;
    void DrawTransparent(const Bitmap& bitmap, int x, int y, TColor transparent) override;
    const Bitmap* ResourceBitmap(const char* name) override;

private:
    COLORREF Resolve(TColor color) const { return ColorToRGB(color, *this); }

    HDC dc_;
    FontCache& fonts_;
    int savedState_;
    Pen penStyle_ = Pen::Solid;
    Brush brushStyle_ = Brush::Solid;
    COLORREF brushColor_ = RGB(255, 255, 255);
};

}  // namespace lb
