// Expressions and assignments: tokens, postfix conversion, evaluation through text.
#include <cmath>

#include "machines/CharClass.h"
#include "machines/DiagnosticLog.h"
#include "machines/MachineMessages.h"
#include "machines/MessageFormat.h"
#include "machines/NcMachine.h"
#include "machines/NumberText.h"

namespace cuttrace {

namespace {

constexpr int kPrecedenceEnd = -1;
constexpr int kPrecedenceClose = 0;
constexpr int kPrecedenceAdd = 1;
constexpr int kPrecedenceMultiply = 2;
constexpr int kPrecedenceFunction = 3;
constexpr int kPrecedenceOperand = 4;
constexpr int kPrecedenceOpen = 5;
constexpr int kPrecedenceOther = 10;

// A minus in operand position is kept on the operator stack as this token.
constexpr std::string_view kNegate = "\x01";

bool IsNumberToken(std::string_view t) {
    return !t.empty() && (IsDigit(t[0]) || (t[0] == '.' && t.size() > 1 && IsDigit(t[1])));
}

bool IsArithmetic(std::string_view t) {
    return t.size() == 1 && (t[0] == '+' || t[0] == '-' || t[0] == '*' || t[0] == '/');
}

// A reference that begins with the prefix but is followed by neither digits nor a letter
// (other than the prefix) once any indirect part has been evaluated.
bool IsMalformedReference(std::string_view t, char prefix) {
    if (t.empty() || t[0] != prefix) return false;
    return t.size() < 2 || !(IsDigit(t[1]) || (IsAlpha(t[1]) && t[1] != prefix));
}

}  // namespace

int NcMachine::Precedence(std::string_view token) {
    if (token.empty()) return kPrecedenceEnd;
    if (token == kNegate) return kPrecedenceFunction;
    char c = token[0];
    if (c == prefix_ || c == '=') return kPrecedenceOperand;
    if (token.size() == 1) {
        switch (c) {
            case '*':
            case '/':
                return kPrecedenceMultiply;
            case '+':
            case '-':
                return kPrecedenceAdd;
            case '[':
                return kPrecedenceOpen;
            case ']':
                return kPrecedenceClose;
            default:
                break;
        }
    }
    if (IsNumberToken(token)) return kPrecedenceOperand;
    if (KeywordIndex(token)) return kPrecedenceFunction;
    return kPrecedenceOther;
}

bool NcMachine::IsSkippedToken(std::string_view t) const {
    return t.size() == 1 && (t[0] == ' ' || (!commaIsNumber_ && t[0] == ','));
}

void NcMachine::Tokenize(std::string_view text, std::vector<std::string_view>& tokens) {
    tokens.clear();
    std::size_t p = 0;
    while (p < text.size()) {
        std::size_t n = ReadToken(text.substr(p));
        if (n == 0) break;
        std::string_view t = text.substr(p, n);
        if (t.size() != 1 || t[0] != ' ') tokens.push_back(t);
        p += n;
    }
}

int NcMachine::ToPostfix(std::string_view text, PostfixList& out) {
    out.Clear();
    NestingGuard frame(*this, text);
    if (!frame) return 0;
    std::vector<std::string_view>& tokens = frame.scratch->tokens;
    std::vector<std::string_view>& stack = frame.scratch->operators;
    Tokenize(text, tokens);

    auto emit = [&](std::string_view t) {
        if (t == kNegate) {
            out.Add("-", TokenKind::Negate);
        } else if (IsArithmetic(t)) {
            out.Add(t, TokenKind::Operator);
        } else if (t.size() == 1 && IsDigit(t[0])) {
            out.Add(t, TokenKind::Number);
        } else if (t[0] == prefix_) {
            out.Add(t, TokenKind::Variable);  // a bare prefix (#[..]) is refused as a reference
        } else if (t.size() == 1) {
            out.Add(t, TokenKind::Unknown);  // a single character that is no operand
        } else if (IsNumberToken(t)) {
            out.Add(t, TokenKind::Number);
        } else {
            std::optional<Keyword> k = KeywordIndex(t);
            if (k) {
                out.Add(t, TokenKind::Keyword, *k);
            } else {
                out.Add(t, TokenKind::Unknown);
            }
        }
    };

    stack.clear();
    stack.push_back(std::string_view());  // the empty bottom entry
    bool operandExpected = true;
    for (std::string_view t : tokens) {
        if (IsSkippedToken(t)) continue;
        int precedence = Precedence(t);
        bool prefixOperator = false;
        if (operandExpected) {
            if (t == "+") continue;  // a plus in front of an operand changes nothing
            if (t == "-") {
                t = kNegate;
                precedence = kPrecedenceFunction;
            }
            prefixOperator = precedence == kPrecedenceFunction;
        }
        // A prefix operator (a minus or a function in operand position) applies to what
        // follows, so it takes nothing off the stack.
        if (!prefixOperator) {
            while (stack.size() > 1 && stack.back() != "[" &&
                   Precedence(stack.back()) >= precedence) {
                emit(stack.back());
                stack.pop_back();
            }
        }
        if (t == "]") {
            if (stack.size() < 2 || stack.back() != "[") {
                out.Clear();
                out.Add("]", TokenKind::Unknown);  // an unmatched ']' fails the evaluation
                return static_cast<int>(out.size());
            }
            stack.pop_back();
            operandExpected = false;
        } else {
            stack.push_back(t);
            operandExpected = IsArithmetic(t) || t == kNegate || t == "[" || t == "=" ||
                              precedence == kPrecedenceFunction;
        }
    }
    while (stack.size() > 1) {
        emit(stack.back());
        stack.pop_back();
    }
    return static_cast<int>(out.size());
}

bool NcMachine::ApplyOperator(char op, std::vector<double>& values) {
    if (values.size() < 2) {
        DiagnosticLog::LogChar(messages::kNotFindOperandChar, op);
        return false;
    }
    double x = values.back();
    values.pop_back();
    double& y = values.back();
    switch (op) {
        case '+':
            y += x;
            break;
        case '-':
            y -= x;
            break;
        case '*':
            y *= x;
            break;
        default:
            if (x == 0.0) {
                DiagnosticLog::Log(FormatMessage(messages::kDivisionByZero, {y, x}));
                return false;
            }
            y /= x;
            break;
    }
    return true;
}

bool NcMachine::EvaluateInPlace(std::string& text, std::size_t pos) {
    std::string_view expression = std::string_view(text).substr(pos);
    if (expression.size() > kMaxStatementLength) {
        DiagnosticLog::LogText(messages::kTooLong, expression.substr(0, 64));
        return false;
    }
    NestingGuard frame(*this, expression);
    if (!frame) return false;
    PostfixList& postfix = frame.scratch->postfix;
    std::vector<double>& values = frame.scratch->values;
    values.assign(1, 0.0);  // position 0 holds a 0.0 that is never pushed
    if (ToPostfix(expression, postfix) == 0) return false;

    for (std::size_t i = 0; i < postfix.size(); ++i) {
        PostfixToken& token = postfix[i];
        switch (token.kind) {
            case TokenKind::Number:
                values.push_back(ParseDouble(token.text));
                break;
            case TokenKind::Variable: {
                double value = 0.0;
                if (!GetVariable(token.text, 0, value)) return false;
                values.push_back(value);
                break;
            }
            case TokenKind::Negate:
                if (values.size() < 2) {
                    DiagnosticLog::LogChar(messages::kNotFindOperandChar, '-');
                    return false;
                }
                values.back() = -values.back();
                break;
            case TokenKind::Operator:
                if (!ApplyOperator(token.text[0], values)) return false;
                break;
            case TokenKind::Keyword:
                if (!ApplyKeyword(token.keyword, values, token.text)) return false;
                break;
            case TokenKind::Unknown:
                if (token.text.size() == 1) {
                    DiagnosticLog::LogChar(messages::kNotFindOperandChar, token.text[0]);
                } else {
                    DiagnosticLog::LogText(messages::kNotFindOperator, token.text);
                }
                return false;
        }
    }
    double result = values.back();
    if (!std::isfinite(result)) {
        DiagnosticLog::LogText(messages::kNotFinite, expression);
        return false;
    }
    WriteValue(text, pos, result, 6);
    return true;
}

bool NcMachine::Assign(std::string& text, std::size_t pos) {
    return AssignTokens(text, pos, false);
}

bool NcMachine::AssignTokens(std::string& text, std::size_t pos, bool dropClosingBracket) {
    std::string_view statement = std::string_view(text).substr(pos);
    if (statement.size() > kMaxStatementLength) {
        DiagnosticLog::LogText(messages::kTooLong, statement.substr(0, 64));
        return false;
    }
    NestingGuard frame(*this, statement);
    if (!frame) return false;
    Scratch& s = *frame.scratch;
    Tokenize(statement, s.tokens);
    s.equals.clear();
    for (std::size_t i = 0; i < s.tokens.size(); ++i) {
        if (s.tokens[i] == "=") s.equals.push_back(i);
    }
    if (s.equals.empty()) return EvaluateInPlace(text, pos);
    // A token of prefixes alone (#, ##, the # of #[1], TOSNAC V) names no variable, as a
    // target no more than as an operand.
    for (std::string_view t : s.tokens) {
        if (t.find_first_not_of(prefix_) == std::string_view::npos) {
            DiagnosticLog::LogText(
                messages::kInvalidReference,
                statement.substr(static_cast<std::size_t>(t.data() - statement.data())));
            return false;
        }
    }

    std::size_t last = s.tokens.size();
    if (dropClosingBracket) {
        // [V1=5]: the statement's closing bracket is no part of the last expression.
        if (last == 0 || s.tokens[last - 1] != "]") {
            DiagnosticLog::LogChar(messages::kNotFindOperandChar, '[');
            return false;
        }
        --last;
    }
    auto offset = [&](std::size_t token) {
        return static_cast<std::size_t>(s.tokens[token].data() - statement.data());
    };
    // Each expression and each target is copied into the scratch buffer: the token views
    // point into `text`, which stays untouched, while an indirect target is rewritten.
    for (std::size_t k = 0; k < s.equals.size(); ++k) {
        std::size_t eq = s.equals[k];
        std::size_t first = eq + 1;
        std::size_t end = k + 1 < s.equals.size() ? s.equals[k + 1] - 1 : last;
        std::string& buffer = s.text;
        if (first < end) {
            std::size_t from = offset(first);
            std::size_t to = offset(end - 1) + s.tokens[end - 1].size();
            buffer.assign(statement.substr(from, to - from));
        } else {
            buffer.clear();
        }
        if (!EvaluateInPlace(buffer, 0)) return false;
        double value = ParseDouble(buffer);
        if (eq > 0) {
            buffer.assign(s.tokens[eq - 1]);
            // A target that is no variable is ignored; a malformed reference (VV1, ## of a
            // failed or negative inner value) or a variable that refuses the value fails the
            // statement.
            writeRefused_ = false;
            if (!SetVariable(buffer, 0, value) &&
                (writeRefused_ || IsMalformedReference(buffer, prefix_)))
                return false;
        }
    }
    return true;
}

}  // namespace cuttrace
