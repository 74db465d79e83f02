#include "pictures/MotionLog.h"

namespace cuttrace {

void MotionLog::Add(const MotionRecord& motion) {
    if (blocks_.empty() || used_.back() + kMaxRecord > kBlockBytes) {
        blocks_.push_back(std::make_unique_for_overwrite<unsigned char[]>(kBlockBytes));
        used_.push_back(0);
    }
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
