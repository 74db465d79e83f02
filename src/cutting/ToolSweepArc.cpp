// Arcs and helices in every plane.
#include <algorithm>
#include <cmath>

#include "cutting/ToolSweep.h"
#include "cutting/ToolSweepParts.h"

namespace cuttrace::cutting {

using namespace sweep;

namespace {

// An arc in XY (a helix along Z) swept by a tool: the arc, and what the sweep of every cell
// needs of it.
struct XYArc {
    XYArc(const CutTool& cutter, double centreX, double centreY, double arcRadius, double startAt,
          double turn, double zStart, double zEnd);

    double ZAt(double angle) const { return z0 + (angle - startAngle) * rise; }
    // The direction (vx, vy) from the centre lies in the arc's sector.
    bool InSector(double vx, double vy) const;
    // The tool may reach the cell centre (px, py), which lies (dx, dy) from the arc's centre,
    // d2 the square of that distance. The test is a little generous; Lowest decides.
    bool Reaches(double px, double py, double dx, double dy, double d2) const;
    // The lowest point of the tool over the cell between the angles a and b (see Lowest).
    double PieceLowest(double a, double b, double d, double d2, double phi, double height,
                       double bottom) const;
    // The lowest point of the tool over the cell (dx, dy) from the centre; HUGE_VAL where
    // it does not reach the cell. height is the cell's height now and bottom the stock's:
    // pieces of a helix that cannot go below either are not searched.
    double Lowest(double dx, double dy, double d2, double height, double bottom) const;

    const CutTool& tool;
    double cx, cy, radius, startAngle, span, z0, z1;
    double R, r2, R2, lo, hi;
    bool helix;
    double rise;
    // Cells within the tool's reach lie in the ring |d - radius| <= R.
    double outer2, inner2;
    // Cells with d2 in [clearInner2, clearOuter2] are within the ring beyond any rounding
    // (empty when the ring is too thin for that to be sure).
    double clearOuter2, clearInner2;
    // A flat end mill on a flat arc cuts at the arc's level wherever it reaches: within the
    // ring inside the arc's sector, or within R of an end. The sector runs counter-clockwise
    // from `from` to `to`.
    bool flatOnFlat;
    double lowestTip, reach2;
    double fromX, fromY, toX, toY;
    bool wholeTurn, wide;
    double startX, startY, endX, endY;
};

XYArc::XYArc(const CutTool& cutter, double centreX, double centreY, double arcRadius,
             double startAt, double turn, double zStart, double zEnd)
    : tool(cutter),
      cx(centreX),
      cy(centreY),
      radius(arcRadius),
      startAngle(startAt),
      span(turn),
      z0(zStart),
      z1(zEnd) {
    R = tool.Radius();
    lo = std::min(startAngle, startAngle + span);
    hi = std::max(startAngle, startAngle + span);
    r2 = radius * radius, R2 = R * R;
    helix = z0 != z1;
    rise = (z1 - z0) / span;
    outer2 = (radius + R) * (radius + R);
    inner2 = radius > R ? (radius - R) * (radius - R) : -1.0;
    {
        const double reach =
            std::sqrt(R2 * (tool.shape == ToolShape::Flat && z0 == z1 ? 1.0 : kSpanMargin));
        const double margin = 1e-9 * (radius + reach) * (radius + reach);
        const bool sure = reach >= 1e-4 * radius;
        clearOuter2 = sure ? (radius + reach) * (radius + reach) - margin : -1.0;
        clearInner2 = radius > reach ? (radius - reach) * (radius - reach) + margin : 0.0;
    }
    flatOnFlat = tool.shape == ToolShape::Flat && !helix;
    lowestTip = std::min(z0, z1);
    reach2 = flatOnFlat ? R2 : R2 * kSpanMargin;
    const double endAngle = startAngle + span;
    const double sx = std::cos(startAngle), sy = std::sin(startAngle);
    const double ex = std::cos(endAngle), ey = std::sin(endAngle);
    fromX = span > 0 ? sx : ex, fromY = span > 0 ? sy : ey;
    toX = span > 0 ? ex : sx, toY = span > 0 ? ey : sy;
    wholeTurn = std::fabs(span) >= kTwoPi;
    wide = std::fabs(span) > kPi;
    startX = cx + radius * sx, startY = cy + radius * sy;
    endX = cx + radius * ex, endY = cy + radius * ey;
}

bool XYArc::InSector(double vx, double vy) const {
    if (wholeTurn) return true;
    const double afterFrom = fromX * vy - fromY * vx;  // cross(from, v)
    const double beforeTo = vx * toY - vy * toX;       // cross(v, to)
    return wide ? !(afterFrom < 0.0 && beforeTo < 0.0) : afterFrom >= 0.0 && beforeTo >= 0.0;
}

bool XYArc::Reaches(double px, double py, double dx, double dy, double d2) const {
    const auto near = [&](double x, double y) {
        return (px - x) * (px - x) + (py - y) * (py - y) <= reach2;
    };
    // Well inside the ring the test below holds whatever its rounding: no root needed.
    const bool ringCut = (d2 <= clearOuter2 && d2 >= clearInner2) ||
                         (d2 + r2 - reach2) <= 2.0 * std::sqrt(d2) * radius;
    return (ringCut && InSector(dx, dy)) || near(startX, startY) || near(endX, endY);
}

double XYArc::PieceLowest(double a, double b, double d, double d2, double phi, double height,
                          double bottom) const {
    if (tool.shape == ToolShape::Flat) return std::min(ZAt(a), ZAt(b));
    // Squared distance from the cell to the tool axis at an angle.
    const auto q = [&](double angle) { return d2 + r2 - 2.0 * d * radius * std::cos(angle - phi); };
    // Nearest to the cell where the angle is nearest its direction.
    double nearest = std::min(q(a), q(b));
    if (d == 0.0 || TurnWithin(phi, a, b)) nearest = (d - radius) * (d - radius);
    if (!helix) return z0 + tool.ProfileHeight(std::sqrt(nearest));
    // Nothing of this piece can be lower than its lower end plus the tool's height at the
    // nearest approach: when that is not below the cell (nor below the bottom), the search
    // is not needed.
    const double bound =
        std::min(ZAt(a), ZAt(b)) + tool.ProfileHeight(std::sqrt(std::max(nearest, 0.0)));
    if (bound >= height && bound >= bottom) return HUGE_VAL;
    const auto f = [&](double angle) {
        return ZAt(angle) + tool.ProfileHeight(std::sqrt(std::max(q(angle), 0.0)));
    };
    return Minimise(f, a, b);
}

double XYArc::Lowest(double dx, double dy, double d2, double height, double bottom) const {
    const double d = std::sqrt(d2);
    const double phi = std::atan2(dy, dx);
    double lowest = HUGE_VAL;
    const auto piece = [&](double a, double b) {
        lowest = std::min(lowest, PieceLowest(a, b, d, d2, phi, height, bottom));
    };
    if (d == 0.0) {
        if (r2 <= R2) piece(lo, hi);
        return lowest;
    }
    const double g = (d2 + r2 - R2) / (2.0 * d * radius);
    if (g > 1.0) return HUGE_VAL;
    if (g <= -1.0) {
        piece(lo, hi);
    } else {
        const double alpha = std::acos(g);
        ForEachTurn(lo, hi, phi - alpha, phi + alpha, piece);
    }
    return lowest;
}

SweepResult SweepArcXY(HeightField& field, RowBand rows, uint8_t slot, const XYArc& arc) {
    double cosLo, cosHi, sinLo, sinHi;
    CosRange(arc.lo, arc.hi, 0.0, &cosLo, &cosHi);
    CosRange(arc.lo, arc.hi, kPi / 2, &sinLo, &sinHi);
    CellBox box;
    if (!Cells(field, rows, arc.cx + arc.radius * cosLo - arc.R,
               arc.cx + arc.radius * cosHi + arc.R, arc.cy + arc.radius * sinLo - arc.R,
               arc.cy + arc.radius * sinHi + arc.R, &box))
        return {};
    CellWriter writer = Writer(field, slot);
    const bool aboveBottom = arc.lowestTip >= writer.bottom;
    TileSkip skip(field, box, arc.lowestTip);
    for (int row = box.r0; row <= box.r1; ++row) {
        if (skip.SkipRow(row, box.c0, box.c1)) continue;
        const double dy = field.CentreY(row) - arc.cy;
        // The ring crosses the row in one or two spans of columns.
        const double outerRest = arc.outer2 - dy * dy;
        if (outerRest < 0.0) continue;
        const double innerRest = arc.inner2 - dy * dy;
        const double wo = std::sqrt(outerRest) * kSpanMargin + kSpanSlack;
        const double wi = innerRest > 0.0 ? std::sqrt(innerRest) / kSpanMargin - kSpanSlack : -1.0;
        ColumnSpans spans;
        if (wi <= 0.0) {
            spans.Add(field, box, arc.cx - wo, arc.cx + wo);
        } else {
            spans.Add(field, box, arc.cx - wo, arc.cx - wi);
            spans.Add(field, box, arc.cx + wi, arc.cx + wo);
        }
        const double cellY = field.CentreY(row);
        for (int k = 0; k < spans.count; ++k)
            ForEachColumn(skip, row, spans.first[k], spans.last[k], [&](int column) {
                const double dx = field.CentreX(column) - arc.cx;
                const double d2 = dx * dx + dy * dy;
                if (d2 > arc.outer2 || d2 < arc.inner2) return;
                const std::size_t i = field.Index(column, row);
                // No point of the tool is below the arc's lower end: a cell already at or
                // below it (and not at a bottom the tool could pass) stays as it is.
                if (writer.heights[i] <= arc.lowestTip && aboveBottom) {
                    ++writer.result.cells;
                    return;
                }
                if (!arc.Reaches(field.CentreX(column), cellY, dx, dy, d2)) return;
                if (arc.flatOnFlat) {
                    writer.Lower(i, arc.z0);
                    return;
                }
                const double lowest = arc.Lowest(dx, dy, d2, writer.heights[i], writer.bottom);
                if (lowest != HUGE_VAL) writer.Lower(i, lowest);
            });
    }
    return writer.result;
}

// An arc in ZX or YZ at a fixed normal coordinate, over the angles [lo, hi]. Along the arc
// the in-plane horizontal coordinate is uC + r cos(angle - uPhase) and Z is
// zC + r cos(angle - zPhase).
struct VerticalArc {
    bool alongX;  // the horizontal coordinate is X (ZX plane) or Y (YZ plane)
    double uC, uPhase, zC, zPhase, radius;
    double normalLow, normalHigh;  // the normal coordinate's range; the nearest counts
};

SweepResult SweepArcVertical(HeightField& field, RowBand rows, const CutTool& tool, uint8_t slot,
                             const VerticalArc& arc, double lo, double hi) {
    const double R = tool.Radius();
    double uLeast, uGreatest;
    CosRange(lo, hi, arc.uPhase, &uLeast, &uGreatest);
    const double u0 = arc.uC + arc.radius * uLeast - R, u1 = arc.uC + arc.radius * uGreatest + R;
    const double n0 = arc.normalLow - R, n1 = arc.normalHigh + R;
    CellBox box;
    if (!(arc.alongX ? Cells(field, rows, u0, u1, n0, n1, &box)
                     : Cells(field, rows, n0, n1, u0, u1, &box)))
        return {};
    CellWriter writer = Writer(field, slot);
    for (int row = box.r0; row <= box.r1; ++row) {
        for (int column = box.c0; column <= box.c1; ++column) {
            const double cu = arc.alongX ? field.CentreX(column) : field.CentreY(row);
            const double cn = arc.alongX ? field.CentreY(row) : field.CentreX(column);
            const double e = cn - std::clamp(cn, arc.normalLow, arc.normalHigh);
            if (!(std::fabs(e) <= R)) continue;
            const double w = std::sqrt(R * R - e * e);
            const double gl = (cu - w - arc.uC) / arc.radius;
            const double gh = (cu + w - arc.uC) / arc.radius;
            if (gl > 1.0 || gh < -1.0) continue;
            const double wide = std::acos(std::max(gl, -1.0));
            const double narrow = std::acos(std::min(gh, 1.0));
            const auto zAt = [&](double angle) {
                return arc.zC + arc.radius * std::cos(angle - arc.zPhase);
            };
            double lowest = HUGE_VAL;
            const auto piece = [&](double a, double b) {
                if (tool.shape == ToolShape::Flat) {
                    double z = std::min(zAt(a), zAt(b));
                    if (TurnWithin(arc.zPhase + kPi, a, b)) z = arc.zC - arc.radius;
                    lowest = std::min(lowest, z);
                } else {
                    const auto f = [&](double angle) {
                        const double du = arc.uC + arc.radius * std::cos(angle - arc.uPhase) - cu;
                        return zAt(angle) + tool.ProfileHeight(std::sqrt(e * e + du * du));
                    };
                    lowest = std::min(lowest, Minimise(f, a, b));
                }
            };
            ForEachTurn(lo, hi, arc.uPhase + narrow, arc.uPhase + wide, piece);
            ForEachTurn(lo, hi, arc.uPhase - wide, arc.uPhase - narrow, piece);
            if (lowest != HUGE_VAL) writer.Lower(field.Index(column, row), lowest);
        }
    }
    return writer.result;
}

// A helix in ZX or YZ: the arc as in VerticalArc, its normal coordinate moving evenly with
// the angle from n0 at startAngle. Over a cell the tool can only be where its normal
// coordinate is within R of the cell's, a window of angles; the window is cut at every
// quarter turn, so that on each piece the in-plane coordinate and Z are monotone. On a
// piece the distance from the cell has one minimum: the tool reaches the cell over one
// stretch around it (its ends found by false position), and over that stretch the height
// of the tool's surface has one minimum (found by a bracketed search).
struct VerticalHelix {
    const VerticalArc& arc;
    const CutTool& tool;
    double startAngle, n0, perAngle;  // normal = n0 + (angle - startAngle) * perAngle

    double U(double angle) const { return arc.uC + arc.radius * std::cos(angle - arc.uPhase); }
    double Z(double angle) const { return arc.zC + arc.radius * std::cos(angle - arc.zPhase); }
    double N(double angle) const { return n0 + (angle - startAngle) * perAngle; }

    // The lowest tool point over the cell (cu along the arc's plane, cn along the normal)
    // for angles in [lo, hi]; HUGE_VAL where the tool does not reach it, or where it cannot
    // go below both `height` and `bottom`.
    double Lowest(double cu, double cn, double lo, double hi, double height, double bottom) const;
};

double VerticalHelix::Lowest(double cu, double cn, double lo, double hi, double height,
                             double bottom) const {
    const double R = tool.Radius(), R2 = R * R;
    // The window: |N - cn| <= R.
    const double a0 = startAngle + (cn - R - n0) / perAngle;
    const double a1 = startAngle + (cn + R - n0) / perAngle;
    lo = std::max(lo, std::min(a0, a1));
    hi = std::min(hi, std::max(a0, a1));
    if (!(lo <= hi)) return HUGE_VAL;
    const auto gap = [&](double angle) {  // > 0 where the tool does not reach the cell
        const double du = U(angle) - cu, dn = N(angle) - cn;
        return du * du + dn * dn - R2;
    };
    const auto heightAt = [&](double angle) {
        return Z(angle) +
               tool.ProfileHeight(std::sqrt(std::max(std::min(gap(angle), 0.0) + R2, 0.0)));
    };
    // From `out` (not reaching) towards `in` (reaching): the last reaching angle, by false
    // position with the Illinois step, then halving when that stalls.
    const auto edge = [&](double out, double in) {
        double gOut = gap(out), gIn = gap(in);
        int side = 0;
        for (int k = 0; k < 100; ++k) {
            double m = (k % 4 == 3) ? 0.5 * (out + in) : in - gIn * (out - in) / (gOut - gIn);
            if (!(m > std::min(out, in) && m < std::max(out, in))) m = 0.5 * (out + in);
            if (m == out || m == in) break;
            const double g = gap(m);
            if (g <= 0.0) {
                in = m, gIn = g;
                if (side == -1) gOut *= 0.5;
                side = -1;
            } else {
                out = m, gOut = g;
                if (side == 1) gIn *= 0.5;
                side = 1;
            }
        }
        return in;
    };
    double best = HUGE_VAL;
    const double quarter = kPi / 2;
    for (double a = lo; a <= hi;) {
        // cos(angle - phase) is monotone between multiples of pi/2 from the phase, for both
        // phases (they differ by a quarter turn).
        double b = arc.uPhase + quarter * (std::floor((a - arc.uPhase) / quarter) + 1.0);
        if (!(b > a)) b = a + quarter;  // rounding at a boundary
        b = std::min(b, hi);
        const double ua = U(a), ub = U(b), za = Z(a), zb = Z(b);
        const double du = std::max({std::min(ua, ub) - cu, cu - std::max(ua, ub), 0.0});
        const double dn = std::max({std::min(N(a), N(b)) - cn, cn - std::max(N(a), N(b)), 0.0});
        const double near2 = du * du + dn * dn;
        // Nothing of this piece is below its lower end plus the tool's height at the
        // nearest approach.
        const double bound = std::min(za, zb) + tool.ProfileHeight(std::sqrt(std::min(near2, R2)));
        if (near2 <= R2 && bound < std::min(best, std::max(height, bottom))) {
            double nearest = a;
            if (Minimise(gap, a, b, &nearest) <= 0.0) {
                const double from = gap(a) <= 0.0 ? a : edge(a, nearest);
                const double to = gap(b) <= 0.0 ? b : edge(b, nearest);
                best = std::min(best, Minimise(heightAt, from, to));
            }
        }
        if (b >= hi) break;
        a = b;
    }
    return best;
}

SweepResult SweepHelixVertical(HeightField& field, RowBand rows, const CutTool& tool, uint8_t slot,
                               const VerticalHelix& helix, double lo, double hi) {
    const VerticalArc& arc = helix.arc;
    const double R = tool.Radius();
    double uLeast, uGreatest, zLeast, zGreatest;
    CosRange(lo, hi, arc.uPhase, &uLeast, &uGreatest);
    CosRange(lo, hi, arc.zPhase, &zLeast, &zGreatest);
    const double u0 = arc.uC + arc.radius * uLeast - R, u1 = arc.uC + arc.radius * uGreatest + R;
    const double nLow = std::min(helix.N(lo), helix.N(hi)),
                 nHigh = std::max(helix.N(lo), helix.N(hi));
    CellBox box;
    if (!(arc.alongX ? Cells(field, rows, u0, u1, nLow - R, nHigh + R, &box)
                     : Cells(field, rows, nLow - R, nHigh + R, u0, u1, &box)))
        return {};
    CellWriter writer = Writer(field, slot);
    const double lowestTip = arc.zC + arc.radius * zLeast;
    const bool aboveBottom = lowestTip >= writer.bottom;
    TileSkip skip(field, box, lowestTip);
    for (int row = box.r0; row <= box.r1; ++row) {
        if (skip.SkipRow(row, box.c0, box.c1)) continue;
        ForEachColumn(skip, row, box.c0, box.c1, [&](int column) {
            const std::size_t i = field.Index(column, row);
            if (writer.heights[i] <= lowestTip && aboveBottom) {
                ++writer.result.cells;
                return;
            }
            const double cu = arc.alongX ? field.CentreX(column) : field.CentreY(row);
            const double cn = arc.alongX ? field.CentreY(row) : field.CentreX(column);
            const double lowest = helix.Lowest(cu, cn, lo, hi, writer.heights[i], writer.bottom);
            if (lowest != HUGE_VAL) writer.Lower(i, lowest);
        });
    }
    return writer.result;
}

double Axis(const Point3& p, int axis) {
    return axis == 0 ? p.x : axis == 1 ? p.y : p.z;
}

}  // namespace

SweepResult SweepArc(HeightField& field, RowBand rows, const CutTool& tool, uint8_t slot,
                     const Point3& start, const Point3& end, ArcPlane plane, bool clockwise,
                     double centreFirst, double centreSecond) {
    const int first = plane == ArcPlane::XY ? 0 : plane == ArcPlane::ZX ? 2 : 1;
    const int second = plane == ArcPlane::XY ? 1 : plane == ArcPlane::ZX ? 0 : 2;
    const int normal = 3 - first - second;
    const double sa = Axis(start, first) - centreFirst, sb = Axis(start, second) - centreSecond;
    const double ea = Axis(end, first) - centreFirst, eb = Axis(end, second) - centreSecond;
    const double radius = std::hypot(sa, sb);
    const double n0 = Axis(start, normal), n1 = Axis(end, normal);
    const double startAngle = std::atan2(sb, sa);
    double endAngle = std::atan2(eb, ea);
    if (!(radius > 0.0) || !std::isfinite(radius) || !std::isfinite(endAngle) ||
        !std::isfinite(n0) || !std::isfinite(n1))
        return SweepLine(field, rows, tool, slot, start, end);
    // The end equal to the start makes a whole turn.
    if (clockwise) {
        if (startAngle <= endAngle) endAngle -= kTwoPi;
    } else {
        if (startAngle >= endAngle) endAngle += kTwoPi;
    }
    const double span = endAngle - startAngle;
    if (plane == ArcPlane::XY)
        return SweepArcXY(field, rows, slot,
                          XYArc(tool, centreFirst, centreSecond, radius, startAngle, span, n0, n1));
    // ZX: Z = cF + r cos(a), X = cS + r sin(a). YZ: Y = cF + r cos(a), Z = cS + r sin(a).
    VerticalArc arc;
    arc.alongX = plane == ArcPlane::ZX;
    arc.radius = radius;
    if (arc.alongX) {
        arc.uC = centreSecond, arc.uPhase = kPi / 2, arc.zC = centreFirst, arc.zPhase = 0.0;
    } else {
        arc.uC = centreFirst, arc.uPhase = 0.0, arc.zC = centreSecond, arc.zPhase = kPi / 2;
    }
    const double lo = std::min(startAngle, endAngle), hi = std::max(startAngle, endAngle);
    if (n1 != n0)
        return SweepHelixVertical(field, rows, tool, slot,
                                  VerticalHelix{arc, tool, startAngle, n0, (n1 - n0) / span}, lo,
                                  hi);
    arc.normalLow = arc.normalHigh = n0;
    SweepResult result = SweepArcVertical(field, rows, tool, slot, arc, lo, hi);
    return result;
}

}  // namespace cuttrace::cutting
