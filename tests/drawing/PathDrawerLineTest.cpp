// Rapid moves and feed lines, animated and quick.
#include <cstring>
#include <limits>
#include <vector>

#include "drawing/support/DrawerFixture.h"

namespace cuttrace::test {
namespace {

using PathDrawerLine = DrawerTest;

TEST_F(PathDrawerLine, QuickLinesDrawOneSegmentInTheirColorAndStoreTheEnd) {
    drawer.SetQuick(true);
    drawer.BeginMotion(Motion(KindRapid, 10, 0, 5));
    drawer.BeginMotion(Motion(KindFeed, 10, 20, 5));
    EXPECT_EQ(views.Text(),
              "C 1\nD 0,0,0 -> 10,0,5\n"
              "C 2\nD 10,0,5 -> 10,20,5\n");  // no refresh per quick motion
    EXPECT_FALSE(drawer.Busy());
    EXPECT_EQ(drawer.CurrentPosition(), (Point3{10, 20, 5}));
    ASSERT_EQ(drawer.Vertices().Count(), 2u);
    EXPECT_EQ(drawer.Vertices()[0], (PathVertex{{10, 0, 5}, kRapid}));
    EXPECT_EQ(drawer.Vertices()[1], (PathVertex{{10, 20, 5}, kFeed}));
    EXPECT_EQ(drawer.TotalTime(), 0.0);
}

TEST_F(PathDrawerLine, AnimatedFeedLineMovesAtFeedSpeedAndEndsExactlyOnItsEnd) {
    PlaceAt({0.1, 0.2, 0.3});
    drawer.SetFeed(600);  // 10 units per second
    drawer.BeginMotion(Motion(KindFeed, 0.3, 0.2 + 40, 0.1));
    // The start already moved the current position and stored the end.
    EXPECT_TRUE(drawer.Busy());
    EXPECT_EQ(drawer.CurrentPosition(), (Point3{0.3, 40.2, 0.1}));
    ASSERT_EQ(drawer.Vertices().Count(), 1u);
    EXPECT_EQ(views.Text(), "R\n");

    views.Clear();
    drawer.Advance(1.0);
    EXPECT_TRUE(drawer.Busy());
    EXPECT_NEAR(Distance(drawer.ToolPosition(), {0.1, 0.2, 0.3}), 10.0, 1e-9);
    EXPECT_EQ(views.calls.size(), 3u);
    EXPECT_EQ(views.calls[0].op, Op::Color);
    EXPECT_EQ(views.calls[0].color, kFeed);
    EXPECT_EQ(views.calls[1].op, Op::ToolTo);
    EXPECT_EQ(views.calls[2].op, Op::Refresh);

    for (int i = 0; i < 4; ++i)  // 40.001 units in all
        drawer.Advance(1.0);
    EXPECT_FALSE(drawer.Busy());
    EXPECT_EQ(drawer.ToolPosition(), (Point3{0.3, 40.2, 0.1}));  // exactly, not start + delta
    EXPECT_NEAR(drawer.TotalTime(), Distance({0.1, 0.2, 0.3}, {0.3, 40.2, 0.1}) / 10.0, 1e-12);
}

TEST_F(PathDrawerLine, RapidOf166UnitsTakesOneSecondOnlyWhenAnimated) {
    drawer.BeginMotion(Motion(KindRapid, 166, 0, 0));
    drawer.Advance(0.5);
    EXPECT_TRUE(drawer.Busy());
    drawer.Advance(0.5);
    EXPECT_FALSE(drawer.Busy());
    EXPECT_DOUBLE_EQ(drawer.TotalTime(), 1.0);
    EXPECT_EQ(views.Only(Op::Color).front().color, kRapid);

    Draw(Motion(KindRapid, 0, 0, 0), true);
    EXPECT_DOUBLE_EQ(drawer.TotalTime(), 1.0);
}

TEST_F(PathDrawerLine, ZeroLengthLinesDrawAndStoreNothing) {
    PlaceAt({0, 2, 3});
    for (bool quick : {false, true}) {
        drawer.SetQuick(quick);
        drawer.BeginMotion(Motion(KindFeed, 0, 2, 3));
        drawer.BeginMotion(Motion(KindRapid, 0.9e-8, 2 - 0.9e-8, 3));
        EXPECT_FALSE(drawer.Busy());
    }
    EXPECT_EQ(views.Count(Op::Color) + views.Count(Op::Line) + views.Count(Op::ToolTo), 0u);
    EXPECT_TRUE(drawer.Vertices().Empty());
    EXPECT_EQ(drawer.TotalTime(), 0.0);

    // A difference of 1e-8 is no longer the same point.
    Draw(Motion(KindFeed, 1e-8, 2, 3), true);
    EXPECT_EQ(drawer.Vertices().Count(), 1u);
}

TEST_F(PathDrawerLine, FeedSpeedIsPerSecondAndIgnoresTheSign) {
    drawer.SetFeed(0);
    EXPECT_DOUBLE_EQ(drawer.FeedSpeed(), 1.0 / 60.0);
    drawer.SetFeed(std::numeric_limits<double>::quiet_NaN());
    EXPECT_DOUBLE_EQ(drawer.FeedSpeed(), 1.0 / 60.0);
    drawer.SetFeed(-300);
    EXPECT_DOUBLE_EQ(drawer.FeedSpeed(), 5.0);
    // A negative feed still reaches the end: 10 units at 5 units per second.
    EXPECT_EQ(Draw(Motion(KindFeed, 10, 0, 0), false, 1.0), 2);
}

TEST_F(PathDrawerLine, AnimationEndsWhateverTheClockSays) {
    drawer.SetFeed(60);
    drawer.BeginMotion(Motion(KindFeed, 1, 0, 0));
    drawer.Advance(-5.0);
    drawer.Advance(std::numeric_limits<double>::quiet_NaN());
    EXPECT_TRUE(drawer.Busy());
    EXPECT_EQ(drawer.ToolPosition(), (Point3{0, 0, 0}));
    EXPECT_EQ(drawer.TotalTime(), 0.0);
    drawer.Advance(std::numeric_limits<double>::infinity());
    EXPECT_FALSE(drawer.Busy());
    EXPECT_EQ(drawer.ToolPosition(), (Point3{1, 0, 0}));

    // A line too long for its length to be a number ends at the first step.
    drawer.BeginMotion(Motion(KindFeed, std::numeric_limits<double>::infinity(), 0, 0));
    drawer.Advance(0.01);
    EXPECT_FALSE(drawer.Busy());
    EXPECT_TRUE(std::isfinite(drawer.TotalTime()));
}

TEST_F(PathDrawerLine, ChangedColorsTakeEffectOnTheNextSegment) {
    drawer.SetFeed(60);
    drawer.BeginMotion(Motion(KindFeed, 10, 0, 0));
    drawer.Advance(1.0);
    settings.feedColor = 0xABCDEF;
    drawer.Advance(1.0);
    auto colors = views.Only(Op::Color);
    ASSERT_EQ(colors.size(), 2u);
    EXPECT_EQ(colors[0].color, kFeed);
    EXPECT_EQ(colors[1].color, 0xABCDEFu);

    // The references can be pointed at another record.
    Settings other;
    other.rapidColor = 0x777777;
    drawer.BindColors(other);
    views.Clear();
    Draw(Motion(KindRapid, 0, 0, 0), true);
    EXPECT_EQ(views.Only(Op::Color).front().color, 0x777777u);
}

TEST_F(PathDrawerLine, RapidsAreSkippedWithoutDrawRapidsButTheToolStillMoves) {
    drawer.SetDrawRapids(false);
    for (bool quick : {false, true}) {
        drawer.SetQuick(quick);
        drawer.BeginMotion(Motion(KindRapid, 5, quick ? 6 : 5, 5));
        EXPECT_FALSE(drawer.Busy());
    }
    EXPECT_EQ(views.Count(Op::Line) + views.Count(Op::ToolTo) + views.Count(Op::Color), 0u);
    EXPECT_EQ(drawer.Vertices().Count(), 0u);  // only the pen moves are kept
    EXPECT_EQ(drawer.CurrentPosition(), (Point3{5, 6, 5}));
    EXPECT_EQ(views.Only(Op::MoveTo).back().a, (Point3{5, 6, 5}));  // the pens follow unseen

    // A rapid already under way finishes even if draw-rapids is cleared meanwhile.
    drawer.SetDrawRapids(true);
    drawer.SetQuick(false);
    drawer.BeginMotion(Motion(KindRapid, 0, 0, 0));
    drawer.SetDrawRapids(false);
    drawer.Advance(1.0);
    EXPECT_FALSE(drawer.Busy());
}

TEST_F(PathDrawerLine, AdvanceWhenIdleOnlyRefreshes) {
    Draw(Motion(KindFeed, 3, 0, 0), false);
    const std::size_t stored = drawer.Vertices().Count();
    views.Clear();
    drawer.Advance(1.0);
    EXPECT_EQ(views.Text(), "R\n");
    EXPECT_EQ(drawer.Vertices().Count(), stored);
}

TEST_F(PathDrawerLine, TheProgrammedContourIsDrawnBesideThePathAndRedrawn) {
    settings.contourColor = 0x000009;
    drawer.SetQuick(true);
    drawer.BeginMotion(Motion(KindFeed, 5, 0, 0));
    views.Clear();
    drawer.BeginMotion(Motion(KindContourLine, 10, 0, 0, 0, 5));    // from (0, 5)
    drawer.BeginMotion(Motion(KindContourArcCcw, 0, 10, 0, 0, 0));  // quarter circle about 0,0
    const auto lines = views.Only(Op::Line);
    ASSERT_EQ(lines.size(), 1u + 18u);  // chords of at most five degrees
    EXPECT_EQ(lines[0].a, (Point3{0, 5, 0}));
    EXPECT_EQ(lines[0].b, (Point3{10, 0, 0}));
    EXPECT_EQ(lines.back().b, (Point3{0, 10, 0}));
    EXPECT_EQ(views.Only(Op::Color).front().color, 0x000009u);
    EXPECT_EQ(views.Only(Op::MoveTo).back().a, (Point3{5, 0, 0})) << "the pens go back to the tool";
    EXPECT_EQ(drawer.CurrentPosition(), (Point3{5, 0, 0})) << "the contour moves no tool";
    EXPECT_EQ(drawer.Vertices().Count(), 1u);
    EXPECT_EQ(drawer.TotalTime(), 0.0);

    views.Clear();
    drawer.Redraw();
    EXPECT_EQ(views.Only(Op::Line).back().b, (Point3{0, 10, 0}));  // the contour, after the path
    EXPECT_EQ(views.Only(Op::Line).size(), 1u + 19u);
    drawer.ClearPath();
    views.Clear();
    drawer.Redraw();
    EXPECT_TRUE(views.Only(Op::Line).empty());
}

// A drawer that only follows the path has its pens, bit for bit, where a quick drawing
// leaves them after every kind of motion: zero-length lines, rapid moves with and without
// draw-rapids, arcs in each plane and one starting on its centre, cycles both ways,
// contour records, a value that is not a number.
TEST_F(PathDrawerLine, FollowingMovesThePensAsAQuickDrawing) {
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const std::vector<MotionRecord> motions = {
        Motion(KindRapid, 10, 0, 5),
        Motion(KindFeed, 10, 0, 5 + 1e-10),
        Motion(KindFeed, 10, 20, 5),
        Motion(KindArcCcwXY, 0, 10, 5, 0, 10),
        Motion(KindArcCwZX, 3, 10, 1, 5, 1.5),
        Motion(KindArcCcwYZ, 3, 4, 2, 7, 1.5),
        Motion(KindArcCwXY, 9, 9, 2, 3, 4),
        Motion(CycleKind(81), 6, 6, -4, 1),
        Motion(CycleKind(83), 7, 6, 3, 1),
        Motion(KindContourLine, 1, 2, 0, 4, 5),
        Motion(KindContourArcCw, 5, 2, 0, 3, 2),
        Motion(KindRapid, 2, nan, 1),
        Motion(KindFeed, 1, 1, 1),
    };
    for (const bool rapids : {true, false}) {
        drawer.SetQuick(true);
        drawer.SetDrawRapids(rapids);
        drawer.ResetPosition();
        PathDrawer follower(views, settings);
        follower.SetDrawRapids(rapids);
        for (std::size_t i = 0; i < motions.size(); ++i) {
            drawer.BeginMotion(motions[i]);
            follower.FollowQuick(motions[i]);
            const PathDrawer::QuickPens a = drawer.Pens();
            const PathDrawer::QuickPens b = follower.Pens();
            EXPECT_EQ(std::memcmp(&a, &b, sizeof a), 0) << "motion " << i << ", rapids " << rapids;
        }
    }
}

}  // namespace
}  // namespace cuttrace::test
