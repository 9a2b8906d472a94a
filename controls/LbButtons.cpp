#include "controls/LbButtons.h"

#include <algorithm>

namespace {

constexpr int kGradientSteps = 31;  // 32 bands, the last one in the end colour
constexpr const char kArrowResource[] = "LBARROW";

int ClampChannel(int value) { return std::min(255, std::max(0, value)); }

unsigned TextFormatFor(TAlignment alignment) {
    switch (alignment) {
    case taLeftJustify: return lbdt::WordBreak;
    case taRightJustify: return lbdt::WordBreak | lbdt::Right;
    case taCenter: return lbdt::WordBreak | lbdt::Center;
    }
    return lbdt::SingleLine | lbdt::VCenter | lbdt::Center;
}

// The caption as it will be drawn in a text box of the given width.
struct FittedCaption {
    std::string text;
    int boxWidth = 0;
    int width = 0;
    int height = 0;
};

FittedCaption FitCaption(ILbCanvas& canvas, const std::string& caption, int boxWidth, bool wordWrap) {
    FittedCaption fitted;
    fitted.text = caption;
    fitted.boxWidth = std::max(boxWidth, 0);
    // Without word wrap the caption is one line, so it loses characters from
    // its end until it fits; with word wrap the text box breaks it instead.
    if (!wordWrap)
        while (!fitted.text.empty() && canvas.TextWidth(fitted.text) > fitted.boxWidth) fitted.text.pop_back();
    TLbRect extent{0, 0, fitted.boxWidth, 0};
    canvas.DrawFormattedText(fitted.text, extent, lbdt::CalcRect | lbdt::WordBreak);
    fitted.width = extent.right;
    fitted.height = extent.bottom;
    return fitted;
}

int GlyphCell(bool enabled, bool down, bool mouseInside, int glyphCount) {
    if (!enabled) return 1;
    if (down && glyphCount > 2) return 2;
    if (mouseInside && glyphCount > 3) return 3;
    return 0;
}

TColor FaceColor(const TLbButtonFace& face, bool down, const ILbSystemColors& system) {
    TColor color = ColorToRGB(face.color, system);
    if (face.enabled && face.hotColor != clLbNoColor)
        color = BlendFaceColor(face.color, face.hotColor, face.fadeLevel, system);
    if (down && face.downColor != clLbNoColor) color = face.downColor;
    return color;
}

void DrawBackground(ILbCanvas& canvas, const TLbButtonFace& face, TColor faceColor, int press) {
    const int w = face.width, h = face.height;
    if (face.style == bsShape) {
        canvas.SetBrushColor(clLbKeyColor);
        canvas.Rectangle(-1, -1, w + 1, h + 1);
        return;
    }
    if (face.transparent) return;
    canvas.SetBrushColor(faceColor);
    switch (face.style) {
    case bsModern:
        FillVerticalGradient(canvas, face.lightColor, faceColor, 2, 2, w - 2, h / 4 + press);
        FillVerticalGradient(canvas, faceColor, face.lightColor, 2, h / 4 + press, w - 2, h - 1);
        break;
    case bsQuicken: break;
    default:
        // The outline falls outside the face, so this only fills it.
        canvas.Rectangle(-1, -1, w + 1, h + 1);
        break;
    }
}

void DrawFrame(ILbCanvas& canvas, const TLbButtonFace& face, TColor faceColor, bool down) {
    const int w = face.width, h = face.height;
    const bool raisedFrame =
        (face.enabled && (!face.flat || face.mouseInside || down)) || (!face.enabled && !face.flat);
    switch (face.style) {
    case bsModern:
        canvas.SetPenColor(down ? face.shadowColor : faceColor);
        canvas.Rectangle(1, 1, w - 1, h - 1);
        canvas.SetPenColor(face.shadowColor);
        canvas.RoundRect(0, 0, w, h, 6, 6);
        break;
    case bsQuicken:
        canvas.SetPenStyle(TLbPenStyle::Clear);
        canvas.SetBrushColor(faceColor);
        canvas.RoundRect(0, 1, w, h, 4, 4);
        canvas.SetBrushStyle(TLbBrushStyle::Clear);
        canvas.SetPenStyle(TLbPenStyle::Solid);
        canvas.SetPenColor(face.shadowColor);
        canvas.MoveTo(4, 0);
        canvas.LineTo(w - 5, 0);
        canvas.MoveTo(4, h - 1);
        canvas.LineTo(w - 5, h - 1);
        break;
    case bsOld:
        if (!raisedFrame) break;
        canvas.SetPenColor(face.shadowColor);
        if (down) {
            canvas.MoveTo(1, h - 3);
            canvas.LineTo(1, 1);
            canvas.LineTo(w - 2, 1);
        } else {
            canvas.MoveTo(w - 2, 0);
            canvas.LineTo(w - 2, h - 2);
            canvas.LineTo(0, h - 2);
        }
        canvas.SetPenColor(down ? clWindowFrame : face.lightColor);
        canvas.MoveTo(0, h - 1);
        canvas.LineTo(0, 0);
        canvas.LineTo(w - 1, 0);
        canvas.SetPenColor(down ? face.lightColor : clWindowFrame);
        canvas.LineTo(w - 1, h - 1);
        canvas.LineTo(-1, h - 1);
        break;
    case bsShape: break;
    default:  // bsNormal, bsEncarta
        if (!raisedFrame) break;
        canvas.SetPenColor(down ? face.shadowColor : face.lightColor);
        canvas.MoveTo(0, h - 1);
        canvas.LineTo(0, 0);
        canvas.LineTo(w - 1, 0);
        canvas.SetPenColor(down ? face.lightColor : face.shadowColor);
        canvas.LineTo(w - 1, h - 1);
        canvas.LineTo(0, h - 1);
        break;
    }
}

void DrawArrow(ILbCanvas& canvas, int width, int height) {
    const TLbBitmap* arrow = canvas.ResourceBitmap(kArrowResource);
    if (!arrow || arrow->Empty()) return;
    canvas.DrawTransparent(*arrow, width - 11, height / 2 - 1, arrow->Pixel(0, arrow->Height() - 1));
}

}  // namespace

TColor BlendFaceColor(TColor color, TColor hotColor, int fadeLevel, const ILbSystemColors& system) {
    const TColor from = ColorToRGB(color, system);
    const TColor to = ColorToRGB(hotColor, system);
    const double t = fadeLevel / 8.0;
    auto mix = [t](int a, int b) { return ClampChannel(RoundHalfToEven((1.0 - t) * a + t * b)); };
    return MakeColor(mix(RedOf(from), RedOf(to)), mix(GreenOf(from), GreenOf(to)), mix(BlueOf(from), BlueOf(to)));
}

void FillVerticalGradient(ILbCanvas& canvas, TColor from, TColor to, int left, int top, int right, int bottom) {
    const TLbPenStyle savedPen = canvas.PenStyle();
    canvas.SetPenStyle(TLbPenStyle::Clear);
    from = ColorToRGB(from, canvas);
    to = ColorToRGB(to, canvas);
    double red = RedOf(from), green = GreenOf(from), blue = BlueOf(from);
    const double redStep = (RedOf(to) - RedOf(from)) / static_cast<double>(kGradientSteps);
    const double greenStep = (GreenOf(to) - GreenOf(from)) / static_cast<double>(kGradientSteps);
    const double blueStep = (BlueOf(to) - BlueOf(from)) / static_cast<double>(kGradientSteps);
    const int span = bottom - top;
    const int bandHeight = span / kGradientSteps + 1;
    for (int band = 0; band <= kGradientSteps; ++band) {
        canvas.SetBrushColor(MakeColor(ClampChannel(RoundHalfToEven(red)), ClampChannel(RoundHalfToEven(green)),
                                       ClampChannel(RoundHalfToEven(blue))));
        red += redStep;
        green += greenStep;
        blue += blueStep;
        // Bands of a short span fall several on one row; the last one wins.
        const int bandTop = top + (band * span) / kGradientSteps;
        canvas.FillRect({left, bandTop, right, std::min(bandTop + bandHeight, bottom)});
    }
    canvas.SetPenStyle(savedPen);
}

void DrawGlyphCell(ILbCanvas& canvas, const TLbBitmap& glyph, int x, int y, int cellOffset, int glyphHeight,
                   int cellWidth) {
    if (cellWidth <= 0 || glyphHeight <= 0) return;
    // Cutting the whole strip to one cell keeps cell 0; the strip drawn
    // over it shifted left then shows the wanted cell where it reaches.
    TLbBitmap cell = glyph;
    cell.SetSize(cellWidth, glyphHeight);
    cell.Draw(glyph, -cellOffset, 0);
    canvas.DrawTransparent(cell, x, y, cell.Pixel(0, glyphHeight - 1));
}

void DrawButtonFace(ILbCanvas& canvas, const TLbButtonFace& face) {
    const int w = face.width, h = face.height;
    const bool down = face.enabled && face.down;
    const int press = (down && face.style != bsEncarta) ? 1 : 0;
    const bool hasGlyph = face.glyph != nullptr && !face.glyph->Empty();
    const int cellWidth = (hasGlyph && face.glyphCount > 0) ? face.glyph->Width() / face.glyphCount : 0;
    const int glyphHeight = hasGlyph ? face.glyph->Height() : 0;

    const TColor faceColor = FaceColor(face, down, canvas);
    DrawBackground(canvas, face, faceColor, press);
    canvas.SetBrushStyle(TLbBrushStyle::Clear);
    DrawFrame(canvas, face, faceColor, down);

    fw::Font font = face.font;
    if (face.style == bsEncarta && down) font.bold = true;
    canvas.SetFont(font);

    const int cellOffset = GlyphCell(face.enabled, down, face.mouseInside, face.glyphCount) * cellWidth;
    auto drawGlyph = [&](int gx, int gy) {
        if (hasGlyph) DrawGlyphCell(canvas, *face.glyph, gx, gy, cellOffset, glyphHeight, cellWidth);
    };

    if (face.style == bsShape) {
        FittedCaption fitted = FitCaption(canvas, face.caption, w - 8, face.wordWrap);
        drawGlyph((w - cellWidth) / 2, (h - glyphHeight) / 2);
        TLbRect box{press, (h - fitted.height) / 2 + press, w, h};
        canvas.DrawFormattedText(fitted.text, box, lbdt::WordBreak | lbdt::Center);
    } else {
        FittedCaption fitted;
        int textX = press + 4, textY = 0, glyphX = press + 4, glyphY = 0;
        switch (face.layout) {
        case blGlyphRight:
        default: {
            const bool glyphLeft = face.layout != blGlyphRight;
            fitted = FitCaption(canvas, face.caption, w - 8 - (cellWidth > 0 ? cellWidth + 4 : 0), face.wordWrap);
            const int textWidth = fitted.text.empty() ? 0 : fitted.width + 4;
            textY = (h - fitted.height) / 2 + press;
            glyphY = (h - glyphHeight) / 2 + press;
            if (glyphLeft) {
                if (cellWidth > 0) textX += cellWidth + 4;
                glyphX = press + 4;
                if (!face.wordWrap) {
                    if (face.alignment == taRightJustify) glyphX = w - 4 - cellWidth - textWidth + press;
                    else if (face.alignment == taCenter) glyphX = (w - cellWidth) / 2 + press - textWidth / 2;
                }
            } else {
                glyphX = textX + textWidth;
                if (!face.wordWrap) {
                    if (face.alignment == taRightJustify) glyphX = w - 4 + press - cellWidth;
                    else if (face.alignment == taCenter) glyphX = (w - cellWidth) / 2 + press + textWidth / 2;
                }
            }
            break;
        }
        case blGlyphTop:
        case blGlyphBottom: {
            fitted = FitCaption(canvas, face.caption, w - 8, face.wordWrap);
            const int total = glyphHeight > 0 ? fitted.height + glyphHeight + 4 : fitted.height;
            if (face.layout == blGlyphTop) {
                textY = (h - total) / 2 + glyphHeight + press;
                glyphY = (h - total) / 2 + press;
            } else {
                textY = (h - total) / 2 + press;
                glyphY = (h - total) / 2 + fitted.height + press;
            }
            if (face.alignment == taRightJustify) glyphX = w - cellWidth - 4 + press;
            else if (face.alignment == taCenter) glyphX = (w - cellWidth) / 2 + press;
            break;
        }
        }
        if (!face.enabled) {
            font.color = clGray;
            canvas.SetFont(font);
        }
        TLbRect box{textX, textY, textX + fitted.boxWidth, textY + fitted.height};
        canvas.DrawFormattedText(fitted.text, box, TextFormatFor(face.alignment));
        drawGlyph(glyphX, glyphY);  // over the text
    }

    if (face.hasPopup) DrawArrow(canvas, w, h);
}

TLbColorScheme ColorStylePreset(TLbColorStyle style) {
    TLbColorScheme s;  // not flat, black font
    auto set = [&s](TColor color, TColor light, TColor shadow, TColor down, TColor hot, bool flat,
                     TLbSpeedButtonStyle buttonStyle, TColor font) {
        s = {color, light, shadow, down, hot, flat, buttonStyle, font};
    };
    switch (style) {
    case lcsGold: set(0x0000C0C0, 0x0000FFFF, 0x00008080, clLbNoColor, 0x0000DFDF, false, bsModern, clBlack); break;
    case lcsChrome: set(0x00C0C0C0, 0x00FFFFFF, 0x00808080, clLbNoColor, clLbNoColor, false, bsModern, clBlack); break;
    case lcsBlue: set(0x00FF8000, 0x00FFFF00, 0x00FF0000, clLbNoColor, clLbNoColor, false, bsModern, clBlack); break;
    case lcsRed: set(0x000000FF, 0x00C0C0FF, 0x000000C0, clLbNoColor, clLbNoColor, false, bsModern, clBlack); break;
    case lcsUltraFlat1: set(clBtnFace, 0x00B59284, 0x00B59284, 0x00B59284, 0x00DED3D6, true, bsNormal, clBlack); break;
    case lcsUltraFlat2: set(clBtnFace, 0x00000000, 0x00000000, 0x0024DABC, 0x008CF6E4, true, bsNormal, clBlack); break;
    // The shadow and pressed colours are one unit of red above the light colour.
    case lcsUltraFlatXP: set(0x00D1D8DB, 0x00B59284, 0x00B59285, 0x00B59285, 0x00D2BDB6, true, bsNormal, clBlack); break;
    case lcsAqua: set(0x00ECCE94, 0x00FCE6D4, 0x00000000, clLbNoColor, clLbNoColor, false, bsModern, clBlack); break;
    case lcsDefault: set(clBtnFace, 0x00FFFFFF, 0x00808080, clLbNoColor, clLbNoColor, false, bsNormal, clBlack); break;
    case lcsQuicken: set(0x00603000, 0x00C0C0C0, 0x00C0C0C0, 0x00AD6529, 0x00CEAE9C, false, bsQuicken, 0x00FFFFFF); break;
    case lcsCustom: break;
    }
    return s;
}
