// The view frame: presets, sliders, drag rotation, zoom buttons and the cutter picture.
#include <gtest/gtest.h>

#include <QApplication>
#include <QScrollBar>
#include <QSlider>
#include <QTest>
#include <QToolButton>

#include <memory>

#include "core/Settings.h"
#include "ui/ToolPicture.h"
#include "ui/ViewPane.h"

namespace cuttrace::ui {
namespace {

constexpr QRgb kGrey = 0xFFC0C0C0;
constexpr QRgb kWhite = 0xFFFFFFFF;

class ViewPaneTest : public ::testing::Test {
  protected:
    void SetUp() override {
        settings.cutterDiameter = 5.0;  // a cutter picture of 10 pixels at scale 1
        view = std::make_unique<ViewPane>(settings);
        view->resize(600, 450);
        QObject::connect(view->Panel(), &ScrollableSurface3D::redrawRequested,
                         [this] { ++repaints; });
    }

    void Show() {
        view->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(view.get()));
        QApplication::processEvents();
        repaints = 0;
    }

    template <typename Widget>
    Widget* Control(const char* objectName) const {
        auto* widget = view->findChild<Widget*>(QString::fromLatin1(objectName));
        EXPECT_NE(widget, nullptr) << objectName;
        return widget;
    }
    QToolButton* Button(const char* objectName) const { return Control<QToolButton>(objectName); }
    QSlider* Slider(const char* objectName) const { return Control<QSlider>(objectName); }
    // The side of the cutter picture (a disc seen from the top).
    int CutterSide() const { return view->CutterPicture().Picture().width(); }

    Settings settings;
    std::unique_ptr<ViewPane> view;
    int repaints = 0;
};

TEST_F(ViewPaneTest, StartsWithCachedDrawingAndViewLayout) {
    ScrollableSurface3D* panel = view->Panel();
    EXPECT_TRUE(panel->IsBuffered());
    EXPECT_EQ(panel->HorizontalBar()->minimum(), -1000);
    EXPECT_EQ(panel->VerticalBar()->maximum(), 1000);
    EXPECT_EQ(panel->HorizontalBar()->value(), 0);
    EXPECT_DOUBLE_EQ(panel->ZoomFactor(), 1.3);
    EXPECT_EQ(view->SliderScale(), 1.0);
}

TEST_F(ViewPaneTest, PresetButtonsTurnTheViewAndRepaintTwice) {
    Button("sideViewButton")->click();
    EXPECT_EQ(view->PresetRotation(), (Point3{-90, 0, 0}));
    EXPECT_EQ(view->PanelRotation(), (Point3{-90, 0, 0}));
    EXPECT_EQ(repaints, 2);
    Button("oddViewButton")->click();
    EXPECT_EQ(view->PanelRotation(), (Point3{-60, -30, -16}));
    Button("topViewButton")->click();
    EXPECT_EQ(view->PanelRotation(), (Point3{0, 0, 0}));
    view->ApplyViewPreset(7);  // unknown preset: rotation kept, still repaints
    EXPECT_EQ(view->PanelRotation(), (Point3{0, 0, 0}));
    EXPECT_EQ(repaints, 7);
}

TEST_F(ViewPaneTest, SlidersSetScaleAndRotationWithoutNewCutterPicture) {
    const int side = CutterSide();
    Slider("scaleSlider")->setValue(20);
    EXPECT_DOUBLE_EQ(view->SliderScale(), 1.0);
    Slider("scaleSlider")->setValue(1);
    EXPECT_DOUBLE_EQ(view->SliderScale(), 0.05);
    EXPECT_DOUBLE_EQ(view->PanelScale(), 0.05);
    Slider("rotateXSlider")->setValue(30);
    Slider("rotateYSlider")->setValue(-20);
    Slider("rotateZSlider")->setValue(10);
    EXPECT_EQ(view->PanelRotation(), (Point3{30, -20, 10}));
    EXPECT_EQ(repaints, 5);
    EXPECT_EQ(CutterSide(), side);
    // A slider sets only its own axis: what a preset gave the others stays.
    view->ApplyViewPreset(1);
    Slider("rotateZSlider")->setValue(20);
    EXPECT_EQ(view->PanelRotation(), (Point3{-90, 0, 20}));
}

TEST_F(ViewPaneTest, LeftDragTurnsByHalfTheMoveWithinFifteenDegrees) {
    view->OnSurfaceMouseMove(Qt::LeftButton, 100, 100);  // only records
    EXPECT_EQ(view->PresetRotation(), (Point3{0, 0, 0}));
    EXPECT_EQ(repaints, 0);
    view->OnSurfaceMouseMove(Qt::LeftButton, 140, 100);
    EXPECT_EQ(view->PresetRotation(), (Point3{0, 15, 0}));  // 40 / 2 = 20, limited
    view->OnSurfaceMouseMove(Qt::LeftButton, 141, 100);
    EXPECT_EQ(view->PresetRotation(), (Point3{0, 15, 0}));
    EXPECT_EQ(repaints, 1);  // the one-pixel move changed nothing
    view->OnSurfaceMouseMove(Qt::LeftButton, 141, 110);
    EXPECT_EQ(view->PresetRotation(), (Point3{-5, 15, 0}));
    view->OnSurfaceMouseMove(Qt::LeftButton, 138, 107);  // -3 / 2 truncates to -1
    EXPECT_EQ(view->PresetRotation(), (Point3{-4, 14, 0}));
    EXPECT_EQ(view->PanelRotation(), view->PresetRotation());
    view->OnSurfaceMouseMove(Qt::NoButton, 300, 300);  // the drag ends
    view->OnSurfaceMouseMove(Qt::LeftButton, 0, 0);
    EXPECT_EQ(view->PresetRotation(), (Point3{-4, 14, 0}));
}

TEST_F(ViewPaneTest, MouseDragOnTheSurfaceTurnsTheView) {
    Show();
    Surface3D* box = view->Panel()->Surface();
    for (int x : {50, 70}) {
        QMouseEvent move(QEvent::MouseMove, QPointF(x, 50), box->mapToGlobal(QPointF(x, 50)),
                         Qt::NoButton, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(box, &move);
    }
    EXPECT_EQ(view->PresetRotation(), (Point3{0, 10, 0}));
    EXPECT_EQ(repaints, 1);
}

TEST_F(ViewPaneTest, ZoomButtonsRebuildTheCutterPicture) {
    view->ResetView();
    EXPECT_EQ(CutterSide(), 12);  // a disc of 10 pixels, 2 more
    Button("zoomInButton")->click();
    EXPECT_DOUBLE_EQ(view->PanelScale(), 1.3);
    EXPECT_EQ(CutterSide(), 15);  // 13 + 2
    Button("zoomOutButton")->click();
    Button("zoomOutButton")->click();
    EXPECT_DOUBLE_EQ(view->PanelScale(), 1.0 / 1.3);
    Button("resetViewButton")->click();
    EXPECT_DOUBLE_EQ(view->PanelScale(), 1.0);
    EXPECT_EQ(CutterSide(), 12);
    EXPECT_EQ(repaints, 4);
    Button("redrawButton")->click();
    EXPECT_EQ(repaints, 5);
}

TEST_F(ViewPaneTest, ResetViewGivesThePanelTheViewsRotationAndScale) {
    Slider("scaleSlider")->setValue(40);  // scale 2
    view->Panel()->ZoomIn();
    view->ApplyViewPreset(1);
    view->ResetView();
    EXPECT_DOUBLE_EQ(view->PanelScale(), 2.0);
    EXPECT_EQ(view->PanelRotation(), (Point3{-90, 0, 0}));
    Surface3D* box = view->Panel()->Surface();
    EXPECT_EQ(box->GetOrigin(), (PixelPoint{box->width() / 2, box->height() / 2}));
    // Seen from the side at scale 2: max(2 * 5, 20) * 2 + 5 pixels.
    EXPECT_EQ(CutterSide(), 45);
}

TEST_F(ViewPaneTest, TheCutterShowsOnTheScreenAfterEachCopyOfTheDrawing) {
    Show();
    view->ResetView();
    Surface3D* box = view->Panel()->Surface();
    view->Panel()->Clear(0xFFFFFF);
    view->SetColor(0x0000FF);
    view->DrawMoveTo(Point3{-30, 0, 0});
    view->LineToShowingTool(Point3{0, 0, 0});
    const PixelPoint at = box->ToPixel(Point3{0, 0, 0});
    // The line goes to the off-screen drawing; the disc (top view) over it on the screen.
    EXPECT_EQ(box->OffscreenCanvas()->Image().pixel(at.x - 10, at.y), qRgb(255, 0, 0));
    view->CopyToScreen();
    EXPECT_EQ(box->ScreenImage().pixel(at.x, at.y), kGrey);
    EXPECT_EQ(box->ScreenImage().pixel(at.x - 10, at.y), qRgb(255, 0, 0));
    view->CopyToScreen();  // every copy shows it again
    EXPECT_EQ(box->ScreenImage().pixel(at.x, at.y), kGrey);
    view->ForgetCutter();
    view->CopyToScreen();
    EXPECT_EQ(box->ScreenImage().pixel(at.x, at.y), qRgb(255, 0, 0));

    settings.showCutter = false;
    view->LineToShowingTool(Point3{10, 0, 0});
    view->CopyToScreen();
    EXPECT_EQ(box->ScreenImage().pixel(at.x + 10, at.y + 3), kWhite);
}

}  // namespace
}  // namespace cuttrace::ui
