#include "platform/kit/Path.hpp"

#include <array>
#include <cmath>
#include <limits>
#include <numbers>

namespace zelto::kit {
namespace {

// Control-point factor of a cubic Bézier quarter circle.
constexpr double quarterCircleKappa = 0.5522847498307936;

// The continuous corner, per unit of radius: the curve starts this far from
// the vertex instead of one radius.
constexpr double cornerStart = 1.52866;

// One corner's geometry as (along the incoming edge back from the vertex,
// towards the outgoing edge) pairs, from the corner's start up to the middle
// piece; the second half is the same mirrored about the corner's diagonal.
struct CornerPoint {
  double back;
  double out;
};
constexpr CornerPoint firstCurveControl1{1.08849, 0};
constexpr CornerPoint firstCurveControl2{0.86841, 0};
constexpr CornerPoint firstCurveEnd{0.66993, 0.06550};
constexpr CornerPoint middleCurveStart{0.63149, 0.07491};
constexpr CornerPoint middleCurveControl1{0.37282, 0.16906};
constexpr CornerPoint middleCurveControl2{0.16906, 0.37282};

constexpr CornerPoint mirrored(CornerPoint p) { return {p.out, p.back}; }

// A corner of the outline walked clockwise on screen: its vertex, the unit
// vector pointing back along the incoming edge, and the one along the outgoing
// edge.
struct Corner {
  Point vertex;
  Point back;
  Point out;

  Point at(CornerPoint p, double radius) const {
    return {vertex.x + (back.x * p.back + out.x * p.out) * radius,
            vertex.y + (back.y * p.back + out.y * p.out) * radius};
  }
};

// Corners in clockwise order on screen (y points down), starting top-right.
std::array<Corner, 4> cornersOf(const Rect& r) {
  return {{
      {{r.maxX(), r.minY()}, {-1, 0}, {0, 1}},
      {{r.maxX(), r.maxY()}, {0, -1}, {-1, 0}},
      {{r.minX(), r.maxY()}, {1, 0}, {0, -1}},
      {{r.minX(), r.minY()}, {0, 1}, {1, 0}},
  }};
}

bool isUsable(const Rect& r) {
  return std::isfinite(r.x) && std::isfinite(r.y) && std::isfinite(r.width) && std::isfinite(r.height) &&
         r.width >= 0 && r.height >= 0;
}

// Appends the arc of `center` and `radius` from `startAngle` to `endAngle`
// (radians, clockwise on screen) as cubic pieces of at most a quarter turn.
void appendArc(Path& path, Point center, double radius, double startAngle, double endAngle) {
  const double sweep = endAngle - startAngle;
  const int pieces = std::max(1, static_cast<int>(std::ceil(sweep / (std::numbers::pi / 2) - 1e-9)));
  const double step = sweep / pieces;
  const double k = 4.0 / 3.0 * std::tan(step / 4);
  for (int i = 0; i < pieces; ++i) {
    const double a0 = startAngle + step * i;
    const double a1 = a0 + step;
    const Point p0{center.x + radius * std::cos(a0), center.y + radius * std::sin(a0)};
    const Point p1{center.x + radius * std::cos(a1), center.y + radius * std::sin(a1)};
    path.curveTo({p0.x - k * radius * std::sin(a0), p0.y + k * radius * std::cos(a0)},
                 {p1.x + k * radius * std::sin(a1), p1.y - k * radius * std::cos(a1)}, p1);
  }
}

// Quarter circle from `corner`'s incoming edge to its outgoing edge.
void appendCircularCorner(Path& path, const Corner& corner, double radius) {
  path.lineTo(corner.at({1, 0}, radius));
  path.curveTo(corner.at({1 - quarterCircleKappa, 0}, radius), corner.at({0, 1 - quarterCircleKappa}, radius),
               corner.at({0, 1}, radius));
}

void appendContinuousCorner(Path& path, const Corner& corner, double radius) {
  path.lineTo(corner.at({cornerStart, 0}, radius));
  path.curveTo(corner.at(firstCurveControl1, radius), corner.at(firstCurveControl2, radius),
               corner.at(firstCurveEnd, radius));
  path.lineTo(corner.at(middleCurveStart, radius));
  path.curveTo(corner.at(middleCurveControl1, radius), corner.at(middleCurveControl2, radius),
               corner.at(mirrored(middleCurveStart), radius));
  path.lineTo(corner.at(mirrored(firstCurveEnd), radius));
  path.curveTo(corner.at(mirrored(firstCurveControl2), radius), corner.at(mirrored(firstCurveControl1), radius),
               corner.at({0, cornerStart}, radius));
}

}  // namespace

Path Path::transformed(const AffineTransform& t) const {
  Path result;
  result.elements_.reserve(elements_.size());
  for (const Element& element : elements_) {
    if (const auto* move = std::get_if<MoveTo>(&element)) {
      result.moveTo(t.apply(move->to));
    } else if (const auto* line = std::get_if<LineTo>(&element)) {
      result.lineTo(t.apply(line->to));
    } else if (const auto* curve = std::get_if<CurveTo>(&element)) {
      result.curveTo(t.apply(curve->control1), t.apply(curve->control2), t.apply(curve->to));
    } else {
      result.close();
    }
  }
  return result;
}

Rect Path::controlBounds() const {
  double minX = std::numeric_limits<double>::infinity(), minY = minX;
  double maxX = -minX, maxY = -minX;
  const auto include = [&](Point p) {
    minX = std::min(minX, p.x);
    minY = std::min(minY, p.y);
    maxX = std::max(maxX, p.x);
    maxY = std::max(maxY, p.y);
  };
  for (const Element& element : elements_) {
    if (const auto* move = std::get_if<MoveTo>(&element)) {
      include(move->to);
    } else if (const auto* line = std::get_if<LineTo>(&element)) {
      include(line->to);
    } else if (const auto* curve = std::get_if<CurveTo>(&element)) {
      include(curve->control1);
      include(curve->control2);
      include(curve->to);
    }
  }
  if (minX > maxX) return {};
  return {minX, minY, maxX - minX, maxY - minY};
}

Path Path::rectangle(const Rect& r) {
  Path path;
  if (!isUsable(r)) return path;
  path.moveTo({r.minX(), r.minY()});
  path.lineTo({r.maxX(), r.minY()});
  path.lineTo({r.maxX(), r.maxY()});
  path.lineTo({r.minX(), r.maxY()});
  path.close();
  return path;
}

Path Path::continuousRoundedRectangle(const Rect& r, double radius) {
  if (!isUsable(r)) return {};
  if (!(radius > 0)) return rectangle(r);
  const double halfShorterSide = std::min(r.width, r.height) / 2;
  if (radius >= halfShorterSide) return capsule(r);
  // The smooth curve needs 1.52866 radii of straight edge on each side of a
  // vertex; where the side is too short the radius shrinks to fit.
  const double effectiveRadius = std::min(radius, halfShorterSide / cornerStart);
  const auto corners = cornersOf(r);
  Path path;
  path.moveTo(corners[3].at({0, cornerStart}, effectiveRadius));
  for (const Corner& corner : corners) appendContinuousCorner(path, corner, effectiveRadius);
  path.close();
  return path;
}

Path Path::circularRoundedRectangle(const Rect& r, double radius) {
  if (!isUsable(r)) return {};
  if (!(radius > 0)) return rectangle(r);
  const double effectiveRadius = std::min(radius, std::min(r.width, r.height) / 2);
  const auto corners = cornersOf(r);
  Path path;
  path.moveTo(corners[3].at({0, 1}, effectiveRadius));
  for (const Corner& corner : corners) appendCircularCorner(path, corner, effectiveRadius);
  path.close();
  return path;
}

Path Path::capsule(const Rect& r) {
  if (!isUsable(r)) return {};
  // True semicircles: circular corners whose radius is half the shorter side.
  return circularRoundedRectangle(r, std::min(r.width, r.height) / 2);
}

Path Path::circle(const Rect& r) {
  if (!isUsable(r)) return {};
  const double radius = std::min(r.width, r.height) / 2;
  const Point center{r.midX(), r.midY()};
  Path path;
  path.moveTo({center.x + radius, center.y});
  appendArc(path, center, radius, 0, 2 * std::numbers::pi);
  path.close();
  return path;
}

Path Path::circleArc(const Rect& r, double from, double to) {
  if (!isUsable(r) || !std::isfinite(from) || !std::isfinite(to)) return {};
  from = std::clamp(from, 0.0, 1.0);
  to = std::clamp(to, 0.0, 1.0);
  if (to <= from) return {};
  const double radius = std::min(r.width, r.height) / 2;
  const Point center{r.midX(), r.midY()};
  const double startAngle = 2 * std::numbers::pi * from;
  Path path;
  path.moveTo({center.x + radius * std::cos(startAngle), center.y + radius * std::sin(startAngle)});
  appendArc(path, center, radius, startAngle, 2 * std::numbers::pi * to);
  return path;
}

}  // namespace zelto::kit
