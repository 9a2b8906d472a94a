// Base of the framework's windows: creates the window with this object
// attached (registering its class on first use) and forwards every message
// to HandleMessage until WM_NCDESTROY lets the object go. No failure crosses
// back into Windows: the window procedure is noexcept, and a failure of a
// handler is posted to the error report (see CallGuarded).
#pragma once

#include <windows.h>

#include "framework/Handles.h"

namespace fw {

// A window class of the program: its name and class style.
struct WindowClass {
    const char* name;
    UINT style = 0;
};

// The framework's notification of a typed accelerator character, sent to
// each control of a form in turn: wParam is the character (a UTF-16 unit); a control whose
// accelerator it is acts on it and returns 1, which ends the round.
constexpr UINT CM_DIALOGCHAR = 0xB006;

// A window's colour changed (wParam: the COLORREF) or its font (wParam: the
// HFONT); sent to each of its child windows, which may follow it.
constexpr UINT CM_PARENTCOLORCHANGED = 0xB009;
constexpr UINT CM_PARENTFONTCHANGED = 0xB008;
// Asks a window for its colour: lParam points to a COLORREF it fills in; a
// window that has a colour returns 1.
constexpr UINT CM_GETCOLOR = 0xB040;

// Asks a control for its Placement: it returns a pointer to it, or 0.
constexpr UINT CM_GETPLACEMENT = 0xB041;

// Places the children of parent that tell a Placement after a resize: the
// unaligned ones by their anchors, then the aligned ones side by side in
// control order: top, bottom, left, right, and client last.
void ArrangeChildren(HWND parent);

// Sends msg to each direct child window of parent.
void NotifyChildren(HWND parent, UINT msg, WPARAM wParam, LPARAM lParam);
// The window's colour, when it tells one.
bool WindowColor(HWND window, COLORREF& color);

// Offers the character to the controls of form (all its descendants) as an
// accelerator; true when one of them took it.
bool SendDialogChar(HWND form, wchar_t key);

// Makes every pixel of the key colour in a layered window see-through. A
// layered window shows nothing until this succeeds, so a failure fails with
// fw::Error, carrying the system's code.
void SetColorKey(HWND window, COLORREF key);

class Window {
public:
    Window() = default;
    Window(const Window&) = delete;
    Window& operator=(const Window&) = delete;
    virtual ~Window() = default;

    HWND Handle() const { return hwnd_.get(); }

    // The object attached to a window made by this base, or null.
    static Window* FromHandle(HWND hwnd);

protected:
    // Registers the class the first time a window of it is made, then creates
    // the window; fails with fw::Error, carrying the system's code.
    void CreateHandle(const WindowClass& windowClass, DWORD exStyle, const char* text, DWORD style, int left, int top,
                      int width, int height, HWND parent);
    // Destroys the window now, while the derived object is still whole.
    void DestroyHandle() { hwnd_.reset(); }
    virtual LRESULT HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam);
    LRESULT DefaultHandler(UINT msg, WPARAM wParam, LPARAM lParam);

private:
    static LRESULT CALLBACK WindowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) noexcept;
    unique_hwnd hwnd_;
};

}  // namespace fw
