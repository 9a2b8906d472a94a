#include "framework/Application.h"

#include <vector>

#include "framework/Error.h"
#include "framework/ErrorReport.h"
#include "framework/FormatSettings.h"
#include "framework/Guard.h"
#include "framework/Utf16.h"
#include "framework/Win32Error.h"
#include "framework/Window.h"

namespace fw {

Application& Application::Get() {
    static Application application;
    return application;
}

Application::Application() {
    SetGuardReport([](const std::exception& failure) { Application::Get().PostReport(failure); });
}

void Application::Initialize() { LoadFormatSettingsFromLocale(); }

bool Application::Dispatch(MSG& msg) {
    if (msg.message == WM_QUIT) return false;
    const bool forMainWindow = mainWindow_ && (msg.hwnd == mainWindow_ || IsChild(mainWindow_, msg.hwnd));
    if (msg.message == WM_KEYDOWN && forMainWindow && KeyPreview) {
        bool handled = true;  // also when the handler failed
        CallGuarded([&] { handled = KeyPreview(msg.wParam); });
        if (handled) return true;
    }
    if (forMainWindow && (RouteTab(msg) || RouteDialogChar(msg))) return true;
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
    return true;
}

// A typed character may be the accelerator of one of the main window's
// controls: Alt+character always is; a plain character only when the focused
// control doesn't take characters itself (an edit box does).
bool Application::RouteDialogChar(const MSG& msg) {
    if (msg.message != WM_CHAR && msg.message != WM_SYSCHAR) return false;
    if (msg.message == WM_CHAR && msg.hwnd != mainWindow_) {
        const LRESULT wants = SendMessageW(msg.hwnd, WM_GETDLGCODE, msg.wParam, reinterpret_cast<LPARAM>(&msg));
        if (wants & (DLGC_WANTCHARS | DLGC_WANTALLKEYS | DLGC_WANTMESSAGE)) return false;
    }
    return SendDialogChar(mainWindow_, static_cast<wchar_t>(msg.wParam));
}

namespace {

BOOL CALLBACK ShowFocusCue(HWND control, LPARAM) noexcept {
    SendMessageW(control, WM_UPDATEUISTATE, MAKEWPARAM(UIS_CLEAR, UISF_HIDEFOCUS), 0);
    return TRUE;
}

}  // namespace

// Tab and Shift+Tab move the focus through the main window's tab stops, as
// in a dialog, unless the focused control takes Tab itself. From then on
// the focus cue shows: the system is told, as a dialog tells it, and the
// controls too, since not every system passes it on to them (Wine doesn't).
bool Application::RouteTab(const MSG& msg) {
    if (msg.message != WM_KEYDOWN || msg.wParam != VK_TAB || GetKeyState(VK_CONTROL) < 0) return false;
    const bool fromControl = msg.hwnd != mainWindow_;
    if (fromControl &&
        (SendMessageW(msg.hwnd, WM_GETDLGCODE, msg.wParam, reinterpret_cast<LPARAM>(&msg)) & DLGC_WANTTAB))
        return false;
    SendMessageW(mainWindow_, WM_CHANGEUISTATE, MAKEWPARAM(UIS_CLEAR, UISF_HIDEFOCUS), 0);
    EnumChildWindows(mainWindow_, &ShowFocusCue, 0);
    const HWND next = GetNextDlgTabItem(mainWindow_, fromControl ? msg.hwnd : nullptr, GetKeyState(VK_SHIFT) < 0);
    if (next) SetFocus(next);
    return true;
}

int Application::Run() {
    MSG msg;
    ShowPendingReports();
    while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
        Dispatch(msg);
        ShowPendingReports();
    }
    return 0;
}

void Application::Terminate() { PostQuitMessage(0); }

void Application::ProcessMessages() {
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        if (!Dispatch(msg)) {
            PostQuitMessage(static_cast<int>(msg.wParam));  // leave it for Run
            return;
        }
    }
}

void Application::SettingsChanged() {
    if (UpdateFormatSettings) LoadFormatSettingsFromLocale();
}

std::string Application::Title() const {
    // The longest path the system has, so a kit in a deep folder is named
    // right. Should the name not be read, the title is empty: the report
    // it heads still says what failed.
    std::vector<wchar_t> path(32768, L'\0');
    const DWORD length = GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
    // Only shown: a folder name that is no valid Unicode mustn't stop the report.
    return ApplicationTitleFromPath(ShownUtf8(path.data(), length < path.size() ? length : 0));
}

void Application::ShowReportBox(const std::string& text, const std::string& title) {
    if (MessageBoxW(mainWindow_, WideText(text).c_str(), WideText(title).c_str(), MB_OK | MB_ICONERROR)) return;
    // The report is in the log already; the box's own failure joins it there.
    const Error failure = Win32Error("Cannot show the error report", GetLastError());
    if (OnErrorReport) OnErrorReport(title, ErrorReportText(failure.what()));
}

void Application::ShowException(const std::exception& failure) {
    const std::string text = ErrorReportText(failure.what()), title = Title();
    if (OnErrorReport) OnErrorReport(title, text);
    ShowReportBox(text, title);
}

void Application::PostReport(const std::exception& failure) {
    const std::string text = ErrorReportText(failure.what());
    if (OnErrorReport) OnErrorReport(Title(), text);
    if (!pending_.empty()) return;
    pending_ = text;
    // Wakes the loop when the failure came from a message sent by another
    // thread, which the loop handles while it waits. Should the queue be
    // full, the next message wakes it.
    PostThreadMessageW(GetCurrentThreadId(), WM_NULL, 0, 0);
}

// The report stays pending while its box is up, so a failure meanwhile (a
// paint or a message another thread sends while the box's own loop runs)
// is recorded only and opens no box of its own, now or after this one; the
// next failure after the box is closed is shown again.
void Application::ShowPendingReports() {
    if (pending_.empty() || reportShown_) return;
    reportShown_ = true;
    struct Closed {
        Application& application;
        ~Closed() {
            application.pending_.clear();
            application.reportShown_ = false;
        }
    } closed{*this};
    ShowReportBox(pending_, Title());
}

void LoadFormatSettingsFromLocale() {
    // A separator is one char: taken when the locale's is ASCII, else the
    // one set before stays (a char holds no other character's UTF-8 form).
    constexpr int kLength = 80;
    wchar_t buffer[kLength];
    FormatSettings& formats = Formats();
    auto read = [&](LCTYPE item) { return GetLocaleInfoW(LOCALE_USER_DEFAULT, item, buffer, kLength) > 1; };
    if (read(LOCALE_SDECIMAL) && buffer[0] < 0x80) formats.DecimalSeparator = static_cast<char>(buffer[0]);
    if (read(LOCALE_SDATE) && buffer[0] < 0x80) formats.DateSeparator = static_cast<char>(buffer[0]);
    if (read(LOCALE_SSHORTDATE)) formats.ShortDateFormat = ShownUtf8(buffer, lstrlenW(buffer));
}

}  // namespace fw
