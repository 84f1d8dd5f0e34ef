#include "platform/render/CairoPaint.hpp"

#include <algorithm>
#include <cmath>
#include <variant>

#include "platform/render/AngularGradientMesh.hpp"
#include "platform/render/GradientRasterCache.hpp"

namespace zelto::render {

namespace {

double clampUnit(double value) { return std::isfinite(value) ? std::clamp(value, 0.0, 1.0) : 0; }

bool isFinite(kit::Point p) { return std::isfinite(p.x) && std::isfinite(p.y); }

void addStops(cairo_pattern_t* pattern, const std::vector<kit::GradientStop>& stops) {
  for (const kit::GradientStop& stop : normalizedStops(stops)) {
    const kit::Color& c = stop.color;
    cairo_pattern_add_color_stop_rgba(pattern, stop.location, c.red, c.green, c.blue, c.opacity);
  }
}

// A gradient with no stops paints nothing; one with one stop paints its
// colour; geometry that is not finite paints the first stop's colour.
bool setDegenerateSource(cairo_t* cr, const std::vector<kit::GradientStop>& stops, bool geometryIsFinite) {
  if (stops.empty()) {
    cairo_set_source_rgba(cr, 0, 0, 0, 0);
    return true;
  }
  if (stops.size() == 1 || !geometryIsFinite) {
    const kit::Color c = normalizedStops(stops).front().color;
    cairo_set_source_rgba(cr, c.red, c.green, c.blue, c.opacity);
    return true;
  }
  return false;
}

void setPatternSource(cairo_t* cr, cairo_pattern_t* pattern) {
  cairo_pattern_set_extend(pattern, CAIRO_EXTEND_PAD);
  cairo_set_source(cr, pattern);
  cairo_pattern_destroy(pattern);
}

double distanceToSegment(kit::Point p, kit::Point a, kit::Point b) {
  const double dx = b.x - a.x, dy = b.y - a.y;
  const double lengthSquared = dx * dx + dy * dy;
  const double t = lengthSquared > 0 ? std::clamp(((p.x - a.x) * dx + (p.y - a.y) * dy) / lengthSquared, 0.0, 1.0) : 0;
  return std::hypot(p.x - (a.x + t * dx), p.y - (a.y + t * dy));
}

// The ring around `center` that holds everything the current path paints:
// its flattened outline's nearest and farthest distances, widened by a
// stroke's reach; a fill that contains the centre reaches down to it.
std::optional<Annulus> paintedAnnulus(cairo_t* cr, kit::Point center, const PathPainting& painting) {
  cairo_path_t* flat = cairo_copy_path_flat(cr);
  double nearest = INFINITY, farthest = 0;
  kit::Point current{}, start{};
  bool hasPoint = false;
  for (int i = 0; flat->status == CAIRO_STATUS_SUCCESS && i < flat->num_data; i += flat->data[i].header.length) {
    const cairo_path_data_t& header = flat->data[i];
    if (header.header.type == CAIRO_PATH_CLOSE_PATH) {
      if (hasPoint) nearest = std::min(nearest, distanceToSegment(center, current, start));
      current = start;
      continue;
    }
    const kit::Point p{flat->data[i + 1].point.x, flat->data[i + 1].point.y};
    farthest = std::max(farthest, std::hypot(p.x - center.x, p.y - center.y));
    if (header.header.type == CAIRO_PATH_MOVE_TO) {
      start = p;
      nearest = std::min(nearest, std::hypot(p.x - center.x, p.y - center.y));
    } else {
      nearest = std::min(nearest, distanceToSegment(center, current, p));
    }
    current = p;
    hasPoint = true;
  }
  cairo_path_destroy(flat);
  if (!hasPoint) return std::nullopt;
  if (painting.kind == PathPainting::Kind::stroke) {
    return Annulus{std::max(0.0, nearest - painting.strokeReach), farthest + painting.strokeReach};
  }
  const bool containsCenter = cairo_in_fill(cr, center.x, center.y);
  return Annulus{containsCenter ? 0 : nearest, farthest};
}

}  // namespace

void setSource(cairo_t* cr, const kit::Paint& paint, const kit::Rect& bounds, std::optional<PathPainting> painting) {
  if (const auto* color = std::get_if<kit::Color>(&paint)) {
    cairo_set_source_rgba(cr, clampUnit(color->red), clampUnit(color->green), clampUnit(color->blue),
                          clampUnit(color->opacity));
  } else if (const auto* linear = std::get_if<kit::LinearGradient>(&paint)) {
    const kit::Point start = linear->startPoint.in(bounds), end = linear->endPoint.in(bounds);
    if (setDegenerateSource(cr, linear->stops, isFinite(start) && isFinite(end))) return;
    if (painting && setCachedGradientSource(cr, paint, bounds, painting->kind == PathPainting::Kind::stroke)) return;
    cairo_pattern_t* pattern = cairo_pattern_create_linear(start.x, start.y, end.x, end.y);
    addStops(pattern, linear->stops);
    setPatternSource(cr, pattern);
  } else if (const auto* radial = std::get_if<kit::RadialGradient>(&paint)) {
    const kit::Point center = radial->center.in(bounds);
    const double r0 = radial->startRadius, r1 = radial->endRadius;
    const bool finite = isFinite(center) && std::isfinite(r0) && std::isfinite(r1);
    if (setDegenerateSource(cr, radial->stops, finite)) return;
    if (painting && setCachedGradientSource(cr, paint, bounds, painting->kind == PathPainting::Kind::stroke)) return;
    cairo_pattern_t* pattern =
        cairo_pattern_create_radial(center.x, center.y, std::max(0.0, r0), center.x, center.y, std::max(0.0, r1));
    addStops(pattern, radial->stops);
    setPatternSource(cr, pattern);
  } else if (const auto* angular = std::get_if<kit::AngularGradient>(&paint)) {
    if (setDegenerateSource(cr, angular->stops, isFinite(angular->center.in(bounds)))) return;
    const kit::Point center = angular->center.in(bounds);
    const auto coverage = painting ? paintedAnnulus(cr, center, *painting) : std::nullopt;
    cairo_pattern_t* pattern = createAngularGradientPattern(*angular, bounds, coverage);
    cairo_set_source(cr, pattern);
    cairo_pattern_destroy(pattern);
  }
}

std::optional<kit::Rect> paintReach(const kit::Paint& paint, const kit::Rect& bounds) {
  const auto* radial = std::get_if<kit::RadialGradient>(&paint);
  if (radial == nullptr || radial->stops.empty()) return std::nullopt;
  const kit::Point center = radial->center.in(bounds);
  const double radius = std::max(radial->startRadius, radial->endRadius);
  if (!isFinite(center) || !std::isfinite(radius)) return std::nullopt;
  if (normalizedStops(radial->stops).back().color.opacity > 0) return std::nullopt;
  return kit::Rect{center.x - radius, center.y - radius, 2 * radius, 2 * radius};
}

bool setPath(cairo_t* cr, const kit::Path& path) {
  cairo_new_path(cr);
  // A path with a bad number draws nothing rather than a fragment.
  const bool finite = std::all_of(path.elements().begin(), path.elements().end(), [](const auto& element) {
    if (const auto* move = std::get_if<kit::Path::MoveTo>(&element)) return isFinite(move->to);
    if (const auto* line = std::get_if<kit::Path::LineTo>(&element)) return isFinite(line->to);
    if (const auto* curve = std::get_if<kit::Path::CurveTo>(&element)) {
      return isFinite(curve->control1) && isFinite(curve->control2) && isFinite(curve->to);
    }
    return true;
  });
  if (!finite) return false;
  for (const auto& element : path.elements()) {
    if (const auto* move = std::get_if<kit::Path::MoveTo>(&element)) {
      cairo_move_to(cr, move->to.x, move->to.y);
    } else if (const auto* line = std::get_if<kit::Path::LineTo>(&element)) {
      cairo_line_to(cr, line->to.x, line->to.y);
    } else if (const auto* curve = std::get_if<kit::Path::CurveTo>(&element)) {
      cairo_curve_to(cr, curve->control1.x, curve->control1.y, curve->control2.x, curve->control2.y, curve->to.x,
                     curve->to.y);
    } else {
      cairo_close_path(cr);
    }
  }
  return true;
}

bool isDrawableTransform(const kit::AffineTransform& t) {
  for (double v : {t.a, t.b, t.c, t.d, t.tx, t.ty}) {
    if (!std::isfinite(v)) return false;
  }
  const double determinant = t.a * t.d - t.b * t.c;
  return std::isfinite(determinant) && std::abs(determinant) > 1e-12;
}

}  // namespace zelto::render
