// The viewer's memory of the common variables #500..#999: kept from run to run (as the
// control's memory keeps them), read from a file when the viewer starts and written back
// when it ends.
#pragma once

#include <QString>
#include <vector>

#include "core/VariablesFile.h"

namespace cuttrace {
class NcMachine;
}

namespace cuttrace::ui {

class VariableMemory {
  public:
    static constexpr int kFirst = 500;
    static constexpr int kLast = 999;

    // ~/.local/share/Kv/Nc/variables.txt, or the same below $XDG_DATA_HOME.
    static QString DefaultPath();

    // Takes #500..#999 of the file; a missing file is no error. False (with `error`) when
    // the file cannot be read or holds a malformed line: nothing is taken then.
    bool Load(const QString& path, QString& error);
    // Writes the kept values; the file is replaced only once the new one is complete.
    bool Save(const QString& path, QString& error) const;

    // Keeps the machine's values (those that are set), forgetting the others.
    void Capture(const NcMachine& machine);
    // Gives the kept values to a (new) machine.
    void ApplyTo(NcMachine& machine) const;
    const std::vector<VariableSetting>& Values() const { return values_; }

  private:
    std::vector<VariableSetting> values_;
};

}  // namespace cuttrace::ui
