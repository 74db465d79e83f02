// The parts of the path store that its reading and writing halves share: the chunk record,
// the walk that decodes a chunk's items, and the visitor that replays them as drawing calls.
// Internal to the path store (VertexList*.cpp).
#pragma once

#include <algorithm>
#include <cmath>

#include "drawing/ArcPath.h"
#include "drawing/VertexCoding.h"
#include "drawing/VertexList.h"

namespace cuttrace {

// The store's own files read its coding unqualified.
using namespace path_store;

struct VertexList::Chunk {
    uint32_t block = 0;
    uint32_t begin = 0;  // bytes [begin, end) of the block
    uint32_t end = 0;
    uint32_t items = 0;
    std::size_t firstVertex = 0;
    std::size_t motionsBefore = 0;  // motions begun before the chunk
    std::size_t drillsBefore = 0;
    std::size_t sourceByte = 0;  // the source stream of the chunk's first motion
    MotionSource sourceBefore;   // the source the stream's next step starts from
    Point3 pen;                  // where the pens stand when the chunk begins
    bool penKnown = false;
    PathBox box;
};

// A group's box in doubles; empty for a group without segments.
template <class GroupBox>
PathBox BoxOf(const GroupBox& group) {
    PathBox box;
    if (group.low[0] <= group.high[0]) {
        box.AddBox({group.low[0], group.low[1], group.low[2]},
                   {group.high[0], group.high[1], group.high[2]});
    }
    return box;
}

// Boxes that hold every line of a quick drilling cycle and of a tool mark.
inline PathBox DrillBox(const DrillRecipe& drill) {
    const double r = std::fabs(drill.cutter);
    PathBox box;
    box.Add(drill.start);
    box.Add(drill.hole);
    box.AddBox({drill.hole.x - r, drill.hole.y - r, std::min(drill.retract, drill.bottom)},
               {drill.hole.x + r, drill.hole.y + r, std::max(drill.retract, drill.bottom)});
    return box;
}
inline PathBox MarkBox(const Point3& centre, double cutter) {
    const double r = std::fabs(cutter);
    PathBox box;
    box.AddBox({centre.x - r, centre.y - r, centre.z}, {centre.x + r, centre.y + r, centre.z});
    return box;
}

// Decodes a chunk's items in order and hands each to the visitor.
template <class Visitor>
void VertexList::Walk(const Chunk& chunk, Visitor& visitor) const {
    Cursor cursor = StartOf(chunk);
    Walk(chunk, cursor, visitor, UINT32_MAX);
}

// Decodes the chunk's items from the cursor on, up to item `until`; the cursor follows.
template <class Visitor>
void VertexList::Walk(const Chunk& chunk, Cursor& cursor, Visitor& visitor, uint32_t until) const {
    const uint8_t* const base = blocks_[chunk.block].get();
    const uint8_t* r = base + cursor.at;
    const uint8_t* const end = base + chunk.end;
    int64_t(&last)[3] = cursor.last;
    int64_t(&centreLast)[3] = cursor.centreLast;
    uint32_t& color = cursor.color;
    bool& clipped = cursor.clipped;
    std::size_t& drill = cursor.drill;
    Point3& pen = cursor.pen;  // where an arc starts
    // The last two arcs read; while the pen stands at the end of the later one, that is
    // found only when it is needed (most arcs of a redraw are left out, and a line after
    // one starts from its own point).
    StoredArc arcs[2];
    int arc = 0;
    bool penAtArc = false;
    // The cursor is left before an item (and after the color and kind notes before it).
    struct Keep {
        Cursor& cursor;
        const uint8_t* base;
        const uint8_t*& r;
        StoredArc* arcs;
        const int& arc;
        const bool& penAtArc;
        ~Keep() {
            cursor.at = static_cast<uint32_t>(r - base);
            if (penAtArc) cursor.pen = arcs[arc].Last();
        }
    } keep{cursor, base, r, arcs, arc, penAtArc};
    while (r < end) {
        const uint8_t tag = *r;
        const bool item =
            !(tag & kTagBit) || ((tag & kKindMask) != kColor && (tag & kKindMask) != kClipped);
        if (item) {
            if (cursor.item == until) return;
            ++cursor.item;
        }
        ++r;
        const bool starts = (tag & kMotionBit) != 0;
        if (starts) ++cursor.motion;
        if (!(tag & kTagBit)) {
            pen = DecodePoint(r, tag, last);
            penAtArc = false;
            if (!visitor.Line(pen, color, clipped, starts)) return;
            continue;
        }
        switch (tag & kKindMask) {
            case kColor:
                color = GetRaw<uint32_t>(r);
                break;
            case kClipped:
                clipped = *r++ != 0;
                break;
            case kMove: {
                const uint8_t header = *r++;
                pen = DecodePoint(r, header, last);
                penAtArc = false;
                if (!visitor.Move(pen, starts)) return;
                break;
            }
            case kArc: {
                MotionRecord record;
                record.kind = ArcKindOf(*r++);
                const uint8_t endHeader = *r++;
                const Point3 arcEnd = DecodePoint(r, endHeader, last);
                const uint8_t centreHeader = *r++;
                const Point3 centre = DecodePoint(r, centreHeader, centreLast);
                record.x = arcEnd.x;
                record.y = arcEnd.y;
                record.z = arcEnd.z;
                record.centreFirst = centre.x;
                record.centreSecond = centre.y;
                // The polygon the run drew: the same arc from the same start, bit for bit.
                if (penAtArc) pen = arcs[arc].Last();
                arc ^= 1;
                arcs[arc].Set(pen, record);
                penAtArc = true;
                if (!visitor.Arc(arcs[arc], color, starts)) return;
                break;
            }
            case kDrill: {
                const DrillRecipe& recipe = drills_[drill++];
                pen = recipe.hole;
                penAtArc = false;
                if (!visitor.Drill(recipe, color, starts)) return;
                break;
            }
            case kMark: {
                const uint8_t header = *r++;
                const Point3 centre = DecodePoint(r, header, last);
                const double cutter = GetRaw<double>(r);
                pen = centre;
                penAtArc = false;
                if (!visitor.Mark(centre, cutter, color, starts)) return;
                break;
            }
            default:
                return;  // not written
        }
    }
}

namespace path_store {

// Hands the items to views as drawing calls, lines in batches of one color; keeps the
// index of the motion being drawn. With `only` set, draws just that motion, in onlyColor.
class ReplayVisitor {
  public:
    static constexpr std::size_t kBatch = 2 * ArcPolygon::kBatch;

    explicit ReplayVisitor(PathViews& views) : views_(views) {}

    std::size_t motion = 0;  // motions begun so far (the current one is motion - 1)
    std::size_t batchLimit = kBatch;
    bool only = false;
    std::size_t onlyMotion = 0;
    uint32_t onlyColor = 0;
    bool pastOnly = false;
    Point3 pen;
    // The views (a bit each) that the next items are drawn into, when views drawing
    // backwards need them one by one; the batches follow it.
    uint32_t into = PathViews::kAllViews;

    bool Begin(bool starts) {
        if (starts) {
            // Picking out motions needs each line drawn under its own motion; a plain
            // replay keeps its batches.
            if (only || batchLimit == 1) Flush();
            ++motion;
        }
        if (!only) return true;
        if (motion > onlyMotion + 1) {
            pastOnly = true;
            return false;
        }
        const bool mine = motion == onlyMotion + 1;
        if (mine && !drawing_) {
            drawing_ = true;
            views_.DrawMoveTo(pen);
        }
        return mine;
    }
    uint32_t Color(uint32_t color) const { return only ? onlyColor : color; }

    bool Line(const Point3& p, uint32_t color, bool clipped, bool starts) {
        if (Begin(starts)) {
            Add(Color(color), clipped);
            batch_[count_++] = p;
        }
        pen = p;
        return !pastOnly;
    }
    bool Move(const Point3& p, bool starts) {
        if (Begin(starts)) {
            Flush();
            MoveAll(p);
        }
        pen = p;
        return !pastOnly;
    }
    bool Arc(StoredArc& arc, uint32_t color, bool starts) {
        if (Begin(starts)) {
            // The points join the batch of lines: an arc after lines of its color goes on
            // in the same run.
            const ArcPolygon& polygon = arc.Polygon();
            color = Color(color);
            ArcPolygon::Cursor cursor = polygon.Begin();
            while (true) {
                if (kBatch - count_ < ArcPolygon::kBatch) Flush();
                Add(color, true);
                const std::size_t n = polygon.Fill(cursor, batch_ + count_);
                if (n == 0) break;
                count_ += n;
                pen = batch_[count_ - 1];
            }
        }
        pen = arc.Last();
        return !pastOnly;
    }
    bool Drill(const DrillRecipe& drill, uint32_t color, bool starts) {
        if (Begin(starts)) {
            Flush();
            views_.SetColor(Color(color));
            Into(into);
            DrawQuickDrill(views_, drill, into);
        }
        pen = drill.hole;
        return !pastOnly;
    }
    bool Mark(const Point3& centre, double cutter, uint32_t color, bool starts) {
        if (Begin(starts)) {
            Flush();
            views_.SetColor(Color(color));
            Into(into);
            DrawToolMark(views_, centre, cutter);
        }
        pen = centre;
        return !pastOnly;
    }
    void Flush() {
        if (count_ == 0) return;
        views_.SetColor(batchColor_);
        Into(batchInto_);
        if (batchClipped_) {
            views_.DrawLinesFrom(batchFrom_, batch_, count_);
        } else {
            views_.DrawLinesTo(batch_, count_);
        }
        count_ = 0;
    }
    // A pen move of every view (none while pens are of no account).
    void MoveAll(const Point3& p) {
        if (!movePens) return;
        Into(PathViews::kAllViews);
        views_.DrawMoveTo(p);
    }
    // Whether the views' pens follow the items: not while drawing backwards past the chunk
    // that leaves them where the path ends (lines are drawn from where they start).
    bool movePens = true;

  private:
    // Prepares the batch for one more line of this color and kind.
    void Add(uint32_t color, bool clipped) {
        if (count_ == batchLimit ||
            (count_ > 0 &&
             (color != batchColor_ || clipped != batchClipped_ || into != batchInto_))) {
            Flush();
        }
        if (count_ == 0) batchFrom_ = pen;
        batchColor_ = color;
        batchClipped_ = clipped;
        batchInto_ = into;
    }
    // The views that the drawing calls go to from now on.
    void Into(uint32_t views) {
        if (views == sentInto_) return;
        views_.DrawInto(views);
        sentInto_ = views;
    }

    PathViews& views_;
    Point3 batch_[kBatch];
    std::size_t count_ = 0;
    uint32_t batchColor_ = 0;
    bool batchClipped_ = false;
    uint32_t batchInto_ = PathViews::kAllViews;
    uint32_t sentInto_ = PathViews::kAllViews;  // what the views were told last
    Point3 batchFrom_;                          // where the batch's first line starts
    bool drawing_ = false;
};

}  // namespace path_store

}  // namespace cuttrace
