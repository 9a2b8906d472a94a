#include "framework/Window.h"

#include <exception>

#include "framework/Application.h"
#include "framework/Error.h"

namespace fw {

void Window::RegisterWindowClass(const char* className, UINT classStyle, HCURSOR cursor) {
    WNDCLASSEXA wc = {};
    if (GetClassInfoExA(GetModuleHandleA(nullptr), className, &wc)) return;
    wc.cbSize = sizeof wc;
    wc.style = classStyle;
    wc.lpfnWndProc = &Window::WindowProc;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.hCursor = cursor;
    wc.hIcon = LoadIconA(wc.hInstance, "MAINICON");
    wc.lpszClassName = className;
    if (!RegisterClassExA(&wc)) throw Error(std::string("Cannot register window class ") + className);
}

void Window::CreateHandle(DWORD exStyle, const char* className, const char* text, DWORD style, int left, int top,
                          int width, int height, HWND parent) {
    HWND hwnd = CreateWindowExA(exStyle, className, text, style, left, top, width, height, parent, nullptr,
                                GetModuleHandleA(nullptr), this);
    if (!hwnd) throw Error(std::string("Cannot create window ") + className);
}

LRESULT Window::HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
    return DefaultHandler(msg, wParam, lParam);
}

LRESULT Window::DefaultHandler(UINT msg, WPARAM wParam, LPARAM lParam) {
    return DefWindowProcA(hwnd_.get(), msg, wParam, lParam);
}

LRESULT CALLBACK Window::WindowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    Window* self = nullptr;
    if (msg == WM_NCCREATE) {
        self = static_cast<Window*>(reinterpret_cast<CREATESTRUCTA*>(lParam)->lpCreateParams);
        self->hwnd_.reset(hwnd);
        SetWindowLongPtrA(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
    } else {
        self = reinterpret_cast<Window*>(GetWindowLongPtrA(hwnd, GWLP_USERDATA));
    }
    if (!self) return DefWindowProcA(hwnd, msg, wParam, lParam);
    if (msg == WM_NCDESTROY) {
        // The window is gone: detach so the owner doesn't destroy it again.
        SetWindowLongPtrA(hwnd, GWLP_USERDATA, 0);
        self->hwnd_.release();
        return DefWindowProcA(hwnd, msg, wParam, lParam);
    }
    try {
        return self->HandleMessage(msg, wParam, lParam);
    } catch (const std::exception& failure) {
        ReportException(failure);
        return 0;
    }
}

}  // namespace fw
