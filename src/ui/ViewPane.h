// One view of the tool path: a tool bar over a 3D drawing panel.
//
// Each view has its own rotation, scale and zoom, set with the tool bar (redraw, reset,
// zoom out, zoom in, five preset directions), four sliders (scale, rotation about X, Y, Z)
// and by dragging with the left mouse button. Drawing goes to the panel's off-screen bitmap;
// the owner copies it to the screen with PaintBox1()->DrawBox3D1()->Bilt().
//
// Public interface used by the main window:
//  - the five view drawing operations the tool path drawer's calls are fanned out to:
//    DrawColor, DrawMoveTo, DrawLineTo, DrawToolTo (a line, then the cutter picture at the
//    point while the "CuterView" setting is on), DrawLine (clipped);
//  - ResetView (the panel's Init with the view's rotation and scale), ApplyViewPreset(n);
//  - PaintBox1() for the panel: Cls, Init, GetScall, GetAfine, its surface for Bilt, and its
//    paint handler (Handlers().OnPaint), which every "repaint" of the view raises with the
//    view as the sender. GetScall() and GetAfine() here read the panel's.
#pragma once

#include <QWidget>

#include <array>
#include <cstdint>

#include "core/Point3.h"
#include "core/Settings.h"
#include "surfaces/ScrollableSurface3D.h"
#include "ui/ToolPicture.h"

class QSlider;
class QToolBar;
class QToolButton;

namespace cuttrace::ui {

class ViewPane : public QWidget {
    Q_OBJECT

  public:
    static constexpr double kZoomStep = 1.3;
    static constexpr double kSliderScaleStep = 0.05;  // scale per TrackBar4 step
    static constexpr int kDragLimit = 15;             // degrees per mouse move and axis

    // The settings are read while the view lives: CutterDia once here, CuterView at every
    // DrawToolTo.
    explicit ViewPane(const Settings& settings, QWidget* parent = nullptr);
    ~ViewPane() override;

    // ---- view drawing operations (colours are 0x00BBGGRR) ----
    void DrawColor(uint32_t colour);
    void DrawMoveTo(const Point3& p);
    void DrawLineTo(const Point3& p);
    void DrawToolTo(const Point3& p);
    void DrawLine(const Point3& a, const Point3& b);

    // ---- view operations ----
    void ResetView();
    void RebuildToolPicture();
    // Turns the view to preset n (0 top, 1 side, 2 turned, 3 and 4 oblique; any other n
    // keeps the rotation), rebuilds the cutter picture and repaints.
    void ApplyViewPreset(int n);
    // Raises the panel's paint handler with the view as the sender.
    void RepaintView();

    ScrollableSurface3D* PaintBox1() const { return panel_; }
    double GetScall() const { return panel_->GetScall(); }
    Point3 GetAfine() const { return panel_->GetAfine(); }
    const Point3& Rotation() const { return rotation_; }
    double Scale() const { return scale_; }
    const ToolPicture& Tool() const { return tool_; }

    // ---- controls ----
    QToolBar* ToolBar() const { return toolBar_; }
    QToolButton* tbnReDraw() const { return tbnReDraw_; }
    QToolButton* tbnInit() const { return tbnInit_; }
    QToolButton* tbnZDown() const { return tbnZDown_; }
    QToolButton* tbnZUp() const { return tbnZUp_; }
    // Preset buttons in preset order: tbnAxy, tbnAxz, tbnAyz, tbnAxyz, tbnAxyz2.
    QToolButton* PresetButton(int n) const { return presets_.at(static_cast<size_t>(n)); }
    QSlider* TrackBar1() const { return trackBar1_; }  // rotation about Z
    QSlider* TrackBar2() const { return trackBar2_; }  // rotation about Y
    QSlider* TrackBar3() const { return trackBar3_; }  // rotation about X
    QSlider* TrackBar4() const { return trackBar4_; }  // scale

    // ---- handlers ----
    // tbnInit, tbnZDown, tbnZUp: the panel's Init, Zoomdown or Zoomup, new cutter picture,
    // repaint.
    void ZoomButtonClick(QObject* sender);
    // A preset button: ApplyViewPreset with its number (0 for any other sender), then one
    // more repaint.
    void PresetButtonClick(QObject* sender);
    void TrackBar4Change();
    void TrackBarRotationChange(QObject* sender);
    // Left-button drag: the first move records the position, the next ones turn the view
    // by half the distance moved (at most kDragLimit degrees each way).
    void PaintBox1MouseMove(QObject* sender, Qt::MouseButtons held, int x, int y);

  private:
    void BuildToolBar();
    QToolButton* AddButton(const QIcon& icon, const char* hint);
    QSlider* AddSlider(int minimum, int maximum, int value);

    const Settings& settings_;
    QToolBar* toolBar_ = nullptr;
    QToolButton* tbnReDraw_ = nullptr;
    QToolButton* tbnInit_ = nullptr;
    QToolButton* tbnZDown_ = nullptr;
    QToolButton* tbnZUp_ = nullptr;
    std::array<QToolButton*, 5> presets_{};
    QSlider* trackBar4_ = nullptr;
    QSlider* trackBar3_ = nullptr;
    QSlider* trackBar2_ = nullptr;
    QSlider* trackBar1_ = nullptr;
    ScrollableSurface3D* panel_ = nullptr;

    Point3 rotation_;
    double scale_ = 1.0;
    ToolPicture tool_;
    int lastX_ = 0;
    int lastY_ = 0;
    bool dragging_ = false;
};

}  // namespace cuttrace::ui
