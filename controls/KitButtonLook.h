// The look shared by the kit window's two buttons.
#pragma once

#include "controls/LbSpeedButton.h"

inline void ApplyKitButtonLook(TLbSpeedButton&) {}
