#pragma once

#include <cairo.h>

#include "platform/kit/Color.hpp"
#include "platform/kit/Geometry.hpp"

namespace zelto::render {

// Large smooth gradients (the widget's backdrop, a radial glow) cost pixman
// a few milliseconds per frame at 2x, and a widget redraws the same
// background again and again; dark ones also band in visible one-level
// steps. This cache keeps such a linear or radial gradient rasterised,
// dithered, in device pixels (evaluated once per 4 x 4 block at two or more
// pixels per unit), for the region and transform it was drawn with, and
// hands it back as an image source aligned to the device pixels, each of its
// pixels covering its whole block: the gradient within three 8-bit levels of
// drawing it directly, without bands, at the cost of a blit. Process-wide, bounded in memory, safe to use from several
// threads.
//
// Makes `cr`'s source the cached raster of `paint` (whose unit points refer
// to `bounds`) over what the current path (when `stroke` is false, its fill;
// else its stroke with the current line settings) paints within the clip.
// Returns false, changing nothing, when the gradient is small, angular, the
// target is not an image, or the transform rotates.
bool setCachedGradientSource(cairo_t* cr, const kit::Paint& paint, const kit::Rect& bounds, bool stroke);

// Drops every cached raster (tests use it to compare with direct drawing).
void clearGradientRasterCache();

}  // namespace zelto::render
