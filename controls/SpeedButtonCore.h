// The speed button without its window: properties, hot tracking, fading,
// pressing, grouping and the choice of what to paint. Everything that needs
// the platform goes through ButtonHost, so this runs and is tested
// natively.
#pragma once

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "controls/Bitmap.h"
#include "controls/ButtonAction.h"
#include "controls/ButtonFont.h"
#include "controls/DropDownMenu.h"
#include "controls/LbButtons.h"

namespace lb {
enum class TMouseButton { mbLeft, mbRight, mbMiddle };
using TShiftState = unsigned;  // MK_ flags of the mouse message

// Mouse cursors the button can show over itself.
constexpr int crDefault = 0;
constexpr int crHandPoint = -21;

// The keys a focused push button answers.
enum class ButtonKey { Space, Enter };

// The caption as read aloud: the accelerator's "&" dropped, "&&" read as one "&".
std::string WithoutAccelerator(const std::string& caption);

// Calls FadeStep about every 30 ms on the button's thread while running.
class FadeTicker {
public:
    virtual ~FadeTicker() = default;
    virtual void Resume() = 0;
    virtual void Suspend() = 0;
    virtual bool Suspended() const = 0;
    // Ends the ticker for good; the last tick may still run meanwhile.
    virtual void Stop() noexcept = 0;
};

class SpeedButtonCore;

struct Point {
    int x = 0;
    int y = 0;
};

// What the button asks of the place it lives in.
class ButtonHost {
public:
    virtual void Invalidate() = 0;     // repaint later
    virtual void PaintNow() = 0;       // repaint before returning
    virtual bool Showing() const = 0;  // visible, with a parent that is showing
    virtual int ScreenBitsPerPixel() const = 0;
    // The other buttons on the same parent, in the parent's control order.
    virtual std::vector<SpeedButtonCore*> SiblingButtons() = 0;
    virtual std::unique_ptr<FadeTicker> CreateFadeTicker(std::function<void()> tick) = 0;
    virtual Point ClientToScreen(Point point) const = 0;
    virtual void CaptionChanged() = 0;
    virtual void EnabledChanged() = 0;
    // ParentColor or ParentFont became true: take the parent's colour and font.
    virtual void FollowParent() = 0;
    // The linked action shows or hides the button.
    virtual void SetShown(bool visible) = 0;
    // Whether the parent shows its controls' hints.
    virtual bool ParentShowsHints() const = 0;
    // Shows the hint after the hover pause (true), or cancels or hides it.
    virtual void SetHintPending(bool pending) = 0;

protected:
    ~ButtonHost() = default;
};

class SpeedButtonCore : private ActionClient {
public:
    static constexpr int kMaxFadeLevel = 8;

    explicit SpeedButtonCore(ButtonHost& host);
    virtual ~SpeedButtonCore();
    SpeedButtonCore(const SpeedButtonCore&) = delete;
    SpeedButtonCore& operator=(const SpeedButtonCore&) = delete;

    //--- Properties
    void SetAction(ButtonAction* action);
    ButtonAction* Action() const { return action_; }
    void SetAlignment(TAlignment value);
    TAlignment Alignment() const { return face_.alignment; }
    void SetAllowAllUp(bool value) { allowAllUp_ = value; }
    bool AllowAllUp() const { return allowAllUp_; }
    void SetCaption(const std::string& value);
    const std::string& Caption() const { return face_.caption; }
    void SetColor(TColor value);
    TColor Color() const { return face_.color; }
    void SetColorWhenDown(TColor value);
    TColor ColorWhenDown() const { return face_.downColor; }
    void SetColorStyle(TLbColorStyle value);
    TLbColorStyle ColorStyle() const { return lcsCustom; }  // a preset is applied, never kept
    void SetCursor(int value) { cursor_ = value; }
    int Cursor() const { return cursor_; }
    void SetDown(bool value);
    bool Down() const { return face_.down; }
    // The DPI the face is painted for; the owner scales size and fonts itself.
    void SetDpi(int value);
    int Dpi() const { return face_.dpi; }
    void SetEnabled(bool value);
    bool Enabled() const { return face_.enabled; }
    void SetFlat(bool value);
    bool Flat() const { return face_.flat; }
    void SetFont(const ButtonFont& value);
    const ButtonFont& Font() const { return face_.font; }
    void SetGlyph(const Bitmap* value);  // null empties it
    const Bitmap& Glyph() const { return glyph_; }
    void SetGroupIndex(int value);
    int GroupIndex() const { return groupIndex_; }
    void SetHint(const std::string& value) { hint_ = value; }
    // Setting ShowHint ends following the parent's.
    void SetShowHint(bool value) { showHint_ = value, parentShowHint_ = false; }
    bool ShowHint() const { return showHint_; }
    void SetParentShowHint(bool value) { parentShowHint_ = value; }
    bool ParentShowHint() const { return parentShowHint_; }
    // A hint is shown when there is one and the button or its parent shows hints.
    bool HintWanted() const;
    const std::string& Hint() const { return hint_; }
    void SetHotTrackColor(TColor value) { face_.hotColor = value; }
    TColor HotTrackColor() const { return face_.hotColor; }
    void SetHotTrackFont(const ButtonFont& value) { hotTrackFont_ = value, hotTrackFontSet_ = true; }
    const ButtonFont& HotTrackFont() const { return hotTrackFont_; }
    void SetLayout(TLbSpeedButtonLayout value);
    TLbSpeedButtonLayout Layout() const { return face_.layout; }
    void SetLightColor(TColor value);
    TColor LightColor() const { return face_.lightColor; }
    void SetNumGlyphs(int value);
    int NumGlyphs() const { return face_.glyphCount; }
    void SetParentColor(bool value);
    bool ParentColor() const { return parentColor_; }
    void SetParentFont(bool value);
    bool ParentFont() const { return parentFont_; }
    void SetPopupMenu(DropDownMenu* value) { popupMenu_ = value; }
    DropDownMenu* PopupMenu() const { return popupMenu_; }
    void SetShadowColor(TColor value);
    TColor ShadowColor() const { return face_.shadowColor; }
    void SetSlowDecease(bool value);
    bool SlowDecease() const { return slowDecease_; }
    void SetStyle(TLbSpeedButtonStyle value);
    TLbSpeedButtonStyle Style() const { return face_.style; }
    void SetTransparent(bool value);
    bool Transparent() const { return face_.transparent; }
    void SetUseHotTrackFont(bool value) { useHotTrackFont_ = value; }
    bool UseHotTrackFont() const { return useHotTrackFont_; }
    void SetWordWrap(bool value);
    bool WordWrap() const { return face_.wordWrap; }
    int Width() const { return face_.width; }
    int Height() const { return face_.height; }

    //--- Events
    std::function<void()> OnClick;
    std::function<void()> OnMouseEnter;
    std::function<void()> OnMouseExit;
    std::function<void(TMouseButton, TShiftState, int x, int y)> OnMouseDown;
    std::function<void(TMouseButton, TShiftState, int x, int y)> OnMouseUp;
    std::function<void(TShiftState, int x, int y)> OnMouseMove;

    //--- Input, delivered by the host
    void MouseEnter();
    void MouseLeave();
    void MouseDown(TMouseButton button, TShiftState shift, int x, int y);
    void MouseUp(TMouseButton button, TShiftState shift, int x, int y);
    void MouseMove(TShiftState shift, int x, int y);
    // Opens the popup menu if there is one, then runs OnClick or the action.
    virtual void Click();
    // An accelerator key typed in the button's window, the UTF-16 unit of its
    // WM_CHAR; true when it was ours.
    bool DialogChar(wchar_t key);
    // Shows the button pressed, clicks it and lets it go, as an accelerator,
    // Enter or a screen reader's default action press it.
    void PressAndClick();
    // Keys while the button has the focus, as a push button takes them:
    // Space presses on key down and clicks on key up, Enter clicks at once;
    // a held key's repeats add nothing. True when the key was the button's.
    bool KeyDown(ButtonKey key, bool repeat);
    bool KeyUp(ButtonKey key);
    // The focus left while Space was down: let go without a click.
    void CancelKeyPress();
    // One tick of the fade ticker.
    void FadeStep();
    // The parent's colour or font changed; followed while ParentColor / ParentFont.
    void ParentColorChanged(TColor color);
    void ParentFontChanged(const ButtonFont& font);
    // The font of the form the button is on: HotTrackFont starts as a copy of
    // it, unless it was set before.
    void OwnerFormFont(const ButtonFont& font);

    //--- State
    bool MouseInside() const { return face_.mouseInside; }
    int FadeLevel() const { return face_.fadeLevel; }
    bool HasFadeTicker() const { return ticker_ != nullptr; }
    bool FadeTickerRunning() const { return ticker_ && !ticker_->Suspended(); }

    //--- Painting
    // Whether the face leaves key-colour pixels for the parent to show through.
    bool FaceUsesKeyColor() const;
    // Draws the whole face onto a canvas of the button's size.
    void Paint(Canvas& canvas) const;
    ButtonFace Face() const;

protected:
    void SetSize(int width, int height);
    // The owner calls this first in its destructor: stops the fade ticker and
    // the host is not called any more.
    void BeginDestroy();
    // Refresh: paint at once, or invalidate when the parent must repaint below.
    void Refresh();
    void Invalidate();

private:
    void StopFadeTicker();
    //--- ActionClient: the linked action changed or goes
    void ActionChanged() override;
    void ActionFreed() override { action_ = nullptr; }
    void ActionChange();
    bool CanReactToMouse() const;
    // The left button's or Space's press and release, with the group's rules.
    void PressDown();
    void LetGo();

    ButtonHost* host_;
    bool destroying_ = false;
    // What the face shows, kept as the painter takes it: the drawn properties
    // and the state of pointer, press and fade.
    ButtonFace face_;

    ButtonAction* action_ = nullptr;
    bool allowAllUp_ = false;
    int cursor_ = crDefault;
    Bitmap glyph_;
    bool glyphFromAction_ = false;  // drawn from the action's image, so it follows it
    int groupIndex_ = 0;
    bool scanningGroup_ = false;
    std::string hint_;
    bool showHint_ = false;
    bool parentShowHint_ = true;
    ButtonFont hotTrackFont_;
    bool hotTrackFontSet_ = false;
    bool parentColor_ = true;
    bool parentFont_ = true;
    DropDownMenu* popupMenu_ = nullptr;
    bool slowDecease_ = false;
    bool useHotTrackFont_ = false;
    bool spacePressed_ = false;  // Space went down on the button and is not up yet
    std::unique_ptr<FadeTicker> ticker_;
};

}  // namespace lb
