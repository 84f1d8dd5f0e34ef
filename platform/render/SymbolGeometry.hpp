#pragma once

#include <vector>

#include "platform/kit/Geometry.hpp"
#include "platform/kit/Path.hpp"

namespace zelto::render {

// Outline builders for the symbols' own vector drawings. Each appends
// closed or open subpaths to a kit::Path in the symbol's local points.

// A circular arc around `center` from `startAngle` to `endAngle` (radians,
// clockwise on screen when end > start), as cubic Béziers of at most a
// quarter turn each. Continues the current subpath with a line to the arc's
// start unless `startsSubpath`, which moves there instead.
void appendArc(kit::Path& path, kit::Point center, double radius, double startAngle, double endAngle,
               bool startsSubpath = false);

// A closed circle.
void appendCircle(kit::Path& path, kit::Point center, double radius);

// The closed outline of `points` stroked with round caps and round joins at
// width 2 × halfWidth, for polylines whose segments are longer than the
// width and turn by less than a half turn (chevrons, bars).
void appendRoundStrokeOutline(kit::Path& path, const std::vector<kit::Point>& points, double halfWidth);

// The closed outline of the convex polygon `centers` (clockwise on screen)
// grown by `radius`: straight edges joined by circular arcs around each
// vertex. Rounded triangles and rectangles.
void appendRoundedPolygon(kit::Path& path, const std::vector<kit::Point>& centers, double radius);

}  // namespace zelto::render
