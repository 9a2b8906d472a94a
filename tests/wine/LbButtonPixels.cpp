// Renders the kit window's two buttons with real GDI, normal, hot, pressed
// and disabled, and checks their pixels, then the window side of a button.
#include <windows.h>

#include <cstdlib>
#include <algorithm>
#include <memory>
#include <stdexcept>
#include <string>
#include <utility>

#include "controls/DibSurface.h"
#include "controls/LbSpeedButton.h"
#include "framework/Application.h"
#include "framework/Error.h"
#include "framework/Win32Error.h"
#include "kit/window/KitButtonLook.h"
#include "wine/LbWineSupport.h"

using namespace lb;
using lbtest::Check;
using lbtest::CheckColor;
using lbtest::Image;

namespace {

constexpr TColor kKey = kKeyColor;
constexpr TColor kOutline = 0x00008080;
constexpr TColor kCaption = 0x00005555;

// Yellow gradient rows 2 to 28 (red = green, blue 0), worked out by hand from
// 32 bands per half: the upper half from the light colour down to the face
// colour, the lower half back up; short spans put several bands on one row.
const int kNormalRows[] = {0xf3, 0xe7, 0xda, 0xce, 0xc2, 0xc2, 0xc4, 0xc8, 0xca, 0xcc, 0xd0, 0xd2, 0xd4, 0xd8,
                           0xda, 0xdc, 0xe1, 0xe3, 0xe5, 0xe9, 0xeb, 0xed, 0xf1, 0xf3, 0xf5, 0xf9, 0xfb};
const int kHotRows[] = {0xf9, 0xf3, 0xec, 0xe6, 0xe0, 0xe0, 0xe1, 0xe3, 0xe4, 0xe5, 0xe7, 0xe8, 0xe9, 0xeb,
                        0xec, 0xed, 0xf0, 0xf1, 0xf2, 0xf4, 0xf5, 0xf6, 0xf8, 0xf9, 0xfa, 0xfc, 0xfd};
const int kPressedRows[] = {0xfa, 0xf5, 0xf0, 0xea, 0xe5, 0xe0, 0xe0, 0xe1, 0xe3, 0xe4, 0xe6, 0xe7, 0xe8, 0xea,
                            0xeb, 0xed, 0xee, 0xf0, 0xf2, 0xf3, 0xf5, 0xf6, 0xf7, 0xf9, 0xfa, 0xfc, 0xfd};

TColor Yellow(int level) { return MakeColor(level, level, 0); }

struct CaptionPixels {
    int count = 0, grey = 0;
    int left = 100000, top = 100000, right = -1, bottom = -1;
};

CaptionPixels FindCaption(const Image& face) {
    CaptionPixels found;
    for (int y = 2; y < face.height - 2; ++y)
        for (int x = 2; x < face.width - 2; ++x) {
            const TColor c = face.At(x, y);
            if (c == clGray) ++found.grey;
            if (c != kCaption) continue;
            ++found.count;
            found.left = std::min(found.left, x);
            found.top = std::min(found.top, y);
            found.right = std::max(found.right, x);
            found.bottom = std::max(found.bottom, y);
        }
    return found;
}

void CheckFace(const Image& face, const std::string& name, const int* rows, TColor inner, bool enabled) {
    const int w = face.width;
    for (int y = 2; y <= 28; ++y)
        CheckColor(face.At(6, y), Yellow(rows[y - 2]), name + " gradient row " + std::to_string(y));
    CheckColor(face.At(w - 7, 15), face.At(6, 15), name + " gradient spans the width");
    CheckColor(face.At(1, 15), inner, name + " inner outline, left");
    CheckColor(face.At(w / 2, 1), inner, name + " inner outline, top");
    CheckColor(face.At(w - 2, 15), inner, name + " inner outline, right");
    CheckColor(face.At(w / 2, 29), inner, name + " inner outline, bottom");
    CheckColor(face.At(w / 2, 0), kOutline, name + " outer outline, top");
    CheckColor(face.At(0, 15), kOutline, name + " outer outline, left");
    CheckColor(face.At(w - 1, 15), kOutline, name + " outer outline, right");
    CheckColor(face.At(w / 2, 30), kOutline, name + " outer outline, bottom");
    const int corners[4][2] = {{0, 0}, {w - 1, 0}, {0, 30}, {w - 1, 30}};
    for (const auto& corner : corners)
        CheckColor(face.At(corner[0], corner[1]), kKey,
                   name + " corner " + std::to_string(corner[0]) + "," + std::to_string(corner[1]) + " transparent");
    Check(face.At(3, 3) != kKey, name + ": inside the rounded corner is painted");

    const CaptionPixels caption = FindCaption(face);
    if (enabled) {
        Check(caption.count > 30, name + ": caption drawn in 005555 (" + std::to_string(caption.count) + " pixels)");
        Check(caption.grey == 0, name + ": no grey caption pixels");
        Check(caption.left >= 4 && caption.right < w - 4, name + ": caption inside its box");
        const int middle = (caption.left + caption.right) / 2;
        Check(std::abs(middle - w / 2) <= 2, name + ": caption centred (middle at " + std::to_string(middle) + ")");
    } else {
        Check(caption.count == 0, name + ": no 005555 caption pixels when disabled");
        Check(caption.grey > 30, name + ": caption drawn in grey (" + std::to_string(caption.grey) + " pixels)");
    }
}

void CheckButton(HWND panel, int left, int width, const std::string& caption) {
    const std::string name = std::to_string(width) + "x31";
    TLbSpeedButton button;
    button.SetCaption(caption);
    kit::ApplyKitButtonLook(button);
    button.Create(panel, left, 120, width, 31);

    auto face = [&] { return lbtest::Render(width, 31, [&](HDC dc) { button.PaintFaceTo(dc); }); };

    const Image normal = face();
    CheckFace(normal, name + " normal", kNormalRows, 0x0000C0C0, true);
    const Image normalOnPanel = lbtest::Render(width, 31, [&](HDC dc) { button.PaintTo(dc); });
    CheckColor(normalOnPanel.At(0, 0), lbtest::kPanelColor, name + " corner shows the panel");
    CheckColor(normalOnPanel.At(width - 1, 30), lbtest::kPanelColor, name + " far corner shows the panel");
    CheckColor(normalOnPanel.At(6, 10), normal.At(6, 10), name + " face over the panel");

    button.MouseEnter();
    Check(button.MouseInside() && button.FadeLevel() == 8, name + ": hot at level 8");
    const Image hot = face();
    CheckFace(hot, name + " hot", kHotRows, 0x0000DFDF, true);

    button.MouseDown(TMouseButton::mbLeft, MK_LBUTTON, 10, 10);
    const Image pressed = face();
    CheckFace(pressed, name + " pressed", kPressedRows, kOutline, true);
    const CaptionPixels up = FindCaption(hot), down = FindCaption(pressed);
    Check(down.left == up.left + 1 && down.top == up.top + 1 && down.right == up.right + 1 &&
              down.bottom == up.bottom + 1 && down.count == up.count,
          name + ": pressed caption moves one pixel right and down");
    button.MouseUp(TMouseButton::mbLeft, 0, 10, 10);

    button.SetEnabled(false);
    Check(!IsWindowEnabled(button.Handle()), name + ": disabling disables the window");
    const Image disabled = face();
    CheckFace(disabled, name + " disabled", kNormalRows, 0x0000C0C0, false);
    button.SetEnabled(true);
    button.MouseLeave();
}

// Reads and closes each error report box of this process, noting whether
// it came up while a handler ran and, on the first, presses the failing
// button g_pressWhileShown while the box is up; retries a box found
// half-built. Once no box has come for a while after the first, it ends the
// message loop of the GUI thread (its id is the parameter).
std::string g_reported;
volatile bool g_inHandler = false, g_boxInHandler = false;
HWND g_pressWhileShown = nullptr;
int g_boxes = 0;
DWORD WINAPI DismissReportBox(void* guiThread) {
    int quiet = 0;  // polls without a box since the last one closed
    for (int attempt = 0; attempt < 500; ++attempt, Sleep(20)) {
        HWND box = FindWindowA("#32770", nullptr);
        DWORD process = 0;
        if (box) GetWindowThreadProcessId(box, &process);
        if (!box || process != GetCurrentProcessId()) {
            if (g_reported.empty() || ++quiet < 15) continue;
            PostThreadMessageA(static_cast<DWORD>(reinterpret_cast<UINT_PTR>(guiThread)), WM_QUIT, 0, 0);
            return 0;
        }
        quiet = 0;
        HWND ok = GetDlgItem(box, IDOK);
        if (!ok || !IsWindowVisible(box)) continue;
        char text[256] = {};
        GetDlgItemTextA(box, 0xFFFF, text, sizeof text);
        g_boxInHandler = g_inHandler;
        g_reported = text;
        ++g_boxes;
        // Handled by the box's own loop on the GUI thread: a failure while the box is up.
        if (HWND button = std::exchange(g_pressWhileShown, nullptr)) {
            SendMessageA(button, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(20, 10));
            SendMessageA(button, WM_LBUTTONUP, 0, MAKELPARAM(20, 10));
        }
        PostMessageA(box, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), reinterpret_cast<LPARAM>(ok));
        while (IsWindow(box) && ++attempt < 500) Sleep(20);
    }
    return 1;
}

// The window side: caption and enabled state are the window's; a press takes the focus.
void CheckWindowBehaviour(HWND panel) {
    TLbSpeedButton button;
    button.SetCaption("Cautare...");
    button.SetEnabled(false);
    kit::ApplyKitButtonLook(button);
    button.Create(panel, 16, 120, 201, 31);
    HWND hwnd = button.Handle();
    auto windowText = [hwnd] {
        char text[64] = {};
        GetWindowTextA(hwnd, text, sizeof text);
        return std::string(text);
    };
    Check(windowText() == "Cautare..." && !IsWindowEnabled(hwnd), "created with caption and disabled");
    button.SetCaption("Actualizare la versiunea 2.39");
    button.SetEnabled(true);
    Check(windowText() == "Actualizare la versiunea 2.39" && IsWindowEnabled(hwnd), "window follows the button");
    SetWindowTextA(hwnd, "Din afara");
    EnableWindow(hwnd, FALSE);
    Check(button.Caption() == "Din afara" && !button.Enabled(), "button follows the window");
    EnableWindow(hwnd, TRUE);
    Check(SendMessageA(hwnd, WM_MOUSEACTIVATE, 0, 0) != MA_NOACTIVATE, "a click activates its window");

    int clicks = 0;
    button.OnClick = [&] { ++clicks; };
    auto send = [hwnd](UINT msg, int x) {
        SendMessageA(hwnd, msg, msg == WM_LBUTTONUP ? 0 : MK_LBUTTON, MAKELPARAM(x, 10));
    };
    send(WM_MOUSEMOVE, 20);
    Check(button.MouseInside() && button.FadeLevel() == 8, "mouse move over the button makes it hot");
    send(WM_LBUTTONDOWN, 20);
    Check(button.Down() && GetFocus() == hwnd, "left press holds it down and takes the focus");
    send(WM_LBUTTONUP, 20);
    Check(!button.Down() && clicks == 1, "release over the button clicks once");
    send(WM_LBUTTONDOWN, 20);
    send(WM_LBUTTONUP, 20);
    send(WM_LBUTTONDBLCLK, 20);
    send(WM_LBUTTONUP, 20);
    Check(clicks == 3, "a double-click is a second press and click (" + std::to_string(clicks) + " clicks)");
    send(WM_LBUTTONDOWN, 20);
    send(WM_LBUTTONUP, 500);
    Check(clicks == 3 && !button.Down(), "release away from the button doesn't click");
    SendMessageA(hwnd, WM_MOUSELEAVE, 0, 0);
    Check(!button.MouseInside() && button.FadeLevel() == 0, "leaving drops the hot face");

    // A failing click handler goes to the error report, not back into
    // Windows: recorded at once, shown by the message loop after the handler
    // has returned, never as a modal box inside it. A second failure while
    // the box is up is recorded only: no box of its own, then or after.
    static std::string recorded;
    static int records = 0;
    fw::Application::Get().OnErrorReport = [](const std::string&, const std::string& text) {
        recorded = text;
        ++records;
    };
    g_pressWhileShown = hwnd;
    button.OnClick = [] { throw std::runtime_error("click failed"); };
    const UINT_PTR guiThread = GetCurrentThreadId();
    HANDLE dismisser = CreateThread(nullptr, 0, &DismissReportBox, reinterpret_cast<void*>(guiThread), 0, nullptr);
    g_inHandler = true;
    send(WM_LBUTTONDOWN, 20);
    send(WM_LBUTTONUP, 20);
    g_inHandler = false;
    Check(recorded == "click failed.", "the failure is recorded at once (\"" + recorded + "\")");
    fw::Application::Get().Run();  // shows the report; the dismisser ends it
    WaitForSingleObject(dismisser, INFINITE);
    CloseHandle(dismisser);
    fw::Application::Get().OnErrorReport = nullptr;
    Check(g_reported == "click failed.", "the message loop showed the report (\"" + g_reported + "\")");
    Check(!g_boxInHandler, "no box came up inside the handler");
    Check(records == 2 && g_boxes == 1, "a failure while the box is up is recorded only (" + std::to_string(records) +
                                            " recorded, " + std::to_string(g_boxes) + " boxes)");
    Check(!button.Down(), "a failing click still lets the button up");

    // Painted through WM_PAINT on screen, the corners show the panel.
    RedrawWindow(hwnd, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
    const Image screen = lbtest::Capture(fw::window_dc(hwnd).get(), 0, 0, 201, 31);
    CheckColor(screen.At(0, 0), lbtest::kPanelColor, "on screen the corner shows the panel");
    CheckColor(screen.At(6, 2), Yellow(kNormalRows[0]), "on screen the gradient");
}

}  // namespace

// A size the system has no bitmap for (a terabyte) fails, also when asked
// again, and leaves no size without pixels behind, which the next paint
// would read through; a size that fits works afterwards.
void CheckSurfaceWithoutBitmap() {
    auto fails = [](DibSurface& surface) {
        try {
            surface.Resize(1 << 19, 1 << 19);
        } catch (const fw::Error&) {
            return surface.Width() == 0 && surface.Height() == 0 && surface.Bits() == nullptr;
        }
        return false;
    };
    DibSurface surface;
    surface.Resize(4, 4);
    Check(fails(surface), "a surface without a bitmap of its size fails and stays empty");
    Check(fails(surface), "and fails again when asked for the same size");
    surface.Resize(4, 4);
    Check(surface.Width() == 4 && surface.Bits() != nullptr, "a size that fits works afterwards");
}

// A call that failed and left no code is told as a failure whose code says
// so, never with the text of code 0 ("The operation completed successfully";
// Wine: "Success"). Wine has no text for the code given instead.
void CheckFailureWithoutCode() {
    SetLastError(ERROR_SUCCESS);
    std::string text;
    unsigned long code = 0;
    try {
        fw::ThrowLastError("Cannot create the window's brush");
    } catch (const fw::Error& e) {
        text = e.what();
        code = e.code;
    }
    Check(code == ERROR_UNIDENTIFIED_ERROR && text.find("uccess") == std::string::npos,
          "a failure without a code is told as one (\"" + text + "\")");
    const fw::Result result = fw::FailureOf(ERROR_SUCCESS);
    Check(!result.ok && result.code == ERROR_UNIDENTIFIED_ERROR, "and so is a result without a code");
}

int main() {
    lbtest::PrintPasses() = false;  // failures only
    lbtest::StartWatchdog(120);
    lbtest::HostForm form;
    HWND panel = form.Panel();
    Check(panel != nullptr, "host panel created");
    CheckButton(panel, 16, 201, "Actualizare la versiunea 2.39");
    CheckButton(panel, 300, 108, "Inchide");
    CheckWindowBehaviour(panel);
    CheckSurfaceWithoutBitmap();
    CheckFailureWithoutCode();
    if (lbtest::Failures()) std::printf("%d check(s) failed\n", lbtest::Failures());
    else std::printf("all button pixel checks passed\n");
    return lbtest::Failures() ? 1 : 0;
}
