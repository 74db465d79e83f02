// What ExecuteBlock makes of a block: ordinary, handled or failed, and the words it rewrites.
#include <gtest/gtest.h>

#include "machines/NcMachine.h"
#include "support/MachineHarness.h"

namespace cuttrace {
namespace {

using test::Execute;
using V = std::vector<std::string>;

TEST(Block, OrdinaryBlocksPassUnchanged) {
    auto m = CreateMachine(DialectMeldas);
    V words;
    EXPECT_EQ(Execute(*m, "", &words), BlockOrdinary);
    EXPECT_EQ(Execute(*m, "N10G01X10.Y20.\r\n", &words), BlockOrdinary);
    EXPECT_EQ(words, (V{"N10", "G01", "X10.", "Y20."}));
    EXPECT_EQ(Execute(*m, "(COMMENT)G01X1", &words), BlockOrdinary);
    EXPECT_EQ(Execute(*m, "%"), BlockOrdinary);
    EXPECT_EQ(Execute(*m, "G01X-.5Y.25"), BlockOrdinary);
    EXPECT_EQ(Execute(*m, "G02X1.Y2.I0.5J0."), BlockOrdinary);
}

TEST(Block, ProgramNumbersAndLWordsAreNeverGCode) {
    auto m = CreateMachine(DialectFanuc);
    EXPECT_EQ(Execute(*m, "O1000"), BlockHandled);
    EXPECT_EQ(Execute(*m, "G81X0Y0Z-5R2L3"), BlockHandled);
    EXPECT_EQ(m->ResultCode, ResultNone);
}

TEST(Block, AWordStartingWithADigitFails) {
    auto m = CreateMachine(DialectFanuc);
    EXPECT_EQ(Execute(*m, "G01 3X"), BlockError);
}

TEST(Block, VariablesInAddressWordsAreSubstituted) {
    auto m = CreateMachine(DialectFanuc);
    V words;
    ASSERT_EQ(Execute(*m, "#1=1#2=-2"), BlockHandled);
    EXPECT_EQ(Execute(*m, "G01 X#1 Y#2", &words), BlockOrdinary);
    EXPECT_EQ(words, (V{"G01", "X1.000", "Y-2.000"}));
    EXPECT_EQ(Execute(*m, "G01 X[#1/4] Y[#2*2]", &words), BlockOrdinary);
    EXPECT_EQ(words, (V{"G01", "X0.250000", "Y-4.000000"}));
}

TEST(Block, AStatementMakesTheBlockHandled) {
    auto m = CreateMachine(DialectFanuc);
    V words;
    EXPECT_EQ(Execute(*m, "#1=5 X#1", &words), BlockHandled);
    EXPECT_EQ(words, (V{"#1=5", "X5.000"}));
    EXPECT_EQ(test::Local(*m, 1), 5.0);
}

TEST(Block, CallBlocksAreLeftToCall) {
    auto m = CreateMachine(DialectFanuc);
    V words;
    EXPECT_EQ(Execute(*m, "X#1 G65 P9010 A1. B#2", &words), BlockHandled);
    EXPECT_EQ(m->ResultCode, ResultCall);
    EXPECT_EQ(m->ProgramName, "O9010");
    // Words before the call keyword are substituted; the call takes the rest as arguments.
    EXPECT_EQ(words[0], "X0.000");
}

}  // namespace
}  // namespace cuttrace
