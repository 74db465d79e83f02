// The macro variables of a machine: the local variables of each call level and the
// common variables. The machine decides which numbers a program may reach; this class
// only stores them. The variable window reads them through a const reference.
//
// A variable is vacant until a value is written to it (and again once it is cleared): it
// then reads as 0 in arithmetic, but programs can tell it from 0. Vacancy is kept as one
// bit a variable beside the values, so no value a program computes can stand for it.
#pragma once

#include <array>
#include <bitset>
#include <cstddef>
#include <unordered_map>

namespace cuttrace {

class MacroVariables {
  public:
    static constexpr int kMacroLevels = 5;    // local-variable levels: main + 4 macro calls
    static constexpr int kLocals = 36;        // #0..#35 per level
    static constexpr int kFirstCommon = 100;  // common variables #100..#999
    static constexpr int kCommonCount = 900;

    // Local variable #n (0..kLocals-1) of a level (0..kMacroLevels-1); 0 while vacant.
    double Local(int level, int n) const { return locals_[Index(level)][Index(n)]; }
    bool LocalVacant(int level, int n) const { return !localSet_[Index(level)].test(Index(n)); }
    void SetLocal(int level, int n, double value) {
        locals_[Index(level)][Index(n)] = value;
        localSet_[Index(level)].set(Index(n));
    }
    void ClearLocal(int level, int n) {
        locals_[Index(level)][Index(n)] = 0.0;
        localSet_[Index(level)].reset(Index(n));
    }
    // Common variable #n (kFirstCommon..kFirstCommon+kCommonCount-1); 0 while vacant.
    double Common(int n) const { return common_[Index(n - kFirstCommon)]; }
    bool CommonVacant(int n) const { return !commonSet_.test(Index(n - kFirstCommon)); }
    void SetCommon(int n, double value) {
        common_[Index(n - kFirstCommon)] = value;
        commonSet_.set(Index(n - kFirstCommon));
    }
    void ClearCommon(int n) {
        common_[Index(n - kFirstCommon)] = 0.0;
        commonSet_.reset(Index(n - kFirstCommon));
    }

    // Any other stored variable (system variables that are only kept, numbers beyond the
    // standard ranges); 0 and vacant until written.
    double Other(int n) const {
        auto it = others_.find(n);
        return it == others_.end() ? 0.0 : it->second;
    }
    bool OtherVacant(int n) const { return others_.find(n) == others_.end(); }
    void SetOther(int n, double value) { others_[n] = value; }
    void ClearOther(int n) { others_.erase(n); }
    const std::unordered_map<int, double>& Others() const { return others_; }

    // Makes #0..#(count-1) of a level vacant.
    void ClearLocals(int level, int count) {
        for (int n = 0; n < count; ++n)
            ClearLocal(level, n);
    }

    bool operator==(const MacroVariables&) const = default;

  private:
    static constexpr std::size_t Index(int i) { return static_cast<std::size_t>(i); }

    std::array<std::array<double, kLocals>, kMacroLevels> locals_{};
    std::array<std::bitset<kLocals>, kMacroLevels> localSet_{};
    std::array<double, kCommonCount> common_{};
    std::bitset<kCommonCount> commonSet_;
    std::unordered_map<int, double> others_;
};

}  // namespace cuttrace
