// The motions of a run kept for drawing a picture at its end, packed: a motion stores only
// the values that differ, bit for bit, from those of the motion before it in its block (a
// path's moves mostly change one or two coordinates), in large blocks that each read back
// on their own. Every motion comes back exactly as it was added, -0 and NaN payloads
// included.
//
// With a memory bound, the blocks beyond it go to a temporary file (gone when the log is),
// so a run of any length keeps the same memory.
#pragma once

#include <unistd.h>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <memory>
#include <vector>

#include "core/MotionRecord.h"

namespace cuttrace {

class MotionLog {
  public:
    static constexpr std::size_t kBlockBytes = std::size_t{1} << 20;

    MotionLog() = default;
    ~MotionLog();
    MotionLog(const MotionLog&) = delete;
    MotionLog& operator=(const MotionLog&) = delete;

    // Keeps at most about this many bytes in memory (at least one block); 0: no bound.
    void SetMemoryBound(std::size_t bytes) { bound_ = bytes; }
    void Add(const MotionRecord& motion);
    std::size_t Count() const { return count_; }
    // Bytes of blocks held in memory.
    std::size_t MemoryBytes() const { return blocks_.size() * kBlockBytes; }
    // Calls visit(const MotionRecord&) for every motion in the order they were added; false
    // when the temporary file could not be read back (the motions after it are left out).
    template <class Visit>
    bool ForEach(Visit visit) const;

    // Blocks begun so far, in memory or in the file; a motion whose Add raises the count is
    // the first of the new block.
    std::size_t Blocks() const { return blockCount_; }
    // Writes out what waits for the temporary file; false when that fails. After it, the
    // blocks may be read by several threads at once (ForEachIn).
    bool Flush() const { return spill_ == nullptr || std::fflush(spill_) == 0; }
    // ForEach for the motions of blocks first..last - 1 (in memory, or read back from the
    // file with a buffer of its own). Adds nothing, so calls may run in parallel after Flush.
    template <class Visit>
    bool ForEachIn(std::size_t first, std::size_t last, Visit visit) const;

  private:
    static constexpr int kFields = 5;  // x, y, z, centreFirst, centreSecond; then the kind
    static constexpr unsigned kKindBit = 1u << kFields;
    static constexpr std::size_t kMaxRecord = 1 + kFields * sizeof(double) + sizeof(int32_t);

    static constexpr double MotionRecord::*kField[kFields] = {
        &MotionRecord::x, &MotionRecord::y, &MotionRecord::z, &MotionRecord::centreFirst,
        &MotionRecord::centreSecond};

    // Makes room for one more record: a new block, or the last one written to the file.
    void NextBlock();
    void StartBlock();
    // Reads the file's blocks back in order; false when that fails.
    template <class Visit>
    bool ForEachSpilled(Visit& visit) const;
    template <class Visit>
    static void Decode(const unsigned char* at, const unsigned char* end, MotionRecord& m,
                       Visit& visit);
    struct Spilled {
        long offset;  // of the block's bytes in the file
        std::size_t used;
    };

    std::vector<std::unique_ptr<unsigned char[]>> blocks_;
    std::vector<std::size_t> used_;  // bytes used in each block
    MotionRecord last_;
    std::size_t count_ = 0;
    std::size_t bound_ = 0;
    // The file's blocks come after the first kept_ blocks in memory and before the rest.
    std::FILE* spill_ = nullptr;
    std::size_t kept_ = 0;
    long spilledBytes_ = 0;
    std::vector<Spilled> spilled_;
    std::size_t blockCount_ = 0;
    bool spillFailed_ = false;  // no (more) file: every block stays in memory
};

template <class Visit>
void MotionLog::Decode(const unsigned char* at, const unsigned char* end, MotionRecord& m,
                       Visit& visit) {
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

template <class Visit>
bool MotionLog::ForEachSpilled(Visit& visit) const {
    if (spilledBytes_ == 0) return true;
    if (std::fflush(spill_) != 0 || std::fseek(spill_, 0, SEEK_SET) != 0) return false;
    const auto buffer = std::make_unique_for_overwrite<unsigned char[]>(kBlockBytes);
    long read = 0;
    while (read < spilledBytes_) {
        std::size_t used = 0;
        if (std::fread(&used, sizeof used, 1, spill_) != 1 || used > kBlockBytes ||
            std::fread(buffer.get(), 1, used, spill_) != used)
            return false;
        read += static_cast<long>(sizeof used + used);
        MotionRecord m;
        Decode(buffer.get(), buffer.get() + used, m, visit);
    }
    return true;
}

template <class Visit>
bool MotionLog::ForEach(Visit visit) const {
    const std::size_t kept = spilledBytes_ > 0 ? kept_ : blocks_.size();
    for (std::size_t b = 0; b < kept; ++b) {
        MotionRecord m;
        Decode(blocks_[b].get(), blocks_[b].get() + used_[b], m, visit);
    }
    if (!ForEachSpilled(visit)) return false;
    for (std::size_t b = kept; b < blocks_.size(); ++b) {
        MotionRecord m;
        Decode(blocks_[b].get(), blocks_[b].get() + used_[b], m, visit);
    }
    return true;
}

template <class Visit>
bool MotionLog::ForEachIn(std::size_t first, std::size_t last, Visit visit) const {
    // Blocks in order: the first kept ones in memory, those in the file, the rest in memory.
    const std::size_t kept = spilledBytes_ > 0 ? kept_ : blocks_.size();
    std::unique_ptr<unsigned char[]> buffer;
    for (std::size_t b = first; b < last && b < blockCount_; ++b) {
        MotionRecord m;
        if (b < kept) {
            Decode(blocks_[b].get(), blocks_[b].get() + used_[b], m, visit);
        } else if (b - kept < spilled_.size()) {
            const Spilled& block = spilled_[b - kept];
            if (!buffer) buffer = std::make_unique_for_overwrite<unsigned char[]>(kBlockBytes);
            // pread: the file position is shared, the offsets are not.
            std::size_t done = 0;
            while (done < block.used) {
                const ssize_t got =
                    ::pread(::fileno(spill_), buffer.get() + done, block.used - done,
                            block.offset + static_cast<long>(done));
                if (got <= 0) return false;
                done += static_cast<std::size_t>(got);
            }
            Decode(buffer.get(), buffer.get() + block.used, m, visit);
        } else {
            const std::size_t k = b - spilled_.size();
            Decode(blocks_[k].get(), blocks_[k].get() + used_[k], m, visit);
        }
    }
    return true;
}

}  // namespace cuttrace
