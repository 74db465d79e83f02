// The dialect machine: splits a program line into words, evaluates the macro language in
// them, and tells the execution core what to do next.
//
// The execution core uses a machine through four calls: SplitBlock, ExecuteBlock, Request
// and EndOfCalledProgram. NcMachine carries nearly all of the behaviour; MeldasMachine and
// FanucMachine only set its traits, TosnacMachine also overrides the statements it writes
// in its own bracket form.
//
// Text arguments are std::string objects that an operation may rewrite from `pos` to the
// end (a reference or a bracket group is replaced by its value text). Every computed value
// passes through text: expressions are written back with six decimals, substitutions in
// address words with three.
#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <unordered_set>
#include <vector>

#include "machines/CallCodes.h"
#include "machines/MachineKeywords.h"
#include "machines/MachineState.h"
#include "machines/MacroVariables.h"
#include "machines/PostfixList.h"
#include "machines/WordList.h"

namespace cuttrace {

namespace test {
class MachinePeer;  // reaches the scanner and evaluator pieces in unit tests
}

// What a block handled by the macro language asks of the execution core.
enum class MachineRequest : int32_t {
    None = 0,
    LoopBegin = 5,   // remember the start of this line as the loop's start
    LoopEnd = 6,     // go back to the start of the innermost loop
    Goto = 11,       // go to sequence `number`
    SkipToEnd = 40,  // go past the line labelled `name` (the END of a loop not entered)
    Call = 100,      // open the program `name` (empty: the current one)
    Return = 101,    // close the current program (and go on at sequence `number` if not 0)
    ProgramEnd = 102,
    ModalCall = 104,
};

// The request of the last block, with its operands.
struct BlockRequest {
    MachineRequest kind = MachineRequest::None;
    int32_t number = 0;          // jump target; repeat count of a call (0: once)
    std::string name;            // called program, or the END label of SkipToEnd
    int32_t startSequence = -1;  // sequence a called program starts at (0 or -1: its start)
};

// What ExecuteBlock made of a block.
enum class BlockResult : int {
    Error = -1,    // the block failed (logged)
    Ordinary = 0,  // an NC block: the core interprets the words as G-code
    Handled = 1,   // a macro-handled block: the core acts on Request()
};

// The controller dialects, by their stored setting value.
enum class Dialect : int { Meldas = 0, Fanuc = 1, Tosnac = 2 };

// The dialect of a stored setting value; any value other than 0 and 2 selects FANUC.
Dialect DialectFromSetting(int value);

enum class ConditionResult { True, False, Error };

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
    static constexpr int kMacroLevels = MacroVariables::kMacroLevels;
    static constexpr int kLocals = MacroVariables::kLocals;
    static constexpr int kMaxLoopDepth = 27;  // open DO loops (the core's loop stack)
    static constexpr int kMaxCallDepth = 32;  // open calls (the core refuses far fewer)
    static constexpr int kMaxNesting = 48;    // nested evaluations (indirect references)
    static constexpr std::size_t kMaxStatementLength = 4096;
    static constexpr std::size_t kMaxWords = 512;  // words of one block

    NcMachine();
    virtual ~NcMachine();
    NcMachine(const NcMachine&) = delete;
    NcMachine& operator=(const NcMachine&) = delete;

    // --- the execution core's face ------------------------------------------------------
    // SplitBlock and ExecuteBlock are virtual only so that a scripted stand-in can drive
    // the execution core in its tests; no dialect overrides them.
    //
    // Splits line (end-of-line character included) into words.
    virtual void SplitBlock(std::string_view line, WordList& words);
    // Evaluates the words in place; on Handled, Request() says what the block asks for.
    virtual BlockResult ExecuteBlock(WordList& words);
    const BlockRequest& Request() const { return request_; }
    // Blocks that begin with "/" are skipped while this is on (FANUC and MELDAS).
    void SetBlockSkip(bool on) { blockSkip_ = on; }
    // ';' ends a block like a line end, and a "%" line after the first block ends the
    // program (FANUC and MELDAS; TOSNAC reads them as it always has).
    bool SemicolonEndsBlock() const { return controlLanguage_; }
    // The runner read to the end of a called program without meeting a return: the call
    // is closed as a return would close it, so levels and call depth stay in step.
    void EndOfCalledProgram() { ReturnFromCall(); }
    // Whether a modal macro call (G66) is due after a block that moved an axis: one is set
    // and the block does not belong to a program that a modal call opened.
    bool ModalCallDue() const { return modal_.active && openModalCalls_ == 0; }
    // Sets up the modal macro call with the arguments of its G66 block: on Handled,
    // Request() is the call.
    BlockResult CallModalMacro();

    // The G, M and T codes that call programs (CallCodes.h); empty: none.
    void SetCallCodes(std::vector<CallCode> codes) { callCodes_ = std::move(codes); }
    // Whether an ordinary block just executed is followed by a call: a call code that
    // stood beside other words, or the modal call after a block that moved an axis.
    bool CallAfterBlockDue(bool moved) const {
        return deferredCode_ >= 0 || (moved && ModalCallDue());
    }
    // Sets that call up: Handled (Request() is the call) or Error.
    BlockResult CallAfterBlock(bool moved);

    // Sets variable #n before a run (a variables file): locals #1..#33 of the main level,
    // common variables and the system variables a program may write, and the interface
    // inputs #1000..#1035; false (logged) for any other number.
    bool PresetVariable(int n, double value);

    // The run this machine works for: what system variables read and the effects a program
    // asks for (null: zeros, and effects are dropped). Neither is owned.
    void AttachRun(const MachineState* state, MachineEffects* effects);

    // --- read-only state ------------------------------------------------------------------
    const MacroVariables& Variables() const { return variables_; }
    MacroVariables& Variables() { return variables_; }
    int MacroLevel() const { return macroLevel_; }  // 0..kMacroLevels-1
    int LoopDepth() const { return loopDepth_; }    // open DO loops
    int CallDepth() const { return callDepth_; }    // open calls

  protected:
    // --- what a dialect writes differently --------------------------------------------------
    // Executes the statement at text[pos..].
    virtual bool ExecuteStatement(std::string& text, std::size_t pos);
    // The condition of the IF or WHILE at text[pos].
    virtual ConditionResult EvaluateCondition(std::string& text, std::size_t pos);
    virtual bool Goto(std::string& text, std::size_t pos);  // text[pos] is the GOTO keyword
    // An assignment (one or several '=') or a bare expression, from text[pos].
    virtual bool Assign(std::string& text, std::size_t pos);
    // The numeric value of a call argument word (its references are evaluated in place).
    virtual double ArgumentValue(std::string& word);

    // --- shared pieces the dialects build on ------------------------------------------------
    // Evaluates text[pos..] and writes its value ("%lf") over it.
    bool EvaluateInPlace(std::string& text, std::size_t pos);
    // The value of an expression (resultVacant_ says whether it is vacant); false: logged.
    bool Evaluate(std::string_view expression, double& result);
    // The same for tokens already cut from `expression` (they must outlive the call).
    bool EvaluateTokens(std::string_view expression, std::span<const std::string_view> tokens,
                        double& result);
    bool AssignTokens(std::string& text, std::size_t pos, bool dropClosingBracket);
    // What follows the condition of an IF (GOTO, THEN and its statement).
    bool AfterCondition(std::string& text, std::size_t pos, ConditionResult r);
    // Compares the two operands of a condition text such as "#1GT10" (TOSNAC).
    ConditionResult CompareCondition(std::string_view condition);
    // Digits at text[p..] after blanks (a reference there is evaluated in place first).
    bool NumberAfterKeyword(std::string& text, std::size_t p, int32_t& number);
    bool BeginLoop(std::string& text, std::size_t pos);  // text[pos] is "DO"
    bool EndLoop(std::string& text, std::size_t pos);    // text[pos] is "END"
    bool SkipLoop(std::string& text, std::size_t pos);   // text[pos] is the "DO"
    std::string_view KeywordText(Keyword k) const { return keywordTable_[Index(k)]; }
    // Selects the keyword texts of a dialect (TOSNAC: GO, no ACOS, G72).
    void UseKeywordTable(Dialect dialect);

    // Scratch storage of one evaluation; one per nesting depth, reused between blocks.
    struct Scratch {
        std::vector<std::string_view> tokens;
        struct Operator {
            Operator(std::string_view t, int p) : text(t), precedence(p) {}  // for clang 14
            std::string_view text;
            int precedence;
        };
        std::vector<Operator> operators;
        std::vector<std::size_t> equals;
        PostfixList postfix;
        std::vector<double> values;
        std::vector<char> vacant;
        std::string text;
        std::string conditionText;
    };
    // Claims the scratch of the next nesting depth for its lifetime; false when the
    // statement nests too deeply (logged with `what`).
    class NestingGuard {
      public:
        NestingGuard(NcMachine& machine, std::string_view what);
        ~NestingGuard();
        NestingGuard(const NestingGuard&) = delete;
        NestingGuard& operator=(const NestingGuard&) = delete;
        explicit operator bool() const { return scratch != nullptr; }
        Scratch* scratch = nullptr;

      private:
        NcMachine& machine_;
    };

    // Dialect traits, set by the dialect's constructor.
    char prefix_ = '#';  // variable prefix
    // Characters that continue the statement of the word before (#1=#2+3 is one word).
    std::string_view statementContinuationChars_ = "#*+-/=";
    bool bracketEndsWord_ = false;   // a bracket group always ends a word
    bool addressReferences_ = true;  // X#1 and X=.. are read (TOSNAC: a type miss)
    // Numbers beyond the locals follow the common and system variable tables (TOSNAC:
    // #101..#200 only, other numbers read 0 and ignore writes).
    bool numberedVariables_ = true;
    bool dataSettingG10_ = true;  // a block with G10 is G-code although it has an L word
    int alarmBase_ = 0;           // added to the number written to #3000 (FANUC 3000)
    // The macro language as the FANUC and MELDAS controls run it (TOSNAC keeps its own):
    // variables can be vacant (#0, unset locals and arguments; an address word with a
    // vacant value is left out, EQ/NE tell vacant from 0); #[..] is an indirect reference;
    // comparisons are operators of expressions; AND, OR and XOR are bitwise at the levels
    // of * and +; ',' separates the arguments of ATAN and POW; ROUND in an address rounds
    // to the least input increment.
    bool controlLanguage_ = true;
    std::string_view asinMessage_;
    std::string_view loopMismatch_;
    CallRoles callRoles_{'L', 'L', false, 'P', 0, 'H', true};
    bool modalCalls_ = true;           // G66 sets a modal call (TOSNAC: not supported)
    char returnSequence_ = 'P';        // M99 P: the caller's sequence to go on at (0: none)
    bool argumentSetsInOrder_ = true;  // I J K sets advance in letter order (else by count)
    bool argumentFailed_ = false;      // an argument's expression failed during a call

    BlockRequest request_;
    const MachineState* runState_ = nullptr;
    MachineEffects* runEffects_ = nullptr;

  private:
    friend class test::MachinePeer;

    // Scanner (NcScanner.cpp).
    std::size_t ReadWord(std::string_view line, std::size_t& pos, std::string& word);
    std::size_t ReadComment(std::string_view line, std::size_t& pos, std::string& word);
    std::size_t ReadBracket(std::string_view line, std::size_t& pos, std::string& out);
    std::size_t ReadToken(std::string_view text);
    void Tokenize(std::string_view text, std::vector<std::string_view>& tokens);
    bool StartsWithOperatorKeyword(std::string_view word) const;
    static bool IsAddressWord(std::string_view word);
    bool WordCountAllowed(const WordList& words);
    // The words of one block from ExecuteBlock's point of view.
    BlockResult ExecuteAddressWord(std::string& word, BlockResult sofar);
    static void TypeMiss(const std::string& word);
    // Whether the block has G10 (data setting) where the dialect knows it.
    bool SetsData(const WordList& words) const;

    // Expressions (NcExpression.cpp, KeywordFunctions.cpp).
    int Precedence(std::string_view token);
    std::optional<Keyword> KeywordIndex(std::string_view token) const;
    std::optional<CallKind> CallKeywordIndex(std::string_view word) const;
    int ToPostfix(std::string_view text, PostfixList& out);
    int PostfixOf(std::span<const std::string_view> tokens, PostfixList& out,
                  std::vector<Scratch::Operator>& stack);
    bool IsSkippedToken(std::string_view token) const;
    bool ApplyKeyword(Keyword keyword, std::vector<double>& values, std::string_view token);
    bool ApplyOperator(char op, std::vector<double>& values);
    // Whether y <keyword> x holds (EQ NE GT GE LT LE); vy, vx: the values are vacant.
    static bool ComparisonHolds(Keyword keyword, double y, bool vy, double x, bool vx);
    // [a OP b] of a plain number or variable each side, without the expression machinery
    // (the condition of most loops); false when the condition has another form.
    bool SimpleCondition(std::span<const std::string_view> tokens, ConditionResult& result);
    // EQ NE GT GE LT LE on the two top values, which may be vacant.
    bool Compare(Keyword keyword, std::vector<double>& values, std::vector<char>& vacant,
                 std::string_view token);
    // Writes value over text[pos..]; a minus in front of a negative value cancels.
    static void WriteValue(std::string& text, std::size_t pos, double value, int decimals);

    // Variables (NcVariables.cpp). VariableNumber is kInvalidVariable when the reference
    // at text[pos] is malformed (logged).
    static constexpr int kInvalidVariable = -1;
    int VariableNumber(std::string& text, std::size_t pos);
    // GetVariable leaves in lastReadVacant_ whether the variable read was vacant.
    bool GetVariable(std::string& text, std::size_t pos, double& value);
    bool ReadVariable(int n, double& value);  // MELDAS and FANUC numbers
    bool SetVariable(std::string& text, std::size_t pos, double value, bool vacant = false);
    // "%.3lf"; a vacant value sets omitWord_ instead (the address is left out).
    bool SubstituteVariable(std::string& text, std::size_t pos);
    // A variable number that is written with a fraction or is negative fails (logged).
    static bool WholeVariableNumber(double value, int& n);

    // Numbers beyond the locals (SystemVariables.cpp); false (logged) when the number names
    // no variable or cannot be written.
    bool ReadNumbered(int n, double& value);
    bool WriteNumbered(int n, double value, bool vacant);
    bool ReadRunVariable(int n, double& value) const;
    static bool IsStoredSystemVariable(int n);
    void ReportNonStandard(int n);
    bool RaiseAlarm(double value);

    // POPEN, PCLOS, BPRNT[..], DPRNT[..] (ExternalOutput.cpp).
    static bool IsExternalOutput(std::string_view statement);
    bool ExternalOutput(std::string& text, std::size_t pos);

    // Calls (NcCalls.cpp).
    BlockResult Call(WordList& words);
    BlockResult MacroCall(WordList& words, int nameWord, int repeatWord);
    bool MacroCallAllowed();
    void BeginArguments();
    BlockResult SetModalCall(WordList& words, int nameWord, int repeatWord);
    std::string ProgramNameOf(const std::string& word) const;
    BlockResult SubprogramCall(WordList& words, int nameWord, int repeatWord, int startWord);
    // Who opened a call: a call word, the modal call, or a call code.
    enum class CallOrigin : uint8_t { Word, Modal, Code };
    BlockResult OpenCall(bool opensLevel, CallOrigin origin = CallOrigin::Word);
    // The first call code of the block (index into the words; -1: none) and its entry.
    int FindCallCode(const WordList& words, int& code) const;
    BlockResult CodeCall(WordList& words, BlockResult sofar);
    BlockResult CallCodeProgram(const CallCode& code, WordList* arguments, int skipWord);
    BlockResult ExecuteWords(WordList& words);
    bool WordNumber(WordList& words, int at, int32_t& number);
    void TakeProgramName(const std::string& word);
    BlockResult ReturnFromCall(int32_t sequence = 0);
    bool AssignArgument(std::string& word);

    MacroVariables variables_;
    int macroLevel_ = 0;  // current local-variable level
    int loopDepth_ = 0;
    int callDepth_ = 0;
    int iArguments_ = 0, jArguments_ = 0, kArguments_ = 0;  // of the call being set up
    int argumentSet_ = 0, lastSetLetter_ = -1;              // I J K sets in letter order
    // The modal call of the last G66 (until G67): program, repeat count and the argument
    // words as evaluated on the G66 block.
    struct ModalCallSetting {
        bool active = false;
        std::string name;
        int32_t repeat = 0;
        std::vector<std::string> arguments;
        std::string scratch;
    } modal_;
    int openModalCalls_ = 0;  // open calls that a modal call made
    int openCodeCalls_ = 0;   // open calls that a call code made
    std::array<CallOrigin, kMaxCallDepth + 1> callOrigin_{};
    std::vector<CallCode> callCodes_;
    int deferredCode_ = -1;       // the call code to call after the block (index into callCodes_)
    double deferredValue_ = 0.0;  // the T value of a deferred T call
    // Per open call (entry 0 exists and is unused): whether it opened a macro level, and
    // the passes still to run (a repeated call returns once per pass; only the last
    // return closes the call).
    std::array<bool, kMaxCallDepth + 1> callOpenedLevel_{};
    std::array<int32_t, kMaxCallDepth + 1> callPassesLeft_{};
    std::array<int32_t, kMaxLoopDepth + 1> loopLabels_{};  // DO m label per open loop
    std::array<std::string_view, kKeywordCount> keywordTable_{};
    std::string statementKeywordLetters_;  // the first letters of IF GOTO WHILE DO END
    std::array<std::string_view, kCallKindCount> callKeywordTable_{};

    const WordList* currentBlock_ = nullptr;  // the block ExecuteBlock works on
    bool writeRefused_ = false;               // the last SetVariable named a variable that refused
    bool lastReadVacant_ = false;             // the last variable GetVariable read was vacant
    bool resultVacant_ = false;  // the last EvaluateInPlace gave a vacant value (a lone variable)
    bool omitWord_ = false;      // the address word just executed had a vacant value
    bool alarmRaised_ = false;   // a #3000 alarm ended this block (no error to add)
    bool inAddress_ = false;     // evaluating the bracket group of an address word
    bool blockSkip_ = false;     // the block skip switch
    bool blockSkipped_ = false;  // SplitBlock left out a "/" block
    std::size_t conditionEnd_ = std::string::npos;  // behind the ']' of the last condition
    std::string printRecord_, printReference_;      // of the last BPRNT/DPRNT
    std::string conditionLeft_, conditionRight_;    // the variables of a simple condition
    double millisecondsOffset_ = 0.0;               // #3001 as written minus the machining time
    double hoursOffset_ = 0.0;                      // #3002 likewise
    std::unordered_set<int> reportedNonStandard_;

    std::vector<std::unique_ptr<Scratch>> scratch_;
    int nesting_ = 0;
};

// Creates the machine of a dialect.
std::unique_ptr<NcMachine> CreateMachine(Dialect dialect);

}  // namespace cuttrace
