#pragma once

#include <cairo.h>

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

// A mesh pattern that paints the gradient over `bounds` (whose unit space
// the gradient's centre refers to). The caller destroys it.
cairo_pattern_t* createAngularGradientPattern(const kit::AngularGradient& gradient, const kit::Rect& bounds);

// The colour of sorted `stops` at `location` (clamped to the first and last
// stop). Shared by all gradients.
kit::Color colorAtLocation(const std::vector<kit::GradientStop>& stops, double location);

// `stops` made drawable: finite locations clamped to 0...1, sorted stably by
// location, colour components clamped to 0...1.
std::vector<kit::GradientStop> normalizedStops(const std::vector<kit::GradientStop>& stops);

}  // namespace zelto::render
