#include "ui/ViewPane.h"

#include <QPalette>
#include <QSlider>
#include <QToolBar>
#include <QToolButton>
#include <QVBoxLayout>

#include <algorithm>

#include "surfaces/ViewPresets.h"
#include "ui/UiTexts.h"
#include "ui/ViewIcons.h"

namespace cuttrace::ui {

namespace {

constexpr int kToolBarHeight = 29;
constexpr int kButtonWidth = 27;
constexpr int kButtonHeight = 26;
constexpr int kSliderWidth = 56;
constexpr int kScaleMin = 1;
constexpr int kScaleMax = 200;
constexpr int kAngleMin = -90;
constexpr int kAngleMax = 90;
constexpr int kPanRange = 1000;

constexpr const char* kPresetHints[kViewPresetCount] = {
    kHintViewTop, kHintViewSide, kHintViewTurned, kHintViewOblique, kHintViewOdd};

int DragStep(int64_t moved) {
    const int64_t step = moved / 2;  // truncated toward zero
    return static_cast<int>(std::clamp<int64_t>(step, -ViewPane::kDragLimit, ViewPane::kDragLimit));
}

}  // namespace

ViewPane::ViewPane(const Settings& settings, QWidget* parent)
    : QWidget(parent), settings_(settings), tool_(settings.cutterDiameter) {
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    BuildToolBar();
    layout->addWidget(toolBar_);

    panel_ = new ScrollableSurface3D(this);
    panel_->SetXMin(-kPanRange);
    panel_->SetXMax(kPanRange);
    panel_->SetYMin(-kPanRange);
    panel_->SetYMax(kPanRange);
    panel_->SetXPos(0);
    panel_->SetYPos(0);
    panel_->SetScall(1.0);
    panel_->SetScallLenge(kZoomStep);
    QPalette white = panel_->palette();
    white.setColor(QPalette::Window, Qt::white);
    panel_->setPalette(white);
    panel_->setAutoFillBackground(true);
    panel_->Handlers().OnMouseMove = [this](QObject* sender, Qt::MouseButtons held, int x, int y) {
        PaintBox1MouseMove(sender, held, x, y);
    };
    layout->addWidget(panel_, 1);

    RebuildToolPicture();
    // Drawing collects off-screen until the owner copies it to the screen.
    panel_->SetCashDraw(true);
}

ViewPane::~ViewPane() = default;

QToolButton* ViewPane::AddButton(const QIcon& icon, const char* hint) {
    auto* button = new QToolButton(toolBar_);
    button->setIcon(icon);
    button->setIconSize(QSize(kViewIconSize, kViewIconSize));
    button->setToolTip(QString::fromUtf8(hint));
    button->setAutoRaise(true);
    button->setFixedSize(kButtonWidth, kButtonHeight);
    toolBar_->addWidget(button);
    return button;
}

QSlider* ViewPane::AddSlider(int minimum, int maximum, int value) {
    auto* slider = new QSlider(Qt::Horizontal, toolBar_);
    slider->setRange(minimum, maximum);
    slider->setValue(value);
    slider->setFixedWidth(kSliderWidth);
    toolBar_->addWidget(slider);
    return slider;
}

void ViewPane::BuildToolBar() {
    toolBar_ = new QToolBar(this);
    toolBar_->setFixedHeight(kToolBarHeight);
    toolBar_->setIconSize(QSize(kViewIconSize, kViewIconSize));
    toolBar_->setMovable(false);
    toolBar_->setFloatable(false);

    toolBar_->addSeparator();
    tbnReDraw_ = AddButton(MakeFrameViewIcon(FrameViewIcon::ReDraw), kHintReDraw);
    tbnInit_ = AddButton(MakeFrameViewIcon(FrameViewIcon::Init), kHintInit);
    tbnZDown_ = AddButton(MakeFrameViewIcon(FrameViewIcon::ZoomDown), kHintZoomDown);
    tbnZUp_ = AddButton(MakeFrameViewIcon(FrameViewIcon::ZoomUp), kHintZoomUp);
    toolBar_->addSeparator();
    for (int n = 0; n < kViewPresetCount; ++n) {
        presets_[static_cast<size_t>(n)] = AddButton(MakePresetViewIcon(n), kPresetHints[n]);
    }
    trackBar4_ = AddSlider(kScaleMin, kScaleMax, kScaleMin);
    trackBar3_ = AddSlider(kAngleMin, kAngleMax, 0);
    trackBar2_ = AddSlider(kAngleMin, kAngleMax, 0);
    trackBar1_ = AddSlider(kAngleMin, kAngleMax, 0);

    connect(tbnReDraw_, &QToolButton::clicked, this, [this] { RepaintView(); });
    for (QToolButton* button : {tbnInit_, tbnZDown_, tbnZUp_}) {
        connect(button, &QToolButton::clicked, this, [this, button] { ZoomButtonClick(button); });
    }
    for (QToolButton* button : presets_) {
        connect(button, &QToolButton::clicked, this, [this, button] { PresetButtonClick(button); });
    }
    connect(trackBar4_, &QSlider::valueChanged, this, [this] { TrackBar4Change(); });
    for (QSlider* slider : {trackBar3_, trackBar2_, trackBar1_}) {
        connect(slider, &QSlider::valueChanged, this,
                [this, slider] { TrackBarRotationChange(slider); });
    }
}

void ViewPane::DrawColor(uint32_t colour) {
    panel_->SetColor(colour);
}

void ViewPane::DrawMoveTo(const Point3& p) {
    panel_->MoveTo(p);
}

void ViewPane::DrawLineTo(const Point3& p) {
    panel_->LineTo(p);
}

void ViewPane::DrawToolTo(const Point3& p) {
    const PixelPoint at = panel_->Gposi(p);
    panel_->LineTo(p);
    if (!settings_.showCutter) return;
    // Stamped on the visible image, where the next copy of the off-screen drawing removes
    // it; a view that is not shown has no visible image.
    Surface3D* box = panel_->DrawBox3D1();
    if (!box->isVisible()) return;
    tool_.StampToolPicture(box->ScreenCanvas(), at);
    box->ScreenChanged();
}

void ViewPane::DrawLine(const Point3& a, const Point3& b) {
    panel_->Line(a, b);
}

void ViewPane::ResetView() {
    panel_->Init();
    panel_->SetAfine(rotation_);
    panel_->SetScall(scale_);
    panel_->SetScallLenge(kZoomStep);
    RebuildToolPicture();
}

void ViewPane::RebuildToolPicture() {
    tool_.BuildToolPicture(panel_->GetAfine(), panel_->GetScall());
}

void ViewPane::ApplyViewPreset(int n) {
    ViewPresetRotation(n, &rotation_);
    panel_->SetAfine(rotation_);
    RebuildToolPicture();
    RepaintView();
}

void ViewPane::RepaintView() {
    const ScrollableSurface3D::NotifyEvent& paint = panel_->Handlers().OnPaint;
    if (paint) paint(this);
}

void ViewPane::ZoomButtonClick(QObject* sender) {
    if (sender == tbnInit_) {
        panel_->Init();
    } else if (sender == tbnZDown_) {
        panel_->Zoomdown();
    } else if (sender == tbnZUp_) {
        panel_->Zoomup();
    }
    RebuildToolPicture();
    RepaintView();
}

void ViewPane::PresetButtonClick(QObject* sender) {
    const auto found = std::find(presets_.begin(), presets_.end(), sender);
    ApplyViewPreset(found == presets_.end() ? kViewTop
                                            : static_cast<int>(found - presets_.begin()));
    RepaintView();
}

void ViewPane::TrackBar4Change() {
    scale_ = trackBar4_->value() * kSliderScaleStep;
    panel_->SetScall(scale_);
    RepaintView();
}

void ViewPane::TrackBarRotationChange(QObject* sender) {
    if (sender == trackBar3_) rotation_.x = trackBar3_->value();
    if (sender == trackBar2_) rotation_.y = trackBar2_->value();
    if (sender == trackBar1_) rotation_.z = trackBar1_->value();
    panel_->SetAfine(rotation_);
    RepaintView();
}

void ViewPane::PaintBox1MouseMove(QObject* /*sender*/, Qt::MouseButtons held, int x, int y) {
    if (!held.testFlag(Qt::LeftButton)) {
        dragging_ = false;
        return;
    }
    if (dragging_) {
        const int dx = DragStep(static_cast<int64_t>(x) - lastX_);
        const int dy = DragStep(static_cast<int64_t>(y) - lastY_);
        rotation_.x -= dy;
        rotation_.y += dx;
        if (dx != 0 || dy != 0) {
            panel_->SetAfine(rotation_);
            RepaintView();
        }
    }
    lastX_ = x;
    lastY_ = y;
    dragging_ = true;
}

}  // namespace cuttrace::ui
