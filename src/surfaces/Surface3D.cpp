#include "surfaces/Surface3D.h"

#include <QMouseEvent>
#include <QPainter>

#include <optional>

#include "surfaces/SegmentClip.h"

namespace cuttrace {

namespace {

std::optional<Surface3D::MouseButton> ButtonOf(Qt::MouseButton button) {
    switch (button) {
        case Qt::LeftButton:
            return Surface3D::MouseButton::Left;
        case Qt::RightButton:
            return Surface3D::MouseButton::Right;
        case Qt::MiddleButton:
            return Surface3D::MouseButton::Middle;
        default:
            return std::nullopt;
    }
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

void Surface3D::MoveTo(const Point3& p) {
    SyncSize();
    renderer_.MoveTo(p);
}

void Surface3D::PSet(const Point3& p, int r) {
    SyncSize();
    renderer_.PSet(p, r);
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

void Surface3D::Cls(uint32_t colour) {
    SyncSize();
    renderer_.Cls(colour);
    Drawn();
}

void Surface3D::Init() {
    SyncSize();
    renderer_.View().Init(width(), height());
}

void Surface3D::Zoomup() {
    SyncSize();
    renderer_.View().Zoomup(width(), height());
}

void Surface3D::Zoomdown() {
    SyncSize();
    renderer_.View().Zoomdown(width(), height());
}

void Surface3D::SetCashDraw(bool on) {
    SyncSize();
    cashDraw_ = on;
    cache_.reset();
    if (on) {
        cache_ = std::make_unique<Canvas3D>(width(), height());
        renderer_.SetTarget(cache_.get());
    } else {
        renderer_.SetTarget(&screen_);
    }
}

void Surface3D::Bilt() {
    if (!cashDraw_ || !cache_) return;
    SyncSize();
    screen_.CopyImageFrom(*cache_);
    update();
}

void Surface3D::Invalidate() {
    ownerPaintPending_ = true;
    update();
}

bool Surface3D::IsClip(int v, int isX) const {
    return cuttrace::IsClip(v, isX != 0 ? width() : height());
}

bool Surface3D::ss(PixelPoint& out, PixelPoint a, PixelPoint b, PixelPoint c, PixelPoint d) {
    return SegmentIntersection(&out, a, b, c, d);
}

void Surface3D::DrawBand() {
    SyncSize();
    const PixelPoint outline[5] = {
        bandStart_, {bandEnd_.x, bandStart_.y}, bandEnd_, {bandStart_.x, bandEnd_.y}, bandStart_};
    screen_.NotXorPolyline(outline, 5);
    update();
}

void Surface3D::MRectStart(MouseButton button, int x, int y) {
    mousePos_ = PixelPoint{x, y};
    if (button == useButton_ && bandActive_) {
        bandActive_ = false;
        DrawBand();  // erases it
    }
    if (button != useButton_) {
        bandStart_ = mousePos_;
        bandEnd_ = mousePos_;
        bandActive_ = true;
    }
}

void Surface3D::MRect(Qt::MouseButtons held, int x, int y) {
    if (inMRect_) return;
    inMRect_ = true;
    mousePos_ = PixelPoint{x, y};
    if (bandActive_) {
        DrawBand();  // erases the old outline
        bandEnd_ = mousePos_;
        // The band follows the button that is not UseButton; with the middle button as
        // UseButton it stays active without an outline.
        if (useButton_ != MouseButton::Middle) {
            const Qt::MouseButton bandButton =
                useButton_ == MouseButton::Right ? Qt::LeftButton : Qt::RightButton;
            if (held.testFlag(bandButton)) {
                DrawBand();
            } else {
                bandActive_ = false;
            }
        }
    }
    inMRect_ = false;
}

void Surface3D::MRectEnd(MouseButton /*button*/, int x, int y) {
    mousePos_ = PixelPoint{x, y};
    if (!bandActive_) return;
    bandActive_ = false;
    DrawBand();
    bandEnd_ = mousePos_;
    DrawBand();
    if (!renderer_.View().BandZoom(bandStart_, bandEnd_, width(), height())) return;
    Invalidate();  // the owner redraws, which also removes the outline
}

void Surface3D::RaiseMouse(const MouseEvent& handler, MouseButton button, Qt::MouseButtons held,
                           int x, int y) {
    if (handler) handler(this, button, held, x, y);
}

void Surface3D::paintEvent(QPaintEvent* /*event*/) {
    SyncSize();
    if (ownerPaintPending_) {
        ownerPaintPending_ = false;
        if (events_.OnPaint) events_.OnPaint(this);
    }
    QPainter painter(this);
    painter.drawImage(0, 0, screen_.Image());
}

void Surface3D::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    if (events_.OnResize) events_.OnResize(this);
    SyncSize();
    ownerPaintPending_ = true;
}

void Surface3D::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    ownerPaintPending_ = true;
}

void Surface3D::mousePressEvent(QMouseEvent* event) {
    const std::optional<MouseButton> button = ButtonOf(event->button());
    if (!button) return;
    const QPoint pos = event->position().toPoint();
    RaiseMouse(events_.OnMouseDown, *button, event->buttons(), pos.x(), pos.y());
    MRectStart(*button, pos.x(), pos.y());
    RaiseMouse(events_.OnMouseDown, *button, event->buttons(), pos.x(), pos.y());
}

void Surface3D::mouseMoveEvent(QMouseEvent* event) {
    const QPoint pos = event->position().toPoint();
    if (events_.OnMouseMove) events_.OnMouseMove(this, event->buttons(), pos.x(), pos.y());
    MRect(event->buttons(), pos.x(), pos.y());
    if (events_.OnMouseMove) events_.OnMouseMove(this, event->buttons(), pos.x(), pos.y());
}

void Surface3D::mouseReleaseEvent(QMouseEvent* event) {
    const std::optional<MouseButton> button = ButtonOf(event->button());
    if (!button) return;
    const QPoint pos = event->position().toPoint();
    if (*button == MouseButton::Left && rect().contains(pos) && events_.OnClick) {
        events_.OnClick(this);
    }
    RaiseMouse(events_.OnMouseUp, *button, event->buttons(), pos.x(), pos.y());
    MRectEnd(*button, pos.x(), pos.y());
    RaiseMouse(events_.OnMouseUp, *button, event->buttons(), pos.x(), pos.y());
}

void Surface3D::mouseDoubleClickEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton && events_.OnDblClick) events_.OnDblClick(this);
    mousePressEvent(event);
}

}  // namespace cuttrace
