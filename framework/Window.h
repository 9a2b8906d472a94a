// Base of the framework's windows: registers a class, creates the window
// with this object attached and forwards every message to HandleMessage.
// No failure crosses back into Windows: it goes to the error report.
#pragma once

#include <windows.h>

#include "framework/Handles.h"

namespace fw {

class Window {
public:
    Window() = default;
    Window(const Window&) = delete;
    Window& operator=(const Window&) = delete;
    virtual ~Window() = default;

    HWND Handle() const { return hwnd_.get(); }

protected:
    // Registers the class once per process under className.
    static void RegisterWindowClass(const char* className, UINT classStyle = 0,
                                    HCURSOR cursor = LoadCursor(nullptr, IDC_ARROW));
    void CreateHandle(DWORD exStyle, const char* className, const char* text, DWORD style, int left, int top,
                      int width, int height, HWND parent);
    virtual LRESULT HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam);
    LRESULT DefaultHandler(UINT msg, WPARAM wParam, LPARAM lParam);

private:
    static LRESULT CALLBACK WindowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
    unique_hwnd hwnd_;
};

}  // namespace fw
