#include "controls/FontCache.h"

#include "framework/UiFont.h"

namespace lb {

HFONT FontCache::Get(const fw::Font& font) {
    for (const Entry& entry : entries_)
        if (entry.font == font) return entry.handle.get();
    fw::unique_hfont handle = fw::CreateUiFont(font);
    entries_.push_back(Entry{font, std::move(handle)});
    return entries_.back().handle.get();
}

}  // namespace lb
