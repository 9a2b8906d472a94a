#include "kit/window/Unit1.h"

#include <initializer_list>
#include <utility>

#include "framework/Application.h"
#include "framework/Dpi.h"
#include "framework/Error.h"
#include "framework/FormatSettings.h"
#include "framework/UiFont.h"
#include "framework/Win32Error.h"
#include "framework/Utf16.h"
#include "kit/window/KitButtonLook.h"
#include "kit/KitConstants.h"
#include "kit/KitTexts.h"
#include "kit/upgrade/PayloadCheck.h"
#include "kit/upgrade/UpgradeRun.h"
#include "kit/upgrade/VersionCheck.h"

namespace {
// Layout in pixels at 96 dpi; at any other DPI every length is scaled from here.
constexpr int kClientWidth = 441, kClientHeight = 179;
struct Place {
    int left, top, width, height;
};
constexpr Place kPanel = {8, 8, 425, 161};
constexpr Place kMemo = {16, 16, 393, 97};  // on the panel, as the buttons
constexpr Place kUpgradeButton = {16, 120, 201, 31};
constexpr Place kCloseButton = {300, 120, 108, 31};

constexpr COLORREF kFormColor = 0x001B5655;  // also the see-through colour key
constexpr COLORREF kPanelColor = 0x005BCECB;
constexpr COLORREF kMemoColor = 0x00AFE7E6;
constexpr DWORD kStyle = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_CLIPCHILDREN;
constexpr DWORD kExStyle = WS_EX_TOPMOST | WS_EX_LAYERED | WS_EX_CONTROLPARENT;
// Messages of per-monitor DPI awareness, which older SDKs lack.
constexpr UINT kDpiChanged = 0x02E0;        // WM_DPICHANGED
constexpr UINT kGetDpiScaledSize = 0x02E4;  // WM_GETDPISCALEDSIZE

Place ScaledPlace(const Place& p, int dpi) {
    return {fw::ScaleForDpi(p.left, dpi), fw::ScaleForDpi(p.top, dpi), fw::ScaleForDpi(p.width, dpi),
            fw::ScaleForDpi(p.height, dpi)};
}

// The window rectangle around the client area at dpi.
RECT FrameAt(int dpi) {
    return fw::WindowRectFor(fw::ScaleForDpi(kClientWidth, dpi), fw::ScaleForDpi(kClientHeight, dpi), kStyle, kExStyle,
                             dpi);
}
}  // namespace

TForm1::TForm1(kit::RunLog& log, fw::PayloadStore& payload, fw::FileSystem& files, fw::RegistryStore& registry,
               std::string protections)
    : payload_(payload), files_(files), registry_(registry), window_(log, this), protections_(std::move(protections)) {
    dpi_ = fw::DpiOf(nullptr);  // the primary screen's, where the window opens
    font_ = fw::CreateUiFont(kit::WindowFont(dpi_));
    background_.reset(fw::ThrowGdiFailureIfNull(CreateSolidBrush(kFormColor), "Cannot create the window's brush"));

    const RECT frame = FrameAt(dpi_);
    const int width = frame.right - frame.left, height = frame.bottom - frame.top;
    CreateHandle({"TForm1"}, kExStyle, "Form1", kStyle, (GetSystemMetrics(SM_CXSCREEN) - width) / 2,
                 (GetSystemMetrics(SM_CYSCREEN) - height) / 2, width, height, nullptr);
    fw::SetColorKey(Handle(), kFormColor);
    SendMessageW(Handle(), WM_SETFONT, reinterpret_cast<WPARAM>(font_.get()), FALSE);

    const Place panel = ScaledPlace(kPanel, dpi_), memo = ScaledPlace(kMemo, dpi_);
    const Place upgrade = ScaledPlace(kUpgradeButton, dpi_), close = ScaledPlace(kCloseButton, dpi_);
    Panel1.Create(Handle(), panel.left, panel.top, panel.width, panel.height, kPanelColor);
    Memo1.Create(Panel1.Handle(), memo.left, memo.top, memo.width, memo.height, kMemoColor, font_.get());

    Button2.SetCaption(kit::text::kUpgradeSearching);
    Button2.SetEnabled(false);
    kit::ApplyKitButtonLook(Button2);
    kit::ScaleKitButton(Button2, dpi_);
    Button2.Create(Panel1.Handle(), upgrade.left, upgrade.top, upgrade.width, upgrade.height);
    Button2.OnClick = [this] { Button2Click(); };

    LbSpeedButton1.SetCaption(kit::text::kCloseCaption);
    kit::ApplyKitButtonLook(LbSpeedButton1);
    kit::ScaleKitButton(LbSpeedButton1, dpi_);
    LbSpeedButton1.Create(Panel1.Handle(), close.left, close.top, close.width, close.height);
    LbSpeedButton1.OnClick = [this] { Button1Click(); };

    Timer1.Interval = 1000;
    Timer1.OnTimer = [this] { Timer1Timer(); };

    fw::Application::Get().SetMainWindow(Handle());
    fw::Application::Get().KeyPreview = [this](WPARAM key) { return FormKeyDown(key); };
    FormCreate();
}

TForm1::~TForm1() {
    fw::Application& application = fw::Application::Get();
    if (application.MainWindow() == Handle()) {
        application.SetMainWindow(nullptr);
        application.KeyPreview = nullptr;
    }
    DestroyHandle();
}

// The window itself takes the size the system suggests (WM_DPICHANGED);
// fonts are made anew for dpi, the old one kept until the log has let go.
void TForm1::Rescale(int dpi) {
    dpi_ = dpi;
    fw::unique_hfont oldFont = std::move(font_);
    font_ = fw::CreateUiFont(kit::WindowFont(dpi));
    for (const auto& [control, place] : {std::pair<HWND, Place>{Panel1.Handle(), kPanel}, {Memo1.Handle(), kMemo}}) {
        const Place p = ScaledPlace(place, dpi);
        fw::ThrowLastErrorIf(!MoveWindow(control, p.left, p.top, p.width, p.height, TRUE), "Cannot move a control");
    }
    SendMessageW(Memo1.Handle(), WM_SETFONT, reinterpret_cast<WPARAM>(font_.get()), TRUE);
    for (auto [button, place] :
         {std::pair<lb::TLbSpeedButton*, Place>{&Button2, kUpgradeButton}, {&LbSpeedButton1, kCloseButton}}) {
        kit::ScaleKitButton(*button, dpi);
        const Place p = ScaledPlace(place, dpi);
        button->SetBounds(p.left, p.top, p.width, p.height);
    }
}

void TForm1::Show() {
    FormShow();
    // Focus cues hidden or shown by how the kit was started (mouse or
    // keyboard), as the system does for dialogs; Tab shows them.
    SendMessageW(Handle(), WM_CHANGEUISTATE, MAKEWPARAM(UIS_INITIALIZE, 0), 0);
    ShowWindow(Handle(), SW_SHOWNORMAL);
    SetFocus(Memo1.Handle());
    CheckPayload();
}

// Runs once the window is painted, inside the second before the version
// check, so neither the check nor a click comes later. A damaged kit stops
// there: the timer is stopped, so the upgrade button is never armed, and
// the error report names the damaged file.
void TForm1::CheckPayload() {
    fw::Application::Get().ProcessMessages();
    const char* damaged = kit::FindDamagedItem(payload_);
    if (!damaged) return;
    Timer1.SetEnabled(false);  // before the report, whose box would let the timer tick
    outcome_ = kit::RunOutcome::PayloadDamaged;
    fw::Application::Get().ShowException(fw::Error(kit::text::PayloadDamagedText(damaged)));
}

void TForm1::FormCreate() {
    // The version texts must read "2.39" whatever the regional settings say,
    // also after the user changes them while the kit runs.
    fw::Application::Get().UpdateFormatSettings = false;
    kit::ForceKitFormats();
}

void TForm1::FormShow() {
    fw::Formats().DecimalSeparator = '.';
    fw::Application::Get().ProcessMessages();
    fw::ThrowLastErrorIf(!SetWindowTextW(Handle(), fw::WideText(kit::text::WindowCaption()).c_str()),
                         "Cannot set the window's caption");
    Timer1.SetEnabled(true);
}

bool TForm1::FormKeyDown(WPARAM key) {
    if (key != VK_ESCAPE) return false;
    fw::Application::Get().Terminate();
    return true;
}

void TForm1::Button1Click() { fw::Application::Get().Terminate(); }

void TForm1::Timer1Timer() {
    Timer1.SetEnabled(false);
    outcome_ = kit::RunOutcome::VersionUnreadable;  // unless the check ends
    switch (kit::RunVersionCheck(registry_, window_, InstallFolder)) {
    case kit::CheckResult::NotInstalled: outcome_ = kit::RunOutcome::NotInstalled; break;
    case kit::CheckResult::UpToDate: outcome_ = kit::RunOutcome::UpToDate; break;
    case kit::CheckResult::Older: outcome_ = kit::RunOutcome::NotUpgraded; break;
    }
}

void TForm1::Button2Click() {
    kit::UpgradeServices services{payload_, files_, registry_, window_, protections_};
    outcome_ = kit::RunOutcome::Failed;  // unless the run ends
    outcome_ = kit::RunUpgrade(services, InstallFolder);
}

LRESULT TForm1::HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
    case WM_ERASEBKGND: {
        RECT r;
        // Unfilled, the background shows the see-through key colour: the
        // form's own colour, which the default erase would paint over.
        if (GetClientRect(Handle(), &r)) FillRect(reinterpret_cast<HDC>(wParam), &r, background_.get());
        return 1;
    }
    case WM_GETFONT: return reinterpret_cast<LRESULT>(font_.get());  // the buttons' hot-track font
    case WM_CLOSE: fw::Application::Get().Terminate(); return 0;
    case WM_ACTIVATE:
        // The focused control is kept while another window is active and
        // given back, as a dialog does.
        if (LOWORD(wParam) == WA_INACTIVE) {
            RememberFocus();
        } else if (IsChild(Handle(), focused_) && IsWindowEnabled(focused_)) {
            SetFocus(focused_);
            return 0;
        }
        break;
    case WM_SETTINGCHANGE: fw::Application::Get().SettingsChanged(); break;
    case kGetDpiScaledSize: {
        // The window around the scaled client area, not the old window scaled.
        const RECT frame = FrameAt(static_cast<int>(wParam));
        *reinterpret_cast<SIZE*>(lParam) = {frame.right - frame.left, frame.bottom - frame.top};
        return TRUE;
    }
    case kDpiChanged: {  // moved to a monitor of another DPI
        const RECT& r = *reinterpret_cast<const RECT*>(lParam);
        Rescale(HIWORD(wParam));
        fw::ThrowLastErrorIf(!SetWindowPos(Handle(), nullptr, r.left, r.top, r.right - r.left, r.bottom - r.top,
                                           SWP_NOZORDER | SWP_NOACTIVATE),
                             "Cannot size the window for the display");
        return 0;
    }
    }
    return DefaultHandler(msg, wParam, lParam);
}

void TForm1::AppendLog(const std::string& line) { Memo1.AppendLine(line); }
void TForm1::SetUpgradeCaption(const std::string& caption) { Button2.SetCaption(caption); }
void TForm1::SetUpgradeEnabled(bool enabled) { Button2.SetEnabled(enabled); }
// Also before a message box: its owner, disabled meanwhile, loses the focus.
void TForm1::RememberFocus() {
    if (IsChild(Handle(), GetFocus())) focused_ = GetFocus();
}

void TForm1::ShowErrorDialog(const std::string& text) {
    RememberFocus();
    fw::ShowErrorMessage(text);
}

void TForm1::ShowInformationDialog(const std::string& text) {
    RememberFocus();
    fw::ShowInformationMessage(text);
}
