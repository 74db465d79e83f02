// Reaches the pieces of a dialect machine that the execution core never calls, so unit
// tests and fuzz targets can drive the scanner, the evaluator and the statements alone.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "machines/NcMachine.h"

namespace cuttrace::test {

class MachinePeer {
  public:
    static std::size_t ReadToken(NcMachine& m, std::string_view text) { return m.ReadToken(text); }
    static std::size_t ReadWord(NcMachine& m, std::string_view line, std::size_t& pos,
                                std::string& word) {
        return m.ReadWord(line, pos, word);
    }
    static std::size_t ReadComment(NcMachine& m, std::string_view line, std::size_t& pos,
                                   std::string& word) {
        return m.ReadComment(line, pos, word);
    }
    static std::size_t ReadBracket(NcMachine& m, std::string_view line, std::size_t& pos,
                                   std::string& out) {
        return m.ReadBracket(line, pos, out);
    }
    static int VariableNumber(NcMachine& m, std::string& text, std::size_t pos) {
        return m.VariableNumber(text, pos);
    }
    static int Precedence(NcMachine& m, std::string_view token) { return m.Precedence(token); }
    static std::optional<Keyword> KeywordIndex(const NcMachine& m, std::string_view token) {
        return m.KeywordIndex(token);
    }
    static std::optional<CallKind> CallKeywordIndex(const NcMachine& m, std::string_view w) {
        return m.CallKeywordIndex(w);
    }
    static bool ExecuteStatement(NcMachine& m, std::string& text, std::size_t pos) {
        return m.ExecuteStatement(text, pos);
    }
    static ConditionResult EvaluateCondition(NcMachine& m, std::string& text, std::size_t pos) {
        return m.EvaluateCondition(text, pos);
    }
    static bool EvaluateInPlace(NcMachine& m, std::string& text, std::size_t pos) {
        return m.EvaluateInPlace(text, pos);
    }
    static int ToPostfix(NcMachine& m, std::string_view text, PostfixList& out) {
        return m.ToPostfix(text, out);
    }
    // The DO label of open loop `depth` (1 = outermost).
    static int32_t LoopLabel(const NcMachine& m, int depth) {
        return m.loopLabels_[static_cast<std::size_t>(depth)];
    }
};

}  // namespace cuttrace::test
