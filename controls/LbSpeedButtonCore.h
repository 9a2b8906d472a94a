// The speed button without its window: properties, hot tracking, fading,
// pressing, grouping and the choice of what to paint. Everything that needs
// the platform goes through ILbButtonHost, so this runs and is tested
// natively.
#pragma once

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "controls/LbAction.h"
#include "controls/LbBitmap.h"
#include "controls/LbButtons.h"
#include "controls/LbPopupMenu.h"
#include "framework/Font.h"

enum class TMouseButton { mbLeft, mbRight, mbMiddle };
using TShiftState = unsigned;  // MK_ flags of the mouse message

// Mouse cursors the button can show over itself.
constexpr int crDefault = 0;
constexpr int crHandPoint = -21;

// Calls FadeStep about every 30 ms on the button's thread while running.
class ILbFadeTicker {
public:
    virtual ~ILbFadeTicker() = default;
    virtual void Resume() = 0;
    virtual void Suspend() = 0;
    virtual bool Suspended() const = 0;
    // Ends the ticker for good; the last tick may still run meanwhile.
    virtual void Stop() = 0;
};

class TLbSpeedButtonCore;

struct TLbPoint {
    int x = 0;
    int y = 0;
};

// What the button asks of the place it lives in.
class ILbButtonHost {
public:
    virtual void Invalidate() = 0;  // repaint later
    virtual void PaintNow() = 0;    // repaint before returning
    virtual bool Showing() const = 0;  // visible, with a parent that is showing
    virtual int ScreenBitsPerPixel() const = 0;
    // The other buttons on the same parent, in the parent's control order.
    virtual std::vector<TLbSpeedButtonCore*> SiblingButtons() = 0;
    virtual std::unique_ptr<ILbFadeTicker> CreateFadeTicker(std::function<void()> tick) = 0;
    virtual TLbPoint ClientToScreen(TLbPoint point) const = 0;
    virtual void CaptionChanged() = 0;
    virtual void EnabledChanged() = 0;

protected:
    ~ILbButtonHost() = default;
};

class TLbSpeedButtonCore {
public:
    static constexpr int kMaxFadeLevel = 8;

    explicit TLbSpeedButtonCore(ILbButtonHost& host);
    virtual ~TLbSpeedButtonCore();
    TLbSpeedButtonCore(const TLbSpeedButtonCore&) = delete;
    TLbSpeedButtonCore& operator=(const TLbSpeedButtonCore&) = delete;

    //--- Properties
    void SetAction(TLbAction* action);
    TLbAction* Action() const { return action_; }
    void SetAlignment(TAlignment value);
    TAlignment Alignment() const { return alignment_; }
    void SetAllowAllUp(bool value) { allowAllUp_ = value; }
    bool AllowAllUp() const { return allowAllUp_; }
    void SetCaption(const std::string& value);
    const std::string& Caption() const { return caption_; }
    void SetColor(TColor value);
    TColor Color() const { return color_; }
    void SetColorWhenDown(TColor value);
    TColor ColorWhenDown() const { return colorWhenDown_; }
    void SetColorStyle(TLbColorStyle value);
    TLbColorStyle ColorStyle() const { return lcsCustom; }  // a preset is applied, never kept
    void SetCursor(int value) { cursor_ = value; }
    int Cursor() const { return cursor_; }
    void SetDown(bool value);
    bool Down() const { return down_; }
    void SetEnabled(bool value);
    bool Enabled() const { return enabled_; }
    void SetFlat(bool value);
    bool Flat() const { return flat_; }
    void SetFont(const fw::Font& value);
    const fw::Font& Font() const { return font_; }
    void SetGlyph(const TLbBitmap* value);  // null empties it
    const TLbBitmap& Glyph() const { return glyph_; }
    void SetGroupIndex(int value);
    int GroupIndex() const { return groupIndex_; }
    void SetHint(const std::string& value) { hint_ = value; }
    const std::string& Hint() const { return hint_; }
    void SetHotTrackColor(TColor value) { hotTrackColor_ = value; }
    TColor HotTrackColor() const { return hotTrackColor_; }
    void SetHotTrackFont(const fw::Font& value) { hotTrackFont_ = value; }
    const fw::Font& HotTrackFont() const { return hotTrackFont_; }
    void SetLayout(TLbSpeedButtonLayout value);
    TLbSpeedButtonLayout Layout() const { return layout_; }
    void SetLightColor(TColor value);
    TColor LightColor() const { return lightColor_; }
    void SetNumGlyphs(int value);
    int NumGlyphs() const { return numGlyphs_; }
    void SetParentColor(bool value) { parentColor_ = value; }
    bool ParentColor() const { return parentColor_; }
    void SetParentFont(bool value) { parentFont_ = value; }
    bool ParentFont() const { return parentFont_; }
    void SetPopupMenu(ILbPopupMenu* value) { popupMenu_ = value; }
    ILbPopupMenu* PopupMenu() const { return popupMenu_; }
    void SetShadowColor(TColor value);
    TColor ShadowColor() const { return shadowColor_; }
    void SetSlowDecease(bool value);
    bool SlowDecease() const { return slowDecease_; }
    void SetStyle(TLbSpeedButtonStyle value);
    TLbSpeedButtonStyle Style() const { return style_; }
    void SetTransparent(bool value);
    bool Transparent() const { return transparent_; }
    void SetUseHotTrackFont(bool value) { useHotTrackFont_ = value; }
    bool UseHotTrackFont() const { return useHotTrackFont_; }
    void SetWordWrap(bool value);
    bool WordWrap() const { return wordWrap_; }
    int Width() const { return width_; }
    int Height() const { return height_; }

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
    // An accelerator key typed in the button's window; true when it was ours.
    bool DialogChar(char key);
    // One tick of the fade ticker.
    void FadeStep();
    // The parent's colour or font changed; followed while ParentColor / ParentFont.
    void ParentColorChanged(TColor color);
    void ParentFontChanged(const fw::Font& font);

    //--- State
    bool MouseInside() const { return mouseInside_; }
    int FadeLevel() const { return fadeLevel_; }
    bool HasFadeTicker() const { return ticker_ != nullptr; }
    bool FadeTickerRunning() const { return ticker_ && !ticker_->Suspended(); }

    //--- Painting
    // Whether the face leaves key-colour pixels for the parent to show through.
    bool FaceUsesKeyColor() const;
    // Draws the whole face onto a canvas of the button's size.
    void Paint(ILbCanvas& canvas) const;
    TLbButtonFace Face() const;

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
    void ActionChange();
    bool CanReactToMouse() const;

    ILbButtonHost* host_;
    bool destroying_ = false;

    TLbAction* action_ = nullptr;
    TAlignment alignment_ = taLeftJustify;
    bool allowAllUp_ = false;
    std::string caption_;
    TColor color_ = clBtnFace;
    TColor colorWhenDown_ = clLbNoColor;
    int cursor_ = crDefault;
    bool down_ = false;
    bool enabled_ = true;
    bool flat_ = false;
    fw::Font font_;
    TLbBitmap glyph_;
    int groupIndex_ = 0;
    std::string hint_;
    TColor hotTrackColor_ = clLbNoColor;
    fw::Font hotTrackFont_;
    TLbSpeedButtonLayout layout_ = blGlyphLeft;
    TColor lightColor_ = clWhite;
    int numGlyphs_ = 0;
    bool parentColor_ = true;
    bool parentFont_ = true;
    ILbPopupMenu* popupMenu_ = nullptr;
    TColor shadowColor_ = clBlack;
    bool slowDecease_ = false;
    TLbSpeedButtonStyle style_ = bsNormal;
    bool transparent_ = false;
    bool useHotTrackFont_ = false;
    bool wordWrap_ = false;
    int width_ = 100;
    int height_ = 23;

    bool mouseInside_ = false;
    int fadeLevel_ = 0;
    std::unique_ptr<ILbFadeTicker> ticker_;
};
