#include "surfaces/ScrollableSurface2D.h"

#include <QGridLayout>
#include <QMouseEvent>
#include <QScrollBar>

namespace cuttrace {

namespace {

constexpr int kInitialMin = 0;
constexpr int kInitialMax = 100;

}  // namespace

ScrollableSurface2D::ScrollableSurface2D(QWidget* parent) : QWidget(parent) {
    horizontalBar_ = new QScrollBar(Qt::Horizontal, this);
    verticalBar_ = new QScrollBar(Qt::Vertical, this);
    surface_ = new Surface2D(this);
    for (QScrollBar* bar : {horizontalBar_, verticalBar_}) {
        bar->setRange(kInitialMin, kInitialMax);
        bar->setValue(0);
    }

    // The horizontal bar runs along the whole bottom edge, the vertical one along the right
    // edge above it, and the surface fills the rest.
    auto* layout = new QGridLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(surface_, 0, 0);
    layout->addWidget(verticalBar_, 0, 1);
    layout->addWidget(horizontalBar_, 1, 0, 1, 2);

    connect(horizontalBar_, &QScrollBar::actionTriggered, this,
            [this](int) { OnHorizontalScroll(horizontalBar_->sliderPosition()); });
    connect(verticalBar_, &QScrollBar::actionTriggered, this,
            [this](int) { OnVerticalScroll(verticalBar_->sliderPosition()); });

    connect(surface_, &Surface2D::redrawRequested, this, &ScrollableSurface2D::redrawRequested);
    connect(surface_, &Surface2D::mousePressed, this, &ScrollableSurface2D::mousePressed);
    connect(surface_, &Surface2D::mouseMoved, this, &ScrollableSurface2D::mouseMoved);
    connect(surface_, &Surface2D::clicked, this, &ScrollableSurface2D::clicked);
    connect(surface_, &Surface2D::doubleClicked, this, &ScrollableSurface2D::doubleClicked);
    connect(surface_, &Surface2D::mouseReleased, this, &ScrollableSurface2D::OnSurfaceReleased);
}

ScrollableSurface2D::~ScrollableSurface2D() = default;

void ScrollableSurface2D::RequestRedraw() {
    update();
    surface_->RequestRedraw();
}

void ScrollableSurface2D::OnHorizontalScroll(int position) {
    surface_->SetOffset(QPoint(position, surface_->GetOffset().y()));
    RequestRedraw();
}

void ScrollableSurface2D::OnVerticalScroll(int position) {
    surface_->SetOffset(QPoint(surface_->GetOffset().x(), position));
    RequestRedraw();
}

void ScrollableSurface2D::OnSurfaceReleased(Qt::MouseButton button, Qt::MouseButtons held, int x,
                                            int y) {
    emit mouseReleased(button, held, x, y);
    SyncScrollBarsToPan();
}

void ScrollableSurface2D::SyncScrollBarsToPan() {
    const QPoint offset = surface_->GetOffset();
    horizontalBar_->setValue(offset.x());
    verticalBar_->setValue(offset.y());
}

void ScrollableSurface2D::ResetScrollBars() {
    horizontalBar_->setValue(0);
    verticalBar_->setValue(0);
}

void ScrollableSurface2D::ResetView() {
    surface_->ResetView();
    ResetScrollBars();
    RequestRedraw();
}

void ScrollableSurface2D::ZoomIn() {
    surface_->ZoomIn();
    ResetScrollBars();
    RequestRedraw();
}

void ScrollableSurface2D::ZoomOut() {
    surface_->ZoomOut();
    ResetScrollBars();
    RequestRedraw();
}

void ScrollableSurface2D::mousePressEvent(QMouseEvent* event) {
    const QPoint at = event->position().toPoint();
    emit mousePressed(event->button(), event->buttons(), at.x(), at.y());
}

void ScrollableSurface2D::mouseMoveEvent(QMouseEvent* event) {
    const QPoint at = event->position().toPoint();
    emit mouseMoved(event->buttons(), at.x(), at.y());
}

void ScrollableSurface2D::mouseReleaseEvent(QMouseEvent* event) {
    // A release over the panel's own area is handled as a release on the surface (which
    // raises the panel's mouseReleased once) and the thumbs follow.
    const QPoint at = event->position().toPoint();
    surface_->HandleRelease(event->button(), event->buttons(), at.x(), at.y());
    SyncScrollBarsToPan();
}

void ScrollableSurface2D::SetPanRange(int min, int max) {
    horizontalBar_->setRange(min, max);
    verticalBar_->setRange(min, max);
    ResetScrollBars();
}

}  // namespace cuttrace
