#pragma once

#include <cairo.h>

#include "platform/kit/Color.hpp"
#include "platform/kit/Geometry.hpp"

namespace zelto::render {

// The dither pattern repeats every this many raster pixels on both axes.
inline constexpr int ditherPeriod = 8;

// Fills the whole of `raster` (an ARGB32 image surface) with a linear or
// radial `paint`, whose unit points refer to `bounds` in user space, seen
// through `userToRaster`. Dark gradients change by one 8-bit level only every
// few dozen pixels and show bands; pixman computes the gradient in floating
// point and dithers it (ordered, 8 x 8) into the 8-bit pixels, so a level step
// becomes a fine grain. Returns false, leaving the raster as it was, for
// other paints or a matrix that cannot be inverted.
bool rasterizeDitheredGradient(cairo_surface_t* raster, const kit::Paint& paint, const kit::Rect& bounds,
                               const cairo_matrix_t& userToRaster);

}  // namespace zelto::render
