// What the 2D surface paints: markers, circles and arcs, text, clipped lines, polylines,
// the origin lines, and the rubber band with the zoom and the click re-centring.
#include <QFontDatabase>
#include <QImage>
#include <QSignalSpy>
#include <QTest>

#include <gtest/gtest.h>

#include <cmath>

#include "surfaces/Mapping2D.h"
#include "surfaces/Surface2D.h"
#include "surfaces/WorldPoint2D.h"

namespace cuttrace {
namespace {

constexpr int kWidth = 400;
constexpr int kHeight = 300;
const QColor kWhite(Qt::white);

// The bounding box of every pixel that is not white.
QRect Painted(const QImage& image) {
    QRect box;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            if (QColor(image.pixel(x, y)) != kWhite) box |= QRect(x, y, 1, 1);
        }
    }
    return box;
}

bool IsPainted(const QImage& image, int x, int y) {
    return QColor(image.pixel(x, y)) != kWhite;
}

class Surface2DDrawing : public ::testing::Test {
  protected:
    // The band zoom with the right button, and the right-click re-centring.
    void EnableBandZoom() {
        box.SetBandZoomEnabled(true);
        box.SetBandButton(Qt::RightButton);
    }

    void SetUp() override {
        box.resize(kWidth, kHeight);
        box.ResetView();
        box.Clear(0xFFFFFF);
        box.SetPenColor(0x000000);
    }
    Surface2D box;
};

TEST_F(Surface2DDrawing, DotRadiusFollowsTheScreenFactorNotTheScale) {
    for (double scall : {1.0, 50.0, 0.01}) {
        box.Clear(0xFFFFFF);
        box.SetScale(scall);
        box.DrawDot(WorldPoint2D(0, 0), 3.0, true);
        const QRect marker = Painted(box.ScreenImage());
        EXPECT_NEAR(marker.center().x(), 200, 1) << "scale " << scall;
        EXPECT_NEAR(marker.width(), 7, 1) << "scale " << scall;
        EXPECT_NEAR(marker.height(), 7, 1) << "scale " << scall;
    }
    box.Clear(0xFFFFFF);
    box.SetScale(1.0);
    box.SetScreenScaleFactor(2.0);
    box.DrawDot(WorldPoint2D(0, 0), 3.0, false);  // hollow, radius 6
    const QImage& image = box.ScreenImage();
    EXPECT_NEAR(Painted(image).width(), 13, 1);
    EXPECT_FALSE(IsPainted(image, 200, 150));
    EXPECT_TRUE(IsPainted(image, 200, 156) || IsPainted(image, 200, 155));
}

TEST_F(Surface2DDrawing, CirclesAndArcsUseTheWorldRadius) {
    box.SetScale(2.0);
    box.Circle(WorldPoint2D(10, 0), 20.0);  // centre pixel (220, 150), radius 40
    QRect circle = Painted(box.ScreenImage());
    EXPECT_NEAR(circle.left(), 180, 1);
    EXPECT_NEAR(circle.right(), 260, 1);
    EXPECT_NEAR(circle.top(), 110, 1);
    EXPECT_NEAR(circle.bottom(), 190, 1);
    EXPECT_FALSE(IsPainted(box.ScreenImage(), 220, 150));

    // A quarter from the +x ray to the +y ray, counter-clockwise: the upper right only.
    box.Clear(0xFFFFFF);
    box.Arc(WorldPoint2D(0, 0), 20.0, WorldPoint2D(20, 0), WorldPoint2D(0, 20));
    const QRect arc = Painted(box.ScreenImage());
    EXPECT_GE(arc.left(), 199);
    EXPECT_LE(arc.bottom(), 151);
    EXPECT_NEAR(arc.right(), 240, 1);
    EXPECT_NEAR(arc.top(), 110, 1);

    // Mirrored axes mirror the arc: in mode 5 (u = -x) it lies in the upper left.
    box.Clear(0xFFFFFF);
    box.SetOrientation(static_cast<map2d::AxisOrientation>(5));
    box.Arc(WorldPoint2D(0, 0), 20.0, WorldPoint2D(0, 20), WorldPoint2D(20, 0));
    const QRect mirrored = Painted(box.ScreenImage());
    EXPECT_LE(mirrored.right(), 201);
    EXPECT_NEAR(mirrored.left(), 160, 1);
}

TEST_F(Surface2DDrawing, PixelUsesTheFullMapping) {
    box.SetScale(3.0);
    box.Pixel(WorldPoint2D(2, 1), 0x00FF00);  // green at (206, 147)
    EXPECT_EQ(QColor(box.ScreenImage().pixel(206, 147)), QColor(Qt::green));
    EXPECT_EQ(Painted(box.ScreenImage()), QRect(206, 147, 1, 1));
}

TEST_F(Surface2DDrawing, TextWidthIsInWorldUnits) {
    const QString text = QStringLiteral("MMMMMMMMMMMM");
    const QString family = QFontDatabase::families().value(0);
    box.SetScale(1.0);
    const int pixels = box.TextWidth(text, family);
    ASSERT_GT(pixels, 20);
    box.SetScale(2.0);
    EXPECT_EQ(box.TextWidth(text, family), pixels / 2);
    box.SetScale(1.0);
    box.SetScreenScaleFactor(4.0);
    EXPECT_EQ(box.TextWidth(text, family), pixels / 4);
    box.SetScreenScaleFactor(1.0);

    // The painted text is as wide as measured, and the font name is restored.
    const QString before = box.TargetCanvas().Font().family();
    box.DrawText(WorldPoint2D(-150, 100), text, family);  // top-left at (50, 50)
    const QRect painted = Painted(box.ScreenImage());
    EXPECT_NEAR(painted.width(), pixels, pixels / 8 + 2);
    EXPECT_GE(painted.left(), 50);
    EXPECT_GE(painted.top(), 50);
    EXPECT_EQ(box.TargetCanvas().Font().family(), before);
    EXPECT_TRUE(box.TargetCanvas().BrushSolid());
}

TEST_F(Surface2DDrawing, RotatedTextTurnsAboutItsLowerLeftCorner) {
    const QString text = QStringLiteral("HHHHHHHH");
    const QString family = QFontDatabase::families().value(0);
    box.DrawRotatedText(WorldPoint2D(-100, 0), 0.0, text, 20.0,
                        family);  // lower left at (100, 150)
    const QRect flat = Painted(box.ScreenImage());
    EXPECT_GT(flat.width(), flat.height());
    EXPECT_LE(flat.bottom(), 151);
    EXPECT_GE(flat.top(), 129);
    EXPECT_NEAR(flat.left(), 101, 3);

    box.Clear(0xFFFFFF);
    box.DrawRotatedText(WorldPoint2D(0, 0), 90.0, text, 20.0,
                        family);  // runs upwards from (200, 150)
    const QRect upright = Painted(box.ScreenImage());
    EXPECT_GT(upright.height(), upright.width());
    EXPECT_LE(upright.bottom(), 151);
    EXPECT_LE(upright.right(), 201);
    EXPECT_GE(upright.left(), 179);
    EXPECT_NEAR(upright.height(), flat.width(), 2);

    // The font grows with the scale, so the width in world units hardly changes.
    const int atOne = box.RotatedTextWidth(30.0, text, 20.0, family);
    box.SetScale(3.0);
    EXPECT_NEAR(box.RotatedTextWidth(30.0, text, 20.0, family), atOne, atOne / 10 + 1);
    EXPECT_GT(atOne, 20);
}

TEST_F(Surface2DDrawing, ClearAndOriginLinesRestoreThePen) {
    box.SetPenColor(0x0000FF);  // red
    box.SetOffset(QPoint(-50, 20));
    box.DrawOriginLines(0xFF0000);  // blue lines through (150, 170)
    const QImage& image = box.ScreenImage();
    EXPECT_EQ(QColor(image.pixel(150, 10)), QColor(Qt::blue));
    EXPECT_EQ(QColor(image.pixel(10, 170)), QColor(Qt::blue));
    EXPECT_EQ(QColor(image.pixel(151, 10)), kWhite);
    box.Clear(0x00FF00);
    EXPECT_EQ(QColor(box.ScreenImage().pixel(399, 299)), QColor(Qt::green));
    box.Line(WorldPoint2D(0, 0), WorldPoint2D(20, 0));  // still the red pen
    EXPECT_EQ(QColor(box.ScreenImage().pixel(160, 170)), QColor(Qt::red));
}

TEST_F(Surface2DDrawing, KeepsEndsOnTheWindowAndFollowsTheEdgeRules) {
    // Window 0..398 by 0..298 (an area of 400 x 300).
    map2d::Pixel a;
    map2d::Pixel b;
    const auto clip = [&](map2d::WidePixel p, map2d::WidePixel q) {
        return map2d::ClipSegment(p, q, kWidth, kHeight, a, b);
    };
    // x = 398 is inside, x = 399 is outside.
    ASSERT_TRUE(clip({10, 10}, {398, 10}));
    EXPECT_EQ(b, (map2d::Pixel{398, 10}));
    ASSERT_TRUE(clip({10, 10}, {399, 10}));
    EXPECT_EQ(b, (map2d::Pixel{398, 10}));

    // An inside end on the left (or top) edge is not taken as the crossing.
    ASSERT_TRUE(clip({0, 100}, {500, 100}));
    EXPECT_EQ(a, (map2d::Pixel{0, 100}));
    EXPECT_EQ(b, (map2d::Pixel{398, 100}));
    ASSERT_TRUE(clip({50, 0}, {50, 400}));
    EXPECT_EQ(b, (map2d::Pixel{50, 298}));

    // Nor on the bottom edge: from the bottom row up to beyond the right edge the piece up
    // to the right edge is drawn.
    ASSERT_TRUE(clip({300, 298}, {498, 198}));
    EXPECT_EQ(a, (map2d::Pixel{300, 298}));
    EXPECT_EQ(b, (map2d::Pixel{398, 248}));  // 248.5 truncated

    // Outside to inside: the outside end moves, an inside end on an edge is skipped.
    ASSERT_TRUE(clip({-100, 50}, {398, 50}));
    EXPECT_EQ(a, (map2d::Pixel{0, 50}));
    EXPECT_EQ(b, (map2d::Pixel{398, 50}));
    ASSERT_TRUE(clip({-100, 50}, {100, 350}));  // leaves through the bottom
    EXPECT_EQ(a, (map2d::Pixel{0, 200}));
    EXPECT_EQ(b, (map2d::Pixel{65, 298}));
    EXPECT_FALSE(clip({-100, 50}, {0, 50}));  // meets the window only in its inside end
    EXPECT_FALSE(clip({600, 50}, {398, 50}));

    // Both outside: entering on the left, leaving at the bottom.
    ASSERT_TRUE(clip({-10, 200}, {190, 400}));
    EXPECT_EQ(a, (map2d::Pixel{0, 210}));
    EXPECT_EQ(b, (map2d::Pixel{88, 298}));
    // Through a corner and on across the window.
    ASSERT_TRUE(clip({-10, -10}, {400, 400}));
    EXPECT_EQ(a, (map2d::Pixel{0, 0}));
    EXPECT_EQ(b, (map2d::Pixel{298, 298}));
    // Missing the window, or touching it in one point, draws nothing.
    EXPECT_FALSE(clip({-10, -10}, {500, -5}));
    EXPECT_FALSE(clip({500, 350}, {450, -50}));
    EXPECT_FALSE(clip({378, -20}, {418, 20}));  // only the top right corner
}

TEST_F(Surface2DDrawing, FarEndsKeepTheirDirection) {
    map2d::Pixel a;
    map2d::Pixel b;
    // Slope 1/2 from (100, 100) to a point some 10^11 pixels away.
    const std::int64_t far = std::int64_t{1} << 38;
    ASSERT_TRUE(map2d::ClipSegment({100, 100}, {100 + 2 * far, 100 + far}, kWidth, kHeight, a, b));
    EXPECT_EQ(a, (map2d::Pixel{100, 100}));
    EXPECT_EQ(b, (map2d::Pixel{398, 249}));
    // Both ends far out on opposite sides.
    ASSERT_TRUE(map2d::ClipSegment({-far, 150}, {far, 150}, kWidth, kHeight, a, b));
    EXPECT_EQ(a, (map2d::Pixel{0, 150}));
    EXPECT_EQ(b, (map2d::Pixel{398, 150}));
}

TEST_F(Surface2DDrawing, LineDrawsOnlyTheVisiblePiece) {
    box.SetScale(1e6);  // the far end lies some 10^11 pixels away
    box.Line(WorldPoint2D(0, 0), WorldPoint2D(1e5, 0.5e5));
    const QImage& image = box.ScreenImage();
    EXPECT_TRUE(IsPainted(image, 300, 100));
    EXPECT_TRUE(IsPainted(image, 396, 52));
    EXPECT_FALSE(IsPainted(image, 399, 50));
    EXPECT_FALSE(IsPainted(image, 100, 200));
}

TEST_F(Surface2DDrawing, PolyLinesDrawTheirCountOfPoints) {
    const WorldPoint2D points[4] = {WorldPoint2D(-100, 0), WorldPoint2D(0, 0), WorldPoint2D(0, 100),
                                    WorldPoint2D(100, 100)};
    QPoint buffer[5];
    buffer[3] = QPoint(-7, -7);
    box.Polyline(points, 3, buffer);
    EXPECT_EQ(buffer[0], QPoint(100, 150));
    EXPECT_EQ(buffer[2], QPoint(200, 50));
    EXPECT_EQ(buffer[3], QPoint(-7, -7));
    const QImage& image = box.ScreenImage();
    EXPECT_TRUE(IsPainted(image, 150, 150));
    EXPECT_TRUE(IsPainted(image, 200, 100));
    EXPECT_FALSE(IsPainted(image, 250, 50));

    box.Clear(0xFFFFFF);
    box.Polyline(points, 4, nullptr);
    EXPECT_TRUE(IsPainted(box.ScreenImage(), 250, 50));

    box.Clear(0xFFFFFF);
    const QPoint pixels[3] = {QPoint(10, 10), QPoint(60, 10), QPoint(60, 60)};
    box.PolylinePixels(pixels, 1);
    EXPECT_TRUE(IsPainted(box.ScreenImage(), 30, 10));
    EXPECT_FALSE(IsPainted(box.ScreenImage(), 60, 30));
    box.PolylinePixels(pixels, 2);
    EXPECT_TRUE(IsPainted(box.ScreenImage(), 60, 30));
}

TEST_F(Surface2DDrawing, RubberBandOutlineIsRemovedAndZooms) {
    EnableBandZoom();
    QSignalSpy downs(&box, &Surface2D::mousePressed);
    QSignalSpy moves(&box, &Surface2D::mouseMoved);
    QSignalSpy ups(&box, &Surface2D::mouseReleased);
    const QImage before = box.ScreenImage().copy();
    box.BeginBand(Qt::RightButton, 50, 50);
    box.DragBand(Qt::RightButton, 100, 80);
    box.DragBand(Qt::RightButton, 150, 120);
    ASSERT_TRUE(box.BandActive());
    const QImage& image = box.ScreenImage();
    EXPECT_TRUE(IsPainted(image, 100, 50));   // top side of the band
    EXPECT_TRUE(IsPainted(image, 150, 100));  // right side
    EXPECT_FALSE(IsPainted(image, 75, 80));   // the first outline is gone
    box.EndBand(150, 120);
    EXPECT_FALSE(box.BandActive());
    EXPECT_EQ(box.ScreenImage(), before);
    // 400 / 100 = 4; the band's corner (50, 50) is world (-150, 100) and goes to (0, 0).
    EXPECT_DOUBLE_EQ(box.Scale(), 4.0);
    EXPECT_EQ(box.GetOrigin(), QPoint(600, 400));
    // The steps themselves raise no notifications.
    EXPECT_EQ(downs.count() + moves.count() + ups.count(), 0);
}

TEST_F(Surface2DDrawing, BandIsDroppedWithoutItsButtonAndIgnoredWhenBandZoomIsOff) {
    EnableBandZoom();
    const QImage before = box.ScreenImage().copy();
    box.BeginBand(Qt::RightButton, 50, 50);
    box.DragBand(Qt::RightButton, 120, 90);
    box.DragBand(Qt::NoButton, 130, 95);  // the button is no longer held
    EXPECT_FALSE(box.BandActive());
    EXPECT_EQ(box.ScreenImage(), before);
    box.EndBand(130, 95);
    EXPECT_DOUBLE_EQ(box.Scale(), 1.0);

    // A middle-button band follows the mouse like the others and leaves nothing behind.
    box.SetBandButton(Qt::MiddleButton);
    box.BeginBand(Qt::MiddleButton, 50, 50);
    for (int step = 1; step <= 3; ++step)
        box.DragBand(Qt::MiddleButton, 50 + 20 * step, 60 + step);
    box.EndBand(110, 63);
    EXPECT_EQ(box.ScreenImage(), before);
    EXPECT_GT(box.Scale(), 1.0);

    box.ResetView();
    box.SetBandZoomEnabled(false);
    box.SetBandButton(Qt::RightButton);
    box.BeginBand(Qt::RightButton, 50, 50);
    box.DragBand(Qt::RightButton, 150, 120);
    box.EndBand(150, 120);
    EXPECT_FALSE(box.BandActive());
    EXPECT_DOUBLE_EQ(box.Scale(), 1.0);
    EXPECT_EQ(box.ScreenImage(), before);
}

TEST_F(Surface2DDrawing, RightClickRecentresOnTheClickedPoint) {
    EnableBandZoom();
    QSignalSpy downs(&box, &Surface2D::mousePressed);
    QSignalSpy ups(&box, &Surface2D::mouseReleased);
    box.SetScale(2.0);
    QTest::mouseClick(&box, Qt::RightButton, {}, QPoint(250, 100));
    EXPECT_EQ(downs.count(), 1);
    EXPECT_EQ(ups.count(), 1);
    EXPECT_DOUBLE_EQ(box.Scale(), 2.0);
    EXPECT_EQ(box.GetOrigin(), QPoint(150, 200));
    WorldPoint2D centre;
    box.PixelToWorld(QPoint(200, 150), &centre);
    EXPECT_DOUBLE_EQ(centre.x, 25.0);
    EXPECT_DOUBLE_EQ(centre.y, 25.0);

    // A click on the origin pixel itself changes nothing.
    box.SetOffset(QPoint(5, 5));
    QTest::mouseClick(&box, Qt::RightButton, {}, QPoint(155, 205));
    EXPECT_EQ(box.GetOrigin(), QPoint(150, 200));
    EXPECT_EQ(box.GetOffset(), QPoint(5, 5));

    // Moving between press and release makes it a band instead.
    QTest::mousePress(&box, Qt::RightButton, {}, QPoint(250, 100));
    EXPECT_EQ(box.CurrentClickMode(), Surface2D::ClickMode::Right);
    QMouseEvent move(QEvent::MouseMove, QPointF(300, 140), QPointF(300, 140), Qt::NoButton,
                     Qt::RightButton, Qt::NoModifier);
    QApplication::sendEvent(&box, &move);
    EXPECT_EQ(box.CurrentClickMode(), Surface2D::ClickMode::None);
    QTest::mouseRelease(&box, Qt::RightButton, {}, QPoint(300, 140));
    EXPECT_DOUBLE_EQ(box.Scale(), 16.0);  // 400 / 50 = 8 times 2
}

}  // namespace
}  // namespace cuttrace
