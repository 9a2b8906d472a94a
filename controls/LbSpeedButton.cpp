#include "controls/LbSpeedButton.h"

#include "framework/Application.h"

namespace {
const char kClassName[] = "TLbSpeedButton";

void RegisterClassOnce() {
    static bool registered = false;
    if (registered) return;
    WNDCLASSA wc = {};
    wc.lpfnWndProc = DefWindowProcA;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.hCursor = LoadCursor(nullptr, IDC_HAND);
    wc.lpszClassName = kClassName;
    RegisterClassA(&wc);
    registered = true;
}
}  // namespace

TLbSpeedButton::~TLbSpeedButton() {
    if (hwnd_) DestroyWindow(hwnd_);
}

void TLbSpeedButton::Create(HWND parent, int left, int top, int width, int height) {
    RegisterClassOnce();
    hwnd_ = CreateWindowExA(0, kClassName, caption_.c_str(), WS_CHILD | WS_VISIBLE, left, top, width, height,
                            parent, nullptr, GetModuleHandleA(nullptr), nullptr);
    SetWindowLongPtrA(hwnd_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    SetWindowLongPtrA(hwnd_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&WndProc));
    EnableWindow(hwnd_, enabled_);
}

void TLbSpeedButton::SetCaption(const std::string& caption) {
    caption_ = caption;
    if (hwnd_) {
        SetWindowTextA(hwnd_, caption_.c_str());
        InvalidateRect(hwnd_, nullptr, TRUE);
    }
}

void TLbSpeedButton::SetEnabled(bool enabled) {
    enabled_ = enabled;
    if (hwnd_) {
        EnableWindow(hwnd_, enabled);
        InvalidateRect(hwnd_, nullptr, TRUE);
    }
}

LRESULT CALLBACK TLbSpeedButton::WndProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    auto* self = reinterpret_cast<TLbSpeedButton*>(GetWindowLongPtrA(hwnd, GWLP_USERDATA));
    try {
        switch (msg) {
        case WM_PAINT: {
            PAINTSTRUCT ps;
            HDC dc = BeginPaint(hwnd, &ps);
            RECT r;
            GetClientRect(hwnd, &r);
            FillRect(dc, &r, GetSysColorBrush(COLOR_BTNFACE));
            DrawEdge(dc, &r, self->pressed_ ? EDGE_SUNKEN : EDGE_RAISED, BF_RECT);
            SetBkMode(dc, TRANSPARENT);
            SetTextColor(dc, GetSysColor(self->enabled_ ? COLOR_BTNTEXT : COLOR_GRAYTEXT));
            DrawTextA(dc, self->caption_.c_str(), -1, &r, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
            EndPaint(hwnd, &ps);
            return 0;
        }
        case WM_LBUTTONDOWN:
        case WM_LBUTTONDBLCLK:
            self->pressed_ = true;
            SetCapture(hwnd);
            InvalidateRect(hwnd, nullptr, TRUE);
            return 0;
        case WM_LBUTTONUP: {
            bool wasPressed = self->pressed_;
            self->pressed_ = false;
            ReleaseCapture();
            InvalidateRect(hwnd, nullptr, TRUE);
            POINT pt = {static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
            RECT r;
            GetClientRect(hwnd, &r);
            if (wasPressed && PtInRect(&r, pt) && self->OnClick) self->OnClick();
            return 0;
        }
        case WM_MOUSEACTIVATE:
            return MA_NOACTIVATE;
        }
    } catch (const std::exception& e) {
        fw::ReportException(e);
        return 0;
    }
    return DefWindowProcA(hwnd, msg, wParam, lParam);
}
