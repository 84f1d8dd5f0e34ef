#pragma once

#include <cairo.h>

#include "platform/kit/Color.hpp"
#include "platform/kit/Geometry.hpp"

namespace zelto::render {

// Large smooth gradients (a diagonal linear gradient, a radial glow) cost
// pixman a few milliseconds per frame at 2x, and a widget redraws the same
// background again and again. This cache keeps such a gradient rasterised
// in device pixels, for the region and transform it was drawn with, and
// hands it back as a pixel-aligned image source: the same pixels as drawing
// the gradient directly, at the cost of a blit. Process-wide, bounded in
// memory, safe to use from several threads.
//
// Makes `cr`'s source the cached raster of `paint` (whose unit points refer
// to `bounds`) over what the current path (when `stroke` is false, its fill;
// else its stroke with the current line settings) paints within the clip.
// Returns false, changing nothing, when the gradient is small, axis-aligned
// in device space (pixman draws those fast), or the transform rotates.
bool setCachedGradientSource(cairo_t* cr, const kit::Paint& paint, const kit::Rect& bounds, bool stroke);

// Drops every cached raster (tests use it to compare with direct drawing).
void clearGradientRasterCache();

}  // namespace zelto::render
