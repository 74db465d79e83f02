// One executed motion: what the drawer draws and the picture buffer stores.
#pragma once

#include <cstdint>

namespace cuttrace {

// Motion kinds.
enum MotionKind : int32_t {
    KindRapid = 0,
    KindFeed = 1,
    KindArcCwXY = 172,
    KindArcCcwXY = 173,
    KindArcCwZX = 182,
    KindArcCcwZX = 183,
    KindArcCwYZ = 192,
    KindArcCcwYZ = 193,
    // 71..89 (never 80): the active canned cycle.
    KindCycleFirst = 71,
    KindCycleLast = 89,
};

inline bool IsCannedCycleKind(int32_t kind) {
    return kind >= KindCycleFirst && kind <= KindCycleLast && kind != 80;
}
inline bool IsArcKind(int32_t kind) {
    return kind == KindArcCwXY || kind == KindArcCcwXY || kind == KindArcCwZX ||
           kind == KindArcCcwZX || kind == KindArcCwYZ || kind == KindArcCcwYZ;
}

struct MotionRecord {
    double X = 0.0;  // end point, which is also the current position
    double Y = 0.0;
    double Z = 0.0;
    double c1 = 0.0;  // arcs: centre on the plane's first axis; cycles: the block's R value
    double c2 = 0.0;  // arcs: centre on the plane's second axis
    int32_t kind = KindRapid;

    friend bool operator==(const MotionRecord&, const MotionRecord&) = default;
};

}  // namespace cuttrace
