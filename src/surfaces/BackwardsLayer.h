// Lines drawn last first: each pixel takes the color of the first line laid on it and keeps
// it. A path laid this way, chunk after chunk from its end, leaves every pixel in the color
// of the last line of the path that reaches it, as drawing the path forwards does; and a
// part of the path none of whose pixels is still free need not be drawn at all.
//
// The lines of a chunk are kept in the order they are drawn, then laid last first. A pixel
// that no line reached is free (zero: every color laid has its alpha byte set).
#pragma once

#include <cstdint>
#include <vector>

#include "surfaces/LineRaster.h"
#include "surfaces/Projection3D.h"

namespace cuttrace {

class BackwardsLayer {
  public:
    // An empty layer of the given size (every pixel free, no line kept).
    BackwardsLayer(int width, int height);
    // An empty layer of the target's size that lays its lines straight onto the target's
    // pixels (over what is there), when its rows lie back to back; else on pixels of its
    // own, for PutOnto.
    explicit BackwardsLayer(const PixelBuffer& target);
    // The pixels the layer lays onto from now on: those of a target of its size that took
    // over the old target's pixels; for any other, its own (which PutOnto then leaves out).
    void Retarget(const PixelBuffer& target);

    // A line from `from` to `to`, both ends lit, in rgb (alpha set), kept for LayKept
    // unless it is short and its pixels are all reached already (most lines of a dense
    // path are).
    void Keep(PixelPoint from, PixelPoint to, uint32_t rgb) {
        if (Inside(from) && Inside(to) && IsShortLine(from.x, from.y, to.x, to.y)) {
            const ptrdiff_t start = from.y * static_cast<ptrdiff_t>(buffer_.width) + from.x;
            const int steps = ShortSteps(to.x - from.x, to.y - from.y);
            const uint64_t* const taken = taken_.data();
            if (TakenAt(taken, start) && TakenAt(taken, start + shortEnd_[steps]) &&
                TakenAt(taken, start + shortHalf_[steps])) {
                return;
            }
        }
        kept_.push_back({from, to, rgb});
    }
    // Keep for lines from `from` through the points in turn, for as long as the points lie
    // in [0, endX) x [0, endY) (within the layer); a point on the pixel before it adds no
    // line. Returns how many points were taken; from ends on the last of them.
    std::size_t KeepRun(PixelPoint& from, const PixelPoint* points, std::size_t count,
                        uint32_t endX, uint32_t endY, uint32_t rgb);
    // Lays the lines kept so far, the last kept first, and forgets them.
    void LayKept();
    // Whether no pixel of the rectangle (edges included) that lies on the layer is free.
    bool Reached(int64_t left, int64_t top, int64_t right, int64_t bottom) const;
    // The pixels reached, onto a target of the layer's size (nothing to do for the target
    // the layer lays onto).
    void PutOnto(const PixelBuffer& target) const;

  private:
    static constexpr int kTileShift = 3;  // tiles of 8 x 8 pixels, a bit each
    static constexpr int kTile = 1 << kTileShift;

    struct Line {
        PixelPoint from;
        PixelPoint to;
        uint32_t rgb;
    };
    void Lay(const Line& line);
    bool Inside(PixelPoint p) const {
        return static_cast<uint32_t>(p.x) < static_cast<uint32_t>(buffer_.width) &&
               static_cast<uint32_t>(p.y) < static_cast<uint32_t>(buffer_.height);
    }
    // After the free pixel at this index took a color.
    void Counted(std::size_t at);
    // Lay for a line longer than a short one with both ends on the layer.
    void LayInside(PixelPoint a, PixelPoint b, uint32_t rgb);
    // Whether the pixel at this index has a color: its bit (row by row, as the pixels lie)
    // is set. The bits are read rather than the pixels, which lie in 32 times as much
    // memory. (The bits come as a pointer, so that a loop can keep it in a register.)
    static bool TakenAt(const uint64_t* taken, ptrdiff_t at) {
        return (taken[at >> 6] >> (at & 63)) & 1u;
    }
    // A short line's steps (-2..2 each way) as an index of shortEnd_ and shortHalf_.
    static int ShortSteps(int dx, int dy) { return (dy + 2) * 5 + dx + 2; }

    void Init(int width, int height, bool ownPixels);
    // Lays onto target: whether its rows lie back to back (the layer's pixels and its
    // taken bits then lie in the same order).
    static bool LaysOnto(const PixelBuffer& target) {
        return target.bits != nullptr && target.stride == target.width && target.width > 0 &&
               target.height > 0;
    }

    std::vector<uint32_t> bits_;  // its own pixels, when it does not lay onto a target's
    PixelBuffer buffer_;
    int tilesAcross_ = 0;
    // Per tile, a bit for each of its pixels (row by row), set once the pixel is reached or
    // when it lies off the layer.
    std::vector<uint64_t> reached_;
    // Per row of tiles, a bit for each tile all of whose pixels are reached.
    int wordsAcross_ = 0;
    std::vector<uint64_t> full_;
    // A bit for each pixel, in the order of the pixels: set once it has a color.
    std::vector<uint64_t> taken_;
    // Whether tiles a..b of row ty are all full.
    bool Full(int64_t ty, int64_t a, int64_t b) const;
    std::vector<Line> kept_;
    // A short line's end and the pixel half way (see PlotShort) from its start, by its steps
    // ((dy + 2) * 5 + dx + 2).
    ptrdiff_t shortEnd_[25] = {};
    ptrdiff_t shortHalf_[25] = {};
};

}  // namespace cuttrace
