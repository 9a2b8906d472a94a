#include "controls/LbSpeedButton.h"

#include <windowsx.h>

#include <stdexcept>

#include "controls/LbButtonThread.h"
#include "framework/Application.h"

namespace {

void RegisterButtonClass(WNDPROC proc) {
    WNDCLASSA wc = {};
    if (GetClassInfoA(GetModuleHandleA(nullptr), TLbSpeedButton::kClassName, &wc)) return;
    wc.style = CS_DBLCLKS;
    wc.lpfnWndProc = proc;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.hCursor = LoadCursor(nullptr, IDC_ARROW);
    wc.lpszClassName = TLbSpeedButton::kClassName;
    if (!RegisterClassA(&wc)) throw std::runtime_error("Cannot register the speed button's window class");
}

bool IsButtonWindow(HWND hwnd) {
    char name[32] = {};
    GetClassNameA(hwnd, name, sizeof name);
    return lstrcmpA(name, TLbSpeedButton::kClassName) == 0;
}

}  // namespace

TLbSpeedButton::TLbSpeedButton() : TLbSpeedButtonCore(static_cast<ILbButtonHost&>(*this)) {}

TLbSpeedButton::~TLbSpeedButton() {
    BeginDestroy();  // the fade ticker ends while this object is whole
    if (hwnd_) DestroyWindow(hwnd_);
}

TLbSpeedButton* TLbSpeedButton::FromHandle(HWND hwnd) {
    if (!hwnd || !IsButtonWindow(hwnd)) return nullptr;
    return reinterpret_cast<TLbSpeedButton*>(GetWindowLongPtrA(hwnd, GWLP_USERDATA));
}

void TLbSpeedButton::Create(HWND parent, int left, int top, int width, int height) {
    RegisterButtonClass(&WndProc);
    SetSize(width, height);
    DWORD style = WS_CHILD | WS_CLIPSIBLINGS;
    if (visible_) style |= WS_VISIBLE;
    if (!Enabled()) style |= WS_DISABLED;
    hwnd_ = CreateWindowExA(0, kClassName, Caption().c_str(), style, left, top, width, height, parent, nullptr,
                            GetModuleHandleA(nullptr), this);
    if (!hwnd_) throw std::runtime_error("Cannot create the speed button's window");
    // A button that follows its parent's font takes the one the parent has.
    if (ParentFont()) {
        if (HFONT font = reinterpret_cast<HFONT>(SendMessageA(parent, WM_GETFONT, 0, 0))) {
            LOGFONTA log = {};
            if (GetObjectA(font, sizeof log, &log)) {
                fw::Font value = Font();
                value.name = log.lfFaceName;
                value.height = log.lfHeight;
                value.bold = log.lfWeight >= FW_BOLD;
                value.italic = log.lfItalic != 0;
                value.underline = log.lfUnderline != 0;
                value.strikeOut = log.lfStrikeOut != 0;
                value.charset = log.lfCharSet;
                ParentFontChanged(value);
            }
        }
    }
}

void TLbSpeedButton::SetBounds(int left, int top, int width, int height) {
    if (hwnd_) MoveWindow(hwnd_, left, top, width, height, TRUE);
    else SetSize(width, height);
}

void TLbSpeedButton::SetVisible(bool visible) {
    visible_ = visible;
    if (hwnd_) ShowWindow(hwnd_, visible ? SW_SHOWNA : SW_HIDE);
}

//--- Painting

void TLbSpeedButton::PaintParentBackground(HDC dc) {
    HWND parent = GetParent(hwnd_);
    const RECT whole = {0, 0, Width(), Height()};
    FillRect(dc, &whole, GetSysColorBrush(COLOR_BTNFACE));
    if (!parent) return;
    POINT origin = {0, 0};
    MapWindowPoints(hwnd_, parent, &origin, 1);
    POINT previous = {};
    SetViewportOrgEx(dc, -origin.x, -origin.y, &previous);
    SendMessageA(parent, WM_ERASEBKGND, reinterpret_cast<WPARAM>(dc), 0);
    SendMessageA(parent, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(dc), PRF_CLIENT);
    SetViewportOrgEx(dc, previous.x, previous.y, nullptr);
}

void TLbSpeedButton::DrawFace() {
    const int w = Width(), h = Height();
    face_.Resize(w, h);
    TLbGdiCanvas canvas(face_.Dc(), fonts_);
    if (FaceUsesKeyColor()) {
        canvas.SetBrushColor(clLbKeyColor);
        canvas.FillRect({0, 0, w, h});
    }
    Paint(canvas);
}

void TLbSpeedButton::PaintFaceTo(HDC dc) {
    if (Width() <= 0 || Height() <= 0) return;
    DrawFace();
    BitBlt(dc, 0, 0, Width(), Height(), face_.Dc(), 0, 0, SRCCOPY);
}

// Puts the face over the parent's background in the composition surface,
// leaving out the face's key-colour pixels.
void TLbSpeedButton::ComposeFace() {
    const int w = Width(), h = Height();
    composition_.Resize(w, h);
    PaintParentBackground(composition_.Dc());
    GdiFlush();
    const DWORD key = ColorToDib(clLbKeyColor);
    const DWORD* face = face_.Bits();
    DWORD* target = composition_.Bits();
    for (int i = 0, n = w * h; i < n; ++i)
        if (face[i] != key) target[i] = face[i];
}

void TLbSpeedButton::PaintTo(HDC dc) {
    const int w = Width(), h = Height();
    if (w <= 0 || h <= 0) return;
    DrawFace();
    if (!FaceUsesKeyColor() || !hwnd_) {
        BitBlt(dc, 0, 0, w, h, face_.Dc(), 0, 0, SRCCOPY);
        return;
    }
    ComposeFace();
    BitBlt(dc, 0, 0, w, h, composition_.Dc(), 0, 0, SRCCOPY);
}

void TLbSpeedButton::MsgPaint() {
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(hwnd_, &ps);
    try {
        PaintTo(dc);
    } catch (...) {
        EndPaint(hwnd_, &ps);
        throw;
    }
    EndPaint(hwnd_, &ps);
}

//--- ILbButtonHost

void TLbSpeedButton::Invalidate() {
    if (hwnd_) InvalidateRect(hwnd_, nullptr, FALSE);
}

void TLbSpeedButton::PaintNow() {
    if (!hwnd_ || !IsWindowVisible(hwnd_)) return;
    fw::unique_hdc_window dc(hwnd_);
    if (dc.get()) PaintTo(dc.get());
}

bool TLbSpeedButton::Showing() const { return visible_ && hwnd_ && IsWindowVisible(hwnd_); }

int TLbSpeedButton::ScreenBitsPerPixel() const {
    fw::unique_hdc_window dc(hwnd_);
    return dc.get() ? GetDeviceCaps(dc.get(), BITSPIXEL) * GetDeviceCaps(dc.get(), PLANES) : 32;
}

std::vector<TLbSpeedButtonCore*> TLbSpeedButton::SiblingButtons() {
    std::vector<TLbSpeedButtonCore*> buttons;
    HWND parent = hwnd_ ? GetParent(hwnd_) : nullptr;
    if (!parent) return buttons;
    for (HWND child = GetWindow(parent, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT))
        if (TLbSpeedButton* button = FromHandle(child); button && button != this) buttons.push_back(button);
    return buttons;
}

std::unique_ptr<ILbFadeTicker> TLbSpeedButton::CreateFadeTicker(std::function<void()> tick) {
    return std::make_unique<TLbButtonThread>(std::move(tick));
}

TLbPoint TLbSpeedButton::ClientToScreen(TLbPoint point) const {
    POINT p = {point.x, point.y};
    if (hwnd_) ::ClientToScreen(hwnd_, &p);
    return {p.x, p.y};
}

void TLbSpeedButton::CaptionChanged() {
    if (hwnd_ && !syncingWindow_) SetWindowTextA(hwnd_, Caption().c_str());
}

void TLbSpeedButton::EnabledChanged() {
    if (hwnd_ && !syncingWindow_) EnableWindow(hwnd_, Enabled());
}

//--- Mouse

void TLbSpeedButton::MsgMouseMove(WPARAM keys, int x, int y) {
    RECT client;
    GetClientRect(hwnd_, &client);
    const bool inside = PtInRect(&client, POINT{x, y}) != FALSE;
    if (inside && !hovering_) {
        TRACKMOUSEEVENT track = {sizeof track, TME_LEAVE, hwnd_, 0};
        TrackMouseEvent(&track);
        hovering_ = true;
        MouseEnter();
    } else if (!inside && hovering_) {
        // Only seen while the mouse is captured: the pointer left a pressed button.
        hovering_ = false;
        MouseLeave();
    }
    MouseMove(static_cast<TShiftState>(keys), x, y);
}

void TLbSpeedButton::MsgMouseLeave() {
    if (!hovering_) return;
    hovering_ = false;
    MouseLeave();
}

void TLbSpeedButton::MsgButtonDown(TMouseButton button, WPARAM keys, int x, int y) {
    if (button == TMouseButton::mbLeft) {
        SetCapture(hwnd_);
        clickPending_ = true;
    }
    MouseDown(button, static_cast<TShiftState>(keys), x, y);
}

void TLbSpeedButton::MsgButtonUp(TMouseButton button, WPARAM keys, int x, int y) {
    bool click = false;
    if (button == TMouseButton::mbLeft) {
        RECT client;
        GetClientRect(hwnd_, &client);
        click = clickPending_ && PtInRect(&client, POINT{x, y});
        clickPending_ = false;
        if (GetCapture() == hwnd_) ReleaseCapture();
    }
    // The click comes first, while the button still shows pressed.
    if (click) {
        try {
            Click();
        } catch (...) {
            MouseUp(button, static_cast<TShiftState>(keys), x, y);
            throw;
        }
    }
    MouseUp(button, static_cast<TShiftState>(keys), x, y);
}

bool TLbSpeedButton::MsgSetCursor(LPARAM hitTest) {
    if (LOWORD(hitTest) != HTCLIENT || Cursor() != crHandPoint) return false;
    ::SetCursor(LoadCursor(nullptr, IDC_HAND));
    return true;
}

//--- Window state kept in step with the button

void TLbSpeedButton::MsgSetText(const char* text) {
    syncingWindow_ = true;
    SetCaption(text ? text : "");
    syncingWindow_ = false;
}

void TLbSpeedButton::MsgSize(int width, int height) {
    SetSize(width, height);
    Invalidate();
}

//--- Window procedure

LRESULT CALLBACK TLbSpeedButton::WndProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg == WM_NCCREATE) {
        auto* create = reinterpret_cast<CREATESTRUCTA*>(lParam);
        auto* self = static_cast<TLbSpeedButton*>(create->lpCreateParams);
        self->hwnd_ = hwnd;
        SetWindowLongPtrA(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
    }
    auto* self = reinterpret_cast<TLbSpeedButton*>(GetWindowLongPtrA(hwnd, GWLP_USERDATA));
    if (!self) return DefWindowProcA(hwnd, msg, wParam, lParam);
    try {
        return self->HandleMessage(msg, wParam, lParam);
    } catch (const std::exception& e) {
        fw::ReportException(e);
    } catch (...) {
        fw::ReportException(std::runtime_error("Unknown failure in a button"));
    }
    return 0;
}

LRESULT TLbSpeedButton::HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
    const int x = GET_X_LPARAM(lParam), y = GET_Y_LPARAM(lParam);
    switch (msg) {
    case WM_PAINT: MsgPaint(); return 0;
    case WM_PRINTCLIENT: PaintTo(reinterpret_cast<HDC>(wParam)); return 0;
    case WM_ERASEBKGND: return 1;  // the paint covers everything
    case WM_MOUSEACTIVATE: return MA_NOACTIVATE;
    case WM_SETCURSOR:
        if (MsgSetCursor(lParam)) return TRUE;
        break;
    case WM_MOUSEMOVE: MsgMouseMove(wParam, x, y); return 0;
    case WM_MOUSELEAVE: MsgMouseLeave(); return 0;
    // A double-click is one more press: two quick clicks give two clicks.
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK: MsgButtonDown(TMouseButton::mbLeft, wParam, x, y); return 0;
    case WM_RBUTTONDOWN: MsgButtonDown(TMouseButton::mbRight, wParam, x, y); return 0;
    case WM_MBUTTONDOWN: MsgButtonDown(TMouseButton::mbMiddle, wParam, x, y); return 0;
    case WM_LBUTTONUP: MsgButtonUp(TMouseButton::mbLeft, wParam, x, y); return 0;
    case WM_RBUTTONUP: MsgButtonUp(TMouseButton::mbRight, wParam, x, y); return 0;
    case WM_MBUTTONUP: MsgButtonUp(TMouseButton::mbMiddle, wParam, x, y); return 0;
    case WM_CAPTURECHANGED:
        // Capture taken away mid-press: no click will come, so let go.
        if (clickPending_) {
            clickPending_ = false;
            if (GroupIndex() == 0) SetDown(false);
        }
        return 0;
    case WM_SETTEXT: {
        const LRESULT result = DefWindowProcA(hwnd_, msg, wParam, lParam);
        MsgSetText(reinterpret_cast<const char*>(lParam));
        return result;
    }
    case WM_ENABLE:
        syncingWindow_ = true;
        SetEnabled(wParam != FALSE);
        syncingWindow_ = false;
        return 0;
    case WM_SIZE: MsgSize(LOWORD(lParam), HIWORD(lParam)); return 0;
    case WM_SHOWWINDOW:
        if (lParam == 0) visible_ = wParam != FALSE;  // not a parent being shown or hidden
        break;
    case WM_NCDESTROY:
        SetWindowLongPtrA(hwnd_, GWLP_USERDATA, 0);
        hwnd_ = nullptr;
        return 0;
    }
    return DefWindowProcA(hwnd_, msg, wParam, lParam);
}
