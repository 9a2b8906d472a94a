#include "framework/Controls.h"

#include "framework/Application.h"
#include "framework/DialogTitles.h"
#include "framework/Guard.h"
#include "framework/Utf16.h"
#include "framework/Win32Error.h"

namespace fw {

namespace {
// Names the Memo object on its window, so the parent can colour it.
const wchar_t kMemoProperty[] = L"fw.Memo";
// A window's own ShowHint: 1 false, 2 true; absent when it follows its parent.
const wchar_t kShowHintProperty[] = L"fw.ShowHint";

}  // namespace

//--- Panel

void Panel::Create(HWND parent, int left, int top, int width, int height, COLORREF color) {
    color_ = color;
    brush_.reset(ThrowGdiFailureIfNull(CreateSolidBrush(color), "Cannot create the panel's brush"));
    CreateHandle({"TPanel"}, WS_EX_CONTROLPARENT, "", WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN, left, top, width, height,
                 parent);
}

void Panel::SetColor(COLORREF color) {
    if (color == color_) return;
    brush_.reset(ThrowGdiFailureIfNull(CreateSolidBrush(color), "Cannot create the panel's brush"));
    color_ = color;
    InvalidateRect(Handle(), nullptr, TRUE);
    NotifyChildren(Handle(), CM_PARENTCOLORCHANGED, color, 0);
}

void Panel::PaintBackground(HDC dc) const {
    RECT r;
    GetClientRect(Handle(), &r);
    FillRect(dc, &r, brush_.get());
    // Raised bevel: light top and left edges, shadow bottom and right.
    unique_hpen light(CreatePen(PS_SOLID, 1, GetSysColor(COLOR_BTNHIGHLIGHT)));
    unique_hpen shadow(CreatePen(PS_SOLID, 1, GetSysColor(COLOR_BTNSHADOW)));
    {
        unique_select pen(dc, light.get());
        MoveToEx(dc, 0, r.bottom - 1, nullptr);
        LineTo(dc, 0, 0);
        LineTo(dc, r.right - 1, 0);
    }
    unique_select pen(dc, shadow.get());  // drawing on from where the light edge ended
    LineTo(dc, r.right - 1, r.bottom - 1);
    LineTo(dc, -1, r.bottom - 1);
}

LRESULT Panel::HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
    case WM_ERASEBKGND:
    case WM_PRINTCLIENT: PaintBackground(reinterpret_cast<HDC>(wParam)); return 1;
    case WM_PAINT: {
        paint_dc dc(Handle());
        PaintBackground(dc.get());
        return 0;
    }
    case WM_SIZE: ArrangeChildren(Handle()); break;
    case CM_GETCOLOR: *reinterpret_cast<COLORREF*>(lParam) = color_; return 1;
    case WM_GETFONT: return reinterpret_cast<LRESULT>(font_);
    case WM_SETFONT:
        font_ = reinterpret_cast<HFONT>(wParam);
        NotifyChildren(Handle(), CM_PARENTFONTCHANGED, wParam, 0);
        if (LOWORD(lParam)) InvalidateRect(Handle(), nullptr, TRUE);
        return 0;
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLOREDIT: {
        auto* memo = reinterpret_cast<const Memo*>(GetPropW(reinterpret_cast<HWND>(lParam), kMemoProperty));
        if (memo) return reinterpret_cast<LRESULT>(memo->Colorize(reinterpret_cast<HDC>(wParam)));
        break;
    }
    }
    return DefaultHandler(msg, wParam, lParam);
}

//--- Hints

void HintWindow::Show(const std::string& text, int x, int y) {
    const HFONT font = static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
    if (!hwnd_) {
        hwnd_.reset(CreateWindowExW(WS_EX_TOOLWINDOW | WS_EX_TOPMOST | WS_EX_NOACTIVATE, L"STATIC", L"",
                                    WS_POPUP | WS_BORDER | SS_CENTER | SS_NOPREFIX, 0, 0, 0, 0, nullptr, nullptr,
                                    GetModuleHandleW(nullptr), nullptr));
        if (!hwnd_) return;  // no hint, nothing lost
        SendMessageW(hwnd_.get(), WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
    }
    const WideText wide(text);
    SetWindowTextW(hwnd_.get(), wide.c_str());
    RECT size = {0, 0, 0, 0};
    {
        window_dc dc(hwnd_.get());
        unique_select selected(dc.get(), font);
        DrawTextW(dc.get(), wide.c_str(), -1, &size, DT_CALCRECT | DT_SINGLELINE | DT_NOPREFIX);
    }
    SetWindowPos(hwnd_.get(), HWND_TOPMOST, x, y, size.right + 8, size.bottom + 4, SWP_NOACTIVATE | SWP_SHOWWINDOW);
}

void HintWindow::Hide() {
    if (hwnd_) ShowWindow(hwnd_.get(), SW_HIDE);
}

void SetShowHint(HWND window, bool show) {
    ThrowLastErrorIf(!SetPropW(window, kShowHintProperty, reinterpret_cast<HANDLE>(static_cast<INT_PTR>(show ? 2 : 1))),
                     "Cannot set whether the window shows hints");
}

bool ShowsHints(HWND window) {
    for (; window; window = GetParent(window))
        if (const INT_PTR own = reinterpret_cast<INT_PTR>(GetPropW(window, kShowHintProperty))) return own == 2;
    return false;
}

//--- Memo

void Memo::Create(HWND parent, int left, int top, int width, int height, COLORREF color, HFONT font) {
    color_ = color;
    brush_.reset(ThrowGdiFailureIfNull(CreateSolidBrush(color), "Cannot create the log box's brush"));
    hwnd_.reset(CreateWindowExW(WS_EX_CLIENTEDGE, L"EDIT", L"",
                                WS_CHILD | WS_VISIBLE | WS_TABSTOP | ES_MULTILINE | ES_READONLY | ES_AUTOVSCROLL, left,
                                top, width, height, parent, nullptr, GetModuleHandleW(nullptr), nullptr));
    ThrowLastErrorIf(!hwnd_, "Cannot create the log box");
    ThrowLastErrorIf(!SetPropW(hwnd_.get(), kMemoProperty, this), "Cannot create the log box");
    // The previous procedure is never null: null is a failure.
    editProc_ = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrW(hwnd_.get(), GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&Memo::EditProc)));
    ThrowLastErrorIf(!editProc_, "Cannot create the log box");
    SendMessageW(hwnd_.get(), WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
}

// Destroys the window while the Memo is whole (EditProc still finds it);
// nothing to do when the parent's destruction took it already.
Memo::~Memo() { hwnd_.reset(); }

LRESULT CALLBACK Memo::EditProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) noexcept {
    auto* memo = static_cast<Memo*>(GetPropW(hwnd, kMemoProperty));
    const WNDPROC edit = memo ? memo->editProc_ : reinterpret_cast<WNDPROC>(GetClassLongPtrW(hwnd, GCLP_WNDPROC));
    if (msg == WM_NCDESTROY && memo) {
        // The window is gone after this: the Memo no longer names it.
        RemovePropW(hwnd, kMemoProperty);
        SetWindowLongPtrW(hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(edit));
        memo->hwnd_.release();
    }
    return CallWindowProcW(edit, hwnd, msg, wParam, lParam);
}

void Memo::AppendLine(const std::string& line) {
    // Each line ends with CR LF, as the text box's own line list keeps them.
    const WideText text(line + "\r\n");
    const int end = GetWindowTextLengthW(hwnd_.get());
    SendMessageW(hwnd_.get(), EM_SETSEL, end, end);
    SendMessageW(hwnd_.get(), EM_REPLACESEL, FALSE, reinterpret_cast<LPARAM>(text.c_str()));
}

HBRUSH Memo::Colorize(HDC dc) const {
    SetTextColor(dc, GetSysColor(COLOR_WINDOWTEXT));
    SetBkColor(dc, color_);
    return brush_.get();
}

//--- Timer

Timer* Timer::enabled_ = nullptr;

void Timer::SetEnabled(bool enabled) {
    if (enabled == Enabled()) return;
    if (enabled) {
        // A timer that doesn't start would leave its work undone for ever.
        const UINT_PTR id = SetTimer(nullptr, 0, Interval, &Timer::TimerProc);
        ThrowLastErrorIf(!id, "Cannot start a timer");
        id_ = id;  // owned from here: disabling or destroying the timer kills it
        next_ = enabled_;
        enabled_ = this;
    } else {
        KillTimer(nullptr, id_);  // fails only for an id the system no longer has: nothing left to stop
        for (Timer** link = &enabled_; *link; link = &(*link)->next_) {
            if (*link == this) {
                *link = next_;
                break;
            }
        }
        id_ = 0;
    }
}

void CALLBACK Timer::TimerProc(HWND, UINT, UINT_PTR id, DWORD) noexcept {
    Timer* timer = enabled_;
    while (timer && timer->id_ != id) timer = timer->next_;
    if (timer && timer->OnTimer) CallGuarded([timer] { timer->OnTimer(); });
}

//--- Dialogs

namespace {
// A box that can't be shown is a failure of its own, reported in its place.
void ShowMessage(const std::string& text, const char* title, UINT type) {
    ThrowLastErrorIf(
        !MessageBoxW(Application::Get().MainWindow(), WideText(text).c_str(), WideText(title).c_str(), MB_OK | type),
        "Cannot show a message box");
}
}  // namespace

void ShowErrorMessage(const std::string& text) { ShowMessage(text, kErrorTitle, MB_ICONERROR); }

void ShowInformationMessage(const std::string& text) { ShowMessage(text, kInformationTitle, MB_ICONINFORMATION); }

}  // namespace fw
