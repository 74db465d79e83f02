#include "machines/NumberText.h"

#include <clocale>
#include <cmath>

#include <gtest/gtest.h>

namespace cuttrace {
namespace {

TEST(NumberText, ReadsLikeStrtodWhateverTheLocale) {
    // A comma-decimal locale must not change how program numbers are read or written.
    const char* previous = std::setlocale(LC_NUMERIC, nullptr);
    std::string saved = previous ? previous : "C";
    std::setlocale(LC_NUMERIC, "de_DE.UTF-8");

    std::size_t used = 0;
    EXPECT_DOUBLE_EQ(ParseDouble("1.5", &used), 1.5);
    EXPECT_EQ(used, 3u);
    EXPECT_DOUBLE_EQ(ParseDouble("  -.5X", &used), -0.5);
    EXPECT_EQ(used, 5u);
    EXPECT_DOUBLE_EQ(ParseDouble("+12.Y", &used), 12.0);
    EXPECT_EQ(used, 4u);
    EXPECT_DOUBLE_EQ(ParseDouble("1,5", &used), 1.0);
    EXPECT_EQ(ParseDouble("--1", &used), 0.0);
    EXPECT_EQ(used, 0u);
    EXPECT_EQ(ParseDouble("", &used), 0.0);
    EXPECT_EQ(FormatFixed(1.0 / 3.0, 6), "0.333333");
    EXPECT_EQ(FormatFixed(-12.5, 3), "-12.500");
    EXPECT_EQ(FormatFixed(2.0005, 3), "2.001");  // printf rounds the exact binary value

    std::setlocale(LC_NUMERIC, saved.c_str());
}

TEST(NumberText, IntegersAndExtremes) {
    EXPECT_EQ(ParseInt("300.7"), 300);
    EXPECT_EQ(ParseInt("-12abc"), -12);
    EXPECT_EQ(ParseInt("abc"), 0);
    EXPECT_EQ(ParseInt("99999999999999999999"), 2147483647);
    EXPECT_EQ(ParseInt("-99999999999999999999"), -2147483647 - 1);
    EXPECT_TRUE(std::isinf(ParseDouble("1e999")));
    EXPECT_EQ(ParseDouble("1e-999"), 0.0);
    EXPECT_EQ(FormatFixed(1e300, 3).size(), 301u + 4u);
}

TEST(NumberText, ShortestFormReadsBackExactly) {
    for (double v : {1234.5678, 0.1, -1e-7, 123456789.123456789, 1.0 / 3.0}) {
        std::string text;
        AppendShortest(text, v);
        EXPECT_EQ(ParseDouble(text), v) << text;
    }
}

}  // namespace
}  // namespace cuttrace
