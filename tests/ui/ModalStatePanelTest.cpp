#include <gtest/gtest.h>

#include <QLabel>
#include <QTreeWidget>

#include "core/NcRunner.h"
#include "core/Settings.h"
#include "drawing/PathDrawer.h"
#include "drawing/PathViews.h"
#include "ui/ModalStatePanel.h"
#include "ui/support/FakeDialogs.h"
#include "ui/support/ProgramFolder.h"

namespace cuttrace::ui {
namespace {

class ModalStatePanelTest : public ::testing::Test {
  protected:
    ModalStatePanelTest() : drawer_(views_, settings_) {
        runner_.SelectMachine(Dialect::Meldas);
        panel_.Bind(&runner_, &drawer_);
        panel_.SetDialogs(&dialogs_);
    }

    // Loads text as the main program and steps until the first motion or block.
    void RunFirstBlock(const std::string& text) {
        ASSERT_TRUE(runner_.Load(folder_.Write("main.nc", text), -1));
        StepResult r = runner_.Step();
        while (r == StepResult::FileOpened || r == StepResult::Line)
            r = runner_.Step();
    }

    QString Text(ModalField field) const { return panel_.FieldText(field); }

    Settings settings_;
    NoViews views_;
    NcRunner runner_;
    PathDrawer drawer_;
    test::FakeDialogs dialogs_;
    test::ProgramFolder folder_;
    ModalStatePanel panel_;
};

TEST_F(ModalStatePanelTest, ModalStateAfterAFeedBlock) {
    RunFirstBlock("G90 G17 G01 X10. Y-2.5 Z1234.5678 F250 S1200 T3 D7 H8 N55\n");
    panel_.ShowModalState();
    EXPECT_EQ(Text(ModalField::MotionMode), "G1");
    EXPECT_EQ(Text(ModalField::DistanceMode), "G90");
    EXPECT_EQ(Text(ModalField::ReferenceReturn), "G0");
    EXPECT_EQ(Text(ModalField::CannedCycle), "G80");
    EXPECT_EQ(Text(ModalField::Plane), "G17");
    EXPECT_EQ(Text(ModalField::OneShotG), "G0.0");
    EXPECT_EQ(Text(ModalField::M), "M00");  // no M word: the label keeps its text
    EXPECT_EQ(Text(ModalField::NextX), "10.000");
    EXPECT_EQ(Text(ModalField::NextY), "-2.500");
    EXPECT_EQ(Text(ModalField::NextZ), "1234.568");
    EXPECT_EQ(Text(ModalField::T), "T3");
    EXPECT_EQ(Text(ModalField::D), "D7");
    EXPECT_EQ(Text(ModalField::H), "H8");
    EXPECT_EQ(Text(ModalField::S), "S1200");
    EXPECT_EQ(Text(ModalField::N), "N55");
}

TEST_F(ModalStatePanelTest, PositionsAreInWorkCoordinates) {
    ASSERT_TRUE(runner_.Load(folder_.Write("main.nc", "G10 L2 P2 X100. Y-5.\nG55 G00 X10.\n"), -1));
    StepResult r;
    do {
        r = runner_.Step();
    } while (r != StepResult::Motion && !EndsRun(r));
    ASSERT_EQ(r, StepResult::Motion);
    EXPECT_DOUBLE_EQ(runner_.Motion().x, 110.0);  // drawn in machine coordinates
    panel_.ShowModalState();
    EXPECT_EQ(Text(ModalField::NextX), "10.000");
    EXPECT_EQ(Text(ModalField::WorkSystem), "G55");
    drawer_.SetQuick(true);
    drawer_.BeginMotion(runner_.Motion());
    panel_.ShowProgress();
    EXPECT_EQ(Text(ModalField::NowX), "10.000");
    EXPECT_EQ(Text(ModalField::NowY), "5.000");  // the tool stayed at machine Y0
}

TEST_F(ModalStatePanelTest, TheMLabelFollowsOnlyBlocksWithAnM) {
    RunFirstBlock("G91 G19 M3\n");
    panel_.ShowModalState();
    EXPECT_EQ(Text(ModalField::M), "M3");
    EXPECT_EQ(Text(ModalField::DistanceMode), "G91");
    EXPECT_EQ(Text(ModalField::Plane), "G19");
}

TEST_F(ModalStatePanelTest, ProgressShowsTimeToolPositionAndTheDrawingFeed) {
    drawer_.SetFeed(250);
    drawer_.SetTotalTime(125.5);
    panel_.ShowProgress();
    EXPECT_EQ(Text(ModalField::Feed), "F250.0");
    EXPECT_EQ(Text(ModalField::Time), "2:5.500000");
    drawer_.SetFeed(0);
    panel_.ShowProgress();
    EXPECT_EQ(Text(ModalField::Feed), "F1.0");

    MotionRecord line;
    line.kind = KindFeed;
    line.x = 3;
    line.y = -4;
    drawer_.SetFeed(5000);
    drawer_.SetQuick(true);
    drawer_.BeginMotion(line);
    panel_.ShowProgress();
    EXPECT_EQ(Text(ModalField::Feed), "F5000.0");
}

TEST_F(ModalStatePanelTest, TimeIsWholeMinutesAndTheRestOfTheSeconds) {
    EXPECT_EQ(ModalStatePanel::TimeText(0), "0:0.000000");
    EXPECT_EQ(ModalStatePanel::TimeText(59.9996), "0:59.999600");
    EXPECT_EQ(ModalStatePanel::TimeText(60), "1:0.000000");
    EXPECT_EQ(ModalStatePanel::TimeText(3725.25), "62:5.250000");
}

TEST_F(ModalStatePanelTest, TreeHoldsOneChainAndTheEditorGetsTheFile) {
    RunFirstBlock("G0 X1.\n");
    panel_.PushProgram();
    panel_.PushProgram();
    panel_.PushProgram();
    auto* tree = panel_.findChild<QTreeWidget*>(QStringLiteral("callTree"));
    ASSERT_NE(tree, nullptr);
    ASSERT_EQ(tree->topLevelItemCount(), 1);
    QTreeWidgetItem* root = tree->topLevelItem(0);
    ASSERT_EQ(root->childCount(), 1);
    EXPECT_EQ(root->child(0)->childCount(), 1);
    panel_.PopProgram();
    EXPECT_EQ(root->childCount(), 1);
    EXPECT_EQ(root->child(0)->childCount(), 0);
    EXPECT_TRUE(root->isExpanded());

    tree->setCurrentItem(root);
    panel_.OpenCallTreeEntry();
    ASSERT_EQ(dialogs_.started.size(), 1u);
    EXPECT_EQ(dialogs_.started[0].program, "Quillo");
    EXPECT_EQ(dialogs_.started[0].arguments,
              QStringList{QString::fromStdString(folder_.PathOf("main.nc"))});

    panel_.PopProgram();
    panel_.PopProgram();
    panel_.PopProgram();  // on an empty tree: nothing
    EXPECT_EQ(tree->topLevelItemCount(), 0);
    panel_.PushProgram();
    panel_.ClearPrograms();
    EXPECT_EQ(tree->topLevelItemCount(), 0);
}

}  // namespace
}  // namespace cuttrace::ui
