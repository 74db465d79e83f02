#include "pictures/VectorPicture.h"

#include <QColor>
#include <QPainter>
#include <QPen>
#include <algorithm>
#include <cmath>

namespace cuttrace {

namespace {

// Liang-Barsky: shortens a-b to the part inside [0, width] x [0, height]; false when no
// part of it is inside.
bool ClipToBox(QPointF* a, QPointF* b, double width, double height) {
    const double dx = b->x() - a->x();
    const double dy = b->y() - a->y();
    double enter = 0.0;
    double leave = 1.0;
    const double p[4] = {-dx, dx, -dy, dy};
    const double q[4] = {a->x(), width - a->x(), a->y(), height - a->y()};
    for (int i = 0; i < 4; ++i) {
        if (p[i] == 0.0) {
            if (q[i] < 0.0) return false;
            continue;
        }
        const double t = q[i] / p[i];
        if (p[i] < 0.0) {
            enter = std::max(enter, t);
        } else {
            leave = std::min(leave, t);
        }
        if (enter > leave) return false;
    }
    const QPointF from = *a;
    if (leave < 1.0) *b = QPointF(from.x() + leave * dx, from.y() + leave * dy);
    if (enter > 0.0) *a = QPointF(from.x() + enter * dx, from.y() + enter * dy);
    return true;
}

bool Finite(QPointF p) {
    return std::isfinite(p.x()) && std::isfinite(p.y());
}

}  // namespace

VectorPicture::VectorPicture(const Projection3D& view, int width, int height)
    : view_(view), width_(width), height_(height) {}

QPointF VectorPicture::Project(const Point3& p) const {
    Point3 q = p;
    view_.ScaleAndRotate(q);
    const PixelPoint origin = view_.Origin();
    const PixelPoint offset = view_.Offset();
    return {q.x + origin.x + offset.x, -q.y + origin.y + offset.y};
}

void VectorPicture::DrawMoveTo(const Point3& p) {
    const QPointF to = Project(p);
    // A move to where the pen is (a line that goes on from the last) keeps the subpath.
    pathAtPen_ = pathAtPen_ && penValid_ && to == pen_;
    pen_ = to;
    penValid_ = Finite(pen_);
}

void VectorPicture::DrawLineTo(const Point3& p) {
    const QPointF to = Project(p);
    if (!Finite(to)) {
        penValid_ = false;
        pathAtPen_ = false;
        return;
    }
    if (!penValid_) {
        pen_ = to;
        penValid_ = true;
        pathAtPen_ = false;
        return;
    }
    Segment(pen_, to);
}

void VectorPicture::DrawLine(const Point3& a, const Point3& b) {
    DrawMoveTo(a);
    DrawLineTo(b);
}

void VectorPicture::Segment(QPointF a, QPointF b) {
    pen_ = b;
    QPointF from = a;
    QPointF to = b;
    const bool whole = from.x() >= 0 && from.y() >= 0 && from.x() <= width_ &&
                       from.y() <= height_ && to.x() >= 0 && to.y() >= 0 && to.x() <= width_ &&
                       to.y() <= height_;
    if (!whole && !ClipToBox(&from, &to, width_, height_)) {
        pathAtPen_ = false;
        return;
    }
    const bool sameRun = !runs_.empty() && runs_.back().color == color_;
    if (!sameRun) runs_.push_back({color_, {}});
    QPainterPath& path = runs_.back().path;
    if (!sameRun || !pathAtPen_ || from != a) path.moveTo(from);
    path.lineTo(to);
    // A clipped end is not the pen: the next line starts a new subpath.
    pathAtPen_ = to == b;
}

void VectorPicture::Paint(QPainter& painter) const {
    painter.save();
    painter.setBrush(Qt::NoBrush);
    for (const Run& run : runs_) {
        QPen pen(QColor(static_cast<int>(run.color & 0xFF),
                        static_cast<int>((run.color >> 8) & 0xFF),
                        static_cast<int>((run.color >> 16) & 0xFF)));
        pen.setWidthF(1.0);
        pen.setCapStyle(Qt::RoundCap);
        pen.setJoinStyle(Qt::RoundJoin);
        painter.setPen(pen);
        painter.drawPath(run.path);
    }
    painter.restore();
}

}  // namespace cuttrace
