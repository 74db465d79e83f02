#include "surfaces/TDrowPanel.h"

#include <QGridLayout>
#include <QMouseEvent>
#include <QScrollBar>

namespace cuttrace {

namespace {

constexpr int kInitialMin = 0;
constexpr int kInitialMax = 100;

}  // namespace

TDrowPanel::TDrowPanel(QWidget* parent) : QWidget(parent) {
    ScrollBar1 = new QScrollBar(Qt::Horizontal, this);
    ScrollBar2 = new QScrollBar(Qt::Vertical, this);
    DrawBox = new TDrawBox(this);
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

    connect(DrawBox, &TDrawBox::Paint, this, &TDrowPanel::Paint);
    connect(DrawBox, &TDrawBox::MouseDown, this, &TDrowPanel::MouseDown);
    connect(DrawBox, &TDrawBox::MouseMove, this, &TDrowPanel::MouseMove);
    connect(DrawBox, &TDrawBox::Click, this, &TDrowPanel::Click);
    connect(DrawBox, &TDrawBox::DblClick, this, &TDrowPanel::DblClick);
    connect(DrawBox, &TDrawBox::MouseUp, this, &TDrowPanel::DrawBoxMouseUp);
    // The release's own zoom or re-centring runs after MouseUp; follow its result too.
    connect(DrawBox, &TDrawBox::Released, this, [this] { FollowOffset(); });
}

TDrowPanel::~TDrowPanel() = default;

void TDrowPanel::Pain() {
    update();
    DrawBox->Invalidate();
}

void TDrowPanel::ScrollBar1Scroll(int /*code*/, int position) {
    DrawBox->SetOffset(QPoint(position, DrawBox->GetOffset().y()));
    Pain();
}

void TDrowPanel::ScrollBar2Scroll(int /*code*/, int position) {
    DrawBox->SetOffset(QPoint(DrawBox->GetOffset().x(), position));
    Pain();
}

void TDrowPanel::DrawBoxMouseUp(Qt::MouseButton button, Qt::MouseButtons held,
                                Qt::KeyboardModifiers modifiers, int x, int y) {
    emit MouseUp(button, held, modifiers, x, y);
    FollowOffset();
}

void TDrowPanel::FollowOffset() {
    const QPoint offset = DrawBox->GetOffset();
    ScrollBar1->setValue(offset.x());
    ScrollBar2->setValue(offset.y());
}

void TDrowPanel::CentreThumbs() {
    ScrollBar1->setValue(0);
    ScrollBar2->setValue(0);
}

void TDrowPanel::Init() {
    DrawBox->Init();
    CentreThumbs();
    Pain();
}

void TDrowPanel::Zoomup() {
    DrawBox->Zoomup();
    CentreThumbs();
    Pain();
}

void TDrowPanel::Zoomdown() {
    DrawBox->Zoomdown();
    CentreThumbs();
    Pain();
}

void TDrowPanel::mousePressEvent(QMouseEvent* event) {
    const QPoint at = event->position().toPoint();
    emit MouseDown(event->button(), event->buttons(), event->modifiers(), at.x(), at.y());
}

void TDrowPanel::mouseMoveEvent(QMouseEvent* event) {
    const QPoint at = event->position().toPoint();
    emit MouseMove(event->buttons(), event->modifiers(), at.x(), at.y());
}

void TDrowPanel::mouseReleaseEvent(QMouseEvent* event) {
    // A release over the panel's own area is handled as a release on the surface (which
    // raises the panel's MouseUp once) and the thumbs follow.
    const QPoint at = event->position().toPoint();
    DrawBox->MUp(event->button(), event->buttons(), event->modifiers(), at.x(), at.y());
    FollowOffset();
}

void TDrowPanel::SetXMin(int v) {
    ScrollBar1->setMinimum(v);
}
int TDrowPanel::GetXMin() const {
    return ScrollBar1->minimum();
}
void TDrowPanel::SetXMax(int v) {
    ScrollBar1->setMaximum(v);
}
int TDrowPanel::GetXMax() const {
    return ScrollBar1->maximum();
}
void TDrowPanel::SetXPos(int v) {
    ScrollBar1->setValue(v);
}
int TDrowPanel::GetXPos() const {
    return ScrollBar1->value();
}
void TDrowPanel::SetYMin(int v) {
    ScrollBar2->setMinimum(v);
}
int TDrowPanel::GetYMin() const {
    return ScrollBar2->minimum();
}
void TDrowPanel::SetYMax(int v) {
    ScrollBar2->setMaximum(v);
}
int TDrowPanel::GetYMax() const {
    return ScrollBar2->maximum();
}
void TDrowPanel::SetYPos(int v) {
    ScrollBar2->setValue(v);
}
int TDrowPanel::GetYPos() const {
    return ScrollBar2->value();
}

}  // namespace cuttrace
