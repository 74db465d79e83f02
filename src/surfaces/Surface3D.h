// The 3D drawing surface: model points drawn through scale, rotation and pan, clipped lines,
// off-screen drawing with a copy to the screen, zoom about the centre and to a rubber band.
//
// The surface keeps two canvases: the screen image that paintEvent shows, and (while
// CashDraw is on) the off-screen bitmap that drawing goes to until Bilt copies it over the
// screen image. The owner redraws on OnPaint; it is raised when the surface is first shown,
// after a size change and after a band zoom (the screen image itself survives other
// repaints, so an uncovered window needs no redraw).
//
// Mouse notifications run: the owner's handler, the rubber-band step, the owner's handler
// again. The band is drawn with the buttons other than UseButton (the right button by
// default) on the screen image in not-xor mode; a press of UseButton cancels it.
#pragma once

#include <QWidget>

#include <cstdint>
#include <functional>
#include <memory>

#include "core/Point3.h"
#include "surfaces/Canvas3D.h"
#include "surfaces/Projection3D.h"
#include "surfaces/Renderer3D.h"

namespace cuttrace {

class Surface3D : public QWidget {
    Q_OBJECT

  public:
    enum class MouseButton { Left = 0, Right = 1, Middle = 2 };

    using NotifyEvent = std::function<void(QObject* sender)>;
    using MouseEvent = std::function<void(QObject* sender, MouseButton button,
                                          Qt::MouseButtons held, int x, int y)>;
    using MouseMoveEvent =
        std::function<void(QObject* sender, Qt::MouseButtons held, int x, int y)>;

    // The owner's event handlers; any may be empty.
    struct Events {
        NotifyEvent OnPaint;
        NotifyEvent OnClick;
        NotifyEvent OnDblClick;
        NotifyEvent OnResize;
        MouseEvent OnMouseDown;
        MouseEvent OnMouseUp;
        MouseMoveEvent OnMouseMove;
    };

    explicit Surface3D(QWidget* parent = nullptr);
    ~Surface3D() override;

    Events& Handlers() { return events_; }

    // ---- projection (scale, rotation, flip, origin plus offset) ----
    void afcal(Point3& p) const { renderer_.View().afcal(p); }
    PixelPoint Gposi(const Point3& p) const { return renderer_.View().Gposi(p); }
    Point3 Gaxis(const Point3& p) const { return renderer_.View().Gaxis(p); }

    // ---- drawing on DrawCanvas (colours are 0x00BBGGRR) ----
    // The canvases and the clip window follow the surface's size on every resize event and
    // at MoveTo, Cls and the other calls that begin a drawing; LineTo and Line, which a path
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
    // LineTo to a point already projected with Gposi (one path drawn in several surfaces
    // projects a point for all of them first: the projections need not wait for each other).
    void LineToPixel(PixelPoint q) {
        renderer_.LineToPixel(q);
        Drawn();
    }
    void PSet(const Point3& p, int r);
    void Polygon(const Point3* points, int last);
    void Polyline(const Point3* points, int last);
    void Cls(uint32_t colour);
    void SetColor(uint32_t colour) { renderer_.SetColor(colour); }
    void SetBColor(uint32_t colour) { renderer_.SetBColor(colour); }

    // ---- view ----
    // Scall 1, origin at the centre, no pan; rotation and zoom step stay.
    void Init();
    void Zoomup();
    void Zoomdown();
    double GetScall() const { return renderer_.View().Scall(); }
    void SetScall(double s) { renderer_.View().SetScall(s); }
    double GetScallLenge() const { return renderer_.View().ScallLenge(); }
    void SetScallLenge(double f) { renderer_.View().SetScallLenge(f); }
    Point3 GetAfine() const { return renderer_.View().Afine(); }
    void SetAfine(const Point3& degrees) { renderer_.View().SetAfine(degrees); }
    PixelPoint GetOrigin() const { return renderer_.View().Origin(); }
    void SetOrigin(PixelPoint p) { renderer_.View().SetOrigin(p); }
    PixelPoint GetOffset() const { return renderer_.View().Offset(); }
    void SetOffset(PixelPoint p) { renderer_.View().SetOffset(p); }
    bool GetMouseUse() const { return mouseUse_; }
    void SetMouseUse(bool use) { mouseUse_ = use; }
    MouseButton GetButton() const { return useButton_; }
    void SetButton(MouseButton button) { useButton_ = button; }

    // ---- off-screen drawing ----
    bool GetCashDraw() const { return cashDraw_; }
    // On: a fresh off-screen bitmap of the surface's size (pen black, brush white) becomes
    // DrawCanvas. Off: the bitmap is dropped and drawing goes to the screen image.
    void SetCashDraw(bool on);
    // Copies the off-screen bitmap over the screen image (nothing while CashDraw is off).
    void Bilt();

    // ---- canvases ----
    Canvas3D& DrawCanvas() { return *renderer_.Target(); }
    Canvas3D* CacheBitmap() { return cache_.get(); }
    // The screen image's canvas: what is drawn here shows at the next repaint and is
    // overwritten by the next Bilt. Call ScreenChanged() after drawing on it.
    Canvas3D& ScreenCanvas() { return screen_; }
    const QImage& ScreenImage() const { return screen_.Image(); }
    void ScreenChanged() { update(); }
    // Requests a repaint in which the owner's OnPaint redraws.
    void Invalidate();

    // ---- clipping helpers ----
    // 0 <= v <= Width - 2 (isX non-zero) or 0 <= v <= Height - 2.
    bool IsClip(int v, int isX) const;
    // Intersection of segments ab and cd (ends included), on ab.
    static bool ss(PixelPoint& out, PixelPoint a, PixelPoint b, PixelPoint c, PixelPoint d);

    // ---- rubber band ----
    void MRectStart(MouseButton button, int x, int y);
    void MRect(Qt::MouseButtons held, int x, int y);
    void MRectEnd(MouseButton button, int x, int y);
    bool BandActive() const { return bandActive_; }
    PixelPoint BandStart() const { return bandStart_; }
    PixelPoint BandEnd() const { return bandEnd_; }
    PixelPoint MousePos() const { return mousePos_; }

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
        if (!cashDraw_) update();
    }
    void DrawBand();
    void RaiseMouse(const MouseEvent& handler, MouseButton button, Qt::MouseButtons held, int x,
                    int y);

    PixelPoint bandStart_;
    PixelPoint bandEnd_;
    PixelPoint mousePos_;
    bool bandActive_ = false;
    bool inMRect_ = false;
    MouseButton useButton_ = MouseButton::Left;
    bool mouseUse_ = false;
    bool cashDraw_ = false;
    bool ownerPaintPending_ = true;
    Canvas3D screen_;
    std::unique_ptr<Canvas3D> cache_;
    Renderer3D renderer_;
    Events events_;
};

}  // namespace cuttrace
