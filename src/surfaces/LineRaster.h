// One-pixel line rasterisation into a 32-bit pixel buffer.
//
// The line from (x0, y0) to (x1, y1) lights, for each step i = 0..n along its major axis
// (n = the larger of |dx| and |dy|), the pixel whose minor coordinate is the start's plus
// floor((2 i m + n) / (2 n)) steps, m being the smaller extent: the nearest pixel, ties going
// away from the start. Only the steps that land inside the buffer are visited, so a line with
// ends a billion pixels away costs no more than its visible part, and its visible pixels are
// exactly those of the whole line.
#pragma once

#include <cstddef>
#include <cstdint>

namespace cuttrace {

struct PixelBuffer {
    uint32_t* bits = nullptr;
    ptrdiff_t stride = 0;  // in pixels
    int width = 0;
    int height = 0;
};

// The steps of a line that land inside the buffer (see RasterLine), for a line that does
// not lie wholly inside: *first..*stop, with the minor steps taken and the error term at
// *first. False when no step lands inside. (Exact for any 32-bit ends: wide integers inside.)
bool VisibleSteps(const PixelBuffer& buf, bool xMajor, int64_t majorStart, int64_t minorStart,
                  int64_t majorSign, int64_t minorSign, int64_t n, int64_t m, int64_t* first,
                  int64_t* stop, int64_t* minorSteps, int64_t* error);

// True for a line of at most two steps (as most segments of a path are); for ends that lie
// inside a buffer.
inline bool IsShortLine(int x0, int y0, int x1, int y1) {
    return static_cast<unsigned>(x1 - x0 + 2) <= 4u && static_cast<unsigned>(y1 - y0 + 2) <= 4u;
}

// A short line (IsShortLine) with both ends inside the buffer, in one color: the two ends
// and the pixel half way, rounded away from the start (for a shorter line one of the ends).
// Without drawStart the start pixel is left as it is (the caller knows it has the color).
inline void RasterShort(const PixelBuffer& buf, int x0, int y0, int x1, int y1, uint32_t color,
                        bool drawStart = true) {
    const int dx = x1 - x0;
    const int dy = y1 - y0;
    const ptrdiff_t stride = buf.stride;
    uint32_t* const start = buf.bits + static_cast<ptrdiff_t>(y0) * stride + x0;
    if (drawStart) *start = color;
    // Half of -2..2 steps, rounded away from zero.
    static constexpr int8_t kHalf[5] = {-1, -1, 0, 1, 1};
    start[static_cast<ptrdiff_t>(kHalf[dy + 2]) * stride + kHalf[dx + 2]] = color;
    start[static_cast<ptrdiff_t>(dy) * stride + dx] = color;
}

// The pixels RasterShort lights (the start included), each handed to plot.
template <class Plot>
inline void PlotShort(const PixelBuffer& buf, int x0, int y0, int x1, int y1, Plot plot) {
    const int dx = x1 - x0;
    const int dy = y1 - y0;
    const ptrdiff_t stride = buf.stride;
    uint32_t* const start = buf.bits + static_cast<ptrdiff_t>(y0) * stride + x0;
    static constexpr int8_t kHalf[5] = {-1, -1, 0, 1, 1};
    plot(start);
    plot(start + static_cast<ptrdiff_t>(kHalf[dy + 2]) * stride + kHalf[dx + 2]);
    plot(start + static_cast<ptrdiff_t>(dy) * stride + dx);
}

// The pixels RasterLine lights from (x0, y0) to (x1, y1), both ends inside a buffer whose rows
// lie stride pixels apart: visit(index) for each, by its index from the buffer's first pixel.
template <class Visit>
inline void StepInside(int x0, int y0, int x1, int y1, ptrdiff_t stride, Visit visit) {
    int n = x1 - x0;  // steps along the major axis
    int m = y1 - y0;  // extent along the minor axis
    ptrdiff_t majorStep = 1;
    ptrdiff_t minorStep = stride;
    if (n < 0) {
        n = -n;
        majorStep = -1;
    }
    if (m < 0) {
        m = -m;
        minorStep = -minorStep;
    }
    if (m > n) {  // y major; equal extents step along x, as RasterLine does
        const int t = n;
        n = m;
        m = t;
        const ptrdiff_t s = majorStep;
        majorStep = minorStep;
        minorStep = s;
    }
    ptrdiff_t at = static_cast<ptrdiff_t>(y0) * stride + x0;
    visit(at);
    const int twoN = 2 * n;
    const int twoM = 2 * m;
    int error = n;
    const ptrdiff_t diagonalStep = majorStep + minorStep;
    for (int i = 0; i < n; ++i) {
        error += twoM;
        if (error >= twoN) {
            error -= twoN;
            at += diagonalStep;
        } else {
            at += majorStep;
        }
        visit(at);
    }
}

// The line from (x0, y0) to (x1, y1), both ends inside the buffer, in one color: the same
// pixels RasterLine lights, with the set-up of a short line kept to a few instructions.
inline void RasterInside(const PixelBuffer& buf, int x0, int y0, int x1, int y1, uint32_t color) {
    if (IsShortLine(x0, y0, x1, y1)) {
        RasterShort(buf, x0, y0, x1, y1, color);
        return;
    }
    uint32_t* const pixels = buf.bits;
    StepInside(x0, y0, x1, y1, buf.stride, [pixels, color](ptrdiff_t at) { pixels[at] = color; });
}

// Calls plot(pixel pointer) for every pixel of the line inside the buffer. With skipLast the
// end pixel (x1, y1) is left out. Coordinates must lie within +-2^31.
template <class Plot>
inline void RasterLine(const PixelBuffer& buf, int64_t x0, int64_t y0, int64_t x1, int64_t y1,
                       bool skipLast, Plot plot) {
    if (buf.bits == nullptr || buf.width <= 0 || buf.height <= 0) return;
    // Every pixel lies in the box of the two ends: nothing when that box misses the buffer.
    if ((x0 < 0 && x1 < 0) || (y0 < 0 && y1 < 0) || (x0 >= buf.width && x1 >= buf.width) ||
        (y0 >= buf.height && y1 >= buf.height)) {
        return;
    }
    const int64_t dx = x1 - x0;
    const int64_t dy = y1 - y0;
    const int64_t adx = dx < 0 ? -dx : dx;
    const int64_t ady = dy < 0 ? -dy : dy;
    const bool xMajor = adx >= ady;
    const int64_t n = xMajor ? adx : ady;  // steps along the major axis
    const int64_t m = xMajor ? ady : adx;  // extent along the minor axis
    const int64_t last = skipLast ? n - 1 : n;
    if (last < 0) return;
    const int64_t w = buf.width;
    const int64_t h = buf.height;
    if (n == 0) {  // a single pixel
        if (x0 >= 0 && x0 < w && y0 >= 0 && y0 < h) plot(buf.bits + y0 * buf.stride + x0);
        return;
    }
    const int64_t majorStart = xMajor ? x0 : y0;
    const int64_t minorStart = xMajor ? y0 : x0;
    const int64_t majorSign = (xMajor ? dx : dy) < 0 ? -1 : 1;
    const int64_t minorSign = (xMajor ? dy : dx) < 0 ? -1 : 1;
    int64_t first = 0;
    int64_t stop = last;
    int64_t minorSteps = 0;
    int64_t error = n;  // (2 i m + n) mod 2n at the first visited step
    const bool inside =
        x0 >= 0 && x0 < w && y0 >= 0 && y0 < h && x1 >= 0 && x1 < w && y1 >= 0 && y1 < h;
    if (!inside && !VisibleSteps(buf, xMajor, majorStart, minorStart, majorSign, minorSign, n, m,
                                 &first, &stop, &minorSteps, &error)) {
        return;
    }
    const int64_t major = majorStart + majorSign * first;
    const int64_t minor = minorStart + minorSign * minorSteps;
    const int64_t x = xMajor ? major : minor;
    const int64_t y = xMajor ? minor : major;
    uint32_t* p = buf.bits + y * buf.stride + x;
    const ptrdiff_t majorStep = xMajor ? majorSign : majorSign * buf.stride;
    const ptrdiff_t minorStep = xMajor ? minorSign * buf.stride : minorSign;
    const int64_t twoN = 2 * n;
    const int64_t twoM = 2 * m;
    for (int64_t i = first;; ++i) {
        plot(p);
        if (i == stop) break;
        p += majorStep;
        error += twoM;
        if (error >= twoN) {
            error -= twoN;
            p += minorStep;
        }
    }
}

}  // namespace cuttrace
