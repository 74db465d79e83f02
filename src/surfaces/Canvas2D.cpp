#include "surfaces/Canvas2D.h"

#include <QFontMetrics>
#include <QImage>
#include <QPainter>
#include <QPen>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include "drawing/Geometry.h"

namespace cuttrace {

namespace {

constexpr int kSixteenths = 16;  // the painter's arc angles are in 1/16 degree
constexpr double kFullTurn = 360.0;

double RayAngle(const QRectF& box, QPoint through) {
    const QPointF c = box.center();
    const double dx = through.x() - c.x();
    const double dy = c.y() - through.y();
    if (dx == 0.0 && dy == 0.0) return 0.0;
    return std::atan2(dy, dx) * kDegreesPerRadian;
}

// The box between two corners given in either order.
QRectF Box(QPoint a, QPoint b) {
    return QRectF(QPointF(a), QPointF(b)).normalized();
}

}  // namespace

QColor ColorFromBgr(std::uint32_t color) {
    return QColor(static_cast<int>(color & 0xFFu), static_cast<int>((color >> 8) & 0xFFu),
                  static_cast<int>((color >> 16) & 0xFFu));
}

Canvas2D::Canvas2D() : penColor_(Qt::black), brushColor_(Qt::white), fontColor_(Qt::black) {}

void Canvas2D::SetImage(QImage* image) {
    image_ = image;
    painter_ = nullptr;
}

void Canvas2D::SetPainter(QPainter* painter) {
    painter_ = painter;
    image_ = nullptr;
}

QPaintDevice* Canvas2D::Device() const {
    if (painter_ != nullptr) return painter_->device();
    return image_;
}

void Canvas2D::Paint(const std::function<void(QPainter&)>& draw) {
    if (painter_ != nullptr) {
        if (!painter_->isActive()) return;
        painter_->save();
        painter_->setRenderHint(QPainter::Antialiasing, false);
        draw(*painter_);
        painter_->restore();
        return;
    }
    if (image_ == nullptr || image_->isNull()) return;
    QPainter painter(image_);
    draw(painter);
}

void Canvas2D::ApplyPen(QPainter& painter) const {
    QPen pen(penColor_);
    pen.setWidth(1);
    pen.setCosmetic(true);
    // Flat ends leave out the last pixel of a line, so that the segments of a polyline
    // meet without painting a pixel twice (which matters in not-xor mode).
    pen.setCapStyle(Qt::FlatCap);
    pen.setJoinStyle(Qt::MiterJoin);
    painter.setPen(pen);
    if (brushSolid_) {
        painter.setBrush(brushColor_);
    } else {
        painter.setBrush(Qt::NoBrush);
    }
    painter.setCompositionMode(mode_ == PenMode::NotXor ? QPainter::RasterOp_NotSourceXorDestination
                                                        : QPainter::CompositionMode_SourceOver);
}

void Canvas2D::LineTo(QPoint p) {
    const QPoint from = penPos_;
    Paint([&](QPainter& painter) {
        ApplyPen(painter);
        painter.drawLine(from, p);
    });
    penPos_ = p;
}

void Canvas2D::Polyline(const QPoint* points, int count) {
    if (points == nullptr || count < 2) return;
    Paint([&](QPainter& painter) {
        ApplyPen(painter);
        painter.drawPolyline(points, count);
    });
}

void Canvas2D::Ellipse(QPoint topLeft, QPoint bottomRight) {
    const QRectF box = Box(topLeft, bottomRight);
    if (box.isEmpty()) return;
    Paint([&](QPainter& painter) {
        ApplyPen(painter);
        painter.drawEllipse(box);
    });
}

void Canvas2D::Arc(QPoint topLeft, QPoint bottomRight, QPoint start, QPoint end) {
    const QRectF box = Box(topLeft, bottomRight);
    if (box.isEmpty()) return;
    const double from = RayAngle(box, start);
    double span = RayAngle(box, end) - from;
    while (span <= 0.0)
        span += kFullTurn;
    Paint([&](QPainter& painter) {
        ApplyPen(painter);
        painter.setBrush(Qt::NoBrush);
        painter.drawArc(box, static_cast<int>(std::lround(from * kSixteenths)),
                        static_cast<int>(std::lround(span * kSixteenths)));
    });
}

void Canvas2D::SetPixel(QPoint p, const QColor& c) {
    Paint([&](QPainter& painter) {
        painter.setCompositionMode(QPainter::CompositionMode_SourceOver);
        painter.fillRect(QRect(p, QSize(1, 1)), c);
    });
}

void Canvas2D::DrawText(QPoint p, const QString& text, double degrees) {
    if (text.isEmpty()) return;
    Paint([&](QPainter& painter) {
        painter.setCompositionMode(QPainter::CompositionMode_SourceOver);
        painter.setFont(font_);
        painter.translate(p);
        if (degrees != 0.0) painter.rotate(-degrees);
        const QFontMetrics metrics(font_, painter.device());
        if (brushSolid_) {
            painter.fillRect(QRect(0, 0, metrics.horizontalAdvance(text), metrics.height()),
                             brushColor_);
        }
        painter.setPen(fontColor_);
        painter.drawText(QPoint(0, metrics.ascent()), text);
    });
}

int Canvas2D::TextWidth(const QString& text) const {
    QPaintDevice* device = Device();
    const QFontMetrics metrics =
        device != nullptr ? QFontMetrics(font_, device) : QFontMetrics(font_);
    return metrics.horizontalAdvance(text);
}

QFont Canvas2D::FontOfHeight(const QString& face, int height, const QPaintDevice* device) {
    QFont font(face);
    if (height == 0) return font;
    const int pixels = std::abs(height);
    font.setPixelSize(pixels);
    if (height > 0) {
        const QFontMetrics metrics =
            device != nullptr ? QFontMetrics(font, device) : QFontMetrics(font);
        if (metrics.height() > pixels) {
            const double scaled = static_cast<double>(pixels) * pixels / metrics.height();
            font.setPixelSize(std::max(1, static_cast<int>(std::lround(scaled))));
        }
    }
    return font;
}

}  // namespace cuttrace
