// Clipping of the 3D surface's lines to its visible window.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <utility>
#include <vector>

#include "surfaces/Canvas3D.h"
#include "surfaces/Renderer3D.h"
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

// A run of lines drawn at once (LinesFrom, which draws the points after the first inside
// the window straight from the pen) lights what the same lines drawn one by one light, and
// leaves the pen in the same place: dense runs, runs along the window's last column and row,
// across its edges, long lines, and a canvas smaller than the renderer's window.
TEST(Surface3DClip, RunsOfLinesLightWhatSingleLinesLight) {
    struct Case {
        const char* name;
        int canvasWidth;
        int canvasHeight;
        std::vector<Point3> (*path)();
    };
    const auto spiral = [] {  // a few points a pixel
        std::vector<Point3> points;
        for (int k = 0; k < 3000; ++k)
            points.push_back({0.012 * k * std::cos(k * 0.02), 0.012 * k * std::sin(k * 0.02), 0});
        return points;
    };
    const auto edges = [] {  // x = 47..50 and y = -39..-41 are the window's last and past it
        std::vector<Point3> points;
        for (int k = 0; k < 400; ++k) {
            const double along = -45.0 + (k % 90);
            points.push_back(k % 2 ? Point3{47.0 + (k / 7) % 5, along, 0}
                                   : Point3{along, -38.0 - (k / 5) % 5, 0});
        }
        return points;
    };
    const auto across = [] {  // steps of up to 40 pixels that leave the window and come back
        std::vector<Point3> points;
        for (int k = 0; k < 600; ++k)
            points.push_back({70.0 * std::sin(k * 1.7), 55.0 * std::cos(k * 0.9), 0});
        return points;
    };
    const auto repeats = [] {  // the same pixel again and again, then a line back to it
        std::vector<Point3> points;
        for (int k = 0; k < 60; ++k)
            points.push_back({(k / 10) * 1.3, 0.2 * (k % 3), 0});
        points.push_back({0, 0, 0});
        return points;
    };
    const Case cases[] = {
        {"spiral", kWidth, kHeight, spiral}, {"edges", kWidth, kHeight, edges},
        {"across", kWidth, kHeight, across}, {"repeats", kWidth, kHeight, repeats},
        {"small canvas", 60, 50, across},    {"small canvas, edges", 98, 79, edges},
    };
    for (const Case& c : cases) {
        Canvas3D runCanvas(c.canvasWidth, c.canvasHeight);
        Canvas3D oneCanvas(c.canvasWidth, c.canvasHeight);
        Renderer3D run;
        Renderer3D one;
        for (auto [renderer, canvas] : {std::pair{&run, &runCanvas}, std::pair{&one, &oneCanvas}}) {
            renderer->SetTarget(canvas);
            renderer->SetSize(kWidth, kHeight);
            renderer->View().ResetView(kWidth, kHeight);
            renderer->MoveTo({3, 3, 0});  // the first line does not start at the pen
        }
        const std::vector<Point3> points = c.path();
        // In parts, with a new color now and then (the pen's pixel then needs drawing again).
        std::size_t done = 0;
        for (std::size_t part = 1; done < points.size(); ++part) {
            const std::size_t n = std::min(points.size() - done, 37 * part);
            const Point3 from = done == 0 ? Point3{0, 0, 0} : points[done - 1];
            run.LinesFrom(from, points.data() + done, n);
            Point3 a = from;
            for (std::size_t k = done; k < done + n; ++k) {
                one.Line(a, points[k]);
                a = points[k];
            }
            done += n;
            const uint32_t color = static_cast<uint32_t>(part * 0x1F3D5B);
            run.SetPenColor(color);
            one.SetPenColor(color);
        }
        EXPECT_EQ(runCanvas.Image(), oneCanvas.Image()) << c.name;
        EXPECT_EQ(runCanvas.PenPos(), oneCanvas.PenPos()) << c.name;
    }
}

}  // namespace
}  // namespace cuttrace
