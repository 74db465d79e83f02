#include "core/ToolData.h"

#include <gtest/gtest.h>

namespace cuttrace {
namespace {

TEST(ToolData, VariablesNameFourKindsInTwoLayouts) {
    struct Row {
        int variable;
        ToolData::Kind kind;
        int number;
    };
    const Row rows[] = {
        {2001, ToolData::Kind::LengthWear, 1},     {2400, ToolData::Kind::LengthGeometry, 200},
        {2401, ToolData::Kind::RadiusWear, 1},     {2800, ToolData::Kind::RadiusGeometry, 200},
        {10001, ToolData::Kind::LengthWear, 1},    {11999, ToolData::Kind::LengthGeometry, 999},
        {13005, ToolData::Kind::RadiusGeometry, 5}};
    for (const Row& row : rows) {
        ToolData::Kind kind{};
        int number = 0;
        ASSERT_TRUE(ToolData::VariableSlot(row.variable, kind, number)) << row.variable;
        EXPECT_EQ(kind, row.kind) << row.variable;
        EXPECT_EQ(number, row.number) << row.variable;
    }
    ToolData::Kind kind{};
    int number = 0;
    for (int outside : {2000, 2801, 10000, 11000, 14001})
        EXPECT_FALSE(ToolData::VariableSlot(outside, kind, number)) << outside;
}

TEST(ToolData, TableLinesAndTheirFaults) {
    ToolData data;
    std::string error;
    ASSERT_TRUE(data.Parse("T1 FLAT D=10\nh2 l=120.5 w=-0.25 ; comment\n\n(note)\nD7,R=4\n",
                           "t.txt", &error))
        << error;
    EXPECT_DOUBLE_EQ(data.Length(2), 120.25);
    EXPECT_DOUBLE_EQ(data.Radius(7), 4.0);

    const std::pair<const char*, const char*> bad[] = {
        {"H1 L=1\nX5\n", "t.txt:2: not an offset line (H1 L=.. or D1 R=..)"},
        {"H0 L=1\n", "t.txt:1: bad offset number 'H0' (1..999)"},
        {"D1 R=abc\n", "t.txt:1: bad value 'R=ABC'"},
        {"D1 L=5\n", "t.txt:1: unknown word 'L=5'"},
        {"H3\n", "t.txt:1: no value (L=)"},
    };
    for (const auto& [text, message] : bad) {
        EXPECT_FALSE(data.Parse(text, "t.txt", &error)) << text;
        EXPECT_EQ(error, message);
    }
    EXPECT_DOUBLE_EQ(data.Length(2), 120.25) << "a bad table changes nothing";
}

}  // namespace
}  // namespace cuttrace
