// Variable numbers, storage ranges, levels and substitution into address words.
#include <gtest/gtest.h>

#include "machines/NcMachine.h"
#include "support/MachineHarness.h"

namespace cuttrace {
namespace {

using test::Execute;
using test::Local;
using test::LogRecorder;
using V = std::vector<std::string>;

TEST(Variables, ReferenceNumbers) {
    auto m = CreateMachine(DialectMeldas);
    auto number = [&](std::string text) { return m->VariableNumber(text, 0); };
    EXPECT_EQ(number("#105"), 105);
    EXPECT_EQ(number("#1.5"), 1);
    EXPECT_EQ(number("#A"), 31);
    EXPECT_EQ(number("#E"), 35);
    EXPECT_EQ(number("#a"), 63);
    EXPECT_EQ(number("P9010"), 9010);  // an address word's digits
    LogRecorder log;
    EXPECT_EQ(number("#[#1]"), NcMachine::kInvalidVariable);
    EXPECT_TRUE(log.Contains("invalid variable reference :#[#1]"));
    EXPECT_EQ(number("#"), NcMachine::kInvalidVariable);
}

TEST(Variables, IndirectReferencesAreRewritten) {
    auto m = CreateMachine(DialectMeldas);
    Execute(*m, "#2=3");
    std::string ref = "##2";
    EXPECT_EQ(m->VariableNumber(ref, 0), 3);
    EXPECT_EQ(ref, "#3.000000");
    EXPECT_EQ(Execute(*m, "##2=7"), BlockHandled);
    EXPECT_EQ(Local(*m, 3), 7.0);
    EXPECT_EQ(Execute(*m, "#A=2"), BlockHandled);
    EXPECT_EQ(Local(*m, 31), 2.0);
}

TEST(Variables, StorageRanges) {
    auto m = CreateMachine(DialectFanuc);
    LogRecorder log;
    EXPECT_EQ(Execute(*m, "#35=1#101=2#200=3"), BlockHandled);
    EXPECT_EQ(Local(*m, 35), 1.0);
    EXPECT_EQ(m->CommonVariables[1], 2.0);
    EXPECT_EQ(m->CommonVariables[100], 3.0);
    // #36..#99 and #201 and above: writes do nothing, reads give 0.
    EXPECT_EQ(Execute(*m, "#50=3#201=4#1=#50+#201+1"), BlockHandled);
    EXPECT_EQ(Local(*m, 1), 1.0);
    EXPECT_EQ(m->CommonVariables[101], 0.0);
    // #100 cannot be written (silently) nor read.
    EXPECT_EQ(Execute(*m, "#100=1"), BlockHandled);
    EXPECT_EQ(m->CommonVariables[0], 0.0);
    EXPECT_EQ(Execute(*m, "#1=#100"), BlockError);
    EXPECT_EQ(Execute(*m, "X#100"), BlockError);
}

TEST(Variables, LocalsBelongToTheirLevelCommonsAreShared) {
    auto m = CreateMachine(DialectFanuc);
    Execute(*m, "#1=11#101=5");
    ASSERT_EQ(Execute(*m, "G65P9010A2."), BlockHandled);
    EXPECT_EQ(m->Level, 1);
    EXPECT_EQ(Local(*m, 1), 2.0);
    EXPECT_EQ(Execute(*m, "#1=#1+#101#101=6"), BlockHandled);
    EXPECT_EQ(Local(*m, 1), 7.0);
    ASSERT_EQ(Execute(*m, "M99"), BlockHandled);
    EXPECT_EQ(m->Level, 0);
    EXPECT_EQ(Local(*m, 1), 11.0);
    EXPECT_EQ(m->CommonVariables[1], 6.0);
    // Values survive the return: the level's variables are not cleared.
    EXPECT_EQ(m->LocalLevels[1][1], 7.0);
}

TEST(Variables, SubstitutionWritesThreeDecimals) {
    auto m = CreateMachine(DialectMeldas);
    V words;
    Execute(*m, "#1=10#2=12.3456#3=-0.0004");
    EXPECT_EQ(Execute(*m, "G00X#1Y#2Z#3", &words), BlockOrdinary);
    EXPECT_EQ(words, (V{"G00", "X10.000", "Y12.346", "Z-0.000"}));
}

TEST(Variables, AMinusBeforeANegativeValueCancels) {
    auto m = CreateMachine(DialectMeldas);
    V words;
    Execute(*m, "#5=-12.5#6=4");
    EXPECT_EQ(Execute(*m, "G01X-#5Y-#6", &words), BlockOrdinary);
    EXPECT_EQ(words, (V{"G01", "X12.500", "Y-4.000"}));
    EXPECT_EQ(Execute(*m, "G01X-[#5*2]Y-[#6]", &words), BlockOrdinary);
    EXPECT_EQ(words, (V{"G01", "X25.000000", "Y-4.000000"}));
}

TEST(Variables, InvalidReferencesFailTheBlock) {
    auto m = CreateMachine(DialectFanuc);
    LogRecorder log;
    EXPECT_EQ(Execute(*m, "#1=#[#2]"), BlockError);
    EXPECT_TRUE(log.Contains("invalid variable reference :#"));
    EXPECT_TRUE(log.Contains("let error #1=#[#2]"));
    EXPECT_EQ(Execute(*m, "G01X#[1]"), BlockError);
}

}  // namespace
}  // namespace cuttrace
