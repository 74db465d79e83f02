// Starts the real viewer with the bundled sample and a quick run, lets it save a picture
// of its window when the run ends, and looks for the drawn path in the first view.
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QFileInfo>
#include <QImage>
#include <QProcess>
#include <QTemporaryDir>

namespace {

TEST(ViewerSmokeTest, QuickRunOfTheSampleDrawsThePath) {
    const QString viewer =
        QCoreApplication::applicationDirPath() + QStringLiteral("/../../src/app/cuttrace");
    if (!QFileInfo(viewer).isExecutable()) GTEST_SKIP() << "the viewer is not built";
    const QString sample = QStringLiteral(CUTTRACE_TEST_DATA "/../../samples/bolt_circle.nc");
    ASSERT_TRUE(QFileInfo::exists(sample));
    QTemporaryDir dir;
    const QString picture = dir.filePath(QStringLiteral("window.png"));

    QProcess process;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    environment.insert(QStringLiteral("XDG_CONFIG_HOME"), dir.path());
    process.setProcessEnvironment(environment);
    process.start(viewer, {sample, QStringLiteral("Q"), QStringLiteral("--grab"), picture});
    ASSERT_TRUE(process.waitForStarted());
    // The start-up window shows for four seconds before the command line is processed.
    ASSERT_TRUE(process.waitForFinished(60000)) << "the viewer did not end";
    EXPECT_EQ(process.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(process.exitCode(), 0) << process.readAllStandardError().constData();

    QImage window(picture);
    ASSERT_FALSE(window.isNull());
    // Only view 1 is shown: pure red is the feed color of the path.
    int red = 0;
    for (int y = 0; y < window.height(); ++y) {
        for (int x = 0; x < window.width(); ++x) {
            if ((window.pixel(x, y) & 0xFFFFFF) == 0xFF0000) ++red;
        }
    }
    EXPECT_GT(red, 200);
}

TEST(ViewerSmokeTest, HelpAndVersionAnswerWithoutADisplayAndAreNoProgramNames) {
    const QString viewer =
        QCoreApplication::applicationDirPath() + QStringLiteral("/../../src/app/cuttrace");
    if (!QFileInfo(viewer).isExecutable()) GTEST_SKIP() << "the viewer is not built";
    const struct {
        const char* option;
        const char* starts;
    } cases[] = {{"--help", "usage: cuttrace"},
                 {"-h", "usage: cuttrace"},
                 {"--version", "Cuttrace version"}};
    for (const auto& c : cases) {
        QProcess process;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("no-such-platform"));
        process.setProcessEnvironment(environment);
        process.start(viewer, {QString::fromLatin1(c.option)});
        ASSERT_TRUE(process.waitForFinished(20000)) << c.option;
        EXPECT_EQ(process.exitCode(), 0) << c.option;
        EXPECT_TRUE(process.readAllStandardOutput().startsWith(c.starts)) << c.option;
    }
}

}  // namespace
