#include <gtest/gtest.h>

#include <QTabWidget>

#include "machines/NcMachine.h"
#include "ui/MacroVariablesWindow.h"

namespace cuttrace::ui {
namespace {

TEST(TMacroFormTest, TabsAndTheirOrder) {
    MacroVariablesWindow form;
    QTabWidget* pages = form.PageControl1();
    ASSERT_EQ(pages->count(), 8);
    EXPECT_EQ(pages->tabText(0), "Local 1");
    EXPECT_EQ(pages->tabText(3), "Local 4");
    EXPECT_EQ(pages->tabText(4), "#100-");
    EXPECT_EQ(pages->tabText(7), "#250-");
    EXPECT_EQ(pages->currentIndex(), 4);
    EXPECT_EQ(form.windowTitle(), "Macro ");
}

TEST(TMacroFormTest, ShowsLocalsOfFourLevelsAndTheCommonTables) {
    MacroVariablesWindow form;
    NcMachine machine;
    machine.CommonVariables[1] = 1.5;      // #101
    machine.CommonVariables[100] = -2.25;  // #200
    machine.LocalLevels[1][1] = 2.0;       // #1 of the first call level
    machine.LocalLevels[3][33] = 0.125;    // #33 of level 3
    machine.LocalLevels[4][1] = 9.0;       // level 4 is not shown
    form.UpdateValues();                   // no machine yet: nothing happens
    EXPECT_EQ(form.LocalText(0, 0), "");
    form.SetMachine(&machine);
    form.UpdateValues();
    EXPECT_EQ(form.LocalText(0, 0), "0.00000000");
    EXPECT_EQ(form.LocalText(1, 0), "2.00000000");
    EXPECT_EQ(form.LocalText(3, 32), "0.12500000");
    EXPECT_EQ(form.CommonText(0, 0), "#100 0.000000");
    EXPECT_EQ(form.CommonText(0, 1), "#101 1.500000");
    EXPECT_EQ(form.CommonText(2, 0), "#200 -2.250000");
    EXPECT_EQ(form.CommonText(2, 49), "#249 0.000000");
    EXPECT_EQ(form.CommonText(3, 49), "#299 0.000000");

    // A new machine shows nothing new until the next update.
    NcMachine fresh;
    form.SetMachine(&fresh);
    EXPECT_EQ(form.CommonText(0, 1), "#101 1.500000");
    form.UpdateValues();
    EXPECT_EQ(form.CommonText(0, 1), "#101 0.000000");
}

TEST(TMacroFormTest, ClosingHidesAndReportsIt) {
    MacroVariablesWindow form;
    int closed = 0;
    form.SetOnClose([&] { ++closed; });
    form.show();
    EXPECT_TRUE(form.close() == false || !form.isVisible());
    EXPECT_FALSE(form.isVisible());
    EXPECT_EQ(closed, 1);
    form.show();  // the same window comes back
    EXPECT_TRUE(form.isVisible());
}

}  // namespace
}  // namespace cuttrace::ui
