#include <gtest/gtest.h>

#include <QTabWidget>

#include "machines/MacroVariables.h"
#include "ui/MacroVariablesWindow.h"

namespace cuttrace::ui {
namespace {

TEST(MacroVariablesWindowTest, OpensOnTheFirstCommonTableAfterFourLocalLevels) {
    MacroVariablesWindow window;
    auto* tabs = window.findChild<QTabWidget*>(QStringLiteral("variableTabs"));
    ASSERT_NE(tabs, nullptr);
    ASSERT_EQ(tabs->count(), 10);  // and the tabs #500-#999 and System
    EXPECT_EQ(tabs->currentIndex(), 4);
    EXPECT_EQ(tabs->tabText(tabs->currentIndex()), "#100-");
}

TEST(MacroVariablesWindowTest, ShowsLocalsOfFourLevelsAndTheCommonTables) {
    MacroVariablesWindow window;
    MacroVariables variables;
    variables.SetCommon(101, 1.5);
    variables.SetCommon(200, -2.25);
    variables.SetLocal(1, 1, 2.0);     // #1 of the first call level
    variables.SetLocal(3, 33, 0.125);  // #33 of level 3
    variables.SetLocal(4, 1, 9.0);     // level 4 is not shown
    variables.SetCommon(249, 0.0);     // a stored 0 is not vacant
    window.UpdateValues();             // no variables yet: nothing happens
    EXPECT_EQ(window.LocalText(0, 0), "");
    window.SetVariables(&variables);
    window.UpdateValues();
    EXPECT_EQ(window.LocalText(0, 0), "");  // vacant values show blank
    EXPECT_EQ(window.LocalText(0, 1), "");
    EXPECT_EQ(window.LocalText(1, 0), "2.00000000");
    EXPECT_EQ(window.LocalText(3, 32), "0.12500000");
    EXPECT_EQ(window.CommonText(0, 0), "#100");
    EXPECT_EQ(window.CommonText(0, 1), "#101 1.500000");
    EXPECT_EQ(window.CommonText(2, 0), "#200 -2.250000");
    EXPECT_EQ(window.CommonText(2, 49), "#249 0.000000");
    EXPECT_EQ(window.CommonText(3, 49), "#299");
    EXPECT_EQ(window.KeptTexts().size(), 500);
    EXPECT_EQ(window.SystemTexts().size(), 0);

    // A new machine's variables show nothing new until the next update.
    MacroVariables fresh;
    window.SetVariables(&fresh);
    EXPECT_EQ(window.CommonText(0, 1), "#101 1.500000");
    window.UpdateValues();
    EXPECT_EQ(window.CommonText(0, 1), "#101");
}

TEST(MacroVariablesWindowTest, ShowsTheKeptCommonsAndTheSystemVariablesInUse) {
    MacroVariablesWindow window;
    MacroVariables variables;
    variables.SetCommon(999, 4.5);
    variables.SetOther(3901, 12.0);
    variables.SetOther(1000, 1.0);
    window.SetVariables(&variables);
    window.UpdateValues();
    EXPECT_EQ(window.KeptTexts().at(499), "#999 4.500000");
    EXPECT_EQ(window.SystemTexts(), (QStringList{"#1000 1.000000", "#3901 12.000000"}));
}

TEST(MacroVariablesWindowTest, ClosingHidesAndReportsIt) {
    MacroVariablesWindow window;
    int closed = 0;
    window.SetOnClose([&] { ++closed; });
    window.show();
    EXPECT_TRUE(window.close() == false || !window.isVisible());
    EXPECT_FALSE(window.isVisible());
    EXPECT_EQ(closed, 1);
    window.show();  // the same window comes back
    EXPECT_TRUE(window.isVisible());
}

}  // namespace
}  // namespace cuttrace::ui
