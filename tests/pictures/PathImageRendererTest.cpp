// Off-screen path pictures: option values, fitting the path, drawing and saving.
#include <gtest/gtest.h>

#include <QImage>
#include <QTemporaryDir>

#include <string>

#include "pictures/PathImageRenderer.h"

namespace cuttrace {
namespace {

class PathImageRendererTest : public ::testing::Test {
  protected:
    std::string Path(const char* name) const { return dir.filePath(name).toStdString(); }
    QTemporaryDir dir;
};

TEST_F(PathImageRendererTest, OptionValuesAreCheckedWhole) {
    ImageOptions options;
    std::string error;
    EXPECT_TRUE(ParseImageSize("640x480", &options, &error));
    EXPECT_EQ(options.width, 640);
    EXPECT_EQ(options.height, 480);
    for (const char* bad : {"0x5", "12", "x5", "5x", "1e3x5", "99999x5", "-4x4", "4x4x4", ""}) {
        EXPECT_FALSE(ParseImageSize(bad, &options, &error)) << bad;
        EXPECT_NE(error.find("--size"), std::string::npos);
    }
    EXPECT_EQ(options.width, 640);
    EXPECT_TRUE(ParseImageView("4", &options, &error));
    EXPECT_EQ(options.view, ViewPreset::Oblique2);
    for (const char* bad : {"5", "-1", "a", "1.0", ""}) {
        EXPECT_FALSE(ParseImageView(bad, &options, &error)) << bad;
    }
    EXPECT_TRUE(ParseImageScale("2.5", &options, &error));
    EXPECT_TRUE(options.hasScale);
    EXPECT_EQ(options.scale, 2.5);
    for (const char* bad : {"0", "-1", "abc", "1e6", "nan", "2.5mm", ""}) {
        EXPECT_FALSE(ParseImageScale(bad, &options, &error)) << bad;
    }
    EXPECT_EQ(options.scale, 2.5);
}

TEST_F(PathImageRendererTest, FitCentresTheTurnedPathWithAMargin) {
    PathBounds bounds(Point3{0, 0, 0});
    bounds.DrawLine(Point3{0, 0, 5}, Point3{100, 50, -5});
    Projection3D view;
    FitViewToBounds(bounds, 800, 600, &view);
    // 30 pixels all round: 738 / 100 across, 538 / 50 down; the width decides.
    EXPECT_DOUBLE_EQ(view.Scale(), 7.38);
    EXPECT_EQ(view.ToPixel(Point3{50, 25, 0}), (PixelPoint{400, 300}));
    EXPECT_EQ(view.ToPixel(Point3{0, 0, 0}).x, 31);
    EXPECT_EQ(view.ToPixel(Point3{100, 0, 0}).x, 769);

    // From the side the same path is 100 wide and 10 high (its z).
    PathBounds side(Point3{-90, 0, 0});
    side.DrawLine(Point3{0, 0, 5}, Point3{100, 50, -5});
    EXPECT_NEAR(side.MaxY() - side.MinY(), 10.0, 1e-9);
}

TEST_F(PathImageRendererTest, FitOfNothingOrAPointIsTheCentredPlacement) {
    Projection3D view;
    view.SetRotation(Point3{-90, 0, 0});
    FitViewToBounds(PathBounds(Point3{}), 400, 300, &view);
    EXPECT_EQ(view.Scale(), 1.0);
    EXPECT_EQ(view.Origin(), (PixelPoint{200, 150}));
    EXPECT_EQ(view.Rotation(), (Point3{-90, 0, 0}));
    PathBounds point(Point3{});
    point.DrawMoveTo(Point3{7, 7, 7});
    Projection3D top;
    FitViewToBounds(point, 400, 300, &top);
    EXPECT_EQ(top.Scale(), 1.0);
    EXPECT_EQ(top.ToPixel(Point3{7, 7, 7}), (PixelPoint{200, 150}));
}

TEST_F(PathImageRendererTest, TinyPathFarAwayStaysOnThePicture) {
    PathBounds bounds(Point3{});
    bounds.DrawLine(Point3{1e7, 0, 0}, Point3{1e7 + 0.001, 0.001, 0});
    Projection3D view;
    FitViewToBounds(bounds, 400, 300, &view);
    const PixelPoint p = view.ToPixel(Point3{1e7, 0, 0});
    EXPECT_NEAR(p.x, 200, 2);
    EXPECT_NEAR(p.y, 150, 2);
}

TEST_F(PathImageRendererTest, GivenScaleKeepsTheOriginAtTheCentre) {
    ImageOptions options;
    options.width = 200;
    options.height = 100;
    options.hasScale = true;
    options.scale = 2.0;
    double originScale = 0;
    int pathPasses = 0;
    auto origin = [&](PathViews& views, double scale) {
        originScale = scale;
        views.SetColor(0xFF00FF);
        views.DrawMoveTo(Point3{0, 0, 0});
        views.DrawLineTo(Point3{0, 5, 0});
    };
    auto path = [&](PathViews& views) {
        ++pathPasses;
        views.SetColor(0x0000FF);
        views.DrawLine(Point3{-10, -10, 0}, Point3{10, -10, 0});
        views.LineToShowingTool(Point3{10, 10, 0});
    };
    std::string error;
    ASSERT_TRUE(RenderPathImage(options, origin, path, Path("a.png"), &error)) << error;
    EXPECT_EQ(originScale, 2.0);
    EXPECT_EQ(pathPasses, 1);
    const QImage image(QString::fromStdString(Path("a.png")));
    ASSERT_EQ(image.size(), QSize(200, 100));
    EXPECT_EQ(image.pixel(100, 45), qRgb(255, 0, 255));  // origin mark, 10 pixels up
    EXPECT_EQ(image.pixel(110, 70), qRgb(255, 0, 0));    // the line at y -10, scale 2
    EXPECT_EQ(image.pixel(120, 60), qRgb(255, 0, 0));    // on from its end (10, -10)...
    EXPECT_EQ(image.pixel(120, 30), qRgb(255, 0, 0));    // ...to (10, 10)
    EXPECT_EQ(image.pixel(5, 5), qRgb(255, 255, 255));
}

TEST_F(PathImageRendererTest, WithoutScaleThePathIsMeasuredThenFitted) {
    ImageOptions options;
    options.width = 400;
    options.height = 300;
    options.view = ViewPreset::Front;
    int pathPasses = 0;
    auto path = [&](PathViews& views) {
        ++pathPasses;
        views.DrawLine(Point3{500, 0, 0}, Point3{600, 0, 100});
    };
    std::string error;
    ASSERT_TRUE(RenderPathImage(options, nullptr, path, Path("b.png"), &error)) << error;
    EXPECT_EQ(pathPasses, 2);
    const QImage image(QString::fromStdString(Path("b.png")));
    // 100 x 100 (x and z) in 398 x 298 pixels less 15 all round: scale 2.68, centred.
    EXPECT_EQ(image.pixel(200, 150), qRgb(0, 0, 0));
    EXPECT_EQ(image.pixel(66, 284), qRgb(0, 0, 0));
    EXPECT_EQ(image.pixel(69, 281), qRgb(0, 0, 0));
    EXPECT_EQ(image.pixel(60, 290), qRgb(255, 255, 255));
}

TEST_F(PathImageRendererTest, FailuresAreReported) {
    std::string error;
    ImageOptions options;
    EXPECT_FALSE(RenderPathImage(options, nullptr, nullptr, "/nonexistent-dir/x.png", &error));
    EXPECT_NE(error.find("cannot write"), std::string::npos);
    options.width = 0;
    EXPECT_FALSE(RenderPathImage(options, nullptr, nullptr, Path("c.png"), &error));
}

}  // namespace
}  // namespace cuttrace
