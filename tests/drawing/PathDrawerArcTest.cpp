// Arcs and helices in the three planes, animated and quick.
#include <cmath>
#include <cstring>
#include <limits>
#include <numbers>
#include <vector>

#include "drawing/ArcPath.h"
#include "drawing/support/DrawerFixture.h"

namespace cuttrace::test {
namespace {

struct Plane {
    int32_t cw;
    int32_t ccw;
    int first;
    int second;
    int normal;
    const char* name;
};

const Plane kPlanes[] = {
    {KindArcCwXY, KindArcCcwXY, 0, 1, 2, "XY"},
    {KindArcCwZX, KindArcCcwZX, 2, 0, 1, "ZX"},
    {KindArcCwYZ, KindArcCcwYZ, 1, 2, 0, "YZ"},
};

// A point with the given coordinates on a plane's first, second and normal axes.
Point3 InPlane(const Plane& p, double first, double second, double normal) {
    Point3 a;
    Coordinate(a, p.first) = first;
    Coordinate(a, p.second) = second;
    Coordinate(a, p.normal) = normal;
    return a;
}

MotionRecord ArcTo(int32_t kind, const Point3& end, double c1, double c2) {
    return Motion(kind, end.x, end.y, end.z, c1, c2);
}

// The angle swept from `from` through every stored vertex, around a plane centre,
// in degrees (positive from the first axis towards the second).
double Swept(const Plane& p, const Point3& from, const VertexList& vertices, double c1, double c2) {
    double swept = 0.0;
    double last = std::atan2(Coordinate(from, p.second) - c2, Coordinate(from, p.first) - c1);
    for (const PathVertex& v : AllVertices(vertices)) {
        double now =
            std::atan2(Coordinate(v.point, p.second) - c2, Coordinate(v.point, p.first) - c1);
        double d = now - last;
        if (d > std::numbers::pi) d -= 2 * std::numbers::pi;
        if (d < -std::numbers::pi) d += 2 * std::numbers::pi;
        swept += d;
        last = now;
    }
    return swept * 180.0 / std::numbers::pi;
}

class PathDrawerArc : public DrawerTest {};

TEST_F(PathDrawerArc, ArcEndingOnItsStartIsAFullTurnInEveryPlaneAndBothSenses) {
    for (const Plane& plane : kPlanes) {
        for (bool clockwise : {false, true}) {
            for (bool quick : {false, true}) {
                SCOPED_TRACE(std::string(plane.name) + (clockwise ? " cw" : " ccw") +
                             (quick ? " quick" : " animated"));
                const Point3 start = InPlane(plane, 13, 4, 7);  // radius 10 around (3, 4)
                PlaceAt(start);
                drawer.SetFeed(3000);
                Draw(ArcTo(clockwise ? plane.cw : plane.ccw, start, 3, 4), quick);
                EXPECT_NEAR(Swept(plane, start, drawer.Vertices(), 3, 4),
                            clockwise ? -360.0 : 360.0, 1e-6);
                for (const PathVertex& v : AllVertices(drawer.Vertices())) {
                    EXPECT_NEAR(std::hypot(Coordinate(v.point, plane.first) - 3,
                                           Coordinate(v.point, plane.second) - 4),
                                10.0, 1e-9);
                    EXPECT_EQ(Coordinate(v.point, plane.normal), 7.0);
                    EXPECT_EQ(v.color, kFeed);
                }
                EXPECT_TRUE(Near(drawer.Vertices()[drawer.Vertices().Count() - 1].point, start));
                EXPECT_EQ(drawer.CurrentPosition(), start);
                if (quick) {
                    EXPECT_EQ(drawer.Vertices().Count(), 90u);  // 4-degree steps at radius 10
                    EXPECT_EQ(views.Count(Op::Line), 90u);
                    EXPECT_EQ(views.Count(Op::ToolTo), 0u);
                } else {
                    EXPECT_EQ(views.Count(Op::ToolTo), drawer.Vertices().Count());
                    EXPECT_EQ(views.Count(Op::Line), 0u);
                }
            }
        }
    }
}

TEST_F(PathDrawerArc, HelixEndsExactlyOnTheProgrammedNormalCoordinate) {
    for (const Plane& plane : kPlanes) {
        for (int32_t kind : {plane.cw, plane.ccw}) {
            for (bool quick : {false, true}) {
                SCOPED_TRACE(std::string(plane.name) + std::to_string(kind) +
                             (quick ? " quick" : " animated"));
                const Point3 start = InPlane(plane, 5, 0, 0.1);
                PlaceAt(start);
                drawer.SetFeed(1234);
                const Point3 end = InPlane(plane, 0, 5, 0.3);  // a quarter turn one way or three
                Draw(ArcTo(kind, end, 0, 0), quick, 0.0137);
                const VertexList& v = drawer.Vertices();
                ASSERT_GE(v.Count(), 2u);
                EXPECT_EQ(Coordinate(v[v.Count() - 1].point, plane.normal), 0.3);
                EXPECT_EQ(Coordinate(drawer.ToolPosition(), plane.normal), 0.3);
                EXPECT_EQ(drawer.CurrentPosition(), end);
                // The normal coordinate moves with the swept angle, steadily.
                for (std::size_t i = 1; i < v.Count(); ++i) {
                    EXPECT_GE(Coordinate(v[i].point, plane.normal),
                              Coordinate(v[i - 1].point, plane.normal));
                }
            }
        }
    }
}

TEST_F(PathDrawerArc, QuickArcStepIsFortyDegreesOverTheRadiusOrAQuarterTurn) {
    struct Case {
        double radius;
        int32_t kind;
        double endAngle;  // degrees from the first axis; 0 for a full turn
        std::size_t segments;
    };
    const Case cases[] = {
        {0.5, KindArcCcwXY, 0, 4},
        {1.0, KindArcCwXY, 0, 4},
        {20, KindArcCcwXY, 0, 180},
        {20, KindArcCwXY, 90, 135},  // 270 degrees clockwise
        {40, KindArcCwYZ, 0, 360},
        {30, KindArcCcwXY, 90, 68},       // 90 / 1.333: 67.5 -> 68
        {1e9, KindArcCcwXY, 180, 18000},  // the step stops at 0.01 degrees
        // Full turns whose last point ends a batch of points, or begins one.
        {256.0 / 9, KindArcCcwXY, 0, 256},
        {28.5, KindArcCwXY, 0, 257},
        {512.0 / 9, KindArcCwYZ, 0, 512},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.radius);
        const Plane& plane = c.kind == KindArcCwYZ ? kPlanes[2] : kPlanes[0];
        const Point3 start = InPlane(plane, c.radius, 0, 0);
        PlaceAt(start);
        const double a = c.endAngle * std::numbers::pi / 180.0;
        const Point3 end = InPlane(plane, c.radius * std::cos(a), c.radius * std::sin(a), 0);
        Draw(ArcTo(c.kind, end, 0, 0), true);
        EXPECT_EQ(drawer.Vertices().Count(), c.segments);
        auto lines = views.Only(Op::Line);
        ASSERT_EQ(lines.size(), c.segments);
        EXPECT_EQ(lines.front().a, start);
        for (std::size_t i = 1; i < lines.size(); ++i)
            EXPECT_EQ(lines[i].a, lines[i - 1].b);
        const Point3 last = lines.back().b;
        EXPECT_NEAR(std::hypot(last.x - end.x, last.y - end.y, last.z - end.z), 0.0,
                    1e-9 * c.radius);
    }
}

TEST_F(PathDrawerArc, RadiusTwentyQuickArcPointsAreTwoDegreesApart) {
    PlaceAt({20, 0, 0});
    Draw(ArcTo(KindArcCcwXY, {-20, 0, 0}, 0, 0), true);
    const VertexList& v = drawer.Vertices();
    ASSERT_EQ(v.Count(), 90u);
    EXPECT_NEAR(v[0].point.x, 20 * std::cos(2 * std::numbers::pi / 180), 1e-12);
    EXPECT_NEAR(v[0].point.y, 20 * std::sin(2 * std::numbers::pi / 180), 1e-12);
}

TEST_F(PathDrawerArc, ZxAnglesRunFromZTowardsX) {
    // Starts 10 along +X from the centre (angle 90), sweeps towards 10 along -Z (180).
    PlaceAt({10, 0, 0});
    Draw(ArcTo(KindArcCcwZX, {0, 0, -10}, 0, 0), true);
    const Point3 first = drawer.Vertices()[0].point;
    EXPECT_LT(first.z, 0.0);
    EXPECT_LT(first.x, 10.0);
    EXPECT_NEAR(Swept(kPlanes[1], {10, 0, 0}, drawer.Vertices(), 0, 0), 90.0, 1e-9);
}

TEST_F(PathDrawerArc, AnimatedArcTurnsAtFeedSpeedAndStoresEveryStep) {
    PlaceAt({10, 0, 0});
    drawer.SetFeed(600);  // 10 units per second: one radian per second at radius 10
    drawer.BeginMotion(ArcTo(KindArcCcwXY, {0, 10, 0}, 0, 0));
    EXPECT_TRUE(drawer.Busy());
    EXPECT_EQ(drawer.CurrentPosition(), (Point3{0, 10, 0}));
    EXPECT_TRUE(drawer.Vertices().Empty());  // nothing drawn at the start
    EXPECT_EQ(views.Text(), "R\n");

    drawer.Advance(1.0);
    EXPECT_TRUE(Near(drawer.ToolPosition(), {10 * std::cos(1.0), 10 * std::sin(1.0), 0}));
    EXPECT_NEAR(drawer.TotalTime(), Distance({10, 0, 0}, drawer.ToolPosition()) / 10, 1e-12);
    drawer.Advance(1.0);
    EXPECT_FALSE(drawer.Busy());
    EXPECT_TRUE(Near(drawer.ToolPosition(), {0, 10, 0}));
    EXPECT_EQ(drawer.Vertices().Count(), 2u);
    EXPECT_EQ(views.Count(Op::ToolTo), 2u);
    EXPECT_EQ(views.Count(Op::Refresh), 3u);
}

TEST_F(PathDrawerArc, ArcStartingOnItsCentreIsAStraightFeedSegment) {
    for (bool quick : {false, true}) {
        PlaceAt({1, 1, 0});
        drawer.SetFeed(60);
        Draw(ArcTo(KindArcCwXY, {4, 5, 0}, 1, 1), quick);
        ASSERT_EQ(drawer.Vertices().Count(), 1u);
        EXPECT_EQ(drawer.Vertices()[0], (PathVertex{{4, 5, 0}, kFeed}));
        EXPECT_EQ(drawer.CurrentPosition(), (Point3{4, 5, 0}));
        EXPECT_EQ(drawer.ToolPosition(), (Point3{4, 5, 0}));
        EXPECT_NEAR(drawer.TotalTime(), quick ? 0.0 : 5.0, 1e-9);
        drawer.SetTotalTime(0);
    }
    // Start, end and centre all in one place: still one point, and the animation ends.
    PlaceAt({0, 0, 0});
    Draw(ArcTo(KindArcCcwYZ, {0, 0, 0}, 0, 0), false, 0.0, 3);
    EXPECT_EQ(drawer.Vertices().Count(), 1u);
}

TEST_F(PathDrawerArc, ArcWithoutANumberEndsInBothModes) {
    const double nan = std::numeric_limits<double>::quiet_NaN();
    drawer.SetFeed(60000);
    for (bool quick : {false, true}) {
        PlaceAt({5, 0, 0});
        Draw(ArcTo(KindArcCcwXY, {0, 5, 0}, nan, 0), quick, 0.01, 10);
        PlaceAt({5, 0, 0});
        Draw(ArcTo(KindArcCcwXY, {0, 5, 0}, -std::numeric_limits<double>::infinity(), 0), quick,
             0.01, 10);
    }
}

}  // namespace
}  // namespace cuttrace::test

namespace cuttrace::test {
namespace {

// The last arc made is given again only for the same start and record to the last bit: an
// arc made right after another that differs in any one value is the arc of its own values.
TEST(ArcPathMake, GivesTheLastArcAgainOnlyForTheSameValues) {
    const Point3 start{3, 0, 1};
    const MotionRecord base = ArcTo(KindArcCcwXY, {0, 3, 2}, 0, 0);
    const auto same = [](const ArcPath& a, const ArcPath& b) {
        return a.first == b.first && a.clockwise == b.clockwise && a.start == b.start &&
               a.end == b.end && a.centreFirst == b.centreFirst &&
               a.centreSecond == b.centreSecond && a.radius == b.radius &&
               a.startAngle == b.startAngle && a.endAngle == b.endAngle && a.span == b.span &&
               std::signbit(a.startAngle) == std::signbit(b.startAngle);
    };
    for (int change = 0; change < 10; ++change) {
        Point3 s = start;
        MotionRecord r = base;
        double* values[] = {&s.x, &s.y, &s.z, &r.x, &r.y, &r.z, &r.centreFirst, &r.centreSecond};
        if (change < 8) {
            *values[change] += 0.5;
        } else if (change == 8) {
            r.kind = KindArcCwXY;
        } else {
            s.y = -0.0;  // the same value, other bits: the angle 0 either way
        }
        ASSERT_TRUE(same(ArcPath::Make(start, base), ArcPath::Compute(start, base)));
        EXPECT_TRUE(same(ArcPath::Make(s, r), ArcPath::Compute(s, r))) << change;
        EXPECT_TRUE(same(ArcPath::Make(s, r), ArcPath::Compute(s, r))) << change;
    }
}

// The box of a quick arc's polygon holds every point the polygon gives, in every plane and
// sense, for sweeps short and long, across the quarter points and whole turns, helices
// included; and it holds little more than the part of the circle turned through. So does
// the box a stored arc gives without making its polygon (also for an end off the circle,
// or on an axis through the centre), and its last point is the polygon's, bit for bit.
// BoundsWithin says yes for a box round the whole circle and no once any side of Bounds' box
// is pulled in by its last bit; a path store of all these arcs has exactly the union of
// Bounds' boxes for its bounds.
TEST(ArcPolygonBounds, HoldEveryPointAndOnlyThePartOfTheCircleTurnedThrough) {
    int tight = 0;
    int storedTight = 0;
    VertexList path;
    PathBox bounds;
    const double quarter = std::numbers::pi / 2;
    for (const Plane& plane : kPlanes) {
        for (const bool clockwise : {false, true}) {
            for (const double radius : {0.3, 7.0, 250.0}) {
                for (double from = -3.0; from < 3.2; from += 0.7) {
                    for (const double sweep :
                         {0.01, 0.4, 1.5, 3.1, 4.0, 6.2, 2 * std::numbers::pi}) {
                        for (const auto& [start, end] :
                             {std::pair{from, from + (clockwise ? -sweep : sweep)},
                              std::pair{quarter, quarter + (clockwise ? -sweep : sweep)},
                              std::pair{from, (clockwise ? -1.0 : 1.0) * quarter}}) {
                            for (const double off : {1.0, 1.3}) {
                                const Point3 a = InPlane(plane, 5 + radius * std::cos(start),
                                                         -2 + radius * std::sin(start), 1.0);
                                const Point3 b = InPlane(plane, 5 + off * radius * std::cos(end),
                                                         -2 + off * radius * std::sin(end), -0.5);
                                const MotionRecord record =
                                    ArcTo(clockwise ? plane.cw : plane.ccw, b, 5, -2);
                                const ArcPath arc = ArcPath::Make(a, record);
                                if (arc.Degenerate()) continue;
                                const ArcPolygon polygon = ArcPolygon::Quick(arc);
                                Point3 low, high;
                                polygon.Bounds(low, high);
                                StoredArc stored;
                                stored.Set(a, record);
                                Point3 storedLow, storedHigh;
                                ASSERT_TRUE(stored.Box(storedLow, storedHigh));
                                const Point3 last = stored.Last();
                                const Point3 polygonLast = polygon.Last();
                                ASSERT_EQ(std::memcmp(&last, &polygonLast, sizeof last), 0);
                                std::vector<Point3> points{a};
                                Point3 batch[ArcPolygon::kBatch];
                                ArcPolygon::Cursor cursor = polygon.Begin();
                                while (const std::size_t n = polygon.Fill(cursor, batch))
                                    points.insert(points.end(), batch, batch + n);
                                for (const Point3& p : points) {
                                    for (const auto& [l, h] :
                                         {std::pair{low, high}, std::pair{storedLow, storedHigh}}) {
                                        ASSERT_TRUE(p.x >= l.x && p.y >= l.y && p.z >= l.z &&
                                                    p.x <= h.x && p.y <= h.y && p.z <= h.z)
                                            << plane.name << " " << clockwise << " r " << radius
                                            << " from " << start << " to " << end << " off " << off;
                                    }
                                }
                                const double reach = radius * 1.001 + 0.01;
                                EXPECT_TRUE(polygon.BoundsWithin(
                                    InPlane(plane, 5 - reach, -2 - reach, -0.5),
                                    InPlane(plane, 5 + reach, -2 + reach, 1.0)));
                                for (int side = 0; side < 6; ++side) {
                                    Point3 l = low, h = high;
                                    double& v =
                                        side < 3 ? Coordinate(l, side) : Coordinate(h, side - 3);
                                    v = std::nextafter(v, side < 3 ? INFINITY : -INFINITY);
                                    ASSERT_FALSE(polygon.BoundsWithin(l, h)) << side;
                                }
                                path.AppendArc(polygon, 1, a, record);
                                bounds.AddBox(low, high);
                                const auto wide = [](const Point3& l, const Point3& h) {
                                    return (h.x - l.x) + (h.y - l.y) + (h.z - l.z);
                                };
                                if (sweep < 1.0 && off == 1.0 && start == from) {
                                    tight += wide(low, high) < 2.2 * radius;
                                    storedTight += wide(storedLow, storedHigh) < 2.2 * radius;
                                }
                            }
                        }
                    }
                }
            }
        }
    }
    EXPECT_GT(tight, 100);  // short arcs get boxes far smaller than their circle's
    EXPECT_GT(storedTight, 100);
    EXPECT_EQ(path.Bounds().low, bounds.low);
    EXPECT_EQ(path.Bounds().high, bounds.high);
}

}  // namespace
}  // namespace cuttrace::test
