// Fuzz target "tosnac_condition": the TOSNAC condition parser ([IF,V1.GT.10,GO 100]).
//
// Input: the text of a condition, from its keyword on. It is evaluated directly, as a
// whole statement, and by the bracket-form parser of the other dialects for comparison
// of robustness (their conditions share the comparison code).
#include <string>

#include "FuzzSupport.h"
#include "machines/NcMachine.h"
#include "machines/TosnacMachine.h"

namespace {

using namespace cuttrace;

// Values for the variables a condition may name, so comparisons see more than zeros.
void SetVariables(NcMachine& m) {
    m.LocalLevels[0][1] = 11.0;
    m.LocalLevels[0][2] = -1.5;
    m.LocalLevels[0][3] = 3.0;
    m.CommonVariables[1] = 100.0;  // V101 / #101
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
    fuzz::QuietLog();
    const std::string input(fuzz::Text(data, size));

    TosnacMachine tosnac;
    SetVariables(tosnac);
    std::string text = input;
    int r = tosnac.EvaluateCondition(text, 0);
    CUTTRACE_FUZZ_CHECK(r == -1 || r == 0 || r == 1);
    // Only a condition that holds jumps; the others leave no request behind.
    if (r == 1) CUTTRACE_FUZZ_CHECK(tosnac.ResultCode == ResultGoto);
    if (r == 0) CUTTRACE_FUZZ_CHECK(tosnac.ResultCode == ResultNone);
    CUTTRACE_FUZZ_CHECK(tosnac.LoopDepth == 0 && tosnac.Level == 0);

    TosnacMachine statement;
    SetVariables(statement);
    text = input;
    statement.ExecuteStatement(text, 0);
    CUTTRACE_FUZZ_CHECK(statement.LoopDepth >= 0 &&
                        statement.LoopDepth <= NcMachine::kMaxLoopDepth);

    auto fanuc = CreateMachine(DialectFanuc);
    SetVariables(*fanuc);
    text = input;
    r = fanuc->EvaluateCondition(text, 0);
    CUTTRACE_FUZZ_CHECK(r == -1 || r == 0 || r == 1);
    return 0;
}
