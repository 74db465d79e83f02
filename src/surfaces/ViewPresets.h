// The five view directions a view can be turned to with one button, and that the
// command-line picture uses: rotations in degrees about X, Y and Z.
#pragma once

#include <optional>

#include "core/Point3.h"

namespace cuttrace {

enum class ViewPreset {
    Top,       // from above: X right, Y up
    Front,     // from the front: X right, Z up
    Side,      // from the side: Y right, Z up
    Oblique,   // from above at an angle
    Oblique2,  // another oblique direction
};
inline constexpr int kViewPresetCount = 5;

// The preset numbered n (0 to 4, as the buttons and the command line count them); nothing
// for any other n.
std::optional<ViewPreset> ViewPresetFromNumber(int n);
Point3 ViewPresetRotation(ViewPreset preset);

}  // namespace cuttrace
