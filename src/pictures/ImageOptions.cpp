#include "pictures/ImageOptions.h"

#include <cmath>

#include "machines/NumberText.h"
#include "surfaces/Projection3D.h"

namespace cuttrace {

namespace {

constexpr int kMaxDigits = 9;

// A whole number written with decimal digits only.
bool ParseWhole(std::string_view text, int* value) {
    if (text.empty() || text.size() > static_cast<size_t>(kMaxDigits)) return false;
    for (char c : text) {
        if (c < '0' || c > '9') return false;
    }
    *value = ParseInt(text);
    return true;
}

}  // namespace

bool ParseImageSize(std::string_view text, ImageOptions* options, std::string* error) {
    const size_t x = text.find_first_of("xX");
    int width = 0, height = 0;
    if (x == std::string_view::npos || !ParseWhole(text.substr(0, x), &width) ||
        !ParseWhole(text.substr(x + 1), &height) || width < 1 || height < 1 ||
        width > ImageOptions::kMaxSide || height > ImageOptions::kMaxSide) {
        *error = "bad --size '" + std::string(text) + "' (WIDTHxHEIGHT, each 1 to " +
                 std::to_string(ImageOptions::kMaxSide) + ")";
        return false;
    }
    options->width = width;
    options->height = height;
    return true;
}

bool ParseImageView(std::string_view text, ImageOptions* options, std::string* error) {
    int view = -1;
    const std::optional<ViewPreset> preset =
        ParseWhole(text, &view) ? ViewPresetFromNumber(view) : std::nullopt;
    if (!preset) {
        *error = "bad --view '" + std::string(text) + "' (0 to " +
                 std::to_string(kViewPresetCount - 1) + ")";
        return false;
    }
    options->view = *preset;
    return true;
}

bool ParseImageScale(std::string_view text, ImageOptions* options, std::string* error) {
    size_t used = 0;
    const double scale = ParseDouble(text, &used);
    if (text.empty() || used != text.size() || !(scale >= Projection3D::kMinZoomScale) ||
        !(scale <= Projection3D::kMaxBandScale)) {
        *error = "bad --scale '" + std::string(text) + "' (pixels per unit, 0.0001 to 100000)";
        return false;
    }
    options->hasScale = true;
    options->scale = scale;
    return true;
}

bool CheckImageOptions(const ImageOptions& options, std::string* error) {
    if (options.width < 1 || options.height < 1 || options.width > ImageOptions::kMaxSide ||
        options.height > ImageOptions::kMaxSide ||
        !ViewPresetFromNumber(static_cast<int>(options.view)) ||
        (options.hasScale && !(options.scale > 0.0 && std::isfinite(options.scale)))) {
        *error = "picture options out of range";
        return false;
    }
    return true;
}

}  // namespace cuttrace
