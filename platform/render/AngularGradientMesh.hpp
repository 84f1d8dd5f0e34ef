#pragma once

#include <cairo.h>

#include <optional>
#include <vector>

#include "platform/kit/Color.hpp"
#include "platform/kit/Geometry.hpp"

namespace zelto::render {

// Cairo has no conic pattern. An angular gradient is built from a mesh of
// narrow sectors around its centre, each coloured by its two edge angles;
// 128 sectors per turn leave no visible seams at 3x.

// The gradient's colour at `angle` (radians from +x, clockwise on screen).
// Over the sweep from the start to the end angle the stops are interpolated;
// when the sweep is shorter than a turn, the first half of the gap keeps the
// last stop's colour and the second half the first stop's. When it is
// longer, only the last turn is drawn.
kit::Color angularGradientColor(const kit::AngularGradient& gradient, double angle);

// The ring around a gradient's centre that holds everything painted.
struct Annulus {
  double inner = 0;
  double outer = 0;
};

// A mesh pattern that paints the gradient, whose centre is a unit point of
// `bounds`. Its sectors span `coverage` when given (the mesh costs in
// proportion to its area, so a ring's gradient is best built as a ring),
// else they reach from the centre past the bounds' farthest corner. The
// caller destroys the pattern.
cairo_pattern_t* createAngularGradientPattern(const kit::AngularGradient& gradient, const kit::Rect& bounds,
                                              std::optional<Annulus> coverage = std::nullopt);

// The colour of sorted `stops` at `location` (clamped to the first and last
// stop). Shared by all gradients.
kit::Color colorAtLocation(const std::vector<kit::GradientStop>& stops, double location);

// `stops` made drawable: finite locations clamped to 0...1, sorted stably by
// location, colour components clamped to 0...1.
std::vector<kit::GradientStop> normalizedStops(const std::vector<kit::GradientStop>& stops);

}  // namespace zelto::render
