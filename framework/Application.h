// The application object: message loop, the top-level error report for
// failures no handler caught, and the process-wide format settings.
#pragma once

#include <windows.h>

#include <exception>
#include <functional>
#include <string>

namespace fw {

class Application {
public:
    static Application& Get();

    // Loads the format settings from the user's regional settings.
    void Initialize();
    // Runs the message loop until Terminate, showing the failure reports
    // that handlers posted after each message; returns the exit code.
    int Run();
    void Terminate();
    // Dispatches every pending message once, then returns.
    void ProcessMessages();

    // The window that owns error reports and sees key presses first.
    void SetMainWindow(HWND window) { mainWindow_ = window; }
    HWND MainWindow() const { return mainWindow_; }
    // Called for each key press meant for the main window or one of its
    // controls, before the control; returns true when it handled the key.
    std::function<bool(WPARAM key)> KeyPreview;

    // When true, the format settings follow the regional settings whenever
    // the system announces a change.
    bool UpdateFormatSettings = true;
    void SettingsChanged();

    std::string Title() const;
    // Shows a failure in the top-level error report now: a modal box with
    // the error icon and the application title. Only outside handlers.
    void ShowException(const std::exception& failure);
    // Records the failure of a handler (OnErrorReport) and leaves its report
    // to the message loop, which shows it once the handler has returned: no
    // modal box opens inside a paint or a timer tick. One report at a time:
    // failures while one waits or is on screen (a paint that fails again)
    // are recorded only. GUI thread only.
    void PostReport(const std::exception& failure);
    // Told the title and text of each error report when it is recorded.
    std::function<void(const std::string& title, const std::string& text)> OnErrorReport;

private:
    Application();
    bool Dispatch(MSG& msg);  // false on WM_QUIT
    bool RouteDialogChar(const MSG& msg);
    bool RouteTab(const MSG& msg);
    void ShowPendingReports();
    void ShowReportBox(const std::string& text, const std::string& title);
    HWND mainWindow_ = nullptr;
    std::string pending_;       // the posted report, until its box is closed
    bool reportShown_ = false;  // its box is up
};

// Reads decimal separator, date separator and short date format of the
// user's regional settings into the process-wide format settings.
void LoadFormatSettingsFromLocale();

}  // namespace fw
