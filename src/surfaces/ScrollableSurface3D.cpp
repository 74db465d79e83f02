#include "surfaces/ScrollableSurface3D.h"

#include <QAbstractSlider>
#include <QGridLayout>
#include <QMouseEvent>
#include <QScrollBar>
#include <QWheelEvent>
#include <algorithm>
#include <cmath>

#include "surfaces/ViewFit.h"

namespace cuttrace {

namespace {

// A scroll bar's own range before a layout sets one.
constexpr int kDefaultMin = 0;
constexpr int kDefaultMax = 100;
// Pixels of the path's box still in view with a scroll bar at either end.
constexpr int kKeptInView = 8;
// One notch of a mouse wheel.
constexpr double kWheelNotch = 120.0;

int ToBarValue(double v) {
    return static_cast<int>(std::clamp(v, -1.0e9, 1.0e9));
}

bool StartsPan(const QMouseEvent* event) {
    return event->button() == Qt::MiddleButton ||
           (event->button() == Qt::LeftButton && event->modifiers().testFlag(Qt::ShiftModifier));
}

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
    connect(surface_, &Surface3D::resized, this, [this] { UpdateScrollRanges(); });
    surface_->installEventFilter(this);
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
    panMin_ = min;
    panMax_ = max;
    horizontalBar_->setRange(min, max);
    verticalBar_->setRange(min, max);
    ResetScrollBars();
}

void ScrollableSurface3D::ResetScrollBars() {
    // Setting a value from code raises no scroll event, so nothing redraws here.
    UpdateScrollRanges();
    horizontalBar_->setValue(0);
    verticalBar_->setValue(0);
}

void ScrollableSurface3D::UpdateScrollRanges() {
    if (!hasExtent_) return;
    // An offset o shows the box's pixels a..b at a+o..b+o: from o = -b (its far end at the
    // left edge) to o = size - a (its near end at the right edge) some of it is in view;
    // a few pixels of it always are.
    Projection3D unshifted = surface_->View();
    unshifted.SetOffset({});
    const PixelBox box = ProjectBox(unshifted, extentMin_, extentMax_);
    const PixelPoint offset = surface_->GetOffset();
    const auto fit = [](QScrollBar* bar, int low, int high, int value, int page) {
        bar->setRange(std::min({low, value, 0}), std::max({high, value, 0}));
        bar->setPageStep(std::max(page, 1));
    };
    const double keep = kKeptInView;
    fit(horizontalBar_, std::min(panMin_, ToBarValue(std::ceil(keep - box.right))),
        std::max(panMax_, ToBarValue(std::floor(surface_->width() - box.left - keep))), offset.x,
        surface_->width());
    fit(verticalBar_, std::min(panMin_, ToBarValue(std::ceil(keep - box.bottom))),
        std::max(panMax_, ToBarValue(std::floor(surface_->height() - box.top - keep))), offset.y,
        surface_->height());
}

void ScrollableSurface3D::SetPathExtent(const Point3& min, const Point3& max) {
    extentMin_ = min;
    extentMax_ = max;
    hasExtent_ = true;
    UpdateScrollRanges();
}

void ScrollableSurface3D::ClearPathExtent() {
    hasExtent_ = false;
    horizontalBar_->setRange(panMin_, panMax_);
    verticalBar_->setRange(panMin_, panMax_);
}

bool ScrollableSurface3D::Fit() {
    if (!hasExtent_) return false;
    Projection3D view = surface_->View();
    if (!FitBox(view, extentMin_, extentMax_, surface_->width(), surface_->height())) return false;
    surface_->SetScale(view.Scale());
    surface_->SetOffset(view.Offset());
    surface_->SetOrigin(view.Origin());
    ResetScrollBars();
    return true;
}

void ScrollableSurface3D::ZoomAt(int x, int y, double factor) {
    Projection3D view = surface_->View();
    ZoomAbout(view, factor, x, y);
    surface_->SetScale(view.Scale());
    surface_->SetOrigin(view.Origin());
    UpdateScrollRanges();
}

void ScrollableSurface3D::Pan(int dx, int dy) {
    Projection3D view = surface_->View();
    PanBy(view, dx, dy);
    surface_->SetOrigin(view.Origin());
    UpdateScrollRanges();
}

bool ScrollableSurface3D::eventFilter(QObject* watched, QEvent* event) {
    if (watched != surface_) return QWidget::eventFilter(watched, event);
    switch (event->type()) {
        case QEvent::Wheel: {
            auto* wheel = static_cast<QWheelEvent*>(event);
            const double notches = wheel->angleDelta().y() / kWheelNotch;
            if (notches == 0.0) return true;
            const QPoint at = wheel->position().toPoint();
            ZoomAt(at.x(), at.y(), std::pow(surface_->ZoomFactor(), notches));
            RequestRedraw();
            emit movedByUser();
            return true;
        }
        case QEvent::MouseButtonDblClick: {
            auto* mouse = static_cast<QMouseEvent*>(event);
            if (mouse->button() != Qt::MiddleButton) break;
            emit fitRequested();
            return true;
        }
        case QEvent::MouseButtonPress: {
            auto* mouse = static_cast<QMouseEvent*>(event);
            if (!StartsPan(mouse)) break;
            panning_ = true;
            panMoved_ = false;
            panFrom_ = mouse->position().toPoint();
            return true;
        }
        case QEvent::MouseMove: {
            if (!panning_) break;
            const QPoint at = static_cast<QMouseEvent*>(event)->position().toPoint();
            const QPoint moved = at - panFrom_;
            panFrom_ = at;
            if (moved.isNull()) return true;
            panMoved_ = true;
            Pan(moved.x(), moved.y());
            RequestRedraw();
            return true;
        }
        case QEvent::MouseButtonRelease:
            if (!panning_) break;
            panning_ = false;
            if (panMoved_) emit movedByUser();
            return true;
        default:
            break;
    }
    return QWidget::eventFilter(watched, event);
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
