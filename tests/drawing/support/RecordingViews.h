// A PathViews that records every call, for checking what the drawer draws.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "core/Point3.h"
#include "drawing/PathViews.h"

namespace cuttrace::test {

enum class Op { Color, MoveTo, LineTo, ToolTo, Line, Refresh };

struct ViewCall {
    Op op;
    uint32_t color = 0;  // Color
    Point3 a;            // the point, or the start of a Line
    Point3 b;            // the end of a Line
};

class RecordingViews : public PathViews {
  public:
    void SetColor(uint32_t color) override { calls.push_back({Op::Color, color, {}, {}}); }
    void DrawMoveTo(const Point3& p) override { calls.push_back({Op::MoveTo, 0, p, {}}); }
    void DrawLineTo(const Point3& p) override { calls.push_back({Op::LineTo, 0, p, {}}); }
    void LineToShowingTool(const Point3& p) override { calls.push_back({Op::ToolTo, 0, p, {}}); }
    void DrawLine(const Point3& a, const Point3& b) override {
        calls.push_back({Op::Line, 0, a, b});
    }
    void Present() override { calls.push_back({Op::Refresh, 0, {}, {}}); }

    std::size_t Count(Op op) const;
    std::vector<ViewCall> Only(Op op) const;
    // The calls as compact text, one per call ("C ff", "M 1,2,3", "L a -> b", ...).
    std::string Text() const;
    void Clear() { calls.clear(); }

    std::vector<ViewCall> calls;
};

}  // namespace cuttrace::test
