#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QElapsedTimer>
#include <QLabel>

#include <QTreeWidget>
#include "drawing/PathDrawer.h"
#include "ui/LineList.h"
#include "ui/ModalStatePanel.h"
#include "ui/StatusPanels.h"
#include "ui/support/MainWindowFixture.h"

namespace cuttrace::test {
namespace {

using ui::Tool;

constexpr char kThreeMoves[] = "G90 G00 X0 Y0 Z10.\nG01 X10. F600\nG02 X20. I5.\nM30\n";

TEST_F(MainWindowTest, ARunGoesToItsEndMessage) {
    const std::string path = Open(kThreeMoves);
    EXPECT_EQ(form.windowTitle(), "Nc - " + QString::fromStdString(path));
    EXPECT_EQ(Status(ui::PanelLine), "line 0");
    EXPECT_TRUE(form.Action(Tool::Start)->isEnabled());
    EXPECT_FALSE(form.Action(Tool::Stop)->isEnabled());

    form.CmStart();
    EXPECT_TRUE(Run().Running());
    EXPECT_TRUE(Run().Timer1().isActive());
    EXPECT_EQ(Run().Timer1().interval(), 10);
    EXPECT_EQ(Status(ui::PanelMode), "実行中");
    EXPECT_FALSE(form.Action(Tool::Start)->isEnabled());
    EXPECT_TRUE(form.Action(Tool::Stop)->isEnabled());
    EXPECT_FALSE(form.Action(Tool::Open)->isEnabled());

    RunToStop();
    ASSERT_EQ(dialogs.messages.size(), 1u);
    EXPECT_EQ(dialogs.messages[0].text, "終わりだよー(Standart Fin)");
    EXPECT_EQ(dialogs.messages[0].caption, "End Message");
    EXPECT_FALSE(Run().Timer1().isActive());
    EXPECT_EQ(Status(ui::PanelMode), "");
    EXPECT_EQ(Status(ui::PanelLine), "line 4");
    EXPECT_EQ(Status(ui::PanelBuffer), "buf 3");
    EXPECT_EQ(Label(10), "20.000");
    EXPECT_TRUE(MemoText().contains("終わりだよー(Standart Fin)"));
    // 10 mm of rapid, 10 mm at 10 mm/s and a half circle of radius 5 at 10 mm/s.
    EXPECT_NEAR(form.Drawer().TotalTime(), 10.0 / 166.0 + 1.0 + 3.14159265 * 5.0 / 10.0, 0.01);
    EXPECT_TRUE(form.Action(Tool::Start)->isEnabled());
    EXPECT_TRUE(form.ListBox1()->count() > 0);
}

TEST_F(MainWindowTest, AMotionIsAnimatedAtItsFeedBeforeTheNextBlock) {
    Open("G01 X10. F60\nG01 X20.\n");  // 1 mm/s
    form.CmStart();                    // opens the file
    Tick();                            // starts the first motion
    EXPECT_TRUE(form.Drawer().Busy());
    EXPECT_EQ(form.Runner().Motion().X, 10.0);
    for (int i = 0; i < 5; ++i)
        Tick(1.0);
    EXPECT_NEAR(form.Drawer().MovingPoint().x, 5.0, 1e-9);
    EXPECT_EQ(Label(4), "5.000");
    EXPECT_EQ(form.Runner().Motion().X, 10.0);  // the next block waits
    for (int i = 0; i < 7; ++i)
        Tick(1.0);
    EXPECT_EQ(form.Runner().Motion().X, 20.0);
}

TEST_F(MainWindowTest, SingleBlockRunsOneStepPerStart) {
    Open("G00 X1.\nG00 X2.\nG00 X3.\n");
    form.CheckBox1()->setChecked(true);
    form.CmStart();  // the file is opened
    RunToStop();
    EXPECT_EQ(Run().LineCounter(), 0);
    for (double x : {1.0, 2.0, 3.0}) {
        form.CmStart();
        EXPECT_EQ(form.Runner().Motion().X, x);
        const int ticks = RunToStop(0.001);
        EXPECT_GT(ticks, 1) << "the motion is animated before the run stops";
        EXPECT_FALSE(form.Drawer().Busy());
        EXPECT_EQ(Run().LineCounter(), static_cast<int>(x));
    }
    EXPECT_TRUE(dialogs.messages.empty());
}

TEST_F(MainWindowTest, DryRunUsesItsSpeedAndAOneMillisecondTimer) {
    settings.dryRunSpeed = 5000;
    Open("G01 X10. F100\nG01 X20.\n");
    form.CheckBox2()->setChecked(true);
    EXPECT_NEAR(form.Drawer().FeedSpeed(), 5000.0 / 60.0, 1e-12);
    form.CmStart();
    EXPECT_EQ(Run().Timer1().interval(), 1);
    Tick();
    EXPECT_NEAR(form.Drawer().FeedSpeed(), 5000.0 / 60.0, 1e-12);
    EXPECT_EQ(Label(24), "F5000.0");
    form.CheckBox2()->setChecked(false);
    EXPECT_NEAR(form.Drawer().FeedSpeed(), 100.0 / 60.0, 1e-12);
    EXPECT_EQ(Run().Timer1().interval(), 10);
}

TEST_F(MainWindowTest, M0AndM1StopTheRun) {
    Open("G00 X1.\nM00\nG00 X2.\nM01\nG00 X3.\nM30\n");
    form.CmStart();
    RunToStop();
    EXPECT_EQ(Status(ui::PanelMode), "M0停止");
    EXPECT_EQ(form.Runner().Motion().X, 1.0);
    EXPECT_TRUE(dialogs.messages.empty());
    EXPECT_TRUE(MemoText().contains("M0停止"));
    EXPECT_TRUE(form.Action(Tool::Start)->isEnabled());

    form.CmStart();
    RunToStop();
    EXPECT_EQ(Status(ui::PanelMode), "M1停止");
    EXPECT_EQ(form.Runner().Motion().X, 2.0);

    form.CmStart();
    RunToStop();
    EXPECT_EQ(form.Runner().Motion().X, 3.0);
    EXPECT_EQ(Messages(), QStringList{"終わりだよー(Standart Fin)"});
}

TEST_F(MainWindowTest, M1DoesNotStopWhenTheSettingIsOff) {
    settings.stopAtM1 = false;
    Open("G00 X1.\nM01\nG00 X2.\nM30\n");
    form.CmStart();
    RunToStop();
    EXPECT_EQ(form.Runner().Motion().X, 2.0);
    EXPECT_EQ(Messages(), QStringList{"終わりだよー(Standart Fin)"});
}

TEST_F(MainWindowTest, AnM0StopWaitsUntilTheMotionOfItsBlockIsDrawn) {
    Open("G01 X10. F60 M00\nG00 X20.\n");
    form.CmStart();
    Tick();
    EXPECT_TRUE(form.Drawer().Busy());
    EXPECT_TRUE(Run().Running());
    for (int i = 0; i < 9; ++i)
        Tick(1.0);
    EXPECT_TRUE(Run().Running()) << "stopped before the motion was drawn";
    Tick(1.5);
    EXPECT_FALSE(Run().Running());
    EXPECT_EQ(Status(ui::PanelMode), "M0停止");
    EXPECT_NEAR(form.Drawer().MovingPoint().x, 10.0, 1e-9);
    EXPECT_EQ(form.Runner().Motion().X, 10.0);
}

TEST_F(MainWindowTest, TimerZeroStepsOnceAndWaitsForStop) {
    settings.timerIntervalMs = 0;
    Open("G01 X10. F60\nG01 X20.\n");
    form.CmStart();
    EXPECT_FALSE(Run().Timer1().isActive());
    EXPECT_TRUE(Run().Running());
    EXPECT_EQ(form.FrameCheck1()->TreeView1()->topLevelItemCount(), 1);  // one step: the open
    EXPECT_TRUE(form.Action(Tool::Stop)->isEnabled());
    form.CmStop();
    EXPECT_FALSE(Run().Running());
    EXPECT_EQ(Status(ui::PanelMode), "");
    EXPECT_TRUE(MemoText().contains("Stop!"));

    form.CmStart();  // the first motion starts and nothing animates it
    EXPECT_TRUE(form.Drawer().Busy());
    form.CmStop();
    form.CmStart();  // the unfinished motion is drawn whole before the next block
    EXPECT_EQ(form.Runner().Motion().X, 20.0);
    EXPECT_NEAR(form.Drawer().TotalTime(), 10.0, 1e-9);
}

TEST_F(MainWindowTest, AStartWhileAMotionIsUnfinishedResumesIt) {
    Open("G01 X10. F60\nG01 X20.\n");
    form.CmStart();
    Tick();
    Tick(2.0);
    form.CmStop();
    clock.now += 100;  // time spent stopped does not count
    form.CmStart();
    EXPECT_EQ(form.Runner().Motion().X, 10.0) << "a new motion went to a busy drawer";
    Tick(1.0);
    EXPECT_NEAR(form.Drawer().MovingPoint().x, 3.0, 1e-9);
}

TEST_F(MainWindowTest, QuickRunDrawsWithoutCountingLines) {
    Open(kThreeMoves);
    form.ListBox1()->AddLine("old line\n");
    form.CmQuic();
    EXPECT_EQ(Status(ui::PanelMode), "速効中");
    EXPECT_EQ(form.ListBox1()->count(), 0);
    EXPECT_TRUE(form.Drawer().Quick());
    EXPECT_FALSE(form.Action(Tool::Quick)->isEnabled());
    EXPECT_TRUE(form.Action(Tool::Stop)->isEnabled());
    QuickToStop();
    EXPECT_EQ(Messages(), QStringList{"終わりだよー(Standart Fin)"});
    EXPECT_EQ(Run().LineCounter(), 0);
    EXPECT_EQ(Status(ui::PanelLine), "line 0");
    EXPECT_EQ(Status(ui::PanelBuffer), "buf 3");
    EXPECT_LE(form.ListBox1()->count(), 1);  // only the line the run ended on
    EXPECT_EQ(Label(10), "20.000");          // panels refreshed at the end
    EXPECT_EQ(Label(30), "0:0.000000");      // a quick run adds no time
    EXPECT_EQ(form.StaticText2()->text(), "M30");
    EXPECT_FALSE(form.Drawer().Quick());
    EXPECT_FALSE(form.Drawer().Vertices().Empty());
}

TEST_F(MainWindowTest, StopWorksDuringAQuickRunAndTheWindowStaysResponsive) {
    Open("#1=0\nWHILE[#1LT200000]DO1\nG01 X#1 F100\n#1=#1+1\nEND1\nM30\n");
    form.CmQuic();
    QElapsedTimer turn;
    turn.start();
    QApplication::processEvents();  // one turn of the event loop runs one slice
    EXPECT_LT(turn.elapsed(), 1000);
    const int32_t drawn = Run().MotionCounter();
    EXPECT_GT(drawn, 0);
    EXPECT_TRUE(Run().Running());
    form.Action(Tool::Stop)->trigger();
    EXPECT_FALSE(Run().Running());
    EXPECT_FALSE(Run().QuickRun().IsActive());
    for (int i = 0; i < 5; ++i)
        QApplication::processEvents();
    EXPECT_EQ(Run().MotionCounter(), drawn);
    EXPECT_TRUE(dialogs.messages.empty());
    EXPECT_EQ(Status(ui::PanelBuffer), QStringLiteral("buf %1").arg(drawn));
}

TEST_F(MainWindowTest, AMacroLoopWithoutBlocksDoesNotFreezeATick) {
    Open("DO1\nEND1\n");
    form.CmStart();
    Tick();  // returns although the loop never ends
    EXPECT_TRUE(Run().Running());
    form.CmStop();
}

TEST_F(MainWindowTest, ErrorsEndTheRunWithTheirMessage) {
    Open("G00 X1.\nG03 X1. R5.\n");  // an R arc back to its start has no centre
    form.CmStart();
    RunToStop();
    EXPECT_EQ(Messages(), QStringList{"失敗しましたmemory err!"});
    EXPECT_FALSE(Run().Running());
}

TEST_F(MainWindowTest, AMissingProgramIsReportedAndCannotRun) {
    form.OpenProgram(folder.Path() + QStringLiteral("/missing.nc"));
    EXPECT_EQ(Messages(), QStringList{"Can not Fined the file!"});
    EXPECT_EQ(dialogs.messages[0].caption, "error");
    EXPECT_FALSE(form.Action(Tool::Start)->isEnabled());
    EXPECT_FALSE(form.Action(Tool::Quick)->isEnabled());
    EXPECT_EQ(form.windowTitle(), "Nc");
}

TEST_F(MainWindowTest, ResetReloadsAndClearsTheMacroVariables) {
    Open("#101=7.\nG00 X1.\nM30\n");
    form.CmStart();
    RunToStop();
    EXPECT_EQ(form.Runner().Machine()->CommonVariables[1], 7.0);
    form.Action(Tool::Reset)->trigger();
    EXPECT_EQ(form.Runner().Machine()->CommonVariables[1], 0.0);
    EXPECT_EQ(Status(ui::PanelLine), "line 0");
    EXPECT_TRUE(MemoText().contains("Reset!"));
}

}  // namespace
}  // namespace cuttrace::test
