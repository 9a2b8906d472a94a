#include "controls/LbSpeedButton.h"

#include <windowsx.h>

#include "controls/GdiCanvas.h"
#include "controls/LbButtonThread.h"
#include "framework/DpiScale.h"
#include "framework/Utf16.h"

namespace lb {

namespace {

constexpr UINT_PTR kHintTimer = 1;

bool IsButtonWindow(HWND hwnd) {
    wchar_t name[32] = {};
    // A window whose class name can't be read is no button of ours.
    if (!GetClassNameW(hwnd, name, 32)) return false;
    // The class name is ASCII: each of its bytes is one UTF-16 unit.
    const char* ours = TLbSpeedButton::kClassName;
    int i = 0;
    while (ours[i] && name[i] == static_cast<wchar_t>(ours[i])) ++i;
    return !ours[i] && !name[i];
}

}  // namespace

TLbSpeedButton::TLbSpeedButton() : SpeedButtonCore(static_cast<ButtonHost&>(*this)) {}

TLbSpeedButton::~TLbSpeedButton() {
    BeginDestroy();  // the fade ticker ends while this object is whole
    DestroyHandle();
}

TLbSpeedButton* TLbSpeedButton::FromHandle(HWND hwnd) {
    if (!hwnd || !IsButtonWindow(hwnd)) return nullptr;
    return static_cast<TLbSpeedButton*>(Window::FromHandle(hwnd));
}

void TLbSpeedButton::Create(HWND parent, int left, int top, int width, int height) {
    SetSize(width, height);
    DWORD style = WS_CHILD | WS_CLIPSIBLINGS | WS_TABSTOP;
    if (visible_) style |= WS_VISIBLE;
    if (!Enabled()) style |= WS_DISABLED;
    CreateHandle({kClassName, CS_DBLCLKS}, 0, Caption().c_str(), style, left, top, width, height, parent);
    Placed(left, top, width, height);
    ButtonFont formFont;
    if (FontOf(reinterpret_cast<HFONT>(SendMessageW(GetAncestor(parent, GA_ROOT), WM_GETFONT, 0, 0)), formFont))
        OwnerFormFont(formFont);
    FollowParent();
    if (placement_.align != fw::alNone) fw::ArrangeChildren(parent);
}

void TLbSpeedButton::Placed(int left, int top, int width, int height) {
    RECT client = {};
    GetClientRect(GetParent(Handle()), &client);
    placement_.placed = {left, top, width, height};
    placement_.parentWidth = client.right;
    placement_.parentHeight = client.bottom;
}

void TLbSpeedButton::SetAlign(fw::TAlign value) {
    placement_.align = value;
    if (Handle()) fw::ArrangeChildren(GetParent(Handle()));
}

// A button that follows its parent's colour and font takes the ones the
// parent has; the parent tells it of later changes.
void TLbSpeedButton::FollowParent() {
    HWND parent = Handle() ? GetParent(Handle()) : nullptr;
    if (!parent) return;
    COLORREF color = 0;
    if (fw::WindowColor(parent, color)) ParentColorChanged(color);
    MsgParentFontChanged(reinterpret_cast<HFONT>(SendMessageW(parent, WM_GETFONT, 0, 0)));
}

bool TLbSpeedButton::FontOf(HFONT font, ButtonFont& value) {
    LOGFONTW log = {};
    if (!font || !GetObjectW(font, sizeof log, &log)) return false;
    log.lfFaceName[LF_FACESIZE - 1] = L'\0';  // a name that fills the field ends there
    value.name = fw::Utf8(log.lfFaceName);
    value.height = log.lfHeight;
    value.bold = log.lfWeight >= FW_BOLD;
    value.italic = log.lfItalic != 0;
    value.underline = log.lfUnderline != 0;
    value.strikeOut = log.lfStrikeOut != 0;
    value.charset = log.lfCharSet;
    return true;
}

void TLbSpeedButton::MsgParentFontChanged(HFONT font) {
    ButtonFont value = Font();  // its colour stays
    if (FontOf(font, value)) ParentFontChanged(value);
}

void TLbSpeedButton::SetBounds(int left, int top, int width, int height) {
    if (!Handle()) return SetSize(width, height);
    MoveWindow(Handle(), left, top, width, height, TRUE);
    Placed(left, top, width, height);
}

void TLbSpeedButton::SetVisible(bool visible) {
    visible_ = visible;
    if (Handle()) ShowWindow(Handle(), visible ? SW_SHOWNA : SW_HIDE);
}

//--- Painting

void TLbSpeedButton::PaintParentBackground(HDC dc) {
    HWND parent = GetParent(Handle());
    const RECT whole = {0, 0, Width(), Height()};
    FillRect(dc, &whole, GetSysColorBrush(COLOR_BTNFACE));
    if (!parent) return;
    POINT origin = {0, 0};
    MapWindowPoints(Handle(), parent, &origin, 1);
    POINT previous = {};
    SetViewportOrgEx(dc, -origin.x, -origin.y, &previous);
    SendMessageW(parent, WM_ERASEBKGND, reinterpret_cast<WPARAM>(dc), 0);
    SendMessageW(parent, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(dc), PRF_CLIENT);
    SetViewportOrgEx(dc, previous.x, previous.y, nullptr);
}

void TLbSpeedButton::DrawFace() {
    const int w = Width(), h = Height();
    face_.Resize(w, h);
    GdiCanvas canvas(face_.Dc(), fonts_);
    if (FaceUsesKeyColor()) {
        canvas.SetBrushColor(kKeyColor);
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
    const DWORD key = ColorToDib(kKeyColor);
    const DWORD* face = face_.Bits();
    DWORD* target = composition_.Bits();
    for (int i = 0, n = w * h; i < n; ++i)
        if (face[i] != key) target[i] = face[i];
}

void TLbSpeedButton::PaintTo(HDC dc) {
    const int w = Width(), h = Height();
    if (w <= 0 || h <= 0) return;
    DrawFace();
    HDC face = face_.Dc();
    if (FaceUsesKeyColor() && Handle()) {
        ComposeFace();
        face = composition_.Dc();
    }
    BitBlt(dc, 0, 0, w, h, face, 0, 0, SRCCOPY);
    if (!ShowsFocusCue()) return;
    const int inset = fw::ScaleForDpi(4, Dpi());  // inside the rounded frame
    const RECT cue = {inset, inset, w - inset, h - inset};
    DrawFocusRect(dc, &cue);
}

bool TLbSpeedButton::ShowsFocusCue() const { return !focusCueHidden_ && Handle() && GetFocus() == Handle(); }

void TLbSpeedButton::MsgPaint() {
    fw::paint_dc dc(Handle());
    PaintTo(dc.get());
}

//--- ButtonHost

void TLbSpeedButton::Invalidate() {
    if (Handle()) InvalidateRect(Handle(), nullptr, FALSE);
}

void TLbSpeedButton::PaintNow() {
    if (!Handle() || !IsWindowVisible(Handle())) return;
    fw::window_dc dc(Handle());
    if (dc.get()) PaintTo(dc.get());
}

bool TLbSpeedButton::Showing() const { return visible_ && Handle() && IsWindowVisible(Handle()); }

int TLbSpeedButton::ScreenBitsPerPixel() const {
    fw::window_dc dc(Handle());
    return dc.get() ? GetDeviceCaps(dc.get(), BITSPIXEL) * GetDeviceCaps(dc.get(), PLANES) : 32;
}

std::vector<SpeedButtonCore*> TLbSpeedButton::SiblingButtons() {
    std::vector<SpeedButtonCore*> buttons;
    HWND parent = Handle() ? GetParent(Handle()) : nullptr;
    if (!parent) return buttons;
    for (HWND child = GetWindow(parent, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT))
        if (TLbSpeedButton* button = FromHandle(child); button && button != this) buttons.push_back(button);
    return buttons;
}

std::unique_ptr<FadeTicker> TLbSpeedButton::CreateFadeTicker(std::function<void()> tick) {
    return std::make_unique<TLbButtonThread>(std::move(tick));
}

Point TLbSpeedButton::ClientToScreen(Point point) const {
    POINT p = {point.x, point.y};
    if (Handle()) ::ClientToScreen(Handle(), &p);
    return {p.x, p.y};
}

// Screen readers are told of each change of name or state.
void TLbSpeedButton::CaptionChanged() {
    if (!Handle()) return;
    if (!syncingWindow_) SetWindowTextW(Handle(), fw::WideText(Caption()).c_str());
    NotifyWinEvent(EVENT_OBJECT_NAMECHANGE, Handle(), OBJID_CLIENT, CHILDID_SELF);
}

void TLbSpeedButton::EnabledChanged() {
    if (!Handle()) return;
    if (!syncingWindow_) {
        // A disabled window loses the focus; it goes on to the next tab stop
        // rather than nowhere, so the keyboard still reaches the window.
        if (!Enabled() && GetFocus() == Handle())
            SetFocus(GetNextDlgTabItem(GetAncestor(Handle(), GA_ROOT), Handle(), FALSE));
        EnableWindow(Handle(), Enabled());
    }
    NotifyWinEvent(EVENT_OBJECT_STATECHANGE, Handle(), OBJID_CLIENT, CHILDID_SELF);
}

//--- Hint

bool TLbSpeedButton::ParentShowsHints() const { return Handle() && fw::ShowsHints(GetParent(Handle())); }

void TLbSpeedButton::SetHintPending(bool pending) {
    if (!Handle()) return;
    if (pending) {
        SetTimer(Handle(), kHintTimer, fw::HintWindow::kPauseMs, nullptr);
    } else {
        KillTimer(Handle(), kHintTimer);
        hint_.Hide();
    }
}

// Below the pointer, as tooltips are.
void TLbSpeedButton::MsgHintTimer() {
    KillTimer(Handle(), kHintTimer);
    if (!hovering_ || !Enabled() || !HintWanted()) return;
    POINT pointer;
    // It fails while another desktop takes the input (a locked screen): no hint then.
    if (!GetCursorPos(&pointer)) return;
    hint_.Show(Hint(), pointer.x, pointer.y + GetSystemMetrics(SM_CYCURSOR) * 2 / 3);
}

//--- Mouse

void TLbSpeedButton::MsgMouseMove(WPARAM keys, int x, int y) {
    RECT client;
    GetClientRect(Handle(), &client);
    const bool inside = PtInRect(&client, POINT{x, y}) != FALSE;
    if (inside && !hovering_) {
        TRACKMOUSEEVENT track = {sizeof track, TME_LEAVE, Handle(), 0};
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
        SetFocus(Handle());  // as a standard button takes it
        SetCapture(Handle());
        clickPending_ = true;
    }
    MouseDown(button, static_cast<TShiftState>(keys), x, y);
}

void TLbSpeedButton::MsgButtonUp(TMouseButton button, WPARAM keys, int x, int y) {
    bool click = false;
    if (button == TMouseButton::mbLeft) {
        RECT client;
        GetClientRect(Handle(), &client);
        click = clickPending_ && PtInRect(&client, POINT{x, y});
        clickPending_ = false;
        if (GetCapture() == Handle()) ReleaseCapture();
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
    ::SetCursor(LoadCursorW(nullptr, IDC_HAND));
    return true;
}

//--- Keyboard

bool TLbSpeedButton::MsgKey(WPARAM key, bool down, bool repeat) {
    if (key != VK_SPACE && key != VK_RETURN) return false;
    const ButtonKey which = key == VK_SPACE ? ButtonKey::Space : ButtonKey::Enter;
    return down ? KeyDown(which, repeat) : KeyUp(which);
}

void TLbSpeedButton::MsgFocus(bool focused) {
    if (focused) NotifyWinEvent(EVENT_OBJECT_FOCUS, Handle(), OBJID_CLIENT, CHILDID_SELF);
    else CancelKeyPress();
    Invalidate();  // the focus cue comes or goes
}

// Kept by the button itself: not every system keeps the state WM_QUERYUISTATE
// reports (Wine doesn't), but each sends or is sent WM_UPDATEUISTATE.
void TLbSpeedButton::MsgUpdateUiState(WORD action, WORD flags) {
    const bool hidden = focusCueHidden_;
    if (action == UIS_INITIALIZE)
        focusCueHidden_ = (SendMessageW(Handle(), WM_QUERYUISTATE, 0, 0) & UISF_HIDEFOCUS) != 0;
    else if (flags & UISF_HIDEFOCUS) focusCueHidden_ = action == UIS_SET;
    if (focusCueHidden_ != hidden && GetFocus() == Handle()) Invalidate();
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

//--- Messages

LRESULT TLbSpeedButton::HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
    const int x = GET_X_LPARAM(lParam), y = GET_Y_LPARAM(lParam);
    switch (msg) {
    case WM_PAINT: MsgPaint(); return 0;
    case WM_PRINTCLIENT: PaintTo(reinterpret_cast<HDC>(wParam)); return 0;
    case WM_ERASEBKGND: return 1;  // the paint covers everything
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
        const LRESULT result = DefaultHandler(msg, wParam, lParam);
        // A Unicode window: the text comes as UTF-16.
        if (lParam) MsgSetText(fw::Utf8(reinterpret_cast<const wchar_t*>(lParam)).c_str());
        else MsgSetText(nullptr);
        return result;
    }
    case WM_ENABLE:
        syncingWindow_ = true;
        SetEnabled(wParam != FALSE);
        syncingWindow_ = false;
        return 0;
    case fw::CM_PARENTCOLORCHANGED: ParentColorChanged(static_cast<TColor>(wParam)); return 0;
    case fw::CM_PARENTFONTCHANGED: MsgParentFontChanged(reinterpret_cast<HFONT>(wParam)); return 0;
    case fw::CM_GETPLACEMENT: return reinterpret_cast<LRESULT>(&placement_);
    case WM_GETDLGCODE: return DLGC_BUTTON | DLGC_UNDEFPUSHBUTTON;
    case WM_KEYDOWN:
    case WM_KEYUP:
        if (MsgKey(wParam, msg == WM_KEYDOWN, (lParam & (1 << 30)) != 0)) return 0;
        break;
    case WM_SETFOCUS:
    case WM_KILLFOCUS: MsgFocus(msg == WM_SETFOCUS); return 0;
    case WM_UPDATEUISTATE: {
        const LRESULT result = DefaultHandler(msg, wParam, lParam);
        MsgUpdateUiState(LOWORD(wParam), HIWORD(wParam));
        return result;
    }
    // A standard button's click, as a reader's default action posts it: only
    // while the window can take input (not behind a modal box).
    case BM_CLICK:
        if (Enabled() && Showing() && IsWindowEnabled(GetAncestor(Handle(), GA_ROOT))) PressAndClick();
        return 0;
    case WM_GETOBJECT:
        if (static_cast<LONG>(lParam) == OBJID_CLIENT) {
            LRESULT answer = 0;
            if (accessibility_.Answer(Handle(), *this, wParam, answer)) return answer;
        }
        break;
    case WM_DESTROY: accessibility_.Disconnect(); break;
    case fw::CM_DIALOGCHAR: return DialogChar(static_cast<wchar_t>(wParam)) ? 1 : 0;
    case WM_TIMER:
        if (wParam != kHintTimer) break;
        MsgHintTimer();
        return 0;
    case WM_SIZE: MsgSize(LOWORD(lParam), HIWORD(lParam)); return 0;
    case WM_SHOWWINDOW:
        if (lParam == 0) visible_ = wParam != FALSE;  // not a parent being shown or hidden
        break;
    }
    return DefaultHandler(msg, wParam, lParam);
}

}  // namespace lb
