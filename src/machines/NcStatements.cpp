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
    const std::string_view kIf = Keywords[KeywordIf];
    const std::string_view kGoto = Keywords[KeywordGoto];
    const std::string_view kWhile = Keywords[KeywordWhile];
    const std::string_view kDo = Keywords[KeywordDo];
    const std::string_view kEnd = Keywords[KeywordEnd];

    if (std::size_t at = st.find(kIf); at != std::string_view::npos) {
        int r = EvaluateCondition(text, pos + at);
        if (r == -1) {
            DiagnosticLog::LogText(messages::kIfError, From(text, pos));
            return false;
        }
        std::size_t go = From(text, pos).find(kGoto);
        if (r == 1 && go != std::string_view::npos && !Goto(text, pos + go)) {
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
        int r = EvaluateCondition(text, pos + at);
        std::size_t doAt = From(text, pos).find(kDo);
        if (doAt == std::string_view::npos) {
            DiagnosticLog::LogText(messages::kWhileWithoutDo, From(text, pos));
            return false;
        }
        if (r == 1) {
            if (BeginLoop(text, pos + doAt)) return true;
            DiagnosticLog::LogText(messages::kWhileDoError, From(text, pos));
            return false;
        }
        if (r == 0) {
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

int NcMachine::EvaluateCondition(std::string& text, std::size_t pos) {
    Frame frame(*this, From(text, pos));
    if (!frame) return -1;
    std::string& copy = frame.scratch->text;
    copy.assign(From(text, pos));
    std::size_t open = copy.find('[');
    if (open == std::string::npos) {
        DiagnosticLog::LogText(messages::kNotFindOpenBracket, copy);
        return -1;
    }
    std::size_t close = copy.find(']', open);
    if (close == std::string::npos) {
        DiagnosticLog::LogText(messages::kNotFindCloseBracket, copy);
        return -1;
    }
    return CompareCondition(std::string_view(copy).substr(open + 1, close - open - 1));
}

int NcMachine::CompareCondition(std::string_view condition) {
    Frame frame(*this, condition);
    if (!frame) return -1;
    Scratch& s = *frame.scratch;
    Tokenize(condition, s.tokens);
    double values[2] = {0.0, 0.0};
    int count = 0;
    int op = -1;
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
            if (!GetVariable(s.text, 0, value)) return -1;
        } else {
            int k = KeywordIndex(t);
            if (k < 0) {
                DiagnosticLog::LogText(messages::kOperatorMissing, t);
                return -1;
            }
            op = k;
            continue;
        }
        if (count < 2) values[count] = negative ? -value : value;
        ++count;
    }
    if (op < 0 || count != 2) {
        DiagnosticLog::Log(messages::kNotFindOperand);
        return -1;
    }
    const double a = values[0];
    const double b = values[1];
    switch (op) {
        case KeywordGt:
            return a > b ? 1 : 0;
        case KeywordGe:
            return a >= b ? 1 : 0;
        case KeywordLt:
            return a < b ? 1 : 0;
        case KeywordLe:
            return a <= b ? 1 : 0;
        case KeywordEq:
            return a == b ? 1 : 0;
        case KeywordNe:
            return a != b ? 1 : 0;
        default:
            DiagnosticLog::Log(messages::kOperatorFormat);
            return -1;
    }
}

bool NcMachine::NumberAfterKeyword(std::string& text, std::size_t p, int32_t& number) {
    while (p < text.size() && text[p] == ' ')
        ++p;
    if (p < text.size() && text[p] == prefix_) {
        // GOTO#5 becomes GOTO20.000000: the reference (up to a closing ']') is replaced
        // by its value text.
        Frame frame(*this, From(text, p));
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
    if (!NumberAfterKeyword(text, pos + Keywords[KeywordGoto].size(), target)) return false;
    ResultNumber = target;
    ResultCode = ResultGoto;
    return true;
}

bool NcMachine::BeginLoop(std::string& text, std::size_t pos) {
    if (LoopDepth >= kMaxLoopDepth) {
        DiagnosticLog::Log(messages::kWhileNestOver);
        return false;
    }
    int32_t m = 0;
    if (!NumberAfterKeyword(text, pos + Keywords[KeywordDo].size(), m)) return false;
    LoopNumbers[static_cast<std::size_t>(++LoopDepth)] = m;
    ResultCode = ResultLoopBegin;
    return true;
}

bool NcMachine::EndLoop(std::string& text, std::size_t pos) {
    int32_t m = 0;
    if (!NumberAfterKeyword(text, pos + Keywords[KeywordEnd].size(), m)) return false;
    int32_t innermost = LoopDepth > 0 ? LoopNumbers[static_cast<std::size_t>(LoopDepth)] : 0;
    if (LoopDepth > 0 && m == innermost) {
        --LoopDepth;
        ResultCode = ResultLoopEnd;
        return true;
    }
    DiagnosticLog::Log(FormatMessage(
        loopMismatch_,
        {static_cast<double>(m), static_cast<double>(innermost), static_cast<double>(LoopDepth)}));
    return false;
}

bool NcMachine::SkipLoop(std::string& text, std::size_t pos) {
    if (LoopDepth >= kMaxLoopDepth) {
        DiagnosticLog::Log(messages::kWhileNestOver);
        return false;
    }
    int32_t m = 0;
    if (!NumberAfterKeyword(text, pos + Keywords[KeywordDo].size(), m)) return false;
    ProgramName.assign(Keywords[KeywordEnd]);
    ProgramName += std::to_string(m);
    ResultCode = ResultSkipToEnd;
    return true;
}

}  // namespace cuttrace
