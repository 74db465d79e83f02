#include "surfaces/ScrollableSurface3D.h"

#include <QAbstractSlider>
#include <QGridLayout>
#include <QScrollBar>

namespace cuttrace {

namespace {

// A scroll bar's own range before a layout sets one.
constexpr int kDefaultMin = 0;
constexpr int kDefaultMax = 100;

}  // namespace

ScrollableSurface3D::ScrollableSurface3D(QWidget* parent)
    : QWidget(parent),
      horizontalBar_(new QScrollBar(Qt::Horizontal, this)),
      verticalBar_(new QScrollBar(Qt::Vertical, this)),
      surface_(new Surface3D(this)) {
    // The horizontal bar takes the whole bottom edge, the vertical bar the right edge above
    // it, the surface the rest.
    auto* grid = new QGridLayout(this);
    grid->setContentsMargins(0, 0, 0, 0);
    grid->setSpacing(0);
    grid->addWidget(surface_, 0, 0);
    grid->addWidget(verticalBar_, 0, 1);
    grid->addWidget(horizontalBar_, 1, 0, 1, 2);
    horizontalBar_->setRange(kDefaultMin, kDefaultMax);
    verticalBar_->setRange(kDefaultMin, kDefaultMax);

    // Every user action on a bar is a scroll event, and so is the end of a thumb drag.
    connect(horizontalBar_, &QAbstractSlider::actionTriggered, this,
            [this](int) { OnHorizontalScroll(horizontalBar_->sliderPosition()); });
    connect(horizontalBar_, &QAbstractSlider::sliderReleased, this,
            [this] { OnHorizontalScroll(horizontalBar_->sliderPosition()); });
    connect(verticalBar_, &QAbstractSlider::actionTriggered, this,
            [this](int) { OnVerticalScroll(verticalBar_->sliderPosition()); });
    connect(verticalBar_, &QAbstractSlider::sliderReleased, this,
            [this] { OnVerticalScroll(verticalBar_->sliderPosition()); });

    // The surface's signals are the panel's.
    connect(surface_, &Surface3D::redrawRequested, this, &ScrollableSurface3D::redrawRequested);
    connect(surface_, &Surface3D::clicked, this, &ScrollableSurface3D::clicked);
    connect(surface_, &Surface3D::doubleClicked, this, &ScrollableSurface3D::doubleClicked);
    connect(surface_, &Surface3D::mousePressed, this, &ScrollableSurface3D::mousePressed);
    connect(surface_, &Surface3D::mouseMoved, this, &ScrollableSurface3D::mouseMoved);
    connect(surface_, &Surface3D::mouseReleased, this,
            [this](Qt::MouseButton button, Qt::MouseButtons held, int x, int y) {
                emit mouseReleased(button, held, x, y);
                ResetScrollBars();
            });
}

ScrollableSurface3D::~ScrollableSurface3D() {
    // The surface may still report events while the children go; stop them reaching us.
    surface_->disconnect(this);
}

void ScrollableSurface3D::SetPanRange(int min, int max) {
    horizontalBar_->setRange(min, max);
    verticalBar_->setRange(min, max);
    ResetScrollBars();
}

void ScrollableSurface3D::ResetScrollBars() {
    // Setting a value from code raises no scroll event, so nothing redraws here.
    horizontalBar_->setValue(0);
    verticalBar_->setValue(0);
}

void ScrollableSurface3D::ResetView() {
    surface_->ResetView();
    ResetScrollBars();
}

void ScrollableSurface3D::ZoomIn() {
    surface_->ZoomIn();
    ResetScrollBars();
}

void ScrollableSurface3D::ZoomOut() {
    surface_->ZoomOut();
    ResetScrollBars();
}

void ScrollableSurface3D::OnHorizontalScroll(int position) {
    surface_->SetOffset(PixelPoint{position, surface_->GetOffset().y});
    RequestRedraw();
}

void ScrollableSurface3D::OnVerticalScroll(int position) {
    surface_->SetOffset(PixelPoint{surface_->GetOffset().x, position});
    RequestRedraw();
}

}  // namespace cuttrace
