// The machined stock as a closed triangle surface, written as binary STL.
//
// The top follows the height field through the cell centres and out to the stock's edges
// (each edge vertex at the height of its nearest cell), the four sides go down to the
// bottom, and the bottom is a fan around its middle: every edge is shared by exactly two
// triangles, and the enclosed volume equals the field's cell sum up to the difference
// between the triangles and the cells over cut edges. Where a cell is cut down to the
// bottom the top keeps a film of kFilmShare of the stock's height, so that top and bottom
// never meet.
#pragma once

#include <cstdint>
#include <string>

#include "cutting/HeightField.h"

namespace cuttrace::cutting {

inline constexpr double kFilmShare = 1e-4;

// The number of triangles WriteStl writes for a field.
uint64_t StlTriangleCount(const HeightField& field);

bool WriteStl(const HeightField& field, const std::string& path, std::string* error);

}  // namespace cuttrace::cutting
