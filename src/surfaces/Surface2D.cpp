#include "surfaces/Surface2D.h"

#include <QPaintEvent>
#include <QPainter>
#include <QResizeEvent>

#include <algorithm>
#include <cmath>
#include <vector>
#include "drawing/Geometry.h"

namespace cuttrace {

namespace {

constexpr int kTemporarySpare = 5;     // Polyline's own array has this many spare entries
constexpr int kMaxFontPixels = 32767;  // larger rotated fonts are not made
constexpr double kTenths = 10.0;       // font escapements are in tenths of a degree
constexpr std::uint32_t kBlack = 0x000000;
constexpr std::uint32_t kWhite = 0xFFFFFF;

QPoint ToQPoint(map2d::Pixel p) {
    return {p.x, p.y};
}

}  // namespace

Surface2D::Surface2D(QWidget* parent) : QWidget(parent) {
    setMouseTracking(true);
    setAttribute(Qt::WA_OpaquePaintEvent);
    areaHeight_ = height();
    areaWidth_ = width();
    screen_ = QImage(size(), QImage::Format_RGB32);
    screen_.fill(Qt::white);
    screenCanvas_.SetImage(&screen_);
    target_ = &screenCanvas_;
    target_->SetPenColor(Qt::black);
    target_->SetBrushColor(Qt::white);
    target_->SetBrushSolid(true);
}

Surface2D::~Surface2D() = default;

// ---------------------------------------------------------------------------------------
// Mapping

void Surface2D::ToDisplayAxes(WorldPoint2D& p) const {
    map2d::ToDisplayAxes(view_.orientation, p.x, p.y);
}

void Surface2D::Display(const WorldPoint2D& p, double& u, double& v) const {
    u = WorldPoint2D::Snap(p.x);
    v = WorldPoint2D::Snap(p.y);
    map2d::ToDisplayAxes(view_.orientation, u, v);
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

bool Surface2D::WorldToPixel(WorldPoint2D p, QPoint& out) const {
    out = PixelOf(p);
    return out.x() >= 0 && out.x() < areaWidth_ && out.y() >= 0 && out.y() < areaHeight_;
}

void Surface2D::PixelToWorld(const QPoint& pixel, WorldPoint2D* out) const {
    if (out == nullptr) return;
    map2d::PixelToWorld(view_, pixel.x(), pixel.y(), out->x, out->y);
}

void Surface2D::WorldToScreenPixel(const WorldPoint2D& p, QPoint& out) const {
    out = ToQPoint(map2d::WorldToScreen(view_, WorldPoint2D::Snap(p.x), WorldPoint2D::Snap(p.y)));
}

// ---------------------------------------------------------------------------------------
// Drawing

void Surface2D::ShowDrawing() {
    if (target_ == &screenCanvas_ && !inPaint_) update();
}

void Surface2D::MoveTo(const WorldPoint2D& p) {
    CurrentCanvas().MoveTo(PixelOf(p));
}

void Surface2D::LineTo(const WorldPoint2D& p) {
    CurrentCanvas().LineTo(PixelOf(p));
    ShowDrawing();
}

void Surface2D::Line(const WorldPoint2D& a, const WorldPoint2D& b) {
    const map2d::WidePixel p =
        map2d::WorldToWidePixel(view_, WorldPoint2D::Snap(a.x), WorldPoint2D::Snap(a.y));
    const map2d::WidePixel q =
        map2d::WorldToWidePixel(view_, WorldPoint2D::Snap(b.x), WorldPoint2D::Snap(b.y));
    map2d::Pixel from;
    map2d::Pixel to;
    if (!map2d::ClipSegment(p, q, areaWidth_, areaHeight_, from, to)) return;
    Canvas2D& canvas = CurrentCanvas();
    canvas.MoveTo(ToQPoint(from));
    canvas.LineTo(ToQPoint(to));
    ShowDrawing();
}

void Surface2D::Polyline(const WorldPoint2D* points, int count, QPoint* buffer) {
    if (points == nullptr || count <= 0) return;
    std::vector<QPoint> temporary;
    if (buffer == nullptr) {
        temporary.resize(static_cast<std::size_t>(count) + kTemporarySpare);
        buffer = temporary.data();
    }
    for (int i = 0; i < count; ++i)
        WorldToPixel(points[i], buffer[i]);
    CurrentCanvas().Polyline(buffer, count);
    ShowDrawing();
}

void Surface2D::PolylinePixels(const QPoint* points, int last) {
    if (points == nullptr || last < 0) return;
    CurrentCanvas().Polyline(points, last + 1);
    ShowDrawing();
}

void Surface2D::DrawDot(const WorldPoint2D& p, double r, bool fill) {
    const QPoint centre = PixelOf(p);
    const int q = map2d::ToPixel(r * view_.Factor());
    const QPoint topLeft(centre.x() - q, centre.y() - q);
    const QPoint bottomRight(centre.x() + q, centre.y() + q);
    if (fill) {
        CurrentCanvas().Ellipse(topLeft, bottomRight);
    } else {
        const QPoint bottom(centre.x(), centre.y() + q);
        CurrentCanvas().Arc(topLeft, bottomRight, bottom, bottom);
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
    CurrentCanvas().Arc(topLeft, bottomRight, bottom, bottom);
    ShowDrawing();
}

void Surface2D::Arc(const WorldPoint2D& c, double r, const WorldPoint2D& a, const WorldPoint2D& b) {
    QPoint topLeft;
    QPoint bottomRight;
    CircleBox(c, r, topLeft, bottomRight);
    CurrentCanvas().Arc(topLeft, bottomRight, PixelOf(a), PixelOf(b));
    ShowDrawing();
}

void Surface2D::Pixel(const WorldPoint2D& p, std::uint32_t color) {
    CurrentCanvas().SetPixel(PixelOf(p), ColorFromBgr(color));
    ShowDrawing();
}

void Surface2D::DrawText(const WorldPoint2D& p, const QString& text, const QString& fontName) {
    Canvas2D& canvas = CurrentCanvas();
    QFont font = canvas.Font();
    const QString previous = font.family();
    font.setFamily(fontName);
    canvas.SetFont(font);
    canvas.SetBrushSolid(false);
    canvas.DrawText(PixelOf(p), text);
    canvas.SetBrushSolid(true);
    font.setFamily(previous);
    canvas.SetFont(font);
    ShowDrawing();
}

int Surface2D::TextWidth(const QString& text, const QString& fontName) {
    Canvas2D& canvas = CurrentCanvas();
    const QFont previous = canvas.Font();
    QFont font = previous;
    font.setFamily(fontName);
    canvas.SetFont(font);
    const int pixels = canvas.TextWidth(text);
    canvas.SetFont(previous);
    return map2d::ToPixel(pixels / view_.Scale / view_.Factor());
}

QFont Surface2D::RotatedFont(double height, const QString& fontName) const {
    const int cell = map2d::ToPixel(height * view_.Factor() * view_.Scale);
    return Canvas2D::FontOfHeight(fontName, std::clamp(cell, -kMaxFontPixels, kMaxFontPixels),
                                  target_->Device());
}

void Surface2D::DrawRotatedText(const WorldPoint2D& p, double angle, const QString& text,
                                double height, const QString& fontName) {
    double u = 0.0;
    double v = 0.0;
    Display(p, u, v);
    u -= std::sin(angle * kRadiansPerDegree) * height;
    v += std::cos(angle * kRadiansPerDegree) * height;
    const QPoint at = DisplayPixel(u, v);
    Canvas2D& canvas = CurrentCanvas();
    const QFont previous = canvas.Font();
    canvas.SetFont(RotatedFont(height, fontName));
    canvas.SetBrushSolid(false);
    const double escapement = std::trunc(angle * kTenths) / kTenths;
    canvas.DrawText(at, text, escapement);
    canvas.SetBrushSolid(true);
    canvas.SetFont(previous);
    ShowDrawing();
}

int Surface2D::RotatedTextWidth(double /*angle*/, const QString& text, double height,
                                const QString& fontName) {
    Canvas2D& canvas = CurrentCanvas();
    const QFont previous = canvas.Font();
    canvas.SetFont(RotatedFont(height, fontName));
    const int pixels = canvas.TextWidth(text);
    canvas.SetFont(previous);
    return map2d::ToPixel(pixels / view_.Scale / view_.Factor());
}

void Surface2D::Clear(std::uint32_t color) {
    SyncScreen();
    screenCanvas_.SetBrushSolid(true);
    screen_.fill(ColorFromBgr(color));
    if (!inPaint_) update();
}

void Surface2D::SetPenColor(std::uint32_t color) {
    const QColor c = ColorFromBgr(color);
    target_->SetFontColor(c);
    target_->SetPenColor(c);
    target_->SetBrushColor(c);
}

void Surface2D::ResetColors() {
    target_->SetFontColor(ColorFromBgr(kBlack));
    target_->SetPenColor(ColorFromBgr(kBlack));
    target_->SetBrushColor(ColorFromBgr(kWhite));
}

void Surface2D::DrawOriginLines(std::uint32_t color) {
    // The lines cross at the world origin of the current target (the page while printing).
    const map2d::Pixel origin = view_.onPage ? view_.pageOrigin
                                             : map2d::Pixel{view_.Origin.x + view_.Offset.x,
                                                            view_.Origin.y + view_.Offset.y};
    Canvas2D& canvas = CurrentCanvas();
    const QColor previous = canvas.PenColor();
    canvas.SetPenColor(ColorFromBgr(color));
    canvas.MoveTo(QPoint(origin.x, 0));
    canvas.LineTo(QPoint(origin.x, areaHeight_));
    canvas.MoveTo(QPoint(0, origin.y));
    canvas.LineTo(QPoint(areaWidth_, origin.y));
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

void Surface2D::SetTarget(Target target) {
    if (target == Target::Page) {
        if (!view_.onPage) {
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
        areaHeight_ = page->height();
        areaWidth_ = page->width();
        target_ = &pageCanvas_;
        view_.pageOrigin = map2d::PageOrigin(view_, pageOriginCentred_, width(), height(),
                                             areaWidth_, areaHeight_);
        view_.onPage = true;
        return;
    }
    areaHeight_ = height();
    areaWidth_ = width();
    target_ = &screenCanvas_;
    view_.onPage = false;
    pageCanvas_.SetPainter(nullptr);
    if (ownPagePainter_) {
        ownPagePainter_->end();
        ownPagePainter_.reset();
    }
}

void Surface2D::ResetView() {
    view_.Scale = 1.0;
    view_.Origin = {width() / 2, height() / 2};
    view_.Offset = {};
    areaHeight_ = height();
    areaWidth_ = width();
}

void Surface2D::ZoomIn() {
    map2d::ZoomAboutCentre(view_, {width() / 2, height() / 2}, zoomFactor_, true);
    RequestRedraw();
}

void Surface2D::ZoomOut() {
    map2d::ZoomAboutCentre(view_, {width() / 2, height() / 2}, zoomFactor_, false);
    RequestRedraw();
}

void Surface2D::RequestRedraw() {
    ownerPaintDue_ = true;
    update();
}

// ---------------------------------------------------------------------------------------
// Painting and resizing

void Surface2D::paintEvent(QPaintEvent* /*event*/) {
    if (ownerPaintDue_) {
        ownerPaintDue_ = false;
        inPaint_ = true;
        emit redrawRequested();
        inPaint_ = false;
    }
    SyncScreen();
    QPainter painter(this);
    painter.drawImage(0, 0, screen_);
}

void Surface2D::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    if (SyncScreen()) ownerPaintDue_ = true;
    emit resized();
}

Canvas2D& Surface2D::CurrentCanvas() {
    if (target_ == &screenCanvas_) SyncScreen();
    return *target_;
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
