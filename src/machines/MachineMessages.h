// Every message the dialect machines write to the diagnostic log.
//
// The texts are the interpreter's own and are compared exactly by users' scripts and by
// the tests; keep their spelling, spacing and trailing blanks. Texts with "%lf" / "%d"
// are patterns for FormatMessage (machines/MessageFormat.h).
#pragma once

#include <string_view>

namespace cuttrace::messages {

// Expressions and assignments.
inline constexpr std::string_view kDivisionByZero = "divijon by 0 error %lf / %lf";
inline constexpr std::string_view kNotFindOperandChar = "not finnd operand ";  // + character
inline constexpr std::string_view kNotFindOperator = "not find operator ";     // + token
inline constexpr std::string_view kAsinRange = "asin into value larger than 1 :";
inline constexpr std::string_view kAcosRange = "acos into value larger than 1 :";
inline constexpr std::string_view kTosnacAsinRange = "asin into value larger 1 :";
inline constexpr std::string_view kLnNotPositive = "ln into value not positive :";
inline constexpr std::string_view kNotFinite = "value out of range :";  // + expression
inline constexpr std::string_view kInvalidReference = "invalid variable reference :";  // + text
inline constexpr std::string_view kNestOver = "macro statement nest over :";           // + text
inline constexpr std::string_view kTooLong = "macro statement too long :";             // + text
inline constexpr std::string_view kTooManyWords = "too many words in block :";         // + text

// Statements (MELDAS and FANUC).
inline constexpr std::string_view kIfError = "(if) error ";
inline constexpr std::string_view kGotoAfterIfError = "(goto) error";
inline constexpr std::string_view kGotoError = "(goto) error ";
inline constexpr std::string_view kWhileWithoutDo = "(while) in format error can't find (DO)";
inline constexpr std::string_view kWhileDoError = "(do) error ";
inline constexpr std::string_view kGoEndError = "goend error ";
inline constexpr std::string_view kWhileError = "while error ";
inline constexpr std::string_view kDoError = "do error ";
inline constexpr std::string_view kEndError = "end error ";
inline constexpr std::string_view kLetError = "let error ";
inline constexpr std::string_view kPrintFormat = "print format error :";           // + statement
inline constexpr std::string_view kPrintBrackets = "print brackets unbalanced :";  // + statement
inline constexpr std::string_view kThenWithoutStatement = "(then) without statement ";

// Conditions and loops.
inline constexpr std::string_view kNotFindOpenBracket = "notfind [ ";
inline constexpr std::string_view kNotFindCloseBracket = "notfind ] ";
inline constexpr std::string_view kOperatorMissing = "operator missing ";
inline constexpr std::string_view kNotFindOperand = "not find operand ";
inline constexpr std::string_view kOperatorFormat = "operater format err ";
inline constexpr std::string_view kWhileNestOver = "while nest over ";
inline constexpr std::string_view kLoopMismatch = "da not same whilecount %d != %d :%d";

// Calls.
inline constexpr std::string_view kNotFindProgramName = "not find proguram name";
inline constexpr std::string_view kTooManyI = "too many I adress";
inline constexpr std::string_view kTooManyJ = "too many J adress";
inline constexpr std::string_view kTooManyK = "too many K adress";
inline constexpr std::string_view kBadArgument = "can notadless nestset :";  // + character
inline constexpr std::string_view kMacroNestOver = "macro nest over";
inline constexpr std::string_view kCallNestOver = "call nest over";

// TOSNAC statements.
inline constexpr std::string_view kTosnacIfError = "if error ";
inline constexpr std::string_view kTosnacGotoError = "goto error ";
inline constexpr std::string_view kTosnacWhileFormat = "while in format error ";
inline constexpr std::string_view kTypeMiss = "type miss error ";
inline constexpr std::string_view kNotFindComma = "notfind , ";
inline constexpr std::string_view kTosnacLoopMismatch = "da not same whilecount %d!=%d:%d";

// Variables beyond the locals (MELDAS and FANUC).
inline constexpr std::string_view kUndefinedVariable = "undefined variable #";           // + number
inline constexpr std::string_view kReadOnlyVariable = "read-only variable #";            // + number
inline constexpr std::string_view kMacroAlarm = "MACRO ALARM ";                          // + number
inline constexpr std::string_view kNonStandardVariable = "non-standard variable #";      // + number
inline constexpr std::string_view kNegativeVariable = "negative variable number #";      // + number
inline constexpr std::string_view kFractionalVariable = "fractional variable number #";  // + number

// Construction.
inline constexpr std::string_view kFanucConstruct = "Construct (FANUC)";

}  // namespace cuttrace::messages
