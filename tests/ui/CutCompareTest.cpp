// Compare in the viewer: a second program cut on the same stock colours where the two leave
// different material, and the largest difference is said.
#include <QAction>
#include <QCoreApplication>
#include <QElapsedTimer>

#include "surfaces/ScrollableSurface3D.h"
#include "surfaces/Surface3D.h"
#include "ui/CutCompare.h"
#include "ui/CutView.h"
#include "ui/ProgramText.h"
#include "ui/Translation.h"
#include "ui/UiTexts.h"
#include "ui/ViewPane.h"
#include "ui/support/MainWindowFixture.h"

namespace cuttrace::test {
namespace {

using CutCompareTest = MainWindowTest;

// The same slot along Y0 from X-10 to X10 after a feed over the corners that sizes the stock
// (X, Y -22..22 with the 2 mm cutter): 3.25 deep in the first program (the stock's bottom
// is 1 below that), 2 in the second.
std::string Slot(const char* depth) {
    return std::string(
               "G90 G00 X-20. Y-20. Z5.\nG00 Z1.\nG01 Z1. F300\nG01 X20. Y20.\n"
               "G00 Z5.\nG00 X-10. Y0\nG00 Z1.\nG01 Z") +
           depth + "\nG01 X10.\nG00 Z5.\nM30\n";
}

TEST_F(CutCompareTest, ASecondProgramColoursTheDifferenceAndSaysTheLargest) {
    Open(Slot("-3.25"));
    window.Cut().SetCutMode(window.View(0), true);
    window.StartQuickRun();
    QuickToStop();
    window.Cut().CatchUp();
    window.RedrawAll();
    Surface3D* surface = window.View(0)->Panel()->Surface();
    const PixelPoint inSlot = surface->ToPixel({0.0, 0.0, -3.25});
    const PixelPoint aside = surface->ToPixel({0.0, 15.0, 1.0});
    const QRgb slotAlone = surface->ScreenImage().pixel(inSlot.x, inSlot.y);

    const std::string second = folder.Write(QStringLiteral("shallow.nc"), Slot("-2."));
    dialogs.fileAnswers = {ui::PathToQString(second)};
    const std::size_t messages = dialogs.messages.size();
    window.findChild<QAction*>(QStringLiteral("compareAction"))->trigger();
    // Cut on a worker: nothing is said until it is done.
    ui::CutCompare* compare = Find<ui::CutCompare>("cutCompare");
    EXPECT_EQ(dialogs.messages.size(), messages);
    compare->Finish();
    ASSERT_EQ(dialogs.messages.size(), messages + 1);
    // 3.25 - 2 in the slot.
    EXPECT_TRUE(dialogs.messages.back().text.contains(QStringLiteral("1.250 (shallow.nc) X")))
        << dialogs.messages.back().text.toStdString();
    const QRgb slotCompared = surface->ScreenImage().pixel(inSlot.x, inSlot.y);
    const QRgb asideCompared = surface->ScreenImage().pixel(aside.x, aside.y);
    EXPECT_NE(slotCompared, slotAlone);
    EXPECT_NE(slotCompared, asideCompared) << "the slot differs, the top beside it does not";

    window.findChild<QAction*>(QStringLiteral("compareEndAction"))->trigger();
    EXPECT_EQ(surface->ScreenImage().pixel(inSlot.x, inSlot.y), slotAlone);

    // Nothing to compare with a missing program: said, and the views stay as they are.
    dialogs.fileAnswers = {folder.Path() + QStringLiteral("/none.nc")};
    window.findChild<QAction*>(QStringLiteral("compareAction"))->trigger();
    EXPECT_TRUE(dialogs.messages.back().text.contains(QStringLiteral("none.nc")));
    EXPECT_EQ(window.Cut().Comparison(), nullptr);
}

TEST_F(CutCompareTest, AStoppedOrOutdatedComparisonIsNotApplied) {
    Open(Slot("-3.25"));
    window.Cut().SetCutMode(window.View(0), true);
    window.StartQuickRun();
    QuickToStop();
    ui::CutCompare* compare = Find<ui::CutCompare>("cutCompare");
    const QString second = ui::PathToQString(folder.Write(QStringLiteral("b.nc"), Slot("-2.")));
    const std::size_t messages = dialogs.messages.size();

    // A program that would run for minutes, stopped by "End the comparison": it ends at
    // once, and nothing is applied or said.
    const QString endless = ui::PathToQString(folder.Write(
        QStringLiteral("loop.nc"), "#1=0\nWHILE[#1LT90000000]DO1\n#1=#1+1\nEND1\nM30\n"));
    QElapsedTimer took;
    took.start();
    ASSERT_TRUE(compare->CompareWith(endless));
    EXPECT_TRUE(compare->Busy());
    window.findChild<QAction*>(QStringLiteral("compareEndAction"))->trigger();
    EXPECT_FALSE(compare->Busy());
    compare->Finish();
    EXPECT_LT(took.elapsed(), 20000) << "the stopped run was waited for to its end";
    QCoreApplication::processEvents();
    EXPECT_EQ(dialogs.messages.size(), messages);
    EXPECT_EQ(window.Cut().Comparison(), nullptr);

    // Another program opened meanwhile: its cut is not the one compared with.
    ASSERT_TRUE(compare->CompareWith(second));
    Open("G90 G00 X0 Y0 Z5.\nG01 Z-1. F100\nG01 X30.\nM30\n", QStringLiteral("other.nc"));
    compare->Finish();
    ASSERT_EQ(dialogs.messages.size(), messages + 1);
    EXPECT_TRUE(dialogs.messages.back().text.contains(ui::Tr(ui::kCompareStale)))
        << dialogs.messages.back().text.toStdString();
    EXPECT_EQ(window.Cut().Comparison(), nullptr);

    // Still under way when the window goes: stopped and waited for.
    window.StartQuickRun();
    QuickToStop();
    ASSERT_TRUE(compare->CompareWith(endless));
}

}  // namespace
}  // namespace cuttrace::test
