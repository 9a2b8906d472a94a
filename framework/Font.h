// A font as a plain value: typeface, size and style, what GDI needs to make
// it. The Win32 side turns it into an HFONT; platform-free code only compares
// and copies it. The colour text is drawn in is the caller's business.
#pragma once

#include <string>

namespace fw {

struct Font {
    std::string name = "MS Sans Serif";
    int height = -11;  // LOGFONT height: negative = character height in pixels (8 pt at 96 dpi)
    bool bold = false;
    bool italic = false;
    bool underline = false;
    bool strikeOut = false;
    int charset = 1;  // DEFAULT_CHARSET

    friend bool operator==(const Font& a, const Font& b) {
        return a.name == b.name && a.height == b.height && a.bold == b.bold && a.italic == b.italic &&
               a.underline == b.underline && a.strikeOut == b.strikeOut && a.charset == b.charset;
    }
    friend bool operator!=(const Font& a, const Font& b) { return !(a == b); }
};

}  // namespace fw
