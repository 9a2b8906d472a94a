// The button face painter: renders a whole speed-button face (background,
// frame, caption, glyph cell, drop-down arrow) onto a canvas from plain
// values, plus the enumerations and colour presets the button uses. Keeps no
// state of its own.
#pragma once

#include <string>

#include "controls/Bitmap.h"
#include "controls/ButtonFont.h"
#include "controls/Canvas.h"
#include "controls/Color.h"

namespace lb {

// Fixed underlying types: values outside the named ones are legal and are
// treated as the first one where the painter meets them.
enum TAlignment : int { taLeftJustify, taRightJustify, taCenter };
enum TLbSpeedButtonStyle : int { bsNormal, bsEncarta, bsModern, bsOld, bsShape, bsQuicken };
enum TLbSpeedButtonLayout : int { blGlyphLeft, blGlyphRight, blGlyphTop, blGlyphBottom };
enum TLbColorStyle : int {
    lcsCustom,
    lcsGold,
    lcsChrome,
    lcsBlue,
    lcsRed,
    lcsUltraFlat1,
    lcsUltraFlat2,
    lcsUltraFlatXP,
    lcsAqua,
    lcsDefault,
    lcsQuicken
};

// Whether a value is one of the named ones. The switches have no default, so
// the compiler points here when a value is added.
constexpr bool IsNamedStyle(TLbSpeedButtonStyle style) {
    switch (style) {
    case bsNormal:
    case bsEncarta:
    case bsModern:
    case bsOld:
    case bsShape:
    case bsQuicken: return true;
    }
    return false;
}
constexpr bool IsNamedLayout(TLbSpeedButtonLayout layout) {
    switch (layout) {
    case blGlyphLeft:
    case blGlyphRight:
    case blGlyphTop:
    case blGlyphBottom: return true;
    }
    return false;
}

// Everything one face depends on.
struct ButtonFace {
    int width = 0;
    int height = 0;
    TAlignment alignment = taLeftJustify;
    std::string caption;
    TLbSpeedButtonLayout layout = blGlyphLeft;
    ButtonFont font;
    TColor shadowColor = clBlack;
    TColor lightColor = clWhite;
    TColor hotColor = kNoColor;
    TColor downColor = kNoColor;
    TColor color = clBtnFace;
    TLbSpeedButtonStyle style = bsNormal;
    bool hasPopup = false;
    bool wordWrap = false;
    bool flat = false;
    bool enabled = true;
    bool transparent = false;
    bool mouseInside = false;
    bool down = false;
    const Bitmap* glyph = nullptr;  // strip of cells: normal, disabled, pressed, hot
    int glyphCount = 0;
    int fadeLevel = 0;  // weight of the hot colour in eighths
    // The DPI the face is shown at: every length of the painter's 96-dpi
    // geometry (margins, frame lines, corner ellipse, press offset) scales
    // with it. The size and the font are the caller's, already scaled.
    int dpi = 96;
};

// Draws the face. The canvas's pen, brush and font are left changed.
void DrawButtonFace(Canvas& canvas, const ButtonFace& face);

// 32 bands from one colour to the other, top to bottom, over the rectangle
// (right and bottom excluded).
void FillVerticalGradient(Canvas& canvas, TColor from, TColor to, int left, int top, int right, int bottom);

// The face colour fadeLevel eighths of the way from color to hotColor.
TColor BlendFaceColor(TColor color, TColor hotColor, int fadeLevel, const SystemColors& system);

// Draws the cell of the glyph strip that starts at cellOffset, made
// transparent by the colour of its bottom-left pixel. An offset beyond the
// strip shows cell 0.
void DrawGlyphCell(Canvas& canvas, const Bitmap& glyph, int x, int y, int cellOffset, int glyphHeight, int cellWidth);

// The values one colour preset gives a button.
struct ColorScheme {
    TColor color = clBtnFace;
    TColor lightColor = clWhite;
    TColor shadowColor = clBlack;
    TColor colorWhenDown = kNoColor;
    TColor hotTrackColor = kNoColor;
    bool flat = false;
    TLbSpeedButtonStyle style = bsNormal;
    TColor fontColor = clBlack;
};
// lcsCustom (and unknown values) give the default row of a black font on a
// non-flat button; the button never asks for them.
ColorScheme ColorStylePreset(TLbColorStyle style);

}  // namespace lb
