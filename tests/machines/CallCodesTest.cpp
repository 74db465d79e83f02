#include "machines/CallCodes.h"

#include <gtest/gtest.h>

#include "machines/NcMachine.h"
#include "support/MachineHarness.h"

namespace cuttrace {
namespace {

using test::Execute;

TEST(CallCodes, TableEntriesAndTheirErrors) {
    std::vector<CallCode> codes;
    std::string error;
    ASSERT_TRUE(
        ParseCallCodes("G100=9010 macro\n# tool change\nM06 = O9001 subprogram; T=9000\n"
                       "m7=P9002 MACRO // a comment; G99=1 is not an entry\n"
                       "G101=9011 ; G102=9012 subprogram",
                       codes, error))
        << error;
    ASSERT_EQ(codes.size(), 6u);
    EXPECT_EQ(codes[0].letter, 'G');
    EXPECT_EQ(codes[0].code, 100);
    EXPECT_EQ(codes[0].program, 9010);
    EXPECT_TRUE(codes[0].macro);
    EXPECT_EQ(codes[1].code, 6);
    EXPECT_FALSE(codes[1].macro);
    EXPECT_EQ(codes[2].letter, 'T');
    EXPECT_FALSE(codes[2].macro) << "T calls a subprogram";
    EXPECT_TRUE(codes[3].macro);
    EXPECT_EQ(codes[3].letter, 'M');
    EXPECT_EQ(codes[4].code, 101) << "the comment ran to its line's end only";
    EXPECT_TRUE(codes[4].macro) << "a G code calls a macro unless told otherwise";
    EXPECT_FALSE(codes[5].macro);
    std::vector<CallCode> again;
    ASSERT_TRUE(ParseCallCodes(FormatCallCodes(codes), again, error));
    EXPECT_EQ(FormatCallCodes(again), FormatCallCodes(codes));

    for (const char* bad : {"X1=9000", "G=9000", "T5=9000", "M6 9000", "M6=", "M6=9000 later",
                            "M98=9000", "G65=9000", "M6=1\nM06=2"}) {
        EXPECT_FALSE(ParseCallCodes(bad, codes, error)) << bad;
        EXPECT_EQ(error.rfind("line ", 0), 0u) << error;
    }
    EXPECT_FALSE(ParseCallCodes("G100=1\nM6=1\nM06=2", codes, error));
    EXPECT_EQ(error.rfind("line 3: given twice", 0), 0u) << error;
}

TEST(CallCodes, CodesCallTheirProgramsButNotInsideThem) {
    for (Dialect dialect : {Dialect::Fanuc, Dialect::Meldas}) {
        auto m = CreateMachine(dialect);
        std::vector<CallCode> codes;
        std::string error;
        ASSERT_TRUE(ParseCallCodes("G100=9010; M6=9001; T=9000", codes, error));
        m->SetCallCodes(codes);
        // A G code macro: the block's words are its arguments.
        ASSERT_EQ(Execute(*m, "G100 X1. P2. Z-3."), BlockResult::Handled);
        EXPECT_EQ(m->Request().kind, MachineRequest::Call);
        EXPECT_EQ(m->Request().name, "O9010");
        EXPECT_EQ(m->Variables().Local(1, 24), 1.0);
        EXPECT_EQ(m->Variables().Local(1, 16), 2.0);
        EXPECT_EQ(m->Variables().Local(1, 26), -3.0);
        // Inside it, M6 is the plain M6.
        EXPECT_EQ(Execute(*m, "M6"), BlockResult::Ordinary);
        Execute(*m, "M99");
        EXPECT_EQ(m->MacroLevel(), 0);
        // M6 alone calls at once; beside other words the block runs first, then the call.
        ASSERT_EQ(Execute(*m, "M06"), BlockResult::Handled);
        EXPECT_EQ(m->Request().name, "O9001");
        Execute(*m, "M99");
        WordList words;
        m->SplitBlock("G00 X5. T7\n", words);
        ASSERT_EQ(m->ExecuteBlock(words), BlockResult::Ordinary);
        std::string expanded;
        words.JoinInto(expanded);
        EXPECT_EQ(expanded, "G00X5.") << "the code is never part of the drawn block";
        ASSERT_TRUE(m->CallAfterBlockDue(false));
        ASSERT_EQ(m->CallAfterBlock(false), BlockResult::Handled);
        EXPECT_EQ(m->Request().name, "O9000");
        EXPECT_EQ(m->Variables().Common(kTCodeVariable), 7.0);
        EXPECT_EQ(m->MacroLevel(), 0) << "a subprogram opens no level";
        Execute(*m, "M99");
        EXPECT_FALSE(m->CallAfterBlockDue(true));
        EXPECT_EQ(Execute(*m, "M5"), BlockResult::Ordinary) << "codes not in the table";
    }
}

}  // namespace
}  // namespace cuttrace
