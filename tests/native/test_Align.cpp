// Where controls go when their parent is resized.
#include <gtest/gtest.h>

#include "framework/Align.h"

using namespace fw;

TEST(Align, AnchorsKeepDistancesAndAlignedControlsShareTheFreeArea) {
    Placement p;
    p.placed = {10, 20, 100, 30};
    p.parentWidth = 400;
    p.parentHeight = 200;
    EXPECT_EQ(Anchored(p, 500, 260), (Bounds{10, 20, 100, 30})) << "left and top by default";
    p.anchors = akRight | akBottom;
    EXPECT_EQ(Anchored(p, 500, 260), (Bounds{110, 80, 100, 30}));
    p.anchors = akLeft | akRight | akTop | akBottom;
    EXPECT_EQ(Anchored(p, 500, 260), (Bounds{10, 20, 200, 90}));
    p.anchors = 0;
    EXPECT_EQ(Anchored(p, 500, 261), (Bounds{60, 50, 100, 30})) << "neither side: half the growth";
    EXPECT_EQ(Anchored(p, 300, 199), (Bounds{-40, 20, 100, 30}));

    Bounds free = {0, 0, 400, 200};
    const Bounds now = {5, 5, 50, 30};
    EXPECT_EQ(AlignInto(alTop, now, free), (Bounds{0, 0, 400, 30}));
    EXPECT_EQ(AlignInto(alBottom, now, free), (Bounds{0, 170, 400, 30}));
    EXPECT_EQ(AlignInto(alLeft, now, free), (Bounds{0, 30, 50, 140}));
    EXPECT_EQ(AlignInto(alRight, now, free), (Bounds{350, 30, 50, 140}));
    EXPECT_EQ(AlignInto(alClient, now, free), (Bounds{50, 30, 300, 140}));
    EXPECT_EQ(AlignInto(alNone, now, free), now);
}
