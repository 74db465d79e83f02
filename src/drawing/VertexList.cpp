#include "drawing/VertexList.h"

#include "drawing/ArcPath.h"

#include <algorithm>
#include <bit>
#include <cmath>
#include <cstring>

namespace cuttrace {

namespace {

constexpr std::size_t kBlockBytes = std::size_t{1} << 16;
// Room for the largest item (an arc with raw values) and the color and kind before it.
constexpr std::size_t kItemRoom = 80;

// Item tags. A byte below 0x80 is the header of a line point; 0x40 in either marks the first
// item of a motion.
constexpr uint8_t kTagBit = 0x80;
constexpr uint8_t kMotionBit = 0x40;
constexpr uint8_t kKindMask = 0x3F;
enum : uint8_t { kMove = 1, kArc = 2, kDrill = 3, kMark = 4, kColor = 5, kClipped = 6 };

// Axis codes of a point header (two bits an axis, x lowest): no change, an 8-bit step, a
// 16-bit step, or long (a varint step, or the raw double when the long-form byte says so).
enum : uint8_t { kSame = 0, kByte = 1, kShort = 2, kLong = 3 };

// Values beyond this are not taken as thousandths (their thousandths need not fit).
constexpr double kThousandthsLimit = 9e12;

// A value that is exactly n thousandths, read back as n / 1000.0.
bool Thousandths(double v, int64_t& n) {
    if (!(v > -kThousandthsLimit && v < kThousandthsLimit)) return false;
    n = std::llround(v * 1000.0);
    return std::bit_cast<uint64_t>(static_cast<double>(n) / 1000.0) == std::bit_cast<uint64_t>(v);
}

uint64_t ZigZag(int64_t v) {
    return (static_cast<uint64_t>(v) << 1) ^ static_cast<uint64_t>(v >> 63);
}
int64_t UnZigZag(uint64_t v) {
    return static_cast<int64_t>(v >> 1) ^ -static_cast<int64_t>(v & 1);
}

void PutVarint(uint8_t*& w, uint64_t v) {
    while (v >= 0x80) {
        *w++ = static_cast<uint8_t>(v | 0x80);
        v >>= 7;
    }
    *w++ = static_cast<uint8_t>(v);
}
uint64_t GetVarint(const uint8_t*& r) {
    uint64_t v = 0;
    for (int shift = 0;; shift += 7) {
        const uint8_t b = *r++;
        v |= static_cast<uint64_t>(b & 0x7F) << shift;
        if (b < 0x80 || shift >= 63) return v;
    }
}

template <class T>
void PutRaw(uint8_t*& w, T value) {
    std::memcpy(w, &value, sizeof value);
    w += sizeof value;
}
template <class T>
T GetRaw(const uint8_t*& r) {
    T value;
    std::memcpy(&value, r, sizeof value);
    r += sizeof value;
    return value;
}

double Axis(const Point3& p, int axis) {
    return axis == 0 ? p.x : axis == 1 ? p.y : p.z;
}

// Writes a point's header (high bits from `high`) and its values against last.
void EncodePoint(uint8_t*& w, uint8_t high, const Point3& p, int64_t (&last)[3]) {
    uint8_t* header = w++;
    uint8_t codes = 0;
    uint8_t rawMask = 0;
    int64_t steps[3] = {0, 0, 0};
    for (int a = 0; a < 3; ++a) {
        int64_t n = 0;
        uint8_t code = kLong;
        if (Thousandths(Axis(p, a), n)) {
            const int64_t step = n - last[a];
            last[a] = n;
            steps[a] = step;
            code = step == 0                        ? kSame
                   : step >= -128 && step < 128     ? kByte
                   : step >= -32768 && step < 32768 ? kShort
                                                    : kLong;
        } else {
            rawMask = static_cast<uint8_t>(rawMask | (1 << a));
        }
        codes = static_cast<uint8_t>(codes | (code << (2 * a)));
    }
    *header = static_cast<uint8_t>(high | codes);
    const bool anyLong = (codes & 0x15) & (codes >> 1);  // an axis with both bits set
    if (anyLong) *w++ = rawMask;
    for (int a = 0; a < 3; ++a) {
        switch ((codes >> (2 * a)) & 3) {
            case kByte:
                PutRaw(w, static_cast<int8_t>(steps[a]));
                break;
            case kShort:
                PutRaw(w, static_cast<int16_t>(steps[a]));
                break;
            case kLong:
                if (rawMask & (1 << a)) {
                    PutRaw(w, Axis(p, a));
                } else {
                    PutVarint(w, ZigZag(steps[a]));
                }
                break;
            default:
                break;
        }
    }
}

Point3 DecodePoint(const uint8_t*& r, uint8_t header, int64_t (&last)[3]) {
    const uint8_t codes = header & kKindMask;
    const bool anyLong = (codes & 0x15) & (codes >> 1);
    const uint8_t rawMask = anyLong ? *r++ : 0;
    double v[3];
    for (int a = 0; a < 3; ++a) {
        const uint8_t code = (codes >> (2 * a)) & 3;
        if (code == kLong && (rawMask & (1 << a))) {
            v[a] = GetRaw<double>(r);
            continue;
        }
        switch (code) {
            case kByte:
                last[a] += GetRaw<int8_t>(r);
                break;
            case kShort:
                last[a] += GetRaw<int16_t>(r);
                break;
            case kLong:
                last[a] += UnZigZag(GetVarint(r));
                break;
            default:
                break;
        }
        v[a] = static_cast<double>(last[a]) / 1000.0;
    }
    return {v[0], v[1], v[2]};
}

// The six arc kinds as one byte.
constexpr MotionKind kArcKinds[] = {KindArcCwXY,  KindArcCcwXY, KindArcCwZX,
                                    KindArcCcwZX, KindArcCwYZ,  KindArcCcwYZ};
uint8_t ArcKindCode(MotionKind kind) {
    for (uint8_t i = 0; i < 6; ++i) {
        if (kArcKinds[i] == kind) return i;
    }
    return 0;
}
MotionKind ArcKindOf(uint8_t code) {
    return kArcKinds[code < 6 ? code : 0];
}

// A float at most (Down) or at least (Up) the double.
float Down(double v) {
    const auto f = static_cast<float>(v);
    return static_cast<double>(f) > v ? std::nextafter(f, -INFINITY) : f;
}
float Up(double v) {
    const auto f = static_cast<float>(v);
    return static_cast<double>(f) < v ? std::nextafter(f, INFINITY) : f;
}

template <class T, std::size_t Shift>
std::size_t StoreBytes(const BlockStore<T, Shift>& store) {
    const std::size_t block = BlockStore<T, Shift>::kBlockSize;
    return (store.Size() + block - 1) / block * block * sizeof(T);
}

}  // namespace

void PathBox::Add(const Point3& p) {
    AddBox(p, p);
}

void PathBox::AddBox(const Point3& lo, const Point3& hi) {
    if (Empty()) {
        low = lo;
        high = hi;
        return;
    }
    low = {std::min(low.x, lo.x), std::min(low.y, lo.y), std::min(low.z, lo.z)};
    high = {std::max(high.x, hi.x), std::max(high.y, hi.y), std::max(high.z, hi.z)};
}

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

VertexList::VertexList() = default;
VertexList::~VertexList() = default;

uint32_t VertexList::FileIndex(std::string_view path) {
    for (std::size_t i = files_.size(); i-- > 0;) {
        if (files_[i] == path) return static_cast<uint32_t>(i);
    }
    files_.emplace_back(path);
    return static_cast<uint32_t>(files_.size() - 1);
}

VertexList::Chunk& VertexList::ChunkForItem() {
    const bool full = chunks_.empty() || chunks_.back().items >= kChunkItems;
    const bool room = !blocks_.empty() && kBlockBytes - blockUsed_ >= kItemRoom;
    if (!full && room) {
        ++chunks_.back().items;
        return chunks_.back();
    }
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
    // Each chunk reads on its own: differences and color start afresh.
    last_[0] = last_[1] = last_[2] = 0;
    centreLast_[0] = centreLast_[1] = centreLast_[2] = 0;
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

void VertexList::NoteGroup(const Point3& lo, const Point3& hi) {
    const std::size_t group =
        (chunks_.size() - 1) * kChunkGroups + (chunks_.back().items - 1) / kGroupItems;
    while (groups_.Size() <= group)
        groups_.Append(GroupBox{});
    GroupBox& box = groups_[group];
    const double low[3] = {lo.x, lo.y, lo.z};
    const double high[3] = {hi.x, hi.y, hi.z};
    for (int a = 0; a < 3; ++a) {
        // NaN stays out of a float comparison: the box is made whole instead.
        box.low[a] = std::isnan(low[a]) ? -INFINITY : std::min(box.low[a], Down(low[a]));
        box.high[a] = std::isnan(high[a]) ? INFINITY : std::max(box.high[a], Up(high[a]));
    }
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
    if (penKnown_) NoteGroup(pen_, pen_);  // the line starts there
    pen_ = point;
    penKnown_ = true;
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
    Point3 low;
    Point3 high;
    polygon.Bounds(low, high);
    chunk.box.AddBox(low, high);
    bounds_.AddBox(low, high);
    NoteGroup(low, high);
    NoteGroup(from, from);
    pen_ = polygon.Last();
    penKnown_ = true;
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
    const double r = std::fabs(drill.cutter);
    PathBox box;
    box.Add(drill.start);
    box.Add(drill.hole);
    box.AddBox({drill.hole.x - r, drill.hole.y - r, std::min(drill.retract, drill.bottom)},
               {drill.hole.x + r, drill.hole.y + r, std::max(drill.retract, drill.bottom)});
    chunk.box.AddBox(box.low, box.high);
    bounds_.AddBox(box.low, box.high);
    NoteGroup(box.low, box.high);
    pen_ = drill.hole;
    penKnown_ = true;
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
    const double r = std::fabs(cutter);
    const Point3 low{centre.x - r, centre.y - r, centre.z};
    const Point3 high{centre.x + r, centre.y + r, centre.z};
    chunk.box.AddBox(low, high);
    bounds_.AddBox(low, high);
    NoteGroup(low, high);
    pen_ = centre;
    penKnown_ = true;
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
    startsMade_ = 0;
    bounds_ = PathBox{};
    penKnown_ = false;
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
           StoreBytes(groups_) + StoreBytes(groupStarts_) + files;
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
    // The cursor is left before an item (and after the color and kind notes before it).
    struct Keep {
        Cursor& cursor;
        const uint8_t* base;
        const uint8_t*& r;
        ~Keep() { cursor.at = static_cast<uint32_t>(r - base); }
    } keep{cursor, base, r};
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
                const ArcPolygon polygon = ArcPolygon::Quick(ArcPath::Make(pen, record));
                pen = polygon.Last();
                if (!visitor.Arc(polygon, color, starts)) return;
                break;
            }
            case kDrill: {
                const DrillRecipe& recipe = drills_[drill++];
                pen = recipe.hole;
                if (!visitor.Drill(recipe, color, starts)) return;
                break;
            }
            case kMark: {
                const uint8_t header = *r++;
                const Point3 centre = DecodePoint(r, header, last);
                const double cutter = GetRaw<double>(r);
                pen = centre;
                if (!visitor.Mark(centre, cutter, color, starts)) return;
                break;
            }
            default:
                return;  // not written
        }
    }
}

namespace {

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
            views_.DrawMoveTo(p);
        }
        pen = p;
        return !pastOnly;
    }
    bool Arc(const ArcPolygon& polygon, uint32_t color, bool starts) {
        if (Begin(starts)) {
            // The points join the batch of lines: an arc after lines of its color goes on
            // in the same run.
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
        pen = polygon.Last();
        return !pastOnly;
    }
    bool Drill(const DrillRecipe& drill, uint32_t color, bool starts) {
        if (Begin(starts)) {
            Flush();
            views_.SetColor(Color(color));
            DrawQuickDrill(views_, drill);
        }
        pen = drill.hole;
        return !pastOnly;
    }
    bool Mark(const Point3& centre, double cutter, uint32_t color, bool starts) {
        if (Begin(starts)) {
            Flush();
            views_.SetColor(Color(color));
            DrawToolMark(views_, centre, cutter);
        }
        pen = centre;
        return !pastOnly;
    }
    void Flush() {
        if (count_ == 0) return;
        views_.SetColor(batchColor_);
        if (batchClipped_) {
            views_.DrawLinesFrom(batchFrom_, batch_, count_);
        } else {
            views_.DrawLinesTo(batch_, count_);
        }
        count_ = 0;
    }

  private:
    // Prepares the batch for one more line of this color and kind.
    void Add(uint32_t color, bool clipped) {
        if (count_ == batchLimit ||
            (count_ > 0 && (color != batchColor_ || clipped != batchClipped_))) {
            Flush();
        }
        if (count_ == 0) batchFrom_ = pen;
        batchColor_ = color;
        batchClipped_ = clipped;
    }

    PathViews& views_;
    Point3 batch_[kBatch];
    std::size_t count_ = 0;
    uint32_t batchColor_ = 0;
    bool batchClipped_ = false;
    Point3 batchFrom_;  // where the batch's first line starts
    bool drawing_ = false;
};

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
    bool Arc(const ArcPolygon& polygon, uint32_t color, bool starts) {
        Next();
        if (!segments.active) return PassOver(polygon.Last(), starts);
        const bool more = inner.Arc(polygon, color, starts);
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
    bool Arc(const ArcPolygon&, uint32_t, bool) { return true; }
    bool Drill(const DrillRecipe&, uint32_t, bool) { return true; }
    bool Mark(const Point3&, double, uint32_t, bool) { return true; }
};

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

void VertexList::UpdateGroupStarts() const {
    const std::size_t complete = chunks_.empty() ? 0 : chunks_.size() - 1;
    SkipVisitor skip;
    for (; startsMade_ < complete; ++startsMade_) {
        const Chunk& chunk = chunks_[startsMade_];
        Cursor cursor = StartOf(chunk);
        for (std::size_t g = 0; g < kChunkGroups; ++g) {
            groupStarts_.Append(cursor);
            Walk(chunk, cursor, skip, static_cast<uint32_t>((g + 1) * kGroupItems));
        }
    }
}

void VertexList::ForEachSegment(const std::function<void(const PathSegment&)>& visit,
                                const BoxFilter& filter) const {
    SegmentViews segments(visit);
    ReplayVisitor visitor(segments);
    visitor.batchLimit = 1;  // each line is handed over before the next item is read
    segments.motion = &visitor.motion;
    if (filter) UpdateGroupStarts();
    for (std::size_t c = 0; c < chunks_.size(); ++c) {
        const Chunk& chunk = chunks_[c];
        if (filter && !filter(chunk.box)) continue;
        if (!filter) {
            visitor.Flush();
            visitor.motion = chunk.motionsBefore;
            if (chunk.penKnown) segments.DrawMoveTo(chunk.pen);
            Walk(chunk, visitor);
            continue;
        }
        // Only the groups of items whose box the filter accepts are read.
        uint32_t mask = 0;
        for (std::size_t g = 0; g < kChunkGroups; ++g) {
            const std::size_t at = c * kChunkGroups + g;
            if (at >= groups_.Size()) break;
            const GroupBox& group = groups_[at];
            if (!(group.low[0] <= group.high[0])) continue;
            PathBox box;
            box.AddBox({group.low[0], group.low[1], group.low[2]},
                       {group.high[0], group.high[1], group.high[2]});
            if (filter(box)) mask |= 1u << g;
        }
        if (mask == 0) continue;
        if (c >= startsMade_) {
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
            Cursor cursor = groupStarts_[c * kChunkGroups + g];
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
            const GroupBox& group = groups_[at];
            if (!(group.low[0] <= group.high[0])) continue;
            PathBox box;
            box.AddBox({group.low[0], group.low[1], group.low[2]},
                       {group.high[0], group.high[1], group.high[2]});
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
        if (c >= startsMade_) {
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
        Cursor cursor = groupStarts_[candidate.group];
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
