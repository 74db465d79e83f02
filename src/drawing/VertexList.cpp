#include "drawing/VertexList.h"

#include <algorithm>
#include <bit>
#include <cmath>
#include <cstring>

#include "drawing/VertexListParts.h"

namespace cuttrace {

namespace {

template <class T, std::size_t Shift>
std::size_t StoreBytes(const BlockStore<T, Shift>& store) {
    const std::size_t block = BlockStore<T, Shift>::kBlockSize;
    return (store.Size() + block - 1) / block * block * sizeof(T);
}

}  // namespace

VertexList::VertexList() = default;
VertexList::~VertexList() = default;

uint32_t VertexList::FindFile(std::string_view path) {
    for (std::size_t i = files_.size(); i-- > 0;) {
        if (files_[i] == path) return static_cast<uint32_t>(i);
    }
    files_.emplace_back(path);
    return static_cast<uint32_t>(files_.size() - 1);
}

inline VertexList::Chunk& VertexList::ChunkForItem() {
    if (!chunks_.empty() && chunks_.back().items < kChunkItems && !blocks_.empty() &&
        kBlockBytes - blockUsed_ >= kItemRoom) [[likely]] {
        Chunk& chunk = chunks_.back();
        itemGroup_ = (chunks_.size() - 1) * kChunkGroups + chunk.items / kGroupItems;
        ++chunk.items;
        return chunk;
    }
    return NewChunkForItem();
}

VertexList::Chunk& VertexList::NewChunkForItem() {
    // The last chunk is full, or its block has no room for the item.
    const bool room = !blocks_.empty() && kBlockBytes - blockUsed_ >= kItemRoom;
    if (!room) {
        blocks_.push_back(std::make_unique_for_overwrite<uint8_t[]>(kBlockBytes));
        blockUsed_ = 0;
    }
    Chunk chunk;
    chunk.block = static_cast<uint32_t>(blocks_.size() - 1);
    chunk.begin = chunk.end = static_cast<uint32_t>(blockUsed_);
    chunk.items = 1;
    chunk.firstVertex = count_;
    chunk.motionsBefore = motions_;
    chunk.drillsBefore = drills_.Size();
    chunk.sourceByte = sources_.Size();
    chunk.sourceBefore = lastSource_;
    chunk.pen = pen_;
    chunk.penKnown = penKnown_;
    if (penKnown_) chunk.box.Add(pen_);
    chunks_.push_back(chunk);
    itemGroup_ = (chunks_.size() - 1) * kChunkGroups;
    // Each chunk reads on its own: differences and color start afresh.
    last_ = {};
    centreLast_ = {};
    colorKnown_ = false;
    clippedKnown_ = false;
    return chunks_.back();
}

void VertexList::StartMotionIfPending(uint8_t& tag) {
    if (!motionPending_) return;
    motionPending_ = false;
    tag = static_cast<uint8_t>(tag | kMotionBit);
    const MotionSource& s = pendingSource_;
    const bool fileChanged = s.file != lastSource_.file;
    uint64_t v = ZigZag(s.offset - lastSource_.offset) << 1 | (fileChanged ? 1u : 0u);
    do {
        sources_.Append(static_cast<uint8_t>(v >= 0x80 ? (v | 0x80) : v));
        v >>= 7;
    } while (v != 0);
    if (fileChanged) {
        uint64_t f = s.file;
        do {
            sources_.Append(static_cast<uint8_t>(f >= 0x80 ? (f | 0x80) : f));
            f >>= 7;
        } while (f != 0);
    }
    lastSource_ = s;
    ++motions_;
}

void VertexList::NoteColor(uint32_t color) {
    if (colorKnown_ && color == color_) return;
    uint8_t* w = blocks_.back().get() + blockUsed_;
    *w++ = kTagBit | kColor;
    PutRaw(w, color);
    blockUsed_ += 5;
    color_ = color;
    colorKnown_ = true;
}

void VertexList::NoteClipped(bool clipped) {
    if (clippedKnown_ && clipped == clipped_) return;
    uint8_t* w = blocks_.back().get() + blockUsed_;
    w[0] = kTagBit | kClipped;
    w[1] = clipped ? 1 : 0;
    blockUsed_ += 2;
    clipped_ = clipped;
    clippedKnown_ = true;
}

void VertexList::MoveUnlessAt(const Point3& from) {
    const auto bits = [](double v) { return std::bit_cast<uint64_t>(v); };
    if (penKnown_ && bits(pen_.x) == bits(from.x) && bits(pen_.y) == bits(from.y) &&
        bits(pen_.z) == bits(from.z)) {
        return;
    }
    AppendMove(from);
}

inline void VertexList::NoteGroup(const Point3& lo, const Point3& hi) {
    if (itemGroup_ != notedGroup_) BeginGroup(itemGroup_);
    // In doubles, without branches; a NaN is left out of min and max and noted instead.
    groupLow_ = {std::min(groupLow_.x, lo.x), std::min(groupLow_.y, lo.y),
                 std::min(groupLow_.z, lo.z)};
    groupHigh_ = {std::max(groupHigh_.x, hi.x), std::max(groupHigh_.y, hi.y),
                  std::max(groupHigh_.z, hi.z)};
    groupUnordered_ = groupUnordered_ | std::isnan(lo.x) | std::isnan(lo.y) | std::isnan(lo.z) |
                      std::isnan(hi.x) | std::isnan(hi.y) | std::isnan(hi.z);
}

void VertexList::BeginGroup(std::size_t group) {
    if (notedGroup_ != kNoGroup) {
        // The finished group's box goes into the store, rounded outwards to floats (made
        // whole when a value was NaN).
        GroupBox& box = groups_[notedGroup_];
        const double low[3] = {groupLow_.x, groupLow_.y, groupLow_.z};
        const double high[3] = {groupHigh_.x, groupHigh_.y, groupHigh_.z};
        for (int a = 0; a < 3; ++a) {
            box.low[a] = groupUnordered_ ? -INFINITY : std::min(box.low[a], Down(low[a]));
            box.high[a] = groupUnordered_ ? INFINITY : std::max(box.high[a], Up(high[a]));
        }
    }
    while (groups_.Size() <= group)
        groups_.Append(GroupBox{});
    notedGroup_ = group;
    groupLow_ = {INFINITY, INFINITY, INFINITY};
    groupHigh_ = {-INFINITY, -INFINITY, -INFINITY};
    groupUnordered_ = false;
}

PathBox VertexList::BoxOfGroup(std::size_t group) const {
    PathBox box = BoxOf(groups_[group]);
    if (group != notedGroup_) return box;
    // The group still being written keeps its box apart, in doubles.
    if (groupUnordered_) {
        box.AddBox({-INFINITY, -INFINITY, -INFINITY}, {INFINITY, INFINITY, INFINITY});
    } else if (groupLow_.x <= groupHigh_.x) {
        box.AddBox(groupLow_, groupHigh_);
    }
    return box;
}

void VertexList::Append(const Point3& point, uint32_t color) {
    AppendLine(point, color, false);
}

void VertexList::AppendSegment(const Point3& from, const Point3& to, uint32_t color) {
    MoveUnlessAt(from);
    AppendLine(to, color, true);
}

void VertexList::AppendLine(const Point3& point, uint32_t color, bool clipped) {
    if (!storing_) return;
    Chunk& chunk = ChunkForItem();
    NoteColor(color);
    NoteClipped(clipped);
    penLines_ = penLines_ || !clipped;
    uint8_t high = 0;
    StartMotionIfPending(high);
    uint8_t* start = blocks_.back().get() + blockUsed_;
    uint8_t* w = start;
    EncodePoint(w, high, point, last_);
    blockUsed_ += static_cast<std::size_t>(w - start);
    chunk.end = static_cast<uint32_t>(blockUsed_);
    chunk.box.Add(point);
    bounds_.Add(point);
    NoteGroup(point, point);
    // The line starts at the pen, which is in the box already when the point that put it
    // there was noted in this group.
    if (penKnown_ && penGroup_ != notedGroup_) NoteGroup(pen_, pen_);
    pen_ = point;
    penKnown_ = true;
    penGroup_ = notedGroup_;
    ++count_;
}

void VertexList::WritePoint(uint8_t tag, const Point3& p) {
    uint8_t* start = blocks_.back().get() + blockUsed_;
    uint8_t* w = start;
    *w++ = tag;
    EncodePoint(w, 0, p, last_);
    blockUsed_ += static_cast<std::size_t>(w - start);
}

void VertexList::AppendMove(const Point3& point) {
    if (!storing_) return;
    Chunk& chunk = ChunkForItem();
    uint8_t tag = kTagBit | kMove;
    StartMotionIfPending(tag);
    WritePoint(tag, point);
    chunk.end = static_cast<uint32_t>(blockUsed_);
    chunk.box.Add(point);
    NoteGroup(point, point);
    pen_ = point;
    penKnown_ = true;
    penGroup_ = notedGroup_;
}

void VertexList::AppendArc(const ArcPolygon& polygon, uint32_t color, const Point3& from,
                           const MotionRecord& record) {
    if (!storing_) return;
    MoveUnlessAt(from);
    Chunk& chunk = ChunkForItem();
    NoteColor(color);
    uint8_t tag = kTagBit | kArc;
    StartMotionIfPending(tag);
    uint8_t* start = blocks_.back().get() + blockUsed_;
    uint8_t* w = start;
    *w++ = tag;
    *w++ = ArcKindCode(record.kind);
    EncodePoint(w, 0, {record.x, record.y, record.z}, last_);
    EncodePoint(w, 0, {record.centreFirst, record.centreSecond, 0.0}, centreLast_);
    blockUsed_ += static_cast<std::size_t>(w - start);
    chunk.end = static_cast<uint32_t>(blockUsed_);
    // The chunk's and the group's boxes only need to hold every point (a redraw and a pick
    // leave out what lies outside them): the box found from the record, without angles.
    Point3 low;
    Point3 high;
    if (!QuickArcBox(from, record, low, high)) polygon.Bounds(low, high);
    chunk.box.AddBox(low, high);
    NoteGroup(low, high);
    NoteGroup(from, from);
    // The path's bounds (on which a sketch lays its grid) take Bounds' box, which needs the
    // arc's angles: found only when it could widen them.
    if (bounds_.Empty() || !polygon.BoundsWithin(bounds_.low, bounds_.high)) {
        polygon.Bounds(low, high);
        bounds_.AddBox(low, high);
    }
    pen_ = polygon.Last();
    penKnown_ = true;
    penGroup_ = kNoGroup;
    count_ += static_cast<std::size_t>(polygon.Count());
}

void VertexList::AppendDrill(const DrillRecipe& drill, uint32_t color) {
    if (!storing_) return;
    Chunk& chunk = ChunkForItem();
    NoteColor(color);
    uint8_t tag = kTagBit | kDrill;
    StartMotionIfPending(tag);
    blocks_.back()[blockUsed_++] = tag;
    chunk.end = static_cast<uint32_t>(blockUsed_);
    drills_.Append(drill);
    const PathBox box = DrillBox(drill);
    chunk.box.AddBox(box.low, box.high);
    bounds_.AddBox(box.low, box.high);
    NoteGroup(box.low, box.high);
    pen_ = drill.hole;
    penKnown_ = true;
    penGroup_ = kNoGroup;
}

void VertexList::AppendMark(const Point3& centre, double cutter, uint32_t color) {
    if (!storing_) return;
    Chunk& chunk = ChunkForItem();
    NoteColor(color);
    uint8_t tag = kTagBit | kMark;
    StartMotionIfPending(tag);
    WritePoint(tag, centre);
    uint8_t* w = blocks_.back().get() + blockUsed_;
    PutRaw(w, cutter);
    blockUsed_ += sizeof cutter;
    chunk.end = static_cast<uint32_t>(blockUsed_);
    const PathBox box = MarkBox(centre, cutter);
    chunk.box.AddBox(box.low, box.high);
    bounds_.AddBox(box.low, box.high);
    NoteGroup(box.low, box.high);
    pen_ = centre;
    penKnown_ = true;
    penGroup_ = kNoGroup;
}

void VertexList::Clear() {
    std::vector<Chunk>().swap(chunks_);
    std::vector<std::unique_ptr<uint8_t[]>>().swap(blocks_);
    std::vector<std::string>().swap(files_);
    blockUsed_ = 0;
    drills_.Clear();
    sources_.Clear();
    groups_.Clear();
    groupStarts_.Clear();
    keptPens_.Clear();
    wholeStarts_.Clear();
    startsMade_ = 0;
    bounds_ = PathBox{};
    penKnown_ = false;
    penGroup_ = notedGroup_ = kNoGroup;
    groupUnordered_ = false;
    penLines_ = false;
    colorKnown_ = false;
    motionPending_ = false;
    lastSource_ = MotionSource{};
    count_ = 0;
    motions_ = 0;
    storing_ = true;
}

std::size_t VertexList::Bytes() const {
    std::size_t files = 0;
    for (const std::string& f : files_)
        files += f.capacity();
    return blocks_.size() * kBlockBytes + chunks_.capacity() * sizeof(Chunk) +
           blocks_.capacity() * sizeof(blocks_[0]) + StoreBytes(drills_) + StoreBytes(sources_) +
           StoreBytes(groups_) + StoreBytes(groupStarts_) + StoreBytes(keptPens_) +
           StoreBytes(wholeStarts_) + files;
}

MotionSource VertexList::Source(std::size_t motion) const {
    if (motion >= motions_) return {};
    // The last chunk begun before the motion: its source stream position is before it.
    auto after =
        std::upper_bound(chunks_.begin(), chunks_.end(), motion,
                         [](std::size_t m, const Chunk& c) { return m < c.motionsBefore; });
    std::size_t at = 0;
    MotionSource source;
    std::size_t next = 0;
    if (after != chunks_.begin()) {
        const Chunk& c = *(after - 1);
        at = c.sourceByte;
        source = c.sourceBefore;
        next = c.motionsBefore;
    }
    for (; next <= motion; ++next)
        NextSource(at, source);
    return source;
}

void VertexList::NextSource(std::size_t& at, MotionSource& source) const {
    auto varint = [&] {
        uint64_t v = 0;
        for (int shift = 0;; shift += 7) {
            const uint8_t b = sources_[at++];
            v |= static_cast<uint64_t>(b & 0x7F) << shift;
            if (b < 0x80 || shift >= 63) return v;
        }
    };
    const uint64_t v = varint();
    source.offset += UnZigZag(v >> 1);
    if (v & 1) source.file = static_cast<uint32_t>(varint());
}

std::vector<std::size_t> VertexList::MotionsFrom(uint32_t file, int64_t begin, int64_t end,
                                                 std::size_t limit) const {
    std::vector<std::size_t> found;
    std::size_t at = 0;
    MotionSource source;
    for (std::size_t motion = 0; motion < motions_ && found.size() < limit; ++motion) {
        NextSource(at, source);
        if (source.file == file && source.offset >= begin && source.offset < end)
            found.push_back(motion);
    }
    return found;
}

VertexList::Cursor VertexList::StartOf(const Chunk& chunk) const {
    Cursor cursor;
    cursor.at = chunk.begin;
    cursor.drill = chunk.drillsBefore;
    cursor.motion = chunk.motionsBefore;
    cursor.pen = chunk.pen;
    return cursor;
}

}  // namespace cuttrace
