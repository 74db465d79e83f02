// A sheet of one or more views of the tool path with an optional title block under them,
// written as PNG, SVG or PDF (by the file's extension) or painted on a printer's page.
//
// A view on the sheet has the picture it shows on the screen (for PNG) and its path as vector
// lines over a background (for SVG, PDF and printing): white, or the shaded cut where the view
// shows one. The title block is a strip of label-value cells under the views, filled in rows
// of kTitleColumns columns.
#pragma once

#include <QImage>
#include <QRect>
#include <QString>
#include <memory>
#include <string>
#include <vector>

#include "pictures/VectorPicture.h"

class QPainter;

namespace cuttrace {

struct SheetView {
    QRect place;                          // on the sheet, in sheet units (pixels)
    QImage shown;                         // the view as shown on the screen (PNG)
    QImage background;                    // under the vector path; null: white
    std::shared_ptr<VectorPicture> path;  // null: no path (the cut hides it)
};

struct TitleCell {
    QString label;
    QString value;
    int span = 1;  // columns taken
};

struct PictureSheet {
    static constexpr int kTitleRowHeight = 22;
    static constexpr int kTitleColumns = 4;
    static constexpr int kMinTitleWidth = 640;

    std::vector<SheetView> views;
    std::vector<TitleCell> title;  // none: no title block

    // The box holding every view (from the sheet's top left).
    QSize ViewsSize() const;
    int TitleHeight() const;
    // The views' box, widened to kMinTitleWidth under a title block, with the title block.
    QSize Size() const;
};

enum class SheetFormat { Png, Svg, Pdf };

// The format a file name asks for: .png, .svg or .pdf in any case; false for any other.
bool SheetFormatOfFile(const std::string& path, SheetFormat* format);

// Paints the sheet with its top left at the painter's origin: each view's shown picture
// (raster) or its background and vector path (not raster), then the title block.
void PaintSheet(QPainter& painter, const PictureSheet& sheet, bool raster);

// Writes the sheet in the format of the file's extension. The file appears under its name
// only when it was written whole; false with a message in *error otherwise.
bool SaveSheet(const PictureSheet& sheet, const std::string& path, std::string* error);

}  // namespace cuttrace
