// A font with the colour its text is drawn in, as the button's Font and
// HotTrackFont hold it.
#pragma once

#include "controls/Color.h"
#include "framework/Font.h"

namespace lb {

struct ButtonFont : fw::Font {
    TColor color = clWindowText;

    friend bool operator==(const ButtonFont& a, const ButtonFont& b) {
        return static_cast<const fw::Font&>(a) == b && a.color == b.color;
    }
    friend bool operator!=(const ButtonFont& a, const ButtonFont& b) { return !(a == b); }
};

}  // namespace lb
