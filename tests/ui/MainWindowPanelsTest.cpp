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
#include "ui/LineList.h"
#include "ui/MacroVariablesWindow.h"
#include "ui/ModalStatePanel.h"
#include "ui/SettingsDialog.h"
#include "ui/StatusPanels.h"
#include "ui/ViewPane.h"
#include "ui/support/MainWindowFixture.h"

namespace cuttrace::test {
namespace {

using ui::Tool;

bool HasPixel(const QImage& image, QRgb colour) {
    for (int y = 0; y < image.height(); ++y) {
        const auto* line = reinterpret_cast<const QRgb*>(image.constScanLine(y));
        for (int x = 0; x < image.width(); ++x) {
            if ((line[x] & 0xFFFFFF) == (colour & 0xFFFFFF)) return true;
        }
    }
    return false;
}

const QImage& Screen(ui::MainWindow& form, int view) {
    return form.FrameView(view)->PaintBox1()->DrawBox3D1()->ScreenImage();
}

TEST_F(MainWindowTest, StatusBarTexts) {
    EXPECT_EQ(form.windowTitle(), "Nc");
    EXPECT_EQ(Status(ui::PanelScale), "scall 1.000000");
    EXPECT_EQ(Status(ui::PanelRotation), "XY");
    EXPECT_EQ(Status(ui::PanelBuffer), "buf 0");
    EXPECT_EQ(Status(ui::PanelMode), "");
    EXPECT_EQ(form.StaticText2()->text(), "X0Y0Z0");
    Open("G00 X1.\n");
    EXPECT_EQ(Status(ui::PanelLine), "line 0");
    form.FrameView(1)->ApplyViewPreset(3);  // every repaint is the main window's full redraw
    EXPECT_EQ(Status(ui::PanelRotation), "X-45Y32Z28");
    form.FrameView(1)->PaintBox1()->Zoomup();
    form.RedrawAll();
    EXPECT_EQ(Status(ui::PanelScale), "scall 1.300000");
}

TEST_F(MainWindowTest, LayoutButtonCyclesThroughTheFourLayouts) {
    EXPECT_EQ(form.LayoutNumber(), 0);
    EXPECT_TRUE(form.FrameView(2)->isHidden());
    form.Action(Tool::ViewMulti)->trigger();
    EXPECT_EQ(form.LayoutNumber(), 1);
    EXPECT_FALSE(form.FrameView(2)->isHidden());
    EXPECT_TRUE(form.FrameView(3)->isHidden());
    EXPECT_EQ(form.FrameView(2)->Rotation(), (Point3{-90, 0, 0}));
    form.Action(Tool::ViewMulti)->trigger();
    EXPECT_EQ(form.LayoutNumber(), 2);
    EXPECT_TRUE(form.FrameView(2)->isHidden());
    EXPECT_FALSE(form.FrameView(3)->isHidden());
    EXPECT_EQ(form.FrameView(3)->Rotation(), (Point3{0, -90, -90}));
    form.Action(Tool::ViewMulti)->trigger();
    EXPECT_EQ(form.LayoutNumber(), 3);
    for (int v = 1; v <= 4; ++v)
        EXPECT_FALSE(form.FrameView(v)->isHidden()) << v;
    EXPECT_EQ(form.FrameView(3)->Rotation(), (Point3{-45, 32, 28}));
    EXPECT_EQ(form.FrameView(4)->Rotation(), (Point3{0, -90, -90}));
    // Drawing goes to view 1, then 4, 3 and 2.
    ASSERT_EQ(form.Views().VisibleCount(), 4);
    EXPECT_EQ(form.Views().Visible(1), form.FrameView(4));
    EXPECT_EQ(form.Views().Visible(3), form.FrameView(2));
    form.Action(Tool::ViewMulti)->trigger();
    EXPECT_EQ(form.LayoutNumber(), 0);
    EXPECT_EQ(form.Views().VisibleCount(), 1);
    form.Action(Tool::ViewMulti)->trigger();
    form.Action(Tool::ViewSingle)->trigger();
    EXPECT_EQ(form.LayoutNumber(), 0);
}

TEST_F(MainWindowTest, TheDrawnPathShowsAndSurvivesAZoom) {
    Open("G90 G01 X30. Y20. F600\nG01 X-30.\nM30\n");
    form.CmQuic();
    QuickToStop();
    const QRgb red = qRgb(255, 0, 0);  // the feed colour 0x0000FF
    EXPECT_TRUE(HasPixel(Screen(form, 1), red));
    // The picture buffer is empty (NonBufering), yet a zoom redraws the drawer's points.
    EXPECT_TRUE(form.Picture().empty());
    form.FrameView(1)->ZoomButtonClick(form.FrameView(1)->tbnZUp());
    EXPECT_TRUE(HasPixel(Screen(form, 1), red));
    form.Action(Tool::Clear)->trigger();
    EXPECT_FALSE(HasPixel(Screen(form, 1), red));
    EXPECT_EQ(Status(ui::PanelBuffer), "buf 0");
}

TEST_F(MainWindowTest, ModalPanelFollowsTheRun) {
    Open("G90 G17 G01 X1. Y2. Z3. F250\nG01 X2.\n");
    form.CmStart();
    Tick();
    EXPECT_EQ(Label(13), "G1");
    EXPECT_EQ(Label(14), "G90");
    EXPECT_EQ(Label(15), "G0");
    EXPECT_EQ(Label(16), "G80");
    EXPECT_EQ(Label(17), "G17");
    EXPECT_EQ(Label(24), "F250.0");
    EXPECT_EQ(Label(10), "1.000");
    EXPECT_EQ(Label(12), "3.000");
    Tick(0.5);
    EXPECT_EQ(Label(4), "0.557");  // "Now" moves with the animation: 0.5 s of 3.742 at 4.167/s
    form.CmStop();
    form.Drawer().SetTotalTime(125.5);
    form.FrameCheck1()->ShowProgress();
    EXPECT_EQ(Label(30), "2:5.500000");
}

TEST_F(MainWindowTest, MacroWindowShowsTheVariablesOfACall) {
    settings.dialect = 1;  // FANUC
    folder.Write(QStringLiteral("O9010.nc"), "#101=1.5\nG00 X#1\nM99\n");
    Open("G65 P9010 A2.\nG00 X5.\nM30\n");
    form.Action(Tool::Macro)->trigger();
    EXPECT_TRUE(form.MacroForm()->isVisible());
    EXPECT_FALSE(form.Action(Tool::Macro)->isEnabled());
    form.CmStart();
    for (int i = 0; i < 100 && form.Runner().Motion().X != 2.0; ++i)
        Tick();
    ASSERT_EQ(form.Runner().Motion().X, 2.0);
    EXPECT_EQ(form.MacroForm()->LocalText(1, 0), "2.00000000");
    EXPECT_EQ(form.MacroForm()->LocalText(0, 0), "0.00000000");
    EXPECT_EQ(form.MacroForm()->CommonText(0, 1), "#101 1.500000");
    form.MacroForm()->close();
    EXPECT_TRUE(form.Action(Tool::Macro)->isEnabled());
}

TEST_F(MainWindowTest, NestingTreeAfterTwoCallsAndOneReturn) {
    settings.dialect = 1;
    folder.Write(QStringLiteral("O2001.nc"), "M98 P2002\nG00 X1.\nM99\n");
    folder.Write(QStringLiteral("O2002.nc"), "G00 X2.\nM99\n");
    Open("M98 P2001\nM30\n");
    form.CmStart();
    QTreeWidget* tree = form.FrameCheck1()->TreeView1();
    for (int i = 0; i < 100 && form.Runner().Motion().X != 2.0; ++i)
        Tick();
    ASSERT_EQ(tree->topLevelItemCount(), 1);
    QTreeWidgetItem* root = tree->topLevelItem(0);
    ASSERT_EQ(root->childCount(), 1);
    ASSERT_EQ(root->child(0)->childCount(), 1);
    EXPECT_TRUE(root->child(0)->text(0).contains(QStringLiteral("2001")));
    EXPECT_TRUE(root->child(0)->child(0)->text(0).contains(QStringLiteral("2002")));
    for (int i = 0; i < 100 && form.Runner().Motion().X != 1.0; ++i)
        Tick();
    ASSERT_EQ(root->childCount(), 1);
    EXPECT_EQ(root->child(0)->childCount(), 0);
    RunToStop();  // the program end closes the main program without a return
    EXPECT_EQ(tree->topLevelItemCount(), 1);
    form.Action(Tool::Reset)->trigger();
    EXPECT_EQ(tree->topLevelItemCount(), 0);
}

TEST_F(MainWindowTest, SettingsDialogReplacesTheMachineEvenWhenCancelled) {
    Open("#101=3.\nM30\n");
    form.CmStart();
    RunToStop();
    const NcMachine* before = form.Runner().Machine();
    EXPECT_EQ(before->CommonVariables[1], 3.0);
    int shown = 0;
    dialogs.onExec = [&](QDialog&) {
        ++shown;
        return QDialog::Rejected;
    };
    form.Action(Tool::Settings)->trigger();
    EXPECT_EQ(shown, 1);
    EXPECT_EQ(form.Runner().Machine()->CommonVariables[1], 0.0);

    dialogs.onExec = [&](QDialog& dialog) {
        auto& settingsForm = static_cast<ui::SettingsDialog&>(dialog);
        settingsForm.RadioItem(2)->setChecked(true);
        settingsForm.ok();
        return settingsForm.result();
    };
    form.Set();
    EXPECT_EQ(settings.dialect, 2);
}

TEST_F(MainWindowTest, SettingsCannotChangeDuringARun) {
    Open("G01 X10. F60\n");
    form.CmStart();
    EXPECT_FALSE(form.Action(Tool::Settings)->isEnabled());
    form.CmStop();
    EXPECT_TRUE(form.Action(Tool::Settings)->isEnabled());
}

TEST_F(MainWindowTest, ProgramLinesShowAsShiftJisOrLatin1) {
    Open("(\x83\x65\x83\x58\x83\x67)\n(\xff\xfe)\r\nG00 X1.\n");
    form.CheckBox1()->setChecked(true);
    for (int i = 0; i < 3; ++i) {
        form.CmStart();
        RunToStop();
    }
    ASSERT_GE(form.ListBox1()->count(), 2);
    EXPECT_EQ(form.ListBox1()->item(0)->text(), "(テスト)");
    EXPECT_EQ(form.ListBox1()->item(1)->text(), QString::fromLatin1("(\xff\xfe)"));
}

TEST_F(MainWindowTest, TheMemoShowsTheLogAndKeepsTheLastLines) {
    DiagnosticLog::Log("hello from the log");
    EXPECT_TRUE(MemoText().contains("hello from the log"));
    for (int i = 0; i < ui::MainWindow::kMemoLines + 100; ++i)
        DiagnosticLog::LogInt("line ", i);
    EXPECT_EQ(form.Memo1()->document()->blockCount(), ui::MainWindow::kMemoLines);
    EXPECT_TRUE(
        MemoText().endsWith(QStringLiteral("line %1").arg(ui::MainWindow::kMemoLines + 99)));
}

TEST_F(MainWindowTest, DroppedFilesAreLoadedInTurn) {
    QList<QUrl> urls;
    for (const char* name : {"a.nc", "b.nc", "c.nc"}) {
        urls << QUrl::fromLocalFile(
            QString::fromStdString(folder.Write(QString::fromLatin1(name), "G00 X1.\n")));
    }
    urls << QUrl(QStringLiteral("https://example.org/d.nc"));  // not a local file: ignored
    form.DropFiles(urls);
    EXPECT_TRUE(form.windowTitle().endsWith(QStringLiteral("c.nc")));
    EXPECT_TRUE(form.Action(Tool::Start)->isEnabled());
}

}  // namespace
}  // namespace cuttrace::test

namespace cuttrace::test {
namespace {

TEST_F(MainWindowTest, FanOutPassesAColourOnceUntilThePensMayHaveChanged) {
    ui::ViewFanout& views = form.Views();
    Canvas3D& pen = form.FrameView(1)->PaintBox1()->DrawBox3D1()->DrawCanvas();
    views.DrawColor(0x123456);
    EXPECT_EQ(pen.PenColor(), 0x123456u);
    pen.SetPenColor(0xABCDEF);  // not through the fan-out
    views.DrawColor(0x123456);
    EXPECT_EQ(pen.PenColor(), 0xABCDEFu);
    views.ForgetColour();
    views.DrawColor(0x123456);
    EXPECT_EQ(pen.PenColor(), 0x123456u);
    pen.SetPenColor(0xABCDEF);
    form.tbnViewMultchClick();  // a new layout: the pens of newly shown views are unknown
    views.DrawColor(0x123456);
    EXPECT_EQ(pen.PenColor(), 0x123456u);
    EXPECT_EQ(form.FrameView(2)->PaintBox1()->DrawBox3D1()->DrawCanvas().PenColor(), 0x123456u);
}

}  // namespace
}  // namespace cuttrace::test
