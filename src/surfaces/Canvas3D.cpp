#include "surfaces/Canvas3D.h"

#include <QPainter>
#include <QPolygon>

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

PixelBuffer BufferOf(QImage& image) {
    PixelBuffer buf;
    if (image.isNull()) return buf;
    buf.bits = reinterpret_cast<uint32_t*>(image.bits());
    buf.stride = image.bytesPerLine() / static_cast<ptrdiff_t>(sizeof(uint32_t));
    buf.width = image.width();
    buf.height = image.height();
    return buf;
}

QPolygon ToPolygon(const PixelPoint* points, int count) {
    QPolygon polygon(count);
    for (int i = 0; i < count; ++i)
        polygon.setPoint(i, points[i].x, points[i].y);
    return polygon;
}

}  // namespace

Canvas3D::Canvas3D(int width, int height) : image_(WhiteImage(width, height)) {}

void Canvas3D::Resize(int width, int height) {
    if (width == image_.width() && height == image_.height()) return;
    QImage resized = WhiteImage(width, height);
    if (!resized.isNull() && !image_.isNull()) {
        QPainter painter(&resized);
        painter.drawImage(0, 0, image_);
    }
    image_ = resized;
}

void Canvas3D::LineTo(PixelPoint p) {
    const PixelBuffer buf = BufferOf(image_);
    const QRgb rgb = penRgb_;
    RasterLine(buf, penPos_.x, penPos_.y, p.x, p.y, false, [rgb](uint32_t* px) { *px = rgb; });
    penPos_ = p;
}

void Canvas3D::Polyline(const PixelPoint* points, int count) {
    if (count <= 0) return;
    const PixelBuffer buf = BufferOf(image_);
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

void Canvas3D::Polygon(const PixelPoint* points, int count) {
    if (count <= 0 || image_.isNull()) return;
    QPainter painter(&image_);
    painter.setPen(QColor(penRgb_));
    painter.setBrush(QColor(ToRgb(brushColour_)));
    painter.drawPolygon(ToPolygon(points, count));
}

void Canvas3D::Ellipse(int left, int top, int right, int bottom) {
    if (image_.isNull()) return;
    if (right < left) std::swap(left, right);
    if (bottom < top) std::swap(top, bottom);
    if (right == left || bottom == top) return;
    QPainter painter(&image_);
    if (right - left < 3 || bottom - top < 3) {  // too small for a curve: the pen's box
        painter.fillRect(QRect(QPoint(left, top), QPoint(right - 1, bottom - 1)), QColor(penRgb_));
        return;
    }
    painter.setPen(QColor(penRgb_));
    painter.setBrush(QColor(ToRgb(brushColour_)));
    // The box's right and bottom edges are outside the figure; the outline is drawn on the
    // pixels just inside them.
    painter.drawEllipse(QRect(QPoint(left, top), QPoint(right - 2, bottom - 2)));
}

void Canvas3D::Fill(uint32_t colour) {
    image_.fill(QColor(ToRgb(colour)));
}

void Canvas3D::DrawImage(PixelPoint p, const QImage& picture) {
    if (image_.isNull() || picture.isNull()) return;
    QPainter painter(&image_);
    painter.drawImage(p.x, p.y, picture);
}

void Canvas3D::NotXorPolyline(const PixelPoint* points, int count) {
    const PixelBuffer buf = BufferOf(image_);
    const QRgb rgb = penRgb_;
    auto plot = [rgb](uint32_t* px) { *px = ~(rgb ^ *px) | 0xFF000000u; };
    for (int i = 1; i < count; ++i) {
        RasterLine(buf, points[i - 1].x, points[i - 1].y, points[i].x, points[i].y, true, plot);
    }
}

void Canvas3D::CopyImageFrom(const Canvas3D& other) {
    const QImage& src = other.image_;
    if (image_.isNull() || src.isNull()) return;
    if (src.size() == image_.size() && src.format() == image_.format()) {
        const int rowBytes = image_.width() * static_cast<int>(sizeof(uint32_t));
        for (int y = 0; y < image_.height(); ++y) {
            std::memcpy(image_.scanLine(y), src.constScanLine(y), static_cast<size_t>(rowBytes));
        }
        return;
    }
    QPainter painter(&image_);
    painter.drawImage(QRect(0, 0, image_.width(), image_.height()), src);
}

}  // namespace cuttrace
