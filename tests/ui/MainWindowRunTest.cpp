#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QLabel>
#include <QTimer>
#include <QTreeWidget>
#include <vector>

#include "drawing/PathDrawer.h"
#include "support/VectorState.h"
#include "ui/LineList.h"
#include "ui/ModalStatePanel.h"
#include "ui/ProgramText.h"
#include "ui/StatusPanels.h"
#include "ui/ViewPane.h"
#include "ui/support/MainWindowFixture.h"

namespace cuttrace::test {
namespace {

using MainWindowRunTest = MainWindowTest;

using ui::Tool;

constexpr char kThreeMoves[] = "G90 G00 X0 Y0 Z10.\nG01 X10. F600\nG02 X20. I5.\nM30\n";

TEST_F(MainWindowRunTest, ARunGoesToItsEndMessage) {
    const std::string path = Open(kThreeMoves);
    EXPECT_EQ(window.windowTitle(), "Nc - " + QString::fromStdString(path) + " [MELDAS]");
    EXPECT_EQ(Status(ui::PanelLine), "line 0");
    EXPECT_TRUE(window.Action(Tool::Start)->isEnabled());
    EXPECT_FALSE(window.Action(Tool::Stop)->isEnabled());

    window.Start();
    EXPECT_TRUE(Run().Running());
    EXPECT_TRUE(Run().Timer().isActive());
    EXPECT_EQ(Run().Timer().interval(), 10);
    EXPECT_EQ(Status(ui::PanelMode), "実行中");
    EXPECT_FALSE(window.Action(Tool::Start)->isEnabled());
    EXPECT_TRUE(window.Action(Tool::Stop)->isEnabled());
    EXPECT_FALSE(window.Action(Tool::Open)->isEnabled());

    RunToStop();
    ASSERT_EQ(dialogs.messages.size(), 1u);
    EXPECT_EQ(dialogs.messages[0].text, "終わりだよー(Standart Fin)");
    EXPECT_EQ(dialogs.messages[0].caption, "End Message");
    EXPECT_FALSE(Run().Timer().isActive());
    EXPECT_EQ(Status(ui::PanelMode), "");
    EXPECT_EQ(Status(ui::PanelLine), "line 4");
    EXPECT_EQ(Status(ui::PanelBuffer), "buf 3");
    EXPECT_EQ(Field(ui::ModalField::NextX), "20.000");
    EXPECT_TRUE(LogText().contains("終わりだよー(Standart Fin)"));
    // 10 mm of rapid, 10 mm at 10 mm/s and a half circle of radius 5 at 10 mm/s.
    EXPECT_NEAR(window.Drawer().TotalTime(), 10.0 / 166.0 + 1.0 + 3.14159265 * 5.0 / 10.0, 0.01);
    EXPECT_TRUE(window.Action(Tool::Start)->isEnabled());
    EXPECT_TRUE(ProgramLines()->count() > 0);
}

TEST_F(MainWindowRunTest, EveryEventIsHandledWithTheVectorUppersClean) {
    // The toolkit's code may leave them in use; the program's SSE code would wait on them.
    if (!CanSeeVectorUppers()) GTEST_SKIP() << "the processor does not report them";
    bool clean = false;
    QTimer::singleShot(0, &window, [&clean] { clean = !VectorUppersInUse(); });
    DirtyVectorUppers();
    QApplication::processEvents();
    EXPECT_TRUE(clean);
}

TEST_F(MainWindowRunTest, AMotionIsAnimatedAtItsFeedBeforeTheNextBlock) {
    Open("G01 X10. F60\nG01 X20.\n");  // 1 mm/s
    window.Start();                    // opens the file
    Tick();                            // starts the first motion
    EXPECT_TRUE(window.Drawer().Busy());
    EXPECT_EQ(window.Runner().Motion().x, 10.0);
    for (int i = 0; i < 5; ++i)
        Tick(1.0);
    EXPECT_NEAR(window.Drawer().ToolPosition().x, 5.0, 1e-9);
    EXPECT_EQ(Field(ui::ModalField::NowX), "5.000");
    EXPECT_EQ(window.Runner().Motion().x, 10.0);  // the next block waits
    for (int i = 0; i < 7; ++i)
        Tick(1.0);
    EXPECT_EQ(window.Runner().Motion().x, 20.0);
}

TEST_F(MainWindowRunTest, SingleBlockStepsToTheNextMoveOrToEveryLineWithItsSetting) {
    // After each press: the last motion's X and #101; one more press ends the program.
    struct Press {
        double x;
        double common101;
    };
    const struct {
        bool everyLine;
        std::vector<Press> presses;
    } cases[] = {
        {true, {{0, 1}, {0, 1}, {0, 1}, {1, 1}, {1, 2}, {2, 2}, {2, 2}}},  // the last: M30
        {false, {{1, 1}, {2, 2}}},
    };
    for (const auto& c : cases) {
        settings.singleBlockEveryLine = c.everyLine;
        dialogs.messages.clear();
        Open("#101=1.\n(a comment)\nG90 G17\nG00 X1.\n#101=2.\nG01 X2. F600\nM30\n");
        SingleBlockBox()->setChecked(true);
        for (const Press& press : c.presses) {
            window.Start();  // the first press opens the file and runs the first block
            RunToStop(0.001);
            EXPECT_FALSE(window.Drawer().Busy());
            EXPECT_EQ(window.Runner().Motion().x, press.x) << "every line " << c.everyLine;
            EXPECT_EQ(window.Runner().Machine()->Variables().Common(101), press.common101);
            EXPECT_EQ(Status(ui::PanelMode), "シングルブロック: 軌画開始で次のブロックを実行");
            EXPECT_TRUE(dialogs.messages.empty());
        }
        window.Start();
        RunToStop();
        EXPECT_EQ(Messages(), QStringList{"終わりだよー(Standart Fin)"});
        SingleBlockBox()->setChecked(false);
    }
}

TEST_F(MainWindowRunTest, StartAfterAnErrorBeginsAgainUnlessTheUserContinues) {
    // Choice 0 starts again from the top (a new machine: #101 counts 1 again and the run
    // fails at the same block); choice 1 goes on after the failing block to the end.
    for (const int choice : {0, 1}) {
        dialogs.choice = choice;
        dialogs.messages.clear();
        Open("#101=#101+1.\nG00 X1.\nG03 X1. R5.\nG00 X7.\nM30\n");
        window.Start();
        RunToStop();
        ASSERT_EQ(Messages(), QStringList{"失敗しましたmemory err!"});
        EXPECT_EQ(dialogs.choices.back(),
                  (QStringList{"先頭からやり直す", "このブロックの次から続ける"}));
        EXPECT_EQ(Run().RestartPending(), choice == 0);
        window.Start();
        RunToStop();
        EXPECT_EQ(window.Runner().Machine()->Variables().Common(101), 1.0);
        EXPECT_EQ(window.Runner().Motion().x, choice == 0 ? 1.0 : 7.0);
        EXPECT_EQ(Messages().last(),
                  choice == 0 ? "失敗しましたmemory err!" : "終わりだよー(Standart Fin)");
    }
}

TEST_F(MainWindowRunTest, AnEndlessProgramStopsAtTheStepLimitInBothKindsOfRun) {
    settings.maxSteps = 500;
    for (const bool quick : {false, true}) {
        dialogs.messages.clear();
        Open("#1=1\nWHILE[#1EQ1]DO1\nG00 X1.\nG00 X2.\nEND1\n");
        quick ? window.StartQuickRun() : window.Start();
        quick ? QuickToStop() : static_cast<void>(RunToStop(0.01, 10000));
        EXPECT_EQ(Messages(), QStringList{"500 ステップで止めました (ステップ上限)"}) << quick;
        EXPECT_TRUE(LogText().contains("500 ステップで止めました"));
        EXPECT_FALSE(Run().Running());
        EXPECT_TRUE(window.Action(Tool::Start)->isEnabled());
    }
}

TEST_F(MainWindowRunTest, ThePathStopsBeingStoredAtItsMemoryBoundAndClearGivesItBack) {
    // 30000 motions; their picture buffer alone takes more than 1 MB.
    const char* program = "#1=0\nWHILE[#1LT30000]DO1\nG01 X#1 F100\n#1=#1+1\nEND1\nM30\n";
    settings.noMotionBuffer = false;
    settings.pathMemoryMb = 1;
    Open(program);
    window.StartQuickRun();
    QuickToStop();
    EXPECT_EQ(Run().MotionCounter(), 30000) << "drawing goes on";
    EXPECT_FALSE(Run().StoringPath());
    const std::size_t stored = window.Drawer().Vertices().Count();
    EXPECT_GT(stored, 0u);
    EXPECT_LT(stored, 30000u);
    EXPECT_LT(window.Picture().size(), 30000u);
    EXPECT_EQ(LogText().count(QStringLiteral("redraws will be incomplete")), 1);

    window.Action(Tool::Clear)->trigger();
    EXPECT_EQ(window.Drawer().Vertices().Bytes(), 0u);
    EXPECT_EQ(window.Picture().capacity(), 0u);
    EXPECT_TRUE(Run().StoringPath());

    settings.pathMemoryMb = 0;  // a quarter of the memory
    Open(program);
    window.StartQuickRun();
    QuickToStop();
    EXPECT_TRUE(Run().StoringPath());
    EXPECT_EQ(window.Picture().size(), 30000u);
}

TEST_F(MainWindowRunTest, DryRunUsesItsSpeedAndAOneMillisecondTimer) {
    settings.dryRunSpeed = 5000;
    Open("G01 X10. F100\nG01 X20.\n");
    DryRunBox()->setChecked(true);
    EXPECT_NEAR(window.Drawer().FeedSpeed(), 5000.0 / 60.0, 1e-12);
    window.Start();
    EXPECT_EQ(Run().Timer().interval(), 1);
    Tick();
    EXPECT_NEAR(window.Drawer().FeedSpeed(), 5000.0 / 60.0, 1e-12);
    EXPECT_EQ(Field(ui::ModalField::Feed), "F5000.0");
    DryRunBox()->setChecked(false);
    EXPECT_NEAR(window.Drawer().FeedSpeed(), 100.0 / 60.0, 1e-12);
    EXPECT_EQ(Run().Timer().interval(), 10);
}

TEST_F(MainWindowRunTest, M0AndM1StopTheRun) {
    Open("G00 X1.\nM00\nG00 X2.\nM01\nG00 X3.\nM30\n");
    window.Start();
    RunToStop();
    EXPECT_EQ(Status(ui::PanelMode), "M0停止");
    EXPECT_EQ(window.Runner().Motion().x, 1.0);
    EXPECT_TRUE(dialogs.messages.empty());
    EXPECT_TRUE(LogText().contains("M0停止"));
    EXPECT_TRUE(window.Action(Tool::Start)->isEnabled());

    window.Start();
    RunToStop();
    EXPECT_EQ(Status(ui::PanelMode), "M1停止");
    EXPECT_EQ(window.Runner().Motion().x, 2.0);

    window.Start();
    RunToStop();
    EXPECT_EQ(window.Runner().Motion().x, 3.0);
    EXPECT_EQ(Messages(), QStringList{"終わりだよー(Standart Fin)"});
}

TEST_F(MainWindowRunTest, EveryExecutedStopBlockStopsOnceTheFirstOfAStartToo) {
    // Without a timer each Start executes one step: the M00 is the first block of a Start.
    settings.timerIntervalMs = 0;
    Open("G00 X1.\nM00\nG00 X2.\nM30\n");
    for (int i = 0; i < 2; ++i) {  // the open, then the first motion
        window.Start();
        window.Stop();
    }
    window.Start();
    EXPECT_FALSE(Run().Running()) << "the M00 of the Start's first block was passed by";
    EXPECT_EQ(Status(ui::PanelMode), "M0停止");

    // An M00 in a called program stops once, not again after the return.
    settings.timerIntervalMs = 10;
    settings.dialect = 1;
    folder.Write(QStringLiteral("O3001.nc"), "G00 X4.\nM00\nM99\n");
    Open("M98 P3001\nG00 X5.\nM30\n");
    window.Start();
    RunToStop();
    EXPECT_EQ(Status(ui::PanelMode), "M0停止");
    window.Start();
    RunToStop();
    EXPECT_EQ(window.Runner().Motion().x, 5.0);
    EXPECT_EQ(Messages(), QStringList{"終わりだよー(Standart Fin)"});
}

TEST_F(MainWindowRunTest, M1DoesNotStopWhenTheSettingIsOff) {
    settings.stopAtM1 = false;
    Open("G00 X1.\nM01\nG00 X2.\nM30\n");
    window.Start();
    RunToStop();
    EXPECT_EQ(window.Runner().Motion().x, 2.0);
    EXPECT_EQ(Messages(), QStringList{"終わりだよー(Standart Fin)"});
}

TEST_F(MainWindowRunTest, AnM0StopWaitsUntilTheMotionOfItsBlockIsDrawn) {
    Open("G01 X10. F60 M00\nG00 X20.\n");
    window.Start();
    Tick();
    EXPECT_TRUE(window.Drawer().Busy());
    EXPECT_TRUE(Run().Running());
    for (int i = 0; i < 9; ++i)
        Tick(1.0);
    EXPECT_TRUE(Run().Running()) << "stopped before the motion was drawn";
    Tick(1.5);
    EXPECT_FALSE(Run().Running());
    EXPECT_EQ(Status(ui::PanelMode), "M0停止");
    EXPECT_NEAR(window.Drawer().ToolPosition().x, 10.0, 1e-9);
    EXPECT_EQ(window.Runner().Motion().x, 10.0);
}

TEST_F(MainWindowRunTest, TimerZeroStepsOnceAndWaitsForStop) {
    settings.timerIntervalMs = 0;
    Open("G01 X10. F60\nG01 X20.\n");
    window.Start();
    EXPECT_FALSE(Run().Timer().isActive());
    EXPECT_TRUE(Run().Running());
    EXPECT_EQ(CallTree()->topLevelItemCount(), 1);  // one step: the open
    EXPECT_TRUE(window.Action(Tool::Stop)->isEnabled());
    window.Stop();
    EXPECT_FALSE(Run().Running());
    EXPECT_EQ(Status(ui::PanelMode), "");
    EXPECT_TRUE(LogText().contains("Stop!"));

    window.Start();  // the first motion starts and nothing animates it
    EXPECT_TRUE(window.Drawer().Busy());
    window.Stop();
    window.Start();  // the unfinished motion is drawn whole before the next block
    EXPECT_EQ(window.Runner().Motion().x, 20.0);
    EXPECT_NEAR(window.Drawer().TotalTime(), 10.0, 1e-9);
}

TEST_F(MainWindowRunTest, AStartWhileAMotionIsUnfinishedResumesIt) {
    Open("G01 X10. F60\nG01 X20.\n");
    window.Start();
    Tick();
    Tick(2.0);
    window.Stop();
    clock.now += 100;  // time spent stopped does not count
    window.Start();
    EXPECT_EQ(window.Runner().Motion().x, 10.0) << "a new motion went to a busy drawer";
    Tick(1.0);
    EXPECT_NEAR(window.Drawer().ToolPosition().x, 3.0, 1e-9);
}

TEST_F(MainWindowRunTest, QuickRunDrawsWithoutCountingLines) {
    Open(kThreeMoves);
    ProgramLines()->AddLine("old line\n");
    window.StartQuickRun();
    EXPECT_EQ(Status(ui::PanelMode), "速効中");
    EXPECT_EQ(ProgramLines()->count(), 0);
    EXPECT_TRUE(window.Drawer().Quick());
    EXPECT_FALSE(window.Action(Tool::QuickRun)->isEnabled());
    EXPECT_TRUE(window.Action(Tool::Stop)->isEnabled());
    QuickToStop();
    EXPECT_EQ(Messages(), QStringList{"終わりだよー(Standart Fin)"});
    EXPECT_EQ(Run().LineCounter(), 0);
    EXPECT_EQ(Status(ui::PanelLine), "line 0");
    EXPECT_EQ(Status(ui::PanelBuffer), "buf 3");
    EXPECT_LE(ProgramLines()->count(), 1);              // only the line the run ended on
    EXPECT_EQ(Field(ui::ModalField::NextX), "20.000");  // panels refreshed at the end
    // The time the animation would take: 10 mm of rapid at 10000/min, 10 mm at 10 mm/s and
    // a half circle of radius 5 at 10 mm/s.
    EXPECT_EQ(Field(ui::ModalField::Time), "0:2.630796");
    EXPECT_EQ(CurrentBlock()->text(), "M30");
    EXPECT_FALSE(window.Drawer().Quick());
    EXPECT_FALSE(window.Drawer().Vertices().Empty());
}

TEST_F(MainWindowRunTest, StopWorksDuringAQuickRunAndTheWindowStaysResponsive) {
    settings.noMotionBuffer = false;
    Open("#1=0\nWHILE[#1LT200000]DO1\nG01 X#1 F100\n#1=#1+1\nEND1\nM30\n");
    window.StartQuickRun();
    QElapsedTimer turn;
    turn.start();
    QApplication::processEvents();  // one turn of the event loop runs one slice
    EXPECT_LT(turn.elapsed(), 1000);
    const int32_t drawn = Run().MotionCounter();
    EXPECT_GT(drawn, 0);
    EXPECT_TRUE(Run().Running());
    window.Action(Tool::Stop)->trigger();
    EXPECT_FALSE(Run().Running());
    EXPECT_FALSE(Run().QuickScheduler().IsActive());
    for (int i = 0; i < 5; ++i)
        QApplication::processEvents();
    EXPECT_EQ(Run().MotionCounter(), drawn);
    EXPECT_TRUE(dialogs.messages.empty());
    EXPECT_EQ(Status(ui::PanelBuffer), QStringLiteral("buf %1").arg(drawn));
    // The workers drew and stored every motion run before the stop: a redraw changes nothing.
    EXPECT_EQ(window.Picture().size(), static_cast<std::size_t>(drawn));
    const QImage stopped = window.View(0)->Panel()->Surface()->ScreenImage().copy();
    window.RedrawAll();
    EXPECT_EQ(window.View(0)->Panel()->Surface()->ScreenImage(), stopped);
}

TEST_F(MainWindowRunTest, AMacroLoopWithoutBlocksDoesNotFreezeATick) {
    Open("DO1\nEND1\n");
    window.Start();
    Tick();  // returns although the loop never ends
    EXPECT_TRUE(Run().Running());
    window.Stop();
}

TEST_F(MainWindowRunTest, ErrorsEndTheRunWithTheirMessage) {
    Open("G00 X1.\nG03 X1. R5.\n");  // an R arc back to its start has no centre
    window.Start();
    RunToStop();
    EXPECT_EQ(Messages(), QStringList{"失敗しましたmemory err!"});
    EXPECT_FALSE(Run().Running());
}

TEST_F(MainWindowRunTest, AMissingOrUnreadableProgramIsNamedAndCannotRun) {
    const QString missing = folder.Path() + QStringLiteral("/missing.nc");
    window.OpenProgram(missing);
    EXPECT_EQ(Messages(), QStringList{"Can not Fined the file!\n" + missing});
    EXPECT_EQ(dialogs.messages[0].caption, "error");
    EXPECT_FALSE(window.Action(Tool::Start)->isEnabled());
    EXPECT_FALSE(window.Action(Tool::QuickRun)->isEnabled());
    EXPECT_EQ(window.windowTitle(), "Nc");

    // A folder, and a file without read permission (which this user may read anyway).
    QStringList unreadable{folder.Path()};
    const QString locked =
        ui::PathToQString(folder.Write(QStringLiteral("locked.nc"), "G00 X1.\n"));
    QFile::setPermissions(locked, QFileDevice::Permissions());
    if (QFile file(locked); !file.open(QIODevice::ReadOnly)) unreadable << locked;
    for (const QString& path : unreadable) {
        dialogs.messages.clear();
        window.OpenProgram(path);
        EXPECT_EQ(Messages(), QStringList{"ファイルはありますが読めません (権限がない?)\n" + path});
        EXPECT_FALSE(window.Action(Tool::Start)->isEnabled());
    }
}

TEST_F(MainWindowRunTest, TheOpenDialogShowsEveryNcProgramFirst) {
    dialogs.fileAnswers.push_back(QString());
    window.Action(Tool::Open)->trigger();
    ASSERT_EQ(dialogs.fileRequests.size(), 1u);
    const QString first = dialogs.fileRequests[0].filter.split(QStringLiteral(";;")).front();
    const QString patterns = first.section(u'(', 1).section(u')', 0, 0);
    const QStringList filters = patterns.split(u' ');
    for (const char* name :
         {"a.nc", "a.NCD", "b.tap", "c.txt", "d.eia", "e.min", "f.prg", "O1234", "O12345678"}) {
        EXPECT_TRUE(QDir::match(filters, QString::fromLatin1(name))) << name;
    }
    for (const char* name : {"picture.ncv", "notes.doc", "O12"})
        EXPECT_FALSE(QDir::match(filters, QString::fromLatin1(name))) << name;
}

TEST_F(MainWindowRunTest, ResetReloadsAndClearsTheMacroVariables) {
    Open("#101=7.\nG00 X1.\nM30\n");
    window.Start();
    RunToStop();
    EXPECT_EQ(window.Runner().Machine()->Variables().Common(101), 7.0);
    window.Action(Tool::Reset)->trigger();
    EXPECT_EQ(window.Runner().Machine()->Variables().Common(101), 0.0);
    EXPECT_EQ(Status(ui::PanelLine), "line 0");
    EXPECT_TRUE(LogText().contains("Reset!"));
}

}  // namespace
}  // namespace cuttrace::test
