// The points drawn on the tool path, with the colour each was drawn in, kept so that the
// views can be redrawn without running the program again.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "core/Axis.h"

namespace cuttrace {

struct PathVertex {
    AXIS point;
    uint32_t colour = 0;  // the colour value at the time of drawing, not a reference

    friend bool operator==(const PathVertex&, const PathVertex&) = default;
};

class VertexList {
  public:
    void Append(const AXIS& point, uint32_t colour) { items_.push_back({point, colour}); }
    // Empties the list and releases its storage.
    void Clear() { std::vector<PathVertex>().swap(items_); }
    void Reserve(std::size_t count) { items_.reserve(count); }

    std::size_t Count() const { return items_.size(); }
    bool Empty() const { return items_.empty(); }
    const PathVertex& operator[](std::size_t i) const { return items_[i]; }
    std::vector<PathVertex>::const_iterator begin() const { return items_.begin(); }
    std::vector<PathVertex>::const_iterator end() const { return items_.end(); }

  private:
    std::vector<PathVertex> items_;
};

}  // namespace cuttrace
