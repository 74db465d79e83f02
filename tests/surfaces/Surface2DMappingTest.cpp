// The 2D surface's world point, axis orientations, pixel mapping and its inverse, zooms,
// and the page mapping while printing.
#include <QImage>
#include <QPainter>

#include <gtest/gtest.h>

#include <cmath>

#include "surfaces/Mapping2D.h"
#include "surfaces/Surface2D.h"
#include "surfaces/WorldPoint2D.h"

namespace cuttrace {
namespace {

constexpr int kWidth = 400;
constexpr int kHeight = 300;

bool Blank(const QImage& image) {
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            if (QColor(image.pixel(x, y)) != QColor(Qt::white)) return false;
        }
    }
    return true;
}

// A surface of kWidth x kHeight after ResetView: the world origin is at (200, 150).
class Surface2DMapping : public ::testing::Test {
  protected:
    void SetUp() override {
        box.resize(kWidth, kHeight);
        box.ResetView();
    }
    Surface2D box;
};

TEST_F(Surface2DMapping, CopySnapsTinyCoordinatesAndKeepsTextAndNumber) {
    WorldPoint2D fresh;
    EXPECT_TRUE(fresh.text.empty());
    EXPECT_EQ(fresh.number, 1000);

    WorldPoint2D p(5e-9, -9.99e-9, 1e-8);
    p.text = "hole";
    p.number = 7;
    const WorldPoint2D copy = p;
    EXPECT_EQ(copy.x, 0.0);
    EXPECT_EQ(copy.y, 0.0);
    EXPECT_EQ(copy.z, 1e-8);  // not below the limit
    EXPECT_EQ(copy.text, "hole");
    EXPECT_EQ(copy.number, 7);

    WorldPoint2D assigned;
    assigned = WorldPoint2D(-3e-9, 2.5);
    EXPECT_EQ(assigned.x, 0.0);
    EXPECT_EQ(assigned.y, 2.5);
}

TEST_F(Surface2DMapping, EachOrientationTurnsTheWorldAxes) {
    // World (3, 5) in display axes (u, v) for modes 1..8; the pixel is (200 + u, 150 - v).
    const int expected[9][2] = {{3, 5},  {3, 5},  {5, 3},   {3, -5}, {5, -3},
                                {-3, 5}, {-5, 3}, {-3, -5}, {-5, -3}};
    for (int mode = 1; mode <= 8; ++mode) {
        box.SetOrientation(static_cast<map2d::AxisOrientation>(mode));
        WorldPoint2D p(3, 5);
        box.ToDisplayAxes(p);
        EXPECT_EQ(p.x, expected[mode][0]) << "mode " << mode;
        EXPECT_EQ(p.y, expected[mode][1]) << "mode " << mode;
        QPoint pixel;
        EXPECT_TRUE(box.WorldToPixel(WorldPoint2D(3, 5), pixel));
        EXPECT_EQ(pixel, QPoint(200 + expected[mode][0], 150 - expected[mode][1]))
            << "mode " << mode;
    }
    // Values outside 1..8 orient like mode 1.
    for (int mode : {0, 9, -4}) {
        box.SetOrientation(static_cast<map2d::AxisOrientation>(mode));
        QPoint pixel;
        box.WorldToPixel(WorldPoint2D(3, 5), pixel);
        EXPECT_EQ(pixel, QPoint(203, 145)) << "mode " << mode;
    }
}

TEST_F(Surface2DMapping, ModeFourDrawsPositiveXBelowTheOrigin) {
    box.SetOrientation(static_cast<map2d::AxisOrientation>(4));
    QPoint pixel;
    box.WorldToPixel(WorldPoint2D(10, 0), pixel);
    EXPECT_EQ(pixel, QPoint(200, 160));
}

TEST_F(Surface2DMapping, PixelMappingScalesPansAndTruncatesTowardZero) {
    box.SetScale(2.5);
    box.SetScreenScaleFactor(2.0);
    box.SetOffset(QPoint(-7, 11));
    QPoint pixel;
    box.WorldToPixel(WorldPoint2D(1.03, -2.0), pixel);
    // 1.03 * 5 = 5.15 -> 200 + 5.15 - 7 = 198.15 -> 198; 2 * 5 = 10 -> 150 + 10 + 11 = 171.
    EXPECT_EQ(pixel, QPoint(198, 171));
    // With the origin at (0, 0): -1.5 truncates to -1 and -0.95 to 0 (toward zero).
    box.SetOrigin(QPoint(0, 0));
    box.SetOffset(QPoint(0, 0));
    box.WorldToPixel(WorldPoint2D(-0.3, 0.3), pixel);
    EXPECT_EQ(pixel, QPoint(-1, -1));
    box.WorldToPixel(WorldPoint2D(-0.19, 0.19), pixel);
    EXPECT_EQ(pixel, QPoint(0, 0));
}

TEST_F(Surface2DMapping, WorldToPixelTellsWhetherThePixelIsInsideTheArea) {
    QPoint pixel;
    EXPECT_TRUE(box.WorldToPixel(WorldPoint2D(199, -149), pixel));  // (399, 299)
    EXPECT_FALSE(box.WorldToPixel(WorldPoint2D(200, 0), pixel));    // x = 400
    EXPECT_FALSE(box.WorldToPixel(WorldPoint2D(0, 151), pixel));    // y = -1
}

TEST_F(Surface2DMapping, PixelToWorldInvertsTheMappingInEveryOrientation) {
    const double scales[] = {1.0, 0.37, 12.5};
    const WorldPoint2D worlds[] = {WorldPoint2D(12.25, -7.5), WorldPoint2D(-40.125, 33.0),
                                   WorldPoint2D(0.5, 0.25)};
    for (int mode = 1; mode <= 8; ++mode) {
        for (double scall : scales) {
            box.SetOrientation(static_cast<map2d::AxisOrientation>(mode));
            box.SetScale(scall);
            box.SetScreenScaleFactor(1.5);
            box.SetOffset(QPoint(13, -21));
            const double pixelWidth = 1.0 / (scall * 1.5);
            for (const WorldPoint2D& world : worlds) {
                QPoint pixel;
                box.WorldToScreenPixel(world, pixel);
                WorldPoint2D back(1e9, 1e9, 42.0);
                box.PixelToWorld(pixel, &back);
                EXPECT_NEAR(back.x, world.x, pixelWidth) << "mode " << mode << " scale " << scall;
                EXPECT_NEAR(back.y, world.y, pixelWidth) << "mode " << mode << " scale " << scall;
                EXPECT_EQ(back.z, 42.0);  // only x and y are written
                // And the world point found under a pixel maps to that very pixel region.
                QPoint again;
                box.WorldToScreenPixel(back, again);
                EXPECT_LE(std::abs(again.x() - pixel.x()), 1);
                EXPECT_LE(std::abs(again.y() - pixel.y()), 1);
            }
        }
    }
}

TEST_F(Surface2DMapping, ZoomsKeepTheCentreAndStopAtTheirLimits) {
    box.SetZoomFactor(1.5);
    box.SetOffset(QPoint(30, -20));  // world (-30, -20) is under the centre (200, 150)
    box.ZoomIn();
    EXPECT_DOUBLE_EQ(box.Scale(), 1.5);
    EXPECT_EQ(box.GetOffset(), QPoint(0, 0));
    WorldPoint2D centre;
    box.PixelToWorld(QPoint(200, 150), &centre);
    EXPECT_NEAR(centre.x, -30.0, 1.0 / 1.5);
    EXPECT_NEAR(centre.y, -20.0, 1.0 / 1.5);

    // From 9000 one step would give 13500: the scale stops at 10000 and the origin is
    // computed with 10000.
    box.ResetView();
    box.SetOrigin(QPoint(190, 150));  // world x 10/9000 under the centre
    box.SetScale(9000.0);
    box.ZoomIn();
    EXPECT_DOUBLE_EQ(box.Scale(), 10000.0);
    EXPECT_EQ(box.GetOrigin(), QPoint(static_cast<int>(200 - 10.0 / 9000.0 * 10000.0), 150));

    box.SetScale(0.00012);
    box.ZoomOut();
    EXPECT_DOUBLE_EQ(box.Scale(), 0.0001);
    box.ZoomOut();
    EXPECT_DOUBLE_EQ(box.Scale(), 0.0001);
}

TEST_F(Surface2DMapping, RectangleZoomIsCappedAtTenAndNeverZero) {
    map2d::View view;
    view.Origin = {200, 150};
    // 400 / 20 = 20 would be the factor: it is 10, and the band's corner moves to (0, 0).
    ASSERT_TRUE(map2d::RectangleZoom(view, {100, 50}, {120, 60}, kWidth, kHeight));
    EXPECT_DOUBLE_EQ(view.Scale, 10.0);
    EXPECT_EQ(view.Origin, (map2d::Pixel{1000, 1000}));
    EXPECT_EQ(view.Offset, (map2d::Pixel{0, 0}));

    // Signed comparison: dx = -50 > dy = -100, so the factor is |400 / -50| = 8.
    view = {};
    ASSERT_TRUE(map2d::RectangleZoom(view, {300, 200}, {250, 100}, kWidth, kHeight));
    EXPECT_DOUBLE_EQ(view.Scale, 8.0);

    // A band wider than the surface would give 0: it only moves the view.
    view = {};
    ASSERT_TRUE(map2d::RectangleZoom(view, {-100, 10}, {500, 20}, kWidth, kHeight));
    EXPECT_DOUBLE_EQ(view.Scale, 1.0);
    EXPECT_EQ(view.Origin, (map2d::Pixel{100, -10}));

    // The scale never passes 100000; a band without height changes nothing.
    view = {};
    view.Scale = 50000.0;
    ASSERT_TRUE(map2d::RectangleZoom(view, {0, 0}, {100, 100}, kWidth, kHeight));
    EXPECT_DOUBLE_EQ(view.Scale, 100000.0);
    const map2d::View before = view;
    EXPECT_FALSE(map2d::RectangleZoom(view, {10, 10}, {90, 10}, kWidth, kHeight));
    EXPECT_EQ(view.Scale, before.Scale);
    EXPECT_EQ(view.Origin, before.Origin);
}

TEST_F(Surface2DMapping, PrintingMapsOntoThePageWithItsOwnScaleAndOrigin) {
    QImage page(1000, 800, QImage::Format_RGB32);
    page.fill(Qt::white);
    box.SetOffset(QPoint(10, -5));  // the world origin is at screen pixel (210, 145)
    box.SetPageScaleFactor(2.0);
    box.SetPageDevice(&page);
    box.SetTarget(Surface2D::Target::Page);
    ASSERT_TRUE(box.IsPrinting());
    EXPECT_EQ(box.DrawingWidth(), 1000);
    EXPECT_EQ(box.DrawingHeight(), 800);
    // The screen centre lands at the page centre: 2 * (210 - 200) + 500, 2 * (145 - 150) + 400.
    EXPECT_EQ(box.GetPrintOrigin(), QPoint(520, 390));

    QPoint pixel;
    EXPECT_TRUE(box.WorldToPixel(WorldPoint2D(10, 10), pixel));
    EXPECT_EQ(pixel, QPoint(540, 370));
    box.WorldToScreenPixel(WorldPoint2D(10, 10), pixel);  // the screen mapping still holds
    EXPECT_EQ(pixel, QPoint(220, 135));

    // Lines, pixels and the origin lines land on the page, not on the screen.
    box.SetPenColor(0x0000FF);  // red
    box.Line(WorldPoint2D(0, 10), WorldPoint2D(50, 10));
    box.Pixel(WorldPoint2D(5, -5), 0x00FF00);  // green at (530, 400)
    box.DrawOriginLines(0xFF0000);             // blue through the page origin (520, 390)
    box.SetTarget(Surface2D::Target::Screen);
    EXPECT_FALSE(box.IsPrinting());
    EXPECT_EQ(box.DrawingWidth(), kWidth);
    EXPECT_EQ(QColor(page.pixel(560, 370)), QColor(Qt::red));
    EXPECT_EQ(QColor(page.pixel(530, 400)), QColor(Qt::green));
    EXPECT_EQ(QColor(page.pixel(520, 700)), QColor(Qt::blue));
    EXPECT_EQ(QColor(page.pixel(900, 390)), QColor(Qt::blue));
    EXPECT_TRUE(Blank(box.ScreenImage()));

    // Centred on the page, the world origin goes to the page centre.
    box.SetPageOriginCentred(1);
    box.SetTarget(Surface2D::Target::Page);
    EXPECT_EQ(box.GetPrintOrigin(), QPoint(500, 400));
    box.SetTarget(Surface2D::Target::Screen);
}

TEST_F(Surface2DMapping, PrintingUsesTheCallersPainterAndNeedsAPage) {
    box.SetTarget(Surface2D::Target::Page);  // no page: stays on the screen
    EXPECT_FALSE(box.IsPrinting());
    EXPECT_EQ(box.DrawingWidth(), kWidth);

    QImage page(600, 500, QImage::Format_RGB32);
    page.fill(Qt::white);
    QPainter painter(&page);
    box.SetPagePainter(&painter);
    box.SetPageOriginCentred(1);
    box.SetPageScaleFactor(3.0);
    box.SetTarget(Surface2D::Target::Page);
    ASSERT_TRUE(box.IsPrinting());
    box.SetPenColor(0x000000);
    box.DrawDot(WorldPoint2D(0, 0), 2.0, true);  // radius 2 * 3 pixels about (300, 250)
    box.SetTarget(Surface2D::Target::Screen);
    EXPECT_TRUE(painter.isActive());  // the caller ends its document
    painter.end();
    EXPECT_NE(QColor(page.pixel(300, 250)), QColor(Qt::white));
    EXPECT_NE(QColor(page.pixel(300, 245)), QColor(Qt::white));
    EXPECT_EQ(QColor(page.pixel(300, 242)), QColor(Qt::white));
}

}  // namespace
}  // namespace cuttrace
