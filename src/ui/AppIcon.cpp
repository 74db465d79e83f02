#include "ui/AppIcon.h"

#include <QPainter>
#include <QPainterPath>
#include <cmath>
#include <numbers>

namespace cuttrace::ui {

namespace {

constexpr int kGlyphSize = 20;
const QColor kInk(40, 52, 80);
const QColor kAccent(200, 70, 60);
const QColor kGreen(40, 150, 70);
const QColor kBlue(50, 100, 200);

QPointF OnCircle(QPointF centre, double radius, double degrees) {
    const double a = degrees * std::numbers::pi / 180.0;
    return {centre.x() + radius * std::cos(a), centre.y() - radius * std::sin(a)};
}

// The glyphs of the files, the settings and the views.
void DrawFileOrViewGlyph(QPainter& p, Tool tool);

void DrawGlyph(QPainter& p, Tool tool) {
    const QPen ink(kInk, 1.6, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
    p.setPen(ink);
    p.setBrush(Qt::NoBrush);
    switch (tool) {
        case Tool::Open:
            p.setBrush(QColor(235, 200, 110));
            p.drawPolygon(QPolygonF({{2, 5}, {8, 5}, {10, 7}, {18, 7}, {18, 16}, {2, 16}}));
            break;
        case Tool::Start:
            p.setBrush(kGreen);
            p.drawPolygon(QPolygonF({{5, 3}, {17, 10}, {5, 17}}));
            break;
        case Tool::Stop:
            p.setBrush(kAccent);
            p.drawRect(QRectF(4.5, 4.5, 11, 11));
            break;
        case Tool::Reset: {
            p.drawArc(QRectF(4, 4, 12, 12), 100 * 16, 290 * 16);
            p.setBrush(kInk);
            p.drawPolygon(QPolygonF({{8, 1.5}, {12, 4.5}, {8, 7}}));
            break;
        }
        case Tool::QuickRun:
            p.setBrush(QColor(240, 190, 40));
            p.drawPolygon(QPolygonF({{11, 1}, {4, 11}, {9, 11}, {7, 19}, {16, 8}, {11, 8}}));
            break;
        case Tool::MacroVariables: {
            QFont f = p.font();
            f.setPixelSize(15);
            f.setBold(true);
            p.setFont(f);
            p.drawText(QRectF(0, 0, kGlyphSize, kGlyphSize), Qt::AlignCenter, QStringLiteral("#"));
            break;
        }
        case Tool::WriteExpanded:
            p.setBrush(Qt::white);
            p.drawRect(QRectF(3.5, 2.5, 11, 15));
            for (int y : {6, 9, 12})
                p.drawLine(QPointF(6, y), QPointF(12, y));
            p.setPen(QPen(kBlue, 2));
            p.drawLine(QPointF(12, 15), QPointF(18, 15));
            p.drawLine(QPointF(15.5, 12.5), QPointF(18, 15));
            p.drawLine(QPointF(15.5, 17.5), QPointF(18, 15));
            break;
        default:
            DrawFileOrViewGlyph(p, tool);
            break;
    }
}

void DrawFileOrViewGlyph(QPainter& p, Tool tool) {
    switch (tool) {
        case Tool::SavePicture:
        case Tool::LoadPicture: {
            p.setBrush(QColor(210, 225, 245));
            p.drawRect(QRectF(2.5, 2.5, 15, 15));
            p.setPen(QPen(kAccent, 1.6));
            p.drawArc(QRectF(5, 5, 10, 10), 0, 270 * 16);
            p.setPen(QPen(kBlue, 2.2));
            const bool save = tool == Tool::SavePicture;
            p.drawLine(QPointF(15, save ? 10 : 18), QPointF(15, save ? 18 : 10));
            p.drawLine(QPointF(12, save ? 15 : 13), QPointF(15, save ? 18 : 10));
            p.drawLine(QPointF(18, save ? 15 : 13), QPointF(15, save ? 18 : 10));
            break;
        }
        case Tool::Settings: {
            const QPointF c(10, 10);
            for (int i = 0; i < 8; ++i)
                p.drawLine(OnCircle(c, 4, i * 45), OnCircle(c, 8, i * 45));
            p.setBrush(Qt::white);
            p.drawEllipse(c, 5, 5);
            p.drawEllipse(c, 2, 2);
            break;
        }
        case Tool::Clear:
            p.setPen(QPen(kAccent, 2.2, Qt::SolidLine, Qt::RoundCap));
            p.drawLine(QPointF(5, 5), QPointF(15, 15));
            p.drawLine(QPointF(15, 5), QPointF(5, 15));
            break;
        case Tool::SingleView:
            p.setBrush(Qt::white);
            p.drawRect(QRectF(3.5, 3.5, 13, 13));
            break;
        case Tool::CycleLayout:
            p.setBrush(Qt::white);
            for (double x : {2.5, 10.5}) {
                for (double y : {2.5, 10.5})
                    p.drawRect(QRectF(x, y, 7, 7));
            }
            break;
        default:
            break;
    }
}

}  // namespace

QPixmap ProgramPicture(int size) {
    QPixmap picture(size, size);
    picture.fill(Qt::transparent);
    QPainter p(&picture);
    p.setRenderHint(QPainter::Antialiasing);
    const double s = size / 64.0;
    p.scale(s, s);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(43, 58, 85));
    p.drawRoundedRect(QRectF(2, 2, 60, 60), 10, 10);
    const QPointF centre(32, 32);
    p.setBrush(QColor(225, 230, 238));
    p.drawEllipse(centre, 24, 24);
    p.setPen(QPen(kAccent, 2.4));
    p.setBrush(Qt::NoBrush);
    p.drawEllipse(centre, 24, 24);
    p.drawEllipse(centre, 8, 8);
    p.setPen(Qt::NoPen);
    p.setBrush(kBlue);
    for (int i = 0; i < 6; ++i)
        p.drawEllipse(OnCircle(centre, 16, 30 + 60 * i), 3.2, 3.2);
    return picture;
}

QIcon AppIcon() {
    QIcon icon;
    for (int size : {16, 24, 32, 48, 64, 128, 256})
        icon.addPixmap(ProgramPicture(size));
    return icon;
}

QIcon ToolIcon(Tool tool) {
    QIcon icon;
    for (int scale : {1, 2}) {
        QPixmap pixmap(kGlyphSize * scale, kGlyphSize * scale);
        pixmap.setDevicePixelRatio(scale);
        pixmap.fill(Qt::transparent);
        QPainter p(&pixmap);
        p.setRenderHint(QPainter::Antialiasing);
        DrawGlyph(p, tool);
        p.end();
        icon.addPixmap(pixmap);
    }
    return icon;
}

}  // namespace cuttrace::ui
