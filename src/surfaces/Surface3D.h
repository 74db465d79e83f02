// The 3D drawing surface: model points drawn through scale, rotation and pan, clipped lines,
// off-screen drawing with a copy to the screen, zoom about the centre and to a rubber band.
//
// The surface keeps two canvases: the screen image that paintEvent shows, and (while
// buffered) the off-screen bitmap that drawing goes to until Present copies it over the
// screen image. The owner redraws on redrawRequested; it is emitted when the surface is first
// shown, after a size change and after a band zoom (the screen image itself survives other
// repaints, so an uncovered window needs no redraw).
//
// Mouse signals are emitted after the rubber-band step. The band is dragged with BandButton
// (the right button by default) and drawn on the screen image in not-xor mode; a press of
// another button cancels it.
#pragma once

#include <QWidget>

#include <cstdint>
#include <memory>

#include "core/Point3.h"
#include "surfaces/Canvas3D.h"
#include "surfaces/Projection3D.h"
#include "surfaces/Renderer3D.h"

namespace cuttrace {

class Surface3D : public QWidget {
    Q_OBJECT
    friend class SurfaceFan;
    friend class ThreadedFan;
    friend class PathRedraw;

  public:
    explicit Surface3D(QWidget* parent = nullptr);
    ~Surface3D() override;

    // ---- projection (scale, rotation, flip, origin plus offset) ----
    const Projection3D& View() const { return renderer_.View(); }
    PixelPoint ToPixel(const Point3& p) const { return renderer_.View().ToPixel(p); }
    Point3 ToPixelAndDepth(const Point3& p) const { return renderer_.View().ToPixelAndDepth(p); }

    // ---- drawing on TargetCanvas (colors are 0x00BBGGRR) ----
    // The canvases and the clip window follow the surface's size on every resize event and
    // at MoveTo, Clear and the other calls that begin a drawing; LineTo and Line, which a path
    // calls once per point, use the size known then (a surface that is not shown gets its
    // resize event only when it is shown).
    void MoveTo(const Point3& p);
    void LineTo(const Point3& p) {
        renderer_.LineTo(p);
        Drawn();
    }
    void Line(const Point3& a, const Point3& b) {  // clipped to the visible window
        renderer_.Line(a, b);
        Drawn();
    }
    void DrawDot(const Point3& p, int r);
    void Polygon(const Point3* points, int last);
    void Polyline(const Point3* points, int last);
    void Clear(uint32_t color);
    void SetPenColor(uint32_t color) { renderer_.SetPenColor(color); }
    void SetBrushColor(uint32_t color) { renderer_.SetBrushColor(color); }

    // ---- view ----
    // Scale 1, origin at the centre, no pan; rotation and zoom step stay.
    void ResetView();
    void ZoomIn();
    void ZoomOut();
    double Scale() const { return renderer_.View().Scale(); }
    void SetScale(double s) { renderer_.View().SetScale(s); }
    double ZoomFactor() const { return renderer_.View().ZoomFactor(); }
    void SetZoomFactor(double f) { renderer_.View().SetZoomFactor(f); }
    Point3 Rotation() const { return renderer_.View().Rotation(); }
    void SetRotation(const Point3& degrees) { renderer_.View().SetRotation(degrees); }
    PixelPoint GetOrigin() const { return renderer_.View().Origin(); }
    void SetOrigin(PixelPoint p) { renderer_.View().SetOrigin(p); }
    PixelPoint GetOffset() const { return renderer_.View().Offset(); }
    void SetOffset(PixelPoint p) { renderer_.View().SetOffset(p); }
    // The button that drags the zoom band (the right one by default).
    Qt::MouseButton BandButton() const { return bandButton_; }
    void SetBandButton(Qt::MouseButton button) { bandButton_ = button; }

    // ---- off-screen drawing ----
    bool IsBuffered() const { return buffered_; }
    // On: a fresh off-screen bitmap of the surface's size (pen black, brush white) becomes
    // TargetCanvas. Off: the bitmap is dropped and drawing goes to the screen image.
    void SetBuffered(bool on);
    // Copies the off-screen bitmap over the screen image (nothing while Buffered is off).
    void Present();

    // ---- canvases ----
    Canvas3D& TargetCanvas() { return *renderer_.Target(); }
    // A worker's copy of the drawing, at the surface's current size: its picture and pens
    // into canvas (made when there is none) and its renderer, aimed at that canvas.
    void CopyForWorker(std::unique_ptr<Canvas3D>& canvas, Renderer3D& renderer);
    Canvas3D* OffscreenCanvas() { return cache_.get(); }
    // The screen image's canvas: what is drawn here shows at the next repaint and is
    // overwritten by the next Present. Call update() after drawing on it.
    Canvas3D& ScreenCanvas() { return screen_; }
    const QImage& ScreenImage() const { return screen_.Image(); }
    // Runs draw with a renderer of the surface's view that draws on the screen image (a
    // preview shown while the full picture is drawn elsewhere), then schedules a repaint.
    template <class Draw>
    void DrawOnScreen(const Draw& draw) {
        SyncSize();
        Renderer3D screen = renderer_;
        screen.SetTarget(&screen_);
        draw(screen);
        update();
    }
    // Requests a repaint in which the owner is asked to redraw (redrawRequested).
    void RequestRedraw();
    // The owner has just redrawn this surface: a repaint already pending needs no redraw.
    void RedrawDone() { ownerPaintPending_ = false; }

    // ---- rubber band ----
    void BeginBand(Qt::MouseButton button, int x, int y);
    void DragBand(Qt::MouseButtons held, int x, int y);
    void EndBand(int x, int y);
    bool BandActive() const { return bandActive_; }

  signals:
    // The owner redraws the picture.
    void redrawRequested();
    void clicked();
    void doubleClicked();
    void resized();
    void mousePressed(Qt::MouseButton button, Qt::MouseButtons held, int x, int y);
    void mouseReleased(Qt::MouseButton button, Qt::MouseButtons held, int x, int y);
    void mouseMoved(Qt::MouseButtons held, int x, int y);

  protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;

  private:
    // Keeps the canvases and the clip size equal to the widget's size.
    void SyncSize();
    // Schedules a repaint when the drawing went to the screen image.
    void Drawn() {
        if (!buffered_) update();
    }
    void DrawBand();

    PixelPoint bandStart_;
    PixelPoint bandEnd_;
    PixelPoint mousePos_;
    bool bandActive_ = false;
    bool inDragBand_ = false;
    Qt::MouseButton bandButton_ = Qt::RightButton;
    bool buffered_ = false;
    bool ownerPaintPending_ = true;
    Canvas3D screen_;
    std::unique_ptr<Canvas3D> cache_;
    Renderer3D renderer_;
};

// One path drawn on several surfaces at once (the views of a window): LineTo projects the
// point for all of them before any draws (the projections need not wait for each other).
class SurfaceFan {
  public:
    static constexpr int kMaxSurfaces = 8;

    // The surfaces that receive drawing from now on (at most kMaxSurfaces, none null). A
    // surface that is not buffered at this call shows each line at once (update()).
    void SetSurfaces(Surface3D* const* surfaces, int count);
    int Count() const { return count_; }
    Surface3D* At(int i) const { return surfaces_[i]; }

    void LineTo(const Point3& p);
    // LineTo through each of the points in turn.
    void LinesTo(const Point3* points, std::size_t count);
    void Line(const Point3& a, const Point3& b);
    // Line from `from` to the first point, then from each point to the next.
    void LinesFrom(const Point3& from, const Point3* points, std::size_t count);
    // Whether any of the surfaces could show something inside the box low..high.
    bool BoxMayShow(const Point3& low, const Point3& high) const;

  private:
    // A surface that draws straight on its screen image shows the result.
    void ShowUnbuffered();

    Surface3D* surfaces_[kMaxSurfaces] = {};
    Renderer3D* renderers_[kMaxSurfaces] = {};
    int count_ = 0;
    bool anyUnbuffered_ = false;
};

}  // namespace cuttrace
