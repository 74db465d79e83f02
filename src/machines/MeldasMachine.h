// The MELDAS dialect: the base behaviour, with L naming the called program and P repeating
// a subprogram, which may also be entered at the sequence of its H word.
#pragma once

#include "machines/NcMachine.h"

namespace cuttrace {

class MeldasMachine : public NcMachine {
  public:
    MeldasMachine();
};

}  // namespace cuttrace
