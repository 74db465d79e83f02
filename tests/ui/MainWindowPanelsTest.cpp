#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QLabel>
#include <QPlainTextEdit>
#include <QRadioButton>
#include <QToolButton>
#include <QTreeWidget>
#include <QUrl>

#include "machines/DiagnosticLog.h"
#include "support/TempFiles.h"
#include "ui/LineList.h"
#include "ui/MacroVariablesWindow.h"
#include "ui/ModalStatePanel.h"
#include "ui/PathPicker.h"
#include "ui/SettingsDialog.h"
#include "ui/StatusPanels.h"
#include "ui/ViewArea.h"
#include "ui/ViewPane.h"
#include "ui/support/MainWindowFixture.h"

namespace cuttrace::test {
namespace {

using MainWindowPanelsTest = MainWindowTest;

using ui::Tool;

bool HasPixel(const QImage& image, QRgb color) {
    for (int y = 0; y < image.height(); ++y) {
        const auto* line = reinterpret_cast<const QRgb*>(image.constScanLine(y));
        for (int x = 0; x < image.width(); ++x) {
            if ((line[x] & 0xFFFFFF) == (color & 0xFFFFFF)) return true;
        }
    }
    return false;
}

const QImage& Screen(ui::MainWindow& window, int view) {
    return window.View(view)->Panel()->Surface()->ScreenImage();
}

TEST_F(MainWindowPanelsTest, StatusBarTexts) {
    EXPECT_EQ(window.windowTitle(), "Nc");
    EXPECT_EQ(Status(ui::PanelScale), "scall 1.000000");
    EXPECT_EQ(Status(ui::PanelRotation), "XY");
    EXPECT_EQ(Status(ui::PanelBuffer), "buf 0");
    EXPECT_EQ(Status(ui::PanelMode), "");
    EXPECT_EQ(CurrentBlock()->text(), "X0Y0Z0");
    Open("G00 X1.\n");
    EXPECT_EQ(Status(ui::PanelLine), "line 0");
    window.View(0)->ApplyViewPreset(3);  // every repaint is the main window's full redraw
    EXPECT_EQ(Status(ui::PanelRotation), "X-45Y32Z28");
    window.View(0)->Panel()->ZoomIn();
    window.RedrawAll();
    EXPECT_EQ(Status(ui::PanelScale), "scall 1.300000");
}

TEST_F(MainWindowPanelsTest, LayoutButtonCyclesThroughTheFourLayouts) {
    EXPECT_EQ(window.LayoutNumber(), 0);
    EXPECT_TRUE(window.View(1)->isHidden());
    window.Action(Tool::CycleLayout)->trigger();
    EXPECT_EQ(window.LayoutNumber(), 1);
    EXPECT_FALSE(window.View(1)->isHidden());
    EXPECT_TRUE(window.View(2)->isHidden());
    EXPECT_EQ(window.View(1)->PresetRotation(), (Point3{-90, 0, 0}));
    window.Action(Tool::CycleLayout)->trigger();
    EXPECT_EQ(window.LayoutNumber(), 2);
    EXPECT_TRUE(window.View(1)->isHidden());
    EXPECT_FALSE(window.View(2)->isHidden());
    EXPECT_EQ(window.View(2)->PresetRotation(), (Point3{0, -90, -90}));
    window.Action(Tool::CycleLayout)->trigger();
    EXPECT_EQ(window.LayoutNumber(), 3);
    for (int v = 0; v < 4; ++v)
        EXPECT_FALSE(window.View(v)->isHidden()) << v;
    EXPECT_EQ(window.View(2)->PresetRotation(), (Point3{-45, 32, 28}));
    EXPECT_EQ(window.View(3)->PresetRotation(), (Point3{0, -90, -90}));
    // Drawing goes to view 0, then 3, 2 and 1.
    ASSERT_EQ(window.Fanout().VisibleCount(), 4);
    EXPECT_EQ(window.Fanout().Visible(1), window.View(3));
    EXPECT_EQ(window.Fanout().Visible(3), window.View(1));
    window.Action(Tool::CycleLayout)->trigger();
    EXPECT_EQ(window.LayoutNumber(), 0);
    EXPECT_EQ(window.Fanout().VisibleCount(), 1);
    window.Action(Tool::CycleLayout)->trigger();
    window.Action(Tool::SingleView)->trigger();
    EXPECT_EQ(window.LayoutNumber(), 0);
}

TEST_F(MainWindowPanelsTest, EachLayoutSharesTheRoomEvenlyAmongItsViews) {
    window.resize(1100, 800);
    window.show();
    QApplication::processEvents();
    // Views that share a column or a row (in the order of the layouts 1, 2 and 3).
    const auto about = [](int a, int b) { return std::abs(a - b) <= 8; };
    for (int layout = 1; layout <= 3; ++layout) {
        window.Action(Tool::CycleLayout)->trigger();
        QApplication::processEvents();
        ASSERT_EQ(window.LayoutNumber(), layout);
        const QSize v0 = window.View(0)->size();

        if (layout != 2) {
            EXPECT_TRUE(about(window.View(1)->width(), v0.width()))
                << layout << ": " << window.View(1)->width() << " beside " << v0.width();
        }
        if (layout >= 2) {
            EXPECT_TRUE(about(window.View(2)->height(), v0.height()))
                << layout << ": " << window.View(2)->height() << " under " << v0.height();
        }
        if (layout == 3) {
            EXPECT_TRUE(about(window.View(3)->height(), window.View(1)->height()));
        }
    }
}

TEST_F(MainWindowPanelsTest, TheDrawnPathShowsAndSurvivesAZoom) {
    Open("G90 G01 X30. Y20. F600\nG01 X-30.\nM30\n");
    window.StartQuickRun();
    QuickToStop();
    const QRgb red = qRgb(255, 0, 0);  // the feed color 0x0000FF
    EXPECT_TRUE(HasPixel(Screen(window, 0), red));
    // The picture buffer is empty (NonBufering), yet a zoom redraws the drawer's points.
    EXPECT_TRUE(window.Picture().empty());
    window.View(0)->ZoomIn();
    EXPECT_TRUE(HasPixel(Screen(window, 0), red));
    window.Action(Tool::Clear)->trigger();
    EXPECT_FALSE(HasPixel(Screen(window, 0), red));
    EXPECT_EQ(Status(ui::PanelBuffer), "buf 0");
}

TEST_F(MainWindowPanelsTest, ThreadedSerialAndRedrawnPicturesAreTheSameAndOneRedrawServesAllViews) {
    // Lines, arcs, a drilling cycle between them and rapids: the redraw after the run draws
    // every pixel the run drew, and nothing else.
    Open(
        "G90 G00 X-40. Y-30. Z5.\nG01 Z-1. F600\nX30. Y20.\nG02 X40. Y10. I5. J-5.\n"
        "G81 X0. Y0. Z-8. R2.\nG80 G00 Z5.\nG01 X-20. Y25.\nG03 X-30. Y15. I-10.\nM30\n");
    while (window.LayoutNumber() != 3)
        window.CycleViewLayout();
    window.View(1)->ApplyViewPreset(3);
    QApplication::processEvents();
    // The quick run draws through the worker thread; the same run drawn on the window's
    // own thread, and the redraw after it, give the same pictures.
    // The drawer's time and stored path are the same too.
    std::vector<QImage> run;
    double seconds = 0.0;
    std::size_t points = 0;
    for (bool threads : {true, false}) {
        window.Fanout().SetThreadingAllowed(threads);
        window.Reset();
        window.StartQuickRun();
        QuickToStop();
        for (int v = 0; v < 4; ++v) {
            if (threads) run.push_back(Screen(window, v).copy());
            EXPECT_EQ(Screen(window, v), run[static_cast<std::size_t>(v)]) << "view " << v;
        }
        if (threads) {
            seconds = window.Drawer().TotalTime();
            points = window.Drawer().Vertices().Count();
        }
        EXPECT_EQ(window.Drawer().TotalTime(), seconds);
        EXPECT_EQ(window.Drawer().Vertices().Count(), points);
    }
    EXPECT_GT(seconds, 0.0);
    window.RedrawAll();
    for (int v = 0; v < 4; ++v)
        EXPECT_EQ(Screen(window, v), run[static_cast<std::size_t>(v)]) << "view " << v;

    // A resize asks each of the four views for a repaint; one redraw serves them all.
    const int before = window.RedrawCount();
    window.resize(window.width() + 40, window.height() + 30);
    for (int i = 0; i < 3; ++i)
        QApplication::processEvents();
    EXPECT_EQ(window.RedrawCount(), before + 1);
}

TEST_F(MainWindowPanelsTest, TheViewsAQuickRunLeavesBehindCatchUpWhenItStops) {
    // A quick run in four views draws the first one; the others are redrawn from the stored
    // path when the run stops (at an M0, at its end: a large path in the background), at a
    // redraw during the run (a zoom), and when the path stops being stored (every view then
    // draws what follows as it comes). In one view or four, the pictures are those of the
    // same runs drawn on the window's own thread.
    std::string program = "G90 G00 X-40. Y-30. Z5.\nG01 Z-1. F600\n";
    for (int i = 0; i < 24000; ++i) {
        program += "X" + std::to_string(i % 83 - 41) + ". Y" + std::to_string(i % 59 - 29) + ".\n";
        if (i == 5000) program += "G02 I5.\nG01 M0\n";
    }
    Open(program + "M30\n");
    window.View(1)->ApplyViewPreset(3);
    settings.noMotionBuffer = false;
    for (const int layout : {0, 3})
        for (const int memoryMb : {0, 1}) {  // a quarter of the memory; a bound passed mid-run
            while (window.LayoutNumber() != layout)
                window.CycleViewLayout();
            settings.pathMemoryMb = memoryMb;
            std::vector<QImage> serial;
            for (const bool threads : {false, true}) {
                window.Fanout().SetThreadingAllowed(threads);
                window.SetBackgroundRedrawPoints(threads ? 1 : 250000);
                window.Reset();
                for (const bool toEnd : {false, true}) {
                    window.StartQuickRun();
                    if (toEnd) {  // a short slice, then a redraw in the middle of the run
                        Run().QuickScheduler().SetSliceMilliseconds(1);
                        Run().QuickScheduler().RunSlice();
                        Run().QuickScheduler().SetSliceMilliseconds(20);
                        ASSERT_TRUE(Run().Running());
                        window.RedrawAll();
                    }
                    QuickToStop();
                    if (threads && memoryMb == 0 && layout == 3) {
                        EXPECT_TRUE(window.RedrawPending());
                    }
                    window.SettleRedraw();
                    for (int v = 0; v < 4; ++v) {
                        if (!threads) serial.push_back(Screen(window, v).copy());
                        EXPECT_EQ(Screen(window, v), serial[(toEnd ? 4u : 0u) + std::size_t(v)])
                            << layout << ", " << memoryMb << " MB, " << (toEnd ? "end" : "M0")
                            << ", view " << v;
                    }
                }
                EXPECT_EQ(Run().StoringPath(), memoryMb == 0);
            }
        }
}

TEST_F(MainWindowPanelsTest, IdleTurnsAfterARunMakeThePickIndexSoNoPickWaitsForIt) {
    std::string program = "G90 G01 F600\n";
    for (int i = 0; i < 5000; ++i)
        program += "X" + std::to_string(i % 2) + ". Y" + std::to_string(i) + ".\n";
    Open(program + "M30\n");
    window.StartQuickRun();
    QuickToStop();
    const VertexList& path = window.Drawer().Vertices();
    for (int turn = 0; turn < 1000 && !path.PrepareForPicking(0); ++turn)
        QApplication::processEvents();
    EXPECT_TRUE(path.PrepareForPicking(0));  // made without a pick
}

TEST_F(MainWindowPanelsTest, AClickPicksTheNearestMotionAndShiftClickMeasures) {
    const std::string path = Open("G90 G00 X0 Y0 Z0\nG01 X30. F600\nG01 Y20.\nM30\n");
    window.StartQuickRun();
    QuickToStop();
    Surface3D* surface = window.View(0)->Panel()->Surface();
    ui::PathPicker& picker = window.Picker();
    qint64 pickedLine = 0;
    QString pickedText;
    QObject::connect(&picker, &ui::PathPicker::motionPicked,
                     [&](const QString&, qint64, qint64 line, const QString& text) {
                         pickedLine = line;
                         pickedText = text;
                     });
    // Nothing within 5 pixels of an empty corner.
    EXPECT_FALSE(picker.PickAt(*surface, 2, 2, false));
    EXPECT_EQ(picker.Text(), "5 ピクセル以内に何も描かれていません");

    // Three pixels above the first feed line: its block, on line 2 of the file.
    const PixelPoint onFirst = surface->ToPixel({10.0, 0.0, 0.0});
    ASSERT_TRUE(picker.PickAt(*surface, onFirst.x, onFirst.y - 3, false));
    EXPECT_EQ(picker.PickedMotion(), 0u);
    EXPECT_EQ(picker.PickedPoint(), (Point3{0, 0, 0}));  // the nearer end
    EXPECT_EQ(pickedLine, 2);
    EXPECT_EQ(pickedText, "G01 X30. F600");
    EXPECT_EQ(picker.Text(),
              QStringLiteral("G01 X30. F600    (%1、2 行目)").arg(QString::fromStdString(path)));
    EXPECT_EQ(surface->ScreenImage().pixel(onFirst.x, onFirst.y), qRgb(255, 200, 0));

    // Shift-click near the top of the second line: from (0, 0, 0) to its end (30, 20, 0).
    const PixelPoint onSecond = surface->ToPixel({30.0, 15.0, 0.0});
    ASSERT_TRUE(picker.PickAt(*surface, onSecond.x + 2, onSecond.y, true));
    EXPECT_EQ(picker.PickedMotion(), 1u);
    EXPECT_EQ(picker.Text(), "距離 36.056    dX 30.000  dY 20.000  dZ 0.000");
    EXPECT_EQ(pickedLine, 3);
    // The highlight moved to the second motion and survives a redraw.
    window.RedrawAll();
    EXPECT_EQ(surface->ScreenImage().pixel(onSecond.x, onSecond.y), qRgb(255, 200, 0));
    EXPECT_NE(surface->ScreenImage().pixel(onFirst.x, onFirst.y), qRgb(255, 200, 0));
}

TEST_F(MainWindowPanelsTest, TheCutterShowsWhileAMotionIsAnimated) {
    Open("G01 X30. F60\n");
    window.Start();
    Tick();
    Tick(2.0);
    ASSERT_TRUE(window.Drawer().Busy());
    Surface3D* box = window.View(0)->Panel()->Surface();
    const PixelPoint at = box->ToPixel(window.Drawer().ToolPosition());
    EXPECT_EQ(Screen(window, 0).pixel(at.x, at.y) & 0xFFFFFF, 0xC0C0C0u);
}

TEST_F(MainWindowPanelsTest, OpeningAProgramStartsACleanDrawingUnlessTheSettingKeepsIt) {
    for (const bool keep : {false, true}) {
        settings.keepDrawingOnOpen = keep;
        Open("G01 X30. Y20. F600\n");
        window.Start();
        RunToStop();
        ASSERT_TRUE(HasPixel(Screen(window, 0), qRgb(255, 0, 0)));
        ASSERT_NE(Field(ui::ModalField::Time), "0:0.000000");
        Open("G01 X-30. Y0 F600\n", QStringLiteral("second.nc"));
        EXPECT_EQ(HasPixel(Screen(window, 0), qRgb(255, 0, 0)), keep) << "keep " << keep;
        EXPECT_EQ(window.Drawer().Vertices().Empty(), !keep);
        // The run's figures start afresh either way.
        EXPECT_EQ(Field(ui::ModalField::Time), "0:0.000000");
        EXPECT_EQ(Field(ui::ModalField::NowX), "0.000");
        EXPECT_EQ(window.Drawer().CurrentPosition(), (Point3{0, 0, 0}));
        window.Start();
        RunToStop();
        // The new path starts at the origin, not where the last program ended.
        EXPECT_NEAR(window.Drawer().TotalTime(), 3.0, 1e-9);  // 30 mm at 600 mm/min
    }
}

TEST_F(MainWindowPanelsTest, ModalPanelFollowsTheRun) {
    Open("G90 G17 G01 X1. Y2. Z3. F250\nG01 X2.\n");
    window.Start();
    Tick();
    EXPECT_EQ(Field(ui::ModalField::MotionMode), "G1");
    EXPECT_EQ(Field(ui::ModalField::DistanceMode), "G90");
    EXPECT_EQ(Field(ui::ModalField::ReferenceReturn), "G0");
    EXPECT_EQ(Field(ui::ModalField::CannedCycle), "G80");
    EXPECT_EQ(Field(ui::ModalField::Plane), "G17");
    EXPECT_EQ(Field(ui::ModalField::Feed), "F250.0");
    EXPECT_EQ(Field(ui::ModalField::NextX), "1.000");
    EXPECT_EQ(Field(ui::ModalField::NextZ), "3.000");
    Tick(0.5);
    EXPECT_EQ(Field(ui::ModalField::NowX),
              "0.557");  // "Now" moves with the animation: 0.5 s of 3.742 at 4.167/s
    window.Stop();
    window.Drawer().SetTotalTime(125.5);
    ModalPanel()->ShowProgress();
    EXPECT_EQ(Field(ui::ModalField::Time), "2:5.500000");
}

TEST_F(MainWindowPanelsTest, MacroWindowShowsTheVariablesOfACall) {
    settings.dialect = 1;  // FANUC
    folder.Write(QStringLiteral("O9010.nc"), "#101=1.5\nG00 X#1\nM99\n");
    Open("G65 P9010 A2.\nG00 X5.\nM30\n");
    window.Action(Tool::MacroVariables)->trigger();
    EXPECT_TRUE(MacroWindow()->isVisible());
    EXPECT_FALSE(window.Action(Tool::MacroVariables)->isEnabled());
    window.Start();
    for (int i = 0; i < 100 && window.Runner().Motion().x != 2.0; ++i)
        Tick();
    ASSERT_EQ(window.Runner().Motion().x, 2.0);
    EXPECT_EQ(MacroWindow()->LocalText(1, 0), "2.00000000");
    EXPECT_EQ(MacroWindow()->LocalText(0, 0), "");  // #0 is always vacant
    EXPECT_EQ(MacroWindow()->CommonText(0, 1), "#101 1.500000");
    MacroWindow()->close();
    EXPECT_TRUE(window.Action(Tool::MacroVariables)->isEnabled());
}

TEST_F(MainWindowPanelsTest, VariablesFileAndKeptCommonsReachEveryRun) {
    settings.dialect = 1;
    settings.variablesFile = folder.Write(QStringLiteral("vars.txt"), "#1=4.\n#100=2.\n");
    Open("G00 X#1 Y#100\n#500=#500+1\nM30\n");
    window.Start();
    RunToStop();
    EXPECT_EQ(window.Runner().Motion().x, 4.0);
    EXPECT_EQ(window.Runner().Motion().y, 2.0);
    Run().LoadProgram();  // a reset makes a new machine; #500 is kept, the file read again
    window.Start();
    RunToStop();
    ASSERT_NE(window.Runner().Machine(), nullptr);
    EXPECT_EQ(window.Runner().Machine()->Variables().Common(500), 2.0);
    window.Action(Tool::MacroVariables)->trigger();
    EXPECT_EQ(MacroWindow()->KeptTexts().at(0), "#500 2.000000");
    // A malformed file: a message that names the line, and nothing runs.
    folder.Write(QStringLiteral("vars.txt"), "#1=4.\n#2=\n");
    Run().LoadProgram();
    EXPECT_FALSE(Run().ProgramLoaded());
    ASSERT_FALSE(Messages().isEmpty());
    EXPECT_TRUE(Messages().last().contains("vars.txt: line 2")) << Messages().last().toStdString();
}

TEST_F(MainWindowPanelsTest, PrintedRecordsReachTheMemoAndTheEndOfThePrintFile) {
    settings.dialect = 1;
    settings.printFile = folder.PathOf(QStringLiteral("printed.txt"));
    Open("POPEN\nDPRNT[X5*Y6]\nPCLOS\nM30\n");
    for (int run = 0; run < 2; ++run) {
        window.Start();
        RunToStop();
    }
    EXPECT_EQ(test::ReadWholeFile(settings.printFile), "X5 Y6\nX5 Y6\n");  // kept, not replaced
    EXPECT_TRUE(LogText().contains("X5 Y6"));
    // A print file that cannot be written is said once; the records still show.
    settings.printFile = folder.PathOf(QStringLiteral("none/printed.txt"));
    for (int run = 0; run < 2; ++run) {
        window.Start();
        RunToStop();
    }
    EXPECT_EQ(LogText().count("print file not written"), 1);
}

TEST_F(MainWindowPanelsTest, NestingTreeAfterTwoCallsAndOneReturn) {
    settings.dialect = 1;
    folder.Write(QStringLiteral("O2001.nc"), "M98 P2002\nG00 X1.\nM99\n");
    folder.Write(QStringLiteral("O2002.nc"), "G00 X2.\nM99\n");
    Open("M98 P2001\nM30\n");
    window.Start();
    QTreeWidget* tree = CallTree();
    for (int i = 0; i < 100 && window.Runner().Motion().x != 2.0; ++i)
        Tick();
    ASSERT_EQ(tree->topLevelItemCount(), 1);
    QTreeWidgetItem* root = tree->topLevelItem(0);
    ASSERT_EQ(root->childCount(), 1);
    ASSERT_EQ(root->child(0)->childCount(), 1);
    EXPECT_TRUE(root->child(0)->text(0).contains(QStringLiteral("2001")));
    EXPECT_TRUE(root->child(0)->child(0)->text(0).contains(QStringLiteral("2002")));
    for (int i = 0; i < 100 && window.Runner().Motion().x != 1.0; ++i)
        Tick();
    ASSERT_EQ(root->childCount(), 1);
    EXPECT_EQ(root->child(0)->childCount(), 0);
    RunToStop();  // the program end closes the main program without a return
    EXPECT_EQ(tree->topLevelItemCount(), 1);
    window.Action(Tool::Reset)->trigger();
    EXPECT_EQ(tree->topLevelItemCount(), 0);
}

TEST_F(MainWindowPanelsTest, OnlyAnotherDialectChosenWithOkReplacesTheMachine) {
    const std::string path = Open("#101=3.\nM30\n");
    window.Start();
    RunToStop();
    EXPECT_EQ(Status(ui::PanelDialect), "MELDAS");
    EXPECT_EQ(window.windowTitle(), "Nc - " + QString::fromStdString(path) + " [MELDAS]");
    const auto choose = [&](const char* button, int result) {
        dialogs.onExec = [=](QDialog& dialog) {
            auto& settingsDialog = static_cast<ui::SettingsDialog&>(dialog);
            settingsDialog.findChild<QRadioButton*>(QString::fromLatin1(button))->setChecked(true);
            if (result == QDialog::Accepted) settingsDialog.ApplyAndAccept();
            return result;
        };
        window.Action(Tool::Settings)->trigger();
        return window.Runner().Machine()->Variables().Common(101);
    };
    EXPECT_EQ(choose("fanucButton", QDialog::Rejected), 3.0) << "Cancel keeps the variables";
    EXPECT_EQ(settings.dialect, 0);
    EXPECT_EQ(choose("meldasButton", QDialog::Accepted), 3.0) << "the same dialect";
    EXPECT_EQ(choose("tosnacButton", QDialog::Accepted), 0.0) << "a new dialect machine";
    EXPECT_EQ(settings.dialect, 2);
    EXPECT_EQ(Status(ui::PanelDialect), "TOSNAC");
    EXPECT_TRUE(window.windowTitle().endsWith(" [TOSNAC]"));
}

TEST_F(MainWindowPanelsTest, AMacroErrorSaysWhichDialectReadTheProgram) {
    Open("#1=[1+\nM30\n");
    window.Start();
    RunToStop();
    ASSERT_EQ(Messages().size(), 1);
    EXPECT_EQ(Messages()[0], "macro error!\n(MELDAS として読みました。別の機種は設定で選べます)");
}

TEST_F(MainWindowPanelsTest, AMacroAlarmEndsTheRunWithItsOwnText) {
    Open("#3000=12(TOOL BROKEN)\nM30\n");
    window.Start();
    RunToStop();
    ASSERT_EQ(Messages().size(), 1);
    EXPECT_EQ(Messages()[0], "MACRO ALARM 12 TOOL BROKEN");  // MELDAS numbering
}

TEST_F(MainWindowPanelsTest, SettingsCannotChangeDuringARun) {
    Open("G01 X10. F60\n");
    window.Start();
    EXPECT_FALSE(window.Action(Tool::Settings)->isEnabled());
    window.Stop();
    EXPECT_TRUE(window.Action(Tool::Settings)->isEnabled());
}

TEST_F(MainWindowPanelsTest, ProgramLinesShowAsShiftJisOrLatin1) {
    Open("(\x83\x65\x83\x58\x83\x67)\n(\xff\xfe)\r\nG00 X1.\n");
    SingleBlockBox()->setChecked(true);
    for (int i = 0; i < 3; ++i) {
        window.Start();
        RunToStop();
    }
    ASSERT_GE(ProgramLines()->count(), 2);
    EXPECT_EQ(ProgramLines()->item(0)->text(), "(テスト)");
    EXPECT_EQ(ProgramLines()->item(1)->text(), QString::fromLatin1("(\xff\xfe)"));
}

TEST_F(MainWindowPanelsTest, TheMemoShowsTheLogAndKeepsTheLastLines) {
    DiagnosticLog::Log("hello from the log");
    EXPECT_TRUE(LogText().contains("hello from the log"));
    for (int i = 0; i < ui::ViewArea::kLogLines + 100; ++i)
        DiagnosticLog::LogInt("line ", i);
    EXPECT_EQ(LogView()->document()->blockCount(), ui::ViewArea::kLogLines);
    EXPECT_TRUE(LogText().endsWith(QStringLiteral("line %1").arg(ui::ViewArea::kLogLines + 99)));
}

TEST_F(MainWindowPanelsTest, DroppedFilesAreLoadedInTurn) {
    QList<QUrl> urls;
    for (const char* name : {"a.nc", "b.nc", "c.nc"}) {
        urls << QUrl::fromLocalFile(
            QString::fromStdString(folder.Write(QString::fromLatin1(name), "G00 X1.\n")));
    }
    urls << QUrl(QStringLiteral("https://example.org/d.nc"));  // not a local file: ignored
    window.DropFiles(urls);
    EXPECT_TRUE(window.windowTitle().endsWith(QStringLiteral("c.nc [MELDAS]")));
    EXPECT_TRUE(window.Action(Tool::Start)->isEnabled());
}

}  // namespace
}  // namespace cuttrace::test

namespace cuttrace::test {
namespace {

TEST_F(MainWindowPanelsTest, FanOutPassesAColorOnceUntilThePensMayHaveChanged) {
    ui::ViewFanout& views = window.Fanout();
    Canvas3D& pen = window.View(0)->Panel()->Surface()->TargetCanvas();
    views.SetColor(0x123456);
    EXPECT_EQ(pen.PenColor(), 0x123456u);
    pen.SetPenColor(0xABCDEF);  // not through the fan-out
    views.SetColor(0x123456);
    EXPECT_EQ(pen.PenColor(), 0xABCDEFu);
    views.InvalidatePenColor();
    views.SetColor(0x123456);
    EXPECT_EQ(pen.PenColor(), 0x123456u);
    pen.SetPenColor(0xABCDEF);
    window.CycleViewLayout();  // a new layout: the pens of newly shown views are unknown
    views.SetColor(0x123456);
    EXPECT_EQ(pen.PenColor(), 0x123456u);
    EXPECT_EQ(window.View(1)->Panel()->Surface()->TargetCanvas().PenColor(), 0x123456u);
}

}  // namespace
}  // namespace cuttrace::test
