#include "kit/window/KitButtonLook.h"

#include "controls/SpeedButtonCore.h"
#include "framework/DpiScale.h"

namespace kit {

fw::Font WindowFont(int dpi) {
    fw::Font font;
    font.name = "MS Sans Serif";
    font.height = fw::ScaleForDpi(-11, dpi);  // 8 pt at 96 dpi
    return font;
}

namespace {
lb::ButtonFont CaptionFont(int dpi) {
    lb::ButtonFont caption;
    static_cast<fw::Font&>(caption) = WindowFont(dpi);
    caption.bold = true;
    caption.color = 0x00005555;
    return caption;
}
}  // namespace

void ApplyKitButtonLook(lb::SpeedButtonCore& button) {
    button.SetColorStyle(lb::lcsGold);  // colours, bsModern, not flat
    // Through the property, so a screen of 256 colours or fewer gets bsNormal.
    button.SetStyle(lb::bsModern);

    button.SetFont(CaptionFont(fw::kBaseDpi));

    button.SetAlignment(lb::taCenter);
    button.SetParentColor(false);
    button.SetParentFont(false);
    button.SetCursor(lb::crHandPoint);
}

void ScaleKitButton(lb::SpeedButtonCore& button, int dpi) {
    button.SetFont(CaptionFont(dpi));
    lb::ButtonFont hotTrack;
    static_cast<fw::Font&>(hotTrack) = WindowFont(dpi);
    button.SetHotTrackFont(hotTrack);
    button.SetDpi(dpi);
}

}  // namespace kit
