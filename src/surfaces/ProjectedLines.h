// The faster projection that Renderer3D's line drawing uses, for the test that holds it to
// Projection3D::ToPixel.
#pragma once

#include "core/Point3.h"
#include "surfaces/Projection3D.h"

namespace cuttrace {

// Projection3D::ToPixel, bit for bit, with the steps run on pairs of values.
PixelPoint FastPixel(const Projection3D& view, const Point3& p);
// The pixel bounds Renderer3D gives a box, from its centre and half extents; false for a
// value that is not finite, and when it takes each corner's pixel instead (values too large).
bool BoxPixelBounds(const Projection3D& view, const Point3& low, const Point3& high,
                    PixelPoint& least, PixelPoint& most);

}  // namespace cuttrace
