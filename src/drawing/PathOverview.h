// A bounded sketch of a stored path, drawn at once while the full path is drawn elsewhere:
// the points are snapped to a grid of cells over the path's box, and each distinct step from
// one cell to another is kept once, in the color it was first drawn with. Steps within a
// cell are left out. When the steps outgrow the bound the cells are doubled in size (their
// steps merge) until they fit, so the sketch of a path of any length stays small.
#pragma once

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <vector>

#include "core/Point3.h"
#include "drawing/VertexList.h"

namespace cuttrace {

class PathOverview {
  public:
    static constexpr int kCells = 1024;  // along the longest side of the box, at most
    static constexpr std::size_t kMaxSteps = 150000;

    struct Step {
        Point3 from;  // cell centres
        Point3 to;
        uint32_t color = 0;
    };

    // Sketches the path; false (and an empty sketch) when stop was set meanwhile. pause is
    // called every few thousand segments: it may hold the build back while the processors
    // are wanted for something more pressing.
    bool Build(const VertexList& path, const std::atomic<bool>& stop,
               const std::function<void()>& pause = {});
    const std::vector<Step>& Steps() const { return steps_; }
    // Forgets the sketch and releases its memory (up to kMaxSteps steps).
    void Clear() { std::vector<Step>().swap(steps_); }

  private:
    std::vector<Step> steps_;
};

}  // namespace cuttrace
