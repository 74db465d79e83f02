// The 3D drawing panel: scroll bars that pan, thumb resets and event hand-over.
#include <gtest/gtest.h>

#include <QScrollBar>
#include <QTest>

#include "surfaces/ScrollableSurface3D.h"

namespace cuttrace {
namespace {

class TDrowPanel3DTest : public ::testing::Test {
  protected:
    void SetUp() override {
        // As every view lays its panel out.
        panel.resize(400, 300);
        panel.SetXMin(-1000);
        panel.SetXMax(1000);
        panel.SetYMin(-1000);
        panel.SetYMax(1000);
        panel.SetXPos(0);
        panel.SetYPos(0);
        panel.SetScall(1);
        panel.SetScallLenge(1.3);
        panel.SetCashDraw(true);
        panel.Handlers().OnPaint = [this](QObject* sender) {
            ++paints;
            lastPaintSender = sender;
        };
        panel.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&panel));
        panel.DrawBox3D1()->repaint();
        panel.Init();
        paints = 0;
    }

    ScrollableSurface3D panel;
    int paints = 0;
    QObject* lastPaintSender = nullptr;
};

TEST_F(TDrowPanel3DTest, SurfaceFillsAllButTheBars) {
    const QRect box = panel.DrawBox3D1()->geometry();
    EXPECT_EQ(box.topLeft(), QPoint(0, 0));
    EXPECT_EQ(panel.ScrollBar1()->geometry().bottom(), 299);
    EXPECT_EQ(panel.ScrollBar1()->width(), 400);
    EXPECT_EQ(panel.ScrollBar2()->geometry().right(), 399);
    EXPECT_EQ(box.right() + 1, panel.ScrollBar2()->x());
    EXPECT_EQ(box.bottom() + 1, panel.ScrollBar1()->y());
}

TEST_F(TDrowPanel3DTest, UserScrollPansAndRedrawsOncePerEvent) {
    panel.DrawBox3D1()->SetOffset({7, -30});
    panel.ScrollBar1()->setSliderPosition(200);  // a thumb drag to 200
    EXPECT_EQ(panel.DrawBox3D1()->GetOffset(), (PixelPoint{200, -30}));
    EXPECT_EQ(paints, 1);
    EXPECT_EQ(lastPaintSender, &panel);
    panel.ScrollBar2()->triggerAction(QAbstractSlider::SliderPageStepAdd);
    EXPECT_EQ(panel.DrawBox3D1()->GetOffset(), (PixelPoint{200, panel.GetYPos()}));
    EXPECT_GT(panel.GetYPos(), 0);
    EXPECT_EQ(paints, 2);
}

TEST_F(TDrowPanel3DTest, PositionsSetFromCodeNeitherPanNorRedraw) {
    panel.SetXPos(300);
    panel.SetYPos(-40);
    EXPECT_EQ(panel.GetXPos(), 300);
    EXPECT_EQ(panel.GetYPos(), -40);
    EXPECT_EQ(panel.DrawBox3D1()->GetOffset(), (PixelPoint{0, 0}));
    EXPECT_EQ(paints, 0);
}

TEST_F(TDrowPanel3DTest, InitAndZoomsCentreTheThumbs) {
    panel.ScrollBar1()->setSliderPosition(120);
    panel.ScrollBar2()->setSliderPosition(-60);
    panel.Zoomup();
    EXPECT_EQ(panel.GetXPos(), 0);
    EXPECT_EQ(panel.GetYPos(), 0);
    EXPECT_EQ(panel.DrawBox3D1()->GetOffset(), (PixelPoint{0, 0}));
    EXPECT_DOUBLE_EQ(panel.GetScall(), 1.3);
    panel.ScrollBar1()->setSliderPosition(50);
    panel.Zoomdown();
    EXPECT_EQ(panel.GetXPos(), 0);
    EXPECT_DOUBLE_EQ(panel.GetScall(), 1.0);
    panel.ScrollBar1()->setSliderPosition(50);
    panel.Init();
    EXPECT_EQ(panel.GetXPos(), 0);
    EXPECT_EQ(panel.DrawBox3D1()->GetOffset(), (PixelPoint{0, 0}));
}

TEST_F(TDrowPanel3DTest, MouseReleaseCentresThumbsAfterBandZoom) {
    int ups = 0;
    panel.Handlers().OnMouseUp = [&](QObject* sender, ScrollableSurface3D::MouseButton,
                                     Qt::MouseButtons, int, int) {
        EXPECT_EQ(sender, &panel);
        ++ups;
    };
    Surface3D* box = panel.DrawBox3D1();
    panel.ScrollBar1()->setSliderPosition(100);
    QTest::mousePress(box, Qt::RightButton, Qt::NoModifier, QPoint(10, 10));
    QMouseEvent move(QEvent::MouseMove, QPointF(60, 40), box->mapToGlobal(QPointF(60, 40)),
                     Qt::NoButton, Qt::RightButton, Qt::NoModifier);
    QApplication::sendEvent(box, &move);
    QTest::mouseRelease(box, Qt::RightButton, Qt::NoModifier, QPoint(60, 40));
    EXPECT_EQ(ups, 2);  // before and after the band step
    EXPECT_GT(panel.GetScall(), 1.0);
    EXPECT_EQ(box->GetOffset(), (PixelPoint{0, 0}));
    EXPECT_EQ(panel.GetXPos(), 0);

    // A release without a zoom also centres the thumbs but keeps the pan.
    panel.ScrollBar1()->setSliderPosition(80);
    QTest::mouseClick(box, Qt::LeftButton, Qt::NoModifier, QPoint(30, 30));
    EXPECT_EQ(panel.GetXPos(), 0);
    EXPECT_EQ(box->GetOffset(), (PixelPoint{80, 0}));
}

TEST_F(TDrowPanel3DTest, SurfaceEventsReachThePanelsHandlers) {
    QObject* moveSender = nullptr;
    int downs = 0;
    panel.Handlers().OnMouseMove = [&](QObject* sender, Qt::MouseButtons, int, int) {
        moveSender = sender;
    };
    panel.Handlers().OnMouseDown = [&](QObject*, ScrollableSurface3D::MouseButton, Qt::MouseButtons,
                                       int, int) { ++downs; };
    QTest::mouseMove(panel.DrawBox3D1(), QPoint(20, 20));
    EXPECT_EQ(moveSender, panel.DrawBox3D1());
    QTest::mousePress(panel.DrawBox3D1(), Qt::LeftButton, Qt::NoModifier, QPoint(20, 20));
    EXPECT_EQ(downs, 2);
    QTest::mouseRelease(panel.DrawBox3D1(), Qt::LeftButton, Qt::NoModifier, QPoint(20, 20));
    // The surface's own repaint requests reach the panel's paint handler.
    panel.DrawBox3D1()->Invalidate();
    panel.DrawBox3D1()->repaint();
    EXPECT_EQ(paints, 1);
    EXPECT_EQ(lastPaintSender, panel.DrawBox3D1());
}

TEST(ScrollableSurface3D, PainWithoutHandlerDoesNothing) {
    ScrollableSurface3D panel;
    panel.Pain();
    EXPECT_EQ(panel.GetXMin(), 0);
    EXPECT_EQ(panel.GetXMax(), 100);
    panel.SetXMin(10);
    panel.SetXMax(5);  // refused by the bar: its maximum never goes below its minimum
    EXPECT_GE(panel.GetXMax(), panel.GetXMin());
}

}  // namespace
}  // namespace cuttrace
