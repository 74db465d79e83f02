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
    const std::string_view kIf = KeywordText(Keyword::If);
    const std::string_view kGoto = KeywordText(Keyword::Goto);
    const std::string_view kWhile = KeywordText(Keyword::While);
    const std::string_view kDo = KeywordText(Keyword::Do);
    const std::string_view kEnd = KeywordText(Keyword::End);

    if (std::size_t at = st.find(kIf); at != std::string_view::npos) {
        ConditionResult r = EvaluateCondition(text, pos + at);
        if (r == ConditionResult::Error) {
            DiagnosticLog::LogText(messages::kIfError, From(text, pos));
            return false;
        }
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
        ConditionResult r = EvaluateCondition(text, pos + at);
        std::size_t doAt = From(text, pos).find(kDo);
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
    DiagnosticLog::LogText(messages::kLetError, From(text, pos));
    return false;
}

ConditionResult NcMachine::EvaluateCondition(std::string& text, std::size_t pos) {
    NestingGuard frame(*this, From(text, pos));
    if (!frame) return ConditionResult::Error;
    std::string& copy = frame.scratch->text;
    copy.assign(From(text, pos));
    std::size_t open = copy.find('[');
    if (open == std::string::npos) {
        DiagnosticLog::LogText(messages::kNotFindOpenBracket, copy);
        return ConditionResult::Error;
    }
    std::size_t close = copy.find(']', open);
    if (close == std::string::npos) {
        DiagnosticLog::LogText(messages::kNotFindCloseBracket, copy);
        return ConditionResult::Error;
    }
    return CompareCondition(std::string_view(copy).substr(open + 1, close - open - 1));
}

ConditionResult NcMachine::CompareCondition(std::string_view condition) {
    NestingGuard frame(*this, condition);
    if (!frame) return ConditionResult::Error;
    Scratch& s = *frame.scratch;
    Tokenize(condition, s.tokens);
    double values[2] = {0.0, 0.0};
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
        if (IsNumberToken(t)) {
            value = ParseDouble(t);
        } else if (t[0] == prefix_) {
            s.text.assign(t);
            if (!GetVariable(s.text, 0, value)) return ConditionResult::Error;
        } else {
            op = KeywordIndex(t);
            if (!op) {
                DiagnosticLog::LogText(messages::kOperatorMissing, t);
                return ConditionResult::Error;
            }
            continue;
        }
        if (count < 2) values[count] = negative ? -value : value;
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
        case Keyword::Eq:
            return result(a == b);
        case Keyword::Ne:
            return result(a != b);
        default:
            DiagnosticLog::Log(messages::kOperatorFormat);
            return ConditionResult::Error;
    }
}

bool NcMachine::NumberAfterKeyword(std::string& text, std::size_t p, int32_t& number) {
    while (p < text.size() && text[p] == ' ')
        ++p;
    if (p < text.size() && text[p] == prefix_) {
        // GOTO#5 becomes GOTO20.000000: the reference (up to a closing ']') is replaced
        // by its value text.
        NestingGuard frame(*this, From(text, p));
        if (!frame) return false;
        std::size_t end = text.find(']', p);
        if (end == std::string::npos) end = text.size();
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
