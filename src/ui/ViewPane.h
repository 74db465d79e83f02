// One view of the tool path: a tool bar over a 3D drawing panel.
//
// Each view has its own rotation, scale and zoom, set with the tool bar (redraw, reset,
// zoom out, zoom in, five preset directions), four sliders (scale, rotation about X, Y, Z)
// and by dragging with the left mouse button. Drawing goes to the panel's off-screen bitmap;
// the owner copies it to the screen with Panel()->Surface()->Present().
//
// The main window fans the tool path drawer's five drawing calls out to the views:
// SetColor, DrawMoveTo, DrawLineTo, LineToShowingTool (a line, then the cutter picture at the
// point while show-cutter is set), DrawLine (clipped). Every repaint of the view raises the
// panel's paint handler with the view as the sender; the main window redraws then.
// The tool bar's controls have object names (redrawButton, resetViewButton, zoomOutButton,
// zoomInButton, the preset buttons topViewButton .. oddViewButton, scaleSlider,
// rotateXSlider, rotateYSlider, rotateZSlider).
#pragma once

#include <QWidget>

#include <array>
#include <cstdint>

#include "core/Point3.h"
#include "core/Settings.h"
#include "surfaces/ScrollableSurface3D.h"
#include "ui/ToolPicture.h"

class QBoxLayout;
class QSlider;
class QToolBar;
class QToolButton;

namespace cuttrace::ui {

class ViewPane : public QWidget {
    Q_OBJECT

  public:
    static constexpr double kZoomStep = 1.3;
    static constexpr double kSliderScaleStep = 0.05;  // scale per scale slider step
    static constexpr int kDragLimit = 15;             // degrees per mouse move and axis

    // The settings are read while the view lives: the cutter size once here, show-cutter at
    // every LineToShowingTool.
    explicit ViewPane(const Settings& settings, QWidget* parent = nullptr);
    ~ViewPane() override;

    // ---- view drawing operations (colors are 0x00BBGGRR) ----
    void SetColor(uint32_t color);
    void DrawMoveTo(const Point3& p);
    void DrawLineTo(const Point3& p);
    void LineToShowingTool(const Point3& p);
    void DrawLine(const Point3& a, const Point3& b);

    // ---- view operations ----
    void ResetView();
    void RebuildToolPicture();
    // Turns the view to preset n (0 top, 1 side, 2 turned, 3 and 4 oblique; any other n
    // keeps the rotation), rebuilds the cutter picture and repaints.
    void ApplyViewPreset(int n);
    // Raises the panel's paint handler with the view as the sender.
    void RepaintView();
    // Copies the off-screen drawing to the screen, with the cutter picture where the last
    // LineToShowingTool left the tool.
    void CopyToScreen();
    // No cutter picture until the next LineToShowingTool (the drawing was cleared or redrawn).
    void ForgetCutter() { cutterShown_ = false; }

    // The drawing panel, and the scale and rotation it draws with now (zoom included).
    ScrollableSurface3D* Panel() const { return panel_; }
    double PanelScale() const { return panel_->Scale(); }
    Point3 PanelRotation() const { return panel_->Rotation(); }
    // The rotation the presets, sliders and drags chose and the scale of the scale slider:
    // what ResetView gives the panel.
    const Point3& PresetRotation() const { return rotation_; }
    // Turns the view to a rotation of its own (a remembered one) and repaints.
    void SetPresetRotation(const Point3& rotation);
    double SliderScale() const { return scale_; }
    const ToolPicture& CutterPicture() const { return tool_; }
    // The tool bar, for controls added from outside (the cut view mode).
    QToolBar* ToolBar() const { return toolBar_; }
    // Puts the sliders beside the buttons or below them, as the width allows (also after
    // controls were added to the tool bar).
    void ArrangeToolBars();

    // ---- fitting ----
    // Fits the path's box into the view (the fit button, the Home key, a middle double
    // click); the view counts as not moved by the user again.
    void FitView();
    // The path's box changed: the scroll bars cover it; with fitNow the view also fits it,
    // unless the user has zoomed or panned since the last fit or reset.
    void SetPathExtent(const Point3& min, const Point3& max, bool fitNow);
    // A size change: a view that follows the path fits it again (no redraw: the surface
    // asks for one after a size change); false when the view does not follow the path.
    bool KeepFitted();
    // Whether the user zoomed or panned since the view was last fitted or reset.
    bool MovedByUser() const { return movedByUser_; }

    // ---- handlers ----
    // The reset, zoom-out and zoom-in buttons: the panel's Init, ZoomOut or ZoomIn, a new
    // cutter picture, a repaint.
    void ResetZoom();
    void ZoomOut();
    void ZoomIn();
    void OnScaleSlider();
    // Left-button drag: the first move records the position, the next ones turn the view
    // by half the distance moved (at most kDragLimit degrees each way).
    void OnSurfaceMouseMove(Qt::MouseButtons held, int x, int y);

  protected:
    void resizeEvent(QResizeEvent* event) override;

  private:
    void MarkMovedByUser();
    void BuildToolBar();
    // Gives the panel the chosen rotation and repaints.
    void ApplyRotation();
    QToolButton* AddButton(QToolBar* bar, const QIcon& icon, const char* hint,
                           const char* objectName);
    QSlider* AddSlider(int minimum, int maximum, int value, const char* objectName,
                       const QString& hint);

    const Settings& settings_;
    QToolBar* toolBar_ = nullptr;
    QToolBar* sliderBar_ = nullptr;  // the presets and the sliders
    QBoxLayout* header_ = nullptr;
    QSlider* scaleSlider_ = nullptr;
    ScrollableSurface3D* panel_ = nullptr;

    Point3 rotation_;
    double scale_ = 1.0;
    ToolPicture tool_;
    int lastX_ = 0;
    int lastY_ = 0;
    bool dragging_ = false;
    PixelPoint cutterAt_{};
    bool cutterShown_ = false;
    bool movedByUser_ = false;
    bool fitted_ = false;  // the view follows the path's box (also through size changes)
};

}  // namespace cuttrace::ui
