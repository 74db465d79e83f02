// The 2D panel: scroll bars that pan the surface, repaint by invalidation, thumbs that
// follow the surface's pan after a release, and the forwarded operations.
#include <QApplication>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTest>

#include <gtest/gtest.h>

#include "surfaces/ScrollableSurface2D.h"

namespace cuttrace {
namespace {

// Counts the paint events a widget receives.
class PaintCounter : public QObject {
  public:
    int count = 0;

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Paint) ++count;
        return QObject::eventFilter(watched, event);
    }
};

class ScrollableSurface2DTest : public ::testing::Test {
  protected:
    void SetUp() override {
        panel.resize(420, 320);
        panel.SetPanRange(-1000, 1000);
        panel.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&panel));
        panel.ResetView();
        box()->installEventFilter(&paints);
        Settle();
        paints.count = 0;
    }
    void Settle() {
        for (int i = 0; i < 3; ++i)
            QApplication::processEvents();
    }
    Surface2D* box() { return panel.Surface(); }

    ScrollableSurface2D panel;
    PaintCounter paints;
};

TEST_F(ScrollableSurface2DTest, SurfaceFillsThePanelBesideTheBars) {
    const QRect surface = box()->geometry();
    const QRect bottom = panel.HorizontalBar()->geometry();
    const QRect right = panel.VerticalBar()->geometry();
    EXPECT_EQ(surface.topLeft(), QPoint(0, 0));
    EXPECT_EQ(bottom.width(), 420);
    EXPECT_EQ(bottom.bottom(), 319);
    EXPECT_EQ(right.right(), 419);
    EXPECT_EQ(surface.right() + 1, right.left());
    EXPECT_EQ(surface.bottom() + 1, bottom.top());
    // ResetView centred the world origin on the surface.
    EXPECT_EQ(box()->GetOrigin(), QPoint(surface.width() / 2, surface.height() / 2));
}

TEST_F(ScrollableSurface2DTest, UserScrollPansAndRepaintsOncePerEvent) {
    QSignalSpy painted(&panel, &ScrollableSurface2D::redrawRequested);
    QScrollBar* vertical = panel.VerticalBar();
    vertical->setSliderDown(true);
    vertical->setSliderPosition(-30);
    Settle();
    EXPECT_EQ(box()->GetOffset(), QPoint(0, -30));
    EXPECT_EQ(paints.count, 1);
    EXPECT_EQ(painted.count(), 1);
    vertical->setSliderPosition(-45);
    Settle();
    vertical->setSliderDown(false);
    EXPECT_EQ(box()->GetOffset(), QPoint(0, -45));
    EXPECT_EQ(painted.count(), 2);

    panel.HorizontalBar()->setValue(190);
    panel.HorizontalBar()->setSingleStep(10);
    panel.HorizontalBar()->triggerAction(QAbstractSlider::SliderSingleStepAdd);
    Settle();
    EXPECT_EQ(box()->GetOffset(), QPoint(200, -45));
    EXPECT_EQ(painted.count(), 3);

    // Moving a thumb from code neither pans nor repaints.
    panel.HorizontalBar()->setValue(500);
    Settle();
    EXPECT_EQ(box()->GetOffset(), QPoint(200, -45));
    EXPECT_EQ(painted.count(), 3);
}

TEST_F(ScrollableSurface2DTest, ZoomsCentreTheThumbsAndRepaintWithoutAHandler) {
    panel.HorizontalBar()->setSliderPosition(120);
    panel.HorizontalBar()->triggerAction(QAbstractSlider::SliderMove);
    panel.VerticalBar()->setSliderPosition(-60);
    panel.VerticalBar()->triggerAction(QAbstractSlider::SliderMove);
    Settle();
    paints.count = 0;
    panel.SetZoomFactor(2.0);
    panel.ZoomIn();
    EXPECT_EQ(panel.HorizontalBar()->value(), 0);
    EXPECT_EQ(panel.VerticalBar()->value(), 0);
    EXPECT_EQ(box()->GetOffset(), QPoint(0, 0));
    EXPECT_DOUBLE_EQ(panel.Scale(), 2.0);
    Settle();
    EXPECT_EQ(paints.count, 1);
    panel.ZoomOut();
    Settle();
    EXPECT_DOUBLE_EQ(panel.Scale(), 1.0);
    EXPECT_EQ(paints.count, 2);
}

TEST_F(ScrollableSurface2DTest, ThumbsFollowTheOffsetAfterARelease) {
    QSignalSpy ups(&panel, &ScrollableSurface2D::mouseReleased);
    panel.SetBandZoomEnabled(true);
    panel.SetBandButton(Qt::RightButton);

    // A release that changes nothing: the thumbs show the surface's current pan.
    box()->SetOffset(QPoint(37, -12));
    QTest::mouseClick(box(), Qt::LeftButton, {}, QPoint(50, 50));
    EXPECT_EQ(panel.HorizontalBar()->value(), 37);
    EXPECT_EQ(panel.VerticalBar()->value(), -12);
    EXPECT_EQ(ups.count(), 1);

    // A band zoom resets the pan, and the thumbs follow it to 0.
    QTest::mousePress(box(), Qt::RightButton, {}, QPoint(40, 40));
    QMouseEvent move(QEvent::MouseMove, QPointF(140, 100), QPointF(140, 100), Qt::NoButton,
                     Qt::RightButton, Qt::NoModifier);
    QApplication::sendEvent(box(), &move);
    QTest::mouseRelease(box(), Qt::RightButton, {}, QPoint(140, 100));
    EXPECT_GT(panel.Scale(), 1.0);
    EXPECT_EQ(box()->GetOffset(), QPoint(0, 0));
    EXPECT_EQ(panel.HorizontalBar()->value(), 0);
    EXPECT_EQ(panel.VerticalBar()->value(), 0);
    EXPECT_EQ(ups.count(), 2);

    // So does a re-centring right click.
    box()->SetOffset(QPoint(15, 25));
    panel.HorizontalBar()->setValue(15);
    QTest::mouseClick(box(), Qt::RightButton, {}, QPoint(30, 30));
    EXPECT_EQ(panel.HorizontalBar()->value(), 0);
    EXPECT_EQ(panel.VerticalBar()->value(), 0);
}

TEST_F(ScrollableSurface2DTest, ForwardsToTheSurfaceAndPassesItsEventsOn) {
    panel.SetScreenScaleFactor(2.5);
    panel.SetPageScaleFactor(3.0);
    panel.SetOrientation(map2d::AxisOrientation::YLeftXUp);
    EXPECT_DOUBLE_EQ(box()->ScreenScaleFactor(), 2.5);
    EXPECT_DOUBLE_EQ(panel.PageScaleFactor(), 3.0);
    EXPECT_EQ(box()->Orientation(), map2d::AxisOrientation::YLeftXUp);
    panel.SetOrigin(QPoint(10, 20));
    WorldPoint2D world;
    panel.PixelToWorld(QPoint(15, 20), &world);  // u = 2, v = 0; mode 6: x = v, y = -u
    EXPECT_DOUBLE_EQ(world.x, 0.0);
    EXPECT_DOUBLE_EQ(world.y, -2.0);

    QSignalSpy downs(&panel, &ScrollableSurface2D::mousePressed);
    QSignalSpy clicks(&panel, &ScrollableSurface2D::clicked);
    QSignalSpy doubles(&panel, &ScrollableSurface2D::doubleClicked);
    QTest::mouseClick(box(), Qt::LeftButton, {}, QPoint(60, 60));
    QTest::mouseDClick(box(), Qt::LeftButton, {}, QPoint(60, 60));
    EXPECT_GE(downs.count(), 2);
    EXPECT_GE(clicks.count(), 1);
    EXPECT_EQ(doubles.count(), 1);
}

}  // namespace
}  // namespace cuttrace
