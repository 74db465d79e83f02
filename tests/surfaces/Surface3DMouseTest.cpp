// Mouse notifications and the rubber-band zoom of the 3D surface.
#include <gtest/gtest.h>

#include <QApplication>
#include <QTest>

#include <string>
#include <vector>

#include "surfaces/Surface3D.h"

namespace cuttrace {
namespace {

class Surface3DMouse : public ::testing::Test {
  protected:
    void SetUp() override {
        box.resize(545, 411);
        box.ResetView();
        box.SetBuffered(true);
        QObject::connect(&box, &Surface3D::redrawRequested, [this] { ++paints; });
        box.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&box));
        box.repaint();  // the first showing asks the owner to draw
        ASSERT_EQ(paints, 1);
        paints = 0;
    }

    int BlackPixels() const {
        int n = 0;
        const QImage& image = box.ScreenImage();
        for (int y = 0; y < image.height(); ++y) {
            for (int x = 0; x < image.width(); ++x)
                n += image.pixel(x, y) == qRgb(0, 0, 0);
        }
        return n;
    }

    Surface3D box;
    int paints = 0;
};

TEST_F(Surface3DMouse, SignalsFollowTheBandStep) {
    std::vector<std::string> seen;
    QObject::connect(
        &box, &Surface3D::mousePressed, [&](Qt::MouseButton b, Qt::MouseButtons, int x, int y) {
            EXPECT_EQ(b, Qt::RightButton);
            seen.push_back(std::string("down ") + (box.BandActive() ? "band " : "idle ") +
                           std::to_string(x) + "," + std::to_string(y));
        });
    QObject::connect(&box, &Surface3D::mouseReleased,
                     [&](Qt::MouseButton, Qt::MouseButtons, int, int) {
                         seen.push_back(std::string("up ") + (box.BandActive() ? "band" : "idle"));
                     });
    QTest::mousePress(&box, Qt::RightButton, Qt::NoModifier, QPoint(10, 20));
    QTest::mouseRelease(&box, Qt::RightButton, Qt::NoModifier, QPoint(10, 20));
    EXPECT_EQ(seen, (std::vector<std::string>{"down band 10,20", "up idle"}));
}

TEST_F(Surface3DMouse, RightDragZoomsToTheBandAndAsksForARedraw) {
    box.BeginBand(Qt::RightButton, 100, 100);
    EXPECT_TRUE(box.BandActive());
    EXPECT_EQ(BlackPixels(), 0);  // nothing drawn on the press
    box.DragBand(Qt::RightButton, 150, 130);
    EXPECT_EQ(BlackPixels(), 2 * (50 + 30));
    box.DragBand(Qt::RightButton, 200, 150);
    EXPECT_EQ(BlackPixels(), 2 * (100 + 50));  // the old outline is gone
    box.EndBand(200, 150);
    EXPECT_FALSE(box.BandActive());
    EXPECT_EQ(box.Scale(), 5.0);
    EXPECT_EQ(box.GetOffset(), (PixelPoint{0, 0}));
    EXPECT_EQ(paints, 0);
    box.repaint();  // the requested repaint runs the owner's redraw
    EXPECT_EQ(paints, 1);
    box.repaint();
    EXPECT_EQ(paints, 1);
}

TEST_F(Surface3DMouse, ClickWithoutMovingNeitherZoomsNorRedraws) {
    const PixelPoint origin = box.GetOrigin();
    QTest::mouseClick(&box, Qt::RightButton, Qt::NoModifier, QPoint(120, 80));
    EXPECT_EQ(box.Scale(), 1.0);
    EXPECT_EQ(box.GetOrigin(), origin);
    box.repaint();
    EXPECT_EQ(paints, 0);
}

TEST_F(Surface3DMouse, AnotherButtonCancelsTheBand) {
    box.BeginBand(Qt::RightButton, 100, 100);
    box.DragBand(Qt::RightButton | Qt::LeftButton, 150, 130);
    box.BeginBand(Qt::LeftButton, 150, 130);
    EXPECT_FALSE(box.BandActive());
    EXPECT_EQ(BlackPixels(), 0);
    box.EndBand(200, 200);
    EXPECT_EQ(box.Scale(), 1.0);
}

TEST_F(Surface3DMouse, MoveWithoutTheBandButtonCancels) {
    box.BeginBand(Qt::RightButton, 100, 100);
    box.DragBand(Qt::RightButton, 150, 130);
    box.DragBand(Qt::NoButton, 160, 140);
    EXPECT_FALSE(box.BandActive());
    EXPECT_EQ(BlackPixels(), 0);
}

TEST_F(Surface3DMouse, TheBandButtonCanBeTheLeftOne) {
    box.SetBandButton(Qt::LeftButton);
    box.BeginBand(Qt::RightButton, 10, 10);
    EXPECT_FALSE(box.BandActive());
    box.BeginBand(Qt::LeftButton, 10, 10);
    box.DragBand(Qt::LeftButton, 60, 40);
    EXPECT_EQ(BlackPixels(), 2 * (50 + 30));
    box.BeginBand(Qt::RightButton, 60, 40);
    EXPECT_FALSE(box.BandActive());
    EXPECT_EQ(BlackPixels(), 0);
}

TEST_F(Surface3DMouse, LeftDragLeavesTheViewToTheOwner) {
    int moves = 0;
    QObject::connect(&box, &Surface3D::mouseMoved, [&](Qt::MouseButtons held, int, int) {
        moves += held.testFlag(Qt::LeftButton) ? 1 : 0;
    });
    QTest::mousePress(&box, Qt::LeftButton, Qt::NoModifier, QPoint(10, 10));
    QMouseEvent move(QEvent::MouseMove, QPointF(50, 40), box.mapToGlobal(QPointF(50, 40)),
                     Qt::NoButton, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(&box, &move);
    QTest::mouseRelease(&box, Qt::LeftButton, Qt::NoModifier, QPoint(50, 40));
    EXPECT_EQ(moves, 1);
    EXPECT_FALSE(box.BandActive());
    EXPECT_EQ(box.Scale(), 1.0);
}

}  // namespace
}  // namespace cuttrace
