// The TOSNAC dialect: variables are written with 'V' (V1, V101), statements are enclosed
// in brackets ([V1=5], [GO 100], [WHILE,V1.LT.3,DO1], [END1]), conditions use the
// comma-and-dot form [IF,V1.GT.10,GO 100] and jump by themselves, and in address words a
// variable stands only in brackets (X[V1]). O names a called program, L repeats it.
#pragma once

#include "machines/NcMachine.h"

namespace cuttrace {

class TosnacMachine : public NcMachine {
  public:
    TosnacMachine();

  protected:
    bool ExecuteStatement(std::string& text, std::size_t pos) override;
    ConditionResult EvaluateCondition(std::string& text, std::size_t pos) override;
    bool Goto(std::string& text, std::size_t pos) override;
    bool Assign(std::string& text, std::size_t pos) override;
    double ArgumentValue(std::string& word) override;
};

}  // namespace cuttrace
