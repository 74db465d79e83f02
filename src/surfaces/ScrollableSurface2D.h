// The 2D drawing panel: one Surface2D filling the panel, a horizontal scroll bar along the
// bottom and a vertical one along the right that pan the drawing (they set the surface's
// Offset), and operations forwarded to the surface.
//
// A user scroll sets the pan from the thumb and repaints; Init and the zooms centre the
// thumbs (position 0); after every mouse release on the surface the thumbs show the
// surface's Offset, so they follow a re-centring click or a rectangle zoom. The panel
// repaints by invalidation: the surface's repaint raises Paint, which the panel passes on.
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

    Surface2D* GetDrawBox() const { return DrawBox; }
    QScrollBar* GetScrollBar1() const { return ScrollBar1; }
    QScrollBar* GetScrollBar2() const { return ScrollBar2; }

    // Requests a repaint of the panel and the surface; the surface's repaint raises Paint.
    void Pain();

    // The scroll handlers: the thumb position becomes the surface's pan.
    void ScrollBar1Scroll(int code, int position);
    void ScrollBar2Scroll(int code, int position);
    // The surface's release: the panel's MouseUp, then the thumbs show the surface's Offset.
    void DrawBoxMouseUp(Qt::MouseButton button, Qt::MouseButtons held,
                        Qt::KeyboardModifiers modifiers, int x, int y);

    // Forwarded to the surface; the thumbs go to 0 and the panel repaints.
    void Init();
    void Zoomup();
    void Zoomdown();

    // Forwarded to the surface.
    void SetCanvas(int mode) { DrawBox->SetCanvas(mode); }
    void DrawOrgLine(std::uint32_t colour) { DrawBox->DrawOrgLine(colour); }
    void InitColor() { DrawBox->InitColor(); }
    void Cls(std::uint32_t colour) { DrawBox->Cls(colour); }
    void LineTo(const WorldPoint2D& p) { DrawBox->LineTo(p); }
    void MoveTo(const WorldPoint2D& p) { DrawBox->MoveTo(p); }
    void PSet(const WorldPoint2D& p, double r, bool fill) { DrawBox->PSet(p, r, fill); }
    void Circle(const WorldPoint2D& c, double r) { DrawBox->Circle(c, r); }
    void Arc(const WorldPoint2D& c, double r, const WorldPoint2D& a, const WorldPoint2D& b) {
        DrawBox->Arc(c, r, a, b);
    }
    void Line(const WorldPoint2D& a, const WorldPoint2D& b) { DrawBox->Line(a, b); }
    void PolyLine(const WorldPoint2D* points, int count, QPoint* buffer) {
        DrawBox->PolyLine(points, count, buffer);
    }
    void PolyLine2(const QPoint* points, int last) { DrawBox->PolyLine2(points, last); }
    void SetColor(std::uint32_t colour) { DrawBox->SetColor(colour); }
    void SetMouseUse(bool v) { DrawBox->SetMouseUse(v); }
    bool GetMouseUse() const { return DrawBox->GetMouseUse(); }
    void SetScall(double v) { DrawBox->SetScall(v); }
    double GetScall() const { return DrawBox->GetScall(); }
    void SetScallLenge(double v) { DrawBox->SetScallLenge(v); }
    double GetScallLenge() const { return DrawBox->GetScallLenge(); }
    void SetOrigin(const QPoint& p) { DrawBox->SetOrigin(p); }
    QPoint GetOrigin() const { return DrawBox->GetOrigin(); }
    void SetButton(Qt::MouseButton b) { DrawBox->SetButton(b); }
    Qt::MouseButton GetButton() const { return DrawBox->GetButton(); }
    void GetNowPoint(const QPoint& pixel, WorldPoint2D* out) const {
        DrawBox->GetNowPoint(pixel, out);
    }
    void SetPScall(double v) { DrawBox->SetPrintScall(v); }
    double GetPScall() const { return DrawBox->GetPrintScall(); }
    void SetDScall(double v) { DrawBox->SetDispScall(v); }
    double GetDScall() const { return DrawBox->GetDispScall(); }
    void Setaxismode(int v) { DrawBox->SetAxisMode(v); }
    int Getaxismode() const { return DrawBox->GetAxisMode(); }

    // Range and position of the horizontal (X) and vertical (Y) scroll bars. Setting a
    // position moves the thumb only; it does not pan.
    void SetXMin(int v);
    int GetXMin() const;
    void SetXMax(int v);
    int GetXMax() const;
    void SetXPos(int v);
    int GetXPos() const;
    void SetYMin(int v);
    int GetYMin() const;
    void SetYMax(int v);
    int GetYMax() const;
    void SetYPos(int v);
    int GetYPos() const;

  signals:
    void Paint();
    void MouseDown(Qt::MouseButton button, Qt::MouseButtons held, Qt::KeyboardModifiers modifiers,
                   int x, int y);
    void MouseMove(Qt::MouseButtons held, Qt::KeyboardModifiers modifiers, int x, int y);
    void MouseUp(Qt::MouseButton button, Qt::MouseButtons held, Qt::KeyboardModifiers modifiers,
                 int x, int y);
    void Click();
    void DblClick();

  protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

  private:
    // The thumbs show the surface's pan.
    void FollowOffset();
    void CentreThumbs();

    QScrollBar* ScrollBar1 = nullptr;  // owned through the parent
    QScrollBar* ScrollBar2 = nullptr;
    Surface2D* DrawBox = nullptr;
};

}  // namespace cuttrace
