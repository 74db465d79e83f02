// The extent of a path taken straight from its motions, for fitting a picture to it.
#include <gtest/gtest.h>

#include <cmath>
#include <numbers>
#include <vector>

#include "pictures/PathExtent.h"
#include "surfaces/ViewPresets.h"

namespace cuttrace {
namespace {

MotionRecord Motion(int32_t kind, double x, double y, double z, double c1 = 0, double c2 = 0) {
    MotionRecord m;
    m.kind = static_cast<MotionKind>(kind);
    m.x = x;
    m.y = y;
    m.z = z;
    m.centreFirst = c1;
    m.centreSecond = c2;
    return m;
}

struct Box {
    double minX, maxX, minY, maxY;
};

void ExpectBox(const PathBounds& b, const Box& e) {
    ASSERT_FALSE(b.Empty());
    EXPECT_NEAR(b.MinX(), e.minX, 1e-9);
    EXPECT_NEAR(b.MaxX(), e.maxX, 1e-9);
    EXPECT_NEAR(b.MinY(), e.minY, 1e-9);
    EXPECT_NEAR(b.MaxY(), e.maxY, 1e-9);
}

TEST(PathImageExtent, LinesRunFromTheOriginThroughEveryEnd) {
    MotionExtent extent(Point3{}, 2.0);
    extent.Add(Motion(KindRapid, 10, 20, 5));
    extent.Add(Motion(KindFeed, -4, 8, 0));
    ExpectBox(extent.Bounds(), {-4, 10, 0, 20});
}

TEST(PathImageExtent, ArcsReachOnlyTheExtremesTheySweep) {
    // Counter-clockwise quarter from (10, 0) to (0, 10) about the origin.
    MotionExtent quarter(Point3{}, 2.0);
    quarter.Add(Motion(KindRapid, 10, 0, 0));
    quarter.Add(Motion(KindArcCcwXY, 0, 10, 0, 0, 0));
    ExpectBox(quarter.Bounds(), {0, 10, 0, 10});
    // The same ends clockwise: three quarters of the circle.
    MotionExtent three(Point3{}, 2.0);
    three.Add(Motion(KindRapid, 10, 0, 0));
    three.Add(Motion(KindArcCwXY, 0, 10, 0, 0, 0));
    ExpectBox(three.Bounds(), {-10, 10, -10, 10});
    // An end on the start is a whole turn, in the ZX plane seen from the side (X right, Z up).
    MotionExtent turn(Point3{-90, 0, 0}, 2.0);
    turn.Add(Motion(KindRapid, 5, 0, 0));
    turn.Add(Motion(KindArcCcwZX, 5, 0, 0, 0, 0));  // centre z 0, x 0
    ExpectBox(turn.Bounds(), {-5, 5, -5, 5});
}

TEST(PathImageExtent, ArcWithoutRadiusIsALine) {
    MotionExtent extent(Point3{}, 2.0);
    extent.Add(Motion(KindRapid, 3, 3, 0));
    extent.Add(Motion(KindArcCcwXY, 7, 3, 0, 3, 3));  // starts on its centre
    ExpectBox(extent.Bounds(), {0, 7, 0, 3});
}

TEST(PathImageExtent, DrillingCyclesAddTheirMarksAndEndAtTheStartLevel) {
    // From (0, 0, 50): the hole at (10, 0), R level 5, bottom -20, marks of radius 2.
    MotionExtent side(Point3{-90, 0, 0}, 2.0);
    side.Add(Motion(KindRapid, 0, 0, 50));
    side.Add(Motion(81, 10, 0, -20, 5));
    ExpectBox(side.Bounds(), {0, 12, -20, 50});
    MotionExtent top(Point3{}, 2.0);
    top.Add(Motion(KindRapid, 0, 0, 50));
    top.Add(Motion(81, 10, 0, -20, 5));
    top.Add(Motion(KindFeed, 10, 0, 60));  // straight up from the hole at level 50
    ExpectBox(top.Bounds(), {0, 12, -2, 2});
}

TEST(PathImageExtent, TurnedArcsMatchTheirPointsInEveryPreset) {
    // Helical arcs in all three planes: the extent must hold every point of the arcs and
    // reach their extremes.
    const std::vector<MotionRecord> motions = {
        Motion(KindRapid, 12, 3, 4),
        Motion(KindArcCcwXY, 3, 12, -6, 3, 3),   // quarter, down 10
        Motion(KindArcCwZX, 8, 12, -1, -1, 3),   // ZX about (z -1, x 3), a quarter
        Motion(KindArcCcwYZ, 2, 6, -7, 12, -7),  // YZ about (y 12, z -7), x from 8 to 2
        Motion(KindArcCcwXY, 2, 6, -17, 2, -4),  // a whole turn of radius 10 down 10
    };
    for (int preset = 0; preset < kViewPresetCount; ++preset) {
        Point3 rotation;
        rotation = ViewPresetRotation(*ViewPresetFromNumber(preset));
        MotionExtent extent(rotation, 0.0);
        PathBounds sampled(rotation);
        Point3 current;
        for (const MotionRecord& m : motions) {
            extent.Add(m);
            if (m.kind == KindRapid) {
                sampled.Add(current);
                sampled.Add(Point3{m.x, m.y, m.z});
                current = Point3{m.x, m.y, m.z};
                continue;
            }
            // Sample the arc the way it is drawn: angle from the first axis of the plane.
            const int first = m.kind / 10 == 17 ? 0 : m.kind / 10 == 18 ? 2 : 1;
            const int second = m.kind / 10 == 17 ? 1 : m.kind / 10 == 18 ? 0 : 2;
            const int normal = 3 - first - second;
            auto get = [](const Point3& p, int axis) {
                return axis == 0 ? p.x : axis == 1 ? p.y : p.z;
            };
            auto set = [](Point3& p, int axis, double v) {
                (axis == 0 ? p.x : axis == 1 ? p.y : p.z) = v;
            };
            const Point3 end{m.x, m.y, m.z};
            const double sa = get(current, first) - m.centreFirst,
                         sb = get(current, second) - m.centreSecond;
            const double ea = get(end, first) - m.centreFirst,
                         eb = get(end, second) - m.centreSecond;
            const double r = std::hypot(sa, sb);
            double a0 = std::atan2(sb, sa), a1 = std::atan2(eb, ea);
            const bool cw = m.kind % 10 == 2;
            if (cw && a1 >= a0) a1 -= 2 * std::numbers::pi;
            if (!cw && a1 <= a0) a1 += 2 * std::numbers::pi;
            for (int i = 0; i <= 20000; ++i) {
                const double t = i / 20000.0;
                const double a = a0 + (a1 - a0) * t;
                Point3 p;
                set(p, first, m.centreFirst + r * std::cos(a));
                set(p, second, m.centreSecond + r * std::sin(a));
                set(p, normal,
                    get(current, normal) + (get(end, normal) - get(current, normal)) * t);
                sampled.Add(p);
            }
            current = end;
        }
        const PathBounds& b = extent.Bounds();
        EXPECT_NEAR(b.MinX(), sampled.MinX(), 1e-5) << preset;
        EXPECT_NEAR(b.MaxX(), sampled.MaxX(), 1e-5) << preset;
        EXPECT_NEAR(b.MinY(), sampled.MinY(), 1e-5) << preset;
        EXPECT_NEAR(b.MaxY(), sampled.MaxY(), 1e-5) << preset;
        EXPECT_LE(b.MinX(), sampled.MinX() + 1e-12);
        EXPECT_GE(b.MaxY(), sampled.MaxY() - 1e-12);
    }
}

}  // namespace
}  // namespace cuttrace
