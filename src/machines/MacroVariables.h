// The macro variables of a machine: the local variables of each call level and the
// common variables. The machine decides which numbers a program may reach; this class
// only stores them. The variable window reads them through a const reference.
#pragma once

#include <array>
#include <cstddef>
#include <unordered_map>

namespace cuttrace {

class MacroVariables {
  public:
    static constexpr int kMacroLevels = 5;    // local-variable levels: main + 4 macro calls
    static constexpr int kLocals = 36;        // #0..#35 per level
    static constexpr int kFirstCommon = 100;  // common variables #100..#999
    static constexpr int kCommonCount = 900;

    // Local variable #n (0..kLocals-1) of a level (0..kMacroLevels-1).
    double Local(int level, int n) const { return locals_[Index(level)][Index(n)]; }
    void SetLocal(int level, int n, double value) { locals_[Index(level)][Index(n)] = value; }
    // Common variable #n (kFirstCommon..kFirstCommon+kCommonCount-1).
    double Common(int n) const { return common_[Index(n - kFirstCommon)]; }
    void SetCommon(int n, double value) { common_[Index(n - kFirstCommon)] = value; }

    // Any other stored variable (system variables that are only kept, numbers beyond the
    // standard ranges); 0 until written.
    double Other(int n) const {
        auto it = others_.find(n);
        return it == others_.end() ? 0.0 : it->second;
    }
    void SetOther(int n, double value) { others_[n] = value; }
    const std::unordered_map<int, double>& Others() const { return others_; }

    // Sets #0..#(count-1) of a level to 0.
    void ClearLocals(int level, int count) {
        for (int n = 0; n < count; ++n)
            SetLocal(level, n, 0.0);
    }

    bool operator==(const MacroVariables&) const = default;

  private:
    static constexpr std::size_t Index(int i) { return static_cast<std::size_t>(i); }

    std::array<std::array<double, kLocals>, kMacroLevels> locals_{};
    std::array<double, kCommonCount> common_{};
    std::unordered_map<int, double> others_;
};

}  // namespace cuttrace
