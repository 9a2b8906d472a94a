// Where a control goes when its parent is resized: aligned to a side of the
// parent's free area, or kept at its distances to the anchored sides.
#pragma once

namespace fw {

enum TAlign { alNone, alTop, alBottom, alLeft, alRight, alClient };

enum TAnchorKind : unsigned { akLeft = 1, akTop = 2, akRight = 4, akBottom = 8 };
using TAnchors = unsigned;  // TAnchorKind flags

struct Bounds {
    int left = 0, top = 0, width = 0, height = 0;
    friend bool operator==(const Bounds& a, const Bounds& b) {
        return a.left == b.left && a.top == b.top && a.width == b.width && a.height == b.height;
    }
};

struct Placement {
    TAlign align = alNone;
    TAnchors anchors = akLeft | akTop;
    Bounds placed;                          // the bounds the control was given
    int parentWidth = 0, parentHeight = 0;  // the parent's client size then
};

// The bounds of an unaligned control in a parent now width x height: a side
// anchored alone keeps its distance, both sides anchored stretch the control,
// and with neither it keeps its place relative to the middle.
Bounds Anchored(const Placement& placement, int width, int height);

// Puts a control aligned to a side into the free area of its parent, taking
// its height (top, bottom) or width (left, right) from its bounds now; the
// free area shrinks by what it takes. alClient takes all of it.
Bounds AlignInto(TAlign align, const Bounds& now, Bounds& free);

}  // namespace fw
