#pragma once

#include <cairo.h>

#include <optional>

#include "platform/kit/Color.hpp"
#include "platform/kit/Geometry.hpp"
#include "platform/kit/Path.hpp"

namespace zelto::render {

// What the current path of a context will be painted as.
struct PathPainting {
  enum class Kind { fill, stroke } kind = Kind::fill;
  double strokeReach = 0;  // how far a stroke reaches beyond its path
};

// Makes `paint` the source of `cr`; the unit points of gradients refer to
// `bounds`, the painted shape's frame. Linear and radial gradients extend
// their end colours past their ends. With `painting`, `cr`'s current path
// (and fill rule) is what will be painted, which lets an angular gradient
// cover only the ring around its centre that the path reaches.
void setSource(cairo_t* cr, const kit::Paint& paint, const kit::Rect& bounds,
               std::optional<PathPainting> painting = std::nullopt);

// Where `paint` can leave a mark when it fills a shape with `bounds`, when
// that is less than everywhere: a radial gradient that ends in a clear
// colour paints nothing past its end circle. Drawing may be clipped to it.
std::optional<kit::Rect> paintReach(const kit::Paint& paint, const kit::Rect& bounds);

// Replaces `cr`'s current path with `path`. Returns false (and leaves the
// path empty) when a coordinate is not a finite number.
bool setPath(cairo_t* cr, const kit::Path& path);

// Whether every number of the transform is finite and it is invertible.
bool isDrawableTransform(const kit::AffineTransform& transform);

}  // namespace zelto::render
