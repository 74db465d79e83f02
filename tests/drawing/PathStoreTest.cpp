// Stored vertices, redraw, clearing and the origin mark.
#include "drawing/support/DrawerFixture.h"

namespace cuttrace::test {
namespace {

using PathStore = DrawerTest;

TEST_F(PathStore, RedrawReplaysEveryStoredPointInItsOwnColor) {
    Draw(Motion(KindRapid, 0, 0, 5), true);
    Draw(Motion(KindFeed, 10, 0, 5), true);
    Draw(Motion(KindArcCcwXY, 0, 10, 5, 0, 0), true);  // radius 10: 4-degree steps
    settings.feedColor = 0x123456;                     // stored values are not references
    views.Clear();
    drawer.Redraw();
    // A color before each run of one color: the rapid, then the feed line and the arc.
    ASSERT_EQ(views.calls.size(), 2u + 2 + 23);
    EXPECT_EQ(views.calls[0].color, kRapid);
    EXPECT_EQ(views.calls[1].op, Op::LineTo);
    EXPECT_EQ(views.calls[1].a, (Point3{0, 0, 5}));
    EXPECT_EQ(views.calls[2].color, kFeed);
    EXPECT_EQ(views.calls[3].a, (Point3{10, 0, 5}));
    EXPECT_TRUE(Near(views.calls.back().a, {0, 10, 5}));
    EXPECT_EQ(views.Count(Op::MoveTo), 0u);  // goes on from wherever the pens are
}

TEST_F(PathStore, RedrawShowsExactlyThePointsDrawnForQuickArcs) {
    drawer.SetFeed(6000);
    Draw(Motion(KindFeed, 13, 0, 1), true);
    Draw(Motion(KindArcCwXY, 3, -10, 0.7, 3, 0), true);  // a helical three-quarter turn
    Draw(Motion(KindArcCcwZX, 3, -10, 5, 1, 3), false);  // animated: points by time
    Draw(Motion(KindArcCcwYZ, 3, -10, 5, 5, 5), true);   // a full turn
    Draw(Motion(KindRapid, 0, 0, 0), true);
    std::vector<Point3> drawn;
    for (const ViewCall& c : views.calls) {
        if (c.op == Op::Line || c.op == Op::ToolTo) drawn.push_back(c.op == Op::Line ? c.b : c.a);
    }
    views.Clear();
    drawer.Redraw();
    const std::vector<ViewCall> replayed = views.Only(Op::LineTo);
    ASSERT_EQ(replayed.size(), drawer.Vertices().Count());
    ASSERT_EQ(replayed.size(), drawn.size());
    for (std::size_t i = 0; i < drawn.size(); ++i) {
        EXPECT_EQ(replayed[i].a, drawn[i]) << i;  // bit for bit
        EXPECT_EQ(drawer.Vertices()[i].point, drawn[i]) << i;
    }
}

TEST_F(PathStore, RedrawLeavesDrillingCyclesOutAndJoinsAcrossThem) {
    for (bool quick : {true, false}) {
        drawer.ClearPath();
        Draw(Motion(KindFeed, 10, 0, 0), quick);
        Draw(Motion(81, 10, 0, -5, -1), quick);
        Draw(Motion(KindFeed, 20, 0, 0), quick);
        views.Clear();
        drawer.Redraw();
        EXPECT_EQ(views.Text(), "C 2\nL 10,0,0\nL 20,0,0\n");
    }
}

TEST_F(PathStore, RedrawDuringAnAnimatedLineShowsItToItsEnd) {
    drawer.BeginMotion(Motion(KindFeed, 100, 0, 0));
    drawer.Advance(0.1);
    views.Clear();
    drawer.Redraw();
    EXPECT_EQ(views.Text(), "C 2\nL 100,0,0\n");
}

TEST_F(PathStore, ClearPathEmptiesTheStoreAndStartsAgainAtTheFirstIndex) {
    views.Clear();
    drawer.Redraw();
    EXPECT_TRUE(views.calls.empty());

    Draw(Motion(KindFeed, 1, 0, 0), true);
    Draw(Motion(KindFeed, 2, 0, 0), true);
    drawer.ClearPath();
    views.Clear();
    drawer.Redraw();
    EXPECT_TRUE(views.calls.empty());
    Draw(Motion(KindFeed, 3, 0, 0), true);
    ASSERT_EQ(drawer.Vertices().Count(), 1u);
    EXPECT_EQ(drawer.Vertices()[0].point, (Point3{3, 0, 0}));
    // The drawer keeps its position: clearing the picture does not move the tool.
    EXPECT_EQ(views.Only(Op::Line).back().a, (Point3{2, 0, 0}));
}

TEST_F(PathStore, ManyPointsKeepTheirOrder) {
    VertexList list;
    for (int i = 0; i < 100000; ++i)
        list.Append({double(i), 0, 0}, uint32_t(i));
    ASSERT_EQ(list.Count(), 100000u);
    EXPECT_EQ(list[0], (PathVertex{{0, 0, 0}, 0}));
    EXPECT_EQ(list[99999], (PathVertex{{99999, 0, 0}, 99999}));
    list.Clear();
    EXPECT_TRUE(list.Empty());
}

TEST_F(PathStore, OriginMarkKeepsItsScreenSizeAtEveryScale) {
    drawer.DrawOrigin(2.0);  // axes 10 units long
    EXPECT_EQ(views.Text(),
              "C 4\n"
              "M 7.5,1,0\nL 10,0,0\nL 7.5,-1,0\n"
              "M 1,7.5,0\nL 0,10,0\nL -1,7.5,0\n"
              "M 0.5,0.5,7.5\nL 0,0,10\nL -0.5,-0.5,7.5\n"
              "M 10,0,0\nL 0,0,0\nL 0,10,0\n"
              "M 0,0,10\nL 0,0,0\n");

    views.Clear();
    settings.originColor = 0xAA;
    drawer.DrawOrigin(0.5);  // axes 40 units long
    EXPECT_EQ(views.calls[0].color, 0xAAu);
    EXPECT_EQ(views.calls[10].a, (Point3{40, 0, 0}));
    EXPECT_EQ(views.calls[12].a, (Point3{0, 40, 0}));
    EXPECT_EQ(views.calls[13].a, (Point3{0, 0, 40}));
    EXPECT_EQ(views.calls.back().a, (Point3{0, 0, 0}));
    EXPECT_TRUE(drawer.Vertices().Empty());

    // A scale that cannot size anything draws the mark at scale 1.
    views.Clear();
    drawer.DrawOrigin(0.0);
    EXPECT_EQ(views.calls[10].a, (Point3{20, 0, 0}));
}

}  // namespace
}  // namespace cuttrace::test
