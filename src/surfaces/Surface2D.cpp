#include "surfaces/Surface2D.h"

#include <QPaintEvent>
#include <QPainter>
#include <QResizeEvent>

#include <algorithm>
#include <cmath>
#include <numbers>
#include <vector>

namespace cuttrace {

namespace {

constexpr int kTemporarySpare = 5;     // PolyLine's own array has this many spare entries
constexpr int kMaxFontPixels = 32767;  // larger rotated fonts are not made
constexpr double kDegree = std::numbers::pi / 180.0;
constexpr double kTenths = 10.0;  // font escapements are in tenths of a degree
constexpr std::uint32_t kBlack = 0x000000;
constexpr std::uint32_t kWhite = 0xFFFFFF;

QPoint ToQPoint(map2d::Pixel p) {
    return {p.x, p.y};
}

map2d::WidePixel Wide(const QPoint& p) {
    return {p.x(), p.y()};
}

}  // namespace

Surface2D::Surface2D(QWidget* parent) : QWidget(parent) {
    setMouseTracking(true);
    setAttribute(Qt::WA_OpaquePaintEvent);
    AreaHeight = height();
    AreaWidth = width();
    screen_ = QImage(size(), QImage::Format_RGB32);
    screen_.fill(Qt::white);
    screenCanvas_.SetImage(&screen_);
    DrawCanvas = &screenCanvas_;
    DrawCanvas->SetPenColor(Qt::black);
    DrawCanvas->SetBrushColor(Qt::white);
    DrawCanvas->SetBrushSolid(true);
}

Surface2D::~Surface2D() = default;

// ---------------------------------------------------------------------------------------
// Mapping

void Surface2D::AxisChange(WorldPoint2D& p) const {
    map2d::AxisChange(view_.AxisMode, p.x, p.y);
}

void Surface2D::Display(const WorldPoint2D& p, double& u, double& v) const {
    u = WorldPoint2D::Snap(p.x);
    v = WorldPoint2D::Snap(p.y);
    map2d::AxisChange(view_.AxisMode, u, v);
}

QPoint Surface2D::DisplayPixel(double u, double v) const {
    double X = 0.0;
    double Y = 0.0;
    map2d::DisplayToPixel(view_, u, v, X, Y);
    return {map2d::ToPixel(X), map2d::ToPixel(Y)};
}

QPoint Surface2D::PixelOf(const WorldPoint2D& p) const {
    return ToQPoint(map2d::WorldToPixel(view_, WorldPoint2D::Snap(p.x), WorldPoint2D::Snap(p.y)));
}

bool Surface2D::PointL2T(WorldPoint2D p, QPoint& out) const {
    out = PixelOf(p);
    return out.x() >= 0 && out.x() < AreaWidth && out.y() >= 0 && out.y() < AreaHeight;
}

void Surface2D::GetNowPoint(const QPoint& pixel, WorldPoint2D* out) const {
    if (out == nullptr) return;
    map2d::PixelToWorld(view_, pixel.x(), pixel.y(), out->x, out->y);
}

void Surface2D::GetDispPoint(const WorldPoint2D& p, QPoint& out) const {
    out = ToQPoint(map2d::WorldToScreen(view_, WorldPoint2D::Snap(p.x), WorldPoint2D::Snap(p.y)));
}

bool Surface2D::IsClip(int v, int isX) const {
    return v >= 0 && v <= (isX != 0 ? AreaWidth : AreaHeight) - 2;
}

bool Surface2D::ss(QPoint& out, const QPoint& a, const QPoint& b, const QPoint& c,
                   const QPoint& d) {
    map2d::WidePixel cross;
    if (!map2d::Intersect(cross, Wide(a), Wide(b), Wide(c), Wide(d))) return false;
    out = QPoint(static_cast<int>(cross.x), static_cast<int>(cross.y));
    return true;
}

// ---------------------------------------------------------------------------------------
// Drawing

void Surface2D::ShowDrawing() {
    if (DrawCanvas == &screenCanvas_ && !inPaint_) update();
}

void Surface2D::MoveTo(const WorldPoint2D& p) {
    Target().MoveTo(PixelOf(p));
}

void Surface2D::LineTo(const WorldPoint2D& p) {
    Target().LineTo(PixelOf(p));
    ShowDrawing();
}

void Surface2D::Line(const WorldPoint2D& a, const WorldPoint2D& b) {
    const map2d::WidePixel p =
        map2d::WorldToWidePixel(view_, WorldPoint2D::Snap(a.x), WorldPoint2D::Snap(a.y));
    const map2d::WidePixel q =
        map2d::WorldToWidePixel(view_, WorldPoint2D::Snap(b.x), WorldPoint2D::Snap(b.y));
    map2d::Pixel from;
    map2d::Pixel to;
    if (!map2d::ClipSegment(p, q, AreaWidth, AreaHeight, from, to)) return;
    Canvas2D& canvas = Target();
    canvas.MoveTo(ToQPoint(from));
    canvas.LineTo(ToQPoint(to));
    ShowDrawing();
}

void Surface2D::PolyLine(const WorldPoint2D* points, int count, QPoint* buffer) {
    if (points == nullptr || count <= 0) return;
    std::vector<QPoint> temporary;
    if (buffer == nullptr) {
        temporary.resize(static_cast<std::size_t>(count) + kTemporarySpare);
        buffer = temporary.data();
    }
    for (int i = 0; i < count; ++i)
        PointL2T(points[i], buffer[i]);
    Target().Polyline(buffer, count);
    ShowDrawing();
}

void Surface2D::PolyLine2(const QPoint* points, int last) {
    if (points == nullptr || last < 0) return;
    Target().Polyline(points, last + 1);
    ShowDrawing();
}

void Surface2D::PSet(const WorldPoint2D& p, double r, bool fill) {
    const QPoint centre = PixelOf(p);
    const int q = map2d::ToPixel(r * view_.Factor());
    const QPoint topLeft(centre.x() - q, centre.y() - q);
    const QPoint bottomRight(centre.x() + q, centre.y() + q);
    if (fill) {
        Target().Ellipse(topLeft, bottomRight);
    } else {
        const QPoint bottom(centre.x(), centre.y() + q);
        Target().Arc(topLeft, bottomRight, bottom, bottom);
    }
    ShowDrawing();
}

void Surface2D::CircleBox(const WorldPoint2D& c, double r, QPoint& topLeft,
                          QPoint& bottomRight) const {
    double u = 0.0;
    double v = 0.0;
    Display(c, u, v);
    topLeft = DisplayPixel(u - r, v + r);
    bottomRight = DisplayPixel(u + r, v - r);
}

void Surface2D::Circle(const WorldPoint2D& c, double r) {
    QPoint topLeft;
    QPoint bottomRight;
    CircleBox(c, r, topLeft, bottomRight);
    double u = 0.0;
    double v = 0.0;
    Display(c, u, v);
    const QPoint bottom = DisplayPixel(u, v - r);
    Target().Arc(topLeft, bottomRight, bottom, bottom);
    ShowDrawing();
}

void Surface2D::Arc(const WorldPoint2D& c, double r, const WorldPoint2D& a, const WorldPoint2D& b) {
    QPoint topLeft;
    QPoint bottomRight;
    CircleBox(c, r, topLeft, bottomRight);
    Target().Arc(topLeft, bottomRight, PixelOf(a), PixelOf(b));
    ShowDrawing();
}

void Surface2D::Pixel(const WorldPoint2D& p, std::uint32_t colour) {
    Target().SetPixel(PixelOf(p), ColorFromRef(colour));
    ShowDrawing();
}

void Surface2D::TextOutA(const WorldPoint2D& p, const QString& text, const QString& fontName) {
    Canvas2D& canvas = Target();
    QFont font = canvas.Font();
    const QString previous = font.family();
    font.setFamily(fontName);
    canvas.SetFont(font);
    canvas.SetBrushSolid(false);
    canvas.TextOut(PixelOf(p), text);
    canvas.SetBrushSolid(true);
    font.setFamily(previous);
    canvas.SetFont(font);
    ShowDrawing();
}

int Surface2D::TextWidth(const QString& text, const QString& fontName) {
    Canvas2D& canvas = Target();
    const QFont previous = canvas.Font();
    QFont font = previous;
    font.setFamily(fontName);
    canvas.SetFont(font);
    const int pixels = canvas.TextWidth(text);
    canvas.SetFont(previous);
    return map2d::ToPixel(pixels / view_.Scall / view_.Factor());
}

QFont Surface2D::RotatedFont(double height, const QString& fontName) const {
    const int cell = map2d::ToPixel(height * view_.Factor() * view_.Scall);
    return Canvas2D::FontOfHeight(fontName, std::clamp(cell, -kMaxFontPixels, kMaxFontPixels),
                                  DrawCanvas->Device());
}

void Surface2D::AngleTextOut(const WorldPoint2D& p, double angle, const QString& text,
                             double height, const QString& fontName) {
    double u = 0.0;
    double v = 0.0;
    Display(p, u, v);
    u -= std::sin(angle * kDegree) * height;
    v += std::cos(angle * kDegree) * height;
    const QPoint at = DisplayPixel(u, v);
    Canvas2D& canvas = Target();
    const QFont previous = canvas.Font();
    canvas.SetFont(RotatedFont(height, fontName));
    canvas.SetBrushSolid(false);
    const double escapement = std::trunc(angle * kTenths) / kTenths;
    canvas.TextOut(at, text, escapement);
    canvas.SetBrushSolid(true);
    canvas.SetFont(previous);
    ShowDrawing();
}

int Surface2D::AngleTextWidth(double /*angle*/, const QString& text, double height,
                              const QString& fontName) {
    Canvas2D& canvas = Target();
    const QFont previous = canvas.Font();
    canvas.SetFont(RotatedFont(height, fontName));
    const int pixels = canvas.TextWidth(text);
    canvas.SetFont(previous);
    return map2d::ToPixel(pixels / view_.Scall / view_.Factor());
}

void Surface2D::Cls(std::uint32_t colour) {
    SyncScreen();
    screenCanvas_.SetBrushSolid(true);
    screen_.fill(ColorFromRef(colour));
    if (!inPaint_) update();
}

void Surface2D::SetColor(std::uint32_t colour) {
    const QColor c = ColorFromRef(colour);
    DrawCanvas->SetFontColor(c);
    DrawCanvas->SetPenColor(c);
    DrawCanvas->SetBrushColor(c);
}

void Surface2D::InitColor() {
    DrawCanvas->SetFontColor(ColorFromRef(kBlack));
    DrawCanvas->SetPenColor(ColorFromRef(kBlack));
    DrawCanvas->SetBrushColor(ColorFromRef(kWhite));
}

void Surface2D::DrawOrgLine(std::uint32_t colour) {
    // The lines cross at the world origin of the current target (the page while printing).
    const map2d::Pixel origin = view_.Printing ? view_.PrintOrigin
                                               : map2d::Pixel{view_.Origin.x + view_.Offset.x,
                                                              view_.Origin.y + view_.Offset.y};
    Canvas2D& canvas = Target();
    const QColor previous = canvas.PenColor();
    canvas.SetPenColor(ColorFromRef(colour));
    canvas.MoveTo(QPoint(origin.x, 0));
    canvas.LineTo(QPoint(origin.x, AreaHeight));
    canvas.MoveTo(QPoint(0, origin.y));
    canvas.LineTo(QPoint(AreaWidth, origin.y));
    canvas.SetPenColor(previous);
    ShowDrawing();
}

// ---------------------------------------------------------------------------------------
// Modes and view

void Surface2D::SetPageDevice(QPaintDevice* device) {
    pageDevice_ = device;
    pagePainter_ = nullptr;
}

void Surface2D::SetPagePainter(QPainter* painter) {
    pagePainter_ = painter;
    pageDevice_ = nullptr;
}

void Surface2D::SetCanvas(int mode) {
    if (mode == kCanvasPrinter) {
        if (!view_.Printing) {
            if (pagePainter_ != nullptr && pagePainter_->isActive()) {
                pageCanvas_.SetPainter(pagePainter_);
            } else if (pageDevice_ != nullptr) {
                auto painter = std::make_unique<QPainter>();
                if (!painter->begin(pageDevice_)) return;
                ownPagePainter_ = std::move(painter);
                pageCanvas_.SetPainter(ownPagePainter_.get());
            } else {
                return;  // no page to print on: stay on the screen
            }
        }
        const QPaintDevice* page = pageCanvas_.Device();
        AreaHeight = page->height();
        AreaWidth = page->width();
        DrawCanvas = &pageCanvas_;
        view_.PrintOrigin =
            map2d::PageOrigin(view_, PrintOrg != 0, width(), height(), AreaWidth, AreaHeight);
        view_.Printing = true;
        return;
    }
    AreaHeight = height();
    AreaWidth = width();
    DrawCanvas = &screenCanvas_;
    view_.Printing = false;
    pageCanvas_.SetPainter(nullptr);
    if (ownPagePainter_) {
        ownPagePainter_->end();
        ownPagePainter_.reset();
    }
}

void Surface2D::Init() {
    view_.Scall = 1.0;
    view_.Origin = {width() / 2, height() / 2};
    view_.Offset = {};
    AreaHeight = height();
    AreaWidth = width();
}

void Surface2D::Zoomup() {
    map2d::ZoomAboutCentre(view_, {width() / 2, height() / 2}, ScallLenge, true);
    Invalidate();
}

void Surface2D::Zoomdown() {
    map2d::ZoomAboutCentre(view_, {width() / 2, height() / 2}, ScallLenge, false);
    Invalidate();
}

void Surface2D::Invalidate() {
    ownerPaintDue_ = true;
    update();
}

// ---------------------------------------------------------------------------------------
// Painting and resizing

void Surface2D::paintEvent(QPaintEvent* /*event*/) {
    if (ownerPaintDue_) {
        ownerPaintDue_ = false;
        inPaint_ = true;
        emit Paint();
        inPaint_ = false;
    }
    SyncScreen();
    QPainter painter(this);
    painter.drawImage(0, 0, screen_);
}

void Surface2D::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    if (SyncScreen()) ownerPaintDue_ = true;
}

Canvas2D& Surface2D::Target() {
    if (DrawCanvas == &screenCanvas_) SyncScreen();
    return *DrawCanvas;
}

bool Surface2D::SyncScreen() {
    // A hidden control gets its resize notification only when it is shown; its image
    // follows its size before any drawing all the same.
    if (screen_.size() == size()) return false;
    QImage image(size(), QImage::Format_RGB32);
    image.fill(Qt::white);
    if (!screen_.isNull() && !image.isNull()) {
        QPainter painter(&image);
        painter.drawImage(0, 0, screen_);
    }
    screen_ = std::move(image);
    screenCanvas_.SetImage(&screen_);
    return true;
}

}  // namespace cuttrace
