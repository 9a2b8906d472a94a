#include "controls/Color.h"

#include <cmath>

namespace lb {

TColor ColorToRGB(TColor color, const SystemColors& system) {
    if (IsSystemColor(color)) return system.SystemColor(static_cast<int>(color & 0xFF)) & 0x00FFFFFF;
    return color & 0x00FFFFFF;
}

int RoundHalfToEven(double value) {
    const double below = std::floor(value);
    const double fraction = value - below;
    double result = below;
    if (fraction > 0.5 || (fraction == 0.5 && std::fmod(below, 2.0) != 0.0)) result += 1.0;
    return static_cast<int>(result);
}

}  // namespace lb
