// Temporary stand-in for the gradient speed button: a child window that shows
// its caption and forwards clicks. Replaced by the painted control.
#pragma once

#include <windows.h>

#include <functional>
#include <string>

class TLbSpeedButton {
public:
    TLbSpeedButton() = default;
    TLbSpeedButton(const TLbSpeedButton&) = delete;
    TLbSpeedButton& operator=(const TLbSpeedButton&) = delete;
    ~TLbSpeedButton();

    // Creates the button's window as a child of parent at the given place.
    void Create(HWND parent, int left, int top, int width, int height);
    HWND Handle() const { return hwnd_; }

    void SetCaption(const std::string& caption);
    const std::string& Caption() const { return caption_; }
    void SetEnabled(bool enabled);
    bool Enabled() const { return enabled_; }

    std::function<void()> OnClick;

private:
    static LRESULT CALLBACK WndProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
    HWND hwnd_ = nullptr;
    std::string caption_;
    bool enabled_ = true;
    bool pressed_ = false;
};
