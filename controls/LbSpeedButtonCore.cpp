#include "controls/LbSpeedButtonCore.h"

#include <cctype>

#include "controls/LbImageList.h"

namespace {

// The character after a single '&' of the caption, compared without case.
bool IsAccelerator(char key, const std::string& caption) {
    for (std::size_t i = 0; i + 1 < caption.size(); ++i) {
        if (caption[i] != '&') continue;
        if (caption[i + 1] == '&') {  // "&&" shows one ampersand
            ++i;
            continue;
        }
        const auto upper = [](char c) { return std::toupper(static_cast<unsigned char>(c)); };
        return upper(caption[i + 1]) == upper(key);
    }
    return false;
}

}  // namespace

TLbSpeedButtonCore::TLbSpeedButtonCore(ILbButtonHost& host) : host_(&host) {}

TLbSpeedButtonCore::~TLbSpeedButtonCore() { BeginDestroy(); }

void TLbSpeedButtonCore::BeginDestroy() {
    if (destroying_) return;
    destroying_ = true;
    StopFadeTicker();
    host_ = nullptr;
}

//--- Repainting

void TLbSpeedButtonCore::Refresh() {
    if (!host_) return;
    if (transparent_) host_->Invalidate();
    else host_->PaintNow();
}

void TLbSpeedButtonCore::Invalidate() {
    if (host_) host_->Invalidate();
}

bool TLbSpeedButtonCore::CanReactToMouse() const { return enabled_ && host_ && host_->Showing(); }

//--- Properties

void TLbSpeedButtonCore::SetAlignment(TAlignment value) {
    alignment_ = value;
    Refresh();
}

void TLbSpeedButtonCore::SetCaption(const std::string& value) {
    if (value == caption_) return;
    caption_ = value;
    if (host_) host_->CaptionChanged();
    Invalidate();
}

void TLbSpeedButtonCore::SetColor(TColor value) {
    parentColor_ = false;
    if (value == color_) return;
    color_ = value;
    Invalidate();
}

void TLbSpeedButtonCore::SetColorWhenDown(TColor value) {
    colorWhenDown_ = value;
    Refresh();
}

void TLbSpeedButtonCore::SetColorStyle(TLbColorStyle value) {
    if (value == lcsCustom) return;
    flat_ = false;
    const TLbColorScheme scheme = ColorStylePreset(value);
    SetColor(scheme.color);
    lightColor_ = scheme.lightColor;
    shadowColor_ = scheme.shadowColor;
    colorWhenDown_ = scheme.colorWhenDown;
    hotTrackColor_ = scheme.hotTrackColor;
    flat_ = scheme.flat;
    font_.color = scheme.fontColor;
    style_ = scheme.style;  // directly: a preset doesn't look at the colour depth
    if (host_) host_->PaintNow();
}

void TLbSpeedButtonCore::SetDown(bool value) {
    if (value == down_) return;
    // Releasing runs the scan too, which finds nothing down in a sound group.
    if (groupIndex_ != 0 && host_) {
        for (TLbSpeedButtonCore* other : host_->SiblingButtons())
            if (other != this && other->groupIndex_ == groupIndex_) other->SetDown(false);
    }
    down_ = value;
    Refresh();
}

void TLbSpeedButtonCore::SetEnabled(bool value) {
    if (value == enabled_) return;
    enabled_ = value;
    if (host_) host_->EnabledChanged();
    Invalidate();
}

void TLbSpeedButtonCore::SetFlat(bool value) {
    flat_ = value;
    Refresh();
}

void TLbSpeedButtonCore::SetFont(const fw::Font& value) {
    parentFont_ = false;
    font_ = value;
    Invalidate();
}

void TLbSpeedButtonCore::SetGlyph(const TLbBitmap* value) {
    glyph_ = value ? *value : TLbBitmap();
    numGlyphs_ = glyph_.Height() > 0 ? glyph_.Width() / glyph_.Height() : 0;
    Invalidate();
}

void TLbSpeedButtonCore::SetGroupIndex(int value) {
    groupIndex_ = value;
    Refresh();
}

void TLbSpeedButtonCore::SetLayout(TLbSpeedButtonLayout value) {
    layout_ = value;
    Refresh();
}

void TLbSpeedButtonCore::SetLightColor(TColor value) {
    lightColor_ = value;
    Refresh();
}

void TLbSpeedButtonCore::SetNumGlyphs(int value) {
    numGlyphs_ = value;
    Invalidate();
}

void TLbSpeedButtonCore::SetShadowColor(TColor value) {
    shadowColor_ = value;
    Refresh();
}

void TLbSpeedButtonCore::SetStyle(TLbSpeedButtonStyle value) {
    // The modern gradient needs more than a palette of 256 colours.
    if (value == bsModern && host_ && host_->ScreenBitsPerPixel() <= 8) value = bsNormal;
    style_ = value;
    Invalidate();
}

void TLbSpeedButtonCore::SetTransparent(bool value) {
    transparent_ = value;
    if (value) Invalidate();
    else if (host_) host_->PaintNow();
}

void TLbSpeedButtonCore::SetWordWrap(bool value) {
    wordWrap_ = value;
    Refresh();
}

void TLbSpeedButtonCore::SetSize(int width, int height) {
    width_ = width;
    height_ = height;
}

void TLbSpeedButtonCore::ParentColorChanged(TColor color) {
    if (!parentColor_ || color == color_) return;
    color_ = color;
    Invalidate();
}

void TLbSpeedButtonCore::ParentFontChanged(const fw::Font& font) {
    if (!parentFont_) return;
    font_ = font;
    Invalidate();
}

//--- Action

void TLbSpeedButtonCore::SetAction(TLbAction* action) {
    action_ = action;
    if (action_) ActionChange();
}

void TLbSpeedButtonCore::ActionChange() {
    SetCaption(action_->Caption);
    SetEnabled(action_->Enabled);
    hint_ = action_->Hint;
    const TLbImageList* images = action_->ActionList ? action_->ActionList->Images : nullptr;
    if (!glyph_.Empty() || !images || action_->ImageIndex < 0 || action_->ImageIndex >= images->Count()) return;
    glyph_ = TLbBitmap(images->Width(), images->Height(), clLbKeyColor);
    images->Draw(glyph_, 0, 0, action_->ImageIndex);
    numGlyphs_ = 1;
    if (host_) host_->PaintNow();
}

//--- Hot tracking and fading

void TLbSpeedButtonCore::MouseEnter() {
    if (!CanReactToMouse()) return;
    mouseInside_ = true;
    fadeLevel_ = kMaxFadeLevel;
    Refresh();
    if (OnMouseEnter) OnMouseEnter();
}

void TLbSpeedButtonCore::MouseLeave() {
    mouseInside_ = false;
    if (slowDecease_) {
        if (ticker_ && ticker_->Suspended()) ticker_->Resume();  // the ticks repaint
    } else {
        fadeLevel_ = 0;
        Refresh();
    }
    if (CanReactToMouse() && OnMouseExit) OnMouseExit();
}

void TLbSpeedButtonCore::SetSlowDecease(bool value) {
    slowDecease_ = value;
    if (value) {
        if (!ticker_ && host_) ticker_ = host_->CreateFadeTicker([this] { FadeStep(); });
    } else if (ticker_) {
        fadeLevel_ = 0;
        StopFadeTicker();
    }
    Invalidate();
}

void TLbSpeedButtonCore::StopFadeTicker() {
    // Moved out first: a tick served while stopping finds no ticker to suspend.
    std::unique_ptr<ILbFadeTicker> ticker = std::move(ticker_);
    if (!ticker) return;
    try {
        ticker->Stop();
    } catch (...) {
        // The button goes on without its ticker either way.
    }
}

void TLbSpeedButtonCore::FadeStep() {
    if (destroying_) return;
    --fadeLevel_;
    if (fadeLevel_ <= 0) {
        if (ticker_ && !ticker_->Suspended()) ticker_->Suspend();
        fadeLevel_ = 0;
    }
    Refresh();
}

//--- Pressing and clicking

void TLbSpeedButtonCore::MouseDown(TMouseButton button, TShiftState shift, int x, int y) {
    if (OnMouseDown) OnMouseDown(button, shift, x, y);
    if (button != TMouseButton::mbLeft) return;
    if (groupIndex_ == 0 || !down_) SetDown(true);
    else if (allowAllUp_) SetDown(false);  // a grouped button that may not be released stays down
}

void TLbSpeedButtonCore::MouseUp(TMouseButton button, TShiftState shift, int x, int y) {
    if (OnMouseUp) OnMouseUp(button, shift, x, y);
    if (groupIndex_ == 0) SetDown(false);
}

void TLbSpeedButtonCore::MouseMove(TShiftState shift, int x, int y) {
    if (OnMouseMove) OnMouseMove(shift, x, y);
}

void TLbSpeedButtonCore::Click() {
    if (popupMenu_ && host_) {
        const TLbPoint corner = host_->ClientToScreen({0, height_});
        popupMenu_->Popup(corner.x, corner.y);
    }
    if (OnClick) OnClick();
    else if (action_) action_->Execute();
}

bool TLbSpeedButtonCore::DialogChar(char key) {
    if (!IsAccelerator(key, caption_) || !CanReactToMouse()) return false;
    const bool wasDown = down_;
    SetDown(true);
    if (host_) host_->PaintNow();
    try {
        Click();
    } catch (...) {
        SetDown(wasDown);
        throw;
    }
    SetDown(wasDown);
    if (host_) host_->PaintNow();
    return true;
}

//--- Painting

bool TLbSpeedButtonCore::FaceUsesKeyColor() const {
    return transparent_ || style_ == bsModern || style_ == bsShape || style_ == bsQuicken;
}

TLbButtonFace TLbSpeedButtonCore::Face() const {
    TLbButtonFace face;
    face.width = width_;
    face.height = height_;
    face.alignment = alignment_;
    face.caption = caption_;
    face.layout = (layout_ >= blGlyphLeft && layout_ <= blGlyphBottom) ? layout_ : blGlyphLeft;
    face.font = (mouseInside_ && useHotTrackFont_) ? hotTrackFont_ : font_;
    face.shadowColor = shadowColor_;
    face.lightColor = lightColor_;
    face.hotColor = hotTrackColor_;
    face.downColor = colorWhenDown_;
    face.color = color_;
    face.style = (style_ >= bsNormal && style_ <= bsQuicken) ? style_ : bsNormal;
    face.hasPopup = popupMenu_ != nullptr;
    face.wordWrap = wordWrap_;
    face.flat = flat_;
    face.enabled = enabled_;
    face.transparent = transparent_;
    face.mouseInside = mouseInside_;
    face.down = down_;
    face.glyph = &glyph_;
    face.glyphCount = numGlyphs_;
    face.fadeLevel = fadeLevel_;
    return face;
}

void TLbSpeedButtonCore::Paint(ILbCanvas& canvas) const { DrawButtonFace(canvas, Face()); }
