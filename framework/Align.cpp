#include "framework/Align.h"

namespace fw {

namespace {

// One axis: start and length of the control, the parent's length then and now.
void Anchor(bool near, bool far, int& start, int& length, int lengthThen, int lengthNow) {
    const int grown = lengthNow - lengthThen;
    if (near && far) length += grown;
    else if (far) start += grown;
    else if (!near) start += grown / 2;
}

}  // namespace

Bounds Anchored(const Placement& placement, int width, int height) {
    Bounds b = placement.placed;
    const TAnchors a = placement.anchors;
    Anchor(a & akLeft, a & akRight, b.left, b.width, placement.parentWidth, width);
    Anchor(a & akTop, a & akBottom, b.top, b.height, placement.parentHeight, height);
    return b;
}

Bounds AlignInto(TAlign align, const Bounds& now, Bounds& free) {
    Bounds b = free;
    switch (align) {
    case alTop:
        b.height = now.height;
        free.top += now.height;
        free.height -= now.height;
        break;
    case alBottom:
        b.height = now.height;
        b.top = free.top + free.height - now.height;
        free.height -= now.height;
        break;
    case alLeft:
        b.width = now.width;
        free.left += now.width;
        free.width -= now.width;
        break;
    case alRight:
        b.width = now.width;
        b.left = free.left + free.width - now.width;
        free.width -= now.width;
        break;
    case alClient: break;
    case alNone: return now;
    }
    return b;
}

}  // namespace fw
