// Display scaling on Win32: the process's DPI awareness and the DPI a window
// is shown at. The functions of later Windows versions are looked up at run
// time, so the kit still starts where they are missing.
#pragma once

#include <windows.h>

#include "framework/DpiScale.h"

namespace fw {

// Makes the process DPI aware where the manifest's declaration wasn't
// honoured: per monitor (v2) where the system has it, else system-wide.
void BecomeDpiAware();

// The DPI window is shown at; for null, the system's.
int DpiOf(HWND window);

// The window rectangle, at the origin, around a client area of the given
// size with the frame of style and exStyle at dpi.
RECT WindowRectFor(int clientWidth, int clientHeight, DWORD style, DWORD exStyle, int dpi);

}  // namespace fw
