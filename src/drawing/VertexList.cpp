#include "drawing/VertexList.h"

namespace cuttrace {

void VertexList::Clear() {
    points_.Clear();
    arcs_.Clear();
    runs_.Clear();
    count_ = 0;
    storing_ = true;
}

PathVertex VertexList::operator[](std::size_t i) const {
    // The run that holds i is the last one that starts at or before it.
    std::size_t low = 0;
    std::size_t high = runs_.Size();
    while (high - low > 1) {
        const std::size_t middle = low + (high - low) / 2;
        if (runs_[middle].firstVertex <= i) {
            low = middle;
        } else {
            high = middle;
        }
    }
    const Run& run = runs_[low];
    const std::size_t offset = i - run.firstVertex;
    if (!run.arc) {
        const Point& p = points_[run.source + offset];
        return {{p.x, p.y, p.z}, run.color};
    }
    const ArcPolygon& polygon = arcs_[run.source];
    Point3 points[ArcPolygon::kBatch];
    ArcPolygon::Cursor cursor = polygon.Begin();
    std::size_t skipped = 0;
    while (const std::size_t n = polygon.Fill(cursor, points)) {
        if (offset < skipped + n) return {points[offset - skipped], run.color};
        skipped += n;
    }
    return {};  // not reached: the run holds offset + 1 points or more
}

}  // namespace cuttrace
