// The button on a real form, where the message routing matters: typed
// accelerators reach it through the application's message loop; it follows
// its parent's colour and font; its hint shows as a tooltip; Align and
// Anchors place it when the parent is resized.
#include <windows.h>

#include <string>

#include "controls/LbSpeedButton.h"
#include "framework/Application.h"
#include "framework/UiFont.h"
#include "kit/window/KitButtonLook.h"
#include "wine/LbWineSupport.h"

using namespace lb;
using lbtest::Check;

namespace {

// Queues a typed character for window, as the keyboard would, and lets the
// application's loop route it.
void Type(HWND window, UINT msg, char key) {
    PostMessageA(window, msg, static_cast<unsigned char>(key), msg == WM_SYSCHAR ? (1 << 29) : 0);
    fw::Application::Get().ProcessMessages();
}

void CheckAccelerators(HWND form, HWND panel) {
    fw::Memo memo;  // an edit box: it takes plain characters itself
    memo.Create(panel, 16, 16, 200, 60, 0x00FFFFFF, nullptr);
    TLbSpeedButton button;
    button.SetCaption("&Actualizare");
    int clicks = 0;
    button.OnClick = [&] { ++clicks; };
    button.Create(panel, 16, 120, 201, 31);
    SetFocus(memo.Handle());

    Type(memo.Handle(), WM_SYSCHAR, 'a');
    Check(clicks == 1, "Alt+A clicks the button while an edit box has the focus");
    Check(!button.Down(), "the button is up again after the accelerator");
    Type(memo.Handle(), WM_CHAR, 'a');
    Check(clicks == 1, "a plain A goes to the edit box, which takes characters");
    Type(form, WM_CHAR, 'A');
    Check(clicks == 2, "a plain A clicks the button when the focused window takes no characters");
    Type(memo.Handle(), WM_SYSCHAR, 'x');
    Check(clicks == 2, "Alt+X is no accelerator of the button");

    button.SetVisible(false);
    Type(memo.Handle(), WM_SYSCHAR, 'a');
    Check(clicks == 2, "a hidden button ignores its accelerator");
    button.SetVisible(true);
    button.SetEnabled(false);
    Type(memo.Handle(), WM_SYSCHAR, 'a');
    Check(clicks == 2, "a disabled button ignores its accelerator");
    button.SetEnabled(true);
    button.SetCaption("&&Actualizare");
    Type(memo.Handle(), WM_SYSCHAR, 'a');
    Check(clicks == 2, "\"&&\" is no accelerator");

    // A log box whose parent goes first lets go of its window with it, so
    // its end makes no call on a window that is gone.
    fw::Memo orphan;
    HWND parent = CreateWindowExW(0, L"STATIC", L"", WS_CHILD, 0, 0, 10, 10, panel, nullptr, nullptr, nullptr);
    orphan.Create(parent, 0, 0, 10, 10, 0x00FFFFFF, nullptr);
    const HWND log = orphan.Handle();
    DestroyWindow(parent);
    Check(!IsWindow(log) && orphan.Handle() == nullptr, "a log box lets go of its window when its parent goes");
}

fw::unique_hfont MakeFont(const char* name, int height) {
    fw::Font font;
    font.name = name;
    font.height = height;
    return fw::CreateUiFont(font);
}

void CheckParentColorAndFont(fw::Panel& panel) {
    fw::unique_hfont before = MakeFont("Arial", -13), after = MakeFont("Tahoma", -15);
    SendMessageA(panel.Handle(), WM_SETFONT, reinterpret_cast<WPARAM>(before.get()), FALSE);
    TLbSpeedButton button;
    button.Create(panel.Handle(), 16, 120, 201, 31);
    Check(button.Color() == lbtest::kPanelColor, "ParentColor: the button takes the panel's colour");
    Check(button.Font().name == "Arial" && button.Font().height == -13, "ParentFont: the button takes its font");
    panel.SetColor(0x00123456);
    Check(button.Color() == 0x00123456, "ParentColor: a later colour of the panel is followed");
    SendMessageA(panel.Handle(), WM_SETFONT, reinterpret_cast<WPARAM>(after.get()), FALSE);
    Check(button.Font().name == "Tahoma" && button.Font().height == -15, "ParentFont: a later font is followed");

    button.SetColor(0x00000080);
    button.SetFont(ButtonFont());
    Check(!button.ParentColor() && !button.ParentFont(), "setting Color and Font stops the following");
    panel.SetColor(0x00654321);
    SendMessageA(panel.Handle(), WM_SETFONT, reinterpret_cast<WPARAM>(before.get()), FALSE);
    Check(button.Color() == 0x00000080 && button.Font().name == "MS Sans Serif", "the set colour and font stay");
    button.SetParentColor(true);
    button.SetParentFont(true);
    Check(button.Color() == 0x00654321 && button.Font().name == "Arial", "following again takes the panel's at once");
    SendMessageA(panel.Handle(), WM_SETFONT, 0, FALSE);
    panel.SetColor(lbtest::kPanelColor);
}

// The kit's look leaves the hot-track font to the form the button is put on.
void CheckHotTrackFontFromTheForm(lbtest::HostForm& form) {
    fw::unique_hfont formFont = MakeFont("Tahoma", -13);
    form.SetFont(formFont.get());
    TLbSpeedButton button;
    kit::ApplyKitButtonLook(button);
    button.Create(form.Panel(), 16, 120, 201, 31);
    Check(button.HotTrackFont().name == "Tahoma" && button.HotTrackFont().height == -13,
          "HotTrackFont starts as the form's font", button.HotTrackFont().name);
    Check(button.Style() == bsModern, "the kit's look gives bsModern on a true-colour screen");
    form.SetFont(nullptr);
}

BOOL CALLBACK FindShownStatic(HWND window, LPARAM found) {
    char name[16] = {};
    GetClassNameA(window, name, sizeof name);
    if (lstrcmpiA(name, "Static") != 0 || !IsWindowVisible(window)) return TRUE;
    *reinterpret_cast<HWND*>(found) = window;
    return FALSE;
}

// The button's tooltip, when it shows: a pop-up of this thread's.
HWND ShownHint() {
    HWND shown = nullptr;
    EnumThreadWindows(GetCurrentThreadId(), &FindShownStatic, reinterpret_cast<LPARAM>(&shown));
    return shown;
}

// Points at the middle of the button, as the mouse would, and waits.
void Hover(TLbSpeedButton& button, DWORD ms) {
    RECT r;
    GetWindowRect(button.Handle(), &r);
    SetCursorPos((r.left + r.right) / 2, (r.top + r.bottom) / 2);
    SendMessageA(button.Handle(), WM_MOUSEMOVE, 0, MAKELPARAM(20, 15));
    const DWORD end = GetTickCount() + ms;
    while (GetTickCount() < end) {
        lbtest::PumpMessages();
        Sleep(10);
    }
}

void Leave(TLbSpeedButton& button) {
    SetCursorPos(0, 0);
    SendMessageA(button.Handle(), WM_MOUSELEAVE, 0, 0);
}

void CheckHints(HWND panel) {
    TLbSpeedButton button;
    button.SetHint("Inchide fereastra");
    button.Create(panel, 16, 120, 201, 31);
    Hover(button, 800);
    Check(!ShownHint(), "no hint while neither the button nor its parent shows hints");
    Leave(button);
    fw::SetShowHint(panel, true);
    Hover(button, 200);
    Check(!ShownHint(), "no hint before the hover pause");
    Hover(button, 700);
    HWND hint = ShownHint();
    char text[64] = {};
    if (hint) GetWindowTextA(hint, text, sizeof text);
    Check(hint && std::string(text) == "Inchide fereastra", "the parent's ShowHint shows the hint after the pause");
    if (hint) {
        RECT r;
        GetWindowRect(hint, &r);
        Check(r.right - r.left > 40 && r.bottom - r.top > 8, "the hint has the size of its text");
    }
    Leave(button);
    Check(!ShownHint(), "leaving hides the hint");
    Hover(button, 800);
    SendMessageA(button.Handle(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(20, 15));
    SendMessageA(button.Handle(), WM_LBUTTONUP, 0, MAKELPARAM(20, 15));
    Check(!ShownHint(), "pressing hides the hint");
    Leave(button);
    Hover(button, 800);
    button.SetEnabled(false);
    Check(!ShownHint(), "disabling hides the hint");
    Leave(button);
    button.SetEnabled(true);
    fw::SetShowHint(panel, false);
    button.SetShowHint(true);
    Hover(button, 800);
    Check(ShownHint() != nullptr, "ShowHint shows the hint whatever the parent says");
    Leave(button);
}

fw::Bounds BoundsIn(HWND parent, HWND window) {
    RECT r;
    GetWindowRect(window, &r);
    MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&r), 2);
    return {r.left, r.top, r.right - r.left, r.bottom - r.top};
}

bool Is(HWND parent, const TLbSpeedButton& button, fw::Bounds expected) {
    return BoundsIn(parent, button.Handle()) == expected;
}

void CheckAlignAndAnchors(HWND panel) {
    TLbSpeedButton fixed, right, wide, top, bottom, left, client;
    fixed.Create(panel, 10, 10, 50, 20);
    right.SetAnchors(fw::akRight | fw::akBottom);
    right.Create(panel, 300, 120, 100, 30);
    wide.SetAnchors(fw::akLeft | fw::akRight | fw::akTop);
    wide.Create(panel, 10, 50, 400, 20);
    Check(fixed.Align() == fw::alNone && fixed.Anchors() == (fw::akLeft | fw::akTop), "alNone, left and top at first");

    MoveWindow(panel, 8, 8, 325, 131, TRUE);  // 100 narrower, 30 lower
    Check(Is(panel, fixed, {10, 10, 50, 20}), "left and top anchors keep the place");
    Check(Is(panel, right, {200, 90, 100, 30}), "right and bottom anchors keep the distances");
    Check(Is(panel, wide, {10, 50, 300, 20}), "left and right anchors stretch the button");

    top.SetAlign(fw::alTop);
    top.Create(panel, 0, 0, 10, 25);
    bottom.SetAlign(fw::alBottom);
    bottom.Create(panel, 0, 0, 10, 20);
    left.SetAlign(fw::alLeft);
    left.Create(panel, 0, 0, 40, 10);
    client.Create(panel, 0, 0, 10, 10);
    client.SetAlign(fw::alClient);
    Check(Is(panel, top, {0, 0, 325, 25}), "alTop takes the top at once");
    MoveWindow(panel, 8, 8, 425, 161, TRUE);
    Check(Is(panel, top, {0, 0, 425, 25}), "alTop spans the width");
    Check(Is(panel, bottom, {0, 141, 425, 20}), "alBottom spans the width at the bottom");
    Check(Is(panel, left, {0, 25, 40, 116}), "alLeft fills the height between them");
    Check(Is(panel, client, {40, 25, 385, 116}), "alClient takes what is left");
    Check(Is(panel, right, {300, 120, 100, 30}), "anchors follow the parent back");
}

}  // namespace

int main() {
    lbtest::PrintPasses() = false;  // failures only
    lbtest::StartWatchdog(60);
    lbtest::HostForm form;
    fw::Application::Get().SetMainWindow(form.Handle());
    CheckAccelerators(form.Handle(), form.Panel());
    CheckParentColorAndFont(form.PanelControl());
    CheckHints(form.Panel());
    CheckAlignAndAnchors(form.Panel());
    CheckHotTrackFontFromTheForm(form);
    if (lbtest::Failures()) std::printf("%d check(s) failed\n", lbtest::Failures());
    else std::printf("all form checks passed\n");
    return lbtest::Failures() ? 1 : 0;
}
