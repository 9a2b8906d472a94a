#include "framework/Dpi.h"

#include "framework/Handles.h"
#include "framework/SystemFunction.h"

namespace fw {

namespace {

// DPI_AWARENESS_CONTEXT_PER_MONITOR_AWARE_V2, which older SDKs lack.
const HANDLE kPerMonitorAwareV2 = reinterpret_cast<HANDLE>(static_cast<INT_PTR>(-4));

}  // namespace

void BecomeDpiAware() {
    using SetContext = BOOL(WINAPI*)(HANDLE);
    if (const auto setContext = SystemFunction<SetContext>(L"user32.dll", "SetProcessDpiAwarenessContext")) {
        if (setContext(kPerMonitorAwareV2)) return;
        // Already set, by the manifest: that one stands.
        if (GetLastError() == ERROR_ACCESS_DENIED) return;
    }
    SetProcessDPIAware();
}

int DpiOf(HWND window) {
    using GetDpi = UINT(WINAPI*)(HWND);
    if (window)
        if (const auto getDpi = SystemFunction<GetDpi>(L"user32.dll", "GetDpiForWindow"))
            if (const UINT dpi = getDpi(window)) return static_cast<int>(dpi);
    window_dc screen(nullptr);
    const int dpi = screen.get() ? GetDeviceCaps(screen.get(), LOGPIXELSY) : 0;
    return dpi > 0 ? dpi : kBaseDpi;
}

RECT WindowRectFor(int clientWidth, int clientHeight, DWORD style, DWORD exStyle, int dpi) {
    RECT frame = {0, 0, clientWidth, clientHeight};
    using AdjustForDpi = BOOL(WINAPI*)(RECT*, DWORD, BOOL, DWORD, UINT);
    const auto adjustForDpi = SystemFunction<AdjustForDpi>(L"user32.dll", "AdjustWindowRectExForDpi");
    if (adjustForDpi && adjustForDpi(&frame, style, FALSE, exStyle, static_cast<UINT>(dpi))) return frame;
    frame = {0, 0, clientWidth, clientHeight};
    AdjustWindowRectEx(&frame, style, FALSE, exStyle);
    return frame;
}

}  // namespace fw
