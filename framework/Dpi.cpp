#include "framework/Dpi.h"

#include "framework/Handles.h"

namespace fw {

namespace {

// A function of user32 that older systems lack, or null.
template <typename Function>
Function User32Function(const char* name) {
    return reinterpret_cast<Function>(
        reinterpret_cast<void (*)()>(GetProcAddress(GetModuleHandleA("user32.dll"), name)));
}

// DPI_AWARENESS_CONTEXT_PER_MONITOR_AWARE_V2, which older SDKs lack.
const HANDLE kPerMonitorAwareV2 = reinterpret_cast<HANDLE>(static_cast<INT_PTR>(-4));

}  // namespace

void BecomeDpiAware() {
    using SetContext = BOOL(WINAPI*)(HANDLE);
    if (const auto setContext = User32Function<SetContext>("SetProcessDpiAwarenessContext")) {
        if (setContext(kPerMonitorAwareV2)) return;
        // Already set, by the manifest: that one stands.
        if (GetLastError() == ERROR_ACCESS_DENIED) return;
    }
    SetProcessDPIAware();
}

int DpiOf(HWND window) {
    using GetDpi = UINT(WINAPI*)(HWND);
    if (window)
        if (const auto getDpi = User32Function<GetDpi>("GetDpiForWindow"))
            if (const UINT dpi = getDpi(window)) return static_cast<int>(dpi);
    window_dc screen(nullptr);
    const int dpi = screen.get() ? GetDeviceCaps(screen.get(), LOGPIXELSY) : 0;
    return dpi > 0 ? dpi : kBaseDpi;
}

RECT WindowRectFor(int clientWidth, int clientHeight, DWORD style, DWORD exStyle, int dpi) {
    RECT frame = {0, 0, clientWidth, clientHeight};
    using AdjustForDpi = BOOL(WINAPI*)(RECT*, DWORD, BOOL, DWORD, UINT);
    const auto adjustForDpi = User32Function<AdjustForDpi>("AdjustWindowRectExForDpi");
    if (adjustForDpi && adjustForDpi(&frame, style, FALSE, exStyle, static_cast<UINT>(dpi))) return frame;
    frame = {0, 0, clientWidth, clientHeight};
    AdjustWindowRectEx(&frame, style, FALSE, exStyle);
    return frame;
}

}  // namespace fw
