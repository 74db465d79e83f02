// The 2D drawing panel: one Surface2D filling the panel, a horizontal scroll bar along the
// bottom and a vertical one along the right that pan the drawing (they set the surface's
// Offset), and operations forwarded to the surface.
//
// A user scroll sets the pan from the thumb and repaints; ResetView and the zooms centre the
// thumbs (position 0); after every mouse release on the surface the thumbs show the
// surface's Offset, so they follow a re-centring click or a rectangle zoom. The panel
// repaints by invalidation: the surface's repaint raises redrawRequested, which the panel passes
// on.
#pragma once

#include <QPoint>
#include <QWidget>

#include <cstdint>

#include "surfaces/Surface2D.h"
#include "surfaces/WorldPoint2D.h"

class QScrollBar;

namespace cuttrace {

class ScrollableSurface2D : public QWidget {
    Q_OBJECT

  public:
    explicit ScrollableSurface2D(QWidget* parent = nullptr);
    ~ScrollableSurface2D() override;

    Surface2D* Surface() const { return surface_; }
    QScrollBar* HorizontalBar() const { return horizontalBar_; }
    QScrollBar* VerticalBar() const { return verticalBar_; }

    // Requests a repaint of the panel and the surface; the surface's repaint raises
    // redrawRequested.
    void RequestRedraw();

    // Forwarded to the surface; the thumbs go to 0 and the panel repaints.
    void ResetView();
    void ZoomIn();
    void ZoomOut();

    // Forwarded to the surface.
    void SetTarget(Surface2D::Target target) { surface_->SetTarget(target); }
    void DrawOriginLines(std::uint32_t color) { surface_->DrawOriginLines(color); }
    void ResetColors() { surface_->ResetColors(); }
    void Clear(std::uint32_t color) { surface_->Clear(color); }
    void LineTo(const WorldPoint2D& p) { surface_->LineTo(p); }
    void MoveTo(const WorldPoint2D& p) { surface_->MoveTo(p); }
    void DrawDot(const WorldPoint2D& p, double r, bool fill) { surface_->DrawDot(p, r, fill); }
    void Circle(const WorldPoint2D& c, double r) { surface_->Circle(c, r); }
    void Arc(const WorldPoint2D& c, double r, const WorldPoint2D& a, const WorldPoint2D& b) {
        surface_->Arc(c, r, a, b);
    }
    void Line(const WorldPoint2D& a, const WorldPoint2D& b) { surface_->Line(a, b); }
    void Polyline(const WorldPoint2D* points, int count, QPoint* buffer) {
        surface_->Polyline(points, count, buffer);
    }
    void PolylinePixels(const QPoint* points, int last) { surface_->PolylinePixels(points, last); }
    void SetPenColor(std::uint32_t color) { surface_->SetPenColor(color); }
    void SetBandZoomEnabled(bool v) { surface_->SetBandZoomEnabled(v); }
    bool BandZoomEnabled() const { return surface_->BandZoomEnabled(); }
    void SetScale(double v) { surface_->SetScale(v); }
    double Scale() const { return surface_->Scale(); }
    void SetZoomFactor(double v) { surface_->SetZoomFactor(v); }
    double ZoomFactor() const { return surface_->ZoomFactor(); }
    void SetOrigin(const QPoint& p) { surface_->SetOrigin(p); }
    QPoint GetOrigin() const { return surface_->GetOrigin(); }
    void SetBandButton(Qt::MouseButton b) { surface_->SetBandButton(b); }
    Qt::MouseButton BandButton() const { return surface_->BandButton(); }
    void PixelToWorld(const QPoint& pixel, WorldPoint2D* out) const {
        surface_->PixelToWorld(pixel, out);
    }
    void SetPageScaleFactor(double v) { surface_->SetPageScaleFactor(v); }
    double PageScaleFactor() const { return surface_->PageScaleFactor(); }
    void SetScreenScaleFactor(double v) { surface_->SetScreenScaleFactor(v); }
    double ScreenScaleFactor() const { return surface_->ScreenScaleFactor(); }
    void SetOrientation(map2d::AxisOrientation v) { surface_->SetOrientation(v); }
    map2d::AxisOrientation Orientation() const { return surface_->Orientation(); }

    // The range both scroll bars pan over (min..max on each axis); the thumbs go to 0.
    void SetPanRange(int min, int max);

  signals:
    void redrawRequested();
    void clicked();
    void doubleClicked();
    void mousePressed(Qt::MouseButton button, Qt::MouseButtons held, int x, int y);
    void mouseReleased(Qt::MouseButton button, Qt::MouseButtons held, int x, int y);
    void mouseMoved(Qt::MouseButtons held, int x, int y);

  protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

  private:
    // The scroll handlers: the thumb position becomes the surface's pan.
    void OnHorizontalScroll(int position);
    void OnVerticalScroll(int position);
    // The surface's release: the panel's mouseReleased, then the thumbs show the surface's pan.
    void OnSurfaceReleased(Qt::MouseButton button, Qt::MouseButtons held, int x, int y);
    // The thumbs show the surface's pan.
    void SyncScrollBarsToPan();
    void ResetScrollBars();

    QScrollBar* horizontalBar_ = nullptr;  // owned through the parent
    QScrollBar* verticalBar_ = nullptr;
    Surface2D* surface_ = nullptr;
};

}  // namespace cuttrace
