// What a screen reader learns of a speed button: the button's window answers
// WM_GETOBJECT with an accessible object of its own, a push button named by
// its caption, with its state and the default action "Press". The system's
// stand-in object for a window of an unknown class would tell a reader no
// more than an anonymous client area.
#pragma once

#include <windows.h>

#include "framework/Handles.h"

namespace lb {

class SpeedButtonCore;
class AccessibleButton;

class ButtonAccessibility {
public:
    ButtonAccessibility();
    ButtonAccessibility(const ButtonAccessibility&) = delete;
    ButtonAccessibility& operator=(const ButtonAccessibility&) = delete;
    ~ButtonAccessibility();

    // Answers WM_GETOBJECT(wParam, OBJID_CLIENT) for the button's window;
    // false when the accessibility library can't give an answer, so the
    // system's stand-in answers instead. The default action posts BM_CLICK.
    bool Answer(HWND window, const SpeedButtonCore& button, WPARAM wParam, LRESULT& result);
    // The window goes: an object a reader still holds answers
    // CO_E_OBJNOTCONNECTED from now on.
    void Disconnect();

private:
    fw::com_ptr<AccessibleButton> object_;  // while connected
};

}  // namespace lb
