// Tool offset memory: tool lengths (H numbers) and cutter radii (D numbers), each a
// geometry and a wear value, as G10 L10..L13, the system variables #2001.. / #10001.. and
// a tool table file set them.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace cuttrace {

class ToolData {
  public:
    static constexpr int kOffsets = 999;  // offset numbers 1..kOffsets
    enum class Kind : uint8_t { LengthWear, LengthGeometry, RadiusWear, RadiusGeometry };

    ToolData();

    // One value; 0 for a number out of range. Set is false for a number out of range.
    double Get(Kind kind, int number) const;
    bool Set(Kind kind, int number, double value);
    // Geometry plus wear.
    double Length(int h) const { return Get(Kind::LengthGeometry, h) + Get(Kind::LengthWear, h); }
    double Radius(int d) const { return Get(Kind::RadiusGeometry, d) + Get(Kind::RadiusWear, d); }

    // The value a system variable names: #2001..#2800 (200 a kind: length wear, length
    // geometry, radius wear, radius geometry) and #10001..#13999 (999 a kind, same order).
    static bool VariableSlot(int variable, Kind& kind, int& number);

    // Reads a tool table: one offset a line, `H1 L=120.5` (length), `D1 R=5` (radius),
    // optionally with W= for the wear. Lines of the cut simulation's tools (`T1 FLAT D=10`),
    // blank lines and comments (after ';' or '#', or in parentheses) are passed over. A bad
    // line leaves the data unchanged and says "FILE:LINE: what is wrong" in error.
    bool Parse(std::string_view text, const std::string& fileName, std::string* error);
    bool Load(const std::string& path, std::string* error);

    // The values every run starts from: those of the table (or none) loaded last.
    void KeepAsStart() { start_ = values_; }
    void RestoreStart() { values_ = start_; }
    void ClearAll();

  private:
    static std::size_t Slot(Kind kind, int number) {
        return static_cast<std::size_t>(kind) * kOffsets + static_cast<std::size_t>(number - 1);
    }
    std::vector<double> values_;
    std::vector<double> start_;
};

}  // namespace cuttrace
