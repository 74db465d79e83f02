// Fuzz target "tosnac_condition": the TOSNAC condition parser ([IF,V1.GT.10,GO 100]).
//
// Input: the text of a condition, from its keyword on. It is evaluated directly, as a
// whole statement, and by the bracket-form parser of the other dialects for comparison
// of robustness (their conditions share the comparison code).
#include <string>

#include "../machines/support/MachinePeer.h"
#include "FuzzSupport.h"
#include "machines/NcMachine.h"
#include "machines/TosnacMachine.h"

namespace {

using namespace cuttrace;
using test::MachinePeer;

// Values for the variables a condition may name, so comparisons see more than zeros.
void SetVariables(NcMachine& m) {
    m.Variables().SetLocal(0, 1, 11.0);
    m.Variables().SetLocal(0, 2, -1.5);
    m.Variables().SetLocal(0, 3, 3.0);
    m.Variables().SetCommon(101, 100.0);  // V101 / #101
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
    fuzz::QuietLog();
    const std::string input(fuzz::Text(data, size));

    TosnacMachine tosnac;
    SetVariables(tosnac);
    std::string text = input;
    ConditionResult r = MachinePeer::EvaluateCondition(tosnac, text, 0);
    // Only a condition that holds jumps; the others leave no request behind.
    if (r == ConditionResult::True)
        CUTTRACE_FUZZ_CHECK(tosnac.Request().kind == MachineRequest::Goto);
    if (r == ConditionResult::False)
        CUTTRACE_FUZZ_CHECK(tosnac.Request().kind == MachineRequest::None);
    CUTTRACE_FUZZ_CHECK(tosnac.LoopDepth() == 0 && tosnac.MacroLevel() == 0);

    TosnacMachine statement;
    SetVariables(statement);
    text = input;
    MachinePeer::ExecuteStatement(statement, text, 0);
    CUTTRACE_FUZZ_CHECK(statement.LoopDepth() >= 0 &&
                        statement.LoopDepth() <= NcMachine::kMaxLoopDepth);

    auto fanuc = CreateMachine(Dialect::Fanuc);
    SetVariables(*fanuc);
    text = input;
    MachinePeer::EvaluateCondition(*fanuc, text, 0);
    return 0;
}
