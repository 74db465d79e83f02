#include "ui/ExportActions.h"

#include <QAction>
#include <QDateTime>
#include <QFileInfo>
#include <QIcon>
#include <QKeySequence>
#include <QMenu>
#include <QPainter>
#include <QPixmap>
#include <QPolygonF>
#include <QPrintDialog>
#include <QPrinter>
#include <QToolBar>
#include <QToolButton>
#include <algorithm>
#include <cmath>
#include <limits>
#include <memory>

#include "core/Settings.h"
#include "drawing/PathDrawer.h"
#include "machines/NumberText.h"
#include "ui/CutView.h"
#include "ui/MainWindow.h"
#include "ui/ProgramText.h"
#include "ui/RunController.h"
#include "ui/Translation.h"
#include "ui/UiDialogs.h"
#include "ui/UiTexts.h"
#include "ui/ViewPane.h"

namespace cuttrace::ui {

namespace {

QString Fixed(double value, int decimals) {
    return QString::fromStdString(FormatFixed(value, decimals));
}

// "X a .. b  Y c .. d  Z e .. f" of the drawn points; "-" when nothing is drawn.
QString ExtentText(const VertexList& vertices) {
    constexpr double kInf = std::numeric_limits<double>::infinity();
    Point3 low{kInf, kInf, kInf};
    Point3 high{-kInf, -kInf, -kInf};
    vertices.ForEach([&](const Point3& p, uint32_t) {
        if (!std::isfinite(p.x) || !std::isfinite(p.y) || !std::isfinite(p.z)) return;
        low = {std::min(low.x, p.x), std::min(low.y, p.y), std::min(low.z, p.z)};
        high = {std::max(high.x, p.x), std::max(high.y, p.y), std::max(high.z, p.z)};
    });
    if (low.x > high.x) return QString::fromLatin1(kTitleNone);
    return QStringLiteral("X %1 .. %2  Y %3 .. %4  Z %5 .. %6")
        .arg(Fixed(low.x, 3), Fixed(high.x, 3), Fixed(low.y, 3), Fixed(high.y, 3), Fixed(low.z, 3),
             Fixed(high.z, 3));
}

// h:mm:ss of a number of seconds.
QString TimeText(double seconds) {
    const long long whole = std::isfinite(seconds) ? std::llround(std::max(0.0, seconds)) : 0;
    return QStringLiteral("%1:%2:%3")
        .arg(whole / 3600)
        .arg(whole / 60 % 60, 2, 10, QLatin1Char('0'))
        .arg(whole % 60, 2, 10, QLatin1Char('0'));
}

// A sheet with a folded corner and the start of a line drawn on it.
QIcon ExportIcon() {
    QPixmap pixmap(16, 16);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QPen(QColor(60, 60, 60), 1.0));
    painter.setBrush(Qt::white);
    const QPointF sheet[] = {{2.5, 1.5}, {10.5, 1.5}, {13.5, 4.5}, {13.5, 14.5}, {2.5, 14.5}};
    painter.drawPolygon(sheet, 5);
    painter.setPen(QPen(QColor(220, 0, 0), 1.5));
    painter.drawPolyline(QPolygonF({{4.5, 12}, {7, 7}, {9, 10}, {11.5, 5}}));
    return QIcon(pixmap);
}

}  // namespace

ExportActions::ExportActions(MainWindow& window, UiDialogs& dialogs, const Settings& settings)
    : QObject(&window), window_(window), dialogs_(dialogs), settings_(settings) {
    exportAll_ = new QAction(Tr(kExportAllViews), &window);
    exportAll_->setObjectName(QStringLiteral("exportAllAction"));
    exportAll_->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_E));
    connect(exportAll_, &QAction::triggered, this, [this] { Export(nullptr); });
    printAll_ = new QAction(Tr(kPrintAllViews), &window);
    printAll_->setObjectName(QStringLiteral("printAllAction"));
    printAll_->setShortcut(QKeySequence::Print);
    connect(printAll_, &QAction::triggered, this, [this] { Print(nullptr); });
    window.addAction(exportAll_);
    window.addAction(printAll_);
}

void ExportActions::AttachView(ViewPane* view) {
    auto* button = new QToolButton(view->ToolBar());
    button->setObjectName(QStringLiteral("exportButton"));
    button->setIcon(ExportIcon());
    button->setToolTip(Tr(kHintExport));
    button->setPopupMode(QToolButton::InstantPopup);
    auto* menu = new QMenu(button);
    QAction* exportView = menu->addAction(Tr(kExportThisView));
    exportView->setObjectName(QStringLiteral("exportViewAction"));
    connect(exportView, &QAction::triggered, this, [this, view] { Export(view); });
    menu->addAction(exportAll_);
    menu->addSeparator();
    QAction* printView = menu->addAction(Tr(kPrintThisView));
    printView->setObjectName(QStringLiteral("printViewAction"));
    connect(printView, &QAction::triggered, this, [this, view] { Print(view); });
    menu->addAction(printAll_);
    button->setMenu(menu);
    view->ToolBar()->addWidget(button);
}

std::vector<ViewPane*> ExportActions::Views(ViewPane* only) const {
    if (only != nullptr) return {only};
    std::vector<ViewPane*> views;
    for (int i = 0; i < window_.Fanout().VisibleCount(); ++i) {
        ViewPane* view = window_.Fanout().Visible(i);
        if (!view->Panel()->Surface()->ScreenImage().isNull()) views.push_back(view);
    }
    return views;
}

PictureSheet ExportActions::Sheet(const std::vector<ViewPane*>& views) const {
    PictureSheet sheet;
    if (views.empty()) return sheet;
    const PathDrawer& drawer = window_.Drawer();
    // Placed as on the screen, the top-left view at the sheet's corner.
    QPoint corner(std::numeric_limits<int>::max(), std::numeric_limits<int>::max());
    std::vector<QPoint> at;
    for (ViewPane* view : views) {
        Surface3D* surface = view->Panel()->Surface();
        at.push_back(surface->mapTo(&window_, QPoint(0, 0)));
        corner = QPoint(std::min(corner.x(), at.back().x()), std::min(corner.y(), at.back().y()));
    }
    QStringList scales;
    for (std::size_t i = 0; i < views.size(); ++i) {
        Surface3D* surface = views[i]->Panel()->Surface();
        SheetView shown;
        shown.shown = surface->ScreenImage().copy();
        shown.place = QRect(at[i] - corner, shown.shown.size());
        bool pathOver = true;
        shown.background = window_.Cut().ShownCut(views[i], &pathOver);
        if (pathOver) {
            auto path = std::make_shared<VectorPicture>(surface->View(), shown.place.width(),
                                                        shown.place.height());
            // As the window's redraw: the origin mark sized for view 0, the path from it.
            PathDrawer origin(*path, settings_);
            origin.DrawOrigin(window_.View(0)->Panel()->Scale());
            uint32_t color = 0;
            bool colorSet = false;
            drawer.Vertices().ForEach([&](const Point3& p, uint32_t c) {
                if (!colorSet || c != color) path->SetColor(c);
                color = c;
                colorSet = true;
                path->DrawLineTo(p);
            });
            shown.path = std::move(path);
        }
        if (!shown.background.isNull()) {
            if (!shown.path) {
                shown.path = std::make_shared<VectorPicture>(surface->View(), shown.place.width(),
                                                             shown.place.height());
            }
            window_.Cut().DrawWarnings(*shown.path);
        }
        scales.append(Fixed(surface->Scale(), 6));
        sheet.views.push_back(std::move(shown));
    }
    const QString program = QFileInfo(PathToQString(window_.Run().ProgramPath())).fileName();
    const QString none = QString::fromLatin1(kTitleNone);
    const QString date = QDateTime::currentDateTime().toString(QStringLiteral("yyyy-MM-dd HH:mm"));
    const QString scale =
        QString::fromLatin1(kTitleScaleValue).arg(scales.join(QStringLiteral(" / ")));
    sheet.title = {
        {Tr(kTitleProgram), program.isEmpty() ? none : program, 1},
        {Tr(kTitleDialect), QString::fromLatin1(DialectName(settings_.dialect)), 1},
        {Tr(kTitleDate), date, 1},
        {Tr(kTitleTime), TimeText(drawer.TotalTime()), 1},
        {Tr(kTitleExtent), ExtentText(drawer.Vertices()), 2},
        {Tr(kTitleScale), scale, 2},
    };
    return sheet;
}

void ExportActions::Export(ViewPane* only) {
    FileRequest request;
    request.filter = Tr(kExportFilter);
    request.defaultSuffix = QString::fromLatin1(kExportSuffix);
    const QString path = dialogs_.SaveFile(&window_, request);
    if (!path.isEmpty()) ExportTo(Views(only), path);
}

bool ExportActions::ExportTo(const std::vector<ViewPane*>& views, const QString& path) {
    std::string error;
    if (SaveSheet(Sheet(views), PathFromQString(path), &error)) return true;
    dialogs_.Message(&window_, Tr(kExportFailed).arg(QString::fromStdString(error)),
                     QString::fromLatin1(kCaptionError));
    return false;
}

void ExportActions::Print(ViewPane* only) {
    const PictureSheet sheet = Sheet(Views(only));
    const QSize size = sheet.Size();
    if (size.isEmpty()) return;
    QPrinter printer(QPrinter::HighResolution);
    printer.setPageOrientation(size.width() > size.height() ? QPageLayout::Landscape
                                                            : QPageLayout::Portrait);
    QPrintDialog dialog(&printer, &window_);
    if (dialogs_.Exec(dialog) != QDialog::Accepted) return;
    QPainter painter;
    if (!painter.begin(&printer)) {
        dialogs_.Message(&window_, Tr(kExportFailed).arg(printer.printerName()),
                         QString::fromLatin1(kCaptionError));
        return;
    }
    // The sheet fitted to the printable area, centred.
    const QRectF page = printer.pageRect(QPrinter::DevicePixel);
    const double factor = std::min(page.width() / size.width(), page.height() / size.height());
    painter.translate((page.width() - size.width() * factor) / 2,
                      (page.height() - size.height() * factor) / 2);
    painter.scale(factor, factor);
    PaintSheet(painter, sheet, false);
    painter.end();
}

}  // namespace cuttrace::ui
