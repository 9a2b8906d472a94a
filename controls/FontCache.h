// HFONTs for font values, created on first use and kept, so repaints create
// no GDI fonts.
#pragma once

#include <windows.h>

#include <vector>

#include "framework/Font.h"
#include "framework/Handles.h"

namespace lb {

class FontCache {
public:
    // Fails with fw::Error when GDI can't make the font.
    HFONT Get(const fw::Font& font);

private:
    struct Entry {
        fw::Font font;
        fw::unique_hfont handle;
    };
    std::vector<Entry> entries_;
};

}  // namespace lb
