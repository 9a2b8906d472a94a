// The plain controls of the kit's window: a coloured panel with a raised
// bevel, a read-only multi-line log, a timer and the standard dialogs.
#pragma once

#include <windows.h>

#include <functional>
#include <string>

#include "framework/Handles.h"
#include "framework/Window.h"

namespace fw {

// A panel filled with one colour inside a raised one-pixel bevel. It also
// paints itself on request (WM_PRINTCLIENT), so controls on it can show it
// through their transparent parts, and gives its log child its colours. Its
// children are told when its colour or font (WM_SETFONT) changes.
class Panel : public Window {
public:
    void Create(HWND parent, int left, int top, int width, int height, COLORREF color);
    void PaintBackground(HDC dc) const;
    void SetColor(COLORREF color);
    COLORREF Color() const { return color_; }

protected:
    LRESULT HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) override;

private:
    COLORREF color_ = 0;
    unique_hbrush brush_;
    HFONT font_ = nullptr;  // the caller's, as WM_SETFONT has it
};

// A small tooltip of our own (the common controls' one needs a library the
// kit doesn't load): a bordered pop-up text of the system's, one line in the
// dialog font, shown without taking the activation.
class HintWindow {
public:
    static constexpr unsigned kPauseMs = 500;  // hover time before a hint shows

    // Shows text with its top-left corner at the screen point (x, y).
    void Show(const std::string& text, int x, int y);
    void Hide();
    HWND Handle() const { return hwnd_.get(); }

private:
    unique_hwnd hwnd_;
};

// Whether a window shows the hints of its controls: what SetShowHint set on
// it, else what its parent shows; false at the top.
void SetShowHint(HWND window, bool show);
bool ShowsHints(HWND window);

// A read-only multi-line text box to which whole lines are appended. Its
// window goes with its parent's, or with the Memo, whichever goes first:
// the Memo lets go of it when it is destroyed (WM_NCDESTROY), so no call
// reaches a window that is gone.
class Memo {
public:
    Memo() = default;
    Memo(const Memo&) = delete;
    Memo& operator=(const Memo&) = delete;
    ~Memo();

    // Fails with fw::Error, carrying the system's code.
    void Create(HWND parent, int left, int top, int width, int height, COLORREF color, HFONT font);
    void AppendLine(const std::string& line);
    HWND Handle() const { return hwnd_.get(); }
    // Colours for the parent's WM_CTLCOLORSTATIC / WM_CTLCOLOREDIT answer.
    HBRUSH Colorize(HDC dc) const;

private:
    // The edit box's procedure in front of the system's, for WM_NCDESTROY.
    static LRESULT CALLBACK EditProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) noexcept;
    unique_hwnd hwnd_;
    WNDPROC editProc_ = nullptr;  // the system's
    COLORREF color_ = 0;
    unique_hbrush brush_;
};

// A thread timer that calls OnTimer every Interval milliseconds while
// enabled; enabling fails with fw::Error when the system gives no timer.
class Timer {
public:
    Timer() = default;
    Timer(const Timer&) = delete;
    Timer& operator=(const Timer&) = delete;
    ~Timer() { SetEnabled(false); }

    unsigned Interval = 1000;
    std::function<void()> OnTimer;
    void SetEnabled(bool enabled);
    bool Enabled() const { return id_ != 0; }

private:
    static void CALLBACK TimerProc(HWND, UINT, UINT_PTR id, DWORD) noexcept;
    UINT_PTR id_ = 0;
    static Timer* enabled_;  // the enabled timers, linked through next_
    Timer* next_ = nullptr;
};

// Modal message dialogs with one "OK" button, owned by the main window.
void ShowErrorMessage(const std::string& text);        // titled "Error"
void ShowInformationMessage(const std::string& text);  // titled "Information"

}  // namespace fw
