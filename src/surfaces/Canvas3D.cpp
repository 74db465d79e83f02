#include "surfaces/Canvas3D.h"

#include <QPainter>
#include <QPolygon>

#include <algorithm>
#include <cstring>
#include <utility>

#include "surfaces/LineRaster.h"

namespace cuttrace {

namespace {

QImage WhiteImage(int width, int height) {
    QImage image(width > 0 ? width : 0, height > 0 ? height : 0, QImage::Format_RGB32);
    image.fill(Qt::white);
    return image;
}

QPolygon ToPolygon(const PixelPoint* points, int count) {
    QPolygon polygon(count);
    for (int i = 0; i < count; ++i)
        polygon.setPoint(i, points[i].x, points[i].y);
    return polygon;
}

}  // namespace

Canvas3D::Canvas3D(int width, int height) : image_(WhiteImage(width, height)) {
    Refresh();
}

Canvas3D::~Canvas3D() = default;

Canvas3D::Canvas3D(Canvas3D&& other) noexcept
    : image_(std::move(other.image_)),
      penColor_(other.penColor_),
      penRgb_(other.penRgb_),
      brushColor_(other.brushColor_),
      penPos_(other.penPos_) {
    Refresh();
    other.Refresh();
}

Canvas3D& Canvas3D::operator=(Canvas3D&& other) noexcept {
    if (this == &other) return *this;
    image_ = std::move(other.image_);
    penColor_ = other.penColor_;
    penRgb_ = other.penRgb_;
    brushColor_ = other.brushColor_;
    penPos_ = other.penPos_;
    Refresh();
    other.Refresh();
    return *this;
}

void Canvas3D::Refresh() {
    PixelsChanged();
    pixels_ = PixelBuffer{};
    if (!image_.isNull()) {
        pixels_.bits = reinterpret_cast<uint32_t*>(image_.bits());  // makes the pixels our own
        pixels_.stride = image_.bytesPerLine() / static_cast<ptrdiff_t>(sizeof(uint32_t));
        pixels_.width = image_.width();
        pixels_.height = image_.height();
    }
    // Lines laid backwards go on the image's new pixels (or, with another size, nowhere).
    if (backwards_) backwards_->Retarget(pixels_);
}

void Canvas3D::Resize(int width, int height) {
    if (width == image_.width() && height == image_.height()) return;
    QImage resized = WhiteImage(width, height);
    if (!resized.isNull() && !image_.isNull()) {
        QPainter painter(&resized);
        painter.drawImage(0, 0, image_);
    }
    image_ = resized;
    Refresh();
}

void Canvas3D::LongerLine(PixelPoint from, PixelPoint to) {
    const QRgb rgb = penRgb_;
    penPixelSet_ = Contains(to);  // a line lights its end whenever that lies inside
    if (Contains(from) && penPixelSet_) {
        RasterInside(pixels_, from.x, from.y, to.x, to.y, rgb);
        return;
    }
    RasterLine(pixels_, from.x, from.y, to.x, to.y, false, [rgb](uint32_t* px) { *px = rgb; });
}

std::size_t Canvas3D::SegmentsFromPen(const PixelPoint* points, std::size_t count, uint32_t limitX,
                                      uint32_t limitY) {
    if (!penPixelSet_) return 0;
    // Locals, so that the pixel stores need not be followed by loads of the fields.
    const PixelBuffer buf = pixels_;
    const QRgb rgb = penRgb_;
    const uint32_t endX = std::min(limitX, static_cast<uint32_t>(buf.width));
    const uint32_t endY = std::min(limitY, static_cast<uint32_t>(buf.height));
    // Drawing backwards, each line as Segment keeps it (and the pen's pixel stays set: every
    // point lies inside).
    if (backwards_) return backwards_->KeepRun(penPos_, points, count, endX, endY, rgb);
    PixelPoint from = penPos_;
    std::size_t i = 0;
    for (; i < count; ++i) {
        const PixelPoint to = points[i];
        if (static_cast<uint32_t>(to.x) >= endX || static_cast<uint32_t>(to.y) >= endY) break;
        // As Segment: a line that stays on the pen's pixel changes nothing; the start pixel
        // has the pen color already.
        if (to.x == from.x && to.y == from.y) continue;
        if (IsShortLine(from.x, from.y, to.x, to.y)) {
            RasterShort(buf, from.x, from.y, to.x, to.y, rgb, false);
        } else {
            RasterInside(buf, from.x, from.y, to.x, to.y, rgb);
        }
        from = to;
    }
    penPos_ = from;
    return i;
}

void Canvas3D::Polyline(const PixelPoint* points, int count) {
    if (count <= 0) return;
    const PixelBuffer& buf = pixels_;
    const QRgb rgb = penRgb_;
    auto plot = [rgb](uint32_t* px) { *px = rgb; };
    if (count == 1) {
        RasterLine(buf, points[0].x, points[0].y, points[0].x, points[0].y, false, plot);
        return;
    }
    for (int i = 1; i < count; ++i) {
        RasterLine(buf, points[i - 1].x, points[i - 1].y, points[i].x, points[i].y, false, plot);
    }
}

template <class Draw>
void Canvas3D::PaintWith(Draw draw) {
    if (image_.isNull()) return;
    {
        QPainter painter(&image_);
        draw(painter);
    }
    Refresh();  // painting may have given the image pixels of its own
}

void Canvas3D::Polygon(const PixelPoint* points, int count) {
    if (count <= 0) return;
    PaintWith([&](QPainter& painter) {
        painter.setPen(QColor(penRgb_));
        painter.setBrush(QColor(QRgbFromBgr(brushColor_)));
        painter.drawPolygon(ToPolygon(points, count));
    });
}

void Canvas3D::Ellipse(int left, int top, int right, int bottom) {
    if (right < left) std::swap(left, right);
    if (bottom < top) std::swap(top, bottom);
    if (right == left || bottom == top) return;
    PaintWith([&](QPainter& painter) {
        if (right - left < 3 || bottom - top < 3) {  // too small for a curve: the pen's box
            painter.fillRect(QRect(QPoint(left, top), QPoint(right - 1, bottom - 1)),
                             QColor(penRgb_));
            return;
        }
        painter.setPen(QColor(penRgb_));
        painter.setBrush(QColor(QRgbFromBgr(brushColor_)));
        // The box's right and bottom edges are outside the figure; the outline is drawn on
        // the pixels just inside them.
        painter.drawEllipse(QRect(QPoint(left, top), QPoint(right - 2, bottom - 2)));
    });
}

void Canvas3D::Fill(uint32_t color) {
    PixelsChanged();
    const QRgb rgb = QRgbFromBgr(color);
    for (int y = 0; y < pixels_.height; ++y) {
        uint32_t* row = pixels_.bits + y * pixels_.stride;
        std::fill(row, row + pixels_.width, rgb);
    }
}

void Canvas3D::DrawImage(PixelPoint p, const QImage& picture) {
    if (picture.isNull()) return;
    PaintWith([&](QPainter& painter) { painter.drawImage(p.x, p.y, picture); });
}

void Canvas3D::DrawRescaled(const QImage& picture, double factor, double dx, double dy) {
    if (image_.isNull()) return;
    const QImage old = picture.copy();  // the picture may share the canvas's pixels
    PaintWith([&](QPainter& painter) {
        painter.fillRect(image_.rect(), Qt::white);
        painter.setRenderHint(QPainter::SmoothPixmapTransform, false);
        painter.translate(dx, dy);
        painter.scale(factor, factor);
        painter.drawImage(0, 0, old);
    });
    PixelsChanged();
}

void Canvas3D::NotXorPolyline(const PixelPoint* points, int count) {
    PixelsChanged();
    const PixelBuffer& buf = pixels_;
    const QRgb rgb = penRgb_;
    auto plot = [rgb](uint32_t* px) { *px = ~(rgb ^ *px) | 0xFF000000u; };
    for (int i = 1; i < count; ++i) {
        RasterLine(buf, points[i - 1].x, points[i - 1].y, points[i].x, points[i].y, true, plot);
    }
}

void Canvas3D::CopyFrom(const Canvas3D& other) {
    image_ = other.image_.copy();
    Refresh();
    CopyPenFrom(other);
}

void Canvas3D::CopyPenFrom(const Canvas3D& other) {
    penColor_ = other.penColor_;
    penRgb_ = other.penRgb_;
    brushColor_ = other.brushColor_;
    penPos_ = other.penPos_;
    penPixelSet_ = false;
}

void Canvas3D::CopyImageFrom(const Canvas3D& other) {
    PixelsChanged();
    const PixelBuffer& src = other.pixels_;
    if (pixels_.bits == nullptr || src.bits == nullptr) return;
    if (src.width == pixels_.width && src.height == pixels_.height) {
        for (int y = 0; y < pixels_.height; ++y) {
            std::memcpy(pixels_.bits + y * pixels_.stride, src.bits + y * src.stride,
                        static_cast<size_t>(pixels_.width) * sizeof(uint32_t));
        }
        return;
    }
    const QImage& image = other.image_;
    PaintWith([&](QPainter& painter) {
        painter.drawImage(QRect(0, 0, image_.width(), image_.height()), image);
    });
}

void Canvas3D::KeepLine(PixelPoint from, PixelPoint to) {
    backwards_->Keep(from, to, penRgb_);
    // The line will light its end in the pen color (or a later line will): a line that
    // stays there adds nothing.
    penPixelSet_ = Contains(to);
}

void Canvas3D::BeginBackwards() {
    backwards_ = std::make_unique<BackwardsLayer>(pixels_);
    startPen_ = penPos_;
    endPenKnown_ = false;
    penPixelSet_ = false;
}

void Canvas3D::LayKept() {
    if (!backwards_) return;
    if (!endPenKnown_) {
        endPenKnown_ = true;
        endPen_ = penPos_;
        endColor_ = penColor_;
    }
    backwards_->LayKept();
    PixelsChanged();  // each chunk starts without the pen's pixel known
}

bool Canvas3D::Reached(int64_t left, int64_t top, int64_t right, int64_t bottom) const {
    return backwards_ && backwards_->Reached(left, top, right, bottom);
}

void Canvas3D::EndBackwards() {
    if (!backwards_) return;
    backwards_->PutOnto(pixels_);
    backwards_.reset();
    PixelsChanged();
    if (endPenKnown_) {
        SetPenColor(endColor_);
        MoveTo(endPen_);
    }
}

}  // namespace cuttrace
