// Fonts on the Win32 side: the GDI font of a font value.
#pragma once

#include "framework/Font.h"
#include "framework/Handles.h"

namespace fw {

// The GDI font of a font value; fails with fw::Error when GDI can't make it.
unique_hfont CreateUiFont(const Font& font);

}  // namespace fw
