#include "ui/ViewIcons.h"

#include <QPainter>
#include <QPainterPath>
#include <QPixmap>

#include <algorithm>

#include "surfaces/Projection3D.h"
#include "surfaces/ViewPresets.h"

namespace cuttrace::ui {

namespace {

constexpr double kAxisLength = 8.0;

QPixmap Blank() {
    QPixmap pixmap(kViewIconSize, kViewIconSize);
    pixmap.fill(Qt::transparent);
    return pixmap;
}

void DrawMagnifier(QPainter& p, bool plus) {
    p.setPen(QPen(QColor(40, 40, 40), 2));
    p.setBrush(QColor(220, 235, 250));
    p.drawEllipse(QRectF(2, 2, 11, 11));
    p.drawLine(QPointF(12, 12), QPointF(18, 18));
    p.setPen(QPen(QColor(20, 20, 20), 1.6));
    p.drawLine(QPointF(5, 7.5), QPointF(10, 7.5));
    if (plus) p.drawLine(QPointF(7.5, 5), QPointF(7.5, 10));
}

void DrawRedrawArrow(QPainter& p) {
    p.setPen(QPen(QColor(30, 110, 40), 2));
    p.setBrush(Qt::NoBrush);
    p.drawArc(QRectF(3, 3, 14, 14), 60 * 16, 280 * 16);
    QPainterPath head;
    head.moveTo(12, 1);
    head.lineTo(17, 5);
    head.lineTo(11, 7.5);
    head.closeSubpath();
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(30, 110, 40));
    p.drawPath(head);
}

void DrawInitFrame(QPainter& p) {
    p.setPen(QPen(QColor(40, 40, 40), 1.5));
    p.setBrush(Qt::white);
    p.drawRect(QRectF(2.5, 2.5, 15, 15));
    p.setPen(QPen(QColor(200, 0, 200), 1.5));
    p.drawLine(QPointF(10, 5), QPointF(10, 15));
    p.drawLine(QPointF(5, 10), QPointF(15, 10));
}

// A frame with a corner mark at each corner: the path fitted to the view.
void DrawFitFrame(QPainter& p) {
    p.setPen(QPen(QColor(40, 40, 40), 1.5));
    p.setBrush(Qt::NoBrush);
    p.drawRect(QRectF(5.5, 5.5, 9, 9));
    p.setPen(QPen(QColor(30, 110, 40), 2));
    for (const QPointF corner : {QPointF(2, 2), QPointF(18, 2), QPointF(2, 18), QPointF(18, 18)}) {
        const double dx = corner.x() < 10 ? 4 : -4;
        const double dy = corner.y() < 10 ? 4 : -4;
        p.drawLine(corner, corner + QPointF(dx, 0));
        p.drawLine(corner, corner + QPointF(0, dy));
    }
}

}  // namespace

QIcon MakeViewIcon(ViewIcon kind) {
    QPixmap pixmap = Blank();
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    switch (kind) {
        case ViewIcon::Redraw:
            DrawRedrawArrow(p);
            break;
        case ViewIcon::Reset:
            DrawInitFrame(p);
            break;
        case ViewIcon::ZoomOut:
            DrawMagnifier(p, false);
            break;
        case ViewIcon::ZoomIn:
            DrawMagnifier(p, true);
            break;
        case ViewIcon::Fit:
            DrawFitFrame(p);
            break;
    }
    p.end();
    return QIcon(pixmap);
}

QIcon MakePresetViewIcon(int n) {
    Point3 rotation;
    if (const auto preset = ViewPresetFromNumber(n)) rotation = ViewPresetRotation(*preset);
    Projection3D view;
    view.SetRotation(rotation);
    view.ResetView(kViewIconSize, kViewIconSize);
    QPixmap pixmap = Blank();
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    const Point3 axes[3] = {{kAxisLength, 0, 0}, {0, kAxisLength, 0}, {0, 0, kAxisLength}};
    const QColor colors[3] = {QColor(220, 30, 30), QColor(20, 150, 40), QColor(30, 60, 220)};
    // Axes pointing away from the viewer first, so the nearer ones are drawn over them.
    int order[3] = {0, 1, 2};
    std::sort(order, order + 3, [&](int a, int b) {
        return view.ToPixelAndDepth(axes[a]).z < view.ToPixelAndDepth(axes[b]).z;
    });
    const PixelPoint o = view.ToPixel(Point3{});
    for (int i : order) {
        const PixelPoint e = view.ToPixel(axes[i]);
        p.setPen(QPen(colors[i], 2, Qt::SolidLine, Qt::RoundCap));
        if (e == o) {
            p.setBrush(colors[i]);
            p.drawEllipse(QPointF(o.x, o.y), 2.5, 2.5);  // seen end-on
        } else {
            p.drawLine(QPointF(o.x, o.y), QPointF(e.x, e.y));
        }
    }
    p.end();
    return QIcon(pixmap);
}

}  // namespace cuttrace::ui
