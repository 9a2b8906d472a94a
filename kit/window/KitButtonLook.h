// The look the kit's window gives its text and both of its buttons.
#pragma once

#include "framework/Font.h"

namespace lb {
class SpeedButtonCore;
}

namespace kit {

// The window's font, also the face and size of both buttons' fonts, at dpi.
fw::Font WindowFont(int dpi = 96);

// Gold modern face, bold dark-olive caption, centred caption, hand cursor;
// colour and font no longer follow the parent. The hot-track font is the
// window's own, which the buttons copy when they are created on it.
void ApplyKitButtonLook(lb::SpeedButtonCore& button);

// The look's fonts (the hot-track font too) and face geometry at dpi, for a
// window shown there.
void ScaleKitButton(lb::SpeedButtonCore& button, int dpi);

}  // namespace kit
