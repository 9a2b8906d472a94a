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

// One axis of a side alignment: the control takes size at the near or the
// far end of the free span, which shrinks by it.
void Take(bool far, int size, int& start, int& length, int& freeStart, int& freeLength) {
    start = far ? freeStart + freeLength - size : freeStart;
    length = size;
    if (!far) freeStart += size;
    freeLength -= size;
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
    case alBottom: Take(align == alBottom, now.height, b.top, b.height, free.top, free.height); break;
    case alLeft:
    case alRight: Take(align == alRight, now.width, b.left, b.width, free.left, free.width); break;
    case alClient: break;
    case alNone: return now;
    }
    return b;
}

}  // namespace fw
