// A canvas that records what the face painter asks of it, and fills solid
// rectangles into a pixel raster so bands and rows can be checked. Text is
// measured as 6 pixels per character and 13 pixels per line.
#pragma once

#include <algorithm>
#include <string>
#include <vector>

#include "controls/Canvas.h"

using namespace lb;

struct RecordedOp {
    enum Kind { Rectangle, RoundRect, MoveTo, LineTo, FillRect, DrawText, DrawTransparent };
    Kind kind = Rectangle;
    Rect rect;
    TColor pen = 0;
    Pen penStyle = Pen::Solid;
    TColor brush = 0;
    Brush brushStyle = Brush::Solid;
    ButtonFont font;
    std::string text;
    unsigned format = 0;
    Bitmap bitmap;
    TColor transparent = 0;
    int ellipseWidth = 0, ellipseHeight = 0;  // of a RoundRect
};

class RecordingCanvas : public Canvas {
public:
    static constexpr int kCharWidth = 6;
    static constexpr int kLineHeight = 13;

    explicit RecordingCanvas(int width = 0, int height = 0) : raster(width, height, kKeyColor) {}

    std::vector<RecordedOp> ops;
    Bitmap raster;
    Bitmap arrow = MakeArrow();
    bool hasArrow = true;

    // Drawn text and glyphs, in drawing order (measuring calls left out).
    std::vector<RecordedOp> Texts() const {
        std::vector<RecordedOp> found;
        for (const RecordedOp& op : ops)
            if (op.kind == RecordedOp::DrawText && !(op.format & dt::CalcRect)) found.push_back(op);
        return found;
    }
    std::vector<RecordedOp> Of(RecordedOp::Kind kind) const {
        std::vector<RecordedOp> found;
        for (const RecordedOp& op : ops)
            if (op.kind == kind) found.push_back(op);
        return found;
    }

    TColor SystemColor(int index) const override {
        switch (index) {
        case 8: return 0x00000000;   // window text
        case 15: return 0x00C0C0C0;  // button face
        case 21: return 0x00404040;  // dark frame
        }
        return 0x00123456;
    }
    void SetPenColor(TColor color) override { pen_ = ColorToRGB(color, *this); }
    void SetPenStyle(Pen style) override { penStyle_ = style; }
    Pen PenStyle() const override { return penStyle_; }
    void SetBrushColor(TColor color) override {
        brush_ = ColorToRGB(color, *this);
        brushStyle_ = Brush::Solid;
    }
    void SetBrushStyle(Brush style) override { brushStyle_ = style; }
    void SetFont(const ButtonFont& font) override { font_ = font; }
    void Rectangle(int left, int top, int right, int bottom) override {
        Add(RecordedOp::Rectangle, {left, top, right, bottom});
    }
    void RoundRect(int left, int top, int right, int bottom, int ellipseWidth, int ellipseHeight) override {
        RecordedOp& op = Add(RecordedOp::RoundRect, {left, top, right, bottom});
        op.ellipseWidth = ellipseWidth;
        op.ellipseHeight = ellipseHeight;
    }
    void MoveTo(int x, int y) override { Add(RecordedOp::MoveTo, {x, y, x, y}); }
    void LineTo(int x, int y) override { Add(RecordedOp::LineTo, {x, y, x, y}); }
    void FillRect(const Rect& rect) override {
        Add(RecordedOp::FillRect, rect);
        raster.FillRect(rect.left, rect.top, rect.right, rect.bottom, brush_);
    }
    int DrawFormattedText(const std::string& text, Rect& rect, unsigned format) override {
        RecordedOp& op = Add(RecordedOp::DrawText, rect);
        op.text = text;
        op.format = format;
        if (!(format & dt::CalcRect)) return kLineHeight;
        // Break into lines of whole characters that fit the box.
        const int perLine = (format & dt::WordBreak) && rect.right - rect.left >= kCharWidth
                                ? (rect.right - rect.left) / kCharWidth
                                : static_cast<int>(text.size());
        const int length = static_cast<int>(text.size());
        const int lines = (perLine > 0 && length > perLine) ? (length + perLine - 1) / perLine : 1;
        rect.right = rect.left + std::min(length, std::max(perLine, 0)) * kCharWidth;
        rect.bottom = rect.top + lines * kLineHeight;
        return lines * kLineHeight;
    }
    int TextWidth(const std::string& text) override { return static_cast<int>(text.size()) * kCharWidth; }
    void DrawTransparent(const Bitmap& bitmap, int x, int y, TColor transparent) override {
        RecordedOp& op = Add(RecordedOp::DrawTransparent, {x, y, x + bitmap.Width(), y + bitmap.Height()});
        op.bitmap = bitmap;
        op.transparent = transparent;
    }
    const Bitmap* ResourceBitmap(const char* name) override {
        return hasArrow && std::string(name) == "LBARROW" ? &arrow : nullptr;
    }

private:
    static Bitmap MakeArrow() {
        Bitmap bitmap(5, 3, clWhite);
        bitmap.FillRect(0, 0, 5, 1, clBlack);
        bitmap.FillRect(1, 1, 4, 2, clBlack);
        bitmap.SetPixel(2, 2, clBlack);
        return bitmap;
    }
    RecordedOp& Add(RecordedOp::Kind kind, Rect rect) {
        RecordedOp op;
        op.kind = kind;
        op.rect = rect;
        op.pen = pen_;
        op.penStyle = penStyle_;
        op.brush = brush_;
        op.brushStyle = brushStyle_;
        op.font = font_;
        ops.push_back(op);
        return ops.back();
    }
    TColor pen_ = clBlack;
    Pen penStyle_ = Pen::Solid;
    TColor brush_ = clWhite;
    Brush brushStyle_ = Brush::Solid;
    ButtonFont font_;
};
