#include "cutting/ToolSweep.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace cuttrace::cutting {

namespace {

constexpr double kPi = std::numbers::pi;
constexpr double kTwoPi = 2.0 * std::numbers::pi;
// A straight move shorter than this in XY is a plunge.
constexpr double kPlungeLength2 = 1e-24;
// The bracketed search stops within this of the minimum's place (relative), or after so
// many steps.
constexpr double kSearchTolerance = 1e-10;
constexpr int kSearchSteps = 100;
constexpr int kSearchSamples = 8;
// A helix across a vertical plane is cut in pieces whose normal travel is at most this
// fraction of a cell.
constexpr double kHelixPieceOfCell = 0.05;
constexpr int kMaxHelixPieces = 4096;

// Writes the lowest tool point over a cell into the field.
struct CellWriter {
    double* heights;
    uint8_t* cutBy;
    double bottom;
    uint8_t slot;
    SweepResult result;

    void Lower(std::size_t i, double z) {
        ++result.cells;
        const double kept = z < bottom ? bottom : z;
        if (kept < heights[i]) {
            if (heights[i] - kept > kCutTolerance) result.flags |= kRemoved;
            heights[i] = kept;
            cutBy[i] = slot;
        }
        if (z < bottom - kCutTolerance) result.flags |= kBelowBottom;
    }
};

CellWriter Writer(HeightField& field, uint8_t slot) {
    return CellWriter{field.Heights(), field.CutBySlots(), field.Bottom(), slot, {}};
}

// The cells whose centres lie in [lo, hi] along one axis; false when there are none.
bool CellRange(double lo, double hi, double origin, double step, int count, int* first, int* last) {
    if (!(lo <= hi)) return false;
    const double f = std::max(std::ceil((lo - origin) / step - 0.5), 0.0);
    const double l = std::min(std::floor((hi - origin) / step - 0.5), count - 1.0);
    if (!(f <= l)) return false;
    *first = static_cast<int>(f);
    *last = static_cast<int>(l);
    return true;
}

// The cells of the band within [xlo, xhi] x [ylo, yhi]; false when there are none.
struct CellBox {
    int c0 = 0, c1 = -1, r0 = 0, r1 = -1;
};
bool Cells(const HeightField& field, RowBand rows, double xlo, double xhi, double ylo, double yhi,
           CellBox* box) {
    const StockBox& stock = field.Box();
    if (!CellRange(xlo, xhi, stock.low.x, field.CellWidth(), field.Columns(), &box->c0, &box->c1))
        return false;
    if (!CellRange(ylo, yhi, stock.low.y, field.CellHeight(), field.Rows(), &box->r0, &box->r1))
        return false;
    box->r0 = std::max(box->r0, rows.begin);
    box->r1 = std::min(box->r1, rows.end - 1);
    return box->r0 <= box->r1;
}

// Spans of columns are widened by these so that rounding never loses a cell at their ends
// (each cell is still tested exactly).
constexpr double kSpanMargin = 1.0 + 1e-9;
constexpr double kSpanSlack = 1e-9;

// Up to two spans of columns of a row, within a cell box.
struct ColumnSpans {
    int first[2] = {0, 0};
    int last[2] = {-1, -1};
    int count = 0;

    void Add(const HeightField& field, const CellBox& box, double lo, double hi) {
        int f = 0, l = 0;
        if (!CellRange(lo, hi, field.Box().low.x, field.CellWidth(), field.Columns(), &f, &l))
            return;
        f = std::max(f, box.c0), l = std::min(l, box.c1);
        if (f > l) return;
        first[count] = f, last[count] = l, ++count;
    }
};

// Where the row at y crosses the points within r of the segment ab (convex: one span).
bool StadiumSpan(const Point3& a, const Point3& b, double r, double y, double* lo, double* hi) {
    double l = HUGE_VAL, h = -HUGE_VAL;
    const auto disc = [&](double px, double py) {
        const double dy = y - py, w2 = r * r - dy * dy;
        if (w2 < 0.0) return;
        const double w = std::sqrt(w2);
        l = std::min(l, px - w), h = std::max(h, px + w);
    };
    disc(a.x, a.y);
    disc(b.x, b.y);
    const double dx = b.x - a.x, dy = b.y - a.y, length = std::sqrt(dx * dx + dy * dy);
    if (length > 0.0) {
        const double nx = -dy / length * r, ny = dx / length * r;
        const double px[4] = {a.x + nx, b.x + nx, b.x - nx, a.x - nx};
        const double py[4] = {a.y + ny, b.y + ny, b.y - ny, a.y - ny};
        for (int i = 0; i < 4; ++i) {
            const int j = (i + 1) % 4;
            if ((py[i] - y) * (py[j] - y) > 0.0) continue;
            const double x =
                py[i] == py[j] ? px[i] : px[i] + (y - py[i]) * (px[j] - px[i]) / (py[j] - py[i]);
            l = std::min({l, x, py[i] == py[j] ? px[j] : x}),
            h = std::max({h, x, py[i] == py[j] ? px[j] : x});
        }
    }
    if (!(l <= h)) return false;
    const double slack = (std::fabs(l) + std::fabs(h) + r) * 1e-9 + kSpanSlack;
    *lo = l - slack, *hi = h + slack;
    return true;
}

// The least value of f on [lo, hi]: the best of a few samples, refined by Brent's method
// (parabolic steps, golden sections when they fail) between its neighbours. Exact (to the
// bracket's tolerance) for a function that is convex or has one minimum between samples.
template <class F>
double Minimise(const F& f, double lo, double hi) {
    double fx = f(lo), x = lo;
    int bestK = 0;
    for (int k = 1; k <= kSearchSamples; ++k) {
        const double t = lo + (hi - lo) * k / kSearchSamples;
        const double v = f(t);
        if (v < fx) fx = v, x = t, bestK = k;
    }
    double a = lo + (hi - lo) * std::max(bestK - 1, 0) / kSearchSamples;
    double b = lo + (hi - lo) * std::min(bestK + 1, kSearchSamples) / kSearchSamples;
    constexpr double kGolden = 0.3819660112501051;
    double w = x, v = x, fw = fx, fv = fx, d = 0.0, e = 0.0;
    for (int i = 0; i < kSearchSteps; ++i) {
        const double middle = 0.5 * (a + b);
        const double tolerance = kSearchTolerance * (std::fabs(x) + 1.0);
        if (std::fabs(x - middle) <= 2.0 * tolerance - 0.5 * (b - a)) break;
        bool parabolic = false;
        if (std::fabs(e) > tolerance) {
            double r = (x - w) * (fx - fv);
            double q = (x - v) * (fx - fw);
            double p = (x - v) * q - (x - w) * r;
            q = 2.0 * (q - r);
            if (q > 0.0) p = -p;
            q = std::fabs(q);
            r = e;
            if (std::fabs(p) < std::fabs(0.5 * q * r) && p > q * (a - x) && p < q * (b - x)) {
                e = d;
                d = p / q;
                const double u = x + d;
                if (u - a < 2.0 * tolerance || b - u < 2.0 * tolerance)
                    d = x < middle ? tolerance : -tolerance;
                parabolic = true;
            }
        }
        if (!parabolic) {
            e = (x < middle ? b : a) - x;
            d = kGolden * e;
        }
        const double u = x + (std::fabs(d) >= tolerance ? d : (d > 0.0 ? tolerance : -tolerance));
        const double fu = f(u);
        if (fu <= fx) {
            (u < x ? b : a) = x;
            v = w, fv = fw, w = x, fw = fx, x = u, fx = fu;
        } else {
            (u < x ? a : b) = u;
            if (fu <= fw || w == x) {
                v = w, fv = fw, w = u, fw = fu;
            } else if (fu <= fv || v == x || v == w) {
                v = u, fv = fu;
            }
        }
    }
    return fx;
}

// Calls fn(a, b) for each non-empty [from + 2 pi m, to + 2 pi m] within [lo, hi].
template <class Fn>
void ForEachTurn(double lo, double hi, double from, double to, const Fn& fn) {
    const double m0 = std::ceil((lo - to) / kTwoPi);
    const double m1 = std::floor((hi - from) / kTwoPi);
    for (double m = m0; m <= m1; m += 1.0) {
        const double a = std::max(lo, from + kTwoPi * m);
        const double b = std::min(hi, to + kTwoPi * m);
        if (a <= b) fn(a, b);
    }
}

// Whether some angle + 2 pi m lies in [lo, hi].
bool TurnWithin(double angle, double lo, double hi) {
    return std::floor((hi - angle) / kTwoPi) >= std::ceil((lo - angle) / kTwoPi);
}

// The least and greatest cos(theta - phase) for theta in [lo, hi].
void CosRange(double lo, double hi, double phase, double* least, double* greatest) {
    const double a = std::cos(lo - phase), b = std::cos(hi - phase);
    *least = TurnWithin(phase + kPi, lo, hi) ? -1.0 : std::min(a, b);
    *greatest = TurnWithin(phase, lo, hi) ? 1.0 : std::max(a, b);
}

// The lowest tool point over a cell on a straight move whose XY closest approach to the
// cell is at parameter tStar with squared distance m; [t0, t1] is where the cell is within
// the tool's radius. z(t) = az + dz t; squared distance m + a2 (t - tStar)^2.
double LowestOnLine(const CutTool& tool, double az, double dz, double a2, double m, double tStar,
                    double t0, double t1) {
    const auto at = [&](double t) {
        const double s = t - tStar;
        return az + dz * t + tool.ProfileHeight(std::sqrt(m + a2 * s * s));
    };
    const auto clamp = [&](double t) { return std::clamp(t, t0, t1); };
    switch (tool.shape) {
        case ToolShape::Flat:
            return az + dz * (dz > 0.0 ? t0 : t1);
        case ToolShape::Ball: {
            // d/ds [dz s - sqrt(W - a2 s^2)] = 0 at s = -dz sqrt(W / (a2 (a2 + dz^2))).
            const double w = tool.Radius() * tool.Radius() - m;
            const double s = -dz * std::sqrt(std::max(w, 0.0) / (a2 * (a2 + dz * dz)));
            return std::min({at(t0), at(t1), at(clamp(tStar + s))});
        }
        case ToolShape::Drill: {
            // d/ds [dz s + k sqrt(m + a2 s^2)] = 0 at s = -dz sqrt(m / (a2 (k^2 a2 - dz^2))),
            // when the cone is steeper than the move; the kink at s = 0 is a candidate too.
            double best = std::min({at(t0), at(t1), at(clamp(tStar))});
            const double k2 = kDrillConeSlope * kDrillConeSlope;
            const double denominator = a2 * (k2 * a2 - dz * dz);
            if (denominator > 0.0) {
                const double s = -dz * std::sqrt(m / denominator);
                best = std::min(best, at(clamp(tStar + s)));
            }
            return best;
        }
        case ToolShape::BullNose:
            // Height along the move is convex: a bracketed search finds its minimum.
            return Minimise(at, t0, t1);
    }
    return at(t0);
}

// An arc in XY (a helix along Z).
SweepResult SweepArcXY(HeightField& field, RowBand rows, const CutTool& tool, uint8_t slot,
                       double cx, double cy, double radius, double startAngle, double span,
                       double z0, double z1) {
    const double R = tool.Radius();
    const double lo = std::min(startAngle, startAngle + span);
    const double hi = std::max(startAngle, startAngle + span);
    double cosLo, cosHi, sinLo, sinHi;
    CosRange(lo, hi, 0.0, &cosLo, &cosHi);
    CosRange(lo, hi, kPi / 2, &sinLo, &sinHi);
    CellBox box;
    if (!Cells(field, rows, cx + radius * cosLo - R, cx + radius * cosHi + R,
               cy + radius * sinLo - R, cy + radius * sinHi + R, &box))
        return {};
    CellWriter writer = Writer(field, slot);
    const double r2 = radius * radius, R2 = R * R;
    const bool helix = z0 != z1;
    const double rise = (z1 - z0) / span;
    const auto zAt = [&](double angle) { return z0 + (angle - startAngle) * rise; };
    // Cells within the tool's reach lie in the ring |d - radius| <= R.
    const double outer2 = (radius + R) * (radius + R);
    const double inner2 = radius > R ? (radius - R) * (radius - R) : -1.0;
    // A flat end mill on a flat arc cuts at the arc's level wherever it reaches: within the
    // ring inside the arc's sector, or within R of an end. The sector runs counter-clockwise
    // from `from` to `to`.
    const bool flatOnFlat = tool.shape == ToolShape::Flat && !helix;
    const double lowestTip = std::min(z0, z1);
    const double endAngle = startAngle + span;
    const double sx = std::cos(startAngle), sy = std::sin(startAngle);
    const double ex = std::cos(endAngle), ey = std::sin(endAngle);
    const double fromX = span > 0 ? sx : ex, fromY = span > 0 ? sy : ey;
    const double toX = span > 0 ? ex : sx, toY = span > 0 ? ey : sy;
    const bool wholeTurn = std::fabs(span) >= kTwoPi;
    const bool wide = std::fabs(span) > kPi;
    const auto inSector = [&](double vx, double vy) {
        if (wholeTurn) return true;
        const double afterFrom = fromX * vy - fromY * vx;  // cross(from, v)
        const double beforeTo = vx * toY - vy * toX;       // cross(v, to)
        return wide ? !(afterFrom < 0.0 && beforeTo < 0.0) : afterFrom >= 0.0 && beforeTo >= 0.0;
    };
    const double startX = cx + radius * sx, startY = cy + radius * sy;
    const double endX = cx + radius * ex, endY = cy + radius * ey;
    for (int row = box.r0; row <= box.r1; ++row) {
        const double dy = field.CentreY(row) - cy;
        // The ring crosses the row in one or two spans of columns.
        const double outerRest = outer2 - dy * dy;
        if (outerRest < 0.0) continue;
        const double innerRest = inner2 - dy * dy;
        const double wo = std::sqrt(outerRest) * kSpanMargin + kSpanSlack;
        const double wi = innerRest > 0.0 ? std::sqrt(innerRest) / kSpanMargin - kSpanSlack : -1.0;
        ColumnSpans spans;
        if (wi <= 0.0) {
            spans.Add(field, box, cx - wo, cx + wo);
        } else {
            spans.Add(field, box, cx - wo, cx - wi);
            spans.Add(field, box, cx + wi, cx + wo);
        }
        for (int k = 0; k < spans.count; ++k)
            for (int column = spans.first[k]; column <= spans.last[k]; ++column) {
                const double dx = field.CentreX(column) - cx;
                const double d2 = dx * dx + dy * dy;
                if (d2 > outer2 || d2 < inner2) continue;
                {
                    // Reached at all? (The test is a little generous; the exact work
                    // below decides.)
                    const double px = field.CentreX(column), py = field.CentreY(row);
                    const double reach2 = flatOnFlat ? R2 : R2 * kSpanMargin;
                    const auto near = [&](double x, double y) {
                        return (px - x) * (px - x) + (py - y) * (py - y) <= reach2;
                    };
                    const bool ringCut = (d2 + r2 - reach2) <= 2.0 * std::sqrt(d2) * radius;
                    if (!((ringCut && inSector(dx, dy)) || near(startX, startY) ||
                          near(endX, endY)))
                        continue;
                    if (flatOnFlat) {
                        writer.Lower(field.Index(column, row), z0);
                        continue;
                    }
                    // No point of the tool is below the arc's lower end: a cell already at
                    // or below it (and not at a bottom the tool could pass) stays as it is.
                    const std::size_t i = field.Index(column, row);
                    if (writer.heights[i] <= lowestTip && lowestTip >= writer.bottom) {
                        ++writer.result.cells;
                        continue;
                    }
                }
                const double d = std::sqrt(d2);
                const double phi = std::atan2(dy, dx);
                // Squared distance from the cell to the tool axis at an angle.
                const auto q = [&](double angle) {
                    return d2 + r2 - 2.0 * d * radius * std::cos(angle - phi);
                };
                double lowest = HUGE_VAL;
                const auto piece = [&](double a, double b) {
                    if (tool.shape == ToolShape::Flat) {
                        lowest = std::min({lowest, zAt(a), zAt(b)});
                    } else if (!helix) {
                        // Nearest to the cell where the angle is nearest its direction.
                        double nearest = std::min(q(a), q(b));
                        if (d == 0.0 || TurnWithin(phi, a, b))
                            nearest = (d - radius) * (d - radius);
                        lowest = std::min(lowest, z0 + tool.ProfileHeight(std::sqrt(nearest)));
                    } else {
                        // Nothing of this piece can be lower than its lower end plus the
                        // tool's height at the nearest approach: when that is not below the
                        // cell (nor below the bottom), the search is not needed.
                        double nearest = std::min(q(a), q(b));
                        if (d == 0.0 || TurnWithin(phi, a, b))
                            nearest = (d - radius) * (d - radius);
                        const double bound = std::min(zAt(a), zAt(b)) +
                                             tool.ProfileHeight(std::sqrt(std::max(nearest, 0.0)));
                        if (bound >= writer.heights[field.Index(column, row)] &&
                            bound >= writer.bottom)
                            return;
                        const auto f = [&](double angle) {
                            return zAt(angle) +
                                   tool.ProfileHeight(std::sqrt(std::max(q(angle), 0.0)));
                        };
                        lowest = std::min(lowest, Minimise(f, a, b));
                    }
                };
                if (d == 0.0) {
                    if (r2 <= R2) piece(lo, hi);
                } else {
                    const double g = (d2 + r2 - R2) / (2.0 * d * radius);
                    if (g > 1.0) continue;
                    if (g <= -1.0) {
                        piece(lo, hi);
                    } else {
                        const double alpha = std::acos(g);
                        ForEachTurn(lo, hi, phi - alpha, phi + alpha, piece);
                    }
                }
                if (lowest != HUGE_VAL) writer.Lower(field.Index(column, row), lowest);
            }
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

double Axis(const Point3& p, int axis) {
    return axis == 0 ? p.x : axis == 1 ? p.y : p.z;
}

}  // namespace

SweepResult SweepLine(HeightField& field, RowBand rows, const CutTool& tool, uint8_t slot,
                      const Point3& a, const Point3& b) {
    const double R = tool.Radius();
    CellBox box;
    if (!Cells(field, rows, std::min(a.x, b.x) - R, std::max(a.x, b.x) + R, std::min(a.y, b.y) - R,
               std::max(a.y, b.y) + R, &box))
        return {};
    if (!std::isfinite(a.z) || !std::isfinite(b.z)) return {};
    CellWriter writer = Writer(field, slot);
    const double dx = b.x - a.x, dy = b.y - a.y, dz = b.z - a.z;
    const double a2 = dx * dx + dy * dy;
    const double R2 = R * R;
    const bool plunge = a2 < kPlungeLength2;
    const double inverseA2 = plunge ? 0.0 : 1.0 / a2;
    const bool levelFlat = !plunge && dz == 0.0 && tool.shape == ToolShape::Flat;
    for (int row = box.r0; row <= box.r1; ++row) {
        const double py = field.CentreY(row) - a.y;
        double xlo, xhi;
        if (!StadiumSpan(a, b, R, field.CentreY(row), &xlo, &xhi)) continue;
        ColumnSpans spans;
        spans.Add(field, box, xlo, xhi);
        if (spans.count == 0) continue;
        if (levelFlat) {
            // A flat end mill moving level cuts at its level wherever it reaches: within R
            // of the nearest point of the segment.
            for (int column = spans.first[0]; column <= spans.last[0]; ++column) {
                const double px = field.CentreX(column) - a.x;
                const double tStar = (px * dx + py * dy) * inverseA2;
                double d2;
                if (tStar <= 0.0) {
                    d2 = px * px + py * py;
                } else if (tStar >= 1.0) {
                    const double qx = px - dx, qy = py - dy;
                    d2 = qx * qx + qy * qy;
                } else {
                    const double cross = px * dy - py * dx;
                    d2 = cross * cross * inverseA2;
                }
                if (d2 <= R2) writer.Lower(field.Index(column, row), a.z);
            }
            continue;
        }
        for (int column = spans.first[0]; column <= spans.last[0]; ++column) {
            const double px = field.CentreX(column) - a.x;
            const double c2 = px * px + py * py;
            double z;
            if (plunge) {
                if (c2 > R2) continue;
                z = std::min(a.z, b.z) + tool.ProfileHeight(std::sqrt(c2));
            } else {
                const double dot = px * dx + py * dy;
                const double tStar = dot * inverseA2;
                // Squared distance from the line, by the cross product (no cancellation).
                const double cross = px * dy - py * dx;
                const double m = cross * cross * inverseA2;
                if (m > R2) continue;
                const double half = std::sqrt((R2 - m) * inverseA2);
                const double t0 = std::max(tStar - half, 0.0);
                const double t1 = std::min(tStar + half, 1.0);
                if (t0 > t1) continue;
                if (tool.shape == ToolShape::BullNose) {
                    // The search is needed only when the lowest conceivable point (the lower
                    // end, at the nearest approach) is below the cell or the bottom.
                    const double bound =
                        a.z + std::min(dz * t0, dz * t1) + tool.ProfileHeight(std::sqrt(m));
                    const std::size_t i = field.Index(column, row);
                    if (bound >= writer.heights[i] && bound >= writer.bottom) {
                        ++writer.result.cells;
                        continue;
                    }
                }
                z = LowestOnLine(tool, a.z, dz, a2, m, tStar, t0, t1);
            }
            writer.Lower(field.Index(column, row), z);
        }
    }
    return writer.result;
}

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
        return SweepArcXY(field, rows, tool, slot, centreFirst, centreSecond, radius, startAngle,
                          span, n0, n1);
    // ZX: Z = cF + r cos(a), X = cS + r sin(a). YZ: Y = cF + r cos(a), Z = cS + r sin(a).
    VerticalArc arc;
    arc.alongX = plane == ArcPlane::ZX;
    arc.radius = radius;
    if (arc.alongX) {
        arc.uC = centreSecond, arc.uPhase = kPi / 2, arc.zC = centreFirst, arc.zPhase = 0.0;
    } else {
        arc.uC = centreFirst, arc.uPhase = 0.0, arc.zC = centreSecond, arc.zPhase = kPi / 2;
    }
    // A helix is cut in pieces short enough along the normal to count as flat; each piece
    // reaches from the nearest point of its normal range, so a piece cuts at most a twentieth
    // of a cell wider than the helix.
    const double cell = std::min(field.CellWidth(), field.CellHeight());
    const double travel = std::fabs(n1 - n0);
    int pieces = 1;
    if (travel > 0.0)
        pieces = static_cast<int>(
            std::clamp(std::ceil(travel / (cell * kHelixPieceOfCell)), 1.0, 1.0 * kMaxHelixPieces));
    SweepResult result;
    for (int k = 0; k < pieces; ++k) {
        const double a = startAngle + span * k / pieces;
        const double b = startAngle + span * (k + 1) / pieces;
        const double na = n0 + (n1 - n0) * k / pieces, nb = n0 + (n1 - n0) * (k + 1) / pieces;
        arc.normalLow = std::min(na, nb), arc.normalHigh = std::max(na, nb);
        result |= SweepArcVertical(field, rows, tool, slot, arc, std::min(a, b), std::max(a, b));
    }
    return result;
}

}  // namespace cuttrace::cutting
