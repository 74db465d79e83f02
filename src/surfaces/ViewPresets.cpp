#include "surfaces/ViewPresets.h"

namespace cuttrace {

bool ViewPresetRotation(int n, AXIS* rotation) {
    static constexpr AXIS kPresets[kViewPresetCount] = {
        {0, 0, 0}, {-90, 0, 0}, {0, -90, -90}, {-45, 32, 28}, {-60, -30, -16}};
    if (n < 0 || n >= kViewPresetCount) return false;
    *rotation = kPresets[n];
    return true;
}

}  // namespace cuttrace
