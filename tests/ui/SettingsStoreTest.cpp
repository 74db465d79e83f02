#include <gtest/gtest.h>

#include <QFile>
#include <QSettings>
#include <QTemporaryDir>

#include "core/Settings.h"
#include "ui/SettingsStore.h"

namespace cuttrace {
namespace {

class SettingsStoreTest : public ::testing::Test {
  protected:
    QString IniPath() const { return dir_.filePath(QStringLiteral("Nc.ini")); }

    void WriteIni(const QByteArray& text) {
        QFile file(IniPath());
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(text);
    }

    QByteArray ReadIni() const {
        QFile file(IniPath());
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }

    static Settings Changed() {
        Settings s;
        s.Org = 0x010203;
        s.Gage = 5;
        s.Feed = 0xFFFFFFFF;
        s.Rapid = 0x808080;
        s.Spot = 0x00FF00;
        s.Back = 0;
        s.NCCODE = 1;
        s.Buer = false;
        s.G0 = false;
        s.M1 = false;
        s.TIMER = 0;
        s.DRYRUN = 2500.75;
        s.CutterDia = 0.1 + 0.2;
        s.CuterView = false;
        s.EditerPath = "/opt/my editor/ed, with comma";
        return s;
    }

    QTemporaryDir dir_;
};

TEST_F(SettingsStoreTest, FirstStartWithoutAFileGivesTheDefaults) {
    QSettings qs(IniPath(), QSettings::IniFormat);
    Settings s = Changed();
    EXPECT_EQ(SettingsStore(qs).Read(s), 0);
    EXPECT_EQ(s.NCCODE, 0);
    EXPECT_EQ(s.TIMER, 10);
    EXPECT_EQ(s.DRYRUN, 2000.0);
    EXPECT_TRUE(s.Buer);
    EXPECT_EQ(s.EditerPath, "blockpad.exe");
    EXPECT_EQ(s.Feed, 0xFFu);
    EXPECT_EQ(s.CutterDia, 2.0);
    EXPECT_FALSE(QFile::exists(IniPath()));  // reading creates nothing
}

TEST_F(SettingsStoreTest, WrittenValuesReadBackFromTheFile) {
    const Settings written = Changed();
    {
        QSettings qs(IniPath(), QSettings::IniFormat);
        EXPECT_TRUE(SettingsStore(qs).Write(written));
    }
    const QByteArray ini = ReadIni();
    EXPECT_TRUE(ini.contains("[setting]"));
    EXPECT_TRUE(ini.contains("DRYRUN=2500\n"));  // an integer, truncated
    EXPECT_TRUE(ini.contains("M1=0\n"));
    EXPECT_TRUE(ini.contains("NCCODE=1\n"));

    QSettings qs(IniPath(), QSettings::IniFormat);
    Settings read;
    EXPECT_EQ(SettingsStore(qs).Read(read), 0);
    EXPECT_EQ(read.Org, written.Org);
    EXPECT_EQ(read.Gage, written.Gage);
    EXPECT_EQ(read.Feed, written.Feed);
    EXPECT_EQ(read.Rapid, written.Rapid);
    EXPECT_EQ(read.Spot, written.Spot);
    EXPECT_EQ(read.Back, written.Back);
    EXPECT_EQ(read.NCCODE, written.NCCODE);
    EXPECT_EQ(read.Buer, written.Buer);
    EXPECT_EQ(read.G0, written.G0);
    EXPECT_EQ(read.M1, written.M1);
    EXPECT_EQ(read.TIMER, written.TIMER);
    EXPECT_EQ(read.DRYRUN, 2500.0);
    EXPECT_EQ(read.CutterDia, written.CutterDia);
    EXPECT_EQ(read.CuterView, written.CuterView);
    EXPECT_EQ(read.EditerPath, written.EditerPath);
}

TEST_F(SettingsStoreTest, ReadingBackThroughTheSameObjectGivesTheSameRecord) {
    QSettings qs(IniPath(), QSettings::IniFormat);
    SettingsStore store(qs);
    const Settings written = Changed();
    ASSERT_TRUE(store.Write(written));
    Settings read;
    EXPECT_EQ(store.Read(read), 0);
    EXPECT_EQ(read.CutterDia, written.CutterDia);
    EXPECT_EQ(read.Feed, written.Feed);
    EXPECT_EQ(read.EditerPath, written.EditerPath);
}

TEST_F(SettingsStoreTest, MalformedValuesFallBackEachToItsOwnDefault) {
    WriteIni(
        "[setting]\n"
        "TIMER=soon\n"
        "NCCODE=2\n"
        "CutterDia=big\n"
        "Feed=0x00FF00\n"
        "Rapid=12345678901\n"
        "M1=0\n"
        "Buer=maybe\n"
        "DRYRUN=3000\n"
        "EditerPath=kate, --line\n"
        "Unknown=1\n"
        "[other]\n"
        "TIMER=50\n");
    QSettings qs(IniPath(), QSettings::IniFormat);
    Settings s = Changed();
    EXPECT_EQ(SettingsStore(qs).Read(s), 4);
    EXPECT_EQ(s.TIMER, 10);
    EXPECT_EQ(s.CutterDia, 2.0);
    EXPECT_EQ(s.Rapid, 0u);
    EXPECT_TRUE(s.Buer);
    EXPECT_EQ(s.NCCODE, 2);
    EXPECT_EQ(s.Feed, 0x00FF00u);
    EXPECT_FALSE(s.M1);
    EXPECT_EQ(s.DRYRUN, 3000.0);
    EXPECT_EQ(s.EditerPath, "kate, --line");
    EXPECT_EQ(s.Org, 0xFF00FFu);  // missing: default
}

TEST_F(SettingsStoreTest, WriteReportsAFileThatCannotBeSaved) {
    WriteIni("not a folder");
    QSettings qs(IniPath() + QStringLiteral("/inside/Nc.ini"), QSettings::IniFormat);
    EXPECT_FALSE(SettingsStore(qs).Write(Settings()));
}

TEST_F(SettingsStoreTest, TheUsersStoreIsKvNcAndStartsEmptyInTheTestConfiguration) {
    // The test main points the configuration at a temporary folder.
    SettingsStore store;
    Settings s = Changed();
    EXPECT_EQ(store.Read(s), 0);
    EXPECT_EQ(s.TIMER, 10);
    EXPECT_EQ(QSettings(QStringLiteral("Kv"), QStringLiteral("Nc")).applicationName(),
              QStringLiteral("Nc"));
}

}  // namespace
}  // namespace cuttrace
