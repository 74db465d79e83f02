#include "ui/ViewPane.h"

#include "ui/Translation.h"

#include <QAction>
#include <QBoxLayout>
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
constexpr int kMinSliderWidth = 24;
constexpr int kScaleMin = 1;
constexpr int kScaleMax = 200;
constexpr int kAngleMin = -90;
constexpr int kAngleMax = 90;
constexpr int kPanRange = 1000;

constexpr const char* kPresetHints[kViewPresetCount] = {
    kHintViewTop, kHintViewSide, kHintViewTurned, kHintViewOblique, kHintViewOdd};
constexpr const char* kPresetNames[kViewPresetCount] = {
    "topViewButton", "sideViewButton", "turnedViewButton", "obliqueViewButton", "oddViewButton"};

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
    // The presets and sliders follow the buttons on one row when the view is wide enough,
    // and take a row of their own below them when it is not: no control is ever cut off.
    header_ = new QBoxLayout(QBoxLayout::LeftToRight);
    header_->setSpacing(0);
    header_->addWidget(toolBar_);
    header_->addWidget(sliderBar_, 1);
    layout->addLayout(header_);

    panel_ = new ScrollableSurface3D(this);
    panel_->SetPanRange(-kPanRange, kPanRange);
    panel_->SetScale(1.0);
    panel_->SetZoomFactor(kZoomStep);
    QPalette white = panel_->palette();
    white.setColor(QPalette::Window, Qt::white);
    panel_->setPalette(white);
    panel_->setAutoFillBackground(true);
    panel_->setObjectName(QStringLiteral("viewPanel"));
    connect(panel_, &ScrollableSurface3D::fitRequested, this, &ViewPane::FitView);
    connect(panel_, &ScrollableSurface3D::movedByUser, this, [this] {
        MarkMovedByUser();
        RebuildToolPicture();
    });
    // A rubber-band zoom is the user's zoom too.
    connect(panel_, &ScrollableSurface3D::mouseReleased, this,
            [this](Qt::MouseButton button, Qt::MouseButtons, int, int) {
                if (button == panel_->Surface()->BandButton()) MarkMovedByUser();
            });

    panel_->Surface()->setFocusPolicy(Qt::ClickFocus);
    auto* fitKey = new QAction(this);
    fitKey->setShortcut(Qt::Key_Home);
    fitKey->setShortcutContext(Qt::WidgetWithChildrenShortcut);
    connect(fitKey, &QAction::triggered, this, &ViewPane::FitView);
    addAction(fitKey);
    connect(panel_, &ScrollableSurface3D::mouseMoved, this,
            [this](Qt::MouseButtons held, int x, int y) { OnSurfaceMouseMove(held, x, y); });
    layout->addWidget(panel_, 1);

    RebuildToolPicture();
    // Drawing collects off-screen until the owner copies it to the screen.
    panel_->SetBuffered(true);
}

ViewPane::~ViewPane() = default;

QToolButton* ViewPane::AddButton(QToolBar* bar, const QIcon& icon, const char* hint,
                                 const char* objectName) {
    auto* button = new QToolButton(bar);
    button->setObjectName(QString::fromLatin1(objectName));
    button->setIcon(icon);
    button->setIconSize(QSize(kViewIconSize, kViewIconSize));
    if (hint) button->setToolTip(Tr(hint));
    button->setAutoRaise(true);
    button->setFixedSize(kButtonWidth, kButtonHeight);
    bar->addWidget(button);
    return button;
}

QSlider* ViewPane::AddSlider(int minimum, int maximum, int value, const char* objectName,
                             const QString& hint) {
    auto* slider = new QSlider(Qt::Horizontal, sliderBar_);
    slider->setObjectName(QString::fromLatin1(objectName));
    slider->setRange(minimum, maximum);
    slider->setValue(value);
    slider->setFixedWidth(kSliderWidth);
    slider->setToolTip(hint);
    sliderBar_->addWidget(slider);
    return slider;
}

void ViewPane::BuildToolBar() {
    toolBar_ = new QToolBar(this);
    sliderBar_ = new QToolBar(this);
    for (QToolBar* bar : {toolBar_, sliderBar_}) {
        bar->setMinimumHeight(kToolBarHeight);
        bar->setIconSize(QSize(kViewIconSize, kViewIconSize));
        bar->setMovable(false);
        bar->setFloatable(false);
    }
    sliderBar_->setObjectName(QStringLiteral("presetBar"));

    toolBar_->addSeparator();
    QToolButton* redraw =
        AddButton(toolBar_, MakeViewIcon(ViewIcon::Redraw), kHintRedraw, "redrawButton");
    QToolButton* reset =
        AddButton(toolBar_, MakeViewIcon(ViewIcon::Reset), kHintResetView, "resetViewButton");
    QToolButton* zoomOut =
        AddButton(toolBar_, MakeViewIcon(ViewIcon::ZoomOut), kHintZoomOut, "zoomOutButton");
    QToolButton* zoomIn =
        AddButton(toolBar_, MakeViewIcon(ViewIcon::ZoomIn), kHintZoomIn, "zoomInButton");
    QToolButton* fit = AddButton(toolBar_, MakeViewIcon(ViewIcon::Fit), nullptr, "fitButton");
    fit->setToolTip(Tr(kHintFit));
    connect(fit, &QToolButton::clicked, this, &ViewPane::FitView);
    // The presets and the sliders make the second part, the one that wraps.
    for (int n = 0; n < kViewPresetCount; ++n) {
        QToolButton* preset =
            AddButton(sliderBar_, MakePresetViewIcon(n), kPresetHints[n], kPresetNames[n]);
        // The preset repaints, and the button once more.
        connect(preset, &QToolButton::clicked, this, [this, n] {
            ApplyViewPreset(n);
            RepaintView();
        });
    }
    scaleSlider_ = AddSlider(kScaleMin, kScaleMax, kScaleMin, "scaleSlider", Tr(kHintScale));
    QSlider* rotateX = AddSlider(kAngleMin, kAngleMax, 0, "rotateXSlider", Tr(kHintTurnX));
    QSlider* rotateY = AddSlider(kAngleMin, kAngleMax, 0, "rotateYSlider", Tr(kHintTurnY));
    QSlider* rotateZ = AddSlider(kAngleMin, kAngleMax, 0, "rotateZSlider", Tr(kHintTurnZ));

    connect(redraw, &QToolButton::clicked, this, &ViewPane::RepaintView);
    connect(reset, &QToolButton::clicked, this, &ViewPane::ResetZoom);
    connect(zoomOut, &QToolButton::clicked, this, &ViewPane::ZoomOut);
    connect(zoomIn, &QToolButton::clicked, this, &ViewPane::ZoomIn);
    connect(scaleSlider_, &QSlider::valueChanged, this, &ViewPane::OnScaleSlider);
    // Only the user's own moves of the scale slider count as a zoom (not a restored value).
    connect(scaleSlider_, &QSlider::actionTriggered, this, [this] { MarkMovedByUser(); });
    // Each slider sets its own axis; the others keep what a preset or a drag gave them.
    connect(rotateX, &QSlider::valueChanged, this, [this](int degrees) {
        rotation_.x = degrees;
        ApplyRotation();
    });
    connect(rotateY, &QSlider::valueChanged, this, [this](int degrees) {
        rotation_.y = degrees;
        ApplyRotation();
    });
    connect(rotateZ, &QSlider::valueChanged, this, [this](int degrees) {
        rotation_.z = degrees;
        ApplyRotation();
    });
}

void ViewPane::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    ArrangeToolBars();
}

void ViewPane::ArrangeToolBars() {
    // The sliders give up width first when even their own row is too narrow.
    const QList<QSlider*> sliders = sliderBar_->findChildren<QSlider*>();
    for (QSlider* slider : sliders)
        slider->setFixedWidth(kSliderWidth);
    const int buttons = toolBar_->sizeHint().width();
    const int rest = sliderBar_->sizeHint().width();
    const bool oneRow = buttons + rest <= width();
    const auto direction = oneRow ? QBoxLayout::LeftToRight : QBoxLayout::TopToBottom;
    if (header_->direction() != direction) header_->setDirection(direction);
    if (oneRow || rest <= width() || sliders.isEmpty()) return;
    const int shortBy = static_cast<int>((rest - width() + sliders.size() - 1) / sliders.size());
    for (QSlider* slider : sliders)
        slider->setFixedWidth(std::max(kMinSliderWidth, kSliderWidth - shortBy));
}

void ViewPane::SetColor(uint32_t color) {
    panel_->SetPenColor(color);
}

void ViewPane::DrawMoveTo(const Point3& p) {
    panel_->MoveTo(p);
}

void ViewPane::DrawLineTo(const Point3& p) {
    panel_->LineTo(p);
}

void ViewPane::LineToShowingTool(const Point3& p) {
    cutterAt_ = panel_->ToPixel(p);
    cutterShown_ = settings_.showCutter;
    panel_->LineTo(p);
}

void ViewPane::CopyToScreen() {
    Surface3D* box = panel_->Surface();
    box->Present();
    // The cutter goes on the visible image after each copy of the off-screen drawing (the
    // next copy removes it); a view that is not shown has no visible image.
    if (!cutterShown_ || !box->isVisible()) return;
    tool_.Stamp(box->ScreenCanvas(), cutterAt_);
    box->update();
}

void ViewPane::DrawLine(const Point3& a, const Point3& b) {
    panel_->Line(a, b);
}

void ViewPane::ResetView() {
    panel_->ResetView();
    panel_->SetRotation(rotation_);
    panel_->SetScale(scale_);
    panel_->SetZoomFactor(kZoomStep);
    RebuildToolPicture();
}

void ViewPane::RebuildToolPicture() {
    tool_.Build(panel_->Rotation(), panel_->Scale());
}

void ViewPane::ApplyViewPreset(int n) {
    if (const auto preset = ViewPresetFromNumber(n)) rotation_ = ViewPresetRotation(*preset);
    panel_->SetRotation(rotation_);
    RebuildToolPicture();
    RepaintView();
}

void ViewPane::SetPresetRotation(const Point3& rotation) {
    rotation_ = rotation;
    ApplyRotation();
}

void ViewPane::RepaintView() {
    panel_->RequestRedraw();
}

void ViewPane::FitView() {
    if (!panel_->Fit()) return;
    movedByUser_ = false;
    fitted_ = true;
    RebuildToolPicture();
    RepaintView();
}

bool ViewPane::KeepFitted() {
    if (!fitted_ || !panel_->Fit()) return false;
    RebuildToolPicture();
    return true;
}

void ViewPane::MarkMovedByUser() {
    movedByUser_ = true;
    fitted_ = false;
}

void ViewPane::SetPathExtent(const Point3& min, const Point3& max, bool fitNow) {
    panel_->SetPathExtent(min, max);
    if (fitNow && !movedByUser_) FitView();
}

void ViewPane::ResetZoom() {
    movedByUser_ = false;
    fitted_ = false;
    panel_->ResetView();
    RebuildToolPicture();
    RepaintView();
}

void ViewPane::ZoomOut() {
    MarkMovedByUser();
    panel_->ZoomOut();
    RebuildToolPicture();
    RepaintView();
}

void ViewPane::ZoomIn() {
    MarkMovedByUser();
    panel_->ZoomIn();
    RebuildToolPicture();
    RepaintView();
}

void ViewPane::OnScaleSlider() {
    scale_ = scaleSlider_->value() * kSliderScaleStep;
    panel_->SetScale(scale_);
    RepaintView();
}

void ViewPane::ApplyRotation() {
    panel_->SetRotation(rotation_);
    RepaintView();
}

void ViewPane::OnSurfaceMouseMove(Qt::MouseButtons held, int x, int y) {
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
            panel_->SetRotation(rotation_);
            RepaintView();
        }
    }
    lastX_ = x;
    lastY_ = y;
    dragging_ = true;
}

}  // namespace cuttrace::ui
