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
      scrollBar1_(new QScrollBar(Qt::Horizontal, this)),
      scrollBar2_(new QScrollBar(Qt::Vertical, this)),
      drawBox_(new Surface3D(this)) {
    // The horizontal bar takes the whole bottom edge, the vertical bar the right edge above
    // it, the surface the rest.
    auto* grid = new QGridLayout(this);
    grid->setContentsMargins(0, 0, 0, 0);
    grid->setSpacing(0);
    grid->addWidget(drawBox_, 0, 0);
    grid->addWidget(scrollBar2_, 0, 1);
    grid->addWidget(scrollBar1_, 1, 0, 1, 2);
    scrollBar1_->setRange(kDefaultMin, kDefaultMax);
    scrollBar2_->setRange(kDefaultMin, kDefaultMax);

    // Every user action on a bar is a scroll event, and so is the end of a thumb drag.
    connect(scrollBar1_, &QAbstractSlider::actionTriggered, this,
            [this](int) { ScrollBar1Scroll(scrollBar1_->sliderPosition()); });
    connect(scrollBar1_, &QAbstractSlider::sliderReleased, this,
            [this] { ScrollBar1Scroll(scrollBar1_->sliderPosition()); });
    connect(scrollBar2_, &QAbstractSlider::actionTriggered, this,
            [this](int) { ScrollBar2Scroll(scrollBar2_->sliderPosition()); });
    connect(scrollBar2_, &QAbstractSlider::sliderReleased, this,
            [this] { ScrollBar2Scroll(scrollBar2_->sliderPosition()); });

    // The surface's events reach the panel's handlers.
    Surface3D::Events& box = drawBox_->Handlers();
    box.OnPaint = [this](QObject* sender) {
        if (events_.OnPaint) events_.OnPaint(sender);
    };
    box.OnClick = [this](QObject* sender) {
        if (events_.OnClick) events_.OnClick(sender);
    };
    box.OnDblClick = [this](QObject* sender) {
        if (events_.OnDblClick) events_.OnDblClick(sender);
    };
    box.OnMouseDown = [this](QObject* sender, MouseButton b, Qt::MouseButtons held, int x, int y) {
        if (events_.OnMouseDown) events_.OnMouseDown(sender, b, held, x, y);
    };
    box.OnMouseMove = [this](QObject* sender, Qt::MouseButtons held, int x, int y) {
        if (events_.OnMouseMove) events_.OnMouseMove(sender, held, x, y);
    };
    box.OnMouseUp = [this](QObject* sender, MouseButton b, Qt::MouseButtons held, int x, int y) {
        DrawBox3D1MouseUp(sender, b, held, x, y);
    };
}

ScrollableSurface3D::~ScrollableSurface3D() {
    // The surface may still report events while the children go; stop them reaching us.
    drawBox_->Handlers() = Surface3D::Events{};
}

void ScrollableSurface3D::Pain() {
    if (events_.OnPaint) events_.OnPaint(this);
}

int ScrollableSurface3D::GetXMin() const {
    return scrollBar1_->minimum();
}
void ScrollableSurface3D::SetXMin(int v) {
    scrollBar1_->setMinimum(v);
}
int ScrollableSurface3D::GetXMax() const {
    return scrollBar1_->maximum();
}
void ScrollableSurface3D::SetXMax(int v) {
    scrollBar1_->setMaximum(v);
}
int ScrollableSurface3D::GetXPos() const {
    return scrollBar1_->value();
}
void ScrollableSurface3D::SetXPos(int v) {
    scrollBar1_->setValue(v);
}
int ScrollableSurface3D::GetYMin() const {
    return scrollBar2_->minimum();
}
void ScrollableSurface3D::SetYMin(int v) {
    scrollBar2_->setMinimum(v);
}
int ScrollableSurface3D::GetYMax() const {
    return scrollBar2_->maximum();
}
void ScrollableSurface3D::SetYMax(int v) {
    scrollBar2_->setMaximum(v);
}
int ScrollableSurface3D::GetYPos() const {
    return scrollBar2_->value();
}
void ScrollableSurface3D::SetYPos(int v) {
    scrollBar2_->setValue(v);
}

void ScrollableSurface3D::CentreThumbs() {
    // Setting a value from code raises no scroll event, so nothing redraws here.
    scrollBar1_->setValue(0);
    scrollBar2_->setValue(0);
}

void ScrollableSurface3D::Init() {
    drawBox_->Init();
    CentreThumbs();
}

void ScrollableSurface3D::Zoomup() {
    drawBox_->Zoomup();
    CentreThumbs();
}

void ScrollableSurface3D::Zoomdown() {
    drawBox_->Zoomdown();
    CentreThumbs();
}

void ScrollableSurface3D::ScrollBar1Scroll(int position) {
    drawBox_->SetOffset(PixelPoint{position, drawBox_->GetOffset().y});
    Pain();
}

void ScrollableSurface3D::ScrollBar2Scroll(int position) {
    drawBox_->SetOffset(PixelPoint{drawBox_->GetOffset().x, position});
    Pain();
}

void ScrollableSurface3D::DrawBox3D1MouseUp(QObject* /*sender*/, MouseButton button,
                                            Qt::MouseButtons held, int x, int y) {
    if (events_.OnMouseUp) events_.OnMouseUp(this, button, held, x, y);
    CentreThumbs();
}

}  // namespace cuttrace
