#include "kit/KitButtonLook.h"

#include "controls/SpeedButtonCore.h"

namespace kit {

fw::Font WindowFont() {
    fw::Font font;
    font.name = "MS Sans Serif";
    font.height = -11;  // 8 pt at 96 dpi
    return font;
}

void ApplyKitButtonLook(lb::SpeedButtonCore& button) {
    button.SetColorStyle(lb::lcsGold);  // colours, bsModern, not flat
    // Through the property, so a screen of 256 colours or fewer gets bsNormal.
    button.SetStyle(lb::bsModern);

    lb::ButtonFont caption;
    static_cast<fw::Font&>(caption) = WindowFont();
    caption.bold = true;
    caption.color = 0x00005555;
    button.SetFont(caption);

    button.SetAlignment(lb::taCenter);
    button.SetParentColor(false);
    button.SetParentFont(false);
    button.SetCursor(lb::crHandPoint);
}

}  // namespace kit
