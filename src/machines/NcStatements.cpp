// Control flow statements: IF/GOTO, GOTO, WHILE/DO, DO and END.
//
// The machine never moves the read position itself: it leaves a request code and its
// operand for the execution core.
#include <string>

#include "machines/CharClass.h"
#include "machines/DiagnosticLog.h"
#include "machines/MachineMessages.h"
#include "machines/MessageFormat.h"
#include "machines/NcMachine.h"
#include "machines/NumberText.h"

namespace cuttrace {

namespace {

std::string_view From(const std::string& text, std::size_t pos) {
    return std::string_view(text).substr(pos);
}

bool IsNumberToken(std::string_view t) {
    return !t.empty() && (IsDigit(t[0]) || (t[0] == '.' && t.size() > 1 && IsDigit(t[1])));
}

}  // namespace

bool NcMachine::ExecuteStatement(std::string& text, std::size_t pos) {
    std::string_view st = From(text, pos);
    if (st.size() > kMaxStatementLength) {
        DiagnosticLog::LogText(messages::kTooLong, st.substr(0, 64));
        return false;
    }
    if (controlLanguage_ && IsExternalOutput(st)) return ExternalOutput(text, pos);
    // Most statements are assignments without a letter of IF, GOTO, WHILE, DO or END.
    if (st.find_first_of(statementKeywordLetters_) == std::string_view::npos) {
        if (Assign(text, pos)) return true;
        if (!alarmRaised_) DiagnosticLog::LogText(messages::kLetError, From(text, pos));
        return false;
    }
    const std::string_view kIf = KeywordText(Keyword::If);
    const std::string_view kGoto = KeywordText(Keyword::Goto);
    const std::string_view kWhile = KeywordText(Keyword::While);
    const std::string_view kDo = KeywordText(Keyword::Do);
    const std::string_view kEnd = KeywordText(Keyword::End);

    if (std::size_t at = st.find(kIf); at != std::string_view::npos) {
        conditionEnd_ = std::string::npos;
        ConditionResult r = EvaluateCondition(text, pos + at);
        if (r == ConditionResult::Error) {
            DiagnosticLog::LogText(messages::kIfError, From(text, pos));
            return false;
        }
        if (conditionEnd_ != std::string::npos) return AfterCondition(text, pos, r);
        std::size_t go = From(text, pos).find(kGoto);
        if (r == ConditionResult::True && go != std::string_view::npos && !Goto(text, pos + go)) {
            DiagnosticLog::LogText(messages::kGotoAfterIfError, From(text, pos));
            return false;
        }
        return true;
    }
    if (std::size_t at = st.find(kGoto); at != std::string_view::npos) {
        if (Goto(text, pos + at)) return true;
        DiagnosticLog::LogText(messages::kGotoError, From(text, pos));
        return false;
    }
    if (std::size_t at = st.find(kWhile); at != std::string_view::npos) {
        conditionEnd_ = std::string::npos;
        ConditionResult r = EvaluateCondition(text, pos + at);
        // The DO after the condition (a DO inside it would be no keyword).
        std::size_t from = conditionEnd_ != std::string::npos ? conditionEnd_ - pos : 0;
        std::size_t doAt = From(text, pos).find(kDo, from);
        if (doAt == std::string_view::npos) {
            DiagnosticLog::LogText(messages::kWhileWithoutDo, From(text, pos));
            return false;
        }
        if (r == ConditionResult::True) {
            if (BeginLoop(text, pos + doAt)) return true;
            DiagnosticLog::LogText(messages::kWhileDoError, From(text, pos));
            return false;
        }
        if (r == ConditionResult::False) {
            if (SkipLoop(text, pos + doAt)) return true;
            DiagnosticLog::LogText(messages::kGoEndError, From(text, pos));
            return false;
        }
        DiagnosticLog::LogText(messages::kWhileError, From(text, pos));
        return false;
    }
    if (std::size_t at = st.find(kDo); at != std::string_view::npos) {
        if (BeginLoop(text, pos + at)) return true;
        DiagnosticLog::LogText(messages::kDoError, From(text, pos));
        return false;
    }
    if (std::size_t at = st.find(kEnd); at != std::string_view::npos) {
        if (EndLoop(text, pos + at)) return true;
        DiagnosticLog::LogText(messages::kEndError, From(text, pos));
        return false;
    }
    if (Assign(text, pos)) return true;
    // An alarm (#3000) ends the run as the program asked: no fault to report.
    if (!alarmRaised_) DiagnosticLog::LogText(messages::kLetError, From(text, pos));
    return false;
}

ConditionResult NcMachine::EvaluateCondition(std::string& text, std::size_t pos) {
    // The bracket after the keyword holds an expression; it holds when its value is not 0.
    std::size_t open = text.find('[', pos);
    if (open == std::string::npos) {
        DiagnosticLog::LogText(messages::kNotFindOpenBracket, From(text, pos));
        return ConditionResult::Error;
    }
    int depth = 0;
    std::size_t close = open;
    for (; close < text.size(); ++close) {
        if (text[close] == '[') ++depth;
        if (text[close] == ']' && --depth == 0) break;
    }
    if (close == text.size()) {
        DiagnosticLog::LogText(messages::kNotFindCloseBracket, From(text, pos));
        return ConditionResult::Error;
    }
    const std::string_view condition = std::string_view(text).substr(open, close - open + 1);
    NestingGuard frame(*this, condition);
    if (!frame) return ConditionResult::Error;
    Tokenize(condition, frame.scratch->tokens);
    ConditionResult result = ConditionResult::Error;
    if (!SimpleCondition(frame.scratch->tokens, result)) {
        double value = 0.0;
        if (!EvaluateTokens(condition, frame.scratch->tokens, value)) return ConditionResult::Error;
        result = value != 0.0 ? ConditionResult::True : ConditionResult::False;
    }
    if (result != ConditionResult::Error) conditionEnd_ = close + 1;
    return result;
}

bool NcMachine::SimpleCondition(std::span<const std::string_view> tokens, ConditionResult& result) {
    if (tokens.size() != 5 || tokens[0] != "[" || tokens[4] != "]") return false;
    auto plain = [&](std::string_view t) {
        if (IsNumberToken(t)) return true;
        if (t.size() < 2 || t[0] != prefix_) return false;
        for (std::size_t i = 1; i < t.size(); ++i) {
            if (!IsDigit(t[i])) return false;
        }
        return true;
    };
    std::optional<Keyword> op = KeywordIndex(tokens[2]);
    if (!op || !plain(tokens[1]) || !plain(tokens[3])) return false;
    if (*op != Keyword::Eq && *op != Keyword::Ne && *op != Keyword::Gt && *op != Keyword::Ge &&
        *op != Keyword::Lt && *op != Keyword::Le)
        return false;
    double values[2] = {0.0, 0.0};
    bool vacant[2] = {false, false};
    for (int side = 0; side < 2; ++side) {
        std::string_view t = tokens[side == 0 ? 1 : 3];
        if (t[0] != prefix_) {
            values[side] = ParseDouble(t);
            continue;
        }
        std::string& reference = side == 0 ? conditionLeft_ : conditionRight_;
        reference.assign(t);
        if (!GetVariable(reference, 0, values[side])) {
            result = ConditionResult::Error;
            return true;
        }
        vacant[side] = lastReadVacant_;
    }
    result = ComparisonHolds(*op, values[0], vacant[0], values[1], vacant[1])
                 ? ConditionResult::True
                 : ConditionResult::False;
    return true;
}

bool NcMachine::AfterCondition(std::string& text, std::size_t pos, ConditionResult r) {
    // IF[..]GOTO n, IF[..]THEN statement, or IF[..] alone (nothing to do).
    std::size_t p = conditionEnd_;
    while (p < text.size() && text[p] == ' ')
        ++p;
    const std::string_view rest = From(text, p);
    const std::string_view kGoto = KeywordText(Keyword::Goto);
    const std::string_view kThen = KeywordText(Keyword::Then);
    if (rest.substr(0, kGoto.size()) == kGoto) {
        if (r != ConditionResult::True || Goto(text, p)) return true;
        DiagnosticLog::LogText(messages::kGotoAfterIfError, From(text, pos));
        return false;
    }
    if (rest.substr(0, kThen.size()) == kThen) {
        std::size_t statement = p + kThen.size();
        while (statement < text.size() && text[statement] == ' ')
            ++statement;
        if (statement == text.size()) {
            DiagnosticLog::LogText(messages::kThenWithoutStatement, From(text, pos));
            return false;
        }
        if (r != ConditionResult::True) return true;
        NestingGuard frame(*this, From(text, pos));
        return frame && ExecuteStatement(text, statement);
    }
    if (rest.empty()) return true;
    DiagnosticLog::LogText(messages::kIfError, From(text, pos));
    return false;
}

ConditionResult NcMachine::CompareCondition(std::string_view condition) {
    NestingGuard frame(*this, condition);
    if (!frame) return ConditionResult::Error;
    Scratch& s = *frame.scratch;
    Tokenize(condition, s.tokens);
    double values[2] = {0.0, 0.0};
    bool vacant[2] = {false, false};
    int count = 0;
    std::optional<Keyword> op;
    for (std::size_t i = 0; i < s.tokens.size(); ++i) {
        std::string_view t = s.tokens[i];
        if (IsSkippedToken(t)) continue;
        bool negative = false;
        if (t == "-" && i + 1 < s.tokens.size() &&
            (IsNumberToken(s.tokens[i + 1]) || s.tokens[i + 1][0] == prefix_)) {
            negative = true;  // a negative operand: -5, -#1
            t = s.tokens[++i];
        }
        double value = 0.0;
        bool isVacant = false;
        if (IsNumberToken(t)) {
            value = ParseDouble(t);
        } else if (t[0] == prefix_) {
            s.text.assign(t);
            if (!GetVariable(s.text, 0, value)) return ConditionResult::Error;
            isVacant = lastReadVacant_ && !negative;
        } else {
            op = KeywordIndex(t);
            if (!op) {
                DiagnosticLog::LogText(messages::kOperatorMissing, t);
                return ConditionResult::Error;
            }
            continue;
        }
        if (count < 2) {
            values[count] = negative ? -value : value;
            vacant[count] = isVacant;
        }
        ++count;
    }
    if (!op || count != 2) {
        DiagnosticLog::Log(messages::kNotFindOperand);
        return ConditionResult::Error;
    }
    auto result = [](bool holds) { return holds ? ConditionResult::True : ConditionResult::False; };
    const double a = values[0];
    const double b = values[1];
    switch (*op) {
        case Keyword::Gt:
            return result(a > b);
        case Keyword::Ge:
            return result(a >= b);
        case Keyword::Lt:
            return result(a < b);
        case Keyword::Le:
            return result(a <= b);
        // Vacant equals only vacant; the other comparisons count it as 0.
        case Keyword::Eq:
            return result(vacant[0] == vacant[1] && a == b);
        case Keyword::Ne:
            return result(vacant[0] != vacant[1] || a != b);
        default:
            DiagnosticLog::Log(messages::kOperatorFormat);
            return ConditionResult::Error;
    }
}

bool NcMachine::NumberAfterKeyword(std::string& text, std::size_t p, int32_t& number) {
    while (p < text.size() && text[p] == ' ')
        ++p;
    const bool bracket = controlLanguage_ && p < text.size() && text[p] == '[';
    if (p < text.size() && (text[p] == prefix_ || bracket)) {
        // GOTO#5 becomes GOTO20.000000: the reference (up to a closing ']') or the bracket
        // group (GOTO[#1*5], GOTO#[#1+1]) is replaced by its value text.
        NestingGuard frame(*this, From(text, p));
        if (!frame) return false;
        std::size_t end = text.find(']', p);
        if (controlLanguage_ && (bracket || (p + 1 < text.size() && text[p + 1] == '['))) {
            int depth = 0;
            for (end = p; end < text.size(); ++end) {
                if (text[end] == '[') ++depth;
                if (text[end] == ']' && --depth == 0) break;
            }
            if (end < text.size()) ++end;
        }
        if (end == std::string::npos || end > text.size()) end = text.size();
        std::string& reference = frame.scratch->text;
        reference.assign(text, p, end - p);
        if (!Assign(reference, 0)) return false;
        text.replace(p, end - p, reference);
    }
    long long value = 0;
    for (; p < text.size() && IsDigit(text[p]); ++p) {
        value = value * 10 + (text[p] - '0');
        if (value > INT32_MAX) value = INT32_MAX;
    }
    number = static_cast<int32_t>(value);
    return true;
}

bool NcMachine::Goto(std::string& text, std::size_t pos) {
    int32_t target = 0;
    if (!NumberAfterKeyword(text, pos + KeywordText(Keyword::Goto).size(), target)) return false;
    request_.number = target;
    request_.kind = MachineRequest::Goto;
    return true;
}

bool NcMachine::BeginLoop(std::string& text, std::size_t pos) {
    if (loopDepth_ >= kMaxLoopDepth) {
        DiagnosticLog::Log(messages::kWhileNestOver);
        return false;
    }
    int32_t m = 0;
    if (!NumberAfterKeyword(text, pos + KeywordText(Keyword::Do).size(), m)) return false;
    loopLabels_[static_cast<std::size_t>(++loopDepth_)] = m;
    request_.kind = MachineRequest::LoopBegin;
    return true;
}

bool NcMachine::EndLoop(std::string& text, std::size_t pos) {
    int32_t m = 0;
    if (!NumberAfterKeyword(text, pos + KeywordText(Keyword::End).size(), m)) return false;
    int32_t innermost = loopDepth_ > 0 ? loopLabels_[static_cast<std::size_t>(loopDepth_)] : 0;
    if (loopDepth_ > 0 && m == innermost) {
        --loopDepth_;
        request_.kind = MachineRequest::LoopEnd;
        return true;
    }
    DiagnosticLog::Log(FormatMessage(
        loopMismatch_,
        {static_cast<double>(m), static_cast<double>(innermost), static_cast<double>(loopDepth_)}));
    return false;
}

bool NcMachine::SkipLoop(std::string& text, std::size_t pos) {
    if (loopDepth_ >= kMaxLoopDepth) {
        DiagnosticLog::Log(messages::kWhileNestOver);
        return false;
    }
    int32_t m = 0;
    if (!NumberAfterKeyword(text, pos + KeywordText(Keyword::Do).size(), m)) return false;
    request_.name.assign(KeywordText(Keyword::End));
    request_.name += std::to_string(m);
    request_.kind = MachineRequest::SkipToEnd;
    return true;
}

}  // namespace cuttrace
