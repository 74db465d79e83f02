// The output of the expression converter: tokens in postfix order, each with its class.
//
// Like WordList, the token strings are kept between expressions so that evaluating a
// statement again reuses their storage.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "machines/MachineKeywords.h"

namespace cuttrace {

enum class TokenKind : unsigned char {
    Number,    // a numeric literal
    Variable,  // a variable reference (may be rewritten when it is indirect)
    Operator,  // + - * /
    Negate,    // a minus in front of an operand
    Indirect,  // #[..]: the variable whose number is the value before it
    Keyword,   // a function or statement keyword, named by `keyword`
    Unknown,   // anything else: the evaluator refuses it
};

struct PostfixToken {
    std::string text;
    TokenKind kind = TokenKind::Unknown;
    Keyword keyword = Keyword::Count;
};

class PostfixList {
  public:
    void Clear() { count_ = 0; }
    PostfixToken& Add(std::string_view text, TokenKind kind, Keyword keyword = Keyword::Count) {
        if (count_ == tokens_.size()) tokens_.emplace_back();
        PostfixToken& token = tokens_[count_++];
        token.text.assign(text);
        token.kind = kind;
        token.keyword = keyword;
        return token;
    }
    std::size_t size() const { return count_; }
    PostfixToken& operator[](std::size_t i) { return tokens_[i]; }
    const PostfixToken& operator[](std::size_t i) const { return tokens_[i]; }

  private:
    std::vector<PostfixToken> tokens_;
    std::size_t count_ = 0;
};

}  // namespace cuttrace
