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
    ScrollBar1 = new QScrollBar(Qt::Horizontal, this);
    ScrollBar2 = new QScrollBar(Qt::Vertical, this);
    DrawBox = new Surface2D(this);
    for (QScrollBar* bar : {ScrollBar1, ScrollBar2}) {
        bar->setRange(kInitialMin, kInitialMax);
        bar->setValue(0);
    }

    // The horizontal bar runs along the whole bottom edge, the vertical one along the right
    // edge above it, and the surface fills the rest.
    auto* layout = new QGridLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(DrawBox, 0, 0);
    layout->addWidget(ScrollBar2, 0, 1);
    layout->addWidget(ScrollBar1, 1, 0, 1, 2);

    connect(ScrollBar1, &QScrollBar::actionTriggered, this,
            [this](int action) { ScrollBar1Scroll(action, ScrollBar1->sliderPosition()); });
    connect(ScrollBar2, &QScrollBar::actionTriggered, this,
            [this](int action) { ScrollBar2Scroll(action, ScrollBar2->sliderPosition()); });

    connect(DrawBox, &Surface2D::Paint, this, &ScrollableSurface2D::Paint);
    connect(DrawBox, &Surface2D::MouseDown, this, &ScrollableSurface2D::MouseDown);
    connect(DrawBox, &Surface2D::MouseMove, this, &ScrollableSurface2D::MouseMove);
    connect(DrawBox, &Surface2D::Click, this, &ScrollableSurface2D::Click);
    connect(DrawBox, &Surface2D::DblClick, this, &ScrollableSurface2D::DblClick);
    connect(DrawBox, &Surface2D::MouseUp, this, &ScrollableSurface2D::DrawBoxMouseUp);
    // The release's own zoom or re-centring runs after MouseUp; follow its result too.
    connect(DrawBox, &Surface2D::Released, this, [this] { FollowOffset(); });
}

ScrollableSurface2D::~ScrollableSurface2D() = default;

void ScrollableSurface2D::Pain() {
    update();
    DrawBox->Invalidate();
}

void ScrollableSurface2D::ScrollBar1Scroll(int /*code*/, int position) {
    DrawBox->SetOffset(QPoint(position, DrawBox->GetOffset().y()));
    Pain();
}

void ScrollableSurface2D::ScrollBar2Scroll(int /*code*/, int position) {
    DrawBox->SetOffset(QPoint(DrawBox->GetOffset().x(), position));
    Pain();
}

void ScrollableSurface2D::DrawBoxMouseUp(Qt::MouseButton button, Qt::MouseButtons held,
                                         Qt::KeyboardModifiers modifiers, int x, int y) {
    emit MouseUp(button, held, modifiers, x, y);
    FollowOffset();
}

void ScrollableSurface2D::FollowOffset() {
    const QPoint offset = DrawBox->GetOffset();
    ScrollBar1->setValue(offset.x());
    ScrollBar2->setValue(offset.y());
}

void ScrollableSurface2D::CentreThumbs() {
    ScrollBar1->setValue(0);
    ScrollBar2->setValue(0);
}

void ScrollableSurface2D::Init() {
    DrawBox->Init();
    CentreThumbs();
    Pain();
}

void ScrollableSurface2D::Zoomup() {
    DrawBox->Zoomup();
    CentreThumbs();
    Pain();
}

void ScrollableSurface2D::Zoomdown() {
    DrawBox->Zoomdown();
    CentreThumbs();
    Pain();
}

void ScrollableSurface2D::mousePressEvent(QMouseEvent* event) {
    const QPoint at = event->position().toPoint();
    emit MouseDown(event->button(), event->buttons(), event->modifiers(), at.x(), at.y());
}

void ScrollableSurface2D::mouseMoveEvent(QMouseEvent* event) {
    const QPoint at = event->position().toPoint();
    emit MouseMove(event->buttons(), event->modifiers(), at.x(), at.y());
}

void ScrollableSurface2D::mouseReleaseEvent(QMouseEvent* event) {
    // A release over the panel's own area is handled as a release on the surface (which
    // raises the panel's MouseUp once) and the thumbs follow.
    const QPoint at = event->position().toPoint();
    DrawBox->MUp(event->button(), event->buttons(), event->modifiers(), at.x(), at.y());
    FollowOffset();
}

void ScrollableSurface2D::SetXMin(int v) {
    ScrollBar1->setMinimum(v);
}
int ScrollableSurface2D::GetXMin() const {
    return ScrollBar1->minimum();
}
void ScrollableSurface2D::SetXMax(int v) {
    ScrollBar1->setMaximum(v);
}
int ScrollableSurface2D::GetXMax() const {
    return ScrollBar1->maximum();
}
void ScrollableSurface2D::SetXPos(int v) {
    ScrollBar1->setValue(v);
}
int ScrollableSurface2D::GetXPos() const {
    return ScrollBar1->value();
}
void ScrollableSurface2D::SetYMin(int v) {
    ScrollBar2->setMinimum(v);
}
int ScrollableSurface2D::GetYMin() const {
    return ScrollBar2->minimum();
}
void ScrollableSurface2D::SetYMax(int v) {
    ScrollBar2->setMaximum(v);
}
int ScrollableSurface2D::GetYMax() const {
    return ScrollBar2->maximum();
}
void ScrollableSurface2D::SetYPos(int v) {
    ScrollBar2->setValue(v);
}
int ScrollableSurface2D::GetYPos() const {
    return ScrollBar2->value();
}

}  // namespace cuttrace
