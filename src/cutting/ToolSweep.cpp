#include "cutting/ToolSweep.h"

#include <algorithm>
#include <cmath>

#include "cutting/ToolSweepParts.h"

namespace cuttrace::cutting {

using namespace sweep;

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
    // No point of the tool is below the move's lower end: a cell already at or below it
    // keeps its height, unless the tool could pass below the bottom there.
    const double lowestTip = std::min(a.z, b.z);
    const bool aboveBottom = lowestTip >= writer.bottom;
    TileSkip skip(field, box, lowestTip);
    const Stadium stadium(a, b, R);
    const double* heights = writer.heights;
    for (int row = box.r0; row <= box.r1; ++row) {
        if (skip.SkipRow(row, box.c0, box.c1)) continue;
        const double py = field.CentreY(row) - a.y;
        double xlo, xhi;
        if (!stadium.Span(field.CentreY(row), &xlo, &xhi)) continue;
        ColumnSpans spans;
        spans.Add(field, box, xlo, xhi);
        if (spans.count == 0) continue;
        if (levelFlat) {
            // A flat end mill moving level cuts at its level wherever it reaches: within R
            // of the nearest point of the segment.
            ForEachColumn(skip, row, spans.first[0], spans.last[0], [&](int column) {
                const std::size_t i = field.Index(column, row);
                if (heights[i] <= lowestTip && aboveBottom) {
                    ++writer.result.cells;
                    return;
                }
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
                if (d2 <= R2) writer.Lower(i, a.z);
            });
            continue;
        }
        ForEachColumn(skip, row, spans.first[0], spans.last[0], [&](int column) {
            const std::size_t i = field.Index(column, row);
            if (heights[i] <= lowestTip && aboveBottom) {
                ++writer.result.cells;
                return;
            }
            const double px = field.CentreX(column) - a.x;
            const double c2 = px * px + py * py;
            double z;
            if (plunge) {
                if (c2 > R2) return;
                z = lowestTip + tool.ProfileHeight(std::sqrt(c2));
            } else {
                const double dot = px * dx + py * dy;
                const double tStar = dot * inverseA2;
                // Squared distance from the line, by the cross product (no cancellation).
                const double cross = px * dy - py * dx;
                const double m = cross * cross * inverseA2;
                if (m > R2) return;
                const double half = std::sqrt((R2 - m) * inverseA2);
                const double t0 = std::max(tStar - half, 0.0);
                const double t1 = std::min(tStar + half, 1.0);
                if (t0 > t1) return;
                if (tool.shape == ToolShape::BullNose) {
                    // The search is needed only when the lowest conceivable point (the lower
                    // end, at the nearest approach) is below the cell or the bottom.
                    const double bound =
                        a.z + std::min(dz * t0, dz * t1) + tool.ProfileHeight(std::sqrt(m));
                    if (bound >= heights[i] && bound >= writer.bottom) {
                        ++writer.result.cells;
                        return;
                    }
                }
                z = LowestOnLine(tool, a.z, dz, a2, m, tStar, t0, t1);
            }
            writer.Lower(i, z);
        });
    }
    return writer.result;
}

}  // namespace cuttrace::cutting
