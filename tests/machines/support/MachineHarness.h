// Test helpers: drive a dialect machine line by line and record the diagnostic log.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "machines/DiagnosticLog.h"
#include "machines/NcMachine.h"
#include "machines/WordList.h"

namespace cuttrace::test {

// Records every log line (without its time stamp) while it lives.
class LogRecorder {
  public:
    LogRecorder()
        : sink_([this](std::string_view line) {
              auto blank = line.find(' ');
              lines.emplace_back(blank == std::string_view::npos ? line : line.substr(blank + 1));
          }) {}
    bool Contains(std::string_view text) const {
        for (const auto& l : lines) {
            if (l.find(text) != std::string::npos) return true;
        }
        return false;
    }
    std::string Joined() const {
        std::string all;
        for (const auto& l : lines)
            all += l + "\n";
        return all;
    }
    std::vector<std::string> lines;

  private:
    ScopedLogSink sink_;
};

inline std::vector<std::string> Words(const WordList& list) {
    return std::vector<std::string>(list.begin(), list.end());
}

inline std::vector<std::string> Split(NcMachine& machine, std::string_view line) {
    WordList list;
    machine.SplitBlock(line, list);
    return Words(list);
}

// Splits and executes one line; the words as the machine left them go to `words`.
inline BlockResult Execute(NcMachine& machine, std::string_view line,
                           std::vector<std::string>* words = nullptr) {
    WordList list;
    machine.SplitBlock(line, list);
    BlockResult result = machine.ExecuteBlock(list);
    if (words) *words = Words(list);
    return result;
}

// Local variable #n of the current level.
inline double Local(const NcMachine& machine, int n) {
    return machine.Variables().Local(machine.MacroLevel(), n);
}

}  // namespace cuttrace::test
