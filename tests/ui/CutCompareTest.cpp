// Compare in the viewer: a second program cut on the same stock colours where the two leave
// different material, and the largest difference is said.
#include <QAction>
#include <QCoreApplication>

#include "surfaces/ScrollableSurface3D.h"
#include "surfaces/Surface3D.h"
#include "ui/CutView.h"
#include "ui/ProgramText.h"
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

}  // namespace
}  // namespace cuttrace::test
