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
    bool Arc(StoredArc& arc, uint32_t color, bool) {
        const ArcPolygon& polygon = arc.Polygon();
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

// Replays the items of a chunk's groups into the views that need them: each group into the
// views of its mask (none: left out), and an arc, a drilling cycle or a tool mark only into
// those of them that could show its box. An item left out only moves the pens to where it
// ends.
//
// Together, an item that one view needs is drawn into all: so the first chunk laid (where
// the path ends) leaves every view's pen where a redraw forwards leaves it. (Lines are drawn
// from where they start, so after that the pens are of no account.)
struct BackwardsReplay {
    ReplayVisitor& replay;
    PathViews& views;
    const uint32_t* groupViews;  // a mask for each group of the chunk
    bool together = false;
    std::size_t item = 0;     // of the chunk
    bool passedOver = false;  // the last item was left out
    // When the last item was an arc left out, the pens stand at its end: found only when
    // it is needed (before the walk goes on past the next arc; see Settle).
    StoredArc* penAt = nullptr;

    // After a walk (which keeps its arcs no longer): the pens' place, when it is the end
    // of an arc left out, is where the walk's cursor was left.
    void SettleAt(const Point3& end) {
        if (penAt == nullptr) return;
        replay.pen = end;
        penAt = nullptr;
    }
    // The pens' place, when it is the end of an arc left out.
    void Settle() {
        if (penAt == nullptr) return;
        replay.pen = penAt->Last();
        penAt = nullptr;
    }

    uint32_t GroupViews() const { return groupViews[item / VertexList::kGroupItems]; }
    // Whether the next item is drawn, into these views.
    bool Next(uint32_t into) {
        ++item;
        const bool drawn = into != 0;
        if (drawn && passedOver) {
            Settle();
            replay.Flush();
            replay.MoveAll(replay.pen);
        }
        passedOver = !drawn;
        replay.into = into;
        return drawn;
    }
    // The views of the item's group that could show the box.
    uint32_t Showing(const PathBox& box) const {
        const uint32_t of = GroupViews();
        if (of == 0) return 0;
        const uint32_t showing = views.Showing(box.low, box.high, of);
        return together && showing != 0 ? of : showing;
    }
    bool PassOver(const Point3& end) {
        replay.pen = end;
        penAt = nullptr;
        return true;
    }
    bool Line(const Point3& p, uint32_t color, bool clipped, bool starts) {
        return Next(GroupViews()) ? replay.Line(p, color, clipped, starts) : PassOver(p);
    }
    bool Move(const Point3& p, bool starts) {
        return Next(GroupViews()) ? replay.Move(p, starts) : PassOver(p);
    }
    bool Arc(StoredArc& arc, uint32_t color, bool starts) {
        // An arc starts where the one before it ends (the walk found that).
        if (penAt != nullptr) {
            replay.pen = arc.Start();
            penAt = nullptr;
        }
        // Most points of a path are arcs' points: an arc all of whose pixels are taken is
        // left out whole, its polygon not even made.
        uint32_t into = 0;
        if (GroupViews() != 0) {
            PathBox box;
            if (!arc.Box(box.low, box.high)) {
                arc.Polygon().Bounds(box.low, box.high);
                box.Add(arc.Start());
            }
            into = Showing(box);
        }
        if (Next(into)) return replay.Arc(arc, color, starts);
        penAt = &arc;
        return true;
    }
    bool Drill(const DrillRecipe& drill, uint32_t color, bool starts) {
        return Next(Showing(DrillBox(drill))) ? replay.Drill(drill, color, starts)
                                              : PassOver(drill.hole);
    }
    bool Mark(const Point3& centre, double cutter, uint32_t color, bool starts) {
        return Next(Showing(MarkBox(centre, cutter))) ? replay.Mark(centre, cutter, color, starts)
                                                      : PassOver(centre);
    }
};

}  // namespace

void VertexList::ReplayBackwards(PathViews& views, const BoxFilter& filter) const {
    // Where each group begins, when the index made for picking holds every chunk that no
    // longer grows (nothing changes it then while this runs): a group left out is not read.
    const std::size_t indexed = startsMade_.load(std::memory_order_acquire);
    const bool useIndex = !chunks_.empty() && indexed >= chunks_.size() - 1;
    ReplayVisitor replay(views);
    bool laid = false;
    for (std::size_t c = chunks_.size(); c-- > 0;) {
        const Chunk& chunk = chunks_[c];
        if (filter && !filter(chunk.box)) continue;
        // The views that need each group (of those that need the chunk): the filter is
        // asked only for chunks, the views themselves for every smaller box.
        const uint32_t chunkViews =
            views.Showing(chunk.box.low, chunk.box.high, PathViews::kAllViews);
        const std::size_t groups = (chunk.items + kGroupItems - 1) / kGroupItems;
        uint32_t groupViews[kChunkGroups] = {};
        bool any = false;
        for (std::size_t g = 0; g < groups && chunkViews != 0; ++g) {
            const PathBox box = BoxOfGroup(c * kChunkGroups + g);
            groupViews[g] = views.Showing(box.low, box.high, chunkViews);
            if (!laid && groupViews[g] != 0) groupViews[g] = PathViews::kAllViews;
            any = any || groupViews[g] != 0;
        }
        if (!any) continue;
        replay.movePens = !laid;
        if (chunk.penKnown) {
            replay.MoveAll(chunk.pen);
            replay.pen = chunk.pen;
        } else {
            if (!laid) views.ReturnPens();
            replay.pen = Point3{};
        }
        BackwardsReplay visitor{replay, views, groupViews, !laid};
        if (useIndex && c < indexed) {
            // Each run of needed groups from its own cursor.
            for (std::size_t g = 0; g < groups;) {
                if (groupViews[g] == 0) {
                    ++g;
                    continue;
                }
                std::size_t end = g + 1;
                while (end < groups && groupViews[end] != 0)
                    ++end;
                Cursor cursor = GroupCursor(c * kChunkGroups + g);
                if (g > 0) {
                    replay.pen = cursor.pen;
                    visitor.passedOver = true;  // the pens move there before the next line
                }
                visitor.item = g * kGroupItems;
                Walk(chunk, cursor, visitor, static_cast<uint32_t>(end * kGroupItems));
                visitor.SettleAt(cursor.pen);
                g = end;
            }
        } else {
            Cursor cursor = StartOf(chunk);
            Walk(chunk, cursor, visitor, UINT32_MAX);
            visitor.SettleAt(cursor.pen);
        }
        replay.Flush();
        if (visitor.passedOver) replay.MoveAll(replay.pen);
        views.LayUnder();
        laid = true;
    }
    views.EndBackwards();
}

void VertexList::Replay(PathViews& views, const BoxFilter& filter) const {
    if (views.Backwards()) {
        if (!penLines_) {
            ReplayBackwards(views, filter);
            return;
        }
        views.EndBackwards();
    }
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
