// The drawing state of one target of the 2D surface (its own screen image or the printer's
// page): pen, brush and font with their colors, the pen mode and the pen position, as a
// paint-box canvas keeps them between calls.
//
// An image target gets a fresh painter for every operation; a page target is drawn through
// a painter that is active for the whole printing (for a printer, starting and ending the
// document belongs to whoever began that painter).
#pragma once

#include <QColor>
#include <QFont>
#include <QPoint>
#include <QRectF>
#include <QString>

#include <cstdint>
#include <functional>

class QImage;
class QPainter;
class QPaintDevice;

namespace cuttrace {

// 0x00BBGGRR (red in the lowest byte) to a color.
QColor ColorFromBgr(std::uint32_t color);

class Canvas2D {
  public:
    enum class PenMode { Copy, NotXor };

    Canvas2D();

    void SetImage(QImage* image);
    void SetPainter(QPainter* painter);
    bool HasTarget() const { return image_ != nullptr || painter_ != nullptr; }
    // The target device, or null.
    QPaintDevice* Device() const;

    QColor PenColor() const { return penColor_; }
    void SetPenColor(const QColor& c) { penColor_ = c; }
    QColor BrushColor() const { return brushColor_; }
    void SetBrushColor(const QColor& c) { brushColor_ = c; }
    bool BrushSolid() const { return brushSolid_; }
    void SetBrushSolid(bool solid) { brushSolid_ = solid; }
    QColor FontColor() const { return fontColor_; }
    void SetFontColor(const QColor& c) { fontColor_ = c; }
    const QFont& Font() const { return font_; }
    void SetFont(const QFont& f) { font_ = f; }
    PenMode Mode() const { return mode_; }
    void SetMode(PenMode m) { mode_ = m; }
    QPoint PenPos() const { return penPos_; }

    void MoveTo(QPoint p) { penPos_ = p; }
    // A line from the pen position to p without p's own pixel; the pen ends at p.
    void LineTo(QPoint p);
    void Polyline(const QPoint* points, int count);
    // Ellipse in the box (left, top)-(right, bottom), outlined with the pen and filled with
    // the brush.
    void Ellipse(QPoint topLeft, QPoint bottomRight);
    // Counter-clockwise arc of the ellipse in the box from the ray through `start` to the
    // ray through `end`; equal rays give the whole ellipse.
    void Arc(QPoint topLeft, QPoint bottomRight, QPoint start, QPoint end);
    void SetPixel(QPoint p, const QColor& c);
    // Text with its top-left corner at p, turned counter-clockwise by `degrees` about p.
    void DrawText(QPoint p, const QString& text, double degrees = 0.0);
    int TextWidth(const QString& text) const;

    // A font of the face with all other attributes plain: a positive height is the height
    // of the character cell (ascent plus descent), a negative one that of the characters,
    // 0 the default size; in pixels of the device (or the screen when null).
    static QFont FontOfHeight(const QString& face, int height, const QPaintDevice* device);

  private:
    void Paint(const std::function<void(QPainter&)>& draw);
    void ApplyPen(QPainter& painter) const;

    QImage* image_ = nullptr;
    QPainter* painter_ = nullptr;
    QColor penColor_;
    QColor brushColor_;
    bool brushSolid_ = true;
    QColor fontColor_;
    QFont font_;
    PenMode mode_ = PenMode::Copy;
    QPoint penPos_;
};

}  // namespace cuttrace
