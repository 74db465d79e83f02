// Fitting the views to the path, the automatic fit and its rules, the wheel zoom about the
// cursor, panning by the mouse, and the scroll bars over the path at any zoom.
#include <QApplication>
#include <QLabel>
#include <QScrollBar>
#include <QTest>
#include <QWheelEvent>

#include "ui/ProgramOverview.h"
#include "ui/ViewPane.h"
#include "ui/support/MainWindowFixture.h"

namespace cuttrace::test {
namespace {

// A path whose box is (0, 0, 0)..(100, 50, 0).
constexpr char kBox[] = "G00 X0 Y0 Z0\nG01 X100. Y50. F600\nM30\n";

class ViewFitTest : public MainWindowTest {
  protected:
    ViewFitTest() {
        settings.autoFit = true;
        window.resize(1100, 700);
        QApplication::processEvents();
    }
    // Runs the event loop until the look-ahead pass has reported.
    void WaitForPass() { ASSERT_TRUE(window.Overview().Pass().Wait(10000)); }
    Surface3D* Surface(int view) const { return window.View(view)->Panel()->Surface(); }
    QString Summary(const char* name) const { return Find<QLabel>(name)->text(); }
};

// The box's corners lie inside the view, and it fills the view's width or height less the
// margins (to a pixel).
void ExpectFitted(const Surface3D* surface, const std::string& where) {
    int left = INT32_MAX, right = INT32_MIN, top = INT32_MAX, bottom = INT32_MIN;
    for (const Point3& p :
         {Point3{0, 0, 0}, Point3{100, 50, 0}, Point3{0, 50, 0}, Point3{100, 0, 0}}) {
        const PixelPoint q = surface->ToPixel(p);
        left = std::min(left, q.x), right = std::max(right, q.x);
        top = std::min(top, q.y), bottom = std::max(bottom, q.y);
    }
    const int w = surface->width(), h = surface->height();
    EXPECT_GE(left, 0) << where;
    EXPECT_LE(right, w) << where;
    EXPECT_GE(top, 0) << where;
    EXPECT_LE(bottom, h) << where;
    const bool fillsWidth = std::abs((right - left) - 0.9 * w) <= 2;
    const bool fillsHeight = std::abs((bottom - top) - 0.9 * h) <= 2;
    EXPECT_TRUE(fillsWidth || fillsHeight)
        << where << " " << right - left << "x" << bottom - top << " in " << w << "x" << h;
}

TEST_F(ViewFitTest, OpeningFitsEveryViewUnlessTheUserZoomedAndTheSummaryShows) {
    window.CycleViewLayout();
    window.CycleViewLayout();
    window.CycleViewLayout();  // four views, each in its own preset
    QApplication::processEvents();
    Open(kBox);
    WaitForPass();
    for (int v = 0; v < 4; ++v)
        ExpectFitted(Surface(v), "view " + std::to_string(v));
    // 111.803 mm (the diagonal of 100 x 50) at 10 mm/s, no rapid length.
    EXPECT_EQ(Summary("summaryX"), "0.000 … 100.000");
    EXPECT_EQ(Summary("summaryY"), "0.000 … 50.000");
    EXPECT_EQ(Summary("summaryFeed"), "111.803");
    EXPECT_EQ(Summary("summaryRapid"), "0.000");
    EXPECT_EQ(Summary("summaryTime"), "11.2 s");
    EXPECT_EQ(Summary("summaryMotions"), "2");
    EXPECT_EQ(Summary("summaryState"), "");

    window.View(0)->ZoomIn();  // the user's zoom stays through the next open
    const double zoomed = Surface(0)->Scale();
    Open("G01 X10. Y5. F600\n", QStringLiteral("small.nc"));
    WaitForPass();
    EXPECT_EQ(Surface(0)->Scale(), zoomed);
    EXPECT_NE(Surface(1)->Scale(), zoomed) << "a view the user left alone fits";
    window.View(0)->FitView();
    EXPECT_FALSE(window.View(0)->MovedByUser());
    EXPECT_GT(Surface(0)->Scale(), zoomed);

    settings.autoFit = false;
    window.View(1)->ResetZoom();
    Open(kBox);
    WaitForPass();
    EXPECT_EQ(Surface(1)->Scale(), 1.0) << "the setting turns the automatic fit off";
}

TEST_F(ViewFitTest, WheelZoomsAboutTheCursorAndMiddleOrShiftDragPans) {
    Open(kBox);
    WaitForPass();
    Surface3D* surface = Surface(0);
    const Point3 corner{100, 50, 0};
    const PixelPoint at = surface->ToPixel(corner);
    const double scale = surface->Scale();
    QWheelEvent wheel(QPointF(at.x, at.y), surface->mapToGlobal(QPointF(at.x, at.y)), QPoint(),
                      QPoint(0, 120), Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(surface, &wheel);
    EXPECT_NEAR(surface->Scale(), scale * 1.3, 1e-9);
    EXPECT_NEAR(surface->ToPixel(corner).x, at.x, 1);
    EXPECT_NEAR(surface->ToPixel(corner).y, at.y, 1);
    EXPECT_TRUE(window.View(0)->MovedByUser());

    const Point3 rotation = window.View(0)->PresetRotation();
    for (const auto& [button, modifiers] :
         {std::pair{Qt::MiddleButton, Qt::KeyboardModifiers()},
          std::pair{Qt::LeftButton, Qt::KeyboardModifiers(Qt::ShiftModifier)}}) {
        const PixelPoint before = surface->ToPixel(corner);
        QTest::mousePress(surface, button, modifiers, QPoint(100, 100));
        QTest::mouseMove(surface, QPoint(130, 90));
        QTest::mouseRelease(surface, button, modifiers, QPoint(130, 90));
        EXPECT_EQ(surface->ToPixel(corner).x, before.x + 30);
        EXPECT_EQ(surface->ToPixel(corner).y, before.y - 10);
    }
    EXPECT_EQ(window.View(0)->PresetRotation(), rotation) << "a pan is no turn";

    // The middle double click fits again.
    QTest::mouseDClick(surface, Qt::MiddleButton, {}, QPoint(50, 50));
    EXPECT_NEAR(surface->Scale(), scale, 1e-9);
}

TEST_F(ViewFitTest, TheScrollBarsCoverThePathAtAnyZoom) {
    Open(kBox);
    WaitForPass();
    ScrollableSurface3D* panel = window.View(0)->Panel();
    for (int i = 0; i < 12; ++i)
        window.View(0)->ZoomIn();
    // The path is about 100 * scale pixels wide: far beyond the old +-1000.
    const double width = 100 * panel->Scale();
    ASSERT_GT(width, 4000);
    const QScrollBar* bar = panel->HorizontalBar();
    EXPECT_GE(bar->maximum() - bar->minimum(), width);
    // Scrolled to either end, some of the path is still in view.
    for (const int value : {bar->minimum(), bar->maximum()}) {
        panel->HorizontalBar()->setSliderPosition(value);
        panel->HorizontalBar()->triggerAction(QAbstractSlider::SliderMove);
        const int left = panel->ToPixel({0, 0, 0}).x;
        const int right = panel->ToPixel({100, 0, 0}).x;
        EXPECT_TRUE(right >= 0 && left <= panel->Surface()->width()) << value;
    }
}

TEST_F(ViewFitTest, AnimatedRunsShowProgressAndQuickRunsFillTheTime) {
    // 10 mm rapid at 10000/min, a dwell of 1.5 s, 20 mm at 10 mm/s.
    const char* program = "G00 X10.\nG04 P1500\nG01 X20. F600\nG01 X30.\nM30\n";
    Open(program);
    WaitForPass();
    EXPECT_EQ(Summary("summaryTime"), "3.6 s");
    window.Start();
    for (int i = 0; i < 3; ++i)
        Tick();
    auto* progress = Find<QWidget>("runProgress");
    EXPECT_TRUE(progress->isVisible());
    EXPECT_TRUE(Find<QLabel>("remainingStatus")->text().startsWith(QStringLiteral("残り ")));
    RunToStop();
    Open(program);
    window.StartQuickRun();
    QuickToStop();
    EXPECT_FALSE(progress->isVisible()) << "a quick run shows no progress";
    EXPECT_NEAR(window.Drawer().TotalTime(), 10.0 / (10000.0 / 60) + 1.5 + 2.0, 1e-9);
}

}  // namespace
}  // namespace cuttrace::test
