// The gradient speed button as a child window. The window's text is the
// caption and its enabled state is the button's. Like a standard push button
// it is a tab stop, takes the focus when pressed, shows a focus cue while
// the keyboard is in use, answers Space, Enter and BM_CLICK, and tells
// screen readers it is a push button (ButtonAccessibility). Its face is
// composed off-screen over the parent's own background, so outside the
// rounded frame the parent shows.
#pragma once

#include <windows.h>

#include <functional>
#include <memory>
#include <string>

#include "controls/ButtonAccessibility.h"
#include "controls/DibSurface.h"
#include "controls/FontCache.h"
#include "controls/SpeedButtonCore.h"
#include "framework/Align.h"
#include "framework/Controls.h"
#include "framework/Window.h"

namespace lb {

class TLbSpeedButton : public fw::Window, private ButtonHost, public SpeedButtonCore {
public:
    static constexpr char kClassName[] = "TLbSpeedButton";

    TLbSpeedButton();
    ~TLbSpeedButton() override;

    // Creates the button's window as a child of parent at the given place.
    void Create(HWND parent, int left, int top, int width, int height);
    // Also where the anchors keep the button when the parent is resized.
    void SetBounds(int left, int top, int width, int height);
    // Applied when the parent is resized, and at once for Align.
    void SetAlign(fw::TAlign value);
    fw::TAlign Align() const { return placement_.align; }
    void SetAnchors(fw::TAnchors value) { placement_.anchors = value; }
    fw::TAnchors Anchors() const { return placement_.anchors; }
    void SetVisible(bool visible);
    bool Visible() const { return visible_; }

    // Composes the face over the parent's background into dc at (0, 0).
    void PaintTo(HDC dc);
    // Draws the face alone into dc at (0, 0): key-colour pixels stay where the
    // parent would show through.
    void PaintFaceTo(HDC dc);

    // The button behind a window of its class, or null.
    static TLbSpeedButton* FromHandle(HWND hwnd);

private:
    //--- ButtonHost
    void Invalidate() override;
    void PaintNow() override;
    bool Showing() const override;
    int ScreenBitsPerPixel() const override;
    std::vector<SpeedButtonCore*> SiblingButtons() override;
    std::unique_ptr<FadeTicker> CreateFadeTicker(std::function<void()> tick) override;
    Point ClientToScreen(Point point) const override;
    void CaptionChanged() override;
    void EnabledChanged() override;
    void FollowParent() override;
    void SetShown(bool visible) override { SetVisible(visible); }
    bool ParentShowsHints() const override;
    void SetHintPending(bool pending) override;

    //--- Window messages
    LRESULT HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) override;
    void MsgPaint();
    void MsgMouseMove(WPARAM keys, int x, int y);
    void MsgMouseLeave();
    void MsgButtonDown(TMouseButton button, WPARAM keys, int x, int y);
    void MsgButtonUp(TMouseButton button, WPARAM keys, int x, int y);
    bool MsgSetCursor(LPARAM hitTest);
    bool MsgKey(WPARAM key, bool down, bool repeat);
    void MsgFocus(bool focused);
    void MsgUpdateUiState(WORD action, WORD flags);
    // A focused button shows the system's dotted cue once the keyboard is in use.
    bool ShowsFocusCue() const;
    void MsgSetText(const char* text);
    void MsgSize(int width, int height);
    void MsgParentFontChanged(HFONT font);
    // Sets value's typeface, size and style to a GDI font's, keeping its
    // colour; false without a font.
    static bool FontOf(HFONT font, ButtonFont& value);
    void MsgHintTimer();
    void Placed(int left, int top, int width, int height);

    void DrawFace();  // into face_
    void PaintParentBackground(HDC dc);
    void ComposeFace();

    bool visible_ = true;
    bool hovering_ = false;       // told the core the pointer entered
    bool clickPending_ = false;   // left button went down on the button
    bool syncingWindow_ = false;  // the window changed caption or enabled state itself
    bool focusCueHidden_ = true;  // UISF_HIDEFOCUS as WM_UPDATEUISTATE last told it
    fw::Placement placement_;
    fw::HintWindow hint_;
    FontCache fonts_;
    DibSurface face_;
    DibSurface composition_;
    ButtonAccessibility accessibility_;
};

}  // namespace lb
