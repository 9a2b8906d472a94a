// What the button programs run under Wine add to the shared test support: a
// host window with the kit's own panel.
#pragma once

#include <windows.h>

#include "controls/Color.h"
#include "framework/Controls.h"
#include "framework/Window.h"
#include "driver/Win32TestSupport.h"

namespace lbtest {

using namespace testsupport;

constexpr lb::TColor kPanelColor = 0x005BCECB;

// A visible top-level window holding a 425 x 161 panel of the kit's colour
// at (8, 8), the way the kit's window holds its buttons.
class HostForm : public fw::Window {
public:
    HostForm() {
        CreateHandle({"LbTestForm"}, 0, "Buttons", WS_POPUP | WS_VISIBLE | WS_CLIPCHILDREN, 40, 40, 441, 177, nullptr);
        panel_.Create(Handle(), 8, 8, 425, 161, kPanelColor);
        UpdateWindow(Handle());
    }
    HWND Panel() const { return panel_.Handle(); }
    // The font the form answers WM_GETFONT with (not owned).
    void SetFont(HFONT font) { font_ = font; }
    fw::Panel& PanelControl() { return panel_; }

protected:
    LRESULT HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) override {
        if (msg == WM_GETFONT) return reinterpret_cast<LRESULT>(font_);
        return DefaultHandler(msg, wParam, lParam);
    }

private:
    fw::Panel panel_;
    HFONT font_ = nullptr;
};

}  // namespace lbtest
