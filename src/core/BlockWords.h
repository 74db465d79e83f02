// Applies the words of an ordinary block to the modal state.
#pragma once

#include "core/ModalState.h"
#include "machines/WordList.h"

namespace cuttrace {

// Clears the per-block fields, then reads each word by its first character. Words the
// G-code does not know (digits, lowercase letters, comments, '#', '%') are ignored.
void ApplyWords(const WordList& words, ModalState& modal);

}  // namespace cuttrace
