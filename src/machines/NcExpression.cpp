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
constexpr int kPrecedenceCompare = 1;
constexpr int kPrecedenceAdd = 2;
constexpr int kPrecedenceMultiply = 3;
constexpr int kPrecedenceFunction = 4;
constexpr int kPrecedenceOperand = 5;
constexpr int kPrecedenceOpen = 6;
constexpr int kPrecedenceOther = 10;

// A minus in operand position is kept on the operator stack as this token, the prefix of
// an indirect reference (#[..]) as the next, and POW once its ',' has been seen as the last.
constexpr std::string_view kNegate = "\x01";
constexpr std::string_view kIndirect = "\x01#";
constexpr std::string_view kPowWithTwo = "\x01POW";

bool IsNumberToken(std::string_view t) {
    return !t.empty() && (IsDigit(t[0]) || (t[0] == '.' && t.size() > 1 && IsDigit(t[1])));
}

bool IsArithmetic(std::string_view t) {
    return t.size() == 1 && (t[0] == '+' || t[0] == '-' || t[0] == '*' || t[0] == '/');
}

bool IsComparison(Keyword k) {
    return k == Keyword::Eq || k == Keyword::Ne || k == Keyword::Gt || k == Keyword::Ge ||
           k == Keyword::Lt || k == Keyword::Le;
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
    char c = token[0];
    if (c == kNegate[0]) return kPrecedenceFunction;  // kNegate, kIndirect, kPowWithTwo
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
    std::optional<Keyword> k = KeywordIndex(token);
    if (!k) return kPrecedenceOther;
    if (controlLanguage_) {
        // Comparisons bind loosest; AND is a multiplying operator, OR and XOR adding ones.
        if (IsComparison(*k)) return kPrecedenceCompare;
        if (*k == Keyword::And) return kPrecedenceMultiply;
        if (*k == Keyword::Or || *k == Keyword::Xor) return kPrecedenceAdd;
    }
    return kPrecedenceFunction;
}

bool NcMachine::IsSkippedToken(std::string_view t) const {
    return t.size() == 1 && (t[0] == ' ' || (!controlLanguage_ && t[0] == ','));
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
    Tokenize(text, frame.scratch->tokens);
    return PostfixOf(frame.scratch->tokens, out, frame.scratch->operators);
}

int NcMachine::PostfixOf(std::span<const std::string_view> tokens, PostfixList& out,
                         std::vector<Scratch::Operator>& stack) {
    out.Clear();

    auto emit = [&](std::string_view t) {
        if (t == kNegate) {
            out.Add("-", TokenKind::Negate);
        } else if (t == kIndirect) {
            out.Add("#", TokenKind::Indirect);
        } else if (t == kPowWithTwo) {
            out.Add("POW", TokenKind::Keyword, Keyword::Pow);
        } else if (IsArithmetic(t)) {
            out.Add(t, TokenKind::Operator);
        } else if (t.size() == 1 && IsDigit(t[0])) {
            out.Add(t, TokenKind::Number);
        } else if (t[0] == prefix_) {
            out.Add(t, TokenKind::Variable);  // a bare prefix is refused as a reference
        } else if (t.size() == 1) {
            out.Add(t, TokenKind::Unknown);  // a single character that is no operand
        } else if (IsNumberToken(t)) {
            out.Add(t, TokenKind::Number);
        } else {
            std::optional<Keyword> k = KeywordIndex(t);
            // POW takes two values in its brackets (kPowWithTwo); THEN is no operator.
            if (k && *k != Keyword::Pow && *k != Keyword::Then) {
                out.Add(t, TokenKind::Keyword, *k);
            } else {
                out.Add(t, TokenKind::Unknown);
            }
        }
    };
    auto fail = [&](std::string_view token) {
        out.Clear();
        out.Add(token, TokenKind::Unknown);  // an unmatched ']' or a stray ',' fails
        return static_cast<int>(out.size());
    };

    stack.clear();
    stack.emplace_back(std::string_view(), kPrecedenceEnd);  // the empty bottom entry
    auto top = [&]() { return stack.back().text; };
    bool operandExpected = true;
    const std::string_view kAtan = KeywordText(Keyword::Atan);
    const std::string_view kAtan2 = KeywordText(Keyword::Atan2);
    for (std::size_t i = 0; i < tokens.size(); ++i) {
        std::string_view t = tokens[i];
        if (IsSkippedToken(t)) continue;
        if (controlLanguage_ && t.size() == 1 && t[0] == prefix_ && i + 1 < tokens.size() &&
            tokens[i + 1] == "[") {
            t = kIndirect;  // #[expression]
        }
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
        const bool comma = controlLanguage_ && t == ",";
        if (comma) precedence = kPrecedenceClose;
        // A prefix operator (a minus or a function in operand position) applies to what
        // follows, so it takes nothing off the stack.
        if (!prefixOperator) {
            while (stack.size() > 1 && top() != "[" && stack.back().precedence >= precedence) {
                emit(top());
                stack.pop_back();
            }
        }
        if (comma) {
            // ATAN[a,b] and POW[a,b]: the second value of the function before the bracket.
            std::string_view& function = stack[stack.size() > 2 ? stack.size() - 2 : 0].text;
            if (stack.size() < 3 || top() != "[" || (function != kAtan && function != "POW")) {
                return fail(",");
            }
            function = function == kAtan ? kAtan2 : kPowWithTwo;
            operandExpected = true;
        } else if (t == "]") {
            if (stack.size() < 2 || top() != "[") return fail("]");
            stack.pop_back();
            operandExpected = false;
            if (controlLanguage_ && top() == kAtan && i + 2 < tokens.size() &&
                tokens[i + 1] == "/" && tokens[i + 2] == "[") {
                // ATAN[a]/[b]: the angle of the point (b, a), not a division.
                stack.back().text = kAtan2;
                stack.emplace_back(tokens[i + 2], kPrecedenceOpen);
                i += 2;
                operandExpected = true;
            }
        } else {
            stack.emplace_back(t, precedence);
            operandExpected = IsArithmetic(t) || t == kNegate || t == "[" || t == "=" ||
                              precedence == kPrecedenceFunction ||
                              (controlLanguage_ && precedence <= kPrecedenceMultiply &&
                               precedence >= kPrecedenceCompare);
        }
    }
    while (stack.size() > 1) {
        emit(top());
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
    double result = 0.0;
    if (!Evaluate(std::string_view(text).substr(pos), result)) return false;
    WriteValue(text, pos, result, 6);
    return true;
}

bool NcMachine::Evaluate(std::string_view expression, double& result) {
    if (expression.size() > kMaxStatementLength) {
        DiagnosticLog::LogText(messages::kTooLong, expression.substr(0, 64));
        return false;
    }
    NestingGuard frame(*this, expression);
    if (!frame) return false;
    Tokenize(expression, frame.scratch->tokens);
    return EvaluateTokens(expression, frame.scratch->tokens, result);
}

bool NcMachine::EvaluateTokens(std::string_view expression,
                               std::span<const std::string_view> tokens, double& result) {
    NestingGuard frame(*this, expression);
    if (!frame) return false;
    PostfixList& postfix = frame.scratch->postfix;
    std::vector<double>& values = frame.scratch->values;
    // Beside each value whether it is vacant (a variable that holds no value).
    std::vector<char>& vacant = frame.scratch->vacant;
    values.assign(1, 0.0);  // position 0 holds a 0.0 that is never pushed
    vacant.assign(1, 0);
    if (PostfixOf(tokens, postfix, frame.scratch->operators) == 0) return false;

    for (std::size_t i = 0; i < postfix.size(); ++i) {
        PostfixToken& token = postfix[i];
        switch (token.kind) {
            case TokenKind::Number:
                values.push_back(ParseDouble(token.text));
                vacant.push_back(0);
                break;
            case TokenKind::Variable: {
                double value = 0.0;
                if (!GetVariable(token.text, 0, value)) return false;
                values.push_back(value);
                vacant.push_back(lastReadVacant_ ? 1 : 0);
                break;
            }
            case TokenKind::Indirect: {
                int n = 0;
                if (values.size() < 2) {
                    DiagnosticLog::LogChar(messages::kNotFindOperandChar, '#');
                    return false;
                }
                if (!WholeVariableNumber(values.back(), n) || !ReadVariable(n, values.back()))
                    return false;
                vacant.back() = lastReadVacant_ ? 1 : 0;
                break;
            }
            case TokenKind::Negate:
                if (values.size() < 2) {
                    DiagnosticLog::LogChar(messages::kNotFindOperandChar, '-');
                    return false;
                }
                values.back() = -values.back();
                vacant.back() = 0;
                break;
            case TokenKind::Operator:
                if (!ApplyOperator(token.text[0], values)) return false;
                break;
            case TokenKind::Keyword:
                if (controlLanguage_ && IsComparison(token.keyword)) {
                    if (!Compare(token.keyword, values, vacant, token.text)) return false;
                } else if (!ApplyKeyword(token.keyword, values, token.text)) {
                    return false;
                }
                break;
            case TokenKind::Unknown:
                if (token.text.size() == 1) {
                    DiagnosticLog::LogChar(messages::kNotFindOperandChar, token.text[0]);
                } else {
                    DiagnosticLog::LogText(messages::kNotFindOperator, token.text);
                }
                return false;
        }
        if (token.kind == TokenKind::Operator || token.kind == TokenKind::Keyword) {
            vacant.resize(values.size());  // any operation gives a number
            vacant.back() = 0;
        }
    }
    if (controlLanguage_ && values.size() != 2) {
        DiagnosticLog::LogText(messages::kOperatorMissing, expression);  // "[#1 #2]"
        return false;
    }
    // A lone variable passes its vacancy on (#2=#1, X[#24]); any operation gives a number.
    resultVacant_ = vacant.back() != 0;
    result = values.back();
    if (!std::isfinite(result)) {
        DiagnosticLog::LogText(messages::kNotFinite, expression);
        return false;
    }
    return true;
}

bool NcMachine::ComparisonHolds(Keyword keyword, double y, bool vy, double x, bool vx) {
    // Vacant equals only vacant; the other comparisons count it as 0.
    const bool equal = vx == vy && x == y;
    switch (keyword) {
        case Keyword::Eq:
            return equal;
        case Keyword::Ne:
            return !equal;
        case Keyword::Gt:
            return y > x;
        case Keyword::Ge:
            return y >= x;
        case Keyword::Lt:
            return y < x;
        default:
            return y <= x;
    }
}

bool NcMachine::Compare(Keyword keyword, std::vector<double>& values, std::vector<char>& vacant,
                        std::string_view token) {
    if (values.size() < 3) {
        DiagnosticLog::LogText(messages::kNotFindOperand, token);
        return false;
    }
    const double x = values.back();
    const double y = values[values.size() - 2];
    const bool vx = vacant.back() != 0;
    const bool vy = vacant[vacant.size() - 2] != 0;
    const bool holds = ComparisonHolds(keyword, y, vy, x, vx);
    values.pop_back();
    values.back() = holds ? 1.0 : 0.0;
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
    // A token of prefixes alone (#, ##, TOSNAC V) names no variable, as a target no more
    // than as an operand; # before a bracket is an indirect reference (#[#1+1]).
    for (std::size_t i = 0; i < s.tokens.size(); ++i) {
        std::string_view t = s.tokens[i];
        if (t.find_first_not_of(prefix_) != std::string_view::npos) continue;
        if (controlLanguage_ && t.size() == 1 && i + 1 < s.tokens.size() && s.tokens[i + 1] == "[")
            continue;
        DiagnosticLog::LogText(
            messages::kInvalidReference,
            statement.substr(static_cast<std::size_t>(t.data() - statement.data())));
        return false;
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
    // The first token of the target before each '=': one token (#1, ##2), or an indirect
    // reference #[..] that ends right before it.
    auto targetStart = [&](std::size_t eq) -> std::size_t {
        if (eq == 0) return 0;
        std::size_t i = eq - 1;
        if (!controlLanguage_ || s.tokens[i] != "]") return i;
        int depth = 0;
        for (std::size_t j = i + 1; j-- > 0;) {
            if (s.tokens[j] == "]") ++depth;
            if (s.tokens[j] == "[" && --depth == 0) {
                return j > 0 && s.tokens[j - 1].size() == 1 && s.tokens[j - 1][0] == prefix_ ? j - 1
                                                                                             : i;
            }
        }
        return i;
    };
    // Each expression and each target is copied into the scratch buffer: the token views
    // point into `text`, which stays untouched, while an indirect target is rewritten.
    for (std::size_t k = 0; k < s.equals.size(); ++k) {
        std::size_t eq = s.equals[k];
        std::size_t first = eq + 1;
        std::size_t end = k + 1 < s.equals.size() ? targetStart(s.equals[k + 1]) : last;
        std::string& buffer = s.text;
        std::string_view expression;
        if (first < end) {
            std::size_t from = offset(first);
            std::size_t to = offset(end - 1) + s.tokens[end - 1].size();
            expression = statement.substr(from, to - from);
        }
        if (controlLanguage_ && first >= end) {
            DiagnosticLog::LogChar(messages::kNotFindOperandChar, '=');  // "#3000=" alone
            return false;
        }
        double value = 0.0;
        if (!EvaluateTokens(expression,
                            std::span<const std::string_view>(s.tokens).subspan(
                                first, first < end ? end - first : 0),
                            value))
            return false;
        // A stored value is what its six-decimal text reads back as.
        buffer.clear();
        WriteValue(buffer, 0, value, 6);
        value = ParseDouble(buffer);
        const bool vacant = resultVacant_;
        if (eq > 0) {
            std::size_t from = targetStart(eq);
            buffer.assign(statement.substr(offset(from), offset(eq) - offset(from)));
            while (!buffer.empty() && buffer.back() == ' ')
                buffer.pop_back();
            // A target that is no variable is ignored; a malformed reference (VV1, ## of a
            // failed or negative inner value) or a variable that refuses the value fails the
            // statement.
            writeRefused_ = false;
            if (!SetVariable(buffer, 0, value, vacant) &&
                (writeRefused_ || IsMalformedReference(buffer, prefix_)))
                return false;
        }
    }
    return true;
}

}  // namespace cuttrace
