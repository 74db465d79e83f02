// The block scanner: splitting a line into words, and cutting statements into tokens.
#include "machines/CharClass.h"
#include "machines/NcMachine.h"

namespace cuttrace {

namespace {

bool EndsLine(char c) {
    return c == '\0' || c == '\n' || c == '\r';
}

// One address letter, optionally followed by '-': what may stand before a value.
bool IsAddressHead(const std::string& w) {
    return (w.size() == 1 && IsAlpha(w[0])) || (w.size() == 2 && IsAlpha(w[0]) && w[1] == '-');
}

// An address letter, an optional '-' and '#': X#[#1+1] ends after its bracket like X[..].
bool IsIndirectAddressHead(const std::string& w) {
    return w.size() >= 2 && w.size() <= 3 && IsAlpha(w[0]) && w.back() == '#' &&
           (w.size() == 2 || w[1] == '-');
}

bool StartsValue(char c) {
    return IsDigit(c) || c == '.' || c == '-' || c == '+' || c == '#' || c == '[';
}

}  // namespace

bool NcMachine::StartsWithOperatorKeyword(std::string_view word) const {
    // #1=7MOD3 is read as "#1", "=7", "MOD3": the keywords that combine two values continue
    // a statement like '*' does.
    // So do the comparisons where they are operators of expressions.
    for (Keyword k : {Keyword::Mod, Keyword::And, Keyword::Or, Keyword::Xor, Keyword::Eq,
                      Keyword::Ne, Keyword::Gt, Keyword::Ge, Keyword::Lt, Keyword::Le}) {
        if (!controlLanguage_ && k == Keyword::Eq) break;
        std::string_view key = KeywordText(k);
        if (!key.empty() && word.size() > key.size() && word.substr(0, key.size()) == key &&
            !IsAlpha(word[key.size()])) {
            return true;
        }
    }
    return false;
}

void NcMachine::SplitBlock(std::string_view line, WordList& words) {
    words.Clear();
    blockSkipped_ = false;
    bool inStatement = false;
    std::size_t statementWord = 0;  // the word a continuation piece belongs to
    std::size_t i = 0;
    const bool control = controlLanguage_;
    if (control) {
        // "/" (or "/1".."/9") before a block: the block is skipped while block skip is on.
        while (i < line.size() && (line[i] == ' ' || line[i] == '\t'))
            ++i;
        if (i < line.size() && line[i] == '/') {
            ++i;
            if (i + 1 < line.size() && line[i] >= '1' && line[i] <= '9' && !IsDigit(line[i + 1]) &&
                line[i + 1] != '.')
                ++i;
            if (blockSkip_) {
                blockSkipped_ = true;
                return;
            }
        }
    }
    // One word more than allowed is kept, so that ExecuteBlock refuses the block.
    while (i < line.size() && words.size() <= kMaxWords) {
        char c = line[i];
        if (c == ' ' || c == '\t') {  // a tab separates words like a blank
            ++i;
            continue;
        }
        if (c == '\0' || c == '\n' || !IsPrint(c)) break;
        if (c == ';' && control) break;  // the end of the block
        std::string& word = words.Add();
        std::size_t pos = i;
        if (c == '(') {
            ReadComment(line, pos, word);
        } else {
            ReadWord(line, pos, word);
        }
        i = pos + 1;
        if (word.empty()) {
            words.RemoveLast();
            continue;
        }
        if (c == '(') continue;  // a comment, also inside a statement
        if (IsAddressWord(word)) {
            inStatement = false;
        } else if (words.size() == 1 || !inStatement) {
            inStatement = true;
            statementWord = words.size() - 1;
        } else if (statementContinuationChars_.find(word[0]) != std::string_view::npos ||
                   StartsWithOperatorKeyword(word)) {
            // A piece of the statement before it: #1=#2+3 is read as "#1", "=#2", "+3".
            words[statementWord] += word;
            words.RemoveLast();
        }
    }
}

std::size_t NcMachine::ReadWord(std::string_view line, std::size_t& pos, std::string& word) {
    word.clear();
    std::size_t p = pos;
    if (p >= line.size() || line[p] == '\0' || line[p] == '\n') return 0;
    // A local copy: the stores into `word` could otherwise alias the member.
    const bool control = controlLanguage_;
    bool number = false;
    while (p < line.size()) {
        char c = line[p];
        if (c == '\0' || c == '\n' || !IsPrint(c)) break;
        if (IsDigit(c) || c == '.' || c == ',') {
            // The run of number characters in one piece.
            std::size_t q = p + 1;
            while (q < line.size() && (IsDigit(line[q]) || line[q] == '.' || line[q] == ','))
                ++q;
            word.append(line.data() + p, q - p);
            number = true;
            p = q;
            continue;
        }
        if (c == '[') {
            if (bracketEndsWord_ && number) break;
            // X[#1] Y[#2] and X[#1]Y2: an address letter's bracket group ends the word;
            // statements such as IF[#1GT1]GOTO5 read on after the group.
            bool ends =
                bracketEndsWord_ || IsAddressHead(word) || (control && IsIndirectAddressHead(word));
            ReadBracket(line, p, word);
            ++p;
            if (ends) break;
            continue;
        }
        if (number) break;
        if (control && (c == '(' || c == ';')) break;  // a comment, the block's end
        if (c == ' ' && IsAddressHead(word)) {
            // "X 10." and "Z  0.1" are address words written with blanks.
            std::size_t q = p;
            while (q < line.size() && line[q] == ' ')
                ++q;
            if (q < line.size() && StartsValue(line[q])) {
                p = q;
                continue;
            }
        }
        word += c;
        ++p;
    }
    if (word.empty()) return 0;
    pos = p - 1;
    return word.size();
}

std::size_t NcMachine::ReadComment(std::string_view line, std::size_t& pos, std::string& word) {
    word.clear();
    std::size_t p = pos;
    while (p < line.size() && !EndsLine(line[p])) {
        word += line[p];
        if (line[p] == ')') break;
        ++p;
    }
    if (word.empty()) return 0;
    pos = pos + word.size() - 1;
    return word.size();
}

std::size_t NcMachine::ReadBracket(std::string_view line, std::size_t& pos, std::string& out) {
    std::size_t start = pos;
    std::size_t p = pos;
    int depth = 0;
    while (p < line.size() && !EndsLine(line[p])) {
        char c = line[p];
        if (c == '[') ++depth;
        if (c == ']' && --depth == 0) {
            ++p;
            break;
        }
        ++p;
    }
    out.append(line.substr(start, p - start));
    if (p == start) return 0;
    pos = p - 1;
    return p - start - 1;
}

std::size_t NcMachine::ReadToken(std::string_view text) {
    if (text.empty() || text[0] == '\0') return 0;
    auto single = [&](char c) {
        return c == '-' || c == '+' || c == '/' || c == '*' || c == '[' || c == ']' || c == '=' ||
               c == ',';
    };
    // A blank separates tokens: at the start it is a token of its own (skipped later).
    if (single(text[0]) || text[0] == ' ') return 1;
    bool number = false;
    bool letter = false;
    std::size_t i = 0;
    for (; i < text.size(); ++i) {
        char c = text[i];
        if (c == '\0' || c == ' ' || single(c)) break;
        if (IsDigit(c) || c == '.') {
            if (letter) break;
            number = true;
        } else if (c == prefix_) {  // tested before letters: TOSNAC's prefix is 'V'
            if (number || letter) break;
        } else if (IsAlpha(c)) {
            if (number) break;
            letter = true;
        } else if (number) {
            break;
        }
    }
    return i;
}

}  // namespace cuttrace
