// Clipping of the 3D surface's lines to its visible window.
#include <gtest/gtest.h>

#include <cmath>

#include "surfaces/SegmentClip.h"
#include "surfaces/Surface3D.h"

namespace cuttrace {
namespace {

constexpr int kWidth = 100;  // visible window 0..98 x 0..78
constexpr int kHeight = 80;

struct Clipped {
    bool drawn;
    PixelPoint p;
    PixelPoint q;
};

Clipped Clip(PixelPoint p, PixelPoint q) {
    const bool drawn = ClipSegment(&p, &q, kWidth, kHeight);
    return {drawn, p, q};
}

TEST(Surface3DClip, WindowEndsTwoPixelsInsideTheSize) {
    EXPECT_TRUE(InClipRange(0, kWidth));
    EXPECT_TRUE(InClipRange(98, kWidth));
    EXPECT_FALSE(InClipRange(99, kWidth));
    EXPECT_FALSE(InClipRange(-1, kWidth));
}

TEST(Surface3DClip, EndOnTheLastVisibleColumnCountsAsInside) {
    Clipped c = Clip({10, 10}, {98, 40});
    EXPECT_TRUE(c.drawn);
    EXPECT_EQ(c.q, (PixelPoint{98, 40}));
    c = Clip({10, 10}, {99, 10});
    EXPECT_TRUE(c.drawn);
    EXPECT_EQ(c.q, (PixelPoint{98, 10}));
}

TEST(Surface3DClip, OneEndOutsideIsCutAtTheFirstEdgeInOrder) {
    // Leaves through the bottom.
    Clipped c = Clip({50, 40}, {50, 500});
    EXPECT_TRUE(c.drawn);
    EXPECT_EQ(c.p, (PixelPoint{50, 40}));
    EXPECT_EQ(c.q, (PixelPoint{50, 78}));
    // Comes in through the right edge.
    c = Clip({300, 30}, {50, 30});
    EXPECT_TRUE(c.drawn);
    EXPECT_EQ(c.p, (PixelPoint{98, 30}));
    EXPECT_EQ(c.q, (PixelPoint{50, 30}));
}

TEST(Surface3DClip, BothEndsOutsideDrawFromEntryToExit) {
    Clipped c = Clip({-10, 20}, {200, 20});
    EXPECT_TRUE(c.drawn);
    EXPECT_EQ(c.p, (PixelPoint{0, 20}));
    EXPECT_EQ(c.q, (PixelPoint{98, 20}));
    // Enters through the right edge, leaves through the top.
    c = Clip({130, 40}, {60, -30});
    EXPECT_TRUE(c.drawn);
    EXPECT_EQ(c.p, (PixelPoint{98, 8}));
    EXPECT_EQ(c.q, (PixelPoint{90, 0}));
    // Enters through the bottom, leaves through the right edge.
    c = Clip({44, 154}, {116, 2});
    EXPECT_TRUE(c.drawn);
    EXPECT_EQ(c.p, (PixelPoint{80, 78}));
    EXPECT_EQ(c.q, (PixelPoint{98, 40}));
}

TEST(Surface3DClip, ReversedSegmentShowsTheSamePart) {
    // Taking the crossings strictly in edge order would replace the wrong end for one of
    // the two directions and drop a visible segment.
    const PixelPoint ends[][2] = {
        {{-10, 20}, {200, 20}}, {{130, 40}, {60, -30}}, {{-50, -40}, {300, 160}},
        {{40, -10}, {60, 500}}, {{116, 2}, {44, 154}},  {{-5, 70}, {20, 95}},
    };
    for (const auto& e : ends) {
        const Clipped forward = Clip(e[0], e[1]);
        const Clipped backward = Clip(e[1], e[0]);
        ASSERT_TRUE(forward.drawn) << e[0].x << "," << e[0].y;
        ASSERT_TRUE(backward.drawn) << e[0].x << "," << e[0].y;
        EXPECT_EQ(forward.p, backward.q);
        EXPECT_EQ(forward.q, backward.p);
    }
}

TEST(Surface3DClip, InsideEndOnAnEdgeStillReachesTheExit) {
    // The start lies on the left edge, which the segment therefore "meets" at its start.
    Clipped c = Clip({0, 20}, {300, 20});
    EXPECT_TRUE(c.drawn);
    EXPECT_EQ(c.p, (PixelPoint{0, 20}));
    EXPECT_EQ(c.q, (PixelPoint{98, 20}));
    c = Clip({300, 0}, {50, 0});
    EXPECT_TRUE(c.drawn);
    EXPECT_EQ(c.p, (PixelPoint{98, 0}));
}

TEST(Surface3DClip, SegmentsThatMissTheWindowAreNotDrawn) {
    EXPECT_FALSE(Clip({-10, -10}, {-10, 200}).drawn);
    EXPECT_FALSE(Clip({99, -5}, {99, 200}).drawn);   // one column right of the window
    EXPECT_FALSE(Clip({120, 50}, {90, 100}).drawn);  // passes the lower right corner
    EXPECT_FALSE(Clip({-10, 50}, {-10, 50}).drawn);
}

TEST(Surface3DClip, ExactForFarEndsBeyondThirtyTwoBitProducts) {
    // Products of these differences overflow 32 bits; the cut must still lie on the line.
    const PixelPoint far{900000000, 450000010};
    Clipped c = Clip({10, 10}, far);
    ASSERT_TRUE(c.drawn);
    EXPECT_EQ(c.q.x, 98);
    EXPECT_EQ(c.q.y, 10 + 44);  // 10 + 88 * 450000000 / 899999990, truncated
    c = Clip({-kPixelLimit, 40}, {kPixelLimit, 41});
    ASSERT_TRUE(c.drawn);
    EXPECT_EQ(c.p, (PixelPoint{0, 40}));
    EXPECT_EQ(c.q, (PixelPoint{98, 40}));
    c = Clip({-kPixelLimit, -kPixelLimit}, {kPixelLimit, kPixelLimit});
    ASSERT_TRUE(c.drawn);
    EXPECT_EQ(c.p, (PixelPoint{0, 0}));
    EXPECT_EQ(c.q, (PixelPoint{78, 78}));
}

TEST(Surface3DClip, SurfaceLineStopsAtWidthMinusTwo) {
    Surface3D box;
    box.resize(kWidth, kHeight);
    box.ResetView();  // origin (50, 40)
    box.SetBuffered(true);
    box.Line(Point3{0, 0, 0}, Point3{1000, 0, 0});
    const QImage& image = box.OffscreenCanvas()->Image();
    EXPECT_EQ(image.pixel(98, 40), qRgb(0, 0, 0));
    EXPECT_EQ(image.pixel(99, 40), qRgb(255, 255, 255));
    EXPECT_EQ(box.TargetCanvas().PenPos(), (PixelPoint{98, 40}));
}

TEST(Surface3DClip, HugeScaleDrawsTheVisiblePartOfTheTrueLine) {
    Surface3D box;
    box.resize(kWidth, kHeight);
    box.ResetView();
    box.SetScale(3000.0);
    box.SetBuffered(true);
    // The far end projects to about (9e8, -4.5e8): beyond 32-bit products, inside 2^30.
    box.Line(Point3{0, 0, 0}, Point3{300000, 150000, 0});
    const PixelPoint end = box.TargetCanvas().PenPos();
    EXPECT_EQ(end.x, 98);
    EXPECT_NEAR(end.y, 40 - 48 / 2.0, 1.0);
    // Beyond 2^30 the end is held at the limit and nothing wraps onto the screen.
    box.Clear(0xFFFFFF);
    box.SetScale(1e5);
    box.Line(Point3{0, 0, 0}, Point3{-1e300, 0, 0});
    const QImage& image = box.OffscreenCanvas()->Image();
    EXPECT_EQ(image.pixel(0, 40), qRgb(0, 0, 0));
    EXPECT_EQ(image.pixel(60, 40), qRgb(255, 255, 255));
}

}  // namespace
}  // namespace cuttrace
