#include <gtest/gtest.h>

#include <limits>
#include <string>
#include <vector>

#include "core/SettingValues.h"
#include "core/Settings.h"

namespace cuttrace {
namespace {

const SettingValue& Value(const std::string& name) {
    for (const SettingValue& v : SettingValues()) {
        if (name == v.name) return v;
    }
    ADD_FAILURE() << "no value " << name;
    return SettingValues().front();
}

TEST(SettingsTest, FreshRecordHasTheFirstStartDefaults) {
    Settings s;
    EXPECT_EQ(s.dialect, 0);  // MELDAS
    EXPECT_EQ(s.timerIntervalMs, 10);
    EXPECT_EQ(s.dryRunSpeed, 2000.0);
    EXPECT_TRUE(s.noMotionBuffer);
    EXPECT_TRUE(s.stopAtM1);
    EXPECT_EQ(s.editorCommand, "blockpad.exe");
    EXPECT_EQ(s.feedColor, 0x0000FFu);
    EXPECT_EQ(s.rapidColor, 0u);
    EXPECT_EQ(s.cycleColor, 0xFF0000u);
    EXPECT_EQ(s.originColor, 0xFF00FFu);
    EXPECT_EQ(s.cutterDiameter, 2.0);
    EXPECT_EQ(&AppSettings(), &AppSettings());
}

TEST(SettingsTest, ValuesAreListedInTheirReadAndWriteOrder) {
    std::vector<std::string> names;
    for (const SettingValue& v : SettingValues())
        names.emplace_back(v.name);
    EXPECT_EQ(names, (std::vector<std::string>{
                         "Org",       "Gage",           "Feed",          "Rapid",     "Spot",
                         "Back",      "NCCODE",         "Buer",          "G0",        "M1",
                         "TIMER",     "DRYRUN",         "CutterDia",     "CuterView", "EditerPath",
                         "CutStock",  "CutResolution",  "CutTools",      "MaxSteps",  "PathMemory",
                         "RapidRate", "KeepDrawing",    "StepEveryLine", "AutoFit",   "Language",
                         "Contour",   "ProgramFolders", "VariablesFile", "CallCodes", "BlockSkip",
                         "PrintFile"}));
}

TEST(SettingsTest, EveryValueReadsBackWhatWasStored) {
    Settings written;
    written.originColor = 0x123456;
    written.gauge = -7;
    written.feedColor = 0xFFFFFFFF;
    written.rapidColor = 0x00ABCDEF;
    written.cycleColor = 1;
    written.backgroundColor = 0;
    written.dialect = 2;
    written.noMotionBuffer = false;
    written.drawRapids = false;
    written.stopAtM1 = false;
    written.timerIntervalMs = 0;
    written.dryRunSpeed = 3500.0;
    written.cutterDiameter = 0.1 + 0.2;  // not representable in few digits
    written.showCutter = false;
    written.editorCommand = "/usr/bin/editor --line, \"quoted\" = x";
    written.language = 2;
    written.programFolders = "/nc/macros; /nc/probe cycles";
    written.callCodes = "G100=9010 macro; T=9000 subprogram";

    Settings read;
    for (const SettingValue& v : SettingValues()) {
        ASSERT_TRUE(ReadStoredText(v, StoredText(v, written), read)) << v.name;
    }
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
    EXPECT_EQ(read.dryRunSpeed, written.dryRunSpeed);
    EXPECT_EQ(read.cutterDiameter, written.cutterDiameter);
    EXPECT_EQ(read.showCutter, written.showCutter);
    EXPECT_EQ(read.editorCommand, written.editorCommand);
    EXPECT_EQ(read.language, written.language);
    EXPECT_EQ(read.programFolders, written.programFolders);
    EXPECT_EQ(read.callCodes, written.callCodes);
}

TEST(SettingsTest, DryRunSpeedIsStoredAsATruncatedInteger) {
    Settings s;
    const SettingValue& dry = Value("DRYRUN");
    s.dryRunSpeed = 2500.9;
    EXPECT_EQ(StoredText(dry, s), "2500");
    s.dryRunSpeed = -12.7;
    EXPECT_EQ(StoredInteger(dry, s), -12);
    s.dryRunSpeed = 1e300;
    EXPECT_EQ(StoredInteger(dry, s), 2147483647);
    s.dryRunSpeed = std::numeric_limits<double>::quiet_NaN();
    EXPECT_EQ(StoredInteger(dry, s), 0);
}

TEST(SettingsTest, FlagsAreStoredAsZeroOrOneAndAnyNonzeroReadsTrue) {
    Settings s;
    const SettingValue& m1 = Value("M1");
    EXPECT_EQ(StoredText(m1, s), "1");
    s.stopAtM1 = false;
    EXPECT_EQ(StoredText(m1, s), "0");
    for (const char* text : {"1", "-1", "7", " 2 ", "true"}) {
        s.stopAtM1 = false;
        EXPECT_TRUE(ReadStoredText(m1, text, s)) << text;
        EXPECT_TRUE(s.stopAtM1) << text;
    }
    EXPECT_TRUE(ReadStoredText(m1, "0", s));
    EXPECT_FALSE(s.stopAtM1);
}

TEST(SettingsTest, MalformedTextIsRefusedAndLeavesTheField) {
    Settings s;
    struct Case {
        const char* name;
        const char* text;
    };
    const Case cases[] = {
        {"TIMER", ""},          {"TIMER", "ten"},         {"TIMER", "10ms"},
        {"TIMER", "1.5"},       {"TIMER", "99999999999"}, {"NCCODE", "--1"},
        {"NCCODE", "+-1"},      {"Feed", "0x"},           {"Feed", "red"},
        {"Feed", "4294967296"}, {"Buer", "yes"},          {"DRYRUN", "2000.5"},
        {"DRYRUN", "fast"},     {"CutterDia", "2mm"},     {"CutterDia", "inf"},
        {"CutterDia", "nan"},   {"CutterDia", ""},        {"Gage", "0x10"},
    };
    for (const Case& c : cases) {
        Settings before = s;
        EXPECT_FALSE(ReadStoredText(Value(c.name), c.text, s)) << c.name << "=" << c.text;
        EXPECT_EQ(s.timerIntervalMs, before.timerIntervalMs);
        EXPECT_EQ(s.dialect, before.dialect);
        EXPECT_EQ(s.feedColor, before.feedColor);
        EXPECT_EQ(s.noMotionBuffer, before.noMotionBuffer);
        EXPECT_EQ(s.dryRunSpeed, before.dryRunSpeed);
        EXPECT_EQ(s.cutterDiameter, before.cutterDiameter);
    }
}

TEST(SettingsTest, ColoursAcceptHexadecimalAndSignedForms) {
    Settings s;
    const SettingValue& feed = Value("Feed");
    EXPECT_TRUE(ReadStoredText(feed, "0x00FF00", s));
    EXPECT_EQ(s.feedColor, 0x00FF00u);
    EXPECT_TRUE(ReadStoredText(feed, "-1", s));  // a signed 32-bit reading of 0xFFFFFFFF
    EXPECT_EQ(s.feedColor, 0xFFFFFFFFu);
    EXPECT_TRUE(ReadStoredText(Value("CutterDia"), " 6.35 ", s));
    EXPECT_EQ(s.cutterDiameter, 6.35);
}

TEST(SettingsTest, ResetPutsOneValueBackToItsDefault) {
    Settings s;
    s.timerIntervalMs = 99;
    s.editorCommand = "vi";
    s.cutterDiameter = 9;
    ResetToDefault(Value("TIMER"), s);
    EXPECT_EQ(s.timerIntervalMs, 10);
    EXPECT_EQ(s.editorCommand, "vi");
    ResetToDefault(Value("EditerPath"), s);
    ResetToDefault(Value("CutterDia"), s);
    EXPECT_EQ(s.editorCommand, "blockpad.exe");
    EXPECT_EQ(s.cutterDiameter, 2.0);
}

}  // namespace
}  // namespace cuttrace
