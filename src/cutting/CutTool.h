// Cutting tools: their shape below the shank, and the table that gives them by T number.
//
// A tool table file holds one entry a line. Lines for cutting tools start with the T number:
//
//   T1 FLAT D=10          flat end mill of diameter 10
//   T2 BALL D=6           ball end mill
//   T3 BULL D=12 CR=2     bull-nose end mill with corner radius 2
//   T4 DRILL D=8.5        twist drill with a 118 degree point
//
// Offset lines (`H1 L=120.5`, `D1 R=5`) belong to tool length and radius data and are
// passed over here, so one file can hold both. Blank lines and text after ';' or '#' or in
// parentheses are ignored. Any other line is an error that names the line.
#pragma once

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <map>
#include <string>
#include <string_view>

namespace cuttrace::cutting {

enum class ToolShape : uint8_t { Flat, Ball, BullNose, Drill };

struct CutTool {
    ToolShape shape = ToolShape::Flat;
    double diameter = 0.0;
    double cornerRadius = 0.0;  // bull-nose only; 0 < cornerRadius <= diameter / 2

    double Radius() const { return diameter * 0.5; }
    // Height of the cutting surface above the tip at distance r from the axis (r <= Radius).
    // Inline: it is evaluated for every cell a tool reaches.
    double ProfileHeight(double r) const;
    // False, with a message, for a size that cannot cut (not finite, zero or negative).
    bool Check(std::string* error) const;
};

// The point angle of a drill is 118 degrees: the cone rises cot(59 deg) per unit of radius.
inline constexpr double kDrillConeSlope = 0.6008606190275603;  // 1 / tan(59 deg)

inline double CutTool::ProfileHeight(double r) const {
    const double radius = Radius();
    switch (shape) {
        case ToolShape::Flat:
            return 0.0;
        case ToolShape::Ball:
            return radius - std::sqrt(std::max(0.0, radius * radius - r * r));
        case ToolShape::BullNose: {
            const double flat = radius - cornerRadius;
            if (r <= flat) return 0.0;
            const double u = r - flat;
            return cornerRadius - std::sqrt(std::max(0.0, cornerRadius * cornerRadius - u * u));
        }
        case ToolShape::Drill:
            return r * kDrillConeSlope;
    }
    return 0.0;
}

class ToolTable {
  public:
    // Reads a table; false with a message naming the file and line on a bad line.
    bool Parse(std::string_view text, const std::string& fileName, std::string* error);
    bool Load(const std::string& path, std::string* error);

    void Set(int32_t number, const CutTool& tool) { tools_[number] = tool; }
    // The tool of number t, or the fallback when the table has none.
    const CutTool& Find(int32_t number, const CutTool& fallback) const;
    bool empty() const { return tools_.empty(); }

  private:
    std::map<int32_t, CutTool> tools_;
};

}  // namespace cuttrace::cutting
