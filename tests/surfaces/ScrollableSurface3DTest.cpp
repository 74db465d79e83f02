// The 3D drawing panel: scroll bars that pan, thumb resets and event hand-over.
#include <gtest/gtest.h>

#include <QScrollBar>
#include <QTest>

#include "surfaces/ScrollableSurface3D.h"

namespace cuttrace {
namespace {

class ScrollableSurface3DTest : public ::testing::Test {
  protected:
    void SetUp() override {
        // As every view lays its panel out.
        panel.resize(400, 300);
        panel.SetPanRange(-1000, 1000);
        panel.SetScale(1);
        panel.SetZoomFactor(1.3);
        panel.SetBuffered(true);
        QObject::connect(&panel, &ScrollableSurface3D::redrawRequested, [this] { ++paints; });
        panel.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&panel));
        panel.Surface()->repaint();
        panel.ResetView();
        paints = 0;
    }

    ScrollableSurface3D panel;
    int paints = 0;
};

TEST_F(ScrollableSurface3DTest, SurfaceFillsAllButTheBars) {
    const QRect box = panel.Surface()->geometry();
    EXPECT_EQ(box.topLeft(), QPoint(0, 0));
    EXPECT_EQ(panel.HorizontalBar()->geometry().bottom(), 299);
    EXPECT_EQ(panel.HorizontalBar()->width(), 400);
    EXPECT_EQ(panel.VerticalBar()->geometry().right(), 399);
    EXPECT_EQ(box.right() + 1, panel.VerticalBar()->x());
    EXPECT_EQ(box.bottom() + 1, panel.HorizontalBar()->y());
}

TEST_F(ScrollableSurface3DTest, UserScrollPansAndRedrawsOncePerEvent) {
    panel.Surface()->SetOffset({7, -30});
    panel.HorizontalBar()->setSliderPosition(200);  // a thumb drag to 200
    EXPECT_EQ(panel.Surface()->GetOffset(), (PixelPoint{200, -30}));
    EXPECT_EQ(paints, 1);
    panel.VerticalBar()->triggerAction(QAbstractSlider::SliderPageStepAdd);
    EXPECT_EQ(panel.Surface()->GetOffset(), (PixelPoint{200, panel.VerticalBar()->value()}));
    EXPECT_GT(panel.VerticalBar()->value(), 0);
    EXPECT_EQ(paints, 2);
}

TEST_F(ScrollableSurface3DTest, PositionsSetFromCodeNeitherPanNorRedraw) {
    panel.HorizontalBar()->setValue(300);
    panel.VerticalBar()->setValue(-40);
    EXPECT_EQ(panel.HorizontalBar()->value(), 300);
    EXPECT_EQ(panel.VerticalBar()->value(), -40);
    EXPECT_EQ(panel.Surface()->GetOffset(), (PixelPoint{0, 0}));
    EXPECT_EQ(paints, 0);
}

TEST_F(ScrollableSurface3DTest, ResetViewAndZoomsCentreTheThumbs) {
    panel.HorizontalBar()->setSliderPosition(120);
    panel.VerticalBar()->setSliderPosition(-60);
    panel.ZoomIn();
    EXPECT_EQ(panel.HorizontalBar()->value(), 0);
    EXPECT_EQ(panel.VerticalBar()->value(), 0);
    EXPECT_EQ(panel.Surface()->GetOffset(), (PixelPoint{0, 0}));
    EXPECT_DOUBLE_EQ(panel.Scale(), 1.3);
    panel.HorizontalBar()->setSliderPosition(50);
    panel.ZoomOut();
    EXPECT_EQ(panel.HorizontalBar()->value(), 0);
    EXPECT_DOUBLE_EQ(panel.Scale(), 1.0);
    panel.HorizontalBar()->setSliderPosition(50);
    panel.ResetView();
    EXPECT_EQ(panel.HorizontalBar()->value(), 0);
    EXPECT_EQ(panel.Surface()->GetOffset(), (PixelPoint{0, 0}));
}

TEST_F(ScrollableSurface3DTest, MouseReleaseCentresThumbsAfterBandZoom) {
    int ups = 0;
    QObject::connect(&panel, &ScrollableSurface3D::mouseReleased,
                     [&](Qt::MouseButton, Qt::MouseButtons, int, int) { ++ups; });
    Surface3D* box = panel.Surface();
    panel.HorizontalBar()->setSliderPosition(100);
    QTest::mousePress(box, Qt::RightButton, Qt::NoModifier, QPoint(10, 10));
    QMouseEvent move(QEvent::MouseMove, QPointF(60, 40), box->mapToGlobal(QPointF(60, 40)),
                     Qt::NoButton, Qt::RightButton, Qt::NoModifier);
    QApplication::sendEvent(box, &move);
    QTest::mouseRelease(box, Qt::RightButton, Qt::NoModifier, QPoint(60, 40));
    EXPECT_EQ(ups, 1);
    EXPECT_GT(panel.Scale(), 1.0);
    EXPECT_EQ(box->GetOffset(), (PixelPoint{0, 0}));
    EXPECT_EQ(panel.HorizontalBar()->value(), 0);

    // A release without a zoom also centres the thumbs but keeps the pan.
    panel.HorizontalBar()->setSliderPosition(80);
    QTest::mouseClick(box, Qt::LeftButton, Qt::NoModifier, QPoint(30, 30));
    EXPECT_EQ(panel.HorizontalBar()->value(), 0);
    EXPECT_EQ(box->GetOffset(), (PixelPoint{80, 0}));
}

TEST_F(ScrollableSurface3DTest, SurfaceSignalsReachThePanelsListeners) {
    int moves = 0;
    int downs = 0;
    QObject::connect(&panel, &ScrollableSurface3D::mouseMoved,
                     [&](Qt::MouseButtons, int x, int y) { moves += x == 20 && y == 20; });
    QObject::connect(&panel, &ScrollableSurface3D::mousePressed,
                     [&](Qt::MouseButton button, Qt::MouseButtons, int, int) {
                         downs += button == Qt::LeftButton;
                     });
    QTest::mouseMove(panel.Surface(), QPoint(20, 20));
    EXPECT_EQ(moves, 1);
    QTest::mousePress(panel.Surface(), Qt::LeftButton, Qt::NoModifier, QPoint(20, 20));
    EXPECT_EQ(downs, 1);
    QTest::mouseRelease(panel.Surface(), Qt::LeftButton, Qt::NoModifier, QPoint(20, 20));
    // The surface's own repaint requests reach the panel's paint handler.
    panel.Surface()->RequestRedraw();
    panel.Surface()->repaint();
    EXPECT_EQ(paints, 1);
}

TEST_F(ScrollableSurface3DTest, RedrawRequestWithoutListenerDoesNothing) {
    ScrollableSurface3D fresh;
    fresh.RequestRedraw();
    EXPECT_EQ(fresh.HorizontalBar()->minimum(), 0);
    EXPECT_EQ(fresh.HorizontalBar()->maximum(), 100);
    panel.SetPanRange(10, 5);  // adjusted by the bar: its maximum never goes below its minimum
    EXPECT_GE(panel.HorizontalBar()->maximum(), panel.HorizontalBar()->minimum());
}

}  // namespace
}  // namespace cuttrace
