#include "controls/FontCache.h"

#include "controls/GdiError.h"
#include "framework/Controls.h"

namespace lb {

HFONT FontCache::Get(const fw::Font& font) {
    for (const Entry& entry : entries_)
        if (entry.font == font) return entry.handle.get();
    fw::unique_hfont handle = fw::CreateUiFont(font);
    if (!handle) ThrowGdiFailure(("Cannot create font " + font.name).c_str());
    entries_.push_back(Entry{font, std::move(handle)});
    return entries_.back().handle.get();
}

}  // namespace lb
