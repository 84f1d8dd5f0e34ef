#include "platform/render/SymbolGeometry.hpp"

#include <cmath>
#include <numbers>

namespace zelto::render {

namespace {

kit::Point pointOnCircle(kit::Point center, double radius, double angle) {
  return {center.x + radius * std::cos(angle), center.y + radius * std::sin(angle)};
}

kit::Point add(kit::Point a, kit::Point b) { return {a.x + b.x, a.y + b.y}; }
kit::Point scaled(kit::Point a, double s) { return {a.x * s, a.y * s}; }

// Unit normal on the left of the direction a -> b (left as seen on screen,
// y down: rotating the direction by -90 degrees).
kit::Point leftNormal(kit::Point a, kit::Point b) {
  const double dx = b.x - a.x, dy = b.y - a.y;
  const double length = std::hypot(dx, dy);
  if (length == 0) return {0, 0};
  return {dy / length, -dx / length};
}

double angleOf(kit::Point v) { return std::atan2(v.y, v.x); }

// Intersection of the lines p + t·u and q + s·v; `fallback` when parallel.
kit::Point intersection(kit::Point p, kit::Point u, kit::Point q, kit::Point v, kit::Point fallback) {
  const double denominator = u.x * v.y - u.y * v.x;
  if (std::abs(denominator) < 1e-12) return fallback;
  const double t = ((q.x - p.x) * v.y - (q.y - p.y) * v.x) / denominator;
  return {p.x + t * u.x, p.y + t * u.y};
}

}  // namespace

void appendArc(kit::Path& path, kit::Point center, double radius, double startAngle, double endAngle,
               bool startsSubpath) {
  const kit::Point start = pointOnCircle(center, radius, startAngle);
  if (startsSubpath) {
    path.moveTo(start);
  } else {
    path.lineTo(start);
  }
  const double sweep = endAngle - startAngle;
  const int pieces = std::max(1, static_cast<int>(std::ceil(std::abs(sweep) / (std::numbers::pi / 2) - 1e-9)));
  const double step = sweep / pieces;
  // Control points of a cubic that follows a circular arc of `step`.
  const double k = 4.0 / 3.0 * std::tan(step / 4);
  for (int i = 0; i < pieces; ++i) {
    const double a0 = startAngle + i * step, a1 = a0 + step;
    const kit::Point p0 = pointOnCircle(center, radius, a0), p3 = pointOnCircle(center, radius, a1);
    const kit::Point c1 = {p0.x - k * radius * std::sin(a0), p0.y + k * radius * std::cos(a0)};
    const kit::Point c2 = {p3.x + k * radius * std::sin(a1), p3.y - k * radius * std::cos(a1)};
    path.curveTo(c1, c2, p3);
  }
}

void appendCircle(kit::Path& path, kit::Point center, double radius) {
  appendArc(path, center, radius, 0, 2 * std::numbers::pi, true);
  path.close();
}

void appendRoundStrokeOutline(kit::Path& path, const std::vector<kit::Point>& points, double halfWidth) {
  if (points.empty()) return;
  if (points.size() == 1) {
    appendCircle(path, points.front(), halfWidth);
    return;
  }
  // The outline walks down the left side, round the end cap, back up the
  // right side and round the start cap. At each inner vertex the side on the
  // outside of the turn gets a round join; the inside meets at the corner of
  // the two offset edges.
  const std::size_t n = points.size();

  auto walk = [&](const std::vector<kit::Point>& pts, bool first) {
    const std::size_t count = pts.size();
    for (std::size_t i = 0; i + 1 < count; ++i) {
      const kit::Point normal = scaled(leftNormal(pts[i], pts[i + 1]), halfWidth);
      const kit::Point from = add(pts[i], normal), to = add(pts[i + 1], normal);
      if (i == 0) {
        if (first) {
          path.moveTo(from);
        } else {
          path.lineTo(from);
        }
      }
      if (i + 2 < count) {
        const kit::Point nextNormal = scaled(leftNormal(pts[i + 1], pts[i + 2]), halfWidth);
        const kit::Point u = {pts[i + 1].x - pts[i].x, pts[i + 1].y - pts[i].y};
        const kit::Point v = {pts[i + 2].x - pts[i + 1].x, pts[i + 2].y - pts[i + 1].y};
        // Cross product > 0: the path turns clockwise on screen, so the left
        // side is the outside of the turn.
        const double cross = u.x * v.y - u.y * v.x;
        if (cross > 0) {
          path.lineTo(to);
          double a0 = angleOf(normal), a1 = angleOf(nextNormal);
          while (a1 < a0) a1 += 2 * std::numbers::pi;
          appendArc(path, pts[i + 1], halfWidth, a0, a1);
        } else {
          const kit::Point nextFrom = add(pts[i + 1], nextNormal);
          path.lineTo(intersection(from, u, nextFrom, v, to));
        }
      } else {
        path.lineTo(to);
      }
    }
  };

  walk(points, true);
  // End cap: a half turn round the last point, clockwise on screen.
  {
    const kit::Point normal = leftNormal(points[n - 2], points[n - 1]);
    const double a0 = angleOf(normal);
    appendArc(path, points[n - 1], halfWidth, a0, a0 + std::numbers::pi);
  }
  std::vector<kit::Point> reversed(points.rbegin(), points.rend());
  walk(reversed, false);
  {
    const kit::Point normal = leftNormal(reversed[n - 2], reversed[n - 1]);
    const double a0 = angleOf(normal);
    appendArc(path, points[0], halfWidth, a0, a0 + std::numbers::pi);
  }
  path.close();
}

void appendRoundedPolygon(kit::Path& path, const std::vector<kit::Point>& centers, double radius) {
  const std::size_t n = centers.size();
  if (n < 3) return;
  for (std::size_t i = 0; i < n; ++i) {
    const kit::Point previous = centers[(i + n - 1) % n], current = centers[i], next = centers[(i + 1) % n];
    // Clockwise on screen, the outside of each edge is on its left.
    double a0 = angleOf(leftNormal(previous, current));
    double a1 = angleOf(leftNormal(current, next));
    while (a1 < a0) a1 += 2 * std::numbers::pi;
    appendArc(path, current, radius, a0, a1, i == 0);
  }
  path.close();
}

}  // namespace zelto::render
