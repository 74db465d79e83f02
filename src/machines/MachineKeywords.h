// The words of the macro language: expression and statement keywords, and the G and M
// words that call, return from or end a program. Each enum is tied to its text table.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string_view>

namespace cuttrace {

// Keywords of statements and expressions, in the order of kKeywordTexts.
enum class Keyword : uint8_t {
    Abs,
    Atan,
    Bin,
    Bcd,
    Cos,
    Do,
    End,
    Fix,
    Fup,
    Gt,
    Ge,
    Goto,
    If,
    Sin,
    Sqrt,
    Tan,
    Lt,
    Le,
    While,
    And,
    Exp,
    Asin,
    Mod,
    Round,
    Setvn,
    Xor,
    Ln,
    Or,
    Eq,
    Ne,
    Acos,
    // Beyond TOSNAC's table (it ends before ACOS):
    Then,
    Pow,
    Adp,
    Atan2,  // ATAN[a]/[b] and ATAN[a,b]; never written by a program
    Count,
};

inline constexpr std::size_t kKeywordCount = static_cast<std::size_t>(Keyword::Count);

constexpr std::size_t Index(Keyword k) {
    return static_cast<std::size_t>(k);
}

// The keyword texts of MELDAS and FANUC (TOSNAC writes GOTO as "GO" and has no ACOS).
inline constexpr std::array<std::string_view, kKeywordCount> kKeywordTexts = {
    "ABS",   "ATAN", "BIN",  "BCD",  "COS",  "DO",    "END",   "FIX",      "FUP",
    "GT",    "GE",   "GOTO", "IF",   "SIN",  "SQRT",  "TAN",   "LT",       "LE",
    "WHILE", "AND",  "EXP",  "ASIN", "MOD",  "ROUND", "SETVN", "XOR",      "LN",
    "OR",    "EQ",   "NE",   "ACOS", "THEN", "POW",   "ADP",   "\x02ATAN2"};
static_assert(kKeywordTexts[Index(Keyword::Goto)] == "GOTO" &&
                  kKeywordTexts[Index(Keyword::While)] == "WHILE" &&
                  kKeywordTexts[Index(Keyword::Acos)] == "ACOS",
              "Keyword and kKeywordTexts must list the keywords in the same order");

// The roles of call words, in the order of kCallKeywordTexts.
enum class CallKind : uint8_t {
    Macro,          // G65
    Modal,          // G66
    ModalEach,      // G66.1
    SubprogramG,    // G22 (TOSNAC G72)
    Subprogram,     // M98
    ReturnG23,      // G23
    ReturnG68,      // G68
    Return,         // M99
    ModalCancel,    // G67
    ProgramEnd,     // M30
    ProgramEndM02,  // M02
    LocalCall,      // M97 (FANUC: a sequence of the current program as a subprogram)
    Count,
};

inline constexpr std::size_t kCallKindCount = static_cast<std::size_t>(CallKind::Count);

constexpr std::size_t Index(CallKind k) {
    return static_cast<std::size_t>(k);
}

inline constexpr std::array<std::string_view, kCallKindCount> kCallKeywordTexts = {
    "G65", "G66", "G66.1", "G22", "M98", "G23", "G68", "M99", "G67", "M30", "M02", "M97"};
static_assert(kCallKeywordTexts[Index(CallKind::Subprogram)] == "M98" &&
                  kCallKeywordTexts[Index(CallKind::ProgramEndM02)] == "M02",
              "CallKind and kCallKeywordTexts must list the words in the same order");

}  // namespace cuttrace
