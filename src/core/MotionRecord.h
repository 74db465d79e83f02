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
    // The programmed contour under cutter compensation, drawn beside the tool-centre path
    // and never a move of the tool: a line from (centreFirst, centreSecond) in XY to the end
    // point, and arcs from the end of the contour record before.
    KindContourLine = 1001,
    KindContourArcCw = 1172,
    KindContourArcCcw = 1173,
};

// The kind of a motion made by canned cycle G<gcode> (G71..G89).
constexpr MotionKind CycleKind(int32_t gcode) {
    return static_cast<MotionKind>(gcode);
}
inline bool IsCannedCycleKind(MotionKind kind) {
    return kind >= KindCycleFirst && kind <= KindCycleLast && kind != 80;
}
inline bool IsContourKind(MotionKind kind) {
    return kind == KindContourLine || kind == KindContourArcCw || kind == KindContourArcCcw;
}
inline bool IsArcKind(MotionKind kind) {
    return kind == KindArcCwXY || kind == KindArcCcwXY || kind == KindArcCwZX ||
           kind == KindArcCcwZX || kind == KindArcCwYZ || kind == KindArcCcwYZ;
}

struct MotionRecord {
    double x = 0.0;  // end point, which is also the current position
    double y = 0.0;
    double z = 0.0;
    double centreFirst = 0.0;   // arcs: centre on the plane's first axis (cycles: see RetractLevel)
    double centreSecond = 0.0;  // arcs: centre on the plane's second axis
    MotionKind kind = KindRapid;

    // Canned cycles keep the block's R level where arcs keep their first centre coordinate.
    double RetractLevel() const { return centreFirst; }
    void SetRetractLevel(double level) { centreFirst = level; }

    friend bool operator==(const MotionRecord&, const MotionRecord&) = default;
};

}  // namespace cuttrace
