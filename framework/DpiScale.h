// Lengths given in pixels at 96 dpi, the size the kit's layout and the
// button's geometry are drawn at, taken to another DPI.
#pragma once

namespace fw {

constexpr int kBaseDpi = 96;

// The length at dpi, rounded to the nearest pixel, halves away from zero,
// as MulDiv rounds: 441 at 144 dpi gives 662, -11 gives -17.
constexpr int ScaleForDpi(int pixels, int dpi) {
    const long long product = static_cast<long long>(pixels) * dpi;
    return static_cast<int>(product >= 0 ? (product + kBaseDpi / 2) / kBaseDpi
                                         : -((-product + kBaseDpi / 2) / kBaseDpi));
}

}  // namespace fw
