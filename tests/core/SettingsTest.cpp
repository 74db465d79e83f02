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
    EXPECT_EQ(s.NCCODE, 0);  // MELDAS
    EXPECT_EQ(s.TIMER, 10);
    EXPECT_EQ(s.DRYRUN, 2000.0);
    EXPECT_TRUE(s.Buer);
    EXPECT_TRUE(s.M1);
    EXPECT_EQ(s.EditerPath, "blockpad.exe");
    EXPECT_EQ(s.Feed, 0x0000FFu);
    EXPECT_EQ(s.Rapid, 0u);
    EXPECT_EQ(s.Spot, 0xFF0000u);
    EXPECT_EQ(s.Org, 0xFF00FFu);
    EXPECT_EQ(s.CutterDia, 2.0);
    EXPECT_EQ(&AppSettings(), &AppSettings());
}

TEST(SettingsTest, ValuesAreListedInTheirReadAndWriteOrder) {
    std::vector<std::string> names;
    for (const SettingValue& v : SettingValues())
        names.emplace_back(v.name);
    EXPECT_EQ(names, (std::vector<std::string>{"Org", "Gage", "Feed", "Rapid", "Spot", "Back",
                                               "NCCODE", "Buer", "G0", "M1", "TIMER", "DRYRUN",
                                               "CutterDia", "CuterView", "EditerPath"}));
}

TEST(SettingsTest, EveryValueReadsBackWhatWasStored) {
    Settings written;
    written.Org = 0x123456;
    written.Gage = -7;
    written.Feed = 0xFFFFFFFF;
    written.Rapid = 0x00ABCDEF;
    written.Spot = 1;
    written.Back = 0;
    written.NCCODE = 2;
    written.Buer = false;
    written.G0 = false;
    written.M1 = false;
    written.TIMER = 0;
    written.DRYRUN = 3500.0;
    written.CutterDia = 0.1 + 0.2;  // not representable in few digits
    written.CuterView = false;
    written.EditerPath = "/usr/bin/editor --line, \"quoted\" = x";

    Settings read;
    for (const SettingValue& v : SettingValues()) {
        ASSERT_TRUE(ReadStoredText(v, StoredText(v, written), read)) << v.name;
    }
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
    EXPECT_EQ(read.DRYRUN, written.DRYRUN);
    EXPECT_EQ(read.CutterDia, written.CutterDia);
    EXPECT_EQ(read.CuterView, written.CuterView);
    EXPECT_EQ(read.EditerPath, written.EditerPath);
}

TEST(SettingsTest, DryRunSpeedIsStoredAsATruncatedInteger) {
    Settings s;
    const SettingValue& dry = Value("DRYRUN");
    s.DRYRUN = 2500.9;
    EXPECT_EQ(StoredText(dry, s), "2500");
    s.DRYRUN = -12.7;
    EXPECT_EQ(StoredInteger(dry, s), -12);
    s.DRYRUN = 1e300;
    EXPECT_EQ(StoredInteger(dry, s), 2147483647);
    s.DRYRUN = std::numeric_limits<double>::quiet_NaN();
    EXPECT_EQ(StoredInteger(dry, s), 0);
}

TEST(SettingsTest, FlagsAreStoredAsZeroOrOneAndAnyNonzeroReadsTrue) {
    Settings s;
    const SettingValue& m1 = Value("M1");
    EXPECT_EQ(StoredText(m1, s), "1");
    s.M1 = false;
    EXPECT_EQ(StoredText(m1, s), "0");
    for (const char* text : {"1", "-1", "7", " 2 ", "true"}) {
        s.M1 = false;
        EXPECT_TRUE(ReadStoredText(m1, text, s)) << text;
        EXPECT_TRUE(s.M1) << text;
    }
    EXPECT_TRUE(ReadStoredText(m1, "0", s));
    EXPECT_FALSE(s.M1);
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
        EXPECT_EQ(s.TIMER, before.TIMER);
        EXPECT_EQ(s.NCCODE, before.NCCODE);
        EXPECT_EQ(s.Feed, before.Feed);
        EXPECT_EQ(s.Buer, before.Buer);
        EXPECT_EQ(s.DRYRUN, before.DRYRUN);
        EXPECT_EQ(s.CutterDia, before.CutterDia);
    }
}

TEST(SettingsTest, ColoursAcceptHexadecimalAndSignedForms) {
    Settings s;
    const SettingValue& feed = Value("Feed");
    EXPECT_TRUE(ReadStoredText(feed, "0x00FF00", s));
    EXPECT_EQ(s.Feed, 0x00FF00u);
    EXPECT_TRUE(ReadStoredText(feed, "-1", s));  // a signed 32-bit reading of 0xFFFFFFFF
    EXPECT_EQ(s.Feed, 0xFFFFFFFFu);
    EXPECT_TRUE(ReadStoredText(Value("CutterDia"), " 6.35 ", s));
    EXPECT_EQ(s.CutterDia, 6.35);
}

TEST(SettingsTest, ResetPutsOneValueBackToItsDefault) {
    Settings s;
    s.TIMER = 99;
    s.EditerPath = "vi";
    s.CutterDia = 9;
    ResetToDefault(Value("TIMER"), s);
    EXPECT_EQ(s.TIMER, 10);
    EXPECT_EQ(s.EditerPath, "vi");
    ResetToDefault(Value("EditerPath"), s);
    ResetToDefault(Value("CutterDia"), s);
    EXPECT_EQ(s.EditerPath, "blockpad.exe");
    EXPECT_EQ(s.CutterDia, 2.0);
}

}  // namespace
}  // namespace cuttrace
