// The pieces the straight and the arc sweeps share: the cells a move can reach, the
// lowest point of a tool over a cell, and a bracketed search for a minimum. Internal to
// the sweeps (ToolSweep.cpp, ToolSweepArc.cpp).
#pragma once

#include <algorithm>
#include <cmath>
#include <numbers>
#include <vector>

#include "cutting/ToolSweep.h"

namespace cuttrace::cutting::sweep {

constexpr double kPi = std::numbers::pi;
constexpr double kTwoPi = 2.0 * std::numbers::pi;
// A straight move shorter than this in XY is a plunge.
constexpr double kPlungeLength2 = 1e-24;
// The bracketed search stops within this of the minimum's place (relative), or after so
// many steps.
constexpr double kSearchTolerance = 1e-10;
constexpr int kSearchSteps = 100;
constexpr int kSearchSamples = 8;

// Writes the lowest tool point over a cell into the field.
struct CellWriter {
    double* heights;
    uint8_t* cutBy;
    uint8_t* tileLowered;
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
            tileLowered[HeightField::TileOfIndex(i)] = 1;
        }
        if (z < bottom - kCutTolerance) result.flags |= kBelowBottom;
    }
};

inline CellWriter Writer(HeightField& field, uint8_t slot) {
    return CellWriter{
        field.Heights(), field.CutBySlots(), field.TileLoweredFlags(), field.Bottom(), slot, {}};
}

// The cells whose centres lie in [lo, hi] along one axis; false when there are none.
inline bool CellRange(double lo, double hi, double origin, double step, int count, int* first,
                      int* last) {
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
inline bool Cells(const HeightField& field, RowBand rows, double xlo, double xhi, double ylo,
                  double yhi, CellBox* box) {
    const StockBox& stock = field.Box();
    if (!CellRange(xlo, xhi, stock.low.x, field.CellWidth(), field.Columns(), &box->c0, &box->c1))
        return false;
    if (!CellRange(ylo, yhi, stock.low.y, field.CellHeight(), field.Rows(), &box->r0, &box->r1))
        return false;
    box->r0 = std::max(box->r0, rows.begin);
    box->r1 = std::min(box->r1, rows.end - 1);
    return box->r0 <= box->r1;
}

// The tiles of a move's cell box that the move cannot lower: every cell of such a tile is
// already at or below the move's lowest tip, which is not below the bottom (so nothing
// there can be cut or reported). Each tile is judged once per move, before the move
// lowers anything in it.
class TileSkip {
  public:
    TileSkip(HeightField& field, const CellBox& box, double lowestTip)
        : field_(field), floor_(lowestTip), active_(lowestTip >= field.Bottom()) {
        if (!active_) return;
        tileRow0_ = box.r0 >> HeightField::kTileShift;
        tileColumn0_ = box.c0 >> HeightField::kTileShift;
        across_ = (box.c1 >> HeightField::kTileShift) - tileColumn0_ + 1;
        const int down = (box.r1 >> HeightField::kTileShift) - tileRow0_ + 1;
        // One store per thread, reused from move to move.
        thread_local std::vector<uint8_t> store;
        store.assign(static_cast<std::size_t>(across_) * static_cast<std::size_t>(down), 0);
        judged_ = store.data();
    }

    // Whether the move cannot lower the cell's tile.
    bool Skip(int column, int row) {
        if (!active_) return false;
        uint8_t& judged = judged_[static_cast<std::size_t>(
            ((row >> HeightField::kTileShift) - tileRow0_) * across_ +
            (column >> HeightField::kTileShift) - tileColumn0_)];
        if (judged == 0) judged = field_.TileBound(field_.TileOf(column, row)) <= floor_ ? 1 : 2;
        return judged == 1;
    }
    // Whether it cannot lower the row's cells in the columns [first, last].
    bool SkipRow(int row, int first, int last) {
        if (!active_) return false;
        for (int column = first; column <= last; column = (column | (HeightField::kTile - 1)) + 1)
            if (!Skip(column, row)) return false;
        return true;
    }

  private:
    HeightField& field_;
    double floor_;
    bool active_;
    int tileRow0_ = 0, tileColumn0_ = 0, across_ = 0;
    uint8_t* judged_ = nullptr;
};

// Calls body(column) for the columns [first, last] of the row, passing over tiles the move
// cannot lower.
template <class Body>
inline void ForEachColumn(TileSkip& skip, int row, int first, int last, const Body& body) {
    for (int column = first; column <= last;) {
        const int end = std::min(last, column | (HeightField::kTile - 1));
        if (!skip.Skip(column, row))
            for (int c = column; c <= end; ++c)
                body(c);
        column = end + 1;
    }
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
        // By the inverse of the cell width: the spans' slack covers the rounding.
        if (!(lo <= hi)) return;
        const double origin = field.Box().low.x, inverse = field.InverseCellWidth();
        const double fc = std::max(std::ceil((lo - origin) * inverse - 0.5), 0.0);
        const double lc =
            std::min(std::floor((hi - origin) * inverse - 0.5), field.Columns() - 1.0);
        if (!(fc <= lc)) return;
        int f = static_cast<int>(fc), l = static_cast<int>(lc);
        f = std::max(f, box.c0), l = std::min(l, box.c1);
        if (f > l) return;
        first[count] = f, last[count] = l, ++count;
    }
};

// The points within r of the segment ab (convex), set up once per move so that each row's
// span is a few products.
struct Stadium {
    Stadium(const Point3& a, const Point3& b, double radius)
        : ax(a.x), ay(a.y), bx(b.x), by(b.y), r(radius) {
        const double dx = b.x - a.x, dy = b.y - a.y, length = std::sqrt(dx * dx + dy * dy);
        if (!(length > 0.0)) return;
        edges = 4;
        const double nx = -dy / length * r, ny = dx / length * r;
        const double px[4] = {a.x + nx, b.x + nx, b.x - nx, a.x - nx};
        const double py[4] = {a.y + ny, b.y + ny, b.y - ny, a.y - ny};
        for (int i = 0; i < 4; ++i) {
            const int j = (i + 1) % 4;
            edge[i] = {std::min(py[i], py[j]),
                       std::max(py[i], py[j]),
                       px[i],
                       py[i],
                       py[i] == py[j] ? 0.0 : (px[j] - px[i]) / (py[j] - py[i]),
                       px[j],
                       py[i] == py[j]};
        }
    }

    // Where the row at y crosses it; false when it does not.
    bool Span(double y, double* lo, double* hi) const {
        double l = HUGE_VAL, h = -HUGE_VAL;
        const auto disc = [&](double px, double py) {
            const double dy = y - py, w2 = r * r - dy * dy;
            if (w2 < 0.0) return;
            const double w = std::sqrt(w2);
            l = std::min(l, px - w), h = std::max(h, px + w);
        };
        disc(ax, ay);
        disc(bx, by);
        for (int i = 0; i < edges; ++i) {
            const Edge& e = edge[i];
            if (y < e.low || y > e.high) continue;
            const double x = e.level ? e.x : e.x + (y - e.y) * e.slope;
            l = std::min({l, x, e.level ? e.xEnd : x}), h = std::max({h, x, e.level ? e.xEnd : x});
        }
        if (!(l <= h)) return false;
        const double slack = (std::fabs(l) + std::fabs(h) + r) * 1e-9 + kSpanSlack;
        *lo = l - slack, *hi = h + slack;
        return true;
    }

    struct Edge {
        double low, high;  // the edge's range of y
        double x, y, slope, xEnd;
        bool level;
    };
    double ax, ay, bx, by, r;
    Edge edge[4] = {};
    int edges = 0;
};

// The least value of f on [lo, hi] (and where it is, into *where when given): the best of a few
// samples, refined by Brent's method (parabolic steps, golden sections when they fail) between its
// neighbours. Exact (to the bracket's tolerance) for a function that is convex or has one minimum
// between samples.
template <class F>
inline double Minimise(const F& f, double lo, double hi, double* where = nullptr) {
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
    if (where) *where = x;
    return fx;
}

// Calls fn(a, b) for each non-empty [from + 2 pi m, to + 2 pi m] within [lo, hi].
template <class Fn>
inline void ForEachTurn(double lo, double hi, double from, double to, const Fn& fn) {
    const double m0 = std::ceil((lo - to) / kTwoPi);
    const double m1 = std::floor((hi - from) / kTwoPi);
    for (double m = m0; m <= m1; m += 1.0) {
        const double a = std::max(lo, from + kTwoPi * m);
        const double b = std::min(hi, to + kTwoPi * m);
        if (a <= b) fn(a, b);
    }
}

// Whether some angle + 2 pi m lies in [lo, hi].
inline bool TurnWithin(double angle, double lo, double hi) {
    return std::floor((hi - angle) / kTwoPi) >= std::ceil((lo - angle) / kTwoPi);
}

// The least and greatest cos(theta - phase) for theta in [lo, hi].
inline void CosRange(double lo, double hi, double phase, double* least, double* greatest) {
    const double a = std::cos(lo - phase), b = std::cos(hi - phase);
    *least = TurnWithin(phase + kPi, lo, hi) ? -1.0 : std::min(a, b);
    *greatest = TurnWithin(phase, lo, hi) ? 1.0 : std::max(a, b);
}

// The lowest tool point over a cell on a straight move whose XY closest approach to the
// cell is at parameter tStar with squared distance m; [t0, t1] is where the cell is within
// the tool's radius. z(t) = az + dz t; squared distance m + a2 (t - tStar)^2.
inline double LowestOnLine(const CutTool& tool, double az, double dz, double a2, double m,
                           double tStar, double t0, double t1) {
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

}  // namespace cuttrace::cutting::sweep
