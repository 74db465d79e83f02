// The view frame: presets, sliders, drag rotation, zoom buttons and the cutter picture.
#include <gtest/gtest.h>

#include <QApplication>
#include <QSlider>
#include <QTest>
#include <QToolButton>

#include <memory>

#include "core/Settings.h"
#include "ui/ToolPicture.h"
#include "ui/UiTexts.h"
#include "ui/ViewPane.h"

namespace cuttrace::ui {
namespace {

constexpr QRgb kGrey = 0xFFC0C0C0;
constexpr QRgb kWhite = 0xFFFFFFFF;

class TFrameViewTest : public ::testing::Test {
  protected:
    void SetUp() override {
        settings.cutterDiameter = 5.0;  // a cutter picture of 10 pixels at scale 1
        view = std::make_unique<ViewPane>(settings);
        view->resize(600, 450);
        view->PaintBox1()->Handlers().OnPaint = [this](QObject* sender) {
            ++repaints;
            lastSender = sender;
        };
    }

    void Show() {
        view->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(view.get()));
        QApplication::processEvents();
        repaints = 0;
    }

    Settings settings;
    std::unique_ptr<ViewPane> view;
    int repaints = 0;
    QObject* lastSender = nullptr;
};

TEST_F(TFrameViewTest, StartsWithCachedDrawingAndViewLayout) {
    ScrollableSurface3D* panel = view->PaintBox1();
    EXPECT_TRUE(panel->GetCashDraw());
    EXPECT_EQ(panel->GetXMin(), -1000);
    EXPECT_EQ(panel->GetYMax(), 1000);
    EXPECT_EQ(panel->GetXPos(), 0);
    EXPECT_DOUBLE_EQ(panel->GetScallLenge(), 1.3);
    EXPECT_EQ(view->Scale(), 1.0);
    EXPECT_EQ(view->TrackBar4()->minimum(), 1);
    EXPECT_EQ(view->TrackBar4()->maximum(), 200);
    EXPECT_EQ(view->TrackBar1()->minimum(), -90);
    EXPECT_EQ(view->tbnZUp()->toolTip(), QString::fromUtf8(kHintZoomUp));
    EXPECT_EQ(view->PresetButton(4)->toolTip(), QString::fromUtf8(kHintViewOdd));
}

TEST_F(TFrameViewTest, PresetButtonsTurnTheViewAndRepaintTwice) {
    view->PresetButton(1)->click();
    EXPECT_EQ(view->Rotation(), (Point3{-90, 0, 0}));
    EXPECT_EQ(view->GetAfine(), (Point3{-90, 0, 0}));
    EXPECT_EQ(repaints, 2);
    EXPECT_EQ(lastSender, view.get());
    view->PresetButton(4)->click();
    EXPECT_EQ(view->GetAfine(), (Point3{-60, -30, -16}));
    EXPECT_EQ(view->Tool().Rotation(), (Point3{-60, -30, -16}));
    view->PresetButtonClick(nullptr);  // any other sender: the top view
    EXPECT_EQ(view->GetAfine(), (Point3{0, 0, 0}));
    view->ApplyViewPreset(7);  // unknown preset: rotation kept, still repaints
    EXPECT_EQ(view->GetAfine(), (Point3{0, 0, 0}));
}

TEST_F(TFrameViewTest, SlidersSetScaleAndRotationWithoutNewCutterPicture) {
    view->TrackBar4()->setValue(20);
    EXPECT_DOUBLE_EQ(view->Scale(), 1.0);
    view->TrackBar4()->setValue(1);
    EXPECT_DOUBLE_EQ(view->Scale(), 0.05);
    EXPECT_DOUBLE_EQ(view->GetScall(), 0.05);
    view->TrackBar3()->setValue(30);
    view->TrackBar2()->setValue(-20);
    view->TrackBar1()->setValue(10);
    EXPECT_EQ(view->GetAfine(), (Point3{30, -20, 10}));
    EXPECT_EQ(repaints, 5);
    EXPECT_EQ(view->Tool().Scale(), 1.0);
    EXPECT_EQ(view->Tool().Rotation(), (Point3{0, 0, 0}));
}

TEST_F(TFrameViewTest, LeftDragTurnsByHalfTheMoveWithinFifteenDegrees) {
    view->PaintBox1MouseMove(nullptr, Qt::LeftButton, 100, 100);  // only records
    EXPECT_EQ(view->Rotation(), (Point3{0, 0, 0}));
    EXPECT_EQ(repaints, 0);
    view->PaintBox1MouseMove(nullptr, Qt::LeftButton, 140, 100);
    EXPECT_EQ(view->Rotation(), (Point3{0, 15, 0}));  // 40 / 2 = 20, limited
    view->PaintBox1MouseMove(nullptr, Qt::LeftButton, 141, 100);
    EXPECT_EQ(view->Rotation(), (Point3{0, 15, 0}));
    EXPECT_EQ(repaints, 1);  // the one-pixel move changed nothing
    view->PaintBox1MouseMove(nullptr, Qt::LeftButton, 141, 110);
    EXPECT_EQ(view->Rotation(), (Point3{-5, 15, 0}));
    view->PaintBox1MouseMove(nullptr, Qt::LeftButton, 138, 107);  // -3 / 2 truncates to -1
    EXPECT_EQ(view->Rotation(), (Point3{-4, 14, 0}));
    EXPECT_EQ(view->GetAfine(), view->Rotation());
    view->PaintBox1MouseMove(nullptr, Qt::NoButton, 300, 300);  // the drag ends
    view->PaintBox1MouseMove(nullptr, Qt::LeftButton, 0, 0);
    EXPECT_EQ(view->Rotation(), (Point3{-4, 14, 0}));
}

TEST_F(TFrameViewTest, MouseDragOnTheSurfaceTurnsTheView) {
    Show();
    Surface3D* box = view->PaintBox1()->DrawBox3D1();
    for (int x : {50, 70}) {
        QMouseEvent move(QEvent::MouseMove, QPointF(x, 50), box->mapToGlobal(QPointF(x, 50)),
                         Qt::NoButton, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(box, &move);
    }
    EXPECT_EQ(view->Rotation(), (Point3{0, 10, 0}));
    EXPECT_EQ(repaints, 1);
}

TEST_F(TFrameViewTest, ZoomButtonsRebuildTheCutterPicture) {
    view->ResetView();
    view->tbnZUp()->click();
    EXPECT_DOUBLE_EQ(view->GetScall(), 1.3);
    EXPECT_DOUBLE_EQ(view->Tool().Scale(), 1.3);
    view->tbnZDown()->click();
    view->tbnZDown()->click();
    EXPECT_DOUBLE_EQ(view->GetScall(), 1.0 / 1.3);
    view->tbnInit()->click();
    EXPECT_DOUBLE_EQ(view->GetScall(), 1.0);
    EXPECT_EQ(repaints, 4);
    view->tbnReDraw()->click();
    EXPECT_EQ(repaints, 5);
}

TEST_F(TFrameViewTest, ResetViewGivesThePanelTheViewsRotationAndScale) {
    view->TrackBar4()->setValue(40);  // scale 2
    view->PaintBox1()->Zoomup();
    view->ApplyViewPreset(1);
    view->ResetView();
    EXPECT_DOUBLE_EQ(view->GetScall(), 2.0);
    EXPECT_EQ(view->GetAfine(), (Point3{-90, 0, 0}));
    Surface3D* box = view->PaintBox1()->DrawBox3D1();
    EXPECT_EQ(box->GetOrigin(), (PixelPoint{box->width() / 2, box->height() / 2}));
    EXPECT_DOUBLE_EQ(view->Tool().Scale(), 2.0);
}

TEST_F(TFrameViewTest, DrawToolToStampsTheCutterOnTheVisibleImageOnly) {
    Show();
    view->ResetView();
    Surface3D* box = view->PaintBox1()->DrawBox3D1();
    view->PaintBox1()->Cls(0xFFFFFF);
    box->Bilt();
    view->DrawColor(0x0000FF);
    view->DrawMoveTo(Point3{-30, 0, 0});
    view->DrawToolTo(Point3{0, 0, 0});
    const PixelPoint at = box->Gposi(Point3{0, 0, 0});
    // The line goes to the off-screen drawing; the disc (top view) to the screen.
    EXPECT_EQ(box->CacheBitmap()->Image().pixel(at.x - 10, at.y), qRgb(255, 0, 0));
    EXPECT_EQ(box->ScreenImage().pixel(at.x, at.y), kGrey);
    EXPECT_EQ(box->ScreenImage().pixel(at.x - 10, at.y), kWhite);
    box->Bilt();
    EXPECT_EQ(box->ScreenImage().pixel(at.x, at.y), qRgb(255, 0, 0));

    settings.showCutter = false;
    view->DrawToolTo(Point3{10, 0, 0});
    EXPECT_EQ(box->ScreenImage().pixel(at.x + 10, at.y), kWhite);
}

TEST(ToolPicture, TopViewIsAGreyDiscAroundTheHotSpot) {
    ToolPicture tool(5.0);
    tool.BuildToolPicture(Point3{0, 0, 0}, 2.0);
    EXPECT_EQ(tool.Width(), 22);  // 2 r s + 2
    EXPECT_EQ(tool.Height(), 22);
    EXPECT_EQ(tool.HotSpotX(), 11);
    EXPECT_EQ(tool.HotSpotY(), 11);
    const QImage& picture = tool.Picture();
    EXPECT_EQ(picture.pixel(10, 10), kGrey);
    EXPECT_EQ(picture.pixel(10, 0), kGrey);   // the disc spans 20 pixels from the left
    EXPECT_EQ(picture.pixel(19, 10), kGrey);  // and top corner
    EXPECT_EQ(picture.pixel(20, 10), kWhite);
    EXPECT_EQ(picture.pixel(0, 0), kWhite);
}

TEST(ToolPicture, SideViewIsShadedLinesBelowTheTip) {
    ToolPicture tool(15.0);
    tool.BuildToolPicture(Point3{-90, 0, 0}, 1.0);
    EXPECT_EQ(tool.Width(), 35);  // max(30, 20) + 5
    EXPECT_EQ(tool.Height(), 35);
    EXPECT_EQ(tool.HotSpotX(), 17);
    EXPECT_EQ(tool.HotSpotY(), 0);
    const QImage& picture = tool.Picture();
    // The first line runs from the bottom circle's +X point (x 17 + 15) down 20 rows.
    EXPECT_EQ(picture.pixel(32, 10), qRgb(0x11, 0x11, 0x11));
    EXPECT_EQ(picture.pixel(17, 25), kWhite);  // nothing below the cutter's length
    EXPECT_NE(picture.pixel(17, 10), kWhite);
}

TEST(ToolPicture, HugeScalesStayWithinTheLargestPicture) {
    ToolPicture side(2.0);
    side.BuildToolPicture(Point3{-90, 0, 0}, 100000.0);
    EXPECT_EQ(side.Width(), ToolPicture::kMaxSide);
    EXPECT_EQ(side.HotSpotX(), ToolPicture::kMaxSide / 2);
    ToolPicture top(2.0);
    top.BuildToolPicture(Point3{0, 0, 0}, 3000.0);
    EXPECT_EQ(top.Width(), ToolPicture::kMaxSide);
    // The middle of the huge disc: grey all over.
    EXPECT_EQ(top.Picture().pixel(0, 0), kGrey);
    EXPECT_EQ(top.Picture().pixel(top.HotSpotX(), top.HotSpotY()), kGrey);
}

}  // namespace
}  // namespace cuttrace::ui
