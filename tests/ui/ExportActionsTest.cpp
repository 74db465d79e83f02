// Export of the views: PNG as shown on the screen, SVG as vector lines, both with the title
// block; a file that cannot be written is reported and not left behind.
#include <QAction>
#include <QApplication>
#include <QFile>
#include <QFileDialog>
#include <QImage>
#include <QXmlStreamReader>

#include "ui/ProgramText.h"
#include "ui/QtUiDialogs.h"
#include "ui/Translation.h"
#include "ui/UiTexts.h"
#include "ui/ViewPane.h"
#include "ui/support/MainWindowFixture.h"

namespace cuttrace::test {
namespace {

using ExportActionsTest = MainWindowTest;

struct SvgContent {
    int paths = 0;
    int images = 0;
    QStringList texts;
};

SvgContent ReadSvg(const std::string& path) {
    SvgContent content;
    QFile file(ui::PathToQString(path));
    if (!file.open(QIODevice::ReadOnly)) return content;
    QXmlStreamReader xml(&file);
    while (!xml.atEnd()) {
        if (xml.readNext() != QXmlStreamReader::StartElement) continue;
        if (xml.name() == u"path") ++content.paths;
        if (xml.name() == u"image") ++content.images;
        if (xml.name() == u"text") content.texts.append(xml.readElementText().trimmed());
    }
    EXPECT_FALSE(xml.hasError()) << xml.errorString().toStdString();
    return content;
}

TEST_F(ExportActionsTest, VisibleViewsAsShownWithATitleBlock) {
    Open("G00 X10. Y0\nG01 Y10. F100\nX0\nG00 Y0\nM30\n", QStringLiteral("square.nc"));
    window.StartQuickRun();
    QuickToStop();
    while (window.LayoutNumber() != 2)  // views 0 and 2, one over the other
        window.CycleViewLayout();
    QApplication::processEvents();  // the views take their places
    window.RedrawAll();
    const std::string png = folder.PathOf(QStringLiteral("views.png"));
    const std::string svg = folder.PathOf(QStringLiteral("views.svg"));
    dialogs.fileAnswers = {ui::PathToQString(png), ui::PathToQString(svg)};
    const std::size_t messages = dialogs.messages.size();
    Find<QAction>("exportAllAction")->trigger();
    Find<QAction>("exportAllAction")->trigger();
    EXPECT_EQ(dialogs.messages.size(), messages) << Messages().join("\n").toStdString();

    // The PNG holds every view's picture as shown, in the layout's places, over the title.
    // (A frame is drawn round each view.)
    const QImage sheet(ui::PathToQString(png));
    ASSERT_FALSE(sheet.isNull());
    int viewsHeight = 0;
    const QPoint corner = window.View(0)->Panel()->Surface()->mapTo(&window, QPoint(0, 0));
    for (const int i : {0, 2}) {
        Surface3D* surface = window.View(i)->Panel()->Surface();
        const QPoint at = surface->mapTo(&window, QPoint(0, 0)) - corner;
        const QImage shown = surface->ScreenImage().convertToFormat(QImage::Format_RGB32);
        // Inside the frame drawn round each view.
        const QRect inside = QRect(QPoint(0, 0), shown.size()).adjusted(1, 1, -1, -1);
        EXPECT_EQ(sheet.copy(inside.translated(at)).convertToFormat(QImage::Format_RGB32),
                  shown.copy(inside))
            << "view " << i << " at " << at.x() << "," << at.y() << " " << shown.width() << "x"
            << shown.height() << " sheet " << sheet.width() << "x" << sheet.height();
        viewsHeight = std::max(viewsHeight, at.y() + shown.height());
    }
    EXPECT_GT(sheet.height(), viewsHeight) << "the title block lies under the views";

    // The SVG draws the paths as lines (one per colour run and view), no picture of them.
    const SvgContent content = ReadSvg(svg);
    EXPECT_EQ(content.images, 0);
    EXPECT_GE(content.paths, 2 * 3);
    for (const char* text : {"square.nc", "MELDAS"})
        EXPECT_TRUE(content.texts.contains(QString::fromLatin1(text))) << text;
}

TEST_F(ExportActionsTest, AFileThatCannotBeWrittenIsReportedAndNotLeft) {
    Open("G01 X10. F100\nM30\n");
    window.StartQuickRun();
    QuickToStop();
    for (const char* name : {"none/view.pdf", "view.jpg"}) {
        const std::string path = folder.PathOf(QString::fromLatin1(name));
        dialogs.fileAnswers = {ui::PathToQString(path)};
        window.findChild<QAction*>(QStringLiteral("exportViewAction"))->trigger();
        ASSERT_FALSE(dialogs.messages.empty()) << name;
        EXPECT_TRUE(dialogs.messages.back().text.contains(QString::fromLatin1(name))) << name;
        EXPECT_FALSE(QFile::exists(ui::PathToQString(path))) << name;
    }
}

TEST(ExportDialog, ANameWithoutExtensionGetsTheOneOfTheChosenKind) {
    ui::FileRequest request;
    request.filter = ui::Tr(ui::kExportFilter);
    request.defaultSuffix = QString::fromLatin1(ui::kExportSuffix);
    QFileDialog dialog;
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    ui::PrepareFileDialog(dialog, request);
    EXPECT_EQ(dialog.defaultSuffix(), "png");
    const QStringList kinds = dialog.nameFilters();
    ASSERT_EQ(kinds.size(), 3);
    for (int i : {1, 2, 0}) {
        dialog.selectNameFilter(kinds[i]);
        emit dialog.filterSelected(kinds[i]);  // as when the user picks it
        EXPECT_EQ(dialog.defaultSuffix(), (QStringList{"png", "svg", "pdf"}[i]));
    }
}

}  // namespace
}  // namespace cuttrace::test
