// The five view directions a view can be turned to with one button, and that the
// command-line picture uses: rotations in degrees about X, Y and Z.
#pragma once

#include "core/Point3.h"

namespace cuttrace {

inline constexpr int kViewPresetCount = 5;
inline constexpr int kViewTop = 0;      // from above: X right, Y up
inline constexpr int kViewSide = 1;     // from the front: X right, Z up
inline constexpr int kViewTurned = 2;   // from the side: Y right, Z up
inline constexpr int kViewOblique = 3;  // from above at an angle
inline constexpr int kViewOdd = 4;      // another oblique direction

// The rotation of preset n; false (and *rotation unchanged) for any other n.
bool ViewPresetRotation(int n, Point3* rotation);

}  // namespace cuttrace
