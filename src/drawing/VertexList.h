// The points drawn on the tool path, with the color each was drawn in, kept so that the
// views can be redrawn without running the program again.
//
// A quick run of a large program draws millions of points, so the list is built for
// that: single points live in blocks (growing never copies what is stored), a quick arc
// is kept as its polygon (ArcPolygon) and gives its points back when they are read, and
// colors are kept as runs, since they change only between rapid and feed moves.
#pragma once

#include <cstddef>
#include <cstdint>

#include "core/Point3.h"
#include "drawing/ArcPolygon.h"
#include "drawing/BlockStore.h"

namespace cuttrace {

struct PathVertex {
    Point3 point;
    uint32_t color = 0;  // the color value at the time of drawing, not a reference

    friend bool operator==(const PathVertex&, const PathVertex&) = default;
};

class VertexList {
  public:
    void Append(const Point3& point, uint32_t color) {
        if (!storing_) return;
        if (runs_.Size() == 0 || runs_[runs_.Size() - 1].arc ||
            runs_[runs_.Size() - 1].color != color) {
            runs_.Append({count_, points_.Size(), color, false});
        }
        points_.Append({point.x, point.y, point.z});
        ++count_;
    }
    // Appends the Count() points of a quick arc's polygon.
    void AppendArc(const ArcPolygon& polygon, uint32_t color) {
        if (!storing_) return;
        runs_.Append({count_, arcs_.Size(), color, true});
        arcs_.Append(polygon);
        count_ += static_cast<std::size_t>(polygon.Count());
    }

    // Empties the list and releases its storage; it stores again.
    void Clear();
    // The memory the list holds.
    std::size_t Bytes() const { return points_.Bytes() + arcs_.Bytes() + runs_.Bytes(); }
    // While off, appending stores nothing (the owner's memory bound was reached).
    void SetStoring(bool on) { storing_ = on; }
    bool Storing() const { return storing_; }

    std::size_t Count() const { return count_; }
    bool Empty() const { return count_ == 0; }
    // One vertex (for inspection; walking the list goes through ForEach).
    PathVertex operator[](std::size_t i) const;

    // Calls visit(point, color) for every vertex in order.
    template <typename Visit>
    void ForEach(Visit&& visit) const {
        for (std::size_t r = 0; r < runs_.Size(); ++r) {
            const Run& run = runs_[r];
            if (run.arc) {
                const ArcPolygon& polygon = arcs_[run.source];
                Point3 points[ArcPolygon::kBatch];
                ArcPolygon::Cursor cursor = polygon.Begin();
                while (const std::size_t n = polygon.Fill(cursor, points)) {
                    for (std::size_t i = 0; i < n; ++i)
                        visit(points[i], run.color);
                }
                continue;
            }
            const std::size_t end = r + 1 < runs_.Size() ? runs_[r + 1].firstVertex : count_;
            for (std::size_t i = run.source; i < run.source + (end - run.firstVertex); ++i) {
                const Point& p = points_[i];
                visit(Point3{p.x, p.y, p.z}, run.color);
            }
        }
    }

  private:
    struct Point {  // no initialisers: a new block is not written before it is used
        double x;
        double y;
        double z;
    };
    // Consecutive vertices of one color from single points, or one arc's points.
    struct Run {
        std::size_t firstVertex;
        std::size_t source;  // the first point's index, or the arc's index
        uint32_t color;
        bool arc;
    };

    BlockStore<Point, 16> points_;
    BlockStore<ArcPolygon, 12> arcs_;
    BlockStore<Run, 12> runs_;
    std::size_t count_ = 0;  // all vertices
    bool storing_ = true;
};

}  // namespace cuttrace
