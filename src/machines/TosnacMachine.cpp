#include "machines/TosnacMachine.h"

#include "machines/CharClass.h"
#include "machines/DiagnosticLog.h"
#include "machines/MachineMessages.h"
#include "machines/NumberText.h"

namespace cuttrace {

namespace {

std::string_view From(const std::string& text, std::size_t pos) {
    return std::string_view(text).substr(pos);
}

}  // namespace

TosnacMachine::TosnacMachine() {
    UseKeywordTable(Dialect::Tosnac);
    prefix_ = 'V';
    statementContinuationChars_ = "*+-/=V";
    controlLanguage_ = false;
    bracketEndsWord_ = true;
    addressReferences_ = false;
    numberedVariables_ = false;
    dataSettingG10_ = false;
    // G65 O9010 L2 A1.; M98 O1234 L3. A macro call does not clear its level.
    callRoles_ = CallRoles{'O', 'O', false, 'L', 'L', 0, false};
    // No modal calls, no return sequence; the n-th I, J or K fills the n-th set.
    modalCalls_ = false;
    returnSequence_ = 0;
    argumentSetsInOrder_ = false;
    asinMessage_ = messages::kTosnacAsinRange;
    loopMismatch_ = messages::kTosnacLoopMismatch;
}

bool TosnacMachine::ExecuteStatement(std::string& text, std::size_t pos) {
    std::string_view st = From(text, pos);
    if (st.size() > kMaxStatementLength) {
        DiagnosticLog::LogText(messages::kTooLong, st.substr(0, 64));
        return false;
    }
    if (st.empty() || st[0] != '[') {
        DiagnosticLog::LogText(messages::kTypeMiss, st);
        return false;
    }
    auto fail = [&](std::string_view message) {
        DiagnosticLog::LogText(message, From(text, pos));
        return false;
    };
    if (std::size_t at = st.find(KeywordText(Keyword::If)); at != std::string_view::npos) {
        // The condition jumps by itself when it holds.
        if (EvaluateCondition(text, pos + at) == ConditionResult::Error) {
            return fail(messages::kTosnacIfError);
        }
        return true;
    }
    if (std::size_t at = st.find(KeywordText(Keyword::Goto)); at != std::string_view::npos) {
        return Goto(text, pos + at) || fail(messages::kTosnacGotoError);
    }
    if (std::size_t at = st.find(KeywordText(Keyword::While)); at != std::string_view::npos) {
        ConditionResult r = EvaluateCondition(text, pos + at);
        std::size_t doAt = From(text, pos).find(KeywordText(Keyword::Do));
        if (doAt == std::string_view::npos) return fail(messages::kTosnacWhileFormat);
        if (r == ConditionResult::True)
            return BeginLoop(text, pos + doAt) || fail(messages::kDoError);
        if (r == ConditionResult::False)
            return SkipLoop(text, pos + doAt) || fail(messages::kGoEndError);
        return fail(messages::kWhileError);
    }
    if (std::size_t at = st.find(KeywordText(Keyword::Do)); at != std::string_view::npos) {
        return BeginLoop(text, pos + at) || fail(messages::kDoError);
    }
    if (std::size_t at = st.find(KeywordText(Keyword::End)); at != std::string_view::npos) {
        return EndLoop(text, pos + at) || fail(messages::kEndError);
    }
    return Assign(text, pos) || fail(messages::kLetError);
}

ConditionResult TosnacMachine::EvaluateCondition(std::string& text, std::size_t pos) {
    NestingGuard frame(*this, From(text, pos));
    if (!frame) return ConditionResult::Error;
    std::string& copy = frame.scratch->text;
    copy.assign(From(text, pos));
    auto missing = []() {
        DiagnosticLog::Log(messages::kNotFindComma);
        return ConditionResult::Error;
    };
    // IF,V1.GT.10,GO 100]: c1 and c2 are the commas, d and e the dots around the operator.
    constexpr auto npos = std::string::npos;
    std::size_t c1 = copy.find(',');
    if (c1 == npos) return missing();
    std::size_t d = copy.find('.', c1 + 1);
    if (d != npos && d + 1 < copy.size() && IsDigit(copy[d + 1])) d = copy.find('.', d + 1);
    if (d == npos) return missing();
    std::size_t e = copy.find('.', d + 1);
    if (e == npos) return missing();
    std::size_t c2 = copy.find(',', e + 1);
    if (c2 == npos) return missing();

    std::string& comparison = frame.scratch->conditionText;
    comparison.assign(copy, c1 + 1, d - c1 - 1);
    comparison.append(copy, d + 1, e - d - 1);
    comparison.append(copy, e + 1, c2 - e - 1);
    ConditionResult r = CompareCondition(comparison);
    if (r != ConditionResult::True) return r;

    std::size_t close = copy.find(']', c2 + 1);
    if (close == npos) return missing();
    std::string& target = frame.scratch->conditionText;
    target.assign(copy, c2 + 1, close - c2 - 1);
    return Goto(target, 0) ? ConditionResult::True : ConditionResult::Error;
}

bool TosnacMachine::Goto(std::string& text, std::size_t pos) {
    // "GO" and its separator are skipped; a target text without "GO" (the DO of a WHILE
    // condition) gives no digits and so the target 0.
    std::size_t p = pos;
    if (std::size_t at = From(text, pos).find(KeywordText(Keyword::Goto));
        at != std::string::npos) {
        p = pos + at + KeywordText(Keyword::Goto).size();
    }
    while (p < text.size() && (text[p] == ' ' || text[p] == ','))
        ++p;
    int32_t target = 0;
    if (!NumberAfterKeyword(text, p, target)) return false;
    request_.number = target;
    request_.kind = MachineRequest::Goto;
    return true;
}

bool TosnacMachine::Assign(std::string& text, std::size_t pos) {
    return AssignTokens(text, pos, pos < text.size() && text[pos] == '[');
}

double TosnacMachine::ArgumentValue(std::string& word) {
    // Only a bracket group carries an expression (A[V1+1]); AV1 is a type miss.
    std::size_t at = word.size() > 1 && (word[1] == 'V' || word[1] == '[') ? 1
                     : word.size() > 2 && word[1] == '-' && (word[2] == 'V' || word[2] == '[')
                         ? 2
                         : std::string::npos;
    if (at != std::string::npos && !ExecuteStatement(word, at)) {
        argumentFailed_ = true;
        return 0.0;
    }
    return ParseDouble(std::string_view(word).substr(1));
}

}  // namespace cuttrace
