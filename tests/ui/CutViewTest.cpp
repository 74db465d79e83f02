#include <QCoreApplication>
#include <QDockWidget>
#include <QImage>
#include <QListWidget>
#include <QStatusBar>
#include <cmath>

#include "cutting/HeightField.h"
#include "surfaces/ScrollableSurface3D.h"
#include "surfaces/Surface3D.h"
#include "ui/CutView.h"
#include "ui/UiTexts.h"
#include "ui/ViewPane.h"
#include "ui/support/MainWindowFixture.h"

namespace cuttrace::test {
namespace {

using CutViewTest = MainWindowTest;

// A feed at the top level over the corners sizes the stock (X, Y -22..22, Z -4..1 with the
// 2 mm cutter); a slot 4 deep runs from X-10 to X10 along Y0.
constexpr char kSlot[] =
    "G90 G00 X-20. Y-20. Z5.\nG00 Z1.\nG01 Z1. F300\nG01 X20. Y20.\nG00 Z5.\n"
    "G00 X-10. Y0\nG00 Z1.\nG01 Z-3.\nG01 X10.\nG00 Z5.\nM30\n";

int Brightness(QRgb p) {
    return qRed(p) + qGreen(p) + qBlue(p);
}

TEST_F(CutViewTest, AQuickRunInCutModeShowsTheSlotWhereThePathRuns) {
    Open(kSlot);
    ui::ViewPane* view = window.View(0);
    view->ApplyViewPreset(0);  // from the top
    Surface3D* surface = view->Panel()->Surface();
    surface->SetScale(4.0);
    window.Cut().SetCutMode(view, true);
    window.StartQuickRun();
    QuickToStop();
    for (int i = 0; i < 1000 && window.Cut().Busy(); ++i)
        QCoreApplication::processEvents();
    ASSERT_FALSE(window.Cut().Busy());
    window.RedrawAll();

    const QImage& image = surface->ScreenImage();
    if (const char* keep = std::getenv("CUTTRACE_KEEP_CUT_PICTURE")) image.save(keep);
    const auto at = [&](double x, double y) {
        const PixelPoint p = surface->ToPixel({x, y, 1.0});
        return image.pixel(p.x, p.y);
    };
    const int slot = Brightness(at(0.0, 0.0));
    const int stock = Brightness(at(0.0, 10.0));
    EXPECT_LT(slot + 60, stock) << "the slot is drawn darker than the uncut top";
    EXPECT_EQ(at(0.0, 30.0), qRgb(255, 255, 255)) << "outside the stock";
    EXPECT_LT(Brightness(at(-9.0, 0.0)) + 60, stock);
    EXPECT_GE(Brightness(at(-12.5, 0.0)) + 30, stock) << "beyond the slot's end";
    // Without the cut the same pixel is the white background under a red feed line.
    window.Cut().SetCutMode(view, false);
    EXPECT_EQ(Brightness(surface->ScreenImage().pixel(surface->ToPixel({0.0, 10.0, 1.0}).x,
                                                      surface->ToPixel({0.0, 10.0, 1.0}).y)),
              3 * 255);
}

TEST_F(CutViewTest, TheFindingsPanelListsARapidIntoTheStockWithItsLine) {
    // The rapid down to Z-1 at X-10 Y0 (line 7) goes through the top at Z1.
    std::string program = kSlot;
    program.replace(program.find("G00 Z1.\nG01 Z-3."), 7, "G00 Z-1.");
    Open(program);
    window.Cut().SetCutMode(window.View(0), true);
    auto* panel = Find<QDockWidget>("findingsPanel");
    EXPECT_FALSE(panel->isVisible()) << "no room taken while there is nothing to list";
    window.StartQuickRun();
    QuickToStop();
    for (int i = 0; i < 1000 && window.Cut().Busy(); ++i)
        QCoreApplication::processEvents();
    auto* list = Find<QListWidget>("findingsList");
    ASSERT_EQ(list->count(), 1);
    EXPECT_EQ(list->item(0)->text(),
              QStringLiteral("main.nc:7: %1 (T0)").arg(QString::fromUtf8(ui::kFindingRapid)));
    EXPECT_TRUE(panel->isVisible());
    QCoreApplication::processEvents();
    EXPECT_LT(panel->height(), window.height() / 4);

    list->setCurrentRow(0);
    ASSERT_GE(window.Cut().Selected(), 0);
    const cutting::CutMotion& chosen =
        window.Cut().Motions()[static_cast<std::size_t>(window.Cut().Selected())];
    EXPECT_EQ(chosen.kind, cutting::MoveKind::Rapid);
    EXPECT_EQ(chosen.end.z, -1.0);
    EXPECT_EQ(window.statusBar()->currentMessage(), "main.nc:7");
    // The chosen motion is drawn highlighted.
    Surface3D* surface = window.View(0)->Panel()->Surface();
    const PixelPoint p = surface->ToPixel(chosen.end);
    EXPECT_EQ(surface->ScreenImage().pixel(p.x, p.y), qRgb(255, 0, 255));
}

TEST_F(CutViewTest, TheSettingsGiveStockResolutionAndToolsAndABadTableIsReported) {
    Open(kSlot);
    window.Cut().SetCutMode(window.View(0), true);
    settings.cutStock = "-30,-30,-5,30,30,1";
    settings.cutResolution = 120;
    settings.cutToolTable = folder.Write("tools.txt", "T0 BALL D=4\n");
    window.StartQuickRun();
    QuickToStop();
    window.Cut().CatchUp();
    const cutting::HeightField& field = window.Cut().Simulator().Field();
    EXPECT_EQ(field.Box().low.x, -30.0);
    EXPECT_EQ(field.Columns(), 120);
    // Cells of 0.5: the centre of cell (60, 60) is 0.25 off the slot's axis, where the ball
    // of radius 2 (a flat end mill would leave -3) leaves a little more.
    EXPECT_NEAR(field.Height(60, 60), -3.0 + 2.0 - std::sqrt(4.0 - 0.25 * 0.25), 1e-9);

    settings.cutToolTable = folder.Write("tools.txt", "T0 SPOON D=4\n");
    window.Cut().SettingsChanged();
    window.Cut().CatchUp();
    EXPECT_FALSE(window.Cut().Problem().empty());
    EXPECT_TRUE(LogText().contains("tools.txt:1"));
}

}  // namespace
}  // namespace cuttrace::test
