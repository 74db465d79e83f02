// The dialect machine: splits a program line into words, evaluates the macro language in
// them, and tells the execution core what to do next.
//
// SKELETON: the machines work fills in the operations; the runner relies only on the
// members marked "runner interface" below, with these names and signatures.
#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

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

// Results of ExecuteBlock.
enum BlockResult : int {
    BlockError = -1,
    BlockOrdinary = 0,  // an NC block: the core interprets the words as G-code
    BlockHandled = 1,   // a macro-handled block: the core consults ResultCode
};

// Dialect setting values (any other value selects FANUC).
enum Dialect : int { DialectMeldas = 0, DialectFanuc = 1, DialectTosnac = 2 };

class NcMachine {
public:
    NcMachine();
    virtual ~NcMachine();
    NcMachine(const NcMachine&) = delete;
    NcMachine& operator=(const NcMachine&) = delete;

    // --- runner interface -------------------------------------------------------------
    // Splits line (end-of-line character included) into words; returns words - 1.
    virtual int SplitBlock(std::string_view line, WordList& words);
    // Evaluates the words in place; returns a BlockResult.
    virtual int ExecuteBlock(WordList& words);

    int32_t ResultCode = ResultNone;
    int32_t ResultNumber = 0;
    int32_t StartSequence = -1;
    std::string ProgramName;

    std::array<double, 200> CommonVariables{};              // #100..#299
    std::array<std::array<double, 36>, 5> LocalLevels{};    // #0..#35 of each level
    int32_t Level = 0;
    int32_t LoopDepth = 0;
    int32_t CallDepth = 0;
};

// Creates the machine for a dialect setting: 0 MELDAS, 2 TOSNAC, anything else FANUC.
std::unique_ptr<NcMachine> CreateMachine(int dialect);

}  // namespace cuttrace
