// The 3D drawing panel: a Surface3D filling the panel, a horizontal scroll bar along the
// bottom and a vertical one along the right that pan the drawing.
//
// A user scroll sets the surface's offset from the thumb position and asks for a full redraw
// (redrawRequested); setting a position from code only moves the thumb. ResetView, the zooms
// and every mouse release put both thumbs back to 0 (the surface drops its offset when it
// resets or zooms).
//
// The panel's signals repeat the surface's; a mouse release reaches the panel's listeners
// before the thumbs go back to 0.
//
// The panel also fits the path's box into the surface, zooms about the point under the
// cursor with the wheel and pans while the middle button (or Shift and the left button) is
// dragged; those drags reach no other listener. The scroll bars cover the path's box at
// any zoom (and at least the pan range).
#pragma once

#include <QPoint>
#include <QWidget>

#include <cstdint>

#include "core/Point3.h"
#include "surfaces/Projection3D.h"
#include "surfaces/Surface3D.h"

class QScrollBar;

namespace cuttrace {

class ScrollableSurface3D : public QWidget {
    Q_OBJECT

  public:
    explicit ScrollableSurface3D(QWidget* parent = nullptr);
    ~ScrollableSurface3D() override;

    QScrollBar* HorizontalBar() const { return horizontalBar_; }
    QScrollBar* VerticalBar() const { return verticalBar_; }
    Surface3D* Surface() const { return surface_; }

    // Asks the owner for a full redraw (redrawRequested), at once.
    void RequestRedraw() { emit redrawRequested(); }

    // The range both scroll bars pan over (min..max on each axis); the thumbs go to 0.
    void SetPanRange(int min, int max);

    // ---- view changes that also put both thumbs back to 0 ----
    void ResetView();
    void ZoomIn();
    void ZoomOut();

    // ---- the path's box: fit, zoom about a point, pan ----
    void SetPathExtent(const Point3& min, const Point3& max);
    void ClearPathExtent();
    bool HasPathExtent() const { return hasExtent_; }
    // Shows the path's box whole, centred (ViewFit's FitBox); false without a box.
    bool Fit();
    // Zooms by factor about the pixel (x, y) of the surface.
    void ZoomAt(int x, int y, double factor);
    void Pan(int dx, int dy);

    // ---- forwarded to the surface ----
    void Clear(uint32_t color) { surface_->Clear(color); }
    void MoveTo(const Point3& p) { surface_->MoveTo(p); }
    void LineTo(const Point3& p) { surface_->LineTo(p); }
    void Line(const Point3& a, const Point3& b) { surface_->Line(a, b); }
    void SetPenColor(uint32_t color) { surface_->SetPenColor(color); }
    void SetBrushColor(uint32_t color) { surface_->SetBrushColor(color); }
    void SetBuffered(bool on) { surface_->SetBuffered(on); }
    bool IsBuffered() const { return surface_->IsBuffered(); }
    void SetScale(double s) { surface_->SetScale(s); }
    double Scale() const { return surface_->Scale(); }
    void SetZoomFactor(double f) { surface_->SetZoomFactor(f); }
    double ZoomFactor() const { return surface_->ZoomFactor(); }
    void SetRotation(const Point3& degrees) { surface_->SetRotation(degrees); }
    Point3 Rotation() const { return surface_->Rotation(); }
    PixelPoint ToPixel(const Point3& p) const { return surface_->ToPixel(p); }

  signals:
    void redrawRequested();
    // A double click with the middle button.
    void fitRequested();
    // The user zoomed with the wheel or panned with the mouse (a redraw was requested).
    void movedByUser();
    void clicked();
    void doubleClicked();
    void mousePressed(Qt::MouseButton button, Qt::MouseButtons held, int x, int y);
    void mouseReleased(Qt::MouseButton button, Qt::MouseButtons held, int x, int y);
    void mouseMoved(Qt::MouseButtons held, int x, int y);

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    // The scroll bars' ranges: the pan range, the path's box at the present view, and the
    // present offset.
    void UpdateScrollRanges();
    // A user scroll: the surface's offset takes the position, then a full redraw.
    void OnHorizontalScroll(int position);
    void OnVerticalScroll(int position);
    void ResetScrollBars();

    QScrollBar* horizontalBar_;
    QScrollBar* verticalBar_;
    Surface3D* surface_;
    int panMin_ = 0;
    int panMax_ = 0;
    Point3 extentMin_;
    Point3 extentMax_;
    bool hasExtent_ = false;
    bool panning_ = false;
    bool panMoved_ = false;
    QPoint panFrom_;
};

}  // namespace cuttrace
