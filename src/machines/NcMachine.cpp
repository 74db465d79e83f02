// SKELETON, replaced by the machines work.
#include "machines/NcMachine.h"

namespace cuttrace {

NcMachine::NcMachine() = default;
NcMachine::~NcMachine() = default;

int NcMachine::SplitBlock(std::string_view, WordList& words) {
    words.Clear();
    return -1;
}

int NcMachine::ExecuteBlock(WordList&) { return BlockOrdinary; }

std::unique_ptr<NcMachine> CreateMachine(int) { return std::make_unique<NcMachine>(); }

}  // namespace cuttrace
