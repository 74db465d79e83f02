// Pixels, off-screen drawing and copying of the 3D surface's canvases.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <vector>

#include "surfaces/Canvas3D.h"
#include "surfaces/Surface3D.h"

namespace cuttrace {
namespace {

constexpr QRgb kWhiteRgb = 0xFFFFFFFF;

int CountPixels(const QImage& image, QRgb color) {
    int n = 0;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x)
            n += image.pixel(x, y) == color ? 1 : 0;
    }
    return n;
}

TEST(Surface3DCanvas, LinesLightBothEndsAndConvertColors) {
    Canvas3D canvas(20, 20);
    canvas.SetPenColor(0x0000FF);  // red, 0x00BBGGRR
    canvas.MoveTo({2, 3});
    canvas.LineTo({12, 8});
    EXPECT_EQ(canvas.Image().pixel(2, 3), qRgb(255, 0, 0));
    EXPECT_EQ(canvas.Image().pixel(12, 8), qRgb(255, 0, 0));
    EXPECT_EQ(CountPixels(canvas.Image(), qRgb(255, 0, 0)), 11);
    EXPECT_EQ(canvas.PenPos(), (PixelPoint{12, 8}));
    EXPECT_EQ(Canvas3D::BgrFromQRgb(Canvas3D::QRgbFromBgr(0x123456)), 0x123456u);
}

TEST(Surface3DCanvas, FarEndsLightExactlyThePixelsOfTheWholeLine) {
    // The same lines drawn into a small image and, shifted, into a large one that holds
    // them whole: the small image must show exactly the matching part of the large one.
    const int shift = 1500;
    const PixelPoint lines[][2] = {
        {{-1000, -333}, {1200, 700}}, {{45, -1400}, {-20, 1390}}, {{1400, 10}, {-1400, 33}},
        {{-7, 5}, {60, 5}},           {{25, 500}, {26, -500}},    {{-900, 900}, {900, -900}},
    };
    for (const auto& line : lines) {
        Canvas3D small(50, 40);
        Canvas3D large(3000, 3000);
        small.MoveTo(line[0]);
        small.LineTo(line[1]);
        large.MoveTo({line[0].x + shift, line[0].y + shift});
        large.LineTo({line[1].x + shift, line[1].y + shift});
        const QImage expected = large.Image().copy(shift, shift, 50, 40);
        EXPECT_EQ(small.Image(), expected) << line[0].x << "," << line[0].y;
    }
}

TEST(Surface3DCanvas, ShortLinesLightTheNearestPixelOfEveryStep) {
    // Every line of up to 9 steps in every direction, against the rule: at step i of n along
    // the major axis the minor coordinate moves floor((2 i m + n) / 2n) of its m steps.
    const PixelPoint start{10, 12};
    for (int dx = -9; dx <= 9; ++dx) {
        for (int dy = -9; dy <= 9; ++dy) {
            Canvas3D canvas(21, 24);
            canvas.MoveTo(start);
            canvas.LineTo({start.x + dx, start.y + dy});
            QImage expected(21, 24, QImage::Format_RGB32);
            expected.fill(Qt::white);
            const bool xMajor = std::abs(dx) >= std::abs(dy);
            const int n = std::max(std::abs(dx), std::abs(dy));
            const int m = std::min(std::abs(dx), std::abs(dy));
            const int majorSign = (xMajor ? dx : dy) < 0 ? -1 : 1;
            const int minorSign = (xMajor ? dy : dx) < 0 ? -1 : 1;
            for (int i = 0; i <= n; ++i) {
                const int minor = n == 0 ? 0 : minorSign * ((2 * i * m + n) / (2 * n));
                const int major = majorSign * i;
                expected.setPixel(start.x + (xMajor ? major : minor),
                                  start.y + (xMajor ? minor : major), qRgb(0, 0, 0));
            }
            EXPECT_EQ(canvas.Image(), expected) << dx << "," << dy;
        }
    }
}

TEST(Surface3DCanvas, ALineStartsInThePenColorWhateverHappenedAfterTheLastLine) {
    // A path's lines share their ends; a line's start must still show the pen color after
    // anything that changed that pixel, the color or the pen position in between.
    const QRgb red = qRgb(255, 0, 0);
    const QRgb blue = qRgb(0, 0, 255);
    Canvas3D canvas(20, 20);
    canvas.SetPenColor(0x0000FF);
    canvas.MoveTo({2, 2});
    canvas.LineTo({5, 5});
    canvas.Fill(0xFFFFFF);
    canvas.LineTo({6, 5});
    EXPECT_EQ(canvas.Image().pixel(5, 5), red);  // after a clear

    canvas.SetPenColor(0xFF0000);
    canvas.LineTo({7, 5});
    EXPECT_EQ(canvas.Image().pixel(6, 5), blue);  // after a new color

    const PixelPoint across[2] = {{7, 0}, {7, 19}};
    canvas.NotXorPolyline(across, 2);  // inverts (7, 5)
    canvas.LineTo({8, 5});
    EXPECT_EQ(canvas.Image().pixel(7, 5), blue);  // after a not-xor outline

    canvas.SetPenColor(0x0000FF);
    canvas.MoveTo({10, 10});
    canvas.LineTo({10, 10});
    canvas.MoveTo({8, 5});  // where the blue line ended
    canvas.LineTo({9, 5});
    EXPECT_EQ(canvas.Image().pixel(8, 5), red);  // after a pen move
}

TEST(Surface3DCanvas, LimitLengthLinesCostOnlyTheirVisiblePart) {
    Canvas3D canvas(64, 48);
    canvas.MoveTo({-kPixelLimit, -kPixelLimit});
    canvas.LineTo({kPixelLimit, kPixelLimit});
    for (int i = 0; i < 48; ++i)
        EXPECT_EQ(canvas.Image().pixel(i, i), qRgb(0, 0, 0));
    EXPECT_EQ(CountPixels(canvas.Image(), qRgb(0, 0, 0)), 48);
}

TEST(Surface3DCanvas, NotXorOutlineDrawnTwiceRestoresTheImage) {
    Canvas3D canvas(40, 30);
    canvas.SetPenColor(0x0000FF);
    canvas.MoveTo({0, 0});
    canvas.LineTo({39, 29});
    const QImage before = canvas.Image().copy();
    canvas.SetPenColor(0x000000);
    const PixelPoint outline[5] = {{5, 5}, {30, 5}, {30, 20}, {5, 20}, {5, 5}};
    canvas.NotXorPolyline(outline, 5);
    EXPECT_EQ(canvas.Image().pixel(5, 5), qRgb(0, 0, 0));  // white inverted by black
    EXPECT_EQ(canvas.Image().pixel(30, 20), qRgb(0, 0, 0));
    EXPECT_EQ(CountPixels(canvas.Image(), qRgb(0, 0, 0)), 2 * (25 + 15) - 2);  // 2 on the red line
    canvas.NotXorPolyline(outline, 5);
    EXPECT_EQ(canvas.Image(), before);
}

TEST(Surface3DCanvas, FilledFiguresUsePenAndBrush) {
    Canvas3D canvas(40, 40);
    canvas.SetPenColor(0x000000);
    canvas.SetBrushColor(0xFF0000);  // blue
    canvas.Ellipse(10, 10, 21, 21);
    EXPECT_EQ(canvas.Image().pixel(15, 15), qRgb(0, 0, 255));
    EXPECT_EQ(canvas.Image().pixel(15, 10), qRgb(0, 0, 0));
    EXPECT_EQ(canvas.Image().pixel(15, 21), kWhiteRgb);
    const PixelPoint triangle[3] = {{0, 39}, {39, 39}, {39, 0}};
    canvas.Polygon(triangle, 3);
    EXPECT_EQ(canvas.Image().pixel(35, 35), qRgb(0, 0, 255));
    EXPECT_EQ(canvas.Image().pixel(2, 2), kWhiteRgb);
}

TEST(Surface3DCanvas, BufferedDrawingShowsOnlyAfterPresent) {
    Surface3D box;
    box.resize(60, 50);
    box.ResetView();
    box.SetPenColor(0x0000FF);  // belongs to the screen canvas: not carried over
    box.SetBuffered(true);
    ASSERT_NE(box.OffscreenCanvas(), nullptr);
    EXPECT_EQ(box.TargetCanvas().PenColor(), 0x000000u);
    EXPECT_EQ(box.TargetCanvas().BrushColor(), 0xFFFFFFu);
    box.Clear(0xFFFFFF);
    box.MoveTo(Point3{-10, 0, 0});
    box.LineTo(Point3{10, 0, 0});
    EXPECT_EQ(CountPixels(box.ScreenImage(), qRgb(0, 0, 0)), 0);
    box.Present();
    EXPECT_EQ(box.ScreenImage(), box.OffscreenCanvas()->Image());
    EXPECT_EQ(CountPixels(box.ScreenImage(), qRgb(0, 0, 0)), 21);

    box.SetBuffered(false);
    EXPECT_EQ(box.OffscreenCanvas(), nullptr);
    EXPECT_EQ(box.TargetCanvas().PenColor(), 0x0000FFu);
    box.Present();  // nothing to copy
    box.LineTo(Point3{10, 10, 0});
    EXPECT_EQ(box.ScreenImage().pixel(40, 15), qRgb(255, 0, 0));
}

TEST(Surface3DCanvas, BitmapFollowsTheSurfaceSize) {
    Surface3D box;
    box.resize(60, 50);
    box.SetBuffered(true);
    box.resize(80, 70);
    box.Clear(0xFFFFFF);
    EXPECT_EQ(box.OffscreenCanvas()->Image().size(), QSize(80, 70));
    box.Present();
    EXPECT_EQ(box.ScreenImage().size(), QSize(80, 70));
}

TEST(Surface3DCanvas, SurfaceNotShownTakesItsNewSizeWhenADrawingBegins) {
    Surface3D box;
    box.resize(60, 50);
    box.SetBuffered(true);
    box.resize(90, 70);  // no resize event while the surface is not shown
    box.ResetView();     // origin (45, 35)
    box.MoveTo(Point3{0, 0, 0});
    EXPECT_EQ(box.OffscreenCanvas()->Image().size(), QSize(90, 70));
    box.Line(Point3{0, 0, 0}, Point3{1000, 0, 0});  // clipped at the new width
    EXPECT_EQ(box.TargetCanvas().PenPos(), (PixelPoint{88, 35}));
}

TEST(Surface3DCanvas, PolylineAndPolygonWithOnePoint) {
    Surface3D box;
    box.resize(60, 50);
    box.ResetView();
    box.SetBuffered(true);
    const Point3 one[1] = {Point3{1, 1, 0}};
    box.Polyline(one, 0);
    EXPECT_EQ(box.OffscreenCanvas()->Image().pixel(31, 24), qRgb(0, 0, 0));
    const Point3 square[4] = {Point3{-10, -10, 0}, Point3{10, -10, 0}, Point3{10, 10, 0},
                              Point3{-10, 10, 0}};
    box.SetBrushColor(0x00FF00);
    box.Polygon(square, 3);
    EXPECT_EQ(box.OffscreenCanvas()->Image().pixel(25, 20), qRgb(0, 255, 0));
    box.DrawDot(Point3{0, 0, 0}, 3);
    EXPECT_EQ(box.OffscreenCanvas()->Image().pixel(30, 25), qRgb(0, 255, 0));
    EXPECT_EQ(box.OffscreenCanvas()->Image().pixel(30, 22), qRgb(0, 0, 0));
}

// Lines drawn backwards are laid on the image's own pixels, also when a figure painted or a
// resize in between gave the image new ones (another size: the lines after it are dropped).
TEST(Surface3DCanvas, BackwardsLinesFollowTheImagesPixels) {
    const QRgb red = qRgb(255, 0, 0), blue = qRgb(0, 0, 255);
    Canvas3D canvas(20, 20);
    canvas.BeginBackwards();
    canvas.SetPenColor(0x0000FF);
    canvas.Segment({0, 5}, {19, 5});
    canvas.LayKept();
    canvas.SetBrushColor(0xFF0000);
    canvas.Ellipse(10, 10, 16, 16);  // painted at once
    canvas.SetPenColor(0xFF0000);
    canvas.Segment({0, 5}, {19, 5});  // under the red line
    canvas.Segment({0, 7}, {19, 7});
    canvas.LayKept();
    canvas.Resize(30, 30);
    canvas.Segment({0, 9}, {19, 9});
    canvas.LayKept();
    canvas.EndBackwards();
    for (int x = 0; x < 20; ++x)
        EXPECT_EQ(canvas.Image().pixel(x, 5), red) << x;
    EXPECT_EQ(canvas.Image().pixel(3, 7), blue);
    EXPECT_EQ(canvas.Image().pixel(3, 9), kWhiteRgb);
    EXPECT_EQ(canvas.Image().pixel(13, 13), blue);
}

}  // namespace
}  // namespace cuttrace
