#include "framework/UiFont.h"

#include "framework/Win32Error.h"
#include "framework/Utf16.h"

namespace fw {

unique_hfont CreateUiFont(const Font& font) {
    LOGFONTW log = {};
    log.lfHeight = font.height;
    log.lfWeight = font.bold ? FW_BOLD : FW_NORMAL;
    log.lfItalic = font.italic;
    log.lfUnderline = font.underline;
    log.lfStrikeOut = font.strikeOut;
    log.lfCharSet = static_cast<BYTE>(font.charset);
    log.lfOutPrecision = OUT_DEFAULT_PRECIS;
    log.lfClipPrecision = CLIP_DEFAULT_PRECIS;
    log.lfQuality = DEFAULT_QUALITY;
    log.lfPitchAndFamily = DEFAULT_PITCH | FF_DONTCARE;
    lstrcpynW(log.lfFaceName, WideText(font.name).c_str(), LF_FACESIZE);
    unique_hfont created(CreateFontIndirectW(&log));
    if (!created) ThrowGdiFailure("Cannot create a font");
    return created;
}

}  // namespace fw
