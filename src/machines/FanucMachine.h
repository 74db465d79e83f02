// The FANUC dialect: the base behaviour, with P naming the called program (P9010 calls
// O9010) and L repeating a subprogram.
#pragma once

#include "machines/NcMachine.h"

namespace cuttrace {

class FanucMachine : public NcMachine {
  public:
    FanucMachine();
};

}  // namespace cuttrace
