#include "surfaces/BackwardsLayer.h"

#include <algorithm>
#include <bit>
#include <utility>

namespace cuttrace {

namespace {

// The bits of columns x0..x1 of every row of a tile.
uint64_t Columns(int64_t x0, int64_t x1) {
    const uint64_t row = (0xFFu >> (7 - (x1 - x0))) << x0;
    return row * 0x0101010101010101u;
}

// The bits of rows y0..y1 of a tile.
uint64_t Rows(int64_t y0, int64_t y1) {
    const uint64_t below = y1 == 7 ? ~uint64_t{0} : (uint64_t{1} << (8 * (y1 + 1))) - 1;
    return below & ~((uint64_t{1} << (8 * y0)) - 1);
}

}  // namespace

BackwardsLayer::BackwardsLayer(int width, int height) {
    Init(std::max(width, 0), std::max(height, 0), true);
}

BackwardsLayer::BackwardsLayer(const PixelBuffer& target) {
    const bool onto = LaysOnto(target);
    Init(std::max(target.width, 0), std::max(target.height, 0), !onto);
    if (onto) buffer_ = target;
}

void BackwardsLayer::Retarget(const PixelBuffer& target) {
    if (LaysOnto(target) && target.width == buffer_.width && target.height == buffer_.height) {
        buffer_.bits = target.bits;
        std::vector<uint32_t>().swap(bits_);
        return;
    }
    if (!bits_.empty() || buffer_.width == 0 || buffer_.height == 0) return;
    bits_.assign(static_cast<std::size_t>(buffer_.width) * static_cast<std::size_t>(buffer_.height),
                 0u);
    buffer_.bits = bits_.data();
}

void BackwardsLayer::Init(int width, int height, bool ownPixels) {
    const std::size_t pixels = static_cast<std::size_t>(width) * static_cast<std::size_t>(height);
    if (ownPixels) bits_.assign(pixels, 0u);
    taken_.assign((pixels + 63) / 64, 0u);
    buffer_ = {bits_.data(), width, width, height};
    tilesAcross_ = (width + kTile - 1) >> kTileShift;
    const int tilesDown = (height + kTile - 1) >> kTileShift;
    reached_.resize(static_cast<std::size_t>(tilesAcross_) * static_cast<std::size_t>(tilesDown));
    wordsAcross_ = (tilesAcross_ + 63) / 64;
    static constexpr int8_t kHalf[5] = {-1, -1, 0, 1, 1};  // as PlotShort
    for (int dy = -2; dy <= 2; ++dy) {
        for (int dx = -2; dx <= 2; ++dx) {
            shortEnd_[ShortSteps(dx, dy)] = dy * width + dx;
            shortHalf_[ShortSteps(dx, dy)] = kHalf[dy + 2] * width + kHalf[dx + 2];
        }
    }
    full_.assign(static_cast<std::size_t>(wordsAcross_) * static_cast<std::size_t>(tilesDown), 0);
    for (int ty = 0; ty < tilesDown; ++ty) {
        for (int tx = 0; tx < tilesAcross_; ++tx) {
            const int w = std::min(kTile, width - (tx << kTileShift));
            const int h = std::min(kTile, height - (ty << kTileShift));
            reached_[static_cast<std::size_t>(ty) * static_cast<std::size_t>(tilesAcross_) +
                     static_cast<std::size_t>(tx)] = ~(Columns(0, w - 1) & Rows(0, h - 1));
        }
    }
}

void BackwardsLayer::Counted(std::size_t at) {
    taken_[at >> 6] |= uint64_t{1} << (at & 63);
    // The rows lie back to back, and a layer holds fewer than 2^32 pixels.
    const uint32_t width = static_cast<uint32_t>(buffer_.width);
    const uint32_t y = static_cast<uint32_t>(at) / width;
    const uint32_t x = static_cast<uint32_t>(at) - y * width;
    const std::size_t ty = y >> kTileShift;
    const std::size_t tx = x >> kTileShift;
    uint64_t& tile = reached_[ty * static_cast<std::size_t>(tilesAcross_) + tx];
    tile |= uint64_t{1} << (((y & (kTile - 1)) << kTileShift) | (x & (kTile - 1)));
    if (tile == ~uint64_t{0}) {
        full_[ty * static_cast<std::size_t>(wordsAcross_) + (tx >> 6)] |= uint64_t{1} << (tx & 63);
    }
}

inline bool BackwardsLayer::Full(int64_t ty, int64_t a, int64_t b) const {
    const uint64_t* words = full_.data() + ty * wordsAcross_;
    const int64_t first = a >> 6;
    const int64_t last = b >> 6;
    const uint64_t head = ~uint64_t{0} << (a & 63);         // tiles a.. of the first word
    const uint64_t tail = ~uint64_t{0} >> (63 - (b & 63));  // tiles ..b of the last
    if (first == last) return (words[first] & head & tail) == (head & tail);
    if ((words[first] & head) != head || (words[last] & tail) != tail) return false;
    for (int64_t w = first + 1; w < last; ++w) {
        if (words[w] != ~uint64_t{0}) return false;
    }
    return true;
}

void BackwardsLayer::LayInside(PixelPoint a, PixelPoint b, uint32_t rgb) {
    // The pixels RasterInside lights, each by its index (the rows lie back to back).
    uint32_t* const pixels = buffer_.bits;
    const uint64_t* const taken = taken_.data();
    StepInside(a.x, a.y, b.x, b.y, buffer_.width, [&](ptrdiff_t at) {
        if (TakenAt(taken, at)) return;
        pixels[at] = rgb;
        Counted(static_cast<std::size_t>(at));
    });
}

void BackwardsLayer::Lay(const Line& line) {
    const uint32_t rgb = line.rgb;
    const auto plot = [this, rgb](uint32_t* px) {
        const ptrdiff_t at = px - buffer_.bits;
        if (TakenAt(taken_.data(), at)) return;
        *px = rgb;
        Counted(static_cast<std::size_t>(at));
    };
    const PixelPoint a = line.from;
    const PixelPoint b = line.to;
    if (Inside(a) && Inside(b)) {
        if (IsShortLine(a.x, a.y, b.x, b.y)) {
            PlotShort(buffer_, a.x, a.y, b.x, b.y, plot);
        } else {
            LayInside(a, b, rgb);
        }
        return;
    }
    RasterLine(buffer_, a.x, a.y, b.x, b.y, false, plot);
}

std::size_t BackwardsLayer::KeepRun(PixelPoint& from, const PixelPoint* points, std::size_t count,
                                    uint32_t endX, uint32_t endY, uint32_t rgb) {
    // Locals, so that the kept lines' stores need not be followed by loads of the fields.
    const uint64_t* const taken = taken_.data();
    const ptrdiff_t width = buffer_.width;
    const ptrdiff_t* const end = shortEnd_;
    const ptrdiff_t* const half = shortHalf_;
    PixelPoint a = from;
    // The start's pixel is known to be reached: it ends a short line left out.
    bool startReached = false;
    std::size_t i = 0;
    for (; i < count; ++i) {
        const PixelPoint b = points[i];
        // Most points of a dense path fall on the pixel before (which lies inside).
        if (std::bit_cast<uint64_t>(b) == std::bit_cast<uint64_t>(a)) continue;
        if (static_cast<uint32_t>(b.x) >= endX || static_cast<uint32_t>(b.y) >= endY) break;
        const int dx = b.x - a.x;
        const int dy = b.y - a.y;
        if (IsShortLine(a.x, a.y, b.x, b.y)) {
            // As Keep: a short line all of whose pixels are reached adds nothing.
            const ptrdiff_t start = a.y * width + a.x;
            const int steps = ShortSteps(dx, dy);
            if (TakenAt(taken, start + end[steps]) && TakenAt(taken, start + half[steps]) &&
                (startReached || TakenAt(taken, start))) {
                a = b;
                startReached = true;
                continue;
            }
        }
        kept_.push_back({a, b, rgb});
        a = b;
        startReached = false;
    }
    from = a;
    return i;
}

void BackwardsLayer::LayKept() {
    for (auto line = kept_.rbegin(); line != kept_.rend(); ++line)
        Lay(*line);
    kept_.clear();
}

bool BackwardsLayer::Reached(int64_t left, int64_t top, int64_t right, int64_t bottom) const {
    left = std::max<int64_t>(left, 0);
    top = std::max<int64_t>(top, 0);
    right = std::min<int64_t>(right, buffer_.width - 1);
    bottom = std::min<int64_t>(bottom, buffer_.height - 1);
    if (left > right || top > bottom) return true;  // no pixel on the layer
    const int64_t tx0 = left >> kTileShift;
    const int64_t tx1 = right >> kTileShift;
    const int64_t ty0 = top >> kTileShift;
    const int64_t ty1 = bottom >> kTileShift;
    // The columns wanted of the tiles at the ends (one tile: both ends in it).
    const uint64_t firstColumns =
        Columns(left & (kTile - 1), tx0 == tx1 ? right & (kTile - 1) : kTile - 1);
    const uint64_t lastColumns = Columns(0, right & (kTile - 1));
    for (int64_t ty = ty0; ty <= ty1; ++ty) {
        const uint64_t rows =
            Rows(ty == ty0 ? top & (kTile - 1) : 0, ty == ty1 ? bottom & (kTile - 1) : kTile - 1);
        const uint64_t* tiles = reached_.data() + ty * tilesAcross_;
        const uint64_t first = rows & firstColumns;
        if ((tiles[tx0] & first) != first) return false;
        if (tx1 == tx0) continue;
        const uint64_t last = rows & lastColumns;
        if ((tiles[tx1] & last) != last) return false;
        // The tiles between: their full bits, else (for some of a tile's rows) the tiles.
        if (tx1 - tx0 > 1 && !Full(ty, tx0 + 1, tx1 - 1)) {
            if (rows == ~uint64_t{0}) return false;
            for (int64_t tx = tx0 + 1; tx < tx1; ++tx) {
                if ((tiles[tx] & rows) != rows) return false;
            }
        }
    }
    return true;
}

void BackwardsLayer::PutOnto(const PixelBuffer& target) const {
    if (target.bits == nullptr || target.bits == buffer_.bits || target.width != buffer_.width ||
        target.height != buffer_.height) {
        return;
    }
    for (int y = 0; y < buffer_.height; ++y) {
        const uint32_t* from = buffer_.bits + static_cast<ptrdiff_t>(y) * buffer_.stride;
        uint32_t* to = target.bits + static_cast<ptrdiff_t>(y) * target.stride;
        for (int x = 0; x < buffer_.width; ++x) {
            if (from[x] != 0) to[x] = from[x];
        }
    }
}

}  // namespace cuttrace
