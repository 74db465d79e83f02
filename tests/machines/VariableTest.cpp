// Variable numbers, storage ranges, levels and substitution into address words.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <string>
#include "machines/NcMachine.h"
#include "support/MachineHarness.h"
#include "support/MachinePeer.h"

namespace cuttrace {
namespace {

using test::Execute;
using test::Local;
using test::LogRecorder;
using V = std::vector<std::string>;
using test::MachinePeer;

TEST(Variables, ReferenceNumbers) {
    auto m = CreateMachine(Dialect::Meldas);
    auto number = [&](std::string text) { return MachinePeer::VariableNumber(*m, text, 0); };
    EXPECT_EQ(number("#105"), 105);
    EXPECT_EQ(number("#3.000000"), 3);  // an inner reference's value
    EXPECT_EQ(number("#A"), 31);
    EXPECT_EQ(number("#E"), 35);
    EXPECT_EQ(number("#a"), 63);
    EXPECT_EQ(number("P9010"), 9010);  // an address word's digits
    LogRecorder log;
    EXPECT_EQ(number("#[#1+7]"), 7);
    EXPECT_EQ(number("#1.5"), -1);
    EXPECT_TRUE(log.Contains("fractional variable number #1.5"));
    EXPECT_EQ(number("#-2"), -1);
    EXPECT_TRUE(log.Contains("negative variable number #-2"));
    EXPECT_EQ(number("#"), -1);
    EXPECT_TRUE(log.Contains("invalid variable reference :#"));
    EXPECT_EQ(number("#[4MOD0]"), -1);  // not a number is no variable number
    EXPECT_TRUE(log.Contains("fractional variable number"));
}

TEST(Variables, IndirectReferencesAreRewritten) {
    auto m = CreateMachine(Dialect::Meldas);
    Execute(*m, "#2=3");
    std::string ref = "##2";
    EXPECT_EQ(MachinePeer::VariableNumber(*m, ref, 0), 3);
    EXPECT_EQ(ref, "#3.000000");
    EXPECT_EQ(Execute(*m, "##2=7"), BlockResult::Handled);
    EXPECT_EQ(Local(*m, 3), 7.0);
    EXPECT_EQ(Execute(*m, "#A=2"), BlockResult::Handled);
    EXPECT_EQ(Local(*m, 31), 2.0);
}

TEST(Variables, StorageRanges) {
    auto m = CreateMachine(Dialect::Fanuc);
    LogRecorder log;
    EXPECT_EQ(Execute(*m, "#35=1#100=2#999=3#500=#999+1"), BlockResult::Handled);
    EXPECT_EQ(Local(*m, 35), 1.0);
    EXPECT_EQ(m->Variables().Common(100), 2.0);
    EXPECT_EQ(m->Variables().Common(500), 4.0);
    // #36..#99 are no variables: reading or writing one fails and names it.
    for (const char* line : {"#50=3", "#1=#99", "X#36", "#F=1"}) {
        EXPECT_EQ(Execute(*m, line), BlockResult::Error) << line;
    }
    EXPECT_TRUE(log.Contains("undefined variable #50"));
    EXPECT_TRUE(log.Contains("undefined variable #99"));
    // Positions are read-only; a number beyond the tables is kept, and named once.
    EXPECT_EQ(Execute(*m, "#5001=1"), BlockResult::Error);
    EXPECT_TRUE(log.Contains("read-only variable #5001"));
    EXPECT_EQ(Execute(*m, "#10000=7#1=#10000+#10000"), BlockResult::Handled);
    EXPECT_EQ(Local(*m, 1), 14.0);
    EXPECT_EQ(std::count(log.lines.begin(), log.lines.end(), "non-standard variable #10000"), 1);
    // The clocks run on from the value written; stored system variables keep theirs.
    EXPECT_EQ(Execute(*m, "#3001=250#3901=3#1=#3001+#3901"), BlockResult::Handled);
    EXPECT_EQ(Local(*m, 1), 253.0);
}

TEST(Variables, TosnacKeepsItsHundredCommons) {
    auto m = CreateMachine(Dialect::Tosnac);
    // #101..#200 are stored; other numbers read 0 and writes are ignored; #100 is refused.
    EXPECT_EQ(Execute(*m, "[V50=3][V201=4][V200=2][V1=V50+V201+V200+1]"), BlockResult::Handled);
    EXPECT_EQ(Local(*m, 1), 3.0);
    EXPECT_EQ(Execute(*m, "[V1=V100]"), BlockResult::Error);
}

TEST(Variables, LocalsBelongToTheirLevelCommonsAreShared) {
    auto m = CreateMachine(Dialect::Fanuc);
    Execute(*m, "#1=11#101=5");
    ASSERT_EQ(Execute(*m, "G65P9010A2."), BlockResult::Handled);
    EXPECT_EQ(m->MacroLevel(), 1);
    EXPECT_EQ(Local(*m, 1), 2.0);
    EXPECT_EQ(Execute(*m, "#1=#1+#101#101=6"), BlockResult::Handled);
    EXPECT_EQ(Local(*m, 1), 7.0);
    ASSERT_EQ(Execute(*m, "M99"), BlockResult::Handled);
    EXPECT_EQ(m->MacroLevel(), 0);
    EXPECT_EQ(Local(*m, 1), 11.0);
    EXPECT_EQ(m->Variables().Common(101), 6.0);
    // Values survive the return: the level's variables are not cleared.
    EXPECT_EQ(m->Variables().Local(1, 1), 7.0);
}

TEST(Variables, SubstitutionWritesThreeDecimals) {
    auto m = CreateMachine(Dialect::Meldas);
    V words;
    Execute(*m, "#1=10#2=12.3456#3=-0.0004");
    EXPECT_EQ(Execute(*m, "G00X#1Y#2Z#3", &words), BlockResult::Ordinary);
    EXPECT_EQ(words, (V{"G00", "X10.000", "Y12.346", "Z-0.000"}));
}

TEST(Variables, AMinusBeforeANegativeValueCancels) {
    auto m = CreateMachine(Dialect::Meldas);
    V words;
    Execute(*m, "#5=-12.5#6=4");
    EXPECT_EQ(Execute(*m, "G01X-#5Y-#6", &words), BlockResult::Ordinary);
    EXPECT_EQ(words, (V{"G01", "X12.500", "Y-4.000"}));
    EXPECT_EQ(Execute(*m, "G01X-[#5*2]Y-[#6]", &words), BlockResult::Ordinary);
    EXPECT_EQ(words, (V{"G01", "X25.000000", "Y-4.000000"}));
}

TEST(Variables, InvalidReferencesFailTheBlock) {
    auto m = CreateMachine(Dialect::Fanuc);
    LogRecorder log;
    EXPECT_EQ(Execute(*m, "#1=#[0-2]"), BlockResult::Error);
    EXPECT_TRUE(log.Contains("negative variable number #-2"));
    EXPECT_TRUE(log.Contains("let error #1=#[0-2]"));
    EXPECT_EQ(Execute(*m, "G01X#[1/4]"), BlockResult::Error);
    EXPECT_TRUE(log.Contains("fractional variable number #0.25"));
    EXPECT_EQ(Execute(*m, "#1.5=2"), BlockResult::Error);
}

// Runs "#1=<expression>" and returns #1 (NaN when the statement fails).
double Value(NcMachine& m, const std::string& expression) {
    m.Variables().SetLocal(0, 1, 0);
    if (Execute(m, "#1=" + expression) != BlockResult::Handled) return std::nan("");
    return Local(m, 1);
}

TEST(Variables, WhereEachNumberLives) {
    auto m = CreateMachine(Dialect::Meldas);
    EXPECT_EQ(Execute(*m, "#0=3"), BlockResult::Error);  // always vacant
    EXPECT_EQ(Execute(*m, "#299=1"), BlockResult::Handled);
    EXPECT_DOUBLE_EQ(m->Variables().Common(299), 1);

    m->Variables().SetLocal(0, 2, 3);
    m->Variables().SetLocal(0, 3, 7);
    EXPECT_DOUBLE_EQ(Value(*m, "##2+1"), 8);
    m->Variables().SetLocal(0, 2, 101);
    EXPECT_EQ(Execute(*m, "##2=4"), BlockResult::Handled);
    EXPECT_DOUBLE_EQ(m->Variables().Common(101), 4);

    std::string word = "H20";
    EXPECT_EQ(MachinePeer::VariableNumber(*m, word, 0), 20);
    word = "#12X";
    EXPECT_EQ(MachinePeer::VariableNumber(*m, word, 0), 12);
}

TEST(Variables, AMalformedTargetFailsTheAssignment) {
    auto m = CreateMachine(Dialect::Meldas);
    m->Variables().SetLocal(0, 1, 4);
    MacroVariables before = m->Variables();
    for (const char* line : {"#=5", "##[1]=5"}) {
        LogRecorder log;
        EXPECT_EQ(Execute(*m, line), BlockResult::Error) << line;
        EXPECT_TRUE(log.Contains("invalid variable reference :")) << log.Joined();
        EXPECT_TRUE(log.Contains(std::string("let error ") + line)) << log.Joined();
    }
    // An indirect target whose inner value is negative names no variable either.
    m->Variables().SetLocal(0, 2, -5);
    before.SetLocal(0, 2, -5);
    EXPECT_EQ(Execute(*m, "##2=1"), BlockResult::Error);
    EXPECT_TRUE(m->Variables() == before);
    // An indirect target is an ordinary variable.
    m->Variables().SetLocal(0, 2, 100);
    EXPECT_EQ(Execute(*m, "##2=1"), BlockResult::Handled);
    EXPECT_DOUBLE_EQ(m->Variables().Common(100), 1);
}

TEST(Variables, OnlyStoredValuesPassThroughText) {
    auto m = CreateMachine(Dialect::Meldas);
    // Within one expression nothing is rounded: 1/3*3 is exactly 1.
    EXPECT_DOUBLE_EQ(Value(*m, "1/3*3"), 1.0);
    // Between statements the six-decimal text is what remains.
    EXPECT_EQ(Execute(*m, "#2=1/3"), BlockResult::Handled);
    EXPECT_EQ(Execute(*m, "#3=#2*3"), BlockResult::Handled);
    EXPECT_DOUBLE_EQ(Local(*m, 3), 0.999999);
}

}  // namespace
}  // namespace cuttrace
