#pragma once

#include <cairo.h>

#include "platform/kit/Color.hpp"
#include "platform/kit/Geometry.hpp"
#include "platform/kit/Path.hpp"

namespace zelto::render {

// Makes `paint` the source of `cr`; the unit points of gradients refer to
// `bounds`, the painted shape's frame. Linear and radial gradients extend
// their end colours past their ends.
void setSource(cairo_t* cr, const kit::Paint& paint, const kit::Rect& bounds);

// Replaces `cr`'s current path with `path`. Returns false (and leaves the
// path empty) when a coordinate is not a finite number.
bool setPath(cairo_t* cr, const kit::Path& path);

// Whether every number of the transform is finite and it is invertible.
bool isDrawableTransform(const kit::AffineTransform& transform);

}  // namespace zelto::render
