// The look the kit's window gives both of its buttons.
#pragma once

class TLbSpeedButtonCore;

// Gold modern face, bold dark-olive caption, regular hot-track font, centred
// caption, hand cursor; colour and font no longer follow the parent.
void ApplyKitButtonLook(TLbSpeedButtonCore& button);
