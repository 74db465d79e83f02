// The cutter picture a view stamps at the tool position.
#include <gtest/gtest.h>

#include "ui/ToolPicture.h"

namespace cuttrace::ui {
namespace {

constexpr QRgb kGrey = 0xFFC0C0C0;
constexpr QRgb kWhite = 0xFFFFFFFF;

TEST(ToolPictureTest, TopViewIsAGreyDiscAroundTheHotSpot) {
    ToolPicture tool(5.0);
    tool.Build(Point3{0, 0, 0}, 2.0);
    const QImage& picture = tool.Picture();
    EXPECT_EQ(picture.size(), QSize(22, 22));  // 2 r s + 2
    EXPECT_EQ(tool.HotSpot(), (PixelPoint{11, 11}));
    EXPECT_EQ(picture.pixel(10, 10), kGrey);
    EXPECT_EQ(picture.pixel(10, 0), kGrey);   // the disc spans 20 pixels from the left
    EXPECT_EQ(picture.pixel(19, 10), kGrey);  // and top corner
    EXPECT_EQ(picture.pixel(20, 10), kWhite);
    EXPECT_EQ(picture.pixel(0, 0), kWhite);
}

TEST(ToolPictureTest, SideViewIsShadedLinesBelowTheTip) {
    ToolPicture tool(15.0);
    tool.Build(Point3{-90, 0, 0}, 1.0);
    const QImage& picture = tool.Picture();
    EXPECT_EQ(picture.size(), QSize(35, 35));  // max(30, 20) + 5
    EXPECT_EQ(tool.HotSpot(), (PixelPoint{17, 0}));
    // The first line runs from the bottom circle's +X point (x 17 + 15) down 20 rows.
    EXPECT_EQ(picture.pixel(32, 10), qRgb(0x11, 0x11, 0x11));
    EXPECT_EQ(picture.pixel(17, 25), kWhite);  // nothing below the cutter's length
    EXPECT_NE(picture.pixel(17, 10), kWhite);
}

TEST(ToolPictureTest, HugeScalesStayWithinTheLargestPicture) {
    ToolPicture side(2.0);
    side.Build(Point3{-90, 0, 0}, 100000.0);
    EXPECT_EQ(side.Picture().width(), ToolPicture::kMaxSide);
    EXPECT_EQ(side.HotSpot().x, ToolPicture::kMaxSide / 2);
    ToolPicture top(2.0);
    top.Build(Point3{0, 0, 0}, 3000.0);
    EXPECT_EQ(top.Picture().width(), ToolPicture::kMaxSide);
    // The middle of the huge disc: grey all over.
    EXPECT_EQ(top.Picture().pixel(0, 0), kGrey);
    EXPECT_EQ(top.Picture().pixel(top.HotSpot().x, top.HotSpot().y), kGrey);
}

}  // namespace
}  // namespace cuttrace::ui
