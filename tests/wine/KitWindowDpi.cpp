// The kit's window told that it moved to a monitor of another DPI
// (WM_DPICHANGED, which Wine doesn't send by itself): it takes the
// suggested rectangle, and its panel, log, buttons and fonts follow the
// DPI there and back.
#include <windows.h>

#include <cstdio>
#include <string>

#include "framework/Application.h"
#include "kit/unattended/LogFile.h"
#include "framework/ModuleResources.h"
#include "framework/Win32FileSystem.h"
#include "framework/Win32Registry.h"
#include "kit/window/Unit1.h"
#include "wine/LbWineSupport.h"

using lbtest::Check;

namespace {

std::string SizeText(int width, int height) { return std::to_string(width) + " x " + std::to_string(height); }

void CheckSize(HWND window, const std::string& what, int width, int height) {
    RECT r = {};
    GetClientRect(window, &r);
    Check(r.right == width && r.bottom == height, what + " " + SizeText(width, height), SizeText(r.right, r.bottom));
}

int FontHeight(HWND window) {
    LOGFONTA font = {};
    const HFONT handle = reinterpret_cast<HFONT>(SendMessageA(window, WM_GETFONT, 0, 0));
    return handle && GetObjectA(handle, sizeof font, &font) ? font.lfHeight : 0;
}

constexpr UINT kDpiChanged = 0x02E0;  // WM_DPICHANGED, which older SDKs lack

struct Expected {
    int dpi, clientWidth, clientHeight, panelWidth, panelHeight, memoWidth, memoHeight, upgradeWidth, closeWidth,
        buttonHeight, fontHeight;
};

void MoveTo(TForm1& form, const Expected& e) {
    const std::string at = " at " + std::to_string(e.dpi) + " dpi";
    RECT suggested = {0, 0, e.clientWidth, e.clientHeight};
    AdjustWindowRectEx(&suggested, GetWindowLongA(form.Handle(), GWL_STYLE), FALSE,
                       GetWindowLongA(form.Handle(), GWL_EXSTYLE));
    OffsetRect(&suggested, 100 - suggested.left, 80 - suggested.top);
    SendMessageA(form.Handle(), kDpiChanged, MAKEWPARAM(e.dpi, e.dpi), reinterpret_cast<LPARAM>(&suggested));
    RECT placed = {};
    GetWindowRect(form.Handle(), &placed);
    Check(EqualRect(&placed, &suggested) != FALSE, "the window takes the suggested rectangle" + at);
    CheckSize(form.Handle(), "client area" + at, e.clientWidth, e.clientHeight);
    CheckSize(form.Panel1.Handle(), "panel" + at, e.panelWidth, e.panelHeight);
    RECT memo = {};
    GetWindowRect(form.Memo1.Handle(), &memo);
    Check(memo.right - memo.left == e.memoWidth && memo.bottom - memo.top == e.memoHeight,
          "log " + SizeText(e.memoWidth, e.memoHeight) + at, SizeText(memo.right - memo.left, memo.bottom - memo.top));
    CheckSize(form.Button2.Handle(), "upgrade button" + at, e.upgradeWidth, e.buttonHeight);
    CheckSize(form.LbSpeedButton1.Handle(), "close button" + at, e.closeWidth, e.buttonHeight);
    Check(FontHeight(form.Memo1.Handle()) == e.fontHeight, "the log's font height " + std::to_string(e.fontHeight) + at,
          std::to_string(FontHeight(form.Memo1.Handle())));
    Check(form.Button2.Font().height == e.fontHeight && form.LbSpeedButton1.Font().height == e.fontHeight &&
              form.Button2.HotTrackFont().height == e.fontHeight,
          "the buttons' fonts" + at);
    Check(form.Button2.Dpi() == e.dpi && form.LbSpeedButton1.Dpi() == e.dpi, "the buttons' faces" + at);
}

}  // namespace

int main() {
    lbtest::PrintPasses() = false;  // failures only
    lbtest::StartWatchdog(60);
    SetProcessDPIAware();
    kit::LogFile log;  // not open: writes nothing
    fw::ModuleResources payload;
    fw::Win32FileSystem files;
    fw::Win32Registry registry;
    TForm1 form(log, payload, files, registry);
    ShowWindow(form.Handle(), SW_SHOWNA);
    const Expected at144 = {144, 662, 269, 638, 242, 590, 146, 302, 162, 47, -17};
    const Expected at120 = {120, 551, 224, 531, 201, 491, 121, 251, 135, 39, -14};
    const Expected at96 = {96, 441, 179, 425, 161, 393, 97, 201, 108, 31, -11};
    for (const Expected& e : {at144, at120, at96}) MoveTo(form, e);
    fw::Application::Get().ProcessMessages();  // paints at 96 dpi again, without a failure report
    if (lbtest::Failures()) std::printf("%d check(s) failed\n", lbtest::Failures());
    else std::printf("all DPI checks passed\n");
    return lbtest::Failures() ? 1 : 0;
}
