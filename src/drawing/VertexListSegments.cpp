// The stored path as segments with their motions, for picking: every segment, or those of
// the groups of items nearest a point, with the index of where each group begins.
#include <bit>
#include <functional>

#include "drawing/VertexListParts.h"

namespace cuttrace {

namespace {

// Turns drawing calls into segments with the motion they belong to.
class SegmentViews final : public PathViews {
  public:
    explicit SegmentViews(const std::function<void(const PathSegment&)>& visit) : visit_(visit) {}

    const std::size_t* motion = nullptr;  // motions begun so far
    bool active = true;                   // whether the lines drawn now are handed over

    void SetColor(uint32_t color) override { color_ = color; }
    void DrawMoveTo(const Point3& p) override { pen_ = p; }
    void DrawLineTo(const Point3& p) override {
        if (active) visit_({pen_, p, *motion - 1, color_});
        pen_ = p;
    }
    void LineToShowingTool(const Point3& p) override { DrawLineTo(p); }
    void DrawLine(const Point3& a, const Point3& b) override {
        if (active) visit_({a, b, *motion - 1, color_});
        pen_ = b;
    }
    void Present() override {}

  private:
    const std::function<void(const PathSegment&)>& visit_;
    Point3 pen_;
    uint32_t color_ = 0;
};

// Hands each item on, the segments of those of the chosen groups (bits of mask) to the
// segment views: everything is read (the items depend on those before), little is looked at.
struct GroupGate {
    ReplayVisitor& inner;
    SegmentViews& segments;
    uint32_t mask = 0;
    std::size_t item = 0;

    void Next() {
        segments.active = ((mask >> (item / VertexList::kGroupItems)) & 1u) != 0;
        ++item;
    }
    bool Line(const Point3& p, uint32_t color, bool clipped, bool starts) {
        Next();
        if (!segments.active) return PassOver(p, starts);
        const bool more = inner.Line(p, color, clipped, starts);
        inner.Flush();  // the item's segments go out while its group decides
        return more;
    }
    // An item of a group left out: only where it ends counts.
    bool PassOver(const Point3& end, bool starts) {
        inner.Begin(starts);
        inner.pen = end;
        segments.DrawMoveTo(end);
        return true;
    }
    bool Move(const Point3& p, bool starts) {
        Next();
        return inner.Move(p, starts);
    }
    bool Arc(StoredArc& arc, uint32_t color, bool starts) {
        Next();
        if (!segments.active) return PassOver(arc.Last(), starts);
        const bool more = inner.Arc(arc, color, starts);
        inner.Flush();
        return more;
    }
    bool Drill(const DrillRecipe& drill, uint32_t color, bool starts) {
        Next();
        return inner.Drill(drill, color, starts);
    }
    bool Mark(const Point3& centre, double cutter, uint32_t color, bool starts) {
        Next();
        return inner.Mark(centre, cutter, color, starts);
    }
};

// Reads items and looks at none of them.
struct SkipVisitor {
    bool Line(const Point3&, uint32_t, bool, bool) { return true; }
    bool Move(const Point3&, bool) { return true; }
    bool Arc(StoredArc&, uint32_t, bool) { return true; }
    bool Drill(const DrillRecipe&, uint32_t, bool) { return true; }
    bool Mark(const Point3&, double, uint32_t, bool) { return true; }
};

// The point thousandths read back as (as a point of a line is decoded).
template <class Int>
Point3 PointOfThousandths(const Int (&last)[3]) {
    return {static_cast<double>(last[0]) / 1000.0, static_cast<double>(last[1]) / 1000.0,
            static_cast<double>(last[2]) / 1000.0};
}

bool SameBits(const Point3& a, const Point3& b) {
    return std::bit_cast<uint64_t>(a.x) == std::bit_cast<uint64_t>(b.x) &&
           std::bit_cast<uint64_t>(a.y) == std::bit_cast<uint64_t>(b.y) &&
           std::bit_cast<uint64_t>(a.z) == std::bit_cast<uint64_t>(b.z);
}

template <class Narrow, class Wide>
bool Fits(Wide value, Narrow& narrow) {
    narrow = static_cast<Narrow>(value);
    return static_cast<Wide>(narrow) == value;
}

}  // namespace

void VertexList::KeepGroupStart(std::size_t c, std::size_t g, const Cursor& cursor) const {
    static_assert(sizeof(GroupStart) == 40);
    const Chunk& chunk = chunks_[c];
    GroupStart start{};
    start.color = cursor.color;
    start.clipped = cursor.clipped;
    start.pen = kPenAtLast;
    // A walk stops at the group's first item, or at the end of a chunk with fewer items.
    bool fits = cursor.item == std::min<std::size_t>(g * kGroupItems, chunk.items) &&
                Fits(cursor.at - chunk.begin, start.at) &&
                Fits(cursor.motion - chunk.motionsBefore, start.motion) &&
                Fits(cursor.drill - chunk.drillsBefore, start.drill);
    for (int a = 0; a < 3; ++a) {
        fits = fits && Fits(cursor.last[a], start.last[a]) &&
               Fits(cursor.centreLast[a], start.centreLast[a]);
    }
    if (!fits) {
        start.pen = kWholeCursor;
        start.kept = static_cast<uint32_t>(wholeStarts_.Size());
        wholeStarts_.Append(cursor);
    } else if (!SameBits(cursor.pen, PointOfThousandths(start.last))) {
        if (cursor.drill > 0 && SameBits(cursor.pen, drills_[cursor.drill - 1].hole)) {
            start.pen = kPenAtHole;
        } else {
            start.pen = kPenKept;
            start.kept = static_cast<uint32_t>(keptPens_.Size());
            keptPens_.Append(cursor.pen);
        }
    }
    groupStarts_.Append(start);
}

VertexList::Cursor VertexList::GroupCursor(std::size_t group) const {
    const GroupStart& start = groupStarts_[group];
    if (start.pen == kWholeCursor) return wholeStarts_[start.kept];
    const Chunk& chunk = chunks_[group / kChunkGroups];
    Cursor cursor;
    cursor.at = chunk.begin + start.at;
    cursor.item = static_cast<uint32_t>(
        std::min<std::size_t>(group % kChunkGroups * kGroupItems, chunk.items));
    for (int a = 0; a < 3; ++a) {
        cursor.last[a] = start.last[a];
        cursor.centreLast[a] = start.centreLast[a];
    }
    cursor.color = start.color;
    cursor.clipped = start.clipped;
    cursor.drill = chunk.drillsBefore + start.drill;
    cursor.motion = chunk.motionsBefore + start.motion;
    cursor.pen = start.pen == kPenAtHole ? drills_[cursor.drill - 1].hole
                 : start.pen == kPenKept ? keptPens_[start.kept]
                                         : PointOfThousandths(cursor.last);
    return cursor;
}

void VertexList::UpdateGroupStarts() const {
    PrepareForPicking(SIZE_MAX);
}

bool VertexList::PrepareForPicking(std::size_t chunks) const {
    const std::size_t complete = chunks_.empty() ? 0 : chunks_.size() - 1;
    std::size_t made = startsMade_.load(std::memory_order_relaxed);
    if (made >= complete) return true;
    const std::size_t until = complete - made > chunks ? made + chunks : complete;
    SkipVisitor skip;
    for (; made < until; ++made) {
        const Chunk& chunk = chunks_[made];
        Cursor cursor = StartOf(chunk);
        for (std::size_t g = 0; g < kChunkGroups; ++g) {
            KeepGroupStart(made, g, cursor);
            Walk(chunk, cursor, skip, static_cast<uint32_t>((g + 1) * kGroupItems));
        }
    }
    startsMade_.store(made, std::memory_order_release);
    return made >= complete;
}

void VertexList::ForEachSegmentUntil(const std::function<void(const PathSegment&)>& visit,
                                     const std::atomic<bool>& stop) const {
    SegmentViews segments(visit);
    ReplayVisitor visitor(segments);
    visitor.batchLimit = 1;  // each line is handed over before the next item is read
    segments.motion = &visitor.motion;
    for (const Chunk& chunk : chunks_) {
        if (stop.load(std::memory_order_relaxed)) return;
        visitor.Flush();
        visitor.motion = chunk.motionsBefore;
        if (chunk.penKnown) segments.DrawMoveTo(chunk.pen);
        Walk(chunk, visitor);
    }
    visitor.Flush();
}

void VertexList::ForEachSegment(const std::function<void(const PathSegment&)>& visit,
                                const BoxFilter& filter) const {
    if (!filter) {
        const std::atomic<bool> never{false};
        ForEachSegmentUntil(visit, never);
        return;
    }
    SegmentViews segments(visit);
    ReplayVisitor visitor(segments);
    visitor.batchLimit = 1;  // each line is handed over before the next item is read
    segments.motion = &visitor.motion;
    UpdateGroupStarts();
    for (std::size_t c = 0; c < chunks_.size(); ++c) {
        const Chunk& chunk = chunks_[c];
        if (!filter(chunk.box)) continue;
        // Only the groups of items whose box the filter accepts are read.
        uint32_t mask = 0;
        for (std::size_t g = 0; g < kChunkGroups; ++g) {
            const std::size_t at = c * kChunkGroups + g;
            if (at >= groups_.Size()) break;
            const PathBox box = BoxOfGroup(at);
            if (box.Empty()) continue;
            if (filter(box)) mask |= 1u << g;
        }
        if (mask == 0) continue;
        if (c >= startsMade_.load(std::memory_order_relaxed)) {
            // The last chunk, still growing: read whole, its groups' segments handed over.
            GroupGate gate{visitor, segments, mask};
            visitor.Flush();
            visitor.motion = chunk.motionsBefore;
            visitor.pen = chunk.pen;
            segments.DrawMoveTo(chunk.pen);
            Walk(chunk, gate);
            segments.active = true;
            continue;
        }
        for (std::size_t g = 0; g < kChunkGroups;) {
            if (!((mask >> g) & 1u)) {
                ++g;
                continue;
            }
            std::size_t past = g;
            while (past < kChunkGroups && ((mask >> past) & 1u))
                ++past;
            Cursor cursor = GroupCursor(c * kChunkGroups + g);
            visitor.Flush();
            visitor.motion = cursor.motion;
            visitor.pen = cursor.pen;
            segments.DrawMoveTo(cursor.pen);
            Walk(chunk, cursor, visitor, static_cast<uint32_t>(past * kGroupItems));
            visitor.Flush();
            g = past;
        }
    }
    visitor.Flush();
}

void VertexList::ForEachSegmentNearest(
    const std::function<double(const PathBox&)>& bound,
    const std::function<double(const PathSegment&)>& visit) const {
    UpdateGroupStarts();
    struct Candidate {
        double bound;
        std::size_t group;  // chunk * kChunkGroups + group in the chunk
    };
    std::vector<Candidate> near;
    for (std::size_t c = 0; c < chunks_.size(); ++c) {
        if (!(bound(chunks_[c].box) < INFINITY)) continue;
        for (std::size_t g = 0; g < kChunkGroups; ++g) {
            const std::size_t at = c * kChunkGroups + g;
            if (at >= groups_.Size()) break;
            const PathBox box = BoxOfGroup(at);
            if (box.Empty()) continue;
            const double b = bound(box);
            if (b < INFINITY) near.push_back({b, at});
        }
    }
    // Nearest first; of equally near ones the later in the path first.
    std::sort(near.begin(), near.end(), [](const Candidate& a, const Candidate& b) {
        return a.bound < b.bound || (a.bound == b.bound && a.group > b.group);
    });
    double wanted = INFINITY;
    const std::function<void(const PathSegment&)> take = [&](const PathSegment& s) {
        wanted = visit(s);
    };
    SegmentViews segments(take);
    ReplayVisitor visitor(segments);
    visitor.batchLimit = 1;
    segments.motion = &visitor.motion;
    std::size_t settled = 0;  // the group in which the distance wanted was last lowered
    bool found = false;
    for (const Candidate& candidate : near) {
        if (candidate.bound > wanted) break;  // every group left lies farther
        // A group that can only come as near as the one found, and lies before it in the
        // path, cannot hold the segment wanted.
        if (found && candidate.bound >= wanted && candidate.group < settled) continue;
        const double before = wanted;
        const std::size_t c = candidate.group / kChunkGroups;
        const std::size_t g = candidate.group % kChunkGroups;
        const Chunk& chunk = chunks_[c];
        visitor.Flush();
        if (c >= startsMade_.load(std::memory_order_relaxed)) {
            // The last chunk, still growing: read from its start, the group's segments handed
            // over.
            GroupGate gate{visitor, segments, 1u << g};
            visitor.motion = chunk.motionsBefore;
            visitor.pen = chunk.pen;
            segments.DrawMoveTo(chunk.pen);
            Walk(chunk, gate);
            segments.active = true;
            if (wanted < before) {
                settled = candidate.group;
                found = true;
            }
            continue;
        }
        Cursor cursor = GroupCursor(candidate.group);
        visitor.motion = cursor.motion;
        visitor.pen = cursor.pen;
        segments.DrawMoveTo(cursor.pen);
        Walk(chunk, cursor, visitor, static_cast<uint32_t>((g + 1) * kGroupItems));
        visitor.Flush();
        if (wanted < before) {
            settled = candidate.group;
            found = true;
        }
    }
}

}  // namespace cuttrace
