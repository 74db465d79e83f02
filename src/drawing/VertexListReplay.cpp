// Reading the stored path back: replays into views, one motion alone, its points.
#include <functional>

#include "drawing/VertexListParts.h"

namespace cuttrace {

namespace {

// Collects the points of lines and arcs.
struct PointVisitor {
    const std::function<void(const Point3&, uint32_t)>& visit;
    bool Line(const Point3& p, uint32_t color, bool, bool) {
        visit(p, color);
        return true;
    }
    bool Move(const Point3&, bool) { return true; }
    bool Arc(const ArcPolygon& polygon, uint32_t color, bool) {
        Point3 points[ArcPolygon::kBatch];
        ArcPolygon::Cursor cursor = polygon.Begin();
        while (const std::size_t n = polygon.Fill(cursor, points)) {
            for (std::size_t i = 0; i < n; ++i)
                visit(points[i], color);
        }
        return true;
    }
    bool Drill(const DrillRecipe&, uint32_t, bool) { return true; }
    bool Mark(const Point3&, double, uint32_t, bool) { return true; }
};

}  // namespace

void VertexList::Replay(PathViews& views, const BoxFilter& filter) const {
    ReplayVisitor visitor(views);
    bool skipped = false;
    for (const Chunk& chunk : chunks_) {
        if (filter && !filter(chunk.box)) {
            skipped = true;
            continue;
        }
        if (skipped) {
            visitor.Flush();
            if (chunk.penKnown) views.DrawMoveTo(chunk.pen);
            skipped = false;
        }
        Walk(chunk, visitor);
    }
    visitor.Flush();
}

void VertexList::ReplayMotion(PathViews& views, std::size_t motion, uint32_t color) const {
    if (motion >= motions_) return;
    // The chunk in which the motion begins: the last one begun before it.
    auto after =
        std::upper_bound(chunks_.begin(), chunks_.end(), motion,
                         [](std::size_t m, const Chunk& c) { return m < c.motionsBefore; });
    if (after == chunks_.begin()) return;
    ReplayVisitor visitor(views);
    visitor.only = true;
    visitor.onlyMotion = motion;
    visitor.onlyColor = color;
    for (auto c = after - 1; c != chunks_.end() && !visitor.pastOnly; ++c) {
        visitor.motion = c->motionsBefore;
        if (c->penKnown) visitor.pen = c->pen;
        Walk(*c, visitor);
        visitor.Flush();
    }
}

PathVertex VertexList::operator[](std::size_t i) const {
    auto after = std::upper_bound(chunks_.begin(), chunks_.end(), i,
                                  [](std::size_t v, const Chunk& c) { return v < c.firstVertex; });
    if (after == chunks_.begin()) return {};
    PathVertex found;
    std::size_t index = (after - 1)->firstVertex;
    bool done = false;
    const std::function<void(const Point3&, uint32_t)> visit = [&](const Point3& p, uint32_t c) {
        if (!done && index == i) {
            found = {p, c};
            done = true;
        }
        ++index;
    };
    PointVisitor visitor{visit};
    for (auto c = after - 1; c != chunks_.end() && !done; ++c)
        Walk(*c, visitor);
    return found;
}

void VertexList::ForEach(const std::function<void(const Point3&, uint32_t)>& visit) const {
    PointVisitor visitor{visit};
    for (const Chunk& chunk : chunks_)
        Walk(chunk, visitor);
}

}  // namespace cuttrace
