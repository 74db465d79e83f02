#include "core/VariablesFile.h"

#include <sys/stat.h>
#include <unistd.h>

#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "support/TempFiles.h"

namespace cuttrace {
namespace {

using test::TempFolder;

TEST(VariablesFile, ReadsBothFormsAndSkipsComments) {
    std::vector<VariableSetting> settings;
    std::string error;
    ASSERT_TRUE(
        ParseVariables("; tool life\n"
                       "# a comment\n"
                       "#\n"
                       "\n"
                       "  #500=1.5\r\n"
                       "#501 -2 ; behind the value\n"
                       "#1\t+3e2 (A)\n"
                       "#502 = 7",
                       settings, error))
        << error;
    ASSERT_EQ(settings.size(), 4u);
    EXPECT_EQ(settings[0].number, 500);
    EXPECT_EQ(settings[0].value, 1.5);
    EXPECT_EQ(settings[0].line, 5);
    EXPECT_EQ(settings[1].value, -2.0);
    EXPECT_EQ(settings[2].number, 1);
    EXPECT_EQ(settings[2].value, 300.0);
    EXPECT_EQ(settings[3].value, 7.0);
    // Written values read back exactly.
    std::vector<VariableSetting> again;
    settings[0].value = 0.1 + 0.2;
    ASSERT_TRUE(ParseVariables(FormatVariables(settings), again, error));
    EXPECT_EQ(again[0].value, 0.1 + 0.2);
    EXPECT_EQ(FormatVariables({{500, 2.0, 0}}), "#500=2\n");
}

TEST(VariablesFile, AMalformedLineIsNamed) {
    const std::vector<std::pair<std::string, std::string>> cases = {
        {"#500=1\n#501=\n", "line 2: no value"},
        {"#500=1\n\n#=3\n", "line 3: no variable number"},
        {"500=1\n", "line 1: expected #n=value"},
        {"#500=1 X\n", "line 1: unexpected text"},
        {"#500=1,5\n", "line 1: unexpected text"},
        {"#0=1\n", "line 1: #0 cannot be set"},
        {"#500:1\n", "line 1: expected = or a blank"},
        {"#5=1\n#6=\x01\x02\n", "line 2: not text"},
        {"#500=1e999\n", "line 1: no value"},
    };
    for (const auto& [text, expected] : cases) {
        std::vector<VariableSetting> settings;
        std::string error;
        EXPECT_FALSE(ParseVariables(text, settings, error)) << text;
        EXPECT_EQ(error.rfind(expected, 0), 0u) << error;
    }
}

TEST(VariablesFile, LargeBinaryAndMissingFilesAreRefusedWithAMessage) {
    TempFolder dir;
    std::vector<VariableSetting> settings;
    std::string error;
    EXPECT_FALSE(ReadVariablesFile(dir.Path("none.txt"), settings, error));
    EXPECT_NE(error.find("no such file"), std::string::npos);
    EXPECT_FALSE(ReadVariablesFile(dir.Root().string(), settings, error));
    const std::string big = dir.Path("big.txt");
    ASSERT_EQ(truncate(dir.Write("big.txt", "#1=1\n").c_str(), 1LL << 30), 0);  // 1 GB, sparse
    EXPECT_FALSE(ReadVariablesFile(big, settings, error));
    EXPECT_NE(error.find("too large"), std::string::npos) << error;
    EXPECT_FALSE(
        ReadVariablesFile(dir.Write("bin.txt", std::string("#1=1\n\0\xff\n", 8)), settings, error));
    EXPECT_NE(error.find("line 2: not text"), std::string::npos) << error;
    ASSERT_TRUE(ReadVariablesFile(dir.Write("ok.txt", "#100=4\n"), settings, error));
    EXPECT_EQ(settings.at(0).value, 4.0);
}

}  // namespace
}  // namespace cuttrace
