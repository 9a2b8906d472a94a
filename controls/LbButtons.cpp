#include "controls/LbButtons.h"

#include <algorithm>

#include "framework/DpiScale.h"

namespace lb {

namespace {

constexpr int kGradientSteps = 31;  // 32 bands, the last one in the end colour
constexpr const char kArrowResource[] = "LBARROW";

// A length of the 96-dpi face at the face's DPI.
int Px(const ButtonFace& face, int pixels) { return fw::ScaleForDpi(pixels, face.dpi); }

int ClampChannel(int value) { return std::min(255, std::max(0, value)); }

unsigned TextFormatFor(TAlignment alignment) {
    switch (alignment) {
    case taLeftJustify: return dt::WordBreak;
    case taRightJustify: return dt::WordBreak | dt::Right;
    case taCenter: return dt::WordBreak | dt::Center;
    }
    return dt::SingleLine | dt::VCenter | dt::Center;
}

// The caption as it will be drawn in a text box of the given width.
struct FittedCaption {
    std::string text;
    int boxWidth = 0;
    int width = 0;
    int height = 0;
};

// Drops the last character of a UTF-8 text: its whole sequence, never a
// byte of it, which would leave the text malformed.
void DropLastCharacter(std::string& text) {
    std::size_t last = text.size() - 1;
    while (last > 0 && (static_cast<unsigned char>(text[last]) & 0xC0) == 0x80) --last;  // continuation bytes
    text.erase(last);
}

FittedCaption FitCaption(Canvas& canvas, const std::string& caption, int boxWidth, bool wordWrap) {
    FittedCaption fitted;
    fitted.text = caption;
    fitted.boxWidth = std::max(boxWidth, 0);
    // Without word wrap the caption is one line, so it loses characters from
    // its end until it fits; with word wrap the text box breaks it instead.
    if (!wordWrap)
        while (!fitted.text.empty() && canvas.TextWidth(fitted.text) > fitted.boxWidth) DropLastCharacter(fitted.text);
    Rect extent{0, 0, fitted.boxWidth, 0};
    canvas.DrawFormattedText(fitted.text, extent, dt::CalcRect | dt::WordBreak);
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

TColor FaceColor(const ButtonFace& face, bool down, const SystemColors& system) {
    TColor color = ColorToRGB(face.color, system);
    if (face.enabled && face.hotColor != kNoColor)
        color = BlendFaceColor(face.color, face.hotColor, face.fadeLevel, system);
    if (down && face.downColor != kNoColor) color = face.downColor;
    return color;
}

void DrawBackground(Canvas& canvas, const ButtonFace& face, TColor faceColor, int press) {
    const int w = face.width, h = face.height;
    if (face.style == bsShape) {
        canvas.SetBrushColor(kKeyColor);
        canvas.Rectangle(-1, -1, w + 1, h + 1);
        return;
    }
    if (face.transparent) return;
    canvas.SetBrushColor(faceColor);
    switch (face.style) {
    case bsModern: {
        const int inset = Px(face, 2);  // inside the two frame lines
        FillVerticalGradient(canvas, face.lightColor, faceColor, inset, inset, w - inset, h / 4 + press);
        FillVerticalGradient(canvas, faceColor, face.lightColor, inset, h / 4 + press, w - inset, h - Px(face, 1));
        break;
    }
    case bsQuicken: break;
    default:
        // The outline falls outside the face, so this only fills it.
        canvas.Rectangle(-1, -1, w + 1, h + 1);
        break;
    }
}

// A frame line of the 96-dpi face lies on one ring of pixels, ring 0 along
// the edges and ring 1 inside it. Scaled, ring k covers the offsets from the
// edges from Px(k) up to Px(k + 1), so the lines are drawn once per offset:
// thicker lines, and no gap between rings or to the gradient inside them.
void DrawFrame(Canvas& canvas, const ButtonFace& face, TColor faceColor, bool down) {
    const int w = face.width, h = face.height;
    const int ring1 = Px(face, 1), ring2 = Px(face, 2);
    const bool raisedFrame =
        (face.enabled && (!face.flat || face.mouseInside || down)) || (!face.enabled && !face.flat);
    switch (face.style) {
    case bsModern: {
        canvas.SetPenColor(down ? face.shadowColor : faceColor);
        for (int o = ring1; o < ring2; ++o) canvas.Rectangle(o, o, w - o, h - o);
        canvas.SetPenColor(face.shadowColor);
        const int ellipse = Px(face, 6);
        for (int o = 0; o < ring1; ++o) canvas.RoundRect(o, o, w - o, h - o, ellipse - 2 * o, ellipse - 2 * o);
        break;
    }
    case bsQuicken: {
        canvas.SetPenStyle(Pen::Clear);
        canvas.SetBrushColor(faceColor);
        const int ellipse = Px(face, 4);
        canvas.RoundRect(0, ring1, w, h, ellipse, ellipse);
        const int left = Px(face, 4), right = w - Px(face, 5);  // the lines end short of the corners
        canvas.SetBrushStyle(Brush::Clear);
        canvas.SetPenStyle(Pen::Solid);
        canvas.SetPenColor(face.shadowColor);
        for (int o = 0; o < ring1; ++o) {
            canvas.MoveTo(left, o);
            canvas.LineTo(right, o);
            canvas.MoveTo(left, h - 1 - o);
            canvas.LineTo(right, h - 1 - o);
        }
        break;
    }
    case bsOld:
        if (!raisedFrame) break;
        canvas.SetPenColor(face.shadowColor);
        for (int o = ring1; o < ring2; ++o) {
            if (down) {
                canvas.MoveTo(o, h - 2 - o);
                canvas.LineTo(o, o);
                canvas.LineTo(w - 1 - o, o);
            } else {
                canvas.MoveTo(w - 1 - o, 0);
                canvas.LineTo(w - 1 - o, h - 1 - o);
                canvas.LineTo(0, h - 1 - o);
            }
        }
        for (int o = 0; o < ring1; ++o) {
            canvas.SetPenColor(down ? clWindowFrame : face.lightColor);
            canvas.MoveTo(o, h - 1 - o);
            canvas.LineTo(o, o);
            canvas.LineTo(w - 1 - o, o);
            canvas.SetPenColor(down ? face.lightColor : clWindowFrame);
            canvas.LineTo(w - 1 - o, h - 1 - o);
            canvas.LineTo(o - 1, h - 1 - o);
        }
        break;
    case bsShape: break;
    default:  // bsNormal, bsEncarta
        if (!raisedFrame) break;
        for (int o = 0; o < ring1; ++o) {
            canvas.SetPenColor(down ? face.shadowColor : face.lightColor);
            canvas.MoveTo(o, h - 1 - o);
            canvas.LineTo(o, o);
            canvas.LineTo(w - 1 - o, o);
            canvas.SetPenColor(down ? face.lightColor : face.shadowColor);
            canvas.LineTo(w - 1 - o, h - 1 - o);
            canvas.LineTo(o, h - 1 - o);
        }
        break;
    }
}

// The cell of the glyph strip a face shows, and the cell's size.
struct GlyphCellChoice {
    const Bitmap* strip = nullptr;  // null: no glyph
    int width = 0;
    int height = 0;
    int offset = 0;  // of the cell in the strip
};

GlyphCellChoice ChooseGlyphCell(const ButtonFace& face, bool down) {
    GlyphCellChoice cell;
    if (face.glyph == nullptr || face.glyph->Empty()) return cell;
    cell.strip = face.glyph;
    cell.width = face.glyphCount > 0 ? face.glyph->Width() / face.glyphCount : 0;
    cell.height = face.glyph->Height();
    cell.offset = GlyphCell(face.enabled, down, face.mouseInside, face.glyphCount) * cell.width;
    return cell;
}

// Where the caption and the glyph cell go.
struct ContentPlacement {
    FittedCaption caption;
    Rect textBox;
    unsigned textFormat = 0;
    int glyphX = 0;
    int glyphY = 0;
};

// Glyph left or right of the caption; by alignment unless word wrap is on.
void PlaceBesideCaption(Canvas& canvas, const ButtonFace& face, const GlyphCellChoice& cell, int press,
                        ContentPlacement& place) {
    const int w = face.width, h = face.height, margin = Px(face, 4);
    place.caption =
        FitCaption(canvas, face.caption, w - Px(face, 8) - (cell.width > 0 ? cell.width + margin : 0), face.wordWrap);
    const int textWidth = place.caption.text.empty() ? 0 : place.caption.width + margin;
    int textX = press + margin;
    const int textY = (h - place.caption.height) / 2 + press;
    place.glyphY = (h - cell.height) / 2 + press;
    if (face.layout != blGlyphRight) {
        if (cell.width > 0) textX += cell.width + margin;
        place.glyphX = press + margin;
        if (!face.wordWrap) {
            if (face.alignment == taRightJustify) place.glyphX = w - margin - cell.width - textWidth + press;
            else if (face.alignment == taCenter) place.glyphX = (w - cell.width) / 2 + press - textWidth / 2;
        }
    } else {
        place.glyphX = textX + textWidth;
        if (!face.wordWrap) {
            if (face.alignment == taRightJustify) place.glyphX = w - margin + press - cell.width;
            else if (face.alignment == taCenter) place.glyphX = (w - cell.width) / 2 + press + textWidth / 2;
        }
    }
    place.textBox = {textX, textY, textX + place.caption.boxWidth, textY + place.caption.height};
}

// Glyph above or below the caption; by alignment whatever word wrap says.
void PlaceAboveOrBelowCaption(Canvas& canvas, const ButtonFace& face, const GlyphCellChoice& cell, int press,
                              ContentPlacement& place) {
    const int w = face.width, h = face.height, margin = Px(face, 4);
    place.caption = FitCaption(canvas, face.caption, w - Px(face, 8), face.wordWrap);
    const int total = cell.height > 0 ? place.caption.height + cell.height + margin : place.caption.height;
    const int textX = press + margin;
    int textY = 0;
    if (face.layout == blGlyphTop) {
        textY = (h - total) / 2 + cell.height + press;
        place.glyphY = (h - total) / 2 + press;
    } else {
        textY = (h - total) / 2 + press;
        place.glyphY = (h - total) / 2 + place.caption.height + press;
    }
    place.glyphX = press + margin;
    if (face.alignment == taRightJustify) place.glyphX = w - cell.width - margin + press;
    else if (face.alignment == taCenter) place.glyphX = (w - cell.width) / 2 + press;
    place.textBox = {textX, textY, textX + place.caption.boxWidth, textY + place.caption.height};
}

// Fits the caption and places it and the glyph cell; measures, draws nothing.
ContentPlacement PlaceContent(Canvas& canvas, const ButtonFace& face, const GlyphCellChoice& cell, int press) {
    ContentPlacement place;
    if (face.style == bsShape) {
        // Both centred, the caption in one centred box whatever the alignment.
        const int w = face.width, h = face.height;
        place.caption = FitCaption(canvas, face.caption, w - Px(face, 8), face.wordWrap);
        place.glyphX = (w - cell.width) / 2;
        place.glyphY = (h - cell.height) / 2;
        place.textBox = {press, (h - place.caption.height) / 2 + press, w, h};
        place.textFormat = dt::WordBreak | dt::Center;
        return place;
    }
    if (face.layout == blGlyphTop || face.layout == blGlyphBottom)
        PlaceAboveOrBelowCaption(canvas, face, cell, press, place);
    else PlaceBesideCaption(canvas, face, cell, press, place);
    place.textFormat = TextFormatFor(face.alignment);
    return place;
}

// Draws caption and glyph cell where they were placed: bsShape draws the
// glyph first and keeps the caption's colour; the layouts draw the glyph over
// the caption and grey a disabled caption.
void DrawContent(Canvas& canvas, const ButtonFace& face, ButtonFont font, const GlyphCellChoice& cell,
                 const ContentPlacement& place) {
    auto drawGlyph = [&] {
        if (cell.strip)
            DrawGlyphCell(canvas, *cell.strip, place.glyphX, place.glyphY, cell.offset, cell.height, cell.width);
    };
    Rect box = place.textBox;
    if (face.style == bsShape) {
        drawGlyph();
        canvas.DrawFormattedText(place.caption.text, box, place.textFormat);
        return;
    }
    if (!face.enabled) {
        font.color = clGray;
        canvas.SetFont(font);
    }
    canvas.DrawFormattedText(place.caption.text, box, place.textFormat);
    drawGlyph();
}

void DrawArrow(Canvas& canvas, const ButtonFace& face) {
    const Bitmap* arrow = canvas.ResourceBitmap(kArrowResource);
    if (!arrow || arrow->Empty()) return;
    canvas.DrawTransparent(*arrow, face.width - Px(face, 11), face.height / 2 - Px(face, 1),
                           arrow->Pixel(0, arrow->Height() - 1));
}

}  // namespace

TColor BlendFaceColor(TColor color, TColor hotColor, int fadeLevel, const SystemColors& system) {
    const TColor from = ColorToRGB(color, system);
    const TColor to = ColorToRGB(hotColor, system);
    const double t = fadeLevel / 8.0;
    auto mix = [t](int a, int b) { return ClampChannel(RoundHalfToEven((1.0 - t) * a + t * b)); };
    return MakeColor(mix(RedOf(from), RedOf(to)), mix(GreenOf(from), GreenOf(to)), mix(BlueOf(from), BlueOf(to)));
}

void FillVerticalGradient(Canvas& canvas, TColor from, TColor to, int left, int top, int right, int bottom) {
    const Pen savedPen = canvas.PenStyle();
    canvas.SetPenStyle(Pen::Clear);
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

void DrawGlyphCell(Canvas& canvas, const Bitmap& glyph, int x, int y, int cellOffset, int glyphHeight, int cellWidth) {
    if (cellWidth <= 0 || glyphHeight <= 0) return;
    // Cutting the whole strip to one cell keeps cell 0; the strip drawn
    // over it shifted left then shows the wanted cell where it reaches.
    Bitmap cell = glyph;
    cell.SetSize(cellWidth, glyphHeight);
    cell.Draw(glyph, -cellOffset, 0);
    canvas.DrawTransparent(cell, x, y, cell.Pixel(0, glyphHeight - 1));
}

void DrawButtonFace(Canvas& canvas, const ButtonFace& face) {
    const bool down = face.enabled && face.down;
    const int press = (down && face.style != bsEncarta) ? Px(face, 1) : 0;
    const TColor faceColor = FaceColor(face, down, canvas);
    DrawBackground(canvas, face, faceColor, press);
    canvas.SetBrushStyle(Brush::Clear);
    DrawFrame(canvas, face, faceColor, down);

    ButtonFont font = face.font;
    if (face.style == bsEncarta && down) font.bold = true;
    canvas.SetFont(font);

    const GlyphCellChoice cell = ChooseGlyphCell(face, down);
    const ContentPlacement placement = PlaceContent(canvas, face, cell, press);
    DrawContent(canvas, face, font, cell, placement);

    if (face.hasPopup) DrawArrow(canvas, face);
}

namespace {

// One row a preset, in the order of TLbColorStyle; lcsCustom's row is the
// default of a black font on a non-flat button.
constexpr ColorScheme kColorPresets[] = {
    // colour      light       shadow      when down   hot track   flat   style      font colour
    {clBtnFace, clWhite, clBlack, kNoColor, kNoColor, false, bsNormal, clBlack},           // lcsCustom
    {0x0000C0C0, 0x0000FFFF, 0x00008080, kNoColor, 0x0000DFDF, false, bsModern, clBlack},  // lcsGold
    {0x00C0C0C0, 0x00FFFFFF, 0x00808080, kNoColor, kNoColor, false, bsModern, clBlack},    // lcsChrome
    {0x00FF8000, 0x00FFFF00, 0x00FF0000, kNoColor, kNoColor, false, bsModern, clBlack},    // lcsBlue
    {0x000000FF, 0x00C0C0FF, 0x000000C0, kNoColor, kNoColor, false, bsModern, clBlack},    // lcsRed
    {clBtnFace, 0x00B59284, 0x00B59284, 0x00B59284, 0x00DED3D6, true, bsNormal, clBlack},  // lcsUltraFlat1
    {clBtnFace, 0x00000000, 0x00000000, 0x0024DABC, 0x008CF6E4, true, bsNormal, clBlack},  // lcsUltraFlat2
    // Shadow and pressed colour one unit of red above the light colour.
    {0x00D1D8DB, 0x00B59284, 0x00B59285, 0x00B59285, 0x00D2BDB6, true, bsNormal, clBlack},       // lcsUltraFlatXP
    {0x00ECCE94, 0x00FCE6D4, 0x00000000, kNoColor, kNoColor, false, bsModern, clBlack},          // lcsAqua
    {clBtnFace, 0x00FFFFFF, 0x00808080, kNoColor, kNoColor, false, bsNormal, clBlack},           // lcsDefault
    {0x00603000, 0x00C0C0C0, 0x00C0C0C0, 0x00AD6529, 0x00CEAE9C, false, bsQuicken, 0x00FFFFFF},  // lcsQuicken
};

}  // namespace

ColorScheme ColorStylePreset(TLbColorStyle style) {
    const int row = static_cast<int>(style);
    if (row < 0 || row >= static_cast<int>(sizeof kColorPresets / sizeof kColorPresets[0])) return kColorPresets[0];
    return kColorPresets[row];
}

}  // namespace lb
