// Shared pieces of the button programs run under Wine: failure counting, a
// host window with a panel like the kit's, and pixel capture.
#pragma once

#include <windows.h>

#include <cstdio>
#include <string>
#include <vector>

#include "controls/LbColor.h"

namespace lbtest {

inline int& Failures() {
    static int count = 0;
    return count;
}

inline void Check(bool ok, const std::string& what) {
    if (ok) return;
    ++Failures();
    std::printf("FAILED: %s\n", what.c_str());
    std::fflush(stdout);
}

inline std::string Hex(TColor color) {
    char text[16];
    std::snprintf(text, sizeof text, "%08lX", static_cast<unsigned long>(color));
    return text;
}

inline void CheckColor(TColor actual, TColor expected, const std::string& what) {
    Check(actual == expected, what + ": " + Hex(actual) + ", expected " + Hex(expected));
}

inline DWORD WINAPI WatchdogThread(void* seconds) {
    const int limit = static_cast<int>(reinterpret_cast<INT_PTR>(seconds));
    Sleep(static_cast<DWORD>(limit) * 1000);
    std::printf("FAILED: still running after %d s, something hangs\n", limit);
    std::fflush(stdout);
    ExitProcess(3);
}

// Ends the program with a failure if it is still running after the given
// time: a hang fails the test instead of stalling it.
inline void StartWatchdog(int seconds) {
    CloseHandle(CreateThread(nullptr, 0, &WatchdogThread, reinterpret_cast<void*>(static_cast<INT_PTR>(seconds)), 0, nullptr));
}

constexpr TColor kPanelColor = 0x005BCECB;

// A panel that paints its colour and a one-pixel raised bevel, also on request.
inline void PaintPanel(HWND panel, HDC dc) {
    RECT r;
    GetClientRect(panel, &r);
    HBRUSH fill = CreateSolidBrush(kPanelColor);
    FillRect(dc, &r, fill);
    DeleteObject(fill);
    DrawEdge(dc, &r, BDR_RAISEDOUTER, BF_RECT);
}

inline LRESULT CALLBACK PanelProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
    case WM_ERASEBKGND:
    case WM_PRINTCLIENT: PaintPanel(hwnd, reinterpret_cast<HDC>(wParam)); return 1;
    case WM_PAINT: {
        PAINTSTRUCT ps;
        HDC dc = BeginPaint(hwnd, &ps);
        PaintPanel(hwnd, dc);
        EndPaint(hwnd, &ps);
        return 0;
    }
    }
    return DefWindowProcA(hwnd, msg, wParam, lParam);
}

// A visible top-level window holding a 425 x 161 panel at (8, 8); returns the panel.
inline HWND CreateHostPanel(HWND* form) {
    WNDCLASSA wc = {};
    wc.lpfnWndProc = DefWindowProcA;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.hbrBackground = static_cast<HBRUSH>(GetStockObject(GRAY_BRUSH));
    wc.lpszClassName = "LbTestForm";
    RegisterClassA(&wc);
    wc.lpfnWndProc = PanelProc;
    wc.hbrBackground = nullptr;
    wc.lpszClassName = "LbTestPanel";
    RegisterClassA(&wc);
    *form = CreateWindowExA(0, "LbTestForm", "Buttons", WS_POPUP | WS_VISIBLE | WS_CLIPCHILDREN, 40, 40, 441, 177,
                            nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
    HWND panel = CreateWindowExA(0, "LbTestPanel", "", WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN, 8, 8, 425, 161, *form,
                                 nullptr, GetModuleHandleA(nullptr), nullptr);
    UpdateWindow(*form);
    return panel;
}

inline void PumpMessages() {
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
}

// A 32-bit top-down image read back from a DC.
struct Image {
    int width = 0, height = 0;
    std::vector<TColor> pixels;
    TColor At(int x, int y) const { return pixels[static_cast<size_t>(y) * width + x]; }
};

inline Image Capture(HDC source, int x, int y, int width, int height) {
    Image image;
    image.width = width;
    image.height = height;
    BITMAPINFO format = {};
    format.bmiHeader.biSize = sizeof format.bmiHeader;
    format.bmiHeader.biWidth = width;
    format.bmiHeader.biHeight = -height;
    format.bmiHeader.biPlanes = 1;
    format.bmiHeader.biBitCount = 32;
    void* bits = nullptr;
    HDC dc = CreateCompatibleDC(nullptr);
    HBITMAP bitmap = CreateDIBSection(dc, &format, DIB_RGB_COLORS, &bits, nullptr, 0);
    HGDIOBJ old = SelectObject(dc, bitmap);
    BitBlt(dc, 0, 0, width, height, source, x, y, SRCCOPY);
    GdiFlush();
    const DWORD* words = static_cast<const DWORD*>(bits);
    for (int i = 0; i < width * height; ++i)
        image.pixels.push_back(MakeColor((words[i] >> 16) & 0xFF, (words[i] >> 8) & 0xFF, words[i] & 0xFF));
    SelectObject(dc, old);
    DeleteObject(bitmap);
    DeleteDC(dc);
    return image;
}

// Renders into a memory DC of the given size with paint(dc), and reads it back.
template <typename Paint>
Image Render(int width, int height, Paint paint) {
    HDC screen = GetDC(nullptr);
    HDC dc = CreateCompatibleDC(screen);
    HBITMAP bitmap = CreateCompatibleBitmap(screen, width, height);
    ReleaseDC(nullptr, screen);
    HGDIOBJ old = SelectObject(dc, bitmap);
    paint(dc);
    Image image = Capture(dc, 0, 0, width, height);
    SelectObject(dc, old);
    DeleteObject(bitmap);
    DeleteDC(dc);
    return image;
}

}  // namespace lbtest
