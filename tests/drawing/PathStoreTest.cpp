// Stored vertices, redraw, clearing and the origin mark.
#include <algorithm>
#include <array>
#include <atomic>
#include <bit>
#include <cmath>
#include <limits>
#include <set>
#include <tuple>
#include <utility>

#include "drawing/PathOverview.h"
#include "drawing/support/DrawerFixture.h"

namespace cuttrace::test {
namespace {

using PathStore = DrawerTest;

// The segments the calls draw, with their colors, pens starting at the origin; the tool
// picture and refreshes leave no line.
std::vector<std::pair<std::array<Point3, 2>, uint32_t>> Segments(
    const std::vector<ViewCall>& calls) {
    std::vector<std::pair<std::array<Point3, 2>, uint32_t>> out;
    Point3 pen;
    uint32_t color = 0;
    for (const ViewCall& c : calls) {
        if (c.op == Op::Color) color = c.color;
        if (c.op == Op::MoveTo) pen = c.a;
        if (c.op == Op::LineTo || c.op == Op::ToolTo) out.push_back({{pen, c.a}, color});
        if (c.op == Op::Line) out.push_back({{c.a, c.b}, color});
        if (c.op != Op::Color && c.op != Op::Refresh) pen = c.op == Op::Line ? c.b : c.a;
    }
    return out;
}

TEST_F(PathStore, RedrawDrawsTheSegmentsOfTheRunInTheirStoredColorsAndKinds) {
    // Quick motions are drawn as clipped segments (DrawLine), animated ones as lines on from
    // the pen; the redraw does the same, so its pixels are those of the run. Drilling
    // cycles and their marks come back as drawn, and the lines around a cycle go on from
    // where it ends, never across it.
    struct Case {
        const char* name;
        std::vector<std::pair<MotionRecord, bool>> motions;  // motion, quick
    };
    const Case cases[] = {
        {"lines and an arc",
         {{Motion(KindRapid, 0, 0, 5), true},
          {Motion(KindFeed, 10, 0, 5), true},
          {Motion(KindArcCcwXY, 0, 10, 5, 0, 0), true},
          {Motion(KindFeed, 0, 20, 5), true}}},
        {"arcs quick and animated",
         {{Motion(KindFeed, 13, 0, 1), true},
          {Motion(KindArcCwXY, 3, -10, 0.7, 3, 0), true},
          {Motion(KindArcCcwZX, 3, -10, 5, 1, 3), false},
          {Motion(KindArcCcwYZ, 3, -10, 5, 5, 5), true},
          {Motion(KindRapid, 0, 0, 0), true}}},
        {"quick cycle",
         {{Motion(KindFeed, 10, 0, 0), true},
          {Motion(81, 10, 0, -4.5, -1), true},
          {Motion(KindFeed, 20, 0, 0), true}}},
        {"animated cycle",
         {{Motion(KindFeed, 10, 0, 0), true},
          {Motion(81, 10, 0, -4.5, -1), false},
          {Motion(KindFeed, 20, 0, 0), true}}},
    };
    for (const Case& c : cases) {
        drawer.ClearPath();
        drawer.ResetPosition();
        settings.feedColor = kFeed;
        views.Clear();
        drawer.SetFeed(60);
        for (const auto& [motion, quick] : c.motions)
            Draw(motion, quick, 0.7);
        const auto drawn = Segments(views.calls);
        settings.feedColor = 0x123456;  // stored values are not references
        views.Clear();
        drawer.Redraw();
        EXPECT_EQ(Segments(views.calls), drawn) << c.name;
        EXPECT_EQ(views.Count(Op::ToolTo) + views.Count(Op::Refresh), 0u) << c.name;
        EXPECT_EQ(drawer.Vertices().Motions(), c.motions.size()) << c.name;
    }
}

TEST_F(PathStore, EveryValueReadsBackExactly) {
    // Thousandths in steps of every size, values that are no thousandths, huge and tiny
    // values, signed zeros and infinities, across chunk boundaries.
    const double values[] = {0.0,          -0.0,    0.001,
                             -0.001,       0.127,   -0.128,
                             32.767,       -32.768, 32.768,
                             1e6,          -1e9,    8.9e12,
                             9.1e12,       1e300,   -1e-300,
                             0.1 + 0.2,    1.0 / 3, 12345.6789,
                             1e-4,         5e-324,  std::numeric_limits<double>::infinity(),
                             0.001 * 1234, 2.5};
    const std::size_t n = std::size(values);
    VertexList list;
    std::vector<PathVertex> expected;
    for (std::size_t i = 0; i < 3 * VertexList::kChunkItems; ++i) {
        const Point3 p{values[i % n], values[(i / n) % n], values[(i * 7 + 3) % n]};
        const uint32_t color = uint32_t(i / 1000);
        list.BeginMotion({uint32_t(i % 3), int64_t(i) * 37 - 5});
        list.Append(p, color);
        expected.push_back({p, color});
    }
    const std::vector<PathVertex> read = AllVertices(list);
    ASSERT_EQ(read.size(), expected.size());
    for (std::size_t i = 0; i < read.size(); ++i) {
        const auto bits = [](const Point3& p) {
            return std::array{std::bit_cast<uint64_t>(p.x), std::bit_cast<uint64_t>(p.y),
                              std::bit_cast<uint64_t>(p.z)};
        };
        ASSERT_EQ(bits(read[i].point), bits(expected[i].point)) << i;
        ASSERT_EQ(read[i].color, expected[i].color) << i;
    }
    const std::size_t k = VertexList::kChunkItems;
    EXPECT_EQ(list[k + 7], expected[k + 7]);
    EXPECT_EQ(list.Motions(), expected.size());
    for (std::size_t m : {std::size_t{0}, k - 1, k, expected.size() - 1})
        EXPECT_EQ(list.Source(m), (MotionSource{uint32_t(m % 3), int64_t(m) * 37 - 5})) << m;
}

TEST_F(PathStore, ThousandthPathsTakeAFewBytesAPoint) {
    VertexList list;
    const std::size_t n = 200000;
    for (std::size_t i = 0; i < n; ++i) {
        list.BeginMotion({0, int64_t(i) * 25});
        list.Append({double(i % 5000 * 13) / 1000, double(i % 777 * 21) / 1000, -4.5}, 2);
    }
    EXPECT_LE(list.Bytes(), n * 8);
}

TEST_F(PathStore, ReplayOfOneMotionAndSegmentsKnowTheirMotion) {
    drawer.SetSource("a.nc", 10);
    Draw(Motion(KindFeed, 10, 0, 0), true);
    drawer.SetSource("b.nc", 30);
    Draw(Motion(KindArcCcwXY, 0, 10, 0, 0, 0), true);
    drawer.SetSource("a.nc", 50);
    Draw(Motion(KindFeed, 0, 20, 0), true);
    const VertexList& list = drawer.Vertices();
    ASSERT_EQ(list.Motions(), 3u);
    EXPECT_EQ(list.Files()[list.Source(1).file], "b.nc");
    EXPECT_EQ(list.Source(1).offset, 30);
    EXPECT_EQ(list.Source(2), (MotionSource{0, 50}));

    views.Clear();
    list.ReplayMotion(views, 2, 0xABC);
    // The pens go to where the motion starts, then its line in the color asked for.
    ASSERT_GE(views.calls.size(), 3u);
    EXPECT_EQ(views.calls[0].op, Op::MoveTo);
    EXPECT_EQ(views.calls[views.calls.size() - 2].color, 0xABCu);
    EXPECT_EQ(views.calls.back().a, (Point3{0, 10, 0}));
    EXPECT_EQ(views.calls.back().b, (Point3{0, 20, 0}));

    std::vector<std::size_t> motions;
    std::vector<uint32_t> colors;
    list.ForEachSegment([&](const PathSegment& s) {
        motions.push_back(s.motion);
        colors.push_back(s.color);
    });
    ASSERT_EQ(motions.size(), 1u + 23 + 1);
    EXPECT_EQ(colors, std::vector<uint32_t>(motions.size(), kFeed));
    EXPECT_EQ(motions.front(), 0u);
    EXPECT_EQ(motions[1], 1u);
    EXPECT_EQ(motions.back(), 2u);
    // A filter that rejects every chunk leaves nothing.
    motions.clear();
    list.ForEachSegment([&](const PathSegment& s) { motions.push_back(s.motion); },
                        [](const PathBox&) { return false; });
    EXPECT_TRUE(motions.empty());
}

TEST_F(PathStore, AFilteredWalkMissesNoSegmentThatReachesTheBox) {
    // A raster of short motions of every kind (quick and animated, arcs, a drilling cycle
    // now and then), rows back and forth, so that chunks overlap and groups do not; some
    // values are not thousandths, and one row lies beyond 32-bit thousandths (the walk
    // starts at groups whose pens and steps are kept in every form).
    for (int i = 0; i < 2500; ++i) {
        const int row = i / 100;
        const double x = (row % 2 == 0 ? i % 100 : 99 - i % 100) + (i % 13 == 0 ? 1.0 / 3 : 0);
        const double y = row * 3 + 0.001 * (i % 10) + (row == 7 ? 3e6 : 0);
        if (i % 7 == 0) {
            Draw(Motion(KindArcCcwXY, x, y, 0, x - 0.5, y), i % 2 == 0, 10.0);
        } else if (i % 50 == 25) {
            Draw(Motion(81, x, y, -4.5, -1), true);
        } else {
            Draw(Motion(i % 3 == 0 ? KindRapid : KindFeed, x, y, i % 5), i % 4 != 0, 10.0);
        }
    }
    const VertexList& list = drawer.Vertices();
    std::vector<PathSegment> all;
    list.ForEachSegment([&](const PathSegment& s) { all.push_back(s); });
    const auto meets = [](const PathBox& b, const Point3& lo, const Point3& hi) {
        return b.low.x <= hi.x && b.high.x >= lo.x && b.low.y <= hi.y && b.high.y >= lo.y &&
               b.low.z <= hi.z && b.high.z >= lo.z;
    };
    using Key = std::tuple<double, double, double, double, double, double, std::size_t, uint32_t>;
    std::set<Key> every;
    for (const PathSegment& s : all)
        every.insert({s.from.x, s.from.y, s.from.z, s.to.x, s.to.y, s.to.z, s.motion, s.color});
    // Small boxes about the middles of segments all along the path (a segment is found
    // through the group of the item that ends it, whose box must hold its start too).
    std::size_t nearest = all.size();
    for (std::size_t k = 0; k < all.size(); k += 37) {
        const Point3 mid{(all[k].from.x + all[k].to.x) / 2, (all[k].from.y + all[k].to.y) / 2,
                         (all[k].from.z + all[k].to.z) / 2};
        const Point3 lo{mid.x - 0.01, mid.y - 0.01, mid.z - 0.01};
        const Point3 hi{mid.x + 0.01, mid.y + 0.01, mid.z + 0.01};
        std::set<Key> near;
        list.ForEachSegment(
            [&](const PathSegment& s) {
                const Key key{s.from.x, s.from.y, s.from.z, s.to.x,
                              s.to.y,   s.to.z,   s.motion, s.color};
                ASSERT_TRUE(every.count(key)) << "a segment the path does not have, motion "
                                              << s.motion << " near segment " << k;
                near.insert(key);
            },
            [&](const PathBox& b) { return meets(b, lo, hi); });
        for (const PathSegment& s : all) {
            PathBox box;
            box.Add(s.from);
            box.Add(s.to);
            if (!meets(box, lo, hi)) continue;
            ASSERT_TRUE(near.count(
                {s.from.x, s.from.y, s.from.z, s.to.x, s.to.y, s.to.z, s.motion, s.color}))
                << "motion " << s.motion << " near segment " << k;
        }
        nearest = std::min(nearest, near.size());
    }
    EXPECT_LT(nearest, all.size() / 20) << "the groups leave most segments out";
}

TEST_F(PathStore, TheNearestFirstWalkFindsTheNearestSegmentAsAFullWalkDoes) {
    // Rows back and forth, each row over the one before at another height, so that many
    // segments are equally near a point seen from above: the last of them must win.
    for (int i = 0; i < 3000; ++i) {
        const int row = i / 100;
        const double x = row % 2 == 0 ? i % 100 : 99 - i % 100;
        const double y = (row % 5) * 2 + 0.5 * (i % 3);
        if (i % 11 == 0) {
            Draw(Motion(KindArcCwXY, x, y, -row, x - 0.5, y), true);
        } else {
            Draw(Motion(KindFeed, x, y, -row), i % 4 != 0, 10.0);
        }
    }
    const VertexList& list = drawer.Vertices();
    // Distance in the XY plane, of a segment from a point and of a box from it.
    const auto toSegment = [](const PathSegment& s, double px, double py) {
        const double dx = s.to.x - s.from.x, dy = s.to.y - s.from.y;
        const double length2 = dx * dx + dy * dy;
        const double t =
            length2 > 0
                ? std::clamp(((px - s.from.x) * dx + (py - s.from.y) * dy) / length2, 0.0, 1.0)
                : 0.0;
        return std::hypot(s.from.x + t * dx - px, s.from.y + t * dy - py);
    };
    for (const auto& [px, py] : {std::pair{50.0, 4.0}, std::pair{10.3, 0.5}, std::pair{99.0, 8.9},
                                 std::pair{30.0, 2.2}, std::pair{200.0, 0.0}}) {
        const double radius = 0.8;
        double best = radius;
        std::size_t bestMotion = 0;
        bool found = false;
        list.ForEachSegment([&](const PathSegment& s) {  // the full walk, in path order
            const double d = toSegment(s, px, py);
            if (d <= best) {
                best = d;
                bestMotion = s.motion;
                found = true;
            }
        });
        double nearest = radius;
        std::size_t nearestMotion = 0;
        bool nearestFound = false;
        list.ForEachSegmentNearest(
            [&](const PathBox& b) {
                const double dx = std::max({0.0, b.low.x - px, px - b.high.x});
                const double dy = std::max({0.0, b.low.y - py, py - b.high.y});
                const double d = std::hypot(dx, dy);
                return d <= radius ? d : INFINITY;
            },
            [&](const PathSegment& s) {
                const double d = toSegment(s, px, py);
                if (d < nearest || (d == nearest && (!nearestFound || s.motion >= nearestMotion))) {
                    nearest = d;
                    nearestMotion = s.motion;
                    nearestFound = true;
                }
                return nearest;
            });
        EXPECT_EQ(nearestFound, found) << px << "," << py;
        EXPECT_EQ(nearest, best) << px << "," << py;
        EXPECT_EQ(nearestMotion, bestMotion) << px << "," << py;
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

TEST_F(PathStore, TheSketchKeepsEachStepBetweenCellsOnceAndStaysBounded) {
    // A square of long lines: four steps from corner cell to corner cell, in their colors.
    Draw(Motion(KindRapid, 0, 0, 0), true);
    for (const auto& [x, y] : {std::pair{100, 0}, {100, 100}, {0, 100}, {0, 0}})
        Draw(Motion(KindFeed, x, y, 0), true);
    PathOverview sketch;
    std::atomic<bool> stop{false};
    ASSERT_TRUE(sketch.Build(drawer.Vertices(), stop));
    ASSERT_EQ(sketch.Steps().size(), 4u);
    for (const PathOverview::Step& step : sketch.Steps()) {
        EXPECT_EQ(step.color, kFeed);
        EXPECT_NEAR(std::hypot(step.to.x - step.from.x, step.to.y - step.from.y), 100.0, 0.2);
    }
    // Two hundred thousand short zigzag lines over a wide box: the cells grow until the
    // steps fit the bound, and every step still lies in the path's box.
    for (int i = 0; i < 200000; ++i)
        Draw(Motion(KindFeed, (i % 2000) * 0.05, (i / 2000) * 1.0 + (i % 2) * 0.3, 0), true);
    ASSERT_TRUE(sketch.Build(drawer.Vertices(), stop));
    EXPECT_GT(sketch.Steps().size(), 1000u);
    EXPECT_LE(sketch.Steps().size(), PathOverview::kMaxSteps);
    const PathBox& box = drawer.Vertices().Bounds();
    for (const PathOverview::Step& step : sketch.Steps()) {
        ASSERT_GE(std::min(step.from.x, step.to.x), box.low.x);
        ASSERT_LE(std::max(step.from.y, step.to.y), box.high.y + 1.0);
    }
    // A build held back now and then gives the same sketch; one stopped (also while held
    // back) leaves none.
    const std::size_t steps = sketch.Steps().size();
    int pauses = 0;
    ASSERT_TRUE(sketch.Build(drawer.Vertices(), stop, [&] { ++pauses; }));
    EXPECT_EQ(sketch.Steps().size(), steps);
    EXPECT_GE(pauses, 200000 / 4096);
    EXPECT_FALSE(sketch.Build(drawer.Vertices(), stop, [&] { stop = true; }));
    EXPECT_TRUE(sketch.Steps().empty());
    EXPECT_FALSE(sketch.Build(drawer.Vertices(), stop));
    EXPECT_TRUE(sketch.Steps().empty());
    // A walk no longer wanted ends within the chunk it is in, not at the path's end.
    std::atomic<bool> enough{false};
    std::size_t visited = 0;
    drawer.Vertices().ForEachSegmentUntil([&](const PathSegment&) { enough = ++visited >= 5000; },
                                          enough);
    EXPECT_LT(visited, 5000 + 4 * VertexList::kChunkItems);
}

}  // namespace
}  // namespace cuttrace::test
