// The failure of a GDI call that sets no last error.
#pragma once

#include <windows.h>

#include "framework/Win32Error.h"

namespace lb {

// GDI's object makers (CreateCompatibleDC, CreateFontIndirect, GetObject)
// report a failure by their result alone, and they fail for want of GDI
// resources, so that is the reason given instead of a stale last error.
[[noreturn]] inline void ThrowGdiFailure(const char* what) { fw::ThrowWin32Error(what, ERROR_NOT_ENOUGH_MEMORY); }

}  // namespace lb
