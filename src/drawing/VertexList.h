// Everything drawn on the tool path, kept so that the views can be redrawn without running
// the program again, and so that a point of the drawing can be traced back to its motion.
//
// A quick run of a large program draws tens of millions of points, so the list is compact:
// - a line's end point is stored as the difference from the previous point in thousandths
//   of a unit (most programs are written in thousandths), one header byte and one or two
//   bytes an axis for the usual step; a value that is not a thousandth exactly (or is huge)
//   is stored as its raw double, so every point reads back exactly;
// - a quick arc is kept as its record (end and centre, as thousandth steps) and a quick
//   drilling cycle as its recipe (DrillRecipe); both give their points back through the
//   code that drew them (ArcPolygon::Quick, DrawQuickDrill);
// - pen moves, tool marks of animated cycles and color changes are items of their own;
// - each motion keeps its source (file and byte offset of its block) in a second stream,
//   about two bytes a motion.
// The items are grouped in chunks of a few thousand, each with its bounding box, so a redraw
// can skip what no view shows; each run of 32 items of a chunk has a box of its own too (in
// floats, widened to hold the doubles), so a pick looks only at the few items near the click.
#pragma once

#include <algorithm>
#include <atomic>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "core/MotionRecord.h"
#include "core/Point3.h"
#include "drawing/ArcPolygon.h"
#include "drawing/BlockStore.h"
#include "drawing/DrillMarks.h"
#include "drawing/PathViews.h"

namespace cuttrace {

struct PathVertex {
    Point3 point;
    uint32_t color = 0;  // the color value at the time of drawing, not a reference

    friend bool operator==(const PathVertex&, const PathVertex&) = default;
};

// Where a motion's block came from: an index into VertexList::Files() and the byte offset
// of the line in that file (-1: not known).
struct MotionSource {
    uint32_t file = 0;
    int64_t offset = -1;

    friend bool operator==(const MotionSource&, const MotionSource&) = default;
};

// An axis-aligned box of model points; empty while low > high.
struct PathBox {
    Point3 low{1.0, 1.0, 1.0};
    Point3 high{-1.0, -1.0, -1.0};

    bool Empty() const { return low.x > high.x; }
    void Add(const Point3& p) { AddBox(p, p); }
    void AddBox(const Point3& lo, const Point3& hi) {
        if (Empty()) {
            low = lo;
            high = hi;
            return;
        }
        low = {std::min(low.x, lo.x), std::min(low.y, lo.y), std::min(low.z, lo.z)};
        high = {std::max(high.x, hi.x), std::max(high.y, hi.y), std::max(high.z, hi.z)};
    }
};

// What a walk over the list sees: the line segments (from, to) of lines, arcs, drilling
// cycles and tool marks with the motion they belong to.
struct PathSegment {
    Point3 from;
    Point3 to;
    std::size_t motion = 0;
    uint32_t color = 0;  // as drawn
};

class VertexList {
  public:
    static constexpr std::size_t kChunkItems = 1024;
    static constexpr std::size_t kGroupItems = 32;
    static constexpr std::size_t kChunkGroups = kChunkItems / kGroupItems;

    VertexList();
    ~VertexList();
    VertexList(const VertexList&) = delete;
    VertexList& operator=(const VertexList&) = delete;

    // Starts a motion: the items appended until the next call belong to it. A motion that
    // appends nothing (a line of no length) is not kept.
    void BeginMotion(const MotionSource& source) {
        pendingSource_ = source;
        motionPending_ = storing_;
    }
    // The index of a file's path in Files(), added when new.
    uint32_t FileIndex(std::string_view path) {
        // Most motions come from the file of the motion before.
        if (!files_.empty() && files_.back() == path)
            return static_cast<uint32_t>(files_.size() - 1);
        return FindFile(path);
    }
    const std::vector<std::string>& Files() const { return files_; }

    // A line from the pen to point, drawn as DrawLineTo (animated motions).
    void Append(const Point3& point, uint32_t color);
    // A line from `from` to `to`, drawn as DrawLine (quick motions).
    void AppendSegment(const Point3& from, const Point3& to, uint32_t color);
    // The pen moves to point without drawing.
    void AppendMove(const Point3& point);
    // The Count() points of a quick arc's polygon (ArcPolygon::Quick of the record's arc
    // from `from`), as lines from `from` (DrawLine). Kept as its record: end and centre.
    void AppendArc(const ArcPolygon& polygon, uint32_t color, const Point3& from,
                   const MotionRecord& record);
    // A quick drilling cycle (DrawQuickDrill).
    void AppendDrill(const DrillRecipe& drill, uint32_t color);
    // A tool mark of an animated cycle (DrawToolMark).
    void AppendMark(const Point3& centre, double cutter, uint32_t color);

    // Empties the list and releases its storage; it stores again.
    void Clear();
    // While off, appending stores nothing (the owner's memory bound was reached).
    void SetStoring(bool on) { storing_ = on; }
    bool Storing() const { return storing_; }

    // Points of lines and arcs (each drawn as a line to it).
    std::size_t Count() const { return count_; }
    bool Empty() const { return chunks_.empty(); }
    // Motions kept.
    std::size_t Motions() const { return motions_; }
    MotionSource Source(std::size_t motion) const;
    // The motions (at most limit, in order) whose block lies in bytes [begin, end) of file.
    std::vector<std::size_t> MotionsFrom(uint32_t file, int64_t begin, int64_t end,
                                         std::size_t limit) const;
    // The memory the list holds, storage reserved included.
    std::size_t Bytes() const;
    // Everything stored lies in this box.
    const PathBox& Bounds() const { return bounds_; }

    // The i-th point of lines and arcs (for inspection; it walks the list).
    PathVertex operator[](std::size_t i) const;
    // Calls visit(point, color) for every point of lines and arcs in order.
    void ForEach(const std::function<void(const Point3&, uint32_t)>& visit) const;

    // Draws everything again, in the stored colors, from wherever the pens are. With a
    // filter, a chunk whose box it rejects is left out (the pens are moved to where the
    // next chunk begins): the filter must reject only boxes that no view shows.
    //
    // Views that draw backwards get the chunks from the last to the first, each laid under
    // those before; the filter is asked for the box of each chunk, the views themselves
    // (PathViews::Showing) for the boxes of its groups of kGroupItems items and of its arcs,
    // drilling cycles and tool marks: each goes only to the views that need it. That needs a path
    // whose every line names where it starts (as quick motions draw them): a line drawn from
    // wherever the pen stands (Append) could depend on any chunk before it, so such a path
    // ends the views' backwards drawing and is drawn forwards.
    using BoxFilter = std::function<bool(const PathBox&)>;
    void Replay(PathViews& views, const BoxFilter& filter = {}) const;
    // Draws one motion again in the given color.
    void ReplayMotion(PathViews& views, std::size_t motion, uint32_t color) const;
    // Calls visit for every segment of the items whose box the filter accepts, chunk and
    // group of 32 items (all without a filter).
    void ForEachSegment(const std::function<void(const PathSegment&)>& visit,
                        const BoxFilter& filter = {}) const;
    // Calls visit for every segment, in order, until stop is set (looked at between chunks
    // of items: a walk that is no longer wanted ends at once, not at the path's end).
    void ForEachSegmentUntil(const std::function<void(const PathSegment&)>& visit,
                             const std::atomic<bool>& stop) const;
    // The segments near something, nearest groups first: bound gives the least distance
    // a box's points can have (infinity: none is wanted); the groups of 32 items are read
    // in the order of their bounds for as long as a bound is no more than what visit last
    // returned (the distance still wanted: the best found so far). Of segments as near as
    // the best, only a later one in the path can replace it: a group before the one that
    // gave the best, and no nearer, is not read.
    void ForEachSegmentNearest(const std::function<double(const PathBox&)>& bound,
                               const std::function<double(const PathSegment&)>& visit) const;
    // Makes the index of where each group begins (which the first pick otherwise makes) for
    // at most `chunks` more of the chunks that no longer grow; true when all of them have
    // it. A caller with idle time spends it here so that no pick waits for the index.
    bool PrepareForPicking(std::size_t chunks) const;

  private:
    struct Chunk;
    // Where a walk over a chunk's items stands: before item `item`, at byte `at` of the
    // block, and what the next items are read against.
    struct Cursor {
        uint32_t at = 0;
        uint32_t item = 0;
        int64_t last[3] = {0, 0, 0};
        int64_t centreLast[3] = {0, 0, 0};
        uint32_t color = 0;
        bool clipped = false;
        std::size_t drill = 0;
        std::size_t motion = 0;  // motions begun before
        Point3 pen;
    };
    // A Cursor at the start of a group in 40 bytes: the counts and the byte taken from the
    // chunk's, thousandths in 32 bits, the pen where the thousandths or the last drill put
    // it, or kept apart (an arc's end). A cursor that does not fit so is kept whole.
    struct GroupStart {
        int32_t last[3];
        int32_t centreLast[3];
        uint32_t color;
        uint32_t kept;    // the index in keptPens_ or wholeStarts_
        uint16_t at;      // bytes from the chunk's begin
        uint16_t motion;  // motions begun in the chunk before the group
        uint16_t drill;   // drills of the chunk before the group
        bool clipped;
        uint8_t pen;  // a GroupPen
    };
    enum GroupPen : uint8_t { kPenAtLast, kPenAtHole, kPenKept, kWholeCursor };
    struct GroupBox {
        float low[3] = {INFINITY, INFINITY, INFINITY};
        float high[3] = {-INFINITY, -INFINITY, -INFINITY};
    };
    class Writer;
    template <class Visitor>
    void Walk(const Chunk& chunk, Visitor& visitor) const;
    template <class Visitor>
    void Walk(const Chunk& chunk, Cursor& cursor, Visitor& visitor, uint32_t until) const;
    Cursor StartOf(const Chunk& chunk) const;
    // Keeps the cursor at the start of group g of chunk c (the next one of the index);
    // GroupCursor gives it back, group counted from the first chunk's.
    void KeepGroupStart(std::size_t c, std::size_t g, const Cursor& cursor) const;
    Cursor GroupCursor(std::size_t group) const;
    void ReplayBackwards(PathViews& views, const BoxFilter& filter) const;
    // The cursors at the start of each group of the chunks before the last (which still
    // grows), made on the first walk that needs them.
    void UpdateGroupStarts() const;
    // The chunk of a new item: the last one while it has room for the item (its group's
    // index in itemGroup_), else a new one.
    Chunk& ChunkForItem();
    Chunk& NewChunkForItem();
    uint32_t FindFile(std::string_view path);
    void StartMotionIfPending(uint8_t& tag);
    void NoteColor(uint32_t color);
    void NoteClipped(bool clipped);
    // A pen move to from, unless the pen is there already (bit for bit).
    void MoveUnlessAt(const Point3& from);
    void AppendLine(const Point3& point, uint32_t color, bool clipped);
    void WritePoint(uint8_t tag, const Point3& p);
    // Widens the box of the group of the item just begun.
    void NoteGroup(const Point3& low, const Point3& high);
    // Stores the box of the group written so far and begins the next one.
    void BeginGroup(std::size_t group);
    // A group's box, the one still being written included.
    PathBox BoxOfGroup(std::size_t group) const;
    // Reads the source of the next motion from byte at of the source stream.
    void NextSource(std::size_t& at, MotionSource& source) const;

    std::vector<Chunk> chunks_;
    std::vector<std::unique_ptr<uint8_t[]>> blocks_;
    std::size_t blockUsed_ = 0;  // bytes written into the last block
    BlockStore<DrillRecipe, 10> drills_;
    BlockStore<uint8_t, 16> sources_;  // per motion: offset step, file when it changes
    BlockStore<GroupBox, 10> groups_;  // kChunkGroups a chunk, from chunk * kChunkGroups
    mutable BlockStore<GroupStart, 10> groupStarts_;  // the same, for chunks [0, startsMade_)
    mutable BlockStore<Point3, 10> keptPens_;
    mutable BlockStore<Cursor, 8> wholeStarts_;
    // Stored after the cursors it counts: a redraw on another thread that reads it and
    // finds every chunk counted reads the cursors safely (none is made while it runs).
    mutable std::atomic<std::size_t> startsMade_{0};
    std::vector<std::string> files_;
    PathBox bounds_;

    // Writing state.
    // What a point's steps are taken from: each axis's last thousandths, and the bits of
    // the value they stand for (0: +0.0).
    struct StepBase {
        int64_t n[3] = {0, 0, 0};
        uint64_t bits[3] = {0, 0, 0};
    };
    StepBase last_;        // for the next point
    StepBase centreLast_;  // the same for arc centres
    Point3 pen_;
    bool penKnown_ = false;
    static constexpr std::size_t kNoGroup = SIZE_MAX;
    std::size_t notedGroup_ = kNoGroup;  // the group NoteGroup widened last
    std::size_t itemGroup_ = 0;          // the group of the item ChunkForItem began last
    // Its box so far, kept apart until the next group begins (see BoxOfGroup).
    Point3 groupLow_;
    Point3 groupHigh_;
    bool groupUnordered_ = false;      // a value was NaN: the box is whole
    std::size_t penGroup_ = kNoGroup;  // the group whose box holds pen_ (when known)
    uint32_t color_ = 0;
    bool colorKnown_ = false;
    bool clipped_ = false;
    bool clippedKnown_ = false;
    bool penLines_ = false;  // a line was appended that starts wherever the pen stands
    MotionSource pendingSource_;
    bool motionPending_ = false;
    MotionSource lastSource_;
    std::size_t count_ = 0;
    std::size_t motions_ = 0;
    bool storing_ = true;
};

}  // namespace cuttrace
