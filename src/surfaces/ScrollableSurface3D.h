// The 3D drawing panel: a Surface3D filling the panel, a horizontal scroll bar along the
// bottom and a vertical one along the right that pan the drawing.
//
// A user scroll sets the surface's Offset from the thumb position and asks for a full redraw
// (Pain); setting a position from code only moves the thumb. Init, the zooms and every mouse
// release put both thumbs back to 0 (the surface drops its Offset when it inits or zooms).
//
// Events: the panel's paint, mouse-down, mouse-move, click and double-click handlers are
// raised for the surface's events, with the surface as the sender; the surface's mouse-up
// goes to DrawBox3D1MouseUp, which raises the panel's mouse-up handler with the panel as the
// sender. Handlers may be assigned at any time.
#pragma once

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
    using MouseButton = Surface3D::MouseButton;
    using NotifyEvent = Surface3D::NotifyEvent;
    using MouseEvent = Surface3D::MouseEvent;
    using MouseMoveEvent = Surface3D::MouseMoveEvent;

    struct Events {
        NotifyEvent OnPaint;
        NotifyEvent OnClick;
        NotifyEvent OnDblClick;
        MouseEvent OnMouseDown;
        MouseEvent OnMouseUp;
        MouseMoveEvent OnMouseMove;
    };

    explicit ScrollableSurface3D(QWidget* parent = nullptr);
    ~ScrollableSurface3D() override;

    Events& Handlers() { return events_; }
    QScrollBar* ScrollBar1() const { return scrollBar1_; }  // horizontal
    QScrollBar* ScrollBar2() const { return scrollBar2_; }  // vertical
    Surface3D* DrawBox3D1() const { return drawBox_; }

    // Raises the paint handler with the panel as the sender (a full redraw by the owner).
    void Pain();

    // ---- scroll bars (a range the bar cannot take is adjusted by the bar) ----
    int GetXMin() const;
    void SetXMin(int v);
    int GetXMax() const;
    void SetXMax(int v);
    int GetXPos() const;
    void SetXPos(int v);
    int GetYMin() const;
    void SetYMin(int v);
    int GetYMax() const;
    void SetYMax(int v);
    int GetYPos() const;
    void SetYPos(int v);

    // ---- view changes that also centre both thumbs ----
    void Init();
    void Zoomup();
    void Zoomdown();

    // ---- forwarded to the surface ----
    void Cls(uint32_t colour) { drawBox_->Cls(colour); }
    void MoveTo(const Point3& p) { drawBox_->MoveTo(p); }
    void LineTo(const Point3& p) { drawBox_->LineTo(p); }
    void Line(const Point3& a, const Point3& b) { drawBox_->Line(a, b); }
    void Polygon(const Point3* points, int last) { drawBox_->Polygon(points, last); }
    void Polyline(const Point3* points, int last) { drawBox_->Polyline(points, last); }
    void PSet(const Point3& p, int r) { drawBox_->PSet(p, r); }
    void SetColor(uint32_t colour) { drawBox_->SetColor(colour); }
    void SetBColor(uint32_t colour) { drawBox_->SetBColor(colour); }
    void SetMouseUse(bool use) { drawBox_->SetMouseUse(use); }
    bool GetMouseUse() const { return drawBox_->GetMouseUse(); }
    void SetCashDraw(bool on) { drawBox_->SetCashDraw(on); }
    bool GetCashDraw() const { return drawBox_->GetCashDraw(); }
    void SetScall(double s) { drawBox_->SetScall(s); }
    double GetScall() const { return drawBox_->GetScall(); }
    void SetScallLenge(double f) { drawBox_->SetScallLenge(f); }
    double GetScallLenge() const { return drawBox_->GetScallLenge(); }
    void SetAfine(const Point3& degrees) { drawBox_->SetAfine(degrees); }
    Point3 GetAfine() const { return drawBox_->GetAfine(); }
    void SetOrigin(PixelPoint p) { drawBox_->SetOrigin(p); }
    PixelPoint GetOrigin() const { return drawBox_->GetOrigin(); }
    PixelPoint Gposi(const Point3& p) const { return drawBox_->Gposi(p); }
    Point3 Gaxis(const Point3& p) const { return drawBox_->Gaxis(p); }

    // ---- handlers ----
    // A user scroll: the surface's Offset takes the position, then a full redraw.
    void ScrollBar1Scroll(int position);
    void ScrollBar2Scroll(int position);
    // The surface's mouse-up: the panel's handler, then both thumbs to 0.
    void DrawBox3D1MouseUp(QObject* sender, MouseButton button, Qt::MouseButtons held, int x,
                           int y);

  private:
    void CentreThumbs();

    Events events_;
    QScrollBar* scrollBar1_;
    QScrollBar* scrollBar2_;
    Surface3D* drawBox_;
};

}  // namespace cuttrace
