// The drawing surface the button face painter draws on. The operations and
// their pixel rules are those of GDI: right and bottom edges are excluded,
// Rectangle and RoundRect outline with the pen and fill with the brush, a
// clear pen or brush draws nothing. Colours may be system colours; the
// surface resolves them.
#pragma once

#include <string>

#include "controls/Bitmap.h"
#include "controls/ButtonFont.h"
#include "controls/Color.h"

namespace lb {

enum class Pen { Solid, Clear };
enum class Brush { Solid, Clear };

struct Rect {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;
};

// Text formats; the values are those of the Win32 DT_ flags.
namespace dt {
constexpr unsigned Center = 0x01;
constexpr unsigned Right = 0x02;
constexpr unsigned VCenter = 0x04;
constexpr unsigned WordBreak = 0x10;
constexpr unsigned SingleLine = 0x20;
constexpr unsigned CalcRect = 0x400;
}  // namespace dt

class Canvas : public SystemColors {
public:
    virtual ~Canvas() = default;

    virtual void SetPenColor(TColor color) = 0;
    virtual void SetPenStyle(Pen style) = 0;
    virtual Pen PenStyle() const = 0;
    // Setting the brush colour also makes the brush solid.
    virtual void SetBrushColor(TColor color) = 0;
    virtual void SetBrushStyle(Brush style) = 0;
    // Selects the font and its colour for the text drawn from now on.
    virtual void SetFont(const ButtonFont& font) = 0;

    virtual void Rectangle(int left, int top, int right, int bottom) = 0;
    virtual void RoundRect(int left, int top, int right, int bottom, int ellipseWidth, int ellipseHeight) = 0;
    virtual void MoveTo(int x, int y) = 0;
    virtual void LineTo(int x, int y) = 0;
    virtual void FillRect(const Rect& rect) = 0;
    // Text with a clear brush leaves the background as it is. With
    // dt::CalcRect nothing is drawn and rect receives the text's extent.
    // Returns the height of the text.
    virtual int DrawFormattedText(const std::string& text, Rect& rect, unsigned format) = 0;
    virtual int TextWidth(const std::string& text) = 0;
    // Draws bitmap with its top-left corner at (x, y), leaving the pixels of
    // the transparent colour out.
    virtual void DrawTransparent(const Bitmap& bitmap, int x, int y, TColor transparent) = 0;
    // A bitmap resource of the program; null when there is none of that name.
    // Fails with fw::Error when one is there but can't be loaded.
    virtual const Bitmap* ResourceBitmap(const char* name) = 0;
};

}  // namespace lb
