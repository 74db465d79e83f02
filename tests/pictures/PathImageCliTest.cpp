// cuttrace-cli --image: the picture of a small program in each view preset, compared with a
// picture checked by eye. Small differences per pixel are allowed; on failure the picture
// made and a difference picture (differing pixels red over a faded expected picture) are
// left in the working folder.
#include <gtest/gtest.h>

#include <QDir>
#include <QImage>
#include <QProcess>
#include <QTemporaryDir>

#include <string>

namespace cuttrace {
namespace {

#ifdef CUTTRACE_CLI

constexpr int kChannelTolerance = 24;
constexpr double kMaxDifferingShare = 0.002;

struct CliRun {
    int exitCode = -1;
    QString errors;
};

CliRun RunCli(const QStringList& arguments) {
    QProcess process;
    process.start(QString::fromUtf8(CUTTRACE_CLI), arguments);
    CliRun run;
    if (!process.waitForFinished(60000)) return run;
    run.exitCode = process.exitCode();
    run.errors = QString::fromUtf8(process.readAllStandardError());
    return run;
}

QString Images() {
    return QString::fromUtf8(CUTTRACE_CLI_IMAGES);
}

// Counts pixels whose colors differ by more than the tolerance in any channel, and draws
// them red over a faded copy of the expected picture.
int CountDifferences(const QImage& expected, const QImage& actual, QImage* difference) {
    *difference = expected.convertToFormat(QImage::Format_RGB32);
    int count = 0;
    for (int y = 0; y < expected.height(); ++y) {
        for (int x = 0; x < expected.width(); ++x) {
            const QRgb e = expected.pixel(x, y);
            const QRgb a = actual.pixel(x, y);
            const bool differs = std::abs(qRed(e) - qRed(a)) > kChannelTolerance ||
                                 std::abs(qGreen(e) - qGreen(a)) > kChannelTolerance ||
                                 std::abs(qBlue(e) - qBlue(a)) > kChannelTolerance;
            count += differs ? 1 : 0;
            const int faded = 192 + qGray(e) / 4;
            difference->setPixel(x, y, differs ? qRgb(255, 0, 0) : qRgb(faded, faded, faded));
        }
    }
    return count;
}

void ExpectPicture(const QString& name, const QStringList& options) {
    QTemporaryDir dir;
    const QString made = dir.filePath(name + ".png");
    QStringList arguments{"--image", made, "--size", "400x300"};
    arguments << options << (Images() + "/pocket.nc");
    const CliRun run = RunCli(arguments);
    ASSERT_EQ(run.exitCode, 0) << run.errors.toStdString();
    const QImage actual(made);
    const QImage expected(Images() + "/" + name + ".png");
    ASSERT_FALSE(expected.isNull()) << name.toStdString();
    ASSERT_EQ(actual.size(), expected.size()) << name.toStdString();
    QImage difference;
    const int count = CountDifferences(expected, actual, &difference);
    const int allowed = static_cast<int>(kMaxDifferingShare * expected.width() * expected.height());
    if (count > allowed) {
        const QString keep = QDir::current().filePath(name + ".actual.png");
        const QString diff = QDir::current().filePath(name + ".diff.png");
        actual.save(keep);
        difference.save(diff);
        ADD_FAILURE() << name.toStdString() << ": " << count << " pixels differ (" << allowed
                      << " allowed); see " << keep.toStdString() << " and " << diff.toStdString();
    }
}

TEST(PathImageCli, EachViewPresetGivesItsPicture) {
    for (int view = 0; view < 5; ++view) {
        ExpectPicture(QString("pocket_view%1").arg(view), {"--view", QString::number(view)});
    }
}

TEST(PathImageCli, GivenScaleCentresTheModelOrigin) {
    ExpectPicture("pocket_scale3", {"--scale", "3"});
}

TEST(PathImageCli, BadPictureOptionsAreUsageErrors) {
    const QString program = Images() + "/pocket.nc";
    EXPECT_EQ(RunCli({"--image", "x.png", "--view", "5", program}).exitCode, 2);
    EXPECT_EQ(RunCli({"--image", "x.png", "--size", "0x10", program}).exitCode, 2);
    EXPECT_EQ(RunCli({"--scale", "2", program}).exitCode, 2);  // no --image
    const CliRun run = RunCli({"--image", "/nonexistent-dir/x.png", program});
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_TRUE(run.errors.contains("cannot write")) << run.errors.toStdString();
}

#endif  // CUTTRACE_CLI

}  // namespace
}  // namespace cuttrace
