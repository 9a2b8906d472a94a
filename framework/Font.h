// A font as a plain value: what a control needs to know to draw text with it.
// The Win32 side turns it into an HFONT; platform-free code only compares and
// copies it.
#pragma once

#include <cstdint>
#include <string>

namespace fw {

struct Font {
    std::string name = "MS Sans Serif";
    int height = -11;  // LOGFONT height: negative = character height in pixels (8 pt at 96 dpi)
    bool bold = false;
    bool italic = false;
    bool underline = false;
    bool strikeOut = false;
    int charset = 1;                   // DEFAULT_CHARSET
    std::uint32_t color = 0xFF000008;  // 0x00BBGGRR, or a system colour (here the window text colour)

    // Same typeface, size and style; the colour is not part of the GDI font.
    bool SameFace(const Font& other) const {
        return name == other.name && height == other.height && bold == other.bold && italic == other.italic &&
               underline == other.underline && strikeOut == other.strikeOut && charset == other.charset;
    }
    friend bool operator==(const Font& a, const Font& b) { return a.SameFace(b) && a.color == b.color; }
    friend bool operator!=(const Font& a, const Font& b) { return !(a == b); }
};

}  // namespace fw
