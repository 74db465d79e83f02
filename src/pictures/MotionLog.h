// The motions of a run kept for drawing a picture at its end, packed: a motion stores only
// the values that differ, bit for bit, from those of the motion before it (a path's moves
// mostly change one or two coordinates), in large blocks. Every motion comes back exactly
// as it was added, -0 and NaN payloads included.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <memory>
#include <vector>

#include "core/MotionRecord.h"

namespace cuttrace {

class MotionLog {
  public:
    void Add(const MotionRecord& motion);
    std::size_t Count() const { return count_; }
    // Calls visit(const MotionRecord&) for every motion in the order they were added.
    template <class Visit>
    void ForEach(Visit visit) const;

  private:
    static constexpr std::size_t kBlockBytes = std::size_t{1} << 20;
    static constexpr int kFields = 5;  // x, y, z, centreFirst, centreSecond; then the kind
    static constexpr unsigned kKindBit = 1u << kFields;
    static constexpr std::size_t kMaxRecord = 1 + kFields * sizeof(double) + sizeof(int32_t);

    static constexpr double MotionRecord::*kField[kFields] = {
        &MotionRecord::x, &MotionRecord::y, &MotionRecord::z, &MotionRecord::centreFirst,
        &MotionRecord::centreSecond};

    std::vector<std::unique_ptr<unsigned char[]>> blocks_;
    std::vector<std::size_t> used_;  // bytes used in each block
    MotionRecord last_;
    std::size_t count_ = 0;
};

template <class Visit>
void MotionLog::ForEach(Visit visit) const {
    MotionRecord m;
    for (std::size_t b = 0; b < blocks_.size(); ++b) {
        const unsigned char* at = blocks_[b].get();
        const unsigned char* const end = at + used_[b];
        while (at < end) {
            const unsigned flags = *at++;
            for (int i = 0; i < kFields; ++i) {
                if ((flags & (1u << i)) == 0) continue;
                std::memcpy(&(m.*kField[i]), at, sizeof(double));
                at += sizeof(double);
            }
            if ((flags & kKindBit) != 0) {
                int32_t kind;
                std::memcpy(&kind, at, sizeof kind);
                at += sizeof kind;
                m.kind = static_cast<MotionKind>(kind);
            }
            visit(static_cast<const MotionRecord&>(m));
        }
    }
}

}  // namespace cuttrace
