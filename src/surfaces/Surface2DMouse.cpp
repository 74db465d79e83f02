// Mouse handling of the 2D surface: the notifications, and (only while bandZoomEnabled_ is set) the
// rubber band with its rectangle zoom and the right-click re-centring.
#include <QMouseEvent>

#include "surfaces/Surface2D.h"

namespace cuttrace {

void Surface2D::Press(QMouseEvent* event) {
    const QPoint at = event->position().toPoint();
    if (event->button() == Qt::LeftButton) leftPressed_ = true;
    BeginBand(event->button(), at.x(), at.y());
    emit mousePressed(event->button(), event->buttons(), at.x(), at.y());
    if (event->buttons() & Qt::RightButton) {
        clickMode_ = (event->buttons() & Qt::LeftButton) ? ClickMode::Both : ClickMode::Right;
    }
}

void Surface2D::mousePressEvent(QMouseEvent* event) {
    Press(event);
}

void Surface2D::mouseDoubleClickEvent(QMouseEvent* event) {
    Press(event);
    emit doubleClicked();
}

void Surface2D::mouseMoveEvent(QMouseEvent* event) {
    const QPoint at = event->position().toPoint();
    DragBand(event->buttons(), at.x(), at.y());
    emit mouseMoved(event->buttons(), at.x(), at.y());
}

void Surface2D::mouseReleaseEvent(QMouseEvent* event) {
    const QPoint at = event->position().toPoint();
    const bool click = event->button() == Qt::LeftButton && leftPressed_ && rect().contains(at);
    if (event->button() == Qt::LeftButton) leftPressed_ = false;
    HandleRelease(event->button(), event->buttons(), at.x(), at.y());
    if (click) emit clicked();
}

void Surface2D::HandleRelease(Qt::MouseButton button, Qt::MouseButtons held, int x, int y) {
    EndBand(x, y);
    emit mouseReleased(button, held, x, y);
}

void Surface2D::DrawBand() {
    if (bandStart_ == bandEnd_) return;  // a band without extent draws nothing
    const QPoint outline[5] = {bandStart_, QPoint(bandEnd_.x(), bandStart_.y()), bandEnd_,
                               QPoint(bandStart_.x(), bandEnd_.y()), bandStart_};
    SyncScreen();
    screenCanvas_.SetMode(Canvas2D::PenMode::NotXor);
    screenCanvas_.Polyline(outline, 5);
    screenCanvas_.SetMode(Canvas2D::PenMode::Copy);
    if (!inPaint_) update();
}

void Surface2D::BeginBand(Qt::MouseButton button, int x, int y) {
    mousePos_ = QPoint(x, y);
    if (!bandZoomEnabled_) return;
    if (bandActive_) {
        DrawBand();
        bandActive_ = false;
    }
    if (button == bandButton_) {
        bandStart_ = bandEnd_ = mousePos_;
        bandActive_ = true;
    }
}

void Surface2D::DragBand(Qt::MouseButtons held, int x, int y) {
    if (!bandZoomEnabled_ || inDragBand_) return;
    inDragBand_ = true;
    mousePos_ = QPoint(x, y);
    clickMode_ = ClickMode::None;
    if (bandActive_) {
        DrawBand();
        bandEnd_ = mousePos_;
        // The band follows the mouse while its button is held and is dropped otherwise.
        if (held & bandButton_) {
            DrawBand();
        } else {
            bandActive_ = false;
        }
    }
    inDragBand_ = false;
}

void Surface2D::EndBand(int x, int y) {
    if (!bandZoomEnabled_) return;
    mousePos_ = QPoint(x, y);
    if (!bandActive_) return;
    bandActive_ = false;
    if (clickMode_ == ClickMode::Right) {
        if (map2d::Recentre(view_, {x, y}, width(), height())) RequestRedraw();
        return;
    }
    DrawBand();
    bandEnd_ = mousePos_;
    if (map2d::RectangleZoom(view_, {bandStart_.x(), bandStart_.y()}, {bandEnd_.x(), bandEnd_.y()},
                             width(), height())) {
        RequestRedraw();
    }
}

}  // namespace cuttrace
