#include "pictures/PictureSheet.h"

#include <QFont>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QSaveFile>
#include <QSvgGenerator>
#include <algorithm>
#include <cctype>

namespace cuttrace {

namespace {

constexpr int kPngCompression = 9;  // 0-100: low numbers pack hardest
constexpr char kTitle[] = "Cuttrace tool path";

// The title block's cells as (first column, row) in rows of kTitleColumns; the row count
// in *rows.
std::vector<QPoint> TitleCells(const std::vector<TitleCell>& cells, int* rows) {
    std::vector<QPoint> at;
    int column = 0;
    int row = 0;
    for (const TitleCell& cell : cells) {
        const int span = std::clamp(cell.span, 1, PictureSheet::kTitleColumns);
        if (column + span > PictureSheet::kTitleColumns) {
            column = 0;
            ++row;
        }
        at.emplace_back(column, row);
        column += span;
    }
    *rows = cells.empty() ? 0 : row + 1;
    return at;
}

void PaintTitle(QPainter& painter, const PictureSheet& sheet) {
    if (sheet.title.empty()) return;
    const QSize size = sheet.Size();
    const int top = sheet.ViewsSize().height();
    const int rowHeight = PictureSheet::kTitleRowHeight;
    const double columnWidth = static_cast<double>(size.width()) / PictureSheet::kTitleColumns;
    int rows = 0;
    const std::vector<QPoint> at = TitleCells(sheet.title, &rows);
    painter.save();
    painter.setPen(QPen(Qt::black, 1.0));
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(QRectF(0.5, top + 0.5, size.width() - 1.0, sheet.TitleHeight() - 1.0));
    QFont font = painter.font();
    font.setPixelSize(rowHeight * 11 / 20);
    QFont bold = font;
    bold.setBold(true);
    for (std::size_t i = 0; i < sheet.title.size(); ++i) {
        const TitleCell& title = sheet.title[i];
        const int span = std::clamp(title.span, 1, PictureSheet::kTitleColumns);
        const QRectF cell(at[i].x() * columnWidth + 6, top + at[i].y() * rowHeight,
                          span * columnWidth - 12, rowHeight);
        painter.setFont(bold);
        const QString label = title.label + QStringLiteral("  ");
        const double labelWidth = QFontMetricsF(bold).horizontalAdvance(label);
        painter.drawText(cell, Qt::AlignLeft | Qt::AlignVCenter, label);
        painter.setFont(font);
        painter.drawText(cell.adjusted(labelWidth, 0, 0, 0), Qt::AlignLeft | Qt::AlignVCenter,
                         QFontMetricsF(font).elidedText(title.value, Qt::ElideMiddle,
                                                        cell.width() - labelWidth));
    }
    painter.restore();
}

bool Failed(const std::string& path, std::string* error) {
    *error = "cannot write " + path;
    return false;
}

}  // namespace

QSize PictureSheet::ViewsSize() const {
    QRect box;
    for (const SheetView& view : views)
        box = box.united(view.place);
    return {std::max(0, box.right() + 1), std::max(0, box.bottom() + 1)};
}

int PictureSheet::TitleHeight() const {
    int rows = 0;
    TitleCells(title, &rows);
    return rows == 0 ? 0 : rows * kTitleRowHeight + 1;
}

QSize PictureSheet::Size() const {
    const QSize box = ViewsSize();
    if (title.empty()) return box;
    return {std::max(box.width(), kMinTitleWidth), box.height() + TitleHeight()};
}

bool SheetFormatOfFile(const std::string& path, SheetFormat* format) {
    const std::size_t dot = path.rfind('.');
    if (dot == std::string::npos || path.find('/', dot) != std::string::npos) return false;
    std::string extension = path.substr(dot + 1);
    std::transform(extension.begin(), extension.end(), extension.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    if (extension == "png") {
        *format = SheetFormat::Png;
    } else if (extension == "svg") {
        *format = SheetFormat::Svg;
    } else if (extension == "pdf") {
        *format = SheetFormat::Pdf;
    } else {
        return false;
    }
    return true;
}

void PaintSheet(QPainter& painter, const PictureSheet& sheet, bool raster) {
    const QSize size = sheet.Size();
    painter.fillRect(QRect(QPoint(0, 0), size), Qt::white);
    for (const SheetView& view : sheet.views) {
        painter.save();
        painter.translate(view.place.topLeft());
        const QRect area(QPoint(0, 0), view.place.size());
        painter.setClipRect(area);
        if (raster) {
            painter.drawImage(QPoint(0, 0), view.shown);
        } else {
            if (!view.background.isNull()) painter.drawImage(QPoint(0, 0), view.background);
            if (view.path) view.path->Paint(painter);
        }
        painter.restore();
        if (sheet.views.size() > 1) {
            painter.save();
            painter.setPen(QPen(Qt::gray, 1.0));
            painter.drawRect(QRectF(view.place).adjusted(0.5, 0.5, -0.5, -0.5));
            painter.restore();
        }
    }
    PaintTitle(painter, sheet);
}

bool SaveSheet(const PictureSheet& sheet, const std::string& path, std::string* error) {
    SheetFormat format = SheetFormat::Png;
    if (!SheetFormatOfFile(path, &format)) {
        *error = "not a .png, .svg or .pdf file name: " + path;
        return false;
    }
    const QSize size = sheet.Size();
    if (size.isEmpty()) {
        *error = "nothing to write";
        return false;
    }
    QSaveFile file(QString::fromStdString(path));
    if (!file.open(QIODevice::WriteOnly)) return Failed(path, error);
    bool painted = false;
    if (format == SheetFormat::Png) {
        QImage image(size, QImage::Format_RGB32);
        QPainter painter(&image);
        PaintSheet(painter, sheet, true);
        painted = painter.end() && image.save(&file, "PNG", kPngCompression);
    } else if (format == SheetFormat::Svg) {
        QSvgGenerator svg;
        svg.setOutputDevice(&file);
        svg.setSize(size);
        svg.setViewBox(QRect(QPoint(0, 0), size));
        svg.setTitle(QString::fromLatin1(kTitle));
        QPainter painter;
        painted = painter.begin(&svg);
        if (painted) {
            PaintSheet(painter, sheet, false);
            painted = painter.end();
        }
    } else {
        QPdfWriter pdf(&file);
        pdf.setResolution(72);  // one point a sheet unit
        pdf.setPageSize(QPageSize(QSizeF(size), QPageSize::Point));
        pdf.setPageMargins(QMarginsF());
        pdf.setTitle(QString::fromLatin1(kTitle));
        pdf.setCreator(QStringLiteral("Cuttrace"));
        QPainter painter;
        painted = painter.begin(&pdf);
        if (painted) {
            PaintSheet(painter, sheet, false);
            painted = painter.end();
        }
    }
    // An error of the device (a full disk) shows in the file: nothing is committed then.
    if (!painted || file.error() != QFileDevice::NoError || !file.commit())
        return Failed(path, error);
    return true;
}

}  // namespace cuttrace
