// Vector pictures: lines projected without rounding and clipped to the picture, and
// cuttrace-cli --image FILE.svg / FILE.pdf, which draws the PNG's picture as vector paths.
#include <gtest/gtest.h>

#include <QFile>
#include <QImage>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QStringList>
#include <QTemporaryDir>
#include <QXmlStreamReader>

#include "pictures/PictureSheet.h"
#include "pictures/VectorPicture.h"

namespace cuttrace {
namespace {

// The subpaths of a painter path as "x,y x,y ...", one text each.
QStringList Subpaths(const QPainterPath& path) {
    QStringList subpaths;
    for (int i = 0; i < path.elementCount(); ++i) {
        const QPainterPath::Element e = path.elementAt(i);
        if (e.isMoveTo()) subpaths.append(QString());
        subpaths.back() += QStringLiteral("%1%2,%3").arg(e.isMoveTo() ? "" : " ").arg(e.x).arg(e.y);
    }
    return subpaths;
}

TEST(VectorPictureLines, AreProjectedUnroundedAndClippedToThePicture) {
    // Scale 2 with the model origin at the centre of 200 x 150: (x, y) -> (100 + 2x, 75 - 2y).
    Projection3D view;
    view.ResetView(200, 150);
    view.SetScale(2.0);
    VectorPicture picture(view, 200, 150);
    picture.SetColor(0x0000FF);
    picture.DrawMoveTo({0, 0, 0});
    picture.DrawLineTo({10.25, 0, 7});    // z does not show from the top
    picture.DrawLineTo({10.25, 100, 0});  // leaves at the top edge, y = 0
    picture.DrawLineTo({-10, 100, 0});    // wholly outside
    picture.DrawLineTo({-10, -5, 0});     // comes back in at the top edge
    picture.SetColor(0x000000);
    picture.DrawLine({-100, -10, 0}, {100, -10, 0});  // across: cut at both sides
    ASSERT_EQ(picture.Runs().size(), 2u);
    EXPECT_EQ(Subpaths(picture.Runs()[0].path),
              QStringList({"100,75 120.5,75 120.5,0", "80,0 80,85"}));
    EXPECT_EQ(Subpaths(picture.Runs()[1].path), QStringList({"0,95 200,95"}));
}

#ifdef CUTTRACE_CLI

// A square of side 10 from the origin: a rapid (black), two feed lines (red), a rapid back;
// the origin mark (magenta) is drawn first. At scale 5 on 200 x 150 the model origin is at
// (100, 75) and y grows upwards: X10 is x 150, Y10 is y 25.
constexpr char kProgram[] = "G00 X10. Y0\nG01 Y10. F100\nX0\nG00 Y0\nM30\n";
const QStringList kSquarePaths = {"M100,75 L150,75", "M150,75 L150,25 L100,25", "M100,25 L100,75"};

int RunCli(const QStringList& arguments) {
    QProcess process;
    process.start(QString::fromUtf8(CUTTRACE_CLI), arguments);
    return process.waitForFinished(60000) ? process.exitCode() : -1;
}

bool Dark(QRgb pixel) {
    return qGray(pixel) < 200 || qRed(pixel) - qGreen(pixel) > 60 ||
           qBlue(pixel) - qGreen(pixel) > 60;
}

// The share of the dark pixels of a that have a dark pixel of b within one pixel.
double CoveredShare(const QImage& a, const QImage& b) {
    int dark = 0;
    int covered = 0;
    for (int y = 0; y < a.height(); ++y) {
        for (int x = 0; x < a.width(); ++x) {
            if (!Dark(a.pixel(x, y))) continue;
            ++dark;
            bool near = false;
            for (int dy = -1; dy <= 1 && !near; ++dy)
                for (int dx = -1; dx <= 1 && !near; ++dx)
                    near = b.valid(x + dx, y + dy) && Dark(b.pixel(x + dx, y + dy));
            covered += near ? 1 : 0;
        }
    }
    return dark == 0 ? 0.0 : static_cast<double>(covered) / dark;
}

class VectorPictureCli : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(dir_.isValid());
        QFile program(Path("square.nc"));
        ASSERT_TRUE(program.open(QIODevice::WriteOnly));
        program.write(kProgram);
    }
    QString Path(const char* name) const { return dir_.filePath(QString::fromLatin1(name)); }
    int Draw(const char* file) {
        return RunCli(
            {"--image", Path(file), "--size", "200x150", "--scale", "5", Path("square.nc")});
    }
    QTemporaryDir dir_;
};

TEST_F(VectorPictureCli, SvgHoldsOnePathPerColourRunAtTheProjectedPoints) {
    ASSERT_EQ(Draw("square.SVG"), 0);
    QFile svg(Path("square.SVG"));
    ASSERT_TRUE(svg.open(QIODevice::ReadOnly));
    QXmlStreamReader xml(&svg);
    QStringList paths;
    int images = 0;
    while (!xml.atEnd()) {
        if (xml.readNext() != QXmlStreamReader::StartElement) continue;
        if (xml.name() == u"path") paths.append(xml.attributes().value("d").toString());
        if (xml.name() == u"image") ++images;
    }
    EXPECT_FALSE(xml.hasError()) << xml.errorString().toStdString();
    EXPECT_EQ(images, 0);
    ASSERT_EQ(paths.size(), 4);  // the origin mark, then the square's three colour runs
    EXPECT_EQ(paths.mid(1), kSquarePaths);
}

TEST_F(VectorPictureCli, PdfPageShowsThePathOnThePngsPixels) {
    ASSERT_EQ(Draw("square.png"), 0);
    ASSERT_EQ(Draw("square.pdf"), 0);
    QFile pdf(Path("square.pdf"));
    ASSERT_TRUE(pdf.open(QIODevice::ReadOnly));
    const QByteArray bytes = pdf.readAll();
    EXPECT_TRUE(bytes.startsWith("%PDF-"));
    const QRegularExpression page(R"(/MediaBox \[0 0 200(\.0*)? 150(\.0*)?\])");
    EXPECT_TRUE(page.match(QString::fromLatin1(bytes)).hasMatch());
    EXPECT_FALSE(bytes.contains("/Subtype /Image"));  // lines, not a picture of them
    const QString pdftoppm = QStandardPaths::findExecutable(QStringLiteral("pdftoppm"));
    if (pdftoppm.isEmpty()) GTEST_SKIP() << "pdftoppm (poppler-utils) is not installed";
    QProcess render;
    render.start(pdftoppm, {"-r", "72", "-png", "-singlefile", Path("square.pdf"), Path("pdf")});
    ASSERT_TRUE(render.waitForFinished(60000));
    ASSERT_EQ(render.exitCode(), 0);
    const QImage png(Path("square.png"));
    const QImage rendered(Path("pdf.png"));
    ASSERT_EQ(rendered.size(), png.size());
    EXPECT_GT(CoveredShare(png, rendered), 0.97);
    EXPECT_GT(CoveredShare(rendered, png), 0.97);
}

TEST_F(VectorPictureCli, AFolderThatCannotBeWrittenLeavesNoFile) {
    for (const char* name : {"none/square.svg", "none/square.pdf"}) {
        EXPECT_NE(Draw(name), 0) << name;
        EXPECT_FALSE(QFile::exists(Path(name))) << name;
    }
}

#endif

}  // namespace
}  // namespace cuttrace
