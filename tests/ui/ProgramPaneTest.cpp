// The program pane: the whole file, the executing line followed, lines and motions linked
// both ways, the editor at a line, a file that changes on disk, run to a line and step back.
#include <QAbstractItemView>
#include <QApplication>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QPushButton>
#include <QTest>
#include <fstream>

#include "drawing/PathDrawer.h"
#include "surfaces/Surface3D.h"
#include "ui/PathPicker.h"
#include "ui/ProgramLinesView.h"
#include "ui/ProgramPane.h"
#include "ui/ProgramText.h"
#include "ui/StatusPanels.h"
#include "ui/Translation.h"
#include "ui/UiTexts.h"
#include "ui/ViewPane.h"
#include "ui/support/MainWindowFixture.h"

namespace cuttrace::test {
namespace {

using ProgramPaneTest = MainWindowTest;

// Lines start at bytes 0, 18, 25, 33, 42 and 49; the motions go to (10,0) (20,0) (20,10)
// and (0,10).
constexpr char kProgram[] = "G90 G01 X10. F600\n#1=20.\nG01 X#1\nG01 Y10.\nG01 X0\nM30\n";

std::vector<Point3> StoredPoints(ui::MainWindow& window) {
    std::vector<Point3> points;
    window.Drawer().Vertices().ForEach([&](const Point3& p, uint32_t) { points.push_back(p); });
    return points;
}

bool WaitFor(const std::function<bool()>& done) {
    QElapsedTimer waited;
    waited.start();
    while (!done() && waited.elapsed() < 5000)
        QApplication::processEvents(QEventLoop::AllEvents, 20);
    return done();
}

TEST_F(ProgramPaneTest, FollowsTheRunIntoACalledProgramAndBack) {
    settings.dialect = 1;
    folder.Write(QStringLiteral("O4001.nc"), "G00 X7.\nG00 X8.\nM99\n");
    Open("G00 X1.\nM98 P4001\nG00 X9.\nM30\n");
    SingleBlockBox()->setChecked(true);
    ui::ProgramPane& pane = window.Pane();
    struct Step {
        double x;  // where the block moves to
        const char* file;
        int row;
    };
    for (const Step step : {Step{1, "main.nc", 0}, Step{7, "O4001.nc", 0}, Step{8, "O4001.nc", 1},
                            Step{9, "main.nc", 2}}) {
        window.Start();
        RunToStop();
        ASSERT_EQ(window.Runner().Motion().x, step.x);
        EXPECT_EQ(QFileInfo(ui::PathToQString(pane.Lines().Path())).fileName(), step.file);
        EXPECT_EQ(pane.View().CurrentRow(), step.row) << step.x;
    }
}

TEST_F(ProgramPaneTest, ShowsTheFileFollowsTheRunAndLinksLinesWithMotions) {
    const std::string path = Open(kProgram);
    ui::ProgramPane& pane = window.Pane();
    ui::ProgramLines& lines = pane.Lines();
    ASSERT_EQ(lines.rowCount(), 6);
    EXPECT_EQ(lines.index(2).data().toString(), "G01 X#1");
    EXPECT_EQ(lines.RowOfOffset(37), 3);
    EXPECT_EQ(lines.StartOfRow(3), 33);
    EXPECT_EQ(lines.EndOfRow(3), 42);

    SingleBlockBox()->setChecked(true);
    for (const int row : {0, 2, 3}) {  // the blocks that move
        window.Start();
        RunToStop();
        EXPECT_EQ(pane.View().CurrentRow(), row);
    }
    SingleBlockBox()->setChecked(false);
    window.StartQuickRun();
    QuickToStop();
    EXPECT_TRUE(window.Picker().LineMotions().empty());  // the run's own selection

    // The user clicks line 4: its motion (the third) shows in the line color.
    ui::ProgramLinesView& view = pane.View();
    QTest::mouseClick(view.viewport(), Qt::LeftButton, {}, view.RowRect(3).center());
    EXPECT_EQ(view.CurrentRow(), 3);
    EXPECT_EQ(window.Picker().LineMotions(), (std::vector<std::size_t>{2}));
    {
        Surface3D* surface = window.View(0)->Panel()->Surface();
        const PixelPoint at = surface->ToPixel({20.0, 5.0, 0.0});
        EXPECT_EQ(surface->ScreenImage().pixel(at.x, at.y), qRgb(0xC0, 0x00, 0xFF));
    }
    // A motion picked on the drawing selects its block's line; a double click opens the
    // editor there.
    Surface3D* surface = window.View(0)->Panel()->Surface();
    const PixelPoint onLast = surface->ToPixel({10.0, 10.0, 0.0});
    ASSERT_TRUE(window.Picker().PickAt(*surface, onLast.x, onLast.y + 2, false));
    EXPECT_EQ(pane.View().CurrentRow(), 4);
    settings.editorCommand = "kate -n";
    QTest::mouseDClick(view.viewport(), Qt::LeftButton, {}, view.RowRect(4).center());
    ASSERT_EQ(dialogs.started.size(), 1u);
    EXPECT_EQ(dialogs.started[0].arguments,
              (QStringList{"-n", ui::PathToQString(path), QStringLiteral("42")}));
    EXPECT_TRUE(pane.SelectLine(path, 2));
    EXPECT_EQ(pane.SelectedSource().offset, 18);
    EXPECT_FALSE(pane.SelectLine(path, 7));
    EXPECT_FALSE(pane.SelectLine(path + "x", 1));
}

TEST_F(ProgramPaneTest, AFileChangedOnDiskIsShownAndCanBeReloaded) {
    const std::string path = Open(kProgram);
    ui::ProgramPane& pane = window.Pane();
    SingleBlockBox()->setChecked(true);
    window.Start();
    RunToStop();
    // Cut short while the run waits after its first block: nothing breaks, the pane shows
    // what is there and offers the reload.
    std::ofstream(path, std::ios::binary | std::ios::trunc) << "G01 X2. F600\nG01 Y5.";
    ASSERT_TRUE(WaitFor([&] { return pane.ChangedOnDisk(); }));
    EXPECT_EQ(pane.Lines().rowCount(), 2);
    EXPECT_EQ(pane.Lines().index(1).data().toString(), "G01 Y5.");  // no line end
    SingleBlockBox()->setChecked(false);
    window.Start();
    RunToStop();
    // Reloaded: the new program runs from its top.
    Find<QPushButton>("reloadProgram")->click();
    EXPECT_FALSE(pane.ChangedOnDisk());
    window.Start();
    RunToStop();
    EXPECT_EQ(window.Drawer().CurrentPosition(), (Point3{2, 5, 0}));
    // Replaced by a new file (as editors save) it is still watched.
    const std::string replacement = folder.Write(QStringLiteral("new.nc"), "G01 X3.\n");
    std::rename(replacement.c_str(), path.c_str());
    ASSERT_TRUE(WaitFor([&] { return pane.ChangedOnDisk(); }));
    EXPECT_EQ(pane.Lines().index(0).data().toString(), "G01 X3.");
}

TEST_F(ProgramPaneTest, RunToALineAndStepBackStopWhereAFreshRunWould) {
    const std::string path = Open(kProgram);
    // To the fourth line: the third has moved to X20, the fourth is not read yet.
    window.RunToLine({path, 33});
    QuickToStop();
    EXPECT_EQ(window.Drawer().CurrentPosition(), (Point3{20, 0, 0}));
    EXPECT_EQ(Status(ui::PanelMode), ui::Tr(ui::kStatusSingleBlock));
    EXPECT_EQ(window.Pane().View().CurrentRow(), 2);
    EXPECT_TRUE(dialogs.messages.empty());
    window.Start();  // goes on from there
    RunToStop();
    EXPECT_EQ(window.Drawer().CurrentPosition(), (Point3{0, 10, 0}));
    EXPECT_EQ(Messages().size(), 1);

    // A kept common variable that the program changes: the step back runs again from the
    // value the run began with, as a fresh run does.
    Open("#500=#500+10.\nG90 G01 X#500 F600\nG01 Y10.\nG01 X0\nM30\n", QStringLiteral("kept.nc"));
    SingleBlockBox()->setChecked(true);
    for (int i = 0; i < 2; ++i) {
        window.Start();
        RunToStop();
    }
    const std::vector<Point3> fresh = StoredPoints(window);
    const QImage freshScreen = window.View(0)->Panel()->Surface()->ScreenImage();
    ASSERT_EQ(window.Drawer().CurrentPosition(), (Point3{10, 10, 0}));
    window.Start();
    RunToStop();
    window.StepBack();
    QuickToStop();
    EXPECT_EQ(window.Drawer().CurrentPosition(), (Point3{10, 10, 0}));
    EXPECT_EQ(StoredPoints(window), fresh);
    EXPECT_EQ(window.View(0)->Panel()->Surface()->ScreenImage(), freshScreen);
    EXPECT_EQ(Run().BlocksDone(), 2);
    window.Start();  // single block goes on with the third block again
    RunToStop();
    EXPECT_EQ(window.Drawer().CurrentPosition(), (Point3{0, 10, 0}));
    // Back from the first block: nothing run, nothing drawn.
    window.Reset();
    window.Start();
    RunToStop();
    window.StepBack();
    EXPECT_FALSE(Run().Running());
    EXPECT_EQ(Run().BlocksDone(), 0);
    EXPECT_TRUE(StoredPoints(window).empty());
}

}  // namespace
}  // namespace cuttrace::test
