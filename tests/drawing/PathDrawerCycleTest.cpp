// Drilling cycles: approach, feed with tool marks, retract; and the tool mark itself.
#include <cmath>
#include <limits>
#include <vector>

#include "drawing/support/DrawerFixture.h"

namespace cuttrace::test {
namespace {

class PathDrawerCycle : public DrawerTest {
  protected:
    // The level of every tool mark around the hole at (x, y): each mark begins with a
    // zero-length segment one cutter size along +X from the hole.
    std::vector<double> MarkLevels(double x, double y) const {
        std::vector<double> levels;
        for (const ViewCall& c : views.Only(Op::Line)) {
            if (c.a == c.b && c.a.x == x + settings.cutterDiameter && c.a.y == y) {
                levels.push_back(c.a.z);
            }
        }
        return levels;
    }
};

TEST_F(PathDrawerCycle, QuickCycleLeavesOneMarkPerUnitOfDepthAndOneAtTheBottom) {
    PlaceAt({0, 0, 50});
    Draw(Motion(81, 10, 0, -20, 5), true);
    std::vector<double> expected;
    for (int z = 4; z >= -20; --z)
        expected.push_back(z);
    EXPECT_EQ(MarkLevels(10, 0), expected);  // 24 on the way down, then the bottom

    auto lines = views.Only(Op::Line);
    ASSERT_EQ(lines.size(), 4u + 25u * 13u);  // 13 segments a mark at CutterDia 2
    EXPECT_EQ(lines[0].a, (Point3{0, 0, 50}));
    EXPECT_EQ(lines[0].b, (Point3{10, 0, 50}));
    EXPECT_EQ(lines[1].b, (Point3{10, 0, 5}));
    EXPECT_EQ(lines[lines.size() - 2].a, (Point3{10, 0, -20}));
    EXPECT_EQ(lines[lines.size() - 2].b, (Point3{10, 0, 5}));
    EXPECT_EQ(lines.back().b, (Point3{10, 0, 50}));
    ASSERT_EQ(views.Count(Op::Color), 1u);  // the approach too is in the spot color
    EXPECT_EQ(views.calls.front().color, kSpot);
    EXPECT_EQ(views.Count(Op::Refresh), 0u);

    EXPECT_FALSE(drawer.Busy());
    EXPECT_EQ(drawer.CurrentPosition(), (Point3{10, 0, 50}));
    EXPECT_EQ(drawer.Vertices().Count(), 0u);  // kept as its recipe, no points
    EXPECT_EQ(drawer.TotalTime(), 0.0);
}

TEST_F(PathDrawerCycle, AnimatedCycleApproachesFeedsWithMarksAndRetracts) {
    PlaceAt({0, 0, 50});
    drawer.SetFeed(600);  // 10 units per second
    drawer.BeginMotion(Motion(81, 10, 0, -20, 5));
    EXPECT_EQ(views.Text(), "C 1\nM 0,0,50\nT 10,0,50\nT 10,0,5\nR\n");
    EXPECT_TRUE(drawer.Busy());
    EXPECT_EQ(drawer.CurrentPosition(), (Point3{10, 0, 50}));

    views.Clear();
    drawer.Advance(1.0);
    drawer.Advance(1.0);
    EXPECT_EQ(MarkLevels(10, 0), (std::vector<double>{-5, -15}));
    EXPECT_DOUBLE_EQ(drawer.TotalTime(), 2.0);
    EXPECT_TRUE(drawer.Busy());

    views.Clear();
    drawer.Advance(1.0);  // passes the bottom
    EXPECT_FALSE(drawer.Busy());
    EXPECT_EQ(MarkLevels(10, 0), (std::vector<double>{-20}));
    ASSERT_EQ(views.calls.front().op, Op::Color);
    EXPECT_EQ(views.calls.front().color, kSpot);
    const std::string text = views.Text();
    EXPECT_NE(text.find("M 10,0,-20\nT 10,0,5\nT 10,0,50\nR\n"), std::string::npos) << text;
    EXPECT_DOUBLE_EQ(drawer.TotalTime(), 2.0);  // the last step and the retract add nothing
}

TEST_F(PathDrawerCycle, BottomOnTheRLevelGoesStraightToTheBottomMark) {
    PlaceAt({0, 0, 10});
    Draw(Motion(73, 1, 1, 2, 2), true);
    EXPECT_EQ(MarkLevels(1, 1), (std::vector<double>{2}));

    PlaceAt({0, 0, 10});
    drawer.BeginMotion(Motion(73, 1, 1, 2, 2));
    drawer.Advance(0.0001);
    EXPECT_FALSE(drawer.Busy());
    EXPECT_EQ(MarkLevels(1, 1), (std::vector<double>{2}));
}

TEST_F(PathDrawerCycle, BottomAboveTheRLevelFeedsUpwards) {
    PlaceAt({0, 0, 0});
    Draw(Motion(85, 0, 0, 3, 0.5), true);
    EXPECT_EQ(MarkLevels(0, 0), (std::vector<double>{1.5, 2.5, 3}));

    PlaceAt({0, 0, 0});
    drawer.SetFeed(60);
    EXPECT_EQ(Draw(Motion(85, 0, 0, 3, 0.5), false, 1.0), 3);
}

TEST_F(PathDrawerCycle, AnyUnknownKindIsDrawnAsACycle) {
    PlaceAt({0, 0, 5});
    Draw(Motion(4711, 2, 3, 0, 1), true);
    EXPECT_EQ(MarkLevels(2, 3), (std::vector<double>{0}));
    EXPECT_EQ(drawer.CurrentPosition(), (Point3{2, 3, 5}));
}

TEST_F(PathDrawerCycle, ToolMarkIsACircleOfTheCurrentCutterSize) {
    struct Case {
        double cutter;
        std::size_t segments;
        bool closed;
    };
    const Case cases[] = {
        {2.0, 13, true},   // 30-degree steps
        {0.5, 5, true},    // quarter turns
        {7.0, 43, true},   // 60/7 degrees: 42 steps make the turn
        {1.6, 10, false},  // 37.5 degrees: stops at 337.5
        {2.0, 13, true},   // the first cutter again
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.cutter);
        settings.cutterDiameter = c.cutter;  // read when the mark is drawn
        PlaceAt({0, 0, 5});
        Draw(Motion(81, 10, 20, 0, 0), true);  // the bottom mark only
        auto lines = views.Only(Op::Line);
        ASSERT_EQ(lines.size(), 4 + c.segments);
        const std::vector<ViewCall> mark(lines.begin() + 2, lines.end() - 2);
        EXPECT_EQ(mark[0].a, (Point3{10 + c.cutter, 20, 0}));
        EXPECT_EQ(mark[0].a, mark[0].b);
        for (std::size_t i = 1; i < mark.size(); ++i) {
            EXPECT_EQ(mark[i].a, mark[i - 1].b);
            EXPECT_NEAR(Distance(mark[i].b, {10, 20, 0}), c.cutter, 1e-12);
        }
        EXPECT_EQ(Near(mark.back().b, mark[0].a), c.closed);
    }
}

TEST_F(PathDrawerCycle, AbsurdCyclesStillEnd) {
    // A depth of a billion units: the marks stop after ten thousand.
    PlaceAt({0, 0, 0});
    Draw(Motion(81, 0, 0, -1e9, 0), true);
    EXPECT_EQ(MarkLevels(0, 0).size(), 10001u);
    EXPECT_EQ(MarkLevels(0, 0).back(), -1e9);

    // Levels so large that one unit no longer changes them, levels that are no number,
    // and a cutter size of infinity.
    PlaceAt({0, 0, 0});
    Draw(Motion(81, 0, 0, 0, 1e17), true);
    settings.cutterDiameter = std::numeric_limits<double>::infinity();
    PlaceAt({0, 0, 0});
    Draw(Motion(81, 0, 0, 0, 0), true);
    EXPECT_EQ(views.Count(Op::Line), 4u + 3601u);  // the step stops at 0.1 degrees
    const double nan = std::numeric_limits<double>::quiet_NaN();
    for (bool quick : {false, true}) {
        PlaceAt({0, 0, 0});
        Draw(Motion(81, 0, 0, nan, 5), quick, 0.01, 10);
        PlaceAt({0, 0, 0});
        Draw(Motion(81, 0, 0, -5, nan), quick, 0.01, 10);
    }
}

}  // namespace
}  // namespace cuttrace::test
