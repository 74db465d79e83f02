#include "surfaces/ViewPresets.h"

namespace cuttrace {

std::optional<ViewPreset> ViewPresetFromNumber(int n) {
    if (n < 0 || n >= kViewPresetCount) return std::nullopt;
    return static_cast<ViewPreset>(n);
}

Point3 ViewPresetRotation(ViewPreset preset) {
    static constexpr Point3 kPresets[kViewPresetCount] = {
        {0, 0, 0}, {-90, 0, 0}, {0, -90, -90}, {-45, 32, 28}, {-60, -30, -16}};
    return kPresets[static_cast<int>(preset)];
}

}  // namespace cuttrace
