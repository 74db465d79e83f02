// Projection and zoom of the 3D surface.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <random>

#include "surfaces/ProjectedLines.h"
#include "surfaces/Projection3D.h"
#include "surfaces/Surface3D.h"

namespace cuttrace {
namespace {

constexpr int kWidth = 545;
constexpr int kHeight = 411;

Projection3D InitView(const Point3& rotation = Point3{}) {
    Projection3D view;
    view.SetRotation(rotation);
    view.ResetView(kWidth, kHeight);
    return view;
}

TEST(Surface3DProjection, ResetViewPutsModelOriginAtCentreWithYUp) {
    Surface3D box;
    box.resize(kWidth, kHeight);
    box.SetScale(7.0);
    box.SetOffset({3, 4});
    box.ResetView();
    EXPECT_EQ(box.ToPixel(Point3{0, 0, 0}), (PixelPoint{272, 205}));
    EXPECT_EQ(box.ToPixel(Point3{10, 10, 0}), (PixelPoint{282, 195}));
    EXPECT_EQ(box.GetOffset(), (PixelPoint{0, 0}));
    EXPECT_EQ(box.Scale(), 1.0);
}

TEST(Surface3DProjection, ResetViewKeepsRotationAndZoomStep) {
    Projection3D view;
    view.SetRotation(Point3{-45, 32, 28});
    view.SetZoomFactor(1.3);
    view.ResetView(kWidth, kHeight);
    EXPECT_EQ(view.Rotation(), (Point3{-45, 32, 28}));
    EXPECT_EQ(view.ZoomFactor(), 1.3);
}

TEST(Surface3DProjection, PixelsTruncateTowardZero) {
    Projection3D view = InitView();
    // -0.7 truncates to 0 (rounding down would give one pixel less).
    EXPECT_EQ(view.ToPixel(Point3{-0.7, 0.7, 0}), (PixelPoint{272, 205}));
    EXPECT_EQ(view.ToPixel(Point3{2.9, -2.9, 0}), (PixelPoint{274, 207}));
    view.SetScale(2.5);
    EXPECT_EQ(view.ToPixel(Point3{1, 1, 0}), (PixelPoint{274, 203}));
}

TEST(Surface3DProjection, OffsetPansAfterOrigin) {
    Projection3D view = InitView();
    view.SetOffset({-20, 30});
    EXPECT_EQ(view.ToPixel(Point3{10, 10, 0}), (PixelPoint{262, 225}));
}

TEST(Surface3DProjection, FrontViewShowsZUpwards) {
    Projection3D view = InitView(Point3{-90, 0, 0});
    EXPECT_EQ(view.ToPixel(Point3{0, 0, 10}), (PixelPoint{272, 195}));
    EXPECT_EQ(view.ToPixel(Point3{10, 0, 0}), (PixelPoint{282, 205}));
}

TEST(Surface3DProjection, SideViewShowsYRightAndZUp) {
    Projection3D view = InitView(Point3{0, -90, -90});
    EXPECT_EQ(view.ToPixel(Point3{0, 10, 0}), (PixelPoint{282, 205}));
    EXPECT_EQ(view.ToPixel(Point3{0, 0, 10}), (PixelPoint{272, 195}));
    // Model X points into the screen.
    EXPECT_EQ(view.ToPixel(Point3{10, 0, 0}), (PixelPoint{272, 205}));
    EXPECT_NEAR(view.ToPixelAndDepth(Point3{10, 0, 0}).z, 10.0, 1e-9);
}

TEST(Surface3DProjection, RotationsApplyAboutXThenYThenZ) {
    // About X by 90 takes Y to Z; about Y by 90 then takes that Z to X: (0,1,0) ends on +X.
    // In the other order (Y first) the point would stay on the Z axis.
    Projection3D view;
    view.SetRotation(Point3{90, 90, 0});
    Point3 p{0, 1, 0};
    view.ScaleAndRotate(p);
    EXPECT_NEAR(p.x, 1.0, 1e-12);
    EXPECT_NEAR(p.y, 0.0, 1e-12);
    EXPECT_NEAR(p.z, 0.0, 1e-12);
}

TEST(Surface3DProjection, ObliquePresetsKeepTheOriginAndScaleLinearly) {
    for (const Point3& rotation : {Point3{-45, 32, 28}, Point3{-60, -30, -16}}) {
        Projection3D view = InitView(rotation);
        EXPECT_EQ(view.ToPixel(Point3{}), (PixelPoint{272, 205}));
        Point3 one{3, -4, 5};
        view.ScaleAndRotate(one);
        view.SetScale(4.0);
        Point3 four{3, -4, 5};
        view.ScaleAndRotate(four);
        EXPECT_NEAR(four.x, 4 * one.x, 1e-9);
        EXPECT_NEAR(four.y, 4 * one.y, 1e-9);
        EXPECT_NEAR(four.z, 4 * one.z, 1e-9);
        // A rotation keeps lengths.
        EXPECT_NEAR(std::hypot(one.x, one.y, one.z), std::hypot(3.0, 4.0, 5.0), 1e-9);
    }
}

TEST(Surface3DProjection, ToPixelAndDepthReportsPixelAndDepth) {
    Projection3D view = InitView();
    view.SetScale(2.0);
    EXPECT_EQ(view.ToPixelAndDepth(Point3{1, 2, 3}), (Point3{274, 201, 6}));
}

TEST(Surface3DProjection, HugeAndInvalidCoordinatesStayInRange) {
    Projection3D view = InitView();
    view.SetScale(100000.0);
    EXPECT_EQ(view.ToPixel(Point3{1e300, -1e300, 0}), (PixelPoint{kPixelLimit, kPixelLimit}));
    EXPECT_EQ(view.ToPixel(Point3{-1e12, 0, 0}).x, -kPixelLimit);
    EXPECT_EQ(view.ToPixel(Point3{std::nan(""), 0, 0}), (PixelPoint{272, 205}));
    EXPECT_EQ(view.ToPixel(Point3{INFINITY, 0, 0}).x, kPixelLimit);
}

TEST(Surface3DProjection, FastProjectionGivesTheReferencePixelsBitForBit) {
    std::mt19937_64 random(7);
    std::uniform_real_distribution<double> unit(-1.0, 1.0);
    const double oddValues[] = {
        0.0,         -0.0, 1e300,        -1e300,
        3e9,         -3e9, 2147483647.5, std::numeric_limits<double>::infinity(),
        std::nan("")};
    const Point3 rotations[] = {{0, 0, 0},     {-90, 0, 0},     {0, -90, -90},
                                {-45, 32, 28}, {-60, -30, -16}, {13.7, -171, 95.25}};
    const PixelPoint origins[] = {{272, 205}, {0, 0}, {kPixelLimit, -kPixelLimit}, {-5, 1 << 29}};
    for (const Point3& rotation : rotations) {
        for (const PixelPoint origin : origins) {
            for (const double scale : {1.0, 0.0001, 37.5, 100000.0}) {
                Projection3D view = InitView(rotation);
                view.SetScale(scale);
                view.SetOrigin(origin);
                view.SetOffset(PixelPoint{-17, 1000});
                for (int i = 0; i < 2000; ++i) {
                    const double magnitude = std::pow(10.0, 12.0 * std::abs(unit(random)));
                    Point3 p{unit(random) * magnitude, unit(random) * magnitude,
                             unit(random) * magnitude};
                    if (i % 10 == 0)
                        p.x = oddValues[static_cast<size_t>(i / 10) % std::size(oddValues)];
                    if (i % 15 == 0)
                        p.z = oddValues[static_cast<size_t>(i / 15) % std::size(oddValues)];
                    if (i % 7 == 0)
                        p.y = oddValues[static_cast<size_t>(i / 7) % std::size(oddValues)];
                    ASSERT_EQ(FastPixel(view, p), view.ToPixel(p))
                        << p.x << " " << p.y << " " << p.z << " scale " << scale;
                }
            }
        }
    }
}

// A box's pixel bounds hold the pixels of its corners (and so of every point inside) and,
// for values of a sensible size, are at most a pixel wider.
TEST(Surface3DProjection, BoxBoundsHoldEveryCornerPixel) {
    std::mt19937_64 random(11);
    std::uniform_real_distribution<double> unit(-1.0, 1.0);
    const Point3 rotations[] = {
        {0, 0, 0}, {-90, 0, 0}, {0, -90, -90}, {-45, 32, 28}, {-60, -30, -16}};
    for (const Point3& rotation : rotations) {
        for (const double scale : {1.0, 0.0001, 37.5, 100000.0}) {
            Projection3D view = InitView(rotation);
            view.SetScale(scale);
            for (int i = 0; i < 3000; ++i) {
                const double magnitude = std::pow(10.0, 14.0 * std::abs(unit(random)) - 4.0);
                const double size = magnitude * std::pow(10.0, -8.0 * std::abs(unit(random)));
                const Point3 low{unit(random) * magnitude, unit(random) * magnitude,
                                 unit(random) * magnitude};
                const Point3 high{low.x + size * std::abs(unit(random)),
                                  low.y + size * std::abs(unit(random)),
                                  low.z + (i % 5 == 0 ? 0.0 : size * std::abs(unit(random)))};
                PixelPoint least;
                PixelPoint most;
                ASSERT_TRUE(BoxPixelBounds(view, low, high, least, most));
                if (i % 50 == 0) {  // a value that is not finite, in each place in turn
                    Point3 oddLow = low;
                    Point3 oddHigh = high;
                    double* places[] = {&oddLow.x,  &oddLow.y,  &oddLow.z,
                                        &oddHigh.x, &oddHigh.y, &oddHigh.z};
                    *places[(i / 50) % 6] = (i / 50) % 4 ? NAN : -INFINITY;
                    PixelPoint unused;
                    ASSERT_FALSE(BoxPixelBounds(view, oddLow, oddHigh, unused, unused));
                }
                PixelPoint first = view.ToPixel(low);
                PixelPoint last = first;
                for (int corner = 0; corner < 8; ++corner) {
                    const PixelPoint p =
                        view.ToPixel({corner & 1 ? high.x : low.x, corner & 2 ? high.y : low.y,
                                      corner & 4 ? high.z : low.z});
                    first = {std::min(first.x, p.x), std::min(first.y, p.y)};
                    last = {std::max(last.x, p.x), std::max(last.y, p.y)};
                }
                ASSERT_TRUE(least.x <= first.x && least.y <= first.y && most.x >= last.x &&
                            most.y >= last.y)
                    << low.x << " " << low.y << " " << low.z << " size " << size;
                if (magnitude * scale < 1e8) {
                    ASSERT_LE(first.x - least.x + first.y - least.y, 2);
                    ASSERT_LE(most.x - last.x + most.y - last.y, 2);
                }
            }
        }
    }
}

// ---- zoom about the centre ----

TEST(Surface3DProjection, ZoomInPlacesOriginWithUnlimitedScaleThenLimits) {
    Projection3D view = InitView();
    view.SetZoomFactor(1.3);
    view.SetScale(2500.0);
    view.SetOrigin({-4728, 205});
    view.SetOffset({0, 0});
    view.ZoomIn(kWidth, kHeight);
    // wx = trunc((272 + 4728) / 2500) = 2, origin x = trunc(272 - 2 * 3250).
    EXPECT_EQ(view.Origin(), (PixelPoint{272 - 2 * 3250, 205}));
    EXPECT_EQ(view.Scale(), 3000.0);
}

TEST(Surface3DProjection, ZoomOutStopsAtFloor) {
    Projection3D view = InitView();
    view.SetZoomFactor(1.3);
    view.SetScale(0.00012);
    view.ZoomOut(kWidth, kHeight);
    EXPECT_EQ(view.Scale(), 0.0001);
}

TEST(Surface3DProjection, ZoomKeepsTruncatedCentrePointAndDropsOffset) {
    Projection3D view = InitView();
    view.SetZoomFactor(2.0);
    view.SetOffset({-50, 17});
    view.ZoomIn(kWidth, kHeight);
    // Under the centre was (50, -17) unscaled; at scale 2 it stays under the centre.
    EXPECT_EQ(view.Offset(), (PixelPoint{0, 0}));
    EXPECT_EQ(view.Scale(), 2.0);
    EXPECT_EQ(view.Origin(), (PixelPoint{272 - 100, 205 + 34}));
    EXPECT_EQ(view.ToPixel(Point3{50, 17, 0}), (PixelPoint{272, 205}));
    view.ZoomOut(kWidth, kHeight);
    EXPECT_EQ(view.Origin(), (PixelPoint{272 - 50, 205 + 17}));
}

TEST(Surface3DProjection, WidgetZoomsUseItsSize) {
    Surface3D box;
    box.resize(kWidth, kHeight);
    box.ResetView();
    box.SetZoomFactor(1.3);
    box.ZoomIn();
    EXPECT_DOUBLE_EQ(box.Scale(), 1.3);
    EXPECT_EQ(box.GetOrigin(), (PixelPoint{272, 205}));
    box.ZoomOut();
    EXPECT_DOUBLE_EQ(box.Scale(), 1.0);
}

// ---- rubber-band zoom ----

struct BandCase {
    PixelPoint start;
    PixelPoint end;
    double scall;
};

TEST(Surface3DProjection, BandFactorIsAWholeNumber) {
    const BandCase cases[] = {
        {{100, 100}, {200, 150}, 5.0},  // 545 div 100
        {{100, 100}, {400, 150}, 1.0},  // 545 div 300
        {{100, 100}, {150, 300}, 2.0},  // dx 50 < dy 200: 411 div 200
        // Signed comparison: dx -50 > dy -100, so the width decides: |545 div -50|.
        {{300, 300}, {250, 200}, 10.0},
        // Wider than the surface (the mouse left it during the drag): factor 1, not 0.
        {{-30, 10}, {570, 20}, 1.0},
    };
    for (const BandCase& c : cases) {
        Projection3D view = InitView();
        ASSERT_TRUE(view.BandZoom(c.start, c.end, kWidth, kHeight));
        EXPECT_EQ(view.Scale(), c.scall) << c.end.x << "," << c.end.y;
    }
}

TEST(Surface3DProjection, BandCornerMovesToTopLeft) {
    Projection3D view = InitView();
    view.SetOffset({10, -10});
    // The model point under pixel (100, 100) before the zoom...
    const Point3 corner{100.0 - 282, -(100.0 - 195), 0};
    ASSERT_EQ(view.ToPixel(corner), (PixelPoint{100, 100}));
    // Dragged up and to the left: dx -100 is not above dy -50, so the height decides.
    ASSERT_TRUE(view.BandZoom({200, 150}, {100, 100}, kWidth, kHeight));
    // ...is at (0, 0) after it.
    EXPECT_EQ(view.Scale(), 8.0);
    EXPECT_EQ(view.Offset(), (PixelPoint{0, 0}));
    EXPECT_EQ(view.ToPixel(corner), (PixelPoint{0, 0}));
}

TEST(Surface3DProjection, BandWithoutWidthOrHeightChangesNothing) {
    Projection3D view = InitView();
    EXPECT_FALSE(view.BandZoom({100, 100}, {100, 180}, kWidth, kHeight));
    EXPECT_FALSE(view.BandZoom({100, 100}, {180, 100}, kWidth, kHeight));
    EXPECT_EQ(view.Scale(), 1.0);
    EXPECT_EQ(view.Origin(), (PixelPoint{272, 205}));
}

TEST(Surface3DProjection, BandZoomLimitIsHundredThousand) {
    Projection3D view = InitView();
    view.SetScale(2900.0);
    ASSERT_TRUE(view.BandZoom({0, 0}, {20, 10}, kWidth, kHeight));
    EXPECT_EQ(view.Scale(), 2900.0 * 27);  // above the centre zoom's 3000
    ASSERT_TRUE(view.BandZoom({0, 0}, {20, 10}, kWidth, kHeight));
    EXPECT_EQ(view.Scale(), 100000.0);
}

}  // namespace
}  // namespace cuttrace
