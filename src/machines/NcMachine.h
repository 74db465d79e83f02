// The dialect machine: splits a program line into words, evaluates the macro language in
// them, and tells the execution core what to do next.
//
// NcMachine carries nearly all of the behaviour; MeldasMachine, FanucMachine and
// TosnacMachine change what differs. Every operation the machine calls on itself is
// virtual, so a dialect's override takes effect everywhere.
//
// Text arguments are std::string objects that an operation may rewrite from `pos` to the
// end (a reference or a bracket group is replaced by its value text). Every computed value
// passes through text: expressions are written back with six decimals, substitutions in
// address words with three.
#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "machines/PostfixList.h"
#include "machines/WordList.h"

namespace cuttrace {

// Request codes left in NcMachine::ResultCode after a block handled by the macro language.
enum Request : int32_t {
    ResultNone = 0,
    ResultLoopBegin = 5,
    ResultLoopEnd = 6,
    ResultGoto = 11,
    ResultSkipToEnd = 40,
    ResultProgramEndOld = 50,  // an older program-end code the core still honours
    ResultCall = 100,
    ResultReturn = 101,
    ResultProgramEnd = 102,
    ResultModalCall = 104,
};

// Results of ExecuteBlock (and of Call).
enum BlockResult : int {
    BlockError = -1,
    BlockOrdinary = 0,  // an NC block: the core interprets the words as G-code
    BlockHandled = 1,   // a macro-handled block: the core consults ResultCode
};

// Dialect setting values (any other value selects FANUC).
enum Dialect : int { DialectMeldas = 0, DialectFanuc = 1, DialectTosnac = 2 };

// Indexes of the keyword table (entries 0..30 are looked up by KeywordIndex).
enum Keyword : int {
    KeywordAbs = 0,
    KeywordAtan,
    KeywordBin,
    KeywordBcd,
    KeywordCos,
    KeywordDo,
    KeywordEnd,
    KeywordFix,
    KeywordFup,
    KeywordGt,
    KeywordGe,
    KeywordGoto,
    KeywordIf,
    KeywordSin,
    KeywordSqrt,
    KeywordTan,
    KeywordLt,
    KeywordLe,
    KeywordWhile,
    KeywordAnd,
    KeywordExp,
    KeywordAsin,
    KeywordMod,
    KeywordRound,
    KeywordSetvn,
    KeywordXor,
    KeywordLn,
    KeywordOr,
    KeywordEq,
    KeywordNe,
    KeywordAcos,
    KeywordLastExpression = KeywordAcos,
    KeywordFirstCall = 36,  // "G65"; call keywords run to entry 46
    KeywordCount = 48,
};

// Call keywords as numbered by CallKeywordIndex (0 = not a call keyword).
enum CallKind : int {
    CallNone = 0,
    CallMacro = 1 /* G65 */,
    CallModal = 2 /* G66 */,
    CallModalEach = 3 /* G66.1 */,
    CallSubprogramG = 4 /* G22, TOSNAC G72 */,
    CallSubprogram = 5 /* M98 */,
    CallReturnG23 = 6,
    CallReturnG68 = 7,
    CallReturn = 8 /* M99 */,
    CallModalCancel = 9 /* G67 */,
    CallEnd = 10 /* M30 */,
    CallEndM02 = 11,
};

// Which words of a call block play which role in a dialect (letters; 0 = none).
struct CallRoles {
    char macroName;         // names the program of a macro call
    char subprogramName;    // names the program of a subprogram call
    bool renameToO;         // the name word's letter becomes 'O' (FANUC P9010 -> O9010)
    char subprogramRepeat;  // repeat count of a subprogram call
    char macroRepeat;       // repeat count of a macro call
    char subprogramStart;   // start sequence of a subprogram call
    bool clearsMacroLevel;  // a macro call clears #0..#32 of the new level
};

class NcMachine {
  public:
    static constexpr int kLevels = 5;         // local-variable levels: main + 4 macro calls
    static constexpr int kLocals = 36;        // #0..#35 per level
    static constexpr int kMaxLoopDepth = 27;  // open DO loops (the core's loop stack)
    static constexpr int kMaxCallDepth = 32;  // open calls (the core refuses far fewer)
    static constexpr int kMaxNesting = 48;    // nested evaluations (indirect references)
    static constexpr std::size_t kMaxStatementLength = 4096;
    static constexpr std::size_t kMaxWords = 512;  // words of one block
    static constexpr int kInvalidVariable = -1;    // VariableNumber of a malformed reference

    NcMachine();
    virtual ~NcMachine();
    NcMachine(const NcMachine&) = delete;
    NcMachine& operator=(const NcMachine&) = delete;

    // The runner read to the end of a called program without meeting a return: the call
    // is closed as a return would close it, so levels and call depth stay in step.
    void EndOfCalledProgram() { ReturnFromCall(); }

    // --- operations, in slot order ----------------------------------------------------
    // Reads one word of `line` from `pos` into `word`; leaves `pos` on the last character
    // consumed. Returns the word's length (0 at the end of the line).
    virtual std::size_t ReadWord(std::string_view line, std::size_t& pos, std::string& word);
    // Length of the first token of `text` (0 at its end).
    virtual std::size_t ReadToken(std::string_view text);
    // Reads a comment from the '(' at `pos` up to and including its ')'.
    virtual std::size_t ReadComment(std::string_view line, std::size_t& pos, std::string& word);
    // Appends the bracket group starting at the '[' at `pos` to `out`; `pos` is left on its
    // closing ']'. Returns the group's length minus one.
    virtual std::size_t ReadBracket(std::string_view line, std::size_t& pos, std::string& out);
    // Replaces the reference at text[pos] by its value ("%.3lf").
    virtual bool SubstituteVariable(std::string& text, std::size_t pos);
    // The numeric value of a call argument word (its references are evaluated in place).
    virtual double ArgumentValue(std::string& word);
    // Converts an expression to postfix order; returns the number of output tokens.
    virtual int ToPostfix(std::string_view text, PostfixList& out);
    // An assignment (one or several '=') or a bare expression, from text[pos].
    virtual bool Assign(std::string& text, std::size_t pos);
    // Evaluates text[pos..] and writes its value ("%lf") over it.
    virtual bool EvaluateInPlace(std::string& text, std::size_t pos);
    // Executes the statement at text[pos..].
    virtual bool ExecuteStatement(std::string& text, std::size_t pos);
    // The condition of the IF or WHILE at text[pos]: 1 true, 0 false, -1 error.
    virtual int EvaluateCondition(std::string& text, std::size_t pos);
    virtual bool Goto(std::string& text, std::size_t pos);       // text[pos] is "GOTO"
    virtual bool BeginLoop(std::string& text, std::size_t pos);  // text[pos] is "DO"
    virtual bool GetVariable(std::string& text, std::size_t pos, double& value);
    virtual bool SetVariable(std::string& text, std::size_t pos, double value);
    // The variable number of the reference at text[pos] (or of an address word's digits);
    // kInvalidVariable when the reference is malformed (logged).
    virtual int VariableNumber(std::string& text, std::size_t pos);
    virtual int Precedence(std::string_view token);
    virtual int KeywordIndex(std::string_view token);
    virtual bool EndLoop(std::string& text, std::size_t pos);   // text[pos] is "END"
    virtual bool SkipLoop(std::string& text, std::size_t pos);  // text[pos] is the "DO"
    virtual bool AssignArgument(std::string& word);
    virtual int CallKeywordIndex(std::string_view word);
    virtual int Call(WordList& words);

    // --- runner interface -------------------------------------------------------------
    // Splits line (end-of-line character included) into words; returns words - 1.
    virtual int SplitBlock(std::string_view line, WordList& words);
    // Evaluates the words in place; returns a BlockResult.
    virtual int ExecuteBlock(WordList& words);

    // --- state ------------------------------------------------------------------------
    int32_t Level = 0;                           // current local-variable level, 0..4
    int32_t LoopDepth = 0;                       // open DO loops, 0..27
    int32_t CallDepth = 0;                       // open calls
    int32_t ICount = 0, JCount = 0, KCount = 0;  // I, J, K arguments of the call being set up
    // Per open call (entry 0 exists and is 0): 1 when the call opened a new level.
    std::array<uint8_t, kMaxCallDepth + 1> CallKinds{};
    // Per open call: passes still to run (a repeated call returns once per pass; only the
    // last return closes the call).
    std::array<int32_t, kMaxCallDepth + 1> CallPasses{};
    std::array<int32_t, kMaxLoopDepth + 1> LoopNumbers{};  // per open loop, 1..LoopDepth
    std::array<std::string_view, KeywordCount> Keywords{};

    int32_t ResultCode = ResultNone;
    int32_t ResultNumber = 0;
    int32_t StartSequence = -1;
    std::string ProgramName;

    std::array<double, 200> CommonVariables{};                       // #100..#299
    std::array<std::array<double, kLocals>, kLevels> LocalLevels{};  // #0..#35 of each level

  protected:
    // Scratch storage of one evaluation; one per nesting depth, reused between blocks.
    struct Scratch {
        std::vector<std::string_view> tokens;
        std::vector<std::string_view> operators;
        std::vector<std::size_t> equals;
        PostfixList postfix;
        std::vector<double> values;
        std::string text;
        std::string text2;
    };
    // Claims the scratch of the next nesting depth for its lifetime; false when the
    // statement nests too deeply (logged with `what`).
    class Frame {
      public:
        Frame(NcMachine& machine, std::string_view what);
        ~Frame();
        Frame(const Frame&) = delete;
        Frame& operator=(const Frame&) = delete;
        explicit operator bool() const { return scratch != nullptr; }
        Scratch* scratch = nullptr;

      private:
        NcMachine& machine_;
    };

    // False (logged) when SplitBlock stopped at kMaxWords: the block is refused whole.
    bool WordCountAllowed(const WordList& words);
    // True for a word the scanner treats as an address word (letter and number).
    static bool IsAddressWord(std::string_view word);
    // True for a word that begins with MOD, AND, OR or XOR followed by an operand.
    bool StartsWithOperatorKeyword(std::string_view word) const;
    // Writes value over text[pos..]; a minus in front of a negative value cancels.
    static void WriteValue(std::string& text, std::size_t pos, double value, int decimals);
    // Digits at text[p..] after blanks (a reference there is evaluated in place first).
    bool NumberAfterKeyword(std::string& text, std::size_t p, int32_t& number);
    // Compares the two operands of a condition text such as "#1GT10": 1, 0 or -1.
    int CompareCondition(std::string_view condition);
    // Cuts text into tokens; blank tokens are dropped.
    void Tokenize(std::string_view text, std::vector<std::string_view>& tokens);
    bool IsSkippedToken(std::string_view token) const;
    bool ApplyKeyword(int keyword, std::vector<double>& values, std::string_view token);
    bool AssignTokens(std::string& text, std::size_t pos, bool dropClosingBracket);
    int CallWithRoles(WordList& words, const CallRoles& roles);
    int ReturnFromCall();
    void SetKeywords(bool tosnac);

    // Dialect traits.
    char prefix_ = '#';                      // variable prefix
    std::string_view glueChars_ = "#*+-/=";  // characters that glue a word to a statement
    bool commaIsNumber_ = true;              // ',' is a number character of tokens
    bool bracketEndsWord_ = false;           // a bracket group always ends a word
    std::string_view asinMessage_;
    std::string_view loopMismatch_;
    bool argumentFailed_ = false;  // an argument's expression failed during Call

  private:
    std::vector<std::unique_ptr<Scratch>> scratch_;
    int nesting_ = 0;
};

// Creates the machine for a dialect setting: 0 MELDAS, 2 TOSNAC, anything else FANUC.
std::unique_ptr<NcMachine> CreateMachine(int dialect);

}  // namespace cuttrace
