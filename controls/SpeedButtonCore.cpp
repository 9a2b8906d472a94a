#include "controls/SpeedButtonCore.h"

#include "controls/ImageList.h"

namespace lb {

namespace {

// The code point of the UTF-8 sequence that starts at text[at]; 0 where no
// whole sequence starts there.
char32_t CodePointAt(const std::string& text, std::size_t at) {
    const auto byte = [&text](std::size_t i) { return i < text.size() ? static_cast<unsigned char>(text[i]) : 0u; };
    const unsigned lead = byte(at);
    const int length = lead < 0x80 ? 1 : lead >> 5 == 0x06 ? 2 : lead >> 4 == 0x0E ? 3 : lead >> 3 == 0x1E ? 4 : 0;
    if (length == 0) return 0;
    char32_t c = length == 1 ? lead : lead & (0x7Fu >> length);
    for (int k = 1; k < length; ++k) {
        const unsigned next = byte(at + static_cast<std::size_t>(k));
        if ((next & 0xC0) != 0x80) return 0;
        c = (c << 6) | (next & 0x3F);
    }
    return c;
}

// The capital of a letter of the alphabets captions are written in: Latin
// with its Western and Central European letters and Romanian's comma-below
// ones, Greek and Cyrillic; anything else is its own. Kept free of the
// platform's locale, so an accelerator matches alike wherever the core runs.
char32_t Capital(char32_t c) {
    if ((c >= U'a' && c <= U'z') || (c >= 0xE0 && c <= 0xFE && c != 0xF7)) return c - 0x20;
    if (c == 0xFF) return 0x178;
    // Pairs of capital and small letter, the capital first ...
    if ((c >= 0x100 && c <= 0x12F) || (c >= 0x132 && c <= 0x137) || (c >= 0x14A && c <= 0x177) ||
        (c >= 0x218 && c <= 0x21B))
        return c & ~char32_t{1};
    // ... or the capital odd.
    if ((c >= 0x139 && c <= 0x148) || (c >= 0x179 && c <= 0x17E)) return c % 2 == 0 ? c - 1 : c;
    if (c == 0x3C2) return 0x3A3;                                                   // final sigma
    if ((c >= 0x3B1 && c <= 0x3C9) || (c >= 0x430 && c <= 0x44F)) return c - 0x20;  // Greek, Cyrillic
    if (c >= 0x450 && c <= 0x45F) return c - 0x50;
    return c;
}

// The character after a single '&' of the caption, compared without case.
bool IsAccelerator(wchar_t key, const std::string& caption) {
    for (std::size_t i = 0; i + 1 < caption.size(); ++i) {
        if (caption[i] != '&') continue;
        if (caption[i + 1] == '&') {  // "&&" shows one ampersand
            ++i;
            continue;
        }
        const char32_t accelerator = CodePointAt(caption, i + 1);
        return accelerator != 0 && Capital(accelerator) == Capital(static_cast<char32_t>(key));
    }
    return false;
}

}  // namespace

std::string WithoutAccelerator(const std::string& caption) {
    std::string text;
    for (std::size_t i = 0; i < caption.size(); ++i) {
        if (caption[i] == '&' && i + 1 < caption.size()) ++i;  // "&x" reads x, "&&" reads "&"
        text += caption[i];
    }
    return text;
}

SpeedButtonCore::SpeedButtonCore(ButtonHost& host) : host_(&host) {
    face_.width = 100;  // the construction size
    face_.height = 23;
}

SpeedButtonCore::~SpeedButtonCore() {
    BeginDestroy();
    if (action_) action_->Unlink(this);
}

void SpeedButtonCore::BeginDestroy() {
    if (destroying_) return;
    destroying_ = true;
    StopFadeTicker();
    host_ = nullptr;
}

//--- Repainting

void SpeedButtonCore::Refresh() {
    if (!host_) return;
    if (face_.transparent) host_->Invalidate();
    else host_->PaintNow();
}

void SpeedButtonCore::Invalidate() {
    if (host_) host_->Invalidate();
}

bool SpeedButtonCore::HintWanted() const {
    return !hint_.empty() && host_ && (showHint_ || (parentShowHint_ && host_->ParentShowsHints()));
}

bool SpeedButtonCore::CanReactToMouse() const { return face_.enabled && host_ && host_->Showing(); }

//--- Properties

void SpeedButtonCore::SetAlignment(TAlignment value) {
    face_.alignment = value;
    Refresh();
}

void SpeedButtonCore::SetCaption(const std::string& value) {
    if (value == face_.caption) return;
    face_.caption = value;
    if (host_) host_->CaptionChanged();
    Invalidate();
}

void SpeedButtonCore::SetColor(TColor value) {
    parentColor_ = false;
    if (value == face_.color) return;
    face_.color = value;
    Invalidate();
}

void SpeedButtonCore::SetColorWhenDown(TColor value) {
    face_.downColor = value;
    Refresh();
}

void SpeedButtonCore::SetColorStyle(TLbColorStyle value) {
    if (value == lcsCustom) return;
    face_.flat = false;
    const ColorScheme scheme = ColorStylePreset(value);
    SetColor(scheme.color);
    face_.lightColor = scheme.lightColor;
    face_.shadowColor = scheme.shadowColor;
    face_.downColor = scheme.colorWhenDown;
    face_.hotColor = scheme.hotTrackColor;
    face_.flat = scheme.flat;
    face_.font.color = scheme.fontColor;
    face_.style = scheme.style;  // directly: a preset doesn't look at the colour depth
    if (host_) host_->PaintNow();
}

void SpeedButtonCore::SetDown(bool value) {
    // A button whose scan is running ignores what the scan sets back on it:
    // with two of a group down (grouped after being pressed) the two would
    // otherwise release each other without end. Releasing runs the scan too.
    if (value == face_.down || scanningGroup_) return;
    if (groupIndex_ != 0 && host_) {
        scanningGroup_ = true;
        for (SpeedButtonCore* other : host_->SiblingButtons())
            if (other != this && other->groupIndex_ == groupIndex_) other->SetDown(false);
        scanningGroup_ = false;
    }
    face_.down = value;
    Refresh();
}

void SpeedButtonCore::SetEnabled(bool value) {
    if (value == face_.enabled) return;
    face_.enabled = value;
    if (host_) {
        host_->EnabledChanged();
        if (!value) host_->SetHintPending(false);
    }
    Invalidate();
}

void SpeedButtonCore::SetFlat(bool value) {
    face_.flat = value;
    Refresh();
}

void SpeedButtonCore::SetFont(const ButtonFont& value) {
    parentFont_ = false;
    face_.font = value;
    Invalidate();
}

void SpeedButtonCore::SetGlyph(const Bitmap* value) {
    glyph_ = value ? *value : Bitmap();
    glyphFromAction_ = false;
    face_.glyphCount = glyph_.Height() > 0 ? glyph_.Width() / glyph_.Height() : 0;
    Invalidate();
}

void SpeedButtonCore::SetGroupIndex(int value) {
    groupIndex_ = value;
    Refresh();
}

void SpeedButtonCore::SetDpi(int value) {
    face_.dpi = value;
    Invalidate();
}

void SpeedButtonCore::SetLayout(TLbSpeedButtonLayout value) {
    face_.layout = value;
    Refresh();
}

void SpeedButtonCore::SetLightColor(TColor value) {
    face_.lightColor = value;
    Refresh();
}

void SpeedButtonCore::SetNumGlyphs(int value) {
    face_.glyphCount = value;
    Invalidate();
}

void SpeedButtonCore::SetShadowColor(TColor value) {
    face_.shadowColor = value;
    Refresh();
}

void SpeedButtonCore::SetStyle(TLbSpeedButtonStyle value) {
    // The modern gradient needs more than a palette of 256 colours.
    if (value == bsModern && host_ && host_->ScreenBitsPerPixel() <= 8) value = bsNormal;
    face_.style = value;
    Invalidate();
}

void SpeedButtonCore::SetTransparent(bool value) {
    face_.transparent = value;
    if (value) Invalidate();
    else if (host_) host_->PaintNow();
}

void SpeedButtonCore::SetWordWrap(bool value) {
    face_.wordWrap = value;
    Refresh();
}

void SpeedButtonCore::SetSize(int width, int height) {
    face_.width = width;
    face_.height = height;
}

void SpeedButtonCore::SetParentColor(bool value) {
    if (value == parentColor_) return;
    parentColor_ = value;
    if (value && host_) host_->FollowParent();
}

void SpeedButtonCore::SetParentFont(bool value) {
    if (value == parentFont_) return;
    parentFont_ = value;
    if (value && host_) host_->FollowParent();
}

void SpeedButtonCore::ParentColorChanged(TColor color) {
    if (!parentColor_ || color == face_.color) return;
    face_.color = color;
    Invalidate();
}

void SpeedButtonCore::ParentFontChanged(const ButtonFont& font) {
    if (!parentFont_) return;
    face_.font = font;
    Invalidate();
}

void SpeedButtonCore::OwnerFormFont(const ButtonFont& font) {
    if (!hotTrackFontSet_) hotTrackFont_ = font;
}

//--- Action

// The button is linked to the action: it takes the action's state now and
// whenever the action changes, until unlinked or the action goes.
void SpeedButtonCore::SetAction(ButtonAction* action) {
    if (action == action_) return;
    if (action_) action_->Unlink(this);
    action_ = action;
    if (!action_) return;
    action_->Link(this);
    ActionChange();
}

void SpeedButtonCore::ActionChanged() {
    if (action_ && !destroying_) ActionChange();
}

void SpeedButtonCore::ActionChange() {
    SetCaption(action_->Caption);
    SetEnabled(action_->Enabled);
    hint_ = action_->Hint;
    if (host_) host_->SetShown(action_->Visible);
    // A glyph of the button's own is kept; one drawn from the action follows
    // the action's image.
    if (!glyph_.Empty() && !glyphFromAction_) return;
    const ImageList* images = action_->ActionList ? action_->ActionList->Images : nullptr;
    if (!images || action_->ImageIndex < 0 || action_->ImageIndex >= images->Count()) {
        if (glyphFromAction_) SetGlyph(nullptr);
        return;
    }
    glyph_ = Bitmap(images->Width(), images->Height(), kKeyColor);
    images->Draw(glyph_, 0, 0, action_->ImageIndex);
    glyphFromAction_ = true;
    face_.glyphCount = 1;
    if (host_) host_->PaintNow();
}

//--- Hot tracking and fading

void SpeedButtonCore::MouseEnter() {
    if (!CanReactToMouse()) return;
    face_.mouseInside = true;
    face_.fadeLevel = kMaxFadeLevel;
    Refresh();
    if (HintWanted()) host_->SetHintPending(true);
    if (OnMouseEnter) OnMouseEnter();
}

void SpeedButtonCore::MouseLeave() {
    face_.mouseInside = false;
    if (host_) host_->SetHintPending(false);
    if (slowDecease_) {
        if (ticker_ && ticker_->Suspended()) ticker_->Resume();  // the ticks repaint
    } else {
        face_.fadeLevel = 0;
        Refresh();
    }
    if (CanReactToMouse() && OnMouseExit) OnMouseExit();
}

void SpeedButtonCore::SetSlowDecease(bool value) {
    slowDecease_ = value;
    if (value) {
        if (!ticker_ && host_) ticker_ = host_->CreateFadeTicker([this] { FadeStep(); });
    } else if (ticker_) {
        face_.fadeLevel = 0;
        StopFadeTicker();
    }
    Invalidate();
}

void SpeedButtonCore::StopFadeTicker() {
    // Moved out first: a tick served while stopping finds no ticker to suspend.
    std::unique_ptr<FadeTicker> ticker = std::move(ticker_);
    if (ticker) ticker->Stop();
}

void SpeedButtonCore::FadeStep() {
    if (destroying_) return;
    --face_.fadeLevel;
    if (face_.fadeLevel <= 0) {
        if (ticker_ && !ticker_->Suspended()) ticker_->Suspend();
        face_.fadeLevel = 0;
    }
    Refresh();
}

//--- Pressing and clicking

void SpeedButtonCore::MouseDown(TMouseButton button, TShiftState shift, int x, int y) {
    if (host_) host_->SetHintPending(false);
    if (OnMouseDown) OnMouseDown(button, shift, x, y);
    if (button == TMouseButton::mbLeft) PressDown();
}

void SpeedButtonCore::MouseUp(TMouseButton button, TShiftState shift, int x, int y) {
    if (OnMouseUp) OnMouseUp(button, shift, x, y);
    LetGo();
}

void SpeedButtonCore::PressDown() {
    if (groupIndex_ == 0 || !face_.down) SetDown(true);
    else if (allowAllUp_) SetDown(false);  // a grouped button that may not be released stays down
}

void SpeedButtonCore::LetGo() {
    if (groupIndex_ == 0) SetDown(false);
}

void SpeedButtonCore::MouseMove(TShiftState shift, int x, int y) {
    if (OnMouseMove) OnMouseMove(shift, x, y);
}

void SpeedButtonCore::Click() {
    if (popupMenu_ && host_) {
        const Point corner = host_->ClientToScreen({0, face_.height});
        popupMenu_->Popup(corner.x, corner.y);
    }
    if (OnClick) OnClick();
    else if (action_) action_->Execute();
}

bool SpeedButtonCore::DialogChar(wchar_t key) {
    if (!IsAccelerator(key, face_.caption) || !CanReactToMouse()) return false;
    PressAndClick();
    return true;
}

void SpeedButtonCore::PressAndClick() {
    const bool wasDown = face_.down;
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
}

bool SpeedButtonCore::KeyDown(ButtonKey key, bool repeat) {
    if (!CanReactToMouse()) return false;
    if (repeat || (key == ButtonKey::Space && spacePressed_)) return true;
    if (key == ButtonKey::Enter) {
        PressAndClick();
    } else {
        spacePressed_ = true;
        PressDown();
    }
    return true;
}

bool SpeedButtonCore::KeyUp(ButtonKey key) {
    if (key != ButtonKey::Space || !spacePressed_) return false;
    spacePressed_ = false;
    // As with the mouse, the click comes while the button still shows pressed.
    if (CanReactToMouse()) {
        try {
            Click();
        } catch (...) {
            LetGo();
            throw;
        }
    }
    LetGo();
    return true;
}

void SpeedButtonCore::CancelKeyPress() {
    if (!spacePressed_) return;
    spacePressed_ = false;
    LetGo();
}

//--- Painting

bool SpeedButtonCore::FaceUsesKeyColor() const {
    return face_.transparent || face_.style == bsModern || face_.style == bsShape || face_.style == bsQuicken;
}

ButtonFace SpeedButtonCore::Face() const {
    ButtonFace face = face_;
    if (!IsNamedLayout(face.layout)) face.layout = blGlyphLeft;
    if (!IsNamedStyle(face.style)) face.style = bsNormal;
    if (face.mouseInside && useHotTrackFont_) face.font = hotTrackFont_;
    face.hasPopup = popupMenu_ != nullptr;
    face.glyph = &glyph_;
    return face;
}

void SpeedButtonCore::Paint(Canvas& canvas) const { DrawButtonFace(canvas, Face()); }

}  // namespace lb
