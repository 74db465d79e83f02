// The redraw of a large path in the background: the views show a preview at once and the
// full pictures, equal to those of the run, only when every one is complete; the next
// interaction cancels a redraw still being drawn; a run waits for it.
#include <QApplication>
#include <QElapsedTimer>
#include <QTimer>

#include <string>
#include <vector>

#include "ui/RedrawPreview.h"
#include "ui/ViewPane.h"
#include "ui/support/MainWindowFixture.h"

namespace cuttrace::test {
namespace {

using BackgroundRedraw = MainWindowTest;

const QImage& Screen(ui::MainWindow& window, int view) {
    return window.View(view)->Panel()->Surface()->ScreenImage();
}

std::vector<QImage> Screens(ui::MainWindow& window) {
    std::vector<QImage> out;
    for (int v = 0; v < 4; ++v)
        out.push_back(Screen(window, v).copy());
    return out;
}

// Lines and arcs of many sizes over the views, a drilling cycle and rapids.
std::string Program() {
    std::string text = "G90 G00 X-40. Y-30. Z5.\nG01 Z-1. F600\n";
    for (int i = 0; i < 60; ++i) {
        const int x = (i * 37) % 80 - 40;
        const int y = (i * 23) % 60 - 30;
        text += "G01 X" + std::to_string(x) + ". Y" + std::to_string(y) + ".\n";
        text += std::string(i % 2 ? "G02" : "G03") + " X" + std::to_string(x + 4) + ". I2. J" +
                std::to_string(i % 5) + ".\n";
        if (i == 30) text += "G81 X0. Y0. Z-8. R2.\nG80 G00 Z5.\n";
    }
    return text + "M30\n";
}

// The byte offset of a line (1-based) of the text.
int64_t LineStart(const std::string& text, int line) {
    std::size_t at = 0;
    for (int i = 1; i < line; ++i)
        at = text.find('\n', at) + 1;
    return static_cast<int64_t>(at);
}

// Turns the event loop until the background redraw is delivered; the screens of every turn
// must show either the preview or the complete pictures, never a picture in between.
void SettleWatching(ui::MainWindow& window, const std::vector<QImage>& preview) {
    std::vector<std::vector<QImage>> seen;
    QElapsedTimer waited;
    waited.start();
    while (window.RedrawPending() && waited.elapsed() < 20000) {
        QApplication::processEvents();
        seen.push_back(Screens(window));
    }
    ASSERT_FALSE(window.RedrawPending());
    const std::vector<QImage> complete = Screens(window);
    for (std::size_t turn = 0; turn < seen.size(); ++turn) {
        for (std::size_t v = 0; v < 4; ++v) {
            EXPECT_TRUE(seen[turn][v] == preview[v] || seen[turn][v] == complete[v])
                << "view " << v << ", turn " << turn;
        }
    }
}

TEST_F(BackgroundRedraw, PreviewFirstThenTheRunsPicturesAndTheNextRedrawCancels) {
    Open(Program());
    while (window.LayoutNumber() != 3)
        window.CycleViewLayout();
    window.View(1)->ApplyViewPreset(3);
    for (int i = 0; i < 5; ++i)  // the views take their sizes
        QApplication::processEvents();
    window.StartQuickRun();
    QuickToStop();
    const std::vector<QImage> run = Screens(window);
    window.SetBackgroundRedrawPoints(1);  // every path is large

    // Nothing changed: the preview is the picture shown, the redraw gives it again.
    window.RedrawAll();
    ASSERT_TRUE(window.RedrawPending());
    EXPECT_EQ(Screens(window), run);
    SettleWatching(window, run);
    EXPECT_EQ(Screens(window), run);

    // A zoom, cancelled at once by a turn of another view: the pictures that show are the
    // newer redraw's, equal to those of a redraw that waits for them.
    window.View(0)->Panel()->ZoomIn();
    window.RedrawAll();
    window.View(2)->SetPresetRotation({-30.0, 20.0, 40.0});
    window.RedrawAll();
    ASSERT_TRUE(window.RedrawPending());
    const std::vector<QImage> preview = Screens(window);
    EXPECT_NE(preview[0], run[0]);  // the zoomed picture, scaled
    EXPECT_EQ(preview[1], run[1]);
    SettleWatching(window, preview);
    const std::vector<QImage> background = Screens(window);
    window.SetBackgroundRedrawPoints(std::size_t(-1));
    window.RedrawAll();
    EXPECT_EQ(Screens(window), background);
    window.SetBackgroundRedrawPoints(1);

    // A quick run waits for a redraw still being drawn and goes on from its pictures.
    window.View(0)->Panel()->ZoomOut();
    window.RedrawAll();
    ASSERT_TRUE(window.RedrawPending());
    window.StartQuickRun();
    EXPECT_FALSE(window.RedrawPending());
    QuickToStop();
    window.Reset();
}

TEST_F(BackgroundRedraw, TheSketchIsMadeAfterARunAndARunToALineWaitsForTheRedraw) {
    const std::string text = Program();
    const std::string path = Open(text);
    window.SetBackgroundRedrawPoints(1);  // every path is large
    window.RunToLine({path, LineStart(text, 40)});
    QuickToStop();
    // The run waits at a line, no view has turned: the sketch is made all the same.
    QElapsedTimer waited;
    waited.start();
    while (!window.Preview().SketchReady() && waited.elapsed() < 20000)
        QApplication::processEvents();
    EXPECT_TRUE(window.Preview().SketchReady());
    EXPECT_FALSE(window.RedrawPending());
    // Running on to a later line adds to the path: the redraw still being drawn is finished
    // first, and the sketch of the shorter path is dropped.
    window.View(0)->Panel()->ZoomIn();
    window.RedrawAll();
    ASSERT_TRUE(window.RedrawPending());
    window.RunToLine({path, LineStart(text, 80)});
    EXPECT_FALSE(window.RedrawPending());
    EXPECT_FALSE(window.Preview().SketchReady());
    QuickToStop();
    window.View(0)->Panel()->ZoomOut();
    window.RedrawAll();
    ASSERT_TRUE(window.RedrawPending());
    window.StepBack();
    EXPECT_FALSE(window.RedrawPending());
    QuickToStop();
}

TEST_F(BackgroundRedraw, ARunThatBeginsAgainWaitsForTheResetsRedrawAndKeepsItsLine) {
    // After an error the next run begins again from the top. With the drawing kept, the
    // reset's redraw of the old path is finished before the run adds to it; a run to a line
    // still waits at its line (the reset had cleared it, and the run went to the end).
    settings.keepDrawingOnOpen = true;
    std::string text = Program();
    text.insert(text.size() - 4, "G00 X1. Y1.\nG03 X1. R5.\n");  // fails before the M30
    const std::string path = Open(text);
    window.SetBackgroundRedrawPoints(1);  // every path is large
    window.StartQuickRun();
    QuickToStop();
    ASSERT_TRUE(Run().RestartPending());
    window.StartQuickRun();
    EXPECT_FALSE(window.RedrawPending()) << "the reset's redraw still drawn in the run";
    QuickToStop();
    ASSERT_TRUE(Run().RestartPending());
    window.RunToLine({path, LineStart(text, 40)});
    QuickToStop();
    EXPECT_FALSE(Run().RestartPending()) << "the run went on past its line to the error";
    int64_t next = 0;
    std::string at;
    ASSERT_TRUE(window.Runner().CurrentOffset(next, at));
    EXPECT_EQ(next, LineStart(text, 40));
}

TEST_F(BackgroundRedraw, ATurnedViewShowsTheSketchOfThePath) {
    Open(Program());
    window.StartQuickRun();
    QuickToStop();
    // The picture of the turned view, drawn while the window waits.
    window.View(0)->ApplyViewPreset(3);
    window.RedrawAll();
    const QImage turned = Screen(window, 0).copy();
    window.View(0)->ApplyViewPreset(1);
    window.RedrawAll();

    window.SetBackgroundRedrawPoints(1);
    window.RedrawAll();  // starts the sketch
    QElapsedTimer waited;
    waited.start();
    while ((window.RedrawPending() || !window.Preview().SketchReady()) && waited.elapsed() < 20000)
        QApplication::processEvents();
    ASSERT_TRUE(window.Preview().SketchReady());
    const QImage before = Screen(window, 0).copy();
    window.View(0)->ApplyViewPreset(3);
    window.RedrawAll();
    ASSERT_TRUE(window.RedrawPending());
    const std::vector<QImage> sketch = Screens(window);
    EXPECT_NE(sketch[0], before);
    EXPECT_NE(sketch[0], turned);
    SettleWatching(window, sketch);
    EXPECT_EQ(Screen(window, 0), turned);
}

}  // namespace
}  // namespace cuttrace::test
