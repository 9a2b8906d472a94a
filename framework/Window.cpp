#include "framework/Window.h"

#include <string>

#include "framework/Align.h"
#include "framework/Guard.h"
#include "framework/Error.h"
#include "framework/Utf16.h"
#include "framework/Win32Error.h"

namespace fw {

namespace {

void RegisterOnce(const WindowClass& windowClass, WNDPROC proc) {
    // Unicode windows: their texts are whatever the kit's UTF-8 holds.
    const WideText name(windowClass.name);
    WNDCLASSEXW wc = {};
    const HINSTANCE instance = GetModuleHandleW(nullptr);
    if (GetClassInfoExW(instance, name.c_str(), &wc)) return;
    wc.cbSize = sizeof wc;
    wc.style = windowClass.style;
    wc.lpfnWndProc = proc;
    wc.hInstance = instance;
    wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    wc.hIcon = LoadIconW(instance, L"MAINICON");
    wc.lpszClassName = name.c_str();
    if (RegisterClassExW(&wc)) return;
    const DWORD code = GetLastError();
    throw Win32Error(std::string("Cannot register window class ") + windowClass.name, code);
}

struct DialogCharRound {
    wchar_t key;
    bool taken;
};

BOOL CALLBACK OfferDialogChar(HWND control, LPARAM context) noexcept {
    auto* round = reinterpret_cast<DialogCharRound*>(context);
    round->taken = SendMessageW(control, CM_DIALOGCHAR, round->key, 0) != 0;
    return round->taken ? FALSE : TRUE;
}

}  // namespace

void NotifyChildren(HWND parent, UINT msg, WPARAM wParam, LPARAM lParam) {
    for (HWND child = GetWindow(parent, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT))
        SendMessageW(child, msg, wParam, lParam);
}

void ArrangeChildren(HWND parent) {
    RECT client;
    if (!GetClientRect(parent, &client)) return;
    Bounds free = {0, 0, client.right, client.bottom};
    for (int pass = alNone; pass <= alClient; ++pass) {
        for (HWND child = GetWindow(parent, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
            auto* placement = reinterpret_cast<const Placement*>(SendMessageW(child, CM_GETPLACEMENT, 0, 0));
            if (!placement || placement->align != pass) continue;
            RECT r;
            GetWindowRect(child, &r);
            MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&r), 2);
            const Bounds b =
                pass == alNone ? Anchored(*placement, client.right, client.bottom)
                               : AlignInto(placement->align, {r.left, r.top, r.right - r.left, r.bottom - r.top}, free);
            SetWindowPos(child, nullptr, b.left, b.top, b.width, b.height, SWP_NOZORDER | SWP_NOACTIVATE);
        }
    }
}

bool WindowColor(HWND window, COLORREF& color) {
    return window && SendMessageW(window, CM_GETCOLOR, 0, reinterpret_cast<LPARAM>(&color)) != 0;
}

bool SendDialogChar(HWND form, wchar_t key) {
    DialogCharRound round = {key, false};
    if (form) EnumChildWindows(form, &OfferDialogChar, reinterpret_cast<LPARAM>(&round));
    return round.taken;
}

void SetColorKey(HWND window, COLORREF key) {
    if (SetLayeredWindowAttributes(window, key, 0, LWA_COLORKEY)) return;
    const DWORD code = GetLastError();
    throw Win32Error("Cannot set the window's see-through colour", code);
}

void Window::CreateHandle(const WindowClass& windowClass, DWORD exStyle, const char* text, DWORD style, int left,
                          int top, int width, int height, HWND parent) {
    RegisterOnce(windowClass, &Window::WindowProc);
    HWND hwnd = CreateWindowExW(exStyle, WideText(windowClass.name).c_str(), WideText(text ? text : "").c_str(), style,
                                left, top, width, height, parent, nullptr, GetModuleHandleW(nullptr), this);
    if (hwnd) return;
    const DWORD code = GetLastError();
    throw Win32Error(std::string("Cannot create window ") + windowClass.name, code);
}

Window* Window::FromHandle(HWND hwnd) {
    return hwnd ? reinterpret_cast<Window*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA)) : nullptr;
}

LRESULT Window::HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) { return DefaultHandler(msg, wParam, lParam); }

LRESULT Window::DefaultHandler(UINT msg, WPARAM wParam, LPARAM lParam) {
    return DefWindowProcW(hwnd_.get(), msg, wParam, lParam);
}

LRESULT CALLBACK Window::WindowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) noexcept {
    Window* self = nullptr;
    if (msg == WM_NCCREATE) {
        self = static_cast<Window*>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams);
        self->hwnd_.reset(hwnd);
        SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
    } else {
        self = FromHandle(hwnd);
    }
    if (!self) return DefWindowProcW(hwnd, msg, wParam, lParam);
    if (msg == WM_NCDESTROY) {
        // The window is gone: detach so the owner doesn't destroy it again.
        SetWindowLongPtrW(hwnd, GWLP_USERDATA, 0);
        self->hwnd_.release();
        return DefWindowProcW(hwnd, msg, wParam, lParam);
    }
    LRESULT result = 0;
    CallGuarded([&] { result = self->HandleMessage(msg, wParam, lParam); });
    return result;
}

}  // namespace fw
