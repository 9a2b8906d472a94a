// What the Win32 test programs share: counted checks that print one line
// each, hex and quoted texts for their messages, waiting, and pixels read
// back from a device context.
#pragma once

#include <windows.h>

#include <cstdio>
#include <functional>
#include <string>
#include <vector>

#include "framework/Handles.h"

namespace testsupport {

inline int& Failures() {
    static int count = 0;
    return count;
}

// Whether passed checks print their line too (failures always do).
inline bool& PrintPasses() {
    static bool print = true;
    return print;
}

// Counts a failure; prints "  ok  what" or "  FAIL what -- detail".
inline bool Check(bool ok, const std::string& what, const std::string& detail = std::string()) {
    if (!ok) ++Failures();
    if (ok && !PrintPasses()) return ok;
    std::printf("  %s %s", ok ? "ok  " : "FAIL", what.c_str());
    if (!ok && !detail.empty()) std::printf(" -- %s", detail.c_str());
    std::printf("\n");
    std::fflush(stdout);
    return ok;
}

inline void Note(const std::string& text) {
    std::printf("  ---- %s\n", text.c_str());
    std::fflush(stdout);
}

// The text in double quotes, line ends shown as \r and \n.
inline std::string Quoted(const std::string& text) {
    std::string out = "\"";
    for (char c : text) {
        if (c == '\r') out += "\\r";
        else if (c == '\n') out += "\\n";
        else out += c;
    }
    return out + "\"";
}

// The value in upper-case hex, at least digits wide.
inline std::string Hex(unsigned long value, int digits = 8) {
    char text[24];
    std::snprintf(text, sizeof text, "%0*lX", digits, value);
    return text;
}

inline bool CheckText(const std::string& what, const std::string& actual, const std::string& expected) {
    return Check(actual == expected, what + " is " + Quoted(expected), "got " + Quoted(actual));
}

inline bool CheckLines(const std::string& what, const std::vector<std::string>& actual,
                       const std::vector<std::string>& expected) {
    std::string got;
    for (const std::string& line : actual) got += "\n        " + Quoted(line);
    return Check(actual == expected, what + " (" + std::to_string(expected.size()) + " lines)",
                 "got " + std::to_string(actual.size()) + " lines:" + got);
}

inline bool CheckColor(COLORREF actual, COLORREF expected, const std::string& what) {
    return Check(actual == expected, what + ": " + Hex(actual) + ", expected " + Hex(expected));
}

// Polls until the condition holds or the time-out passes.
inline bool WaitUntil(const std::function<bool()>& condition, DWORD timeoutMs = 15000) {
    const DWORD start = GetTickCount();
    for (;;) {
        if (condition()) return true;
        if (GetTickCount() - start > timeoutMs) return false;
        Sleep(20);
    }
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
    CloseHandle(
        CreateThread(nullptr, 0, &WatchdogThread, reinterpret_cast<void*>(static_cast<INT_PTR>(seconds)), 0, nullptr));
}

inline void PumpMessages() {
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
}

// Pixels as colours 0x00BBGGRR, rows top-down.
struct Image {
    int width = 0, height = 0;
    std::vector<COLORREF> pixels;
    COLORREF At(int x, int y) const { return pixels[static_cast<size_t>(y) * width + x]; }
};

// The rectangle of a DC at (x, y), read back through a 32-bit DIB; empty
// when no DIB can be made.
inline Image Capture(HDC source, int x, int y, int width, int height) {
    Image image;
    BITMAPINFO format = {};
    format.bmiHeader.biSize = sizeof format.bmiHeader;
    format.bmiHeader.biWidth = width;
    format.bmiHeader.biHeight = -height;  // top-down
    format.bmiHeader.biPlanes = 1;
    format.bmiHeader.biBitCount = 32;
    format.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    fw::unique_hdc dc(CreateCompatibleDC(nullptr));
    fw::unique_hbitmap bitmap(CreateDIBSection(dc.get(), &format, DIB_RGB_COLORS, &bits, nullptr, 0));
    if (!dc || !bitmap || !bits) return image;
    {
        fw::unique_select selected(dc.get(), bitmap.get());
        BitBlt(dc.get(), 0, 0, width, height, source, x, y, SRCCOPY);
        GdiFlush();
    }
    image.width = width;
    image.height = height;
    const DWORD* words = static_cast<const DWORD*>(bits);
    for (int i = 0; i < width * height; ++i)
        image.pixels.push_back(RGB((words[i] >> 16) & 0xFF, (words[i] >> 8) & 0xFF, words[i] & 0xFF));
    return image;
}

// A window's client area as the screen shows it.
inline Image CaptureFromScreen(HWND window) {
    RECT r;
    GetClientRect(window, &r);
    POINT origin = {0, 0};
    ClientToScreen(window, &origin);
    fw::window_dc screen(nullptr);
    return Capture(screen.get(), origin.x, origin.y, r.right, r.bottom);
}

// Renders into a memory DC of the given size with paint(dc), and reads it back.
template <typename Paint>
Image Render(int width, int height, Paint paint) {
    fw::window_dc screen(nullptr);
    fw::unique_hdc dc(CreateCompatibleDC(screen.get()));
    fw::unique_hbitmap bitmap(CreateCompatibleBitmap(screen.get(), width, height));
    fw::unique_select selected(dc.get(), bitmap.get());
    paint(dc.get());
    return Capture(dc.get(), 0, 0, width, height);
}

}  // namespace testsupport
