#include "controls/GdiError.h"

#include <windows.h>

#include "framework/Win32Error.h"

namespace lb {

void ThrowGdiFailure(const char* what) { throw fw::Win32Error(what, ERROR_NOT_ENOUGH_MEMORY); }

}  // namespace lb
