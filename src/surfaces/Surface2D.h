// The 2D drawing surface: draws world points (WorldPoint2D) through one of eight axis
// orientations, a scale and a pan into the control's own image, or onto a printer's page
// with its own scale and origin. Beyond lines it draws circles, arcs, point markers and
// plain or rotated text, turns pixels back into world points, and (while MouseUse is set)
// zooms to a dragged rubber band and re-centres on a right click.
//
// The control's own canvas is an image the size of the control; paintEvent shows it. The
// owner redraws into it when the surface raises Paint (after an invalidation or a resize);
// drawing calls show their result without asking the owner to redraw.
#pragma once

#include <QImage>
#include <QPoint>
#include <QString>
#include <QWidget>

#include <cstdint>
#include <memory>

#include "surfaces/Canvas2D.h"
#include "surfaces/Mapping2D.h"
#include "surfaces/WorldPoint2D.h"

class QPainter;
class QPaintDevice;

namespace cuttrace {

class Surface2D : public QWidget {
    Q_OBJECT

  public:
    // SetCanvas: draw on the printer's page; any other value draws on the screen.
    static constexpr int kCanvasPrinter = 1;
    // ClickMode after a press: the right button held, or the right and the left.
    static constexpr int kClickNone = 0;
    static constexpr int kClickRight = 1;
    static constexpr int kClickBoth = 2;

    explicit Surface2D(QWidget* parent = nullptr);
    ~Surface2D() override;

    // --- mapping ---
    void AxisChange(WorldPoint2D& p) const;
    // The pixel of p; true when it lies inside the drawing area.
    bool PointL2T(WorldPoint2D p, QPoint& out) const;
    // The world point under a screen pixel; writes only x and y.
    void GetNowPoint(const QPoint& pixel, WorldPoint2D* out) const;
    // The screen pixel of p, also while printing.
    void GetDispPoint(const WorldPoint2D& p, QPoint& out) const;
    bool IsClip(int v, int isX) const;
    // Intersection of the segments ab and cd (the result lies on ab).
    static bool ss(QPoint& out, const QPoint& a, const QPoint& b, const QPoint& c, const QPoint& d);

    // --- drawing (on the screen image, or on the page while printing) ---
    void MoveTo(const WorldPoint2D& p);
    void LineTo(const WorldPoint2D& p);
    // The segment a-b clipped to the drawing area.
    void Line(const WorldPoint2D& a, const WorldPoint2D& b);
    // Maps points 0..count-1 into `buffer` (or a temporary array when null) and draws them
    // as one polyline.
    void PolyLine(const WorldPoint2D* points, int count, QPoint* buffer);
    // Draws points 0..last as one polyline.
    void PolyLine2(const QPoint* points, int last);
    // A marker of r pixels (times the display or print factor, not the scale) around p.
    void PSet(const WorldPoint2D& p, double r, bool fill);
    void Circle(const WorldPoint2D& c, double r);
    // The arc of Circle(c, r) from the ray through a to the ray through b, counter-clockwise.
    void Arc(const WorldPoint2D& c, double r, const WorldPoint2D& a, const WorldPoint2D& b);
    void Pixel(const WorldPoint2D& p, std::uint32_t colour);
    void TextOutA(const WorldPoint2D& p, const QString& text, const QString& fontName);
    // Width of the text in world units.
    int TextWidth(const QString& text, const QString& fontName);
    // Text turned counter-clockwise by `angle` degrees, `height` world units high, with p
    // at the lower-left corner of its box.
    void AngleTextOut(const WorldPoint2D& p, double angle, const QString& text, double height,
                      const QString& fontName);
    int AngleTextWidth(double angle, const QString& text, double height, const QString& fontName);
    // Fills the control's own image (even while printing).
    void Cls(std::uint32_t colour);
    void SetColor(std::uint32_t colour);
    void InitColor();
    void DrawOrgLine(std::uint32_t colour);

    // --- modes and view ---
    // The page for printing: a device the surface paints on between SetCanvas(1) and the
    // return to the screen, or a painter the caller keeps active (for a printer, the
    // caller then starts and ends the document). The page must outlive the printing.
    void SetPageDevice(QPaintDevice* device);
    void SetPagePainter(QPainter* painter);
    // kCanvasPrinter: draw on the page (nothing happens when no page is set); any other
    // value: back to the screen.
    void SetCanvas(int mode);
    void SetPrintOrg(int v) { PrintOrg = v; }
    void Init();
    void Zoomup();
    void Zoomdown();
    void Invalidate();

    void SetScall(double v) { view_.Scall = v; }
    double GetScall() const { return view_.Scall; }
    void SetScallLenge(double v) { ScallLenge = v; }
    double GetScallLenge() const { return ScallLenge; }
    void SetPrintScall(double v) { view_.PrintScall = v; }
    double GetPrintScall() const { return view_.PrintScall; }
    void SetDispScall(double v) { view_.DispScall = v; }
    double GetDispScall() const { return view_.DispScall; }
    void SetAxisMode(int v) { view_.AxisMode = v; }
    int GetAxisMode() const { return view_.AxisMode; }
    void SetOrigin(const QPoint& p) { view_.Origin = {p.x(), p.y()}; }
    QPoint GetOrigin() const { return {view_.Origin.x, view_.Origin.y}; }
    void SetOffset(const QPoint& p) { view_.Offset = {p.x(), p.y()}; }
    QPoint GetOffset() const { return {view_.Offset.x, view_.Offset.y}; }
    QPoint GetPrintOrigin() const { return {view_.PrintOrigin.x, view_.PrintOrigin.y}; }
    void SetMouseUse(bool v) { MouseUse = v; }
    bool GetMouseUse() const { return MouseUse; }
    void SetButton(Qt::MouseButton b) { UseButton = b; }
    Qt::MouseButton GetButton() const { return UseButton; }
    bool IsPrinting() const { return view_.Printing; }
    int GetAreaWidth() const { return AreaWidth; }
    int GetAreaHeight() const { return AreaHeight; }
    int GetClickMode() const { return ClickMode; }
    bool IsBandActive() const { return BandActive; }
    const map2d::View& GetView() const { return view_; }

    // The control's own canvas and the canvas drawing goes to now.
    const QImage& ScreenImage() {
        SyncScreen();
        return screen_;
    }
    Canvas2D& GetDrawCanvas() { return Target(); }

    // --- mouse steps (the notifications call these; owners may too) ---
    void MRectStart(Qt::MouseButton button, int x, int y);
    void MRect(Qt::MouseButtons held, int x, int y);
    void MRectEnd(Qt::MouseButton button, int x, int y);
    // The release notification: MouseUp, then MRectEnd, then Released.
    void MUp(Qt::MouseButton button, Qt::MouseButtons held, Qt::KeyboardModifiers modifiers, int x,
             int y);

  signals:
    // The owner redraws the picture.
    void Paint();
    void MouseDown(Qt::MouseButton button, Qt::MouseButtons held, Qt::KeyboardModifiers modifiers,
                   int x, int y);
    void MouseMove(Qt::MouseButtons held, Qt::KeyboardModifiers modifiers, int x, int y);
    void MouseUp(Qt::MouseButton button, Qt::MouseButtons held, Qt::KeyboardModifiers modifiers,
                 int x, int y);
    void Click();
    void DblClick();
    // A release has been handled: any band zoom or re-centring is done.
    void Released(Qt::MouseButton button, int x, int y);

  protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;

  private:
    // Display axes of a point, after the copy rule and the axis orientation.
    void Display(const WorldPoint2D& p, double& u, double& v) const;
    QPoint DisplayPixel(double u, double v) const;
    QPoint PixelOf(const WorldPoint2D& p) const;
    // The box of Circle(c, r).
    void CircleBox(const WorldPoint2D& c, double r, QPoint& topLeft, QPoint& bottomRight) const;
    QFont RotatedFont(double height, const QString& fontName) const;
    void Press(QMouseEvent* event);
    // Draws the band outline in not-xor mode on the screen image (drawing it twice removes it).
    void DrawBand();
    // The canvas drawing goes to, with the screen image brought to the control's size.
    Canvas2D& Target();
    // Gives the screen image the control's size, keeping what fits; true if it changed.
    bool SyncScreen();
    // Shows what was drawn on the screen image (not while the owner repaints).
    void ShowDrawing();

    QPoint BandStart;
    QPoint BandEnd;
    QPoint MousePos;
    bool BandActive = false;
    bool InMRect = false;
    double ScallLenge = 1.5;
    map2d::View view_;
    int PrintOrg = 0;
    Qt::MouseButton UseButton = Qt::LeftButton;
    bool MouseUse = false;
    Canvas2D* DrawCanvas = nullptr;
    int AreaHeight = 0;
    int AreaWidth = 0;
    int ClickMode = kClickNone;

    QImage screen_;
    Canvas2D screenCanvas_;
    Canvas2D pageCanvas_;
    QPaintDevice* pageDevice_ = nullptr;
    QPainter* pagePainter_ = nullptr;
    std::unique_ptr<QPainter> ownPagePainter_;
    bool ownerPaintDue_ = true;
    bool inPaint_ = false;
    bool leftPressed_ = false;
};

}  // namespace cuttrace
