#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include <QFile>
#include <QSettings>
#include <QTemporaryDir>

#include "core/Settings.h"
#include "machines/DiagnosticLog.h"
#include "ui/SettingsStore.h"

namespace cuttrace::ui {
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
        s.originColor = 0x010203;
        s.gauge = 5;
        s.feedColor = 0xFFFFFF;
        s.rapidColor = 0x808080;
        s.cycleColor = 0x00FF00;
        s.backgroundColor = 0;
        s.dialect = 1;
        s.noMotionBuffer = false;
        s.drawRapids = false;
        s.stopAtM1 = false;
        s.timerIntervalMs = 0;
        s.dryRunSpeed = 2500.75;
        s.cutterDiameter = 0.1 + 0.2;
        s.showCutter = false;
        s.editorCommand = "/opt/my editor/ed, with comma";
        return s;
    }

    QTemporaryDir dir_;
};

TEST_F(SettingsStoreTest, FirstStartWithoutAFileGivesTheDefaults) {
    QSettings qs(IniPath(), QSettings::IniFormat);
    Settings s = Changed();
    EXPECT_EQ(SettingsStore(qs).Read(s), 0);
    EXPECT_EQ(s.dialect, 0);
    EXPECT_EQ(s.timerIntervalMs, 10);
    EXPECT_EQ(s.dryRunSpeed, 2000.0);
    EXPECT_TRUE(s.noMotionBuffer);
    EXPECT_EQ(s.editorCommand, "blockpad.exe");
    EXPECT_EQ(s.feedColor, 0xFFu);
    EXPECT_EQ(s.cutterDiameter, 2.0);
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
    EXPECT_EQ(read.originColor, written.originColor);
    EXPECT_EQ(read.gauge, written.gauge);
    EXPECT_EQ(read.feedColor, written.feedColor);
    EXPECT_EQ(read.rapidColor, written.rapidColor);
    EXPECT_EQ(read.cycleColor, written.cycleColor);
    EXPECT_EQ(read.backgroundColor, written.backgroundColor);
    EXPECT_EQ(read.dialect, written.dialect);
    EXPECT_EQ(read.noMotionBuffer, written.noMotionBuffer);
    EXPECT_EQ(read.drawRapids, written.drawRapids);
    EXPECT_EQ(read.stopAtM1, written.stopAtM1);
    EXPECT_EQ(read.timerIntervalMs, written.timerIntervalMs);
    EXPECT_EQ(read.dryRunSpeed, 2500.0);
    EXPECT_EQ(read.cutterDiameter, written.cutterDiameter);
    EXPECT_EQ(read.showCutter, written.showCutter);
    EXPECT_EQ(read.editorCommand, written.editorCommand);
}

TEST_F(SettingsStoreTest, ReadingBackThroughTheSameObjectGivesTheSameRecord) {
    QSettings qs(IniPath(), QSettings::IniFormat);
    SettingsStore store(qs);
    const Settings written = Changed();
    ASSERT_TRUE(store.Write(written));
    Settings read;
    EXPECT_EQ(store.Read(read), 0);
    EXPECT_EQ(read.cutterDiameter, written.cutterDiameter);
    EXPECT_EQ(read.feedColor, written.feedColor);
    EXPECT_EQ(read.editorCommand, written.editorCommand);
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
    EXPECT_EQ(s.timerIntervalMs, 10);
    EXPECT_EQ(s.cutterDiameter, 2.0);
    EXPECT_EQ(s.rapidColor, 0u);
    EXPECT_TRUE(s.noMotionBuffer);
    EXPECT_EQ(s.dialect, 2);
    EXPECT_EQ(s.feedColor, 0x00FF00u);
    EXPECT_FALSE(s.stopAtM1);
    EXPECT_EQ(s.dryRunSpeed, 3000.0);
    EXPECT_EQ(s.editorCommand, "kate, --line");
    EXPECT_EQ(s.originColor, 0xFF00FFu);  // missing: default
}

TEST_F(SettingsStoreTest, ValuesTheDialogWouldRefuseFallBackWithALogLine) {
    WriteIni(
        "[setting]\n"
        "TIMER=-5\n"
        "NCCODE=7\n"
        "Org=-1\n"
        "Feed=16777216\n"
        "Rapid=16777215\n"
        "MaxSteps=0\n"
        "PathMemory=-1\n"
        "RapidRate=0\n");
    QSettings qs(IniPath(), QSettings::IniFormat);
    std::vector<std::string> lines;
    const DiagnosticLog::Sink previous =
        DiagnosticLog::SetSink([&](std::string_view line) { lines.emplace_back(line); });
    Settings s = Changed();
    EXPECT_EQ(SettingsStore(qs).Read(s), 7);
    DiagnosticLog::SetSink(previous);
    EXPECT_EQ(s.timerIntervalMs, 10);
    EXPECT_EQ(s.dialect, 0);
    EXPECT_EQ(s.originColor, 0xFF00FFu);
    EXPECT_EQ(s.feedColor, 0x0000FFu);
    EXPECT_EQ(s.rapidColor, 0xFFFFFFu);  // the largest colour is one
    EXPECT_EQ(s.maxSteps, 100000000);
    EXPECT_EQ(s.pathMemoryMb, 0);
    EXPECT_EQ(s.rapidRate, 10000.0);
    ASSERT_EQ(lines.size(), 7u);
    const auto logged = [&](const char* text) {
        return std::any_of(lines.begin(), lines.end(),
                           [&](const std::string& line) { return line.find(text) != line.npos; });
    };
    EXPECT_TRUE(logged("Setting refused, its default is used: TIMER=-5"));
    EXPECT_TRUE(logged("NCCODE=7"));
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
    EXPECT_EQ(s.timerIntervalMs, 10);
    EXPECT_EQ(QSettings(QStringLiteral("Kv"), QStringLiteral("Nc")).applicationName(),
              QStringLiteral("Nc"));
}

}  // namespace
}  // namespace cuttrace::ui
