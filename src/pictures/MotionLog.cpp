#include "pictures/MotionLog.h"

namespace cuttrace {

MotionLog::~MotionLog() {
    if (spill_) std::fclose(spill_);
}

void MotionLog::NextBlock() {
    const bool overBound = bound_ > 0 && !blocks_.empty() && MemoryBytes() >= bound_;
    if (overBound && !spillFailed_) {
        if (!spill_) {
            spill_ = std::tmpfile();
            kept_ = blocks_.size() - 1;  // the last block is the one written out from now on
        }
        const std::size_t used = used_.back();
        if (spill_ && std::fseek(spill_, spilledBytes_, SEEK_SET) == 0 &&
            std::fwrite(&used, sizeof used, 1, spill_) == 1 &&
            std::fwrite(blocks_.back().get(), 1, used, spill_) == used) {
            spilled_.push_back({spilledBytes_ + static_cast<long>(sizeof used), used});
            spilledBytes_ += static_cast<long>(sizeof used + used);
            used_.back() = 0;
            StartBlock();
            return;
        }
        // Without a file the blocks stay in memory: the picture matters more than the bound.
        spillFailed_ = true;
        if (spilledBytes_ == 0) kept_ = blocks_.size();
        if (spill_ && spilledBytes_ == 0) {
            std::fclose(spill_);
            spill_ = nullptr;
        }
    }
    blocks_.push_back(std::make_unique_for_overwrite<unsigned char[]>(kBlockBytes));
    used_.push_back(0);
    StartBlock();
}

void MotionLog::StartBlock() {
    // A block's first motion is stored against a fresh record, so each block reads back
    // without the ones before it.
    last_ = MotionRecord{};
    ++blockCount_;
}

void MotionLog::Add(const MotionRecord& motion) {
    if (blocks_.empty() || used_.back() + kMaxRecord > kBlockBytes) NextBlock();
    unsigned char* const start = blocks_.back().get() + used_.back();
    unsigned char* at = start + 1;
    unsigned flags = 0;
    for (int i = 0; i < kFields; ++i) {
        const double& value = motion.*kField[i];
        if (std::memcmp(&value, &(last_.*kField[i]), sizeof(double)) == 0) continue;
        flags |= 1u << i;
        std::memcpy(at, &value, sizeof(double));
        at += sizeof(double);
    }
    if (motion.kind != last_.kind) {
        flags |= kKindBit;
        const int32_t kind = motion.kind;
        std::memcpy(at, &kind, sizeof kind);
        at += sizeof kind;
    }
    *start = static_cast<unsigned char>(flags);
    used_.back() += static_cast<std::size_t>(at - start);
    last_ = motion;
    ++count_;
}

}  // namespace cuttrace
