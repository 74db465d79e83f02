// The machined stock drawn in software: the height field as a lit, shaded surface seen
// from one of the view directions, coloured by depth, by the tool that cut each cell last,
// or by where a second result differs.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "cutting/HeightField.h"

namespace cuttrace::cutting {

enum class Colouring : uint8_t { Depth, Tool, Difference };

struct PictureOptions {
    static constexpr int kMaxSide = 8192;
    int width = 800;
    int height = 600;
    int view = 3;  // view preset 0..4, as the viewer's buttons
    Colouring colouring = Colouring::Depth;
    // Difference: heights within this of each other count as the same.
    double tolerance = 1e-3;
    // A camera of its own instead of the preset view fitted to the picture: the rotation
    // (degrees about X, Y, Z), pixels per unit, and the pixel at which the origin is drawn.
    // A viewer uses it to draw the cut where its tool path is drawn.
    bool ownCamera = false;
    double turnX = 0.0, turnY = 0.0, turnZ = 0.0;
    double scale = 1.0;
    double originX = 0.0, originY = 0.0;
};

// An RGB picture, 0x00RRGGBB a pixel, rows from the top.
struct RgbPicture {
    int width = 0;
    int height = 0;
    std::vector<uint32_t> pixels;

    uint32_t At(int x, int y) const {
        return pixels[static_cast<std::size_t>(y) * static_cast<std::size_t>(width) +
                      static_cast<std::size_t>(x)];
    }
};

// The rotation of view preset n in degrees about X, Y and Z; false for another n.
bool ViewRotation(int n, double* ax, double* ay, double* az);

// Draws `field`. For Colouring::Difference, `other` is the field compared with (same grid);
// the surface drawn is `field`'s. Returns false with a message for a bad size or view.
bool DrawCut(const HeightField& field, const HeightField* other, const PictureOptions& options,
             RgbPicture* picture, std::string* error);

// The colour of tool slot s (1..255) in the colouring by tool.
uint32_t ToolSlotColour(int slot);

// Writes an 8-bit RGB PNG, compressed (PngFile.cpp). False when the file cannot be written;
// nothing is then left under the name.
bool WritePng(const RgbPicture& picture, const std::string& path);

}  // namespace cuttrace::cutting
