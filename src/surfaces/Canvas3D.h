// One drawing target of the 3D surface: an RGB32 image with the pen, brush and pen position
// that a paint-box canvas keeps between calls.
//
// One-pixel lines (pen moves, lines, polylines and the not-xor rubber band) are rasterised
// straight into the image's pixels: every pixel of a line is where the whole line puts it,
// also when most of the line lies far outside the image. Filled figures go through QPainter.
//
// Image() is the canvas's own image, not a snapshot: a copy made of it may follow later
// drawing; take copy() to keep a picture.
#pragma once

#include <QImage>
#include <QRgb>

#include <cstddef>
#include <cstdint>
#include <memory>

#include "surfaces/BackwardsLayer.h"
#include "surfaces/LineRaster.h"
#include "surfaces/Projection3D.h"

namespace cuttrace {

class Canvas3D {
  public:
    // Colors are 0x00BBGGRR, red in the lowest byte.
    static constexpr uint32_t kBlack = 0x000000;
    static constexpr uint32_t kWhite = 0xFFFFFF;
    static QRgb QRgbFromBgr(uint32_t color) {
        return qRgb(static_cast<int>(color & 0xFF), static_cast<int>((color >> 8) & 0xFF),
                    static_cast<int>((color >> 16) & 0xFF));
    }
    static uint32_t BgrFromQRgb(QRgb rgb) {
        return static_cast<uint32_t>(qRed(rgb)) | (static_cast<uint32_t>(qGreen(rgb)) << 8) |
               (static_cast<uint32_t>(qBlue(rgb)) << 16);
    }

    // A white image of the given size; pen black, brush white, pen at (0, 0).
    Canvas3D(int width, int height);
    ~Canvas3D();
    Canvas3D(const Canvas3D&) = delete;
    Canvas3D& operator=(const Canvas3D&) = delete;
    Canvas3D(Canvas3D&& other) noexcept;
    Canvas3D& operator=(Canvas3D&& other) noexcept;

    int Width() const { return image_.width(); }
    int Height() const { return image_.height(); }
    const QImage& Image() const { return image_; }
    // A new size; what fits of the old content stays at the top left, the rest is white.
    void Resize(int width, int height);

    uint32_t PenColor() const { return penColor_; }
    void SetPenColor(uint32_t color) {
        penColor_ = color;
        const QRgb rgb = QRgbFromBgr(color);
        penPixelSet_ = penPixelSet_ && rgb == penRgb_;
        penRgb_ = rgb;
    }
    uint32_t BrushColor() const { return brushColor_; }
    void SetBrushColor(uint32_t color) { brushColor_ = color; }
    PixelPoint PenPos() const { return penPos_; }

    void MoveTo(PixelPoint p) {
        penPixelSet_ = penPixelSet_ && p == penPos_;
        penPos_ = p;
    }
    // A line from the pen position to p, both ends drawn; the pen ends at p.
    void LineTo(PixelPoint p) {
        const PixelPoint from = penPos_;
        // A line that stays on the pen's pixel, which has the pen color already: nothing
        // changes (many points of a dense path fall on the pixel of the one before).
        if (penPixelSet_ && p == from) return;
        penPos_ = p;
        if (backwards_) [[unlikely]] {
            KeepLine(from, p);
            return;
        }
        if (Contains(from) && Contains(p) && IsShortLine(from.x, from.y, p.x, p.y)) {
            RasterShort(pixels_, from.x, from.y, p.x, p.y, penRgb_, !penPixelSet_);
            penPixelSet_ = true;
        } else {
            LongerLine(from, p);
        }
    }
    // MoveTo(from), then LineTo(to), with both ends kept in registers.
    void Segment(PixelPoint from, PixelPoint to) {
        // The fields one by one: the pen position was just stored that way, and a wider
        // load of it would wait for the stores.
        penPixelSet_ = penPixelSet_ && from.x == penPos_.x && from.y == penPos_.y;
        penPos_ = to;
        if (penPixelSet_ && to.x == from.x && to.y == from.y) return;
        if (backwards_) [[unlikely]] {
            KeepLine(from, to);
            return;
        }
        if (Contains(from) && Contains(to) && IsShortLine(from.x, from.y, to.x, to.y)) {
            RasterShort(pixels_, from.x, from.y, to.x, to.y, penRgb_, !penPixelSet_);
            penPixelSet_ = true;
        } else {
            LongerLine(from, to);
        }
    }
    // Lines from the pen position through the points in turn, each as Segment(pen, point)
    // draws it, for as long as the points lie in [0, limitX) x [0, limitY) and inside the
    // image; returns how many were drawn (0 unless the pen's pixel has the pen color; while
    // drawing backwards, kept as Segment keeps them). The pen ends on the last point drawn. A
    // path's next points mostly lie a pixel or two on: the pen stays in registers meanwhile.
    std::size_t SegmentsFromPen(const PixelPoint* points, std::size_t count, uint32_t limitX,
                                uint32_t limitY);
    // An open polyline through count points; the pen position is left alone.
    void Polyline(const PixelPoint* points, int count);
    // A closed polygon outlined with the pen and filled with the brush.
    void Polygon(const PixelPoint* points, int count);
    // The ellipse in the box (left, top)-(right, bottom), right and bottom excluded, outlined
    // with the pen and filled with the brush.
    void Ellipse(int left, int top, int right, int bottom);
    // The whole image in one color; pen and brush keep theirs.
    void Fill(uint32_t color);
    // The picture with its top-left corner at p, opaque.
    void DrawImage(PixelPoint p, const QImage& picture);
    // The picture scaled by factor about the pixel origin and moved by (dx, dy) (a pixel p
    // goes to factor * p + (dx, dy)) in place of the canvas's; what it leaves uncovered
    // turns white.
    void DrawRescaled(const QImage& picture, double factor, double dx, double dy);
    // A polyline in not-xor mode with the pen color: each segment leaves out its last pixel,
    // so drawing the same outline twice restores the image.
    void NotXorPolyline(const PixelPoint* points, int count);
    // Copies the other canvas's image over this one, stretched if the sizes differ.
    void CopyImageFrom(const Canvas3D& other);
    // Becomes a copy of the other canvas: its own pixels, pen, brush and pen position.
    void CopyFrom(const Canvas3D& other);
    // Takes the other canvas's pen, brush and pen position.
    void CopyPenFrom(const Canvas3D& other);

    // Backwards drawing of a path (see BackwardsLayer), chunk after chunk from its end: from
    // BeginBackwards on, pen lines are kept instead of drawn (other drawing goes on the image
    // at once); LayKept lays those of a chunk on the image under the ones laid before (over
    // what was there); EndBackwards leaves the pen as the first chunk laid left it (where
    // the path ends), or where it stood at the beginning when none was laid.
    void BeginBackwards();
    bool Backwards() const { return backwards_ != nullptr; }
    void LayKept();
    // While drawing backwards: whether every pixel of the rectangle (edges included) that
    // lies on the image is reached by the lines laid so far.
    bool Reached(int64_t left, int64_t top, int64_t right, int64_t bottom) const;
    // The pen goes back to where it stood at BeginBackwards.
    void ReturnPen() { MoveTo(startPen_); }
    void EndBackwards();

  private:
    bool Contains(PixelPoint p) const {
        return static_cast<uint32_t>(p.x) < static_cast<uint32_t>(pixels_.width) &&
               static_cast<uint32_t>(p.y) < static_cast<uint32_t>(pixels_.height);
    }
    // A pen line of more than two steps or with an end outside the image: its visible pixels.
    void LongerLine(PixelPoint from, PixelPoint to);
    // A pen line kept while drawing backwards.
    void KeepLine(PixelPoint from, PixelPoint to);
    // After anything that may have changed the pixels.
    void PixelsChanged() { penPixelSet_ = false; }
    // Points the cached pixel buffer at the image's pixels; after every operation that may
    // have given the image new pixels.
    void Refresh();
    // Runs draw with a painter on the image, then refreshes the pixel buffer.
    template <class Draw>
    void PaintWith(Draw draw);

    QImage image_;
    PixelBuffer pixels_;
    uint32_t penColor_ = kBlack;
    QRgb penRgb_ = QRgbFromBgr(kBlack);
    uint32_t brushColor_ = kWhite;
    PixelPoint penPos_;
    // The pixel at the pen position has the pen color: the last line ended there inside
    // the image, and nothing has changed the pixels, the pen color or its position since.
    // A path's next line then need not set its start again.
    bool penPixelSet_ = false;
    // Backwards drawing: the lines laid, the pen it began with, and the pen the first chunk
    // laid left.
    std::unique_ptr<BackwardsLayer> backwards_;
    PixelPoint startPen_;
    bool endPenKnown_ = false;
    PixelPoint endPen_;
    uint32_t endColor_ = kBlack;
};

}  // namespace cuttrace
