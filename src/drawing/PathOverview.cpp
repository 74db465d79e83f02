#include "drawing/PathOverview.h"

#include <algorithm>
#include <cmath>
#include <unordered_map>

namespace cuttrace {

namespace {

// A cell's three indices in 20 bits each; a step is its two cells.
struct CellStep {
    uint64_t from;
    uint64_t to;
    friend bool operator==(const CellStep&, const CellStep&) = default;
};

struct CellStepHash {
    std::size_t operator()(const CellStep& s) const {
        const uint64_t h = s.from * 0x9E3779B97F4A7C15ull ^ (s.to + 0x632BE59BD9B4E019ull);
        return static_cast<std::size_t>(h ^ (h >> 29));
    }
};

constexpr int kIndexBits = 20;
constexpr uint64_t kIndexMask = (uint64_t{1} << kIndexBits) - 1;

uint64_t Pack(uint64_t i, uint64_t j, uint64_t k) {
    return i | (j << kIndexBits) | (k << (2 * kIndexBits));
}
uint64_t Index(uint64_t cell, int axis) {
    return (cell >> (axis * kIndexBits)) & kIndexMask;
}
// The cell that holds this one when cells are twice as large.
uint64_t Coarser(uint64_t cell) {
    return Pack(Index(cell, 0) >> 1, Index(cell, 1) >> 1, Index(cell, 2) >> 1);
}

}  // namespace

bool PathOverview::Build(const VertexList& path, const std::atomic<bool>& stop,
                         const std::function<void()>& pause) {
    steps_.clear();
    const PathBox& box = path.Bounds();
    if (box.Empty()) return true;
    const double low[3] = {box.low.x, box.low.y, box.low.z};
    const double extent =
        std::max({box.high.x - box.low.x, box.high.y - box.low.y, box.high.z - box.low.z, 1e-9});
    if (!std::isfinite(extent)) return true;  // no grid fits such a box
    double size = extent / kCells;            // of a cell, doubled when the steps outgrow the bound
    int shift = 0;                            // doublings so far
    const auto cellOf = [&](const Point3& p) {
        const double v[3] = {p.x, p.y, p.z};
        uint64_t index[3];
        for (int a = 0; a < 3; ++a) {
            const double i = std::floor((v[a] - low[a]) / (extent / kCells));
            index[a] = static_cast<uint64_t>(std::clamp(i, 0.0, double{kCells})) >> shift;
        }
        return Pack(index[0], index[1], index[2]);
    };
    std::unordered_map<CellStep, uint32_t, CellStepHash> found;
    found.reserve(kMaxSteps);
    std::size_t seen = 0;
    bool stopped = false;
    path.ForEachSegmentUntil(
        [&](const PathSegment& s) {
            if (!stopped && (++seen & 0xFFF) == 0) {
                if (pause) pause();
                stopped = stop.load(std::memory_order_relaxed);
            }
            if (stopped) return;
            const uint64_t a = cellOf(s.from);
            const uint64_t b = cellOf(s.to);
            if (a == b) return;
            found.try_emplace(CellStep{a, b}, s.color);
            if (found.size() <= kMaxSteps) return;
            // Cells twice as large: steps inside one cell go, steps between the same cells merge.
            std::unordered_map<CellStep, uint32_t, CellStepHash> coarser;
            coarser.reserve(kMaxSteps);
            for (const auto& [step, color] : found) {
                const CellStep merged{Coarser(step.from), Coarser(step.to)};
                if (merged.from != merged.to) coarser.try_emplace(merged, color);
            }
            found.swap(coarser);
            ++shift;
            size *= 2.0;
        },
        stop);
    if (stopped || stop.load(std::memory_order_relaxed)) return false;
    const auto centre = [&](uint64_t cell) {
        double v[3];
        for (int a = 0; a < 3; ++a)
            v[a] = low[a] + (static_cast<double>(Index(cell, a)) + 0.5) * size;
        return Point3{v[0], v[1], v[2]};
    };
    steps_.reserve(found.size());
    for (const auto& [step, color] : found)
        steps_.push_back({centre(step.from), centre(step.to), color});
    return true;
}

}  // namespace cuttrace
