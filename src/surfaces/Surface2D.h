// The 2D drawing surface: draws world points (WorldPoint2D) through one of eight axis
// orientations, a scale and a pan into the control's own image, or onto a printer's page
// with its own scale and origin. Beyond lines it draws circles, arcs, point markers and
// plain or rotated text, turns pixels back into world points, and (while bandZoomEnabled_ is set)
// zooms to a dragged rubber band and re-centres on a right click.
//
// The control's own canvas is an image the size of the control; paintEvent shows it. The
// owner redraws into it when the surface raises redrawRequested (after an invalidation or a
// resize); drawing calls show their result without asking the owner to redraw.
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
    // Where drawing goes: the control's own screen image or the printer's page.
    enum class Target { Screen, Page };
    // After a press: no right button, the right button held, or the right and the left.
    enum class ClickMode { None, Right, Both };

    explicit Surface2D(QWidget* parent = nullptr);
    ~Surface2D() override;

    // --- mapping ---
    void ToDisplayAxes(WorldPoint2D& p) const;
    // The pixel of p; true when it lies inside the drawing area.
    bool WorldToPixel(WorldPoint2D p, QPoint& out) const;
    // The world point under a screen pixel; writes only x and y.
    void PixelToWorld(const QPoint& pixel, WorldPoint2D* out) const;
    // The screen pixel of p, also while printing.
    void WorldToScreenPixel(const WorldPoint2D& p, QPoint& out) const;

    // --- drawing (on the screen image, or on the page while printing) ---
    void MoveTo(const WorldPoint2D& p);
    void LineTo(const WorldPoint2D& p);
    // The segment a-b clipped to the drawing area.
    void Line(const WorldPoint2D& a, const WorldPoint2D& b);
    // Maps points 0..count-1 into `buffer` (or a temporary array when null) and draws them
    // as one polyline.
    void Polyline(const WorldPoint2D* points, int count, QPoint* buffer);
    // Draws points 0..last as one polyline.
    void PolylinePixels(const QPoint* points, int last);
    // A marker of r pixels (times the display or print factor, not the scale) around p.
    void DrawDot(const WorldPoint2D& p, double r, bool fill);
    void Circle(const WorldPoint2D& c, double r);
    // The arc of Circle(c, r) from the ray through a to the ray through b, counter-clockwise.
    void Arc(const WorldPoint2D& c, double r, const WorldPoint2D& a, const WorldPoint2D& b);
    void Pixel(const WorldPoint2D& p, std::uint32_t color);
    void DrawText(const WorldPoint2D& p, const QString& text, const QString& fontName);
    // Width of the text in world units.
    int TextWidth(const QString& text, const QString& fontName);
    // Text turned counter-clockwise by `angle` degrees, `height` world units high, with p
    // at the lower-left corner of its box.
    void DrawRotatedText(const WorldPoint2D& p, double angle, const QString& text, double height,
                         const QString& fontName);
    int RotatedTextWidth(double angle, const QString& text, double height, const QString& fontName);
    // Fills the control's own image (even while printing).
    void Clear(std::uint32_t color);
    void SetPenColor(std::uint32_t color);
    void ResetColors();
    void DrawOriginLines(std::uint32_t color);

    // --- modes and view ---
    // The page for printing: a device the surface paints on between SetTarget(Target::Page) and the
    // return to the screen, or a painter the caller keeps active (for a printer, the
    // caller then starts and ends the document). The page must outlive the printing.
    void SetPageDevice(QPaintDevice* device);
    void SetPagePainter(QPainter* painter);
    // Page: draw on the page (nothing happens when no page is set); Screen: back to the screen.
    void SetTarget(Target target);
    // On the page, the world origin goes to the page's centre (or where the screen's centre
    // lands on the page).
    void SetPageOriginCentred(bool centred) { pageOriginCentred_ = centred; }
    void ResetView();
    void ZoomIn();
    void ZoomOut();
    void RequestRedraw();

    void SetScale(double v) { view_.Scale = v; }
    double Scale() const { return view_.Scale; }
    void SetZoomFactor(double v) { zoomFactor_ = v; }
    double ZoomFactor() const { return zoomFactor_; }
    void SetPageScaleFactor(double v) { view_.pageFactor = v; }
    double PageScaleFactor() const { return view_.pageFactor; }
    void SetScreenScaleFactor(double v) { view_.screenFactor = v; }
    double ScreenScaleFactor() const { return view_.screenFactor; }
    void SetOrientation(map2d::AxisOrientation v) { view_.orientation = v; }
    map2d::AxisOrientation Orientation() const { return view_.orientation; }
    void SetOrigin(const QPoint& p) { view_.Origin = {p.x(), p.y()}; }
    QPoint GetOrigin() const { return {view_.Origin.x, view_.Origin.y}; }
    void SetOffset(const QPoint& p) { view_.Offset = {p.x(), p.y()}; }
    QPoint GetOffset() const { return {view_.Offset.x, view_.Offset.y}; }
    QPoint GetPrintOrigin() const { return {view_.pageOrigin.x, view_.pageOrigin.y}; }
    void SetBandZoomEnabled(bool v) { bandZoomEnabled_ = v; }
    bool BandZoomEnabled() const { return bandZoomEnabled_; }
    void SetBandButton(Qt::MouseButton b) { bandButton_ = b; }
    Qt::MouseButton BandButton() const { return bandButton_; }
    bool IsPrinting() const { return view_.onPage; }
    int DrawingWidth() const { return areaWidth_; }
    int DrawingHeight() const { return areaHeight_; }
    ClickMode CurrentClickMode() const { return clickMode_; }
    bool BandActive() const { return bandActive_; }
    const map2d::View& GetView() const { return view_; }

    // The control's own canvas and the canvas drawing goes to now.
    const QImage& ScreenImage() {
        SyncScreen();
        return screen_;
    }
    Canvas2D& TargetCanvas() { return CurrentCanvas(); }

    // --- mouse steps (the notifications call these; owners may too) ---
    void BeginBand(Qt::MouseButton button, int x, int y);
    void DragBand(Qt::MouseButtons held, int x, int y);
    void EndBand(int x, int y);
    // The release notification: EndBand, then mouseReleased.
    void HandleRelease(Qt::MouseButton button, Qt::MouseButtons held, int x, int y);

  signals:
    // The owner redraws the picture.
    void redrawRequested();
    void clicked();
    void doubleClicked();
    void resized();
    void mousePressed(Qt::MouseButton button, Qt::MouseButtons held, int x, int y);
    // After the release's band zoom or re-centring.
    void mouseReleased(Qt::MouseButton button, Qt::MouseButtons held, int x, int y);
    void mouseMoved(Qt::MouseButtons held, int x, int y);

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
    Canvas2D& CurrentCanvas();
    // Gives the screen image the control's size, keeping what fits; true if it changed.
    bool SyncScreen();
    // Shows what was drawn on the screen image (not while the owner repaints).
    void ShowDrawing();

    QPoint bandStart_;
    QPoint bandEnd_;
    QPoint mousePos_;
    bool bandActive_ = false;
    bool inDragBand_ = false;
    double zoomFactor_ = 1.5;
    map2d::View view_;
    bool pageOriginCentred_ = false;
    Qt::MouseButton bandButton_ = Qt::LeftButton;
    bool bandZoomEnabled_ = false;
    Canvas2D* target_ = nullptr;
    int areaHeight_ = 0;
    int areaWidth_ = 0;
    ClickMode clickMode_ = ClickMode::None;

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
