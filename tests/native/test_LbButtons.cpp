// The face painter, checked through a recording canvas.
#include <gtest/gtest.h>

#include <vector>

#include "RecordingCanvas.h"
#include "controls/LbButtons.h"

namespace {

// The face of one of the kit window's buttons.
ButtonFace KitFace(int width = 201, const std::string& caption = "Inchide") {
    ButtonFace face;
    face.width = width;
    face.height = 31;
    face.alignment = taCenter;
    face.caption = caption;
    face.font.bold = true;
    face.font.color = 0x00005555;
    face.shadowColor = 0x00008080;
    face.lightColor = 0x0000FFFF;
    face.hotColor = 0x0000DFDF;
    face.color = 0x0000C0C0;
    face.style = bsModern;
    return face;
}

// Band k of a 32-band gradient, computed without accumulating steps.
TColor Band(TColor from, TColor to, int k) {
    auto channel = [k](int a, int b) { return RoundHalfToEven(a + k * (b - a) / 31.0); };
    return MakeColor(channel(RedOf(from), RedOf(to)), channel(GreenOf(from), GreenOf(to)),
                     channel(BlueOf(from), BlueOf(to)));
}

RecordedOp OnlyText(const RecordingCanvas& canvas) {
    auto texts = canvas.Texts();
    EXPECT_EQ(texts.size(), 1u);
    return texts.empty() ? RecordedOp() : texts.front();
}

}  // namespace

TEST(LbBlendFaceColor, MixesChannelsByEighthsRoundingHalvesToEven) {
    RecordingCanvas system;
    EXPECT_EQ(BlendFaceColor(0x000000FF, 0x00FF0000, 4, system), 0x00800080u);  // 127.5 -> 128 twice
    EXPECT_EQ(BlendFaceColor(0x000000FF, 0x00FF0000, 0, system), 0x000000FFu);
    EXPECT_EQ(BlendFaceColor(0x000000FF, 0x00FF0000, 8, system), 0x00FF0000u);
    // 1/8 of the way from 0x03 to 0x07 is 3.5, which goes to 4; 0x05 to 0x09 gives 5.5 -> 6.
    EXPECT_EQ(BlendFaceColor(0x00000503, 0x00000907, 1, system), 0x00000604u);
    // 2.5 goes to the even 2, where rounding half up would give 3.
    EXPECT_EQ(BlendFaceColor(0x00000002, 0x00000006, 1, system), 0x00000002u);
    // System colours are resolved before mixing (button face = C0C0C0 here).
    EXPECT_EQ(BlendFaceColor(clBtnFace, 0x00000000, 4, system), 0x00606060u);
}

TEST(LbFillVerticalGradient, ShortSpanPutsSeveralOneRowBandsOnEachRowLastWins) {
    RecordingCanvas canvas(20, 10);
    canvas.SetPenStyle(Pen::Solid);
    FillVerticalGradient(canvas, 0x0000FFFF, 0x0000C0C0, 2, 2, 18, 7);  // span 5, as in a 31-pixel face

    const int lastBandOfRow[] = {6, 12, 18, 24, 30};
    for (int row = 2; row <= 6; ++row)
        EXPECT_EQ(canvas.raster.Pixel(10, row), Band(0x0000FFFF, 0x0000C0C0, lastBandOfRow[row - 2])) << "row " << row;
    EXPECT_EQ(canvas.raster.Pixel(10, 7), kKeyColor);  // bottom excluded
    EXPECT_EQ(canvas.raster.Pixel(1, 3), kKeyColor);   // left margin
    EXPECT_EQ(canvas.raster.Pixel(18, 3), kKeyColor);  // right excluded

    auto fills = canvas.Of(RecordedOp::FillRect);
    ASSERT_EQ(fills.size(), 32u);
    EXPECT_EQ(fills.back().rect.top, fills.back().rect.bottom) << "band 31 falls on the bottom edge";
    EXPECT_EQ(fills.back().brush, 0x0000C0C0u);
    for (const RecordedOp& fill : fills) EXPECT_EQ(fill.penStyle, Pen::Clear);
    EXPECT_EQ(canvas.PenStyle(), Pen::Solid) << "pen style restored";
}

TEST(LbFillVerticalGradient, TallSpanCoversEveryRowWithOverlappingBands) {
    RecordingCanvas canvas(4, 120);
    FillVerticalGradient(canvas, 0x00000000, 0x00F8F8F8, 0, 10, 4, 110);  // bands 4 rows high, 3.2 apart
    EXPECT_EQ(canvas.raster.Pixel(0, 10), 0x00000000u);
    // Band 31 always starts at the bottom edge, so band 30 reaches it.
    EXPECT_EQ(canvas.raster.Pixel(0, 109), Band(0x00000000, 0x00F8F8F8, 30));
    for (int row = 11; row < 110; ++row)
        EXPECT_GE(RedOf(canvas.raster.Pixel(0, row)), RedOf(canvas.raster.Pixel(0, row - 1)))
            << "gap or step back at " << row;
}

TEST(LbDrawGlyphCell, ChoosesTheCellForTheButtonState) {
    // Four 16 x 16 cells, each its own colour, bottom-left pixel white.
    const TColor cellColor[] = {0x000000AA, 0x0000AA00, 0x00AA0000, 0x00AAAA00};
    Bitmap strip(64, 16);
    for (int cell = 0; cell < 4; ++cell) {
        strip.FillRect(cell * 16, 0, cell * 16 + 16, 16, cellColor[cell]);
        strip.SetPixel(cell * 16, 15, clWhite);
    }
    struct Case {
        const char* name;
        bool enabled, mouseInside, down;
        int count;
        int expectedCell;
    } cases[] = {
        {"normal", true, false, false, 4, 0},
        {"disabled", false, false, false, 4, 1},
        {"hot", true, true, false, 4, 3},
        {"hot and pressed", true, true, true, 4, 2},
        {"disabled single cell", false, false, false, 1, 0},
        {"pressed with two cells", true, false, true, 2, 0},
    };
    for (const Case& c : cases) {
        ButtonFace face = KitFace(100);
        face.style = bsNormal;
        face.enabled = c.enabled;
        face.mouseInside = c.mouseInside;
        face.down = c.down;
        Bitmap glyph = strip;
        glyph.SetSize(16 * c.count, 16);
        face.glyph = &glyph;
        face.glyphCount = c.count;
        RecordingCanvas canvas;
        DrawButtonFace(canvas, face);
        auto drawn = canvas.Of(RecordedOp::DrawTransparent);
        ASSERT_EQ(drawn.size(), 1u) << c.name;
        EXPECT_EQ(drawn[0].bitmap.Width(), 16) << c.name;
        EXPECT_EQ(drawn[0].bitmap.Pixel(8, 8), cellColor[c.expectedCell]) << c.name;
        EXPECT_EQ(drawn[0].transparent, clWhite) << c.name;
    }
}

TEST(LbDrawButtonFace, CaptionWithoutWordWrapLosesCharactersUntilItFits) {
    ButtonFace face = KitFace(60, "ABCDEFGHIJKL");  // text box 52: 8 characters of 6
    RecordingCanvas canvas;
    DrawButtonFace(canvas, face);
    EXPECT_EQ(OnlyText(canvas).text, "ABCDEFGH");
    // A letter of two UTF-8 bytes (12 pixels on this canvas) goes whole.
    ButtonFace accentedFace = face;
    accentedFace.caption = "ABCDEFGțIJKL";
    RecordingCanvas accented;
    DrawButtonFace(accented, accentedFace);
    EXPECT_EQ(OnlyText(accented).text, "ABCDEFG");

    face.wordWrap = true;  // kept whole and broken into two lines of the box
    RecordingCanvas wrapped;
    DrawButtonFace(wrapped, face);
    RecordedOp text = OnlyText(wrapped);
    EXPECT_EQ(text.text, "ABCDEFGHIJKL");
    EXPECT_EQ(text.rect.bottom - text.rect.top, 2 * RecordingCanvas::kLineHeight);
    EXPECT_EQ(text.rect.right - text.rect.left, 52);

    face = KitFace(5, "A");  // no room at all: an empty caption in an empty box
    RecordingCanvas narrow;
    DrawButtonFace(narrow, face);
    EXPECT_EQ(OnlyText(narrow).text, "");
    EXPECT_EQ(OnlyText(narrow).rect.right, OnlyText(narrow).rect.left);
}

TEST(LbDrawButtonFace, AlignmentChoosesTheTextFormat) {
    const std::pair<int, unsigned> formats[] = {
        {taLeftJustify, 0x10}, {taRightJustify, 0x12}, {taCenter, 0x11}, {7, 0x25}};
    for (auto [alignment, format] : formats) {
        ButtonFace face = KitFace();
        face.alignment = static_cast<TAlignment>(alignment);
        RecordingCanvas canvas;
        DrawButtonFace(canvas, face);
        EXPECT_EQ(OnlyText(canvas).format, format) << "alignment " << alignment;
    }
}

TEST(LbDrawButtonFace, PlacesCaptionAndGlyphByLayoutAndAlignment) {
    Bitmap glyph(16, 16, 0x00000080);
    struct Case {
        const char* name;
        TLbSpeedButtonLayout layout;
        TAlignment alignment;
        bool down, wordWrap;
        Rect text;
        int glyphX, glyphY;
    } cases[] = {
        // W 100, H 30, caption "OK" 12 wide and 13 high, glyph 16 x 16.
        {"left, centred", blGlyphLeft, taCenter, false, false, {24, 8, 96, 21}, 34, 7},
        {"left, centred, pressed", blGlyphLeft, taCenter, true, false, {25, 9, 97, 22}, 35, 8},
        {"left, right-aligned", blGlyphLeft, taRightJustify, false, false, {24, 8, 96, 21}, 64, 7},
        {"left, word wrap keeps the glyph left", blGlyphLeft, taCenter, false, true, {24, 8, 96, 21}, 4, 7},
        {"right, centred", blGlyphRight, taCenter, false, false, {4, 8, 76, 21}, 50, 7},
        {"right, left-aligned", blGlyphRight, taLeftJustify, false, false, {4, 8, 76, 21}, 20, 7},
        {"top, centred", blGlyphTop, taCenter, false, false, {4, 15, 96, 28}, 42, -1},
        {"bottom, right-aligned", blGlyphBottom, taRightJustify, false, false, {4, -1, 96, 12}, 80, 12},
    };
    for (const Case& c : cases) {
        ButtonFace face;
        face.width = 100;
        face.height = 30;
        face.caption = "OK";
        face.layout = c.layout;
        face.alignment = c.alignment;
        face.down = c.down;
        face.wordWrap = c.wordWrap;
        face.glyph = &glyph;
        face.glyphCount = 1;
        RecordingCanvas canvas;
        DrawButtonFace(canvas, face);
        RecordedOp text = OnlyText(canvas);
        EXPECT_EQ(text.rect.left, c.text.left) << c.name;
        EXPECT_EQ(text.rect.top, c.text.top) << c.name;
        EXPECT_EQ(text.rect.right, c.text.right) << c.name;
        EXPECT_EQ(text.rect.bottom, c.text.bottom) << c.name;
        auto glyphs = canvas.Of(RecordedOp::DrawTransparent);
        ASSERT_EQ(glyphs.size(), 1u) << c.name;
        EXPECT_EQ(glyphs[0].rect.left, c.glyphX) << c.name;
        EXPECT_EQ(glyphs[0].rect.top, c.glyphY) << c.name;
    }
}

TEST(LbDrawButtonFace, PressedShiftsByOnePixelExceptEncartaWhichTurnsBold) {
    ButtonFace face = KitFace();
    RecordingCanvas up;
    DrawButtonFace(up, face);
    face.down = true;
    RecordingCanvas down;
    DrawButtonFace(down, face);
    EXPECT_EQ(OnlyText(down).rect.left, OnlyText(up).rect.left + 1);
    EXPECT_EQ(OnlyText(down).rect.top, OnlyText(up).rect.top + 1);

    face.style = bsEncarta;
    face.font.bold = false;
    RecordingCanvas encarta;
    DrawButtonFace(encarta, face);
    EXPECT_EQ(OnlyText(encarta).rect.left, OnlyText(up).rect.left);
    EXPECT_EQ(OnlyText(encarta).rect.top, OnlyText(up).rect.top);
    EXPECT_TRUE(OnlyText(encarta).font.bold);
}

TEST(LbDrawButtonFace, ShapeCentresTheCaptionAcrossTheWholeFace) {
    Bitmap glyph(20, 10, 0x00000080);
    ButtonFace face;
    face.width = 100;
    face.height = 30;
    face.caption = "OK";
    face.alignment = taLeftJustify;
    face.style = bsShape;
    face.transparent = false;
    face.glyph = &glyph;
    face.glyphCount = 1;
    RecordingCanvas canvas;
    DrawButtonFace(canvas, face);
    auto rects = canvas.Of(RecordedOp::Rectangle);
    ASSERT_EQ(rects.size(), 1u);  // the key-colour background, no frame
    EXPECT_EQ(rects[0].brush, kKeyColor);
    RecordedOp text = OnlyText(canvas);
    EXPECT_EQ(text.format, 0x11u);
    EXPECT_EQ(text.rect.left, 0);
    EXPECT_EQ(text.rect.top, 8);
    EXPECT_EQ(text.rect.right, 100);
    EXPECT_EQ(text.rect.bottom, 30);
    auto glyphs = canvas.Of(RecordedOp::DrawTransparent);
    ASSERT_EQ(glyphs.size(), 1u);
    EXPECT_EQ(glyphs[0].rect.left, 40);
    EXPECT_EQ(glyphs[0].rect.top, 10);
}

TEST(LbDrawButtonFace, NormalFrameFollowsFlatHotAndPressedColour) {
    ButtonFace face;
    face.width = 50;
    face.height = 20;
    face.flat = true;
    face.color = 0x00102030;
    RecordingCanvas flat;
    DrawButtonFace(flat, face);
    EXPECT_TRUE(flat.Of(RecordedOp::LineTo).empty()) << "a flat button at rest has no frame";
    EXPECT_EQ(flat.Of(RecordedOp::Rectangle).at(0).brush, 0x00102030u);

    face.mouseInside = true;
    face.down = true;
    face.downColor = 0x00445566;
    face.lightColor = 0x00AAAAAA;
    face.shadowColor = 0x00111111;
    RecordingCanvas pressed;
    DrawButtonFace(pressed, face);
    auto lines = pressed.Of(RecordedOp::LineTo);
    ASSERT_EQ(lines.size(), 4u);
    EXPECT_EQ(lines[0].pen, 0x00111111u) << "pressed: shadow top-left";
    EXPECT_EQ(lines[3].pen, 0x00AAAAAAu) << "pressed: light bottom-right";
    EXPECT_EQ(pressed.Of(RecordedOp::Rectangle).at(0).brush, 0x00445566u) << "the pressed colour replaces the face";
}

TEST(LbDrawButtonFace, PopupMenuAddsTheArrowRightOfCentre) {
    ButtonFace face = KitFace(108);
    face.hasPopup = true;
    RecordingCanvas canvas;
    DrawButtonFace(canvas, face);
    auto drawn = canvas.Of(RecordedOp::DrawTransparent);
    ASSERT_EQ(drawn.size(), 1u);
    EXPECT_EQ(drawn[0].rect.left, 97);
    EXPECT_EQ(drawn[0].rect.top, 14);
    EXPECT_EQ(drawn[0].transparent, clWhite);

    RecordingCanvas missing;
    missing.hasArrow = false;
    DrawButtonFace(missing, face);
    EXPECT_TRUE(missing.Of(RecordedOp::DrawTransparent).empty());
}

// The kit's face at 125 % and 150 %: the 96-dpi geometry in scaled pixels.
// Frame rings, gradient and text must meet without a gap, where the key
// colour would let the parent show through the face.
TEST(LbDrawButtonFace, ScalesItsGeometryWithTheDpi) {
    struct Case {
        int dpi, width, height;
        std::vector<int> outerRings;  // offsets of the rounded outline, from the edges
        std::vector<int> ellipses;    // its corner ellipse, per ring
        std::vector<int> innerRings;  // offsets of the inner rectangle
        int inset, split, bottom;     // the gradient's, inside the rings
        int margin, boxWidth, press;  // caption's left margin and box width; press offset
        int arrowX, arrowY;
    } cases[] = {
        {120, 251, 39, {0}, {8}, {1, 2}, 3, 9, 38, 5, 241, 1, 237, 18},
        {144, 302, 47, {0, 1}, {9, 7}, {2}, 3, 11, 45, 6, 290, 2, 285, 21},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.dpi);
        ButtonFace face = KitFace(c.width, "Inchide");
        face.height = c.height;
        face.dpi = c.dpi;
        face.hasPopup = true;
        RecordingCanvas canvas(c.width, c.height);
        DrawButtonFace(canvas, face);

        std::vector<int> outer, ellipses, inner;
        for (const RecordedOp& op : canvas.Of(RecordedOp::RoundRect)) {
            EXPECT_EQ(op.rect.right, c.width - op.rect.left);
            EXPECT_EQ(op.rect.bottom, c.height - op.rect.top);
            EXPECT_EQ(op.ellipseWidth, op.ellipseHeight);
            outer.push_back(op.rect.left);
            ellipses.push_back(op.ellipseWidth);
        }
        for (const RecordedOp& op : canvas.Of(RecordedOp::Rectangle)) {
            EXPECT_EQ(op.rect.top, op.rect.left);
            EXPECT_EQ(op.rect.right, c.width - op.rect.left);
            inner.push_back(op.rect.left);
        }
        EXPECT_EQ(outer, c.outerRings);
        EXPECT_EQ(ellipses, c.ellipses);
        EXPECT_EQ(inner, c.innerRings);
        EXPECT_EQ(inner.back() + 1, c.inset) << "the gradient starts where the rings end";

        const auto fills = canvas.Of(RecordedOp::FillRect);
        ASSERT_EQ(fills.size(), 64u);
        EXPECT_EQ(fills.front().rect.left, c.inset);
        EXPECT_EQ(fills.front().rect.top, c.inset);
        EXPECT_EQ(fills.front().rect.right, c.width - c.inset);
        EXPECT_EQ(fills[31].rect.bottom, c.split);
        EXPECT_EQ(fills.back().rect.bottom, c.bottom);
        EXPECT_EQ(c.bottom, c.height - static_cast<int>(c.outerRings.size()))
            << "the gradient ends where the outer ring starts";

        const RecordedOp text = OnlyText(canvas);
        EXPECT_EQ(text.rect.left, c.margin);
        EXPECT_EQ(text.rect.right - text.rect.left, c.boxWidth);
        const auto arrow = canvas.Of(RecordedOp::DrawTransparent);
        ASSERT_EQ(arrow.size(), 1u);
        EXPECT_EQ(arrow[0].rect.left, c.arrowX);
        EXPECT_EQ(arrow[0].rect.top, c.arrowY);

        face.down = true;
        RecordingCanvas down;
        DrawButtonFace(down, face);
        EXPECT_EQ(OnlyText(down).rect.left, c.margin + c.press);
        EXPECT_EQ(down.Of(RecordedOp::FillRect)[31].rect.bottom, c.split + c.press);

        // A glyph left of a left-aligned caption: margin, glyph, margin, text.
        Bitmap glyph(16, 16, 0x00000080);
        face.down = false;
        face.alignment = taLeftJustify;
        face.glyph = &glyph;
        face.glyphCount = 1;
        RecordingCanvas withGlyph;
        DrawButtonFace(withGlyph, face);
        const auto drawn = withGlyph.Of(RecordedOp::DrawTransparent);
        ASSERT_EQ(drawn.size(), 2u);
        EXPECT_EQ(drawn[0].rect.left, c.margin);
        EXPECT_EQ(OnlyText(withGlyph).rect.left, c.margin + 16 + c.margin);
    }
}

TEST(LbDrawButtonFace, OldAndQuickenFramesFollowTheirLines) {
    ButtonFace face;
    face.width = 50;
    face.height = 20;
    face.lightColor = 0x00AAAAAA;
    face.shadowColor = 0x00111111;
    face.color = 0x00102030;
    face.style = bsOld;
    auto lines = [](const RecordingCanvas& canvas) {
        std::vector<std::pair<Rect, TColor>> found;
        for (const RecordedOp& op : canvas.ops)
            if (op.kind == RecordedOp::MoveTo || op.kind == RecordedOp::LineTo) found.push_back({op.rect, op.pen});
        return found;
    };
    auto at = [](const std::pair<Rect, TColor>& line) { return std::make_pair(line.first.left, line.first.top); };
    RecordingCanvas up;
    DrawButtonFace(up, face);
    auto old = lines(up);
    ASSERT_EQ(old.size(), 8u);
    EXPECT_EQ(at(old[0]), std::make_pair(48, 0));
    EXPECT_EQ(at(old[2]), std::make_pair(0, 18));
    EXPECT_EQ(old[1].second, 0x00111111u) << "the inner shadow";
    EXPECT_EQ(at(old[3]), std::make_pair(0, 19));
    EXPECT_EQ(old[4].second, 0x00AAAAAAu) << "light top-left when up";
    EXPECT_EQ(old[6].second, 0x00404040u) << "the window-frame colour bottom-right when up";
    EXPECT_EQ(at(old[7]), std::make_pair(-1, 19));
    face.down = true;
    RecordingCanvas down;
    DrawButtonFace(down, face);
    old = lines(down);
    ASSERT_EQ(old.size(), 8u);
    EXPECT_EQ(at(old[0]), std::make_pair(1, 17));
    EXPECT_EQ(at(old[2]), std::make_pair(48, 1));
    EXPECT_EQ(old[4].second, 0x00404040u) << "the window-frame colour top-left when down";
    EXPECT_EQ(old[6].second, 0x00AAAAAAu);

    face.down = false;
    face.style = bsQuicken;
    RecordingCanvas quicken;
    DrawButtonFace(quicken, face);
    auto rounds = quicken.Of(RecordedOp::RoundRect);
    ASSERT_EQ(rounds.size(), 1u);
    EXPECT_EQ(rounds[0].rect.top, 1);
    EXPECT_EQ(rounds[0].rect.bottom, 20);
    EXPECT_EQ(rounds[0].brush, 0x00102030u);
    EXPECT_EQ(rounds[0].penStyle, Pen::Clear);
    EXPECT_TRUE(quicken.Of(RecordedOp::Rectangle).empty()) << "no background of its own";
    auto edges = lines(quicken);
    ASSERT_EQ(edges.size(), 4u);
    EXPECT_EQ(at(edges[0]), std::make_pair(4, 0));
    EXPECT_EQ(at(edges[1]), std::make_pair(45, 0));
    EXPECT_EQ(at(edges[3]), std::make_pair(45, 19));
    EXPECT_EQ(edges[1].second, 0x00111111u);
}

TEST(LbDrawButtonFace, TransparentFaceKeepsTheBackgroundAndDisabledDownDrawsUp) {
    ButtonFace face;
    face.width = 50;
    face.height = 20;
    face.transparent = true;
    RecordingCanvas transparent;
    DrawButtonFace(transparent, face);
    EXPECT_TRUE(transparent.Of(RecordedOp::Rectangle).empty()) << "the background is left alone";
    EXPECT_EQ(transparent.Of(RecordedOp::LineTo).size(), 4u) << "the frame is still drawn";

    face.transparent = false;
    face.caption = "Ok";
    face.lightColor = 0x00AAAAAA;
    face.shadowColor = 0x00111111;
    face.downColor = 0x00445566;
    face.hotColor = 0x00FFFFFF;
    face.fadeLevel = 8;
    face.enabled = false;
    face.down = true;
    RecordingCanvas disabled;
    DrawButtonFace(disabled, face);
    EXPECT_EQ(disabled.Of(RecordedOp::Rectangle).at(0).brush, 0x00C0C0C0u) << "plain colour: no pressed, no hot";
    EXPECT_EQ(disabled.Of(RecordedOp::LineTo).at(0).pen, 0x00AAAAAAu) << "the frame of a button that is up";
    EXPECT_EQ(OnlyText(disabled).rect.left, 4) << "no press offset";
    EXPECT_EQ(OnlyText(disabled).font.color, 0x00808080u);
}
