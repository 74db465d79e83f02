#include "surfaces/Surface3D.h"

#include <QMouseEvent>
#include <QPainter>

namespace cuttrace {

namespace {

bool IsPlainButton(Qt::MouseButton button) {
    return button == Qt::LeftButton || button == Qt::RightButton || button == Qt::MiddleButton;
}

}  // namespace

Surface3D::Surface3D(QWidget* parent) : QWidget(parent), screen_(width(), height()) {
    setAttribute(Qt::WA_OpaquePaintEvent);
    setMouseTracking(true);
    screen_.SetPenColor(Canvas3D::kBlack);
    screen_.SetBrushColor(Canvas3D::kWhite);
    renderer_.SetTarget(&screen_);
    renderer_.SetSize(width(), height());
}

Surface3D::~Surface3D() = default;

void Surface3D::SyncSize() {
    const int w = width();
    const int h = height();
    if (renderer_.Width() == w && renderer_.Height() == h) return;
    renderer_.SetSize(w, h);
    screen_.Resize(w, h);
    if (cache_) cache_->Resize(w, h);
}

void Surface3D::CopyForWorker(std::unique_ptr<Canvas3D>& canvas, Renderer3D& renderer) {
    SyncSize();
    if (!canvas) canvas = std::make_unique<Canvas3D>(1, 1);
    canvas->CopyFrom(TargetCanvas());
    renderer = renderer_;
    renderer.SetTarget(canvas.get());
}

void Surface3D::MoveTo(const Point3& p) {
    SyncSize();
    renderer_.MoveTo(p);
}

void Surface3D::DrawDot(const Point3& p, int r) {
    SyncSize();
    renderer_.DrawDot(p, r);
    Drawn();
}

void Surface3D::Polygon(const Point3* points, int last) {
    SyncSize();
    renderer_.Polygon(points, last);
    Drawn();
}

void Surface3D::Polyline(const Point3* points, int last) {
    SyncSize();
    renderer_.Polyline(points, last);
    Drawn();
}

void Surface3D::Clear(uint32_t color) {
    SyncSize();
    renderer_.Clear(color);
    Drawn();
}

void Surface3D::ResetView() {
    SyncSize();
    renderer_.View().ResetView(width(), height());
}

void Surface3D::ZoomIn() {
    SyncSize();
    renderer_.View().ZoomIn(width(), height());
}

void Surface3D::ZoomOut() {
    SyncSize();
    renderer_.View().ZoomOut(width(), height());
}

void Surface3D::SetBuffered(bool on) {
    SyncSize();
    buffered_ = on;
    cache_.reset();
    if (on) {
        cache_ = std::make_unique<Canvas3D>(width(), height());
        renderer_.SetTarget(cache_.get());
    } else {
        renderer_.SetTarget(&screen_);
    }
}

void Surface3D::Present() {
    if (!buffered_ || !cache_) return;
    SyncSize();
    screen_.CopyImageFrom(*cache_);
    update();
}

void Surface3D::RequestRedraw() {
    ownerPaintPending_ = true;
    update();
}

void Surface3D::DrawBand() {
    SyncSize();
    const PixelPoint outline[5] = {
        bandStart_, {bandEnd_.x, bandStart_.y}, bandEnd_, {bandStart_.x, bandEnd_.y}, bandStart_};
    screen_.NotXorPolyline(outline, 5);
    update();
}

void Surface3D::BeginBand(Qt::MouseButton button, int x, int y) {
    mousePos_ = PixelPoint{x, y};
    if (bandActive_ && button != bandButton_) {
        bandActive_ = false;
        DrawBand();  // erases it
    }
    if (button == bandButton_) {
        bandStart_ = mousePos_;
        bandEnd_ = mousePos_;
        bandActive_ = true;
    }
}

void Surface3D::DragBand(Qt::MouseButtons held, int x, int y) {
    if (inDragBand_) return;
    inDragBand_ = true;
    mousePos_ = PixelPoint{x, y};
    if (bandActive_) {
        DrawBand();  // erases the old outline
        bandEnd_ = mousePos_;
        // The band follows the mouse while its button is held and is dropped otherwise.
        if (held.testFlag(bandButton_)) {
            DrawBand();
        } else {
            bandActive_ = false;
        }
    }
    inDragBand_ = false;
}

void Surface3D::EndBand(int x, int y) {
    mousePos_ = PixelPoint{x, y};
    if (!bandActive_) return;
    bandActive_ = false;
    DrawBand();
    bandEnd_ = mousePos_;
    DrawBand();
    if (!renderer_.View().BandZoom(bandStart_, bandEnd_, width(), height())) return;
    RequestRedraw();  // the owner redraws, which also removes the outline
}

void Surface3D::paintEvent(QPaintEvent* /*event*/) {
    SyncSize();
    if (ownerPaintPending_) {
        ownerPaintPending_ = false;
        emit redrawRequested();
    }
    QPainter painter(this);
    painter.drawImage(0, 0, screen_.Image());
}

void Surface3D::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    emit resized();
    SyncSize();
    ownerPaintPending_ = true;
}

void Surface3D::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    ownerPaintPending_ = true;
}

void Surface3D::mousePressEvent(QMouseEvent* event) {
    if (!IsPlainButton(event->button())) return;
    const QPoint pos = event->position().toPoint();
    BeginBand(event->button(), pos.x(), pos.y());
    emit mousePressed(event->button(), event->buttons(), pos.x(), pos.y());
}

void Surface3D::mouseMoveEvent(QMouseEvent* event) {
    const QPoint pos = event->position().toPoint();
    DragBand(event->buttons(), pos.x(), pos.y());
    emit mouseMoved(event->buttons(), pos.x(), pos.y());
}

void Surface3D::mouseReleaseEvent(QMouseEvent* event) {
    if (!IsPlainButton(event->button())) return;
    const QPoint pos = event->position().toPoint();
    if (event->button() == Qt::LeftButton && rect().contains(pos)) emit clicked();
    EndBand(pos.x(), pos.y());
    emit mouseReleased(event->button(), event->buttons(), pos.x(), pos.y());
}

void Surface3D::mouseDoubleClickEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton) emit doubleClicked();
    mousePressEvent(event);
}

}  // namespace cuttrace
