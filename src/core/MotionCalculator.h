// Turns the words of an ordinary block into the end point and kind of one motion.
#pragma once

#include "core/ModalState.h"
#include "core/MotionRecord.h"

namespace cuttrace {

// A point on the arc's plane: u along the plane's first axis, v along its second.
struct PlanePoint {
    double u = 0;
    double v = 0;
};

struct ArcCentreInput {
    bool clockwise = false;
    PlanePoint start;
    PlanePoint end;
    PlanePoint centreOffset;  // from the start (I, J, K words)
    double r = 0;             // radius word; 0 when the block has none
};

// Finds the arc centre; false when it cannot be found (no offsets and no radius, a radius
// too small for the chord, or a radius arc whose start and end coincide).
bool ArcCentre(const ArcCentreInput& in, PlanePoint& centre);

enum class MotionOutcome { None, Motion, Failed };

class MotionCalculator {
  public:
    // Computes the motion of the block in modal into record, which still holds the
    // previous end point.
    MotionOutcome Compute(const ModalState& modal, MotionRecord& record);
    void Reset() { previousX_ = previousY_ = previousZ_ = 0.0; }

  private:
    double previousX_ = 0.0;
    double previousY_ = 0.0;
    double previousZ_ = 0.0;  // held while a canned cycle is active
};

}  // namespace cuttrace
