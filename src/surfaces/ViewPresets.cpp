#include "surfaces/ViewPresets.h"

namespace cuttrace {

bool ViewPresetRotation(int n, Point3* rotation) {
    static constexpr Point3 kPresets[kViewPresetCount] = {
        {0, 0, 0}, {-90, 0, 0}, {0, -90, -90}, {-45, 32, 28}, {-60, -30, -16}};
    if (n < 0 || n >= kViewPresetCount) return false;
    *rotation = kPresets[n];
    return true;
}

}  // namespace cuttrace
