#include "controls/KitButtonLook.h"

#include "controls/LbSpeedButtonCore.h"

void ApplyKitButtonLook(TLbSpeedButtonCore& button) {
    button.SetColorStyle(lcsGold);  // colours, bsModern, not flat

    fw::Font caption;
    caption.name = "MS Sans Serif";
    caption.height = -11;
    caption.bold = true;
    caption.color = 0x00005555;
    button.SetFont(caption);

    fw::Font hot = caption;
    hot.bold = false;
    hot.color = clWindowText;
    button.SetHotTrackFont(hot);

    button.SetAlignment(taCenter);
    button.SetParentColor(false);
    button.SetParentFont(false);
    button.SetCursor(crHandPoint);
}
