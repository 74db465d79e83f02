// Fuzz target "line": program lines through SplitBlock and ExecuteBlock of one dialect.
//
// Input: one byte that selects the dialect (DialectOf), then program text. Every line of
// it goes through a fresh machine in order (so a line can use what an earlier one set),
// and ordinary blocks are applied to a modal state as the runner does.
#include <string>

#include "FuzzSupport.h"
#include "core/BlockWords.h"
#include "core/ModalState.h"
#include "core/ProgramFile.h"
#include "machines/NcMachine.h"
#include "machines/WordList.h"

namespace {

using namespace cuttrace;

constexpr std::size_t kMaxLines = 2000;

void CheckMachine(const NcMachine& m) {
    CUTTRACE_FUZZ_CHECK(m.MacroLevel() >= 0 && m.MacroLevel() < NcMachine::kMacroLevels);
    CUTTRACE_FUZZ_CHECK(m.LoopDepth() >= 0 && m.LoopDepth() <= NcMachine::kMaxLoopDepth);
    CUTTRACE_FUZZ_CHECK(m.CallDepth() >= 0 && m.CallDepth() <= NcMachine::kMaxCallDepth);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
    if (size < 1) return 0;
    fuzz::QuietLog();
    auto machine = CreateMachine(fuzz::DialectOf(data[0]));
    std::string_view text = fuzz::Text(data + 1, size - 1);
    WordList words;
    ModalState modal;
    std::string line;
    std::size_t lines = 0;
    while (!text.empty() && lines++ < kMaxLines) {
        // A line as the program file delivers it: end of line included, long ones in pieces.
        std::size_t end = text.find('\n');
        std::size_t length = end == std::string_view::npos ? text.size() : end + 1;
        if (length > ProgramFile::kMaxLinePiece) length = ProgramFile::kMaxLinePiece;
        line.assign(text.substr(0, length));
        text.remove_prefix(length);

        machine->SplitBlock(line, words);
        CUTTRACE_FUZZ_CHECK(words.size() <= NcMachine::kMaxWords + 1);
        BlockResult result = machine->ExecuteBlock(words);
        CheckMachine(*machine);
        if (result == BlockResult::Ordinary) ApplyWords(words, modal);
        std::string expanded;
        words.JoinInto(expanded);
    }
    return 0;
}
