// Mouse handling of the 2D surface: the notifications, and (only while MouseUse is set) the
// rubber band with its rectangle zoom and the right-click re-centring.
#include <QMouseEvent>

#include "surfaces/Surface2D.h"

namespace cuttrace {

void Surface2D::Press(QMouseEvent* event) {
    const QPoint at = event->position().toPoint();
    if (event->button() == Qt::LeftButton) leftPressed_ = true;
    emit MouseDown(event->button(), event->buttons(), event->modifiers(), at.x(), at.y());
    MRectStart(event->button(), at.x(), at.y());
    if (event->buttons() & Qt::RightButton) {
        ClickMode = (event->buttons() & Qt::LeftButton) ? kClickBoth : kClickRight;
    }
}

void Surface2D::mousePressEvent(QMouseEvent* event) {
    Press(event);
}

void Surface2D::mouseDoubleClickEvent(QMouseEvent* event) {
    Press(event);
    emit DblClick();
}

void Surface2D::mouseMoveEvent(QMouseEvent* event) {
    const QPoint at = event->position().toPoint();
    emit MouseMove(event->buttons(), event->modifiers(), at.x(), at.y());
    MRect(event->buttons(), at.x(), at.y());
}

void Surface2D::mouseReleaseEvent(QMouseEvent* event) {
    const QPoint at = event->position().toPoint();
    const bool click = event->button() == Qt::LeftButton && leftPressed_ && rect().contains(at);
    if (event->button() == Qt::LeftButton) leftPressed_ = false;
    MUp(event->button(), event->buttons(), event->modifiers(), at.x(), at.y());
    if (click) emit Click();
}

void Surface2D::MUp(Qt::MouseButton button, Qt::MouseButtons held, Qt::KeyboardModifiers modifiers,
                    int x, int y) {
    emit MouseUp(button, held, modifiers, x, y);
    MRectEnd(button, x, y);
    emit Released(button, x, y);
}

void Surface2D::DrawBand() {
    if (BandStart == BandEnd) return;  // a band without extent draws nothing
    const QPoint outline[5] = {BandStart, QPoint(BandEnd.x(), BandStart.y()), BandEnd,
                               QPoint(BandStart.x(), BandEnd.y()), BandStart};
    SyncScreen();
    screenCanvas_.SetMode(Canvas2D::PenMode::NotXor);
    screenCanvas_.Polyline(outline, 5);
    screenCanvas_.SetMode(Canvas2D::PenMode::Copy);
    if (!inPaint_) update();
}

void Surface2D::MRectStart(Qt::MouseButton button, int x, int y) {
    MousePos = QPoint(x, y);
    if (!MouseUse) return;
    if (BandActive) {
        DrawBand();
        BandActive = false;
    }
    if (button == UseButton) {
        BandStart = BandEnd = MousePos;
        BandActive = true;
    }
}

void Surface2D::MRect(Qt::MouseButtons held, int x, int y) {
    if (!MouseUse || InMRect) return;
    InMRect = true;
    MousePos = QPoint(x, y);
    ClickMode = kClickNone;
    if (BandActive) {
        DrawBand();
        BandEnd = MousePos;
        // The band follows the mouse while its button is held and is dropped otherwise.
        if (held & UseButton) {
            DrawBand();
        } else {
            BandActive = false;
        }
    }
    InMRect = false;
}

void Surface2D::MRectEnd(Qt::MouseButton /*button*/, int x, int y) {
    if (!MouseUse) return;
    MousePos = QPoint(x, y);
    if (!BandActive) return;
    BandActive = false;
    if (ClickMode == kClickRight) {
        if (map2d::Recentre(view_, {x, y}, width(), height())) Invalidate();
        return;
    }
    DrawBand();
    BandEnd = MousePos;
    if (map2d::RectangleZoom(view_, {BandStart.x(), BandStart.y()}, {BandEnd.x(), BandEnd.y()},
                             width(), height())) {
        Invalidate();
    }
}

}  // namespace cuttrace
