// The picture options of the command line: size, view preset and scale.
#pragma once

#include <string>
#include <string_view>

#include "surfaces/ViewPresets.h"

namespace cuttrace {

struct ImageOptions {
    static constexpr int kDefaultWidth = 800;
    static constexpr int kDefaultHeight = 600;
    static constexpr int kMaxSide = 8192;

    int width = kDefaultWidth;
    int height = kDefaultHeight;
    ViewPreset view = ViewPreset::Top;
    bool hasScale = false;
    double scale = 1.0;  // pixels per program unit, when hasScale
};

// Option values as the command line gives them. Each returns false, with a message in
// *error, for text that is not a valid value.
bool ParseImageSize(std::string_view text, ImageOptions* options, std::string* error);
bool ParseImageView(std::string_view text, ImageOptions* options, std::string* error);
bool ParseImageScale(std::string_view text, ImageOptions* options, std::string* error);
// False, with a message in *error, for options out of range.
bool CheckImageOptions(const ImageOptions& options, std::string* error);

}  // namespace cuttrace
