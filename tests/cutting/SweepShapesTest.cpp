// Removal against shapes worked out by hand, and against a brute-force sweep that samples
// the path densely: the exact sweep must be at or below every sampled tool position and
// within the sampling step of the lowest one.
#include <cmath>
#include <numbers>
#include <vector>

#include <gtest/gtest.h>

#include "cutting/CutSimulator.h"
#include "cutting/ToolSweep.h"

namespace cuttrace::cutting {
namespace {

constexpr double kPi = std::numbers::pi;

// Stock 0..20 x -5..5 x -10..0 on 0.1 cells: centres at 0.05 + 0.1 k.
HeightField Field() {
    HeightField field;
    std::string error, note;
    EXPECT_TRUE(field.Reset({{0, -5, -10}, {20, 5, 0}}, 200, &error, &note)) << error;
    EXPECT_EQ(field.Columns(), 200);
    EXPECT_EQ(field.Rows(), 100);
    return field;
}

CutMotion Line(MoveKind kind, Point3 a, Point3 b, int32_t tool = 1) {
    CutMotion m;
    m.kind = kind, m.start = a, m.end = b, m.tool = tool;
    return m;
}

CutMotion Arc(ArcPlane plane, bool clockwise, Point3 a, Point3 b, double c1, double c2) {
    CutMotion m = Line(MoveKind::Arc, a, b);
    m.plane = plane, m.clockwise = clockwise, m.centreFirst = c1, m.centreSecond = c2;
    return m;
}

const HeightField& Cut(CutSimulator& sim, const CutTool& tool, std::vector<CutMotion> motions,
                       int threads = 2) {
    std::string error, note;
    EXPECT_TRUE(sim.Reset({{0, -5, -10}, {20, 5, 0}}, 200, &error, &note));
    ToolTable table;
    table.Set(1, tool);
    sim.SetTools(table, tool);
    sim.SetThreads(threads);
    sim.Cut(motions);
    return sim.Field();
}

TEST(SweepShapes, FlatSlotHasTheToolsWidthAndTheMovesDepth) {
    CutSimulator sim;
    const HeightField& f =
        Cut(sim, {ToolShape::Flat, 4.0, 0.0}, {Line(MoveKind::Feed, {5, 0, -3}, {15, 0, -3})});
    // Across the middle: |y| <= 2 gives the 40 centres -1.95..1.95 at exactly -3.
    int across = 0;
    for (int row = 0; row < f.Rows(); ++row) {
        const double h = f.Height(100, row);
        EXPECT_TRUE(h == -3.0 || h == 0.0) << h;
        across += h == -3.0;
    }
    EXPECT_EQ(across, 40);
    // Along the middle: x in [3, 17] (round ends) gives 3.05..16.95, 140 centres.
    int along = 0;
    for (int column = 0; column < f.Columns(); ++column)
        along += f.Height(column, 50) == -3.0;
    EXPECT_EQ(along, 140);
    // A corner of the round end: (16.35, 1.45) is 1.98 from (15, 0); (16.35, 1.55) is 2.06.
    EXPECT_EQ(f.Height(163, 64), -3.0);
    EXPECT_EQ(f.Height(163, 65), 0.0);
}

TEST(SweepShapes, BallGrooveAndDrillConeFollowTheirProfiles) {
    CutSimulator ball;
    const HeightField& g =
        Cut(ball, {ToolShape::Ball, 6.0, 0.0}, {Line(MoveKind::Feed, {2, 0, -4}, {18, 0, -4})});
    CutSimulator drill;
    CutMotion hole = Line(MoveKind::Cycle, {10, 0, 5}, {10, 0, -5});
    hole.rLevel = 1.0;
    const HeightField& d = Cut(drill, {ToolShape::Drill, 6.0, 0.0}, {hole});
    for (int row = 0; row < g.Rows(); ++row) {
        const double y = g.CentreY(row);
        // Circle of radius 3 whose lowest point is the tip at -4; 118 degree cone at -5.
        const double groove = std::fabs(y) < 3 ? std::min(0.0, -1.0 - std::sqrt(9 - y * y)) : 0.0;
        EXPECT_NEAR(g.Height(100, row), groove, 1e-9) << y;
        const double r = std::hypot(d.CentreX(100) - 10.0, y);
        const double cone = r <= 3 ? std::min(0.0, -5.0 + r / std::tan(59 * kPi / 180)) : 0.0;
        EXPECT_NEAR(d.Height(100, row), cone, 1e-9) << y;
    }
}

TEST(SweepShapes, FlatToolAlongALowerHalfCircleInZX) {
    // Centre Z 0, X 10, radius 5, from X5 to X15 through Z-5.
    CutSimulator sim;
    const HeightField& f = Cut(sim, {ToolShape::Flat, 2.0, 0.0},
                               {Arc(ArcPlane::ZX, true, {5, 0, 0}, {15, 0, 0}, 0.0, 10.0)});
    for (int row = 40; row < 60; ++row) {
        for (int column = 0; column < f.Columns(); ++column) {
            const double x = f.CentreX(column), y = f.CentreY(row);
            double expected = 0.0;
            if (std::fabs(y) <= 1.0) {
                // The tool reaches tips with |X - x| <= w; the lowest is the one nearest X10.
                const double w = std::sqrt(1.0 - y * y);
                const double gap = std::max(std::fabs(x - 10.0) - w, 0.0);
                if (gap <= 5.0) expected = -std::sqrt(25.0 - gap * gap);
            }
            ASSERT_NEAR(f.Height(column, row), expected, 1e-9) << x << " " << y;
        }
    }
}

TEST(SweepShapes, FlatToolAlongAHelixInYZ) {
    // Lower half circle in YZ (centre Y0 Z0, radius 4) from Y-4 to Y4 through Z-4, moving
    // along X from 6 to 14: at angle p from the lowest point the tip is at X 10 + 8p/pi,
    // Y 4 sin p, Z -4 cos p. A flat end mill of radius 1 leaves over each cell the depth
    // of the reachable tip nearest the lowest point.
    CutSimulator sim;
    const HeightField& f = Cut(sim, {ToolShape::Flat, 2.0, 0.0},
                               {Arc(ArcPlane::YZ, false, {6, -4, 0}, {14, 4, 0}, 0.0, 0.0)});
    const auto reaches = [](double p, double x, double y) {
        const double dx = 10 + 8 * p / kPi - x, dy = 4 * std::sin(p) - y;
        return dx * dx + dy * dy <= 1.0;
    };
    for (int column = 80; column < 120; ++column) {
        for (int row : {50, 53}) {  // Y 0.05 and 0.35
            const double x = f.CentreX(column), y = f.CentreY(row);
            // The nearest reachable angle on either side: scanned, then halved.
            double expected = 0.0;
            for (double side : {-1.0, 1.0}) {
                double p = 0.0;
                while (p < kPi / 2 && !reaches(side * p, x, y))
                    p += 1e-3;
                if (p >= kPi / 2) continue;
                double out = std::max(p - 1e-3, 0.0), in = p;
                if (reaches(side * out, x, y)) in = out;
                for (int k = 0; k < 60; ++k) {
                    const double m = 0.5 * (out + in);
                    (reaches(side * m, x, y) ? in : out) = m;
                }
                expected = std::min(expected, -4 * std::cos(in));
            }
            ASSERT_NEAR(f.Height(column, row), expected, 1e-9) << x << " " << y;
        }
    }
    // Within 1 of the lowest point (X10 Y0) the depth is the helix's lowest, -4.
    EXPECT_EQ(f.Height(100, 50), -4.0);
    EXPECT_EQ(f.Height(109, 50), -4.0);
    EXPECT_GT(f.Height(111, 50), -4.0);
}

// The brute-force sweep: the tool put at many points of the path.
double Profile(const CutTool& t, double r) {
    const double R = t.diameter / 2;
    switch (t.shape) {
        case ToolShape::Flat:
            return 0;
        case ToolShape::Ball:
            return R - std::sqrt(std::max(0.0, R * R - r * r));
        case ToolShape::BullNose: {
            const double u = r - (R - t.cornerRadius);
            return u <= 0 ? 0
                          : t.cornerRadius -
                                std::sqrt(std::max(0.0, t.cornerRadius * t.cornerRadius - u * u));
        }
        case ToolShape::Drill:
            return r / std::tan(59 * kPi / 180);
    }
    return 0;
}

Point3 ArcPoint(const CutMotion& m, double u) {
    const auto axes = [&](const Point3& p, double* a, double* b, double* n) {
        if (m.plane == ArcPlane::XY) *a = p.x, *b = p.y, *n = p.z;
        if (m.plane == ArcPlane::ZX) *a = p.z, *b = p.x, *n = p.y;
        if (m.plane == ArcPlane::YZ) *a = p.y, *b = p.z, *n = p.x;
    };
    double sa = 0, sb = 0, sn = 0, ea = 0, eb = 0, en = 0;
    axes(m.start, &sa, &sb, &sn);
    axes(m.end, &ea, &eb, &en);
    const double r = std::hypot(sa - m.centreFirst, sb - m.centreSecond);
    const double a0 = std::atan2(sb - m.centreSecond, sa - m.centreFirst);
    double a1 = std::atan2(eb - m.centreSecond, ea - m.centreFirst);
    if (m.clockwise && a1 >= a0) a1 -= 2 * kPi;
    if (!m.clockwise && a1 <= a0) a1 += 2 * kPi;
    const double angle = a0 + (a1 - a0) * u;
    const double a = m.centreFirst + r * std::cos(angle), b = m.centreSecond + r * std::sin(angle);
    const double n = sn + (en - sn) * u;
    if (m.plane == ArcPlane::XY) return {a, b, n};
    if (m.plane == ArcPlane::ZX) return {b, n, a};
    return {n, a, b};
}

std::vector<double> Sampled(const CutTool& tool, const CutMotion& m, int samples) {
    const HeightField f = Field();
    std::vector<double> low(f.HeightValues().size(), HUGE_VAL);
    const double R = tool.diameter / 2;
    for (int k = 0; k <= samples; ++k) {
        const double u = static_cast<double>(k) / samples;
        const Point3 p = m.kind == MoveKind::Arc ? ArcPoint(m, u)
                                                 : Point3{m.start.x + (m.end.x - m.start.x) * u,
                                                          m.start.y + (m.end.y - m.start.y) * u,
                                                          m.start.z + (m.end.z - m.start.z) * u};
        const int c0 = std::max(0, static_cast<int>((p.x - R) / 0.1) - 1);
        const int c1 = std::min(f.Columns() - 1, static_cast<int>((p.x + R) / 0.1) + 1);
        for (int row = 0; row < f.Rows(); ++row) {
            const double dy = f.CentreY(row) - p.y;
            if (std::fabs(dy) > R) continue;
            for (int column = c0; column <= c1; ++column) {
                const double dx = f.CentreX(column) - p.x;
                if (dx * dx + dy * dy > R * R) continue;
                const double r = std::sqrt(dx * dx + dy * dy);
                double& v = low[f.Index(column, row)];
                v = std::min(v, p.z + Profile(tool, r));
            }
        }
    }
    return low;
}

TEST(SweepShapes, EveryToolOnLinesArcsAndHelicesMatchesADenseSweep) {
    const CutTool tools[] = {{ToolShape::Flat, 3.0, 0.0},
                             {ToolShape::Ball, 3.0, 0.0},
                             {ToolShape::BullNose, 3.0, 0.5},
                             {ToolShape::Drill, 3.0, 0.0}};
    const CutMotion motions[] = {
        Line(MoveKind::Feed, {3, -2, -1}, {16, 3, -4}),             // sloped line
        Line(MoveKind::Feed, {14, 2, -4}, {4, -1, -0.5}),           // rising line
        Arc(ArcPlane::XY, false, {14, 0, -1}, {14, 0, -3}, 10, 0),  // whole-turn helix
        Arc(ArcPlane::XY, true, {6, 2, -2}, {12, -1, -2}, 9, 3),    // flat arc
        Arc(ArcPlane::ZX, false, {6, 1, -1}, {14, 1, -1}, -1, 10),  // over the top in ZX
        Arc(ArcPlane::YZ, true, {10, -3, -2}, {10, 3, -2}, 0, -2),  // YZ half circle
        Arc(ArcPlane::ZX, true, {5, -1, -1}, {15, 1, -1}, -1, 10),  // ZX helix along Y
        Arc(ArcPlane::YZ, false, {7, 3, -2}, {13, -3, -2}, 0, -2),  // YZ helix along X
        Arc(ArcPlane::ZX, false, {6, -3, -2}, {6, 3, -2}, -2, 8),   // whole turn along Y
    };
    for (const CutTool& tool : tools) {
        for (const CutMotion& m : motions) {
            CutSimulator sim;
            const HeightField& f = Cut(sim, tool, {m});
            const std::vector<double> low = Sampled(tool, m, 6000);
            int onlyExact = 0;
            for (std::size_t i = 0; i < low.size(); ++i) {
                const double exact = f.HeightValues()[i];
                const double sampled = std::max(std::min(low[i], 0.0), -10.0);
                const std::string where = std::to_string(static_cast<int>(tool.shape)) + " " +
                                          std::to_string(&m - motions) + " " + std::to_string(i);
                if (low[i] == HUGE_VAL) {
                    onlyExact += exact < 0.0;  // a sliver between samples
                    continue;
                }
                ASSERT_GE(exact, sampled - 3e-3) << where;
                ASSERT_LE(exact, sampled + 1e-9) << where;
            }
            EXPECT_LE(onlyExact, 4) << static_cast<int>(tool.shape) << " " << (&m - motions);
        }
    }
}

TEST(SweepShapes, OneTwoAndThreeThreadsGiveTheSameBits) {
    std::vector<CutMotion> motions;
    for (int k = 0; k < 150; ++k) {
        const double x = 1 + (k * 37 % 180) / 10.0, y = -4 + (k * 53 % 80) / 10.0;
        const double z = -(k % 7) * 0.5;
        CutMotion m =
            k % 5 == 0 ? Arc(ArcPlane::XY, k % 2, {x, y, z}, {x + 1, y, z - 0.3}, x + 0.5, y)
            : k % 11 == 0
                ? Line(MoveKind::Cycle, {x, y, 2}, {x, y, -6})
                : Line(k % 9 ? MoveKind::Feed : MoveKind::Rapid, {x, y, z}, {20 - x, -y, z - 1});
        m.rLevel = 1;
        m.tool = 1 + k % 3;
        motions.push_back(m);
    }
    ToolTable table;
    table.Set(1, {ToolShape::Flat, 2.0, 0.0});
    table.Set(2, {ToolShape::Ball, 3.0, 0.0});
    table.Set(3, {ToolShape::BullNose, 4.0, 1.0});
    std::vector<double> heights[3];
    std::vector<uint8_t> cutBy[3];
    int64_t rapids[3];
    for (int t = 0; t < 3; ++t) {
        CutSimulator sim;
        std::string error, note;
        ASSERT_TRUE(sim.Reset({{0, -5, -10}, {20, 5, 0}}, 173, &error, &note));
        sim.SetTools(table, {ToolShape::Flat, 1.0, 0.0});
        sim.SetThreads(t + 1);
        sim.Cut(std::span(motions).first(60));  // in batches, as a run hands them over
        sim.Cut(std::span(motions).subspan(60));
        heights[t] = sim.Field().HeightValues();
        for (int row = 0; row < sim.Field().Rows(); ++row)
            for (int column = 0; column < sim.Field().Columns(); ++column)
                cutBy[t].push_back(sim.Field().CutBy(column, row));
        rapids[t] = sim.Count(FindingKind::RapidIntoStock);
    }
    EXPECT_EQ(heights[0], heights[1]);
    EXPECT_EQ(heights[0], heights[2]);
    EXPECT_EQ(cutBy[0], cutBy[1]);
    EXPECT_EQ(cutBy[0], cutBy[2]);
    EXPECT_EQ(rapids[0], rapids[1]);
    EXPECT_GT(rapids[0], 0);
    // Each cell ends at the lowest any motion took it to, whatever their order: so the
    // motions backwards, one at a time, leave the same heights (tiles already cut below a
    // motion are passed over, and must not be passed over wrongly).
    CutSimulator backwards;
    std::string error, note;
    ASSERT_TRUE(backwards.Reset({{0, -5, -10}, {20, 5, 0}}, 173, &error, &note));
    backwards.SetTools(table, {ToolShape::Flat, 1.0, 0.0});
    for (std::size_t k = motions.size(); k-- > 0;)
        backwards.Cut(std::span(motions).subspan(k, 1));
    EXPECT_EQ(backwards.Field().HeightValues(), heights[0]);
}

}  // namespace
}  // namespace cuttrace::cutting
