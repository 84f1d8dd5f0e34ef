#include "platform/render/CairoPaint.hpp"

#include <algorithm>
#include <cmath>
#include <variant>

#include "platform/render/AngularGradientMesh.hpp"

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

}  // namespace

void setSource(cairo_t* cr, const kit::Paint& paint, const kit::Rect& bounds) {
  if (const auto* color = std::get_if<kit::Color>(&paint)) {
    cairo_set_source_rgba(cr, clampUnit(color->red), clampUnit(color->green), clampUnit(color->blue),
                          clampUnit(color->opacity));
  } else if (const auto* linear = std::get_if<kit::LinearGradient>(&paint)) {
    const kit::Point start = linear->startPoint.in(bounds), end = linear->endPoint.in(bounds);
    if (setDegenerateSource(cr, linear->stops, isFinite(start) && isFinite(end))) return;
    cairo_pattern_t* pattern = cairo_pattern_create_linear(start.x, start.y, end.x, end.y);
    addStops(pattern, linear->stops);
    setPatternSource(cr, pattern);
  } else if (const auto* radial = std::get_if<kit::RadialGradient>(&paint)) {
    const kit::Point center = radial->center.in(bounds);
    const double r0 = radial->startRadius, r1 = radial->endRadius;
    const bool finite = isFinite(center) && std::isfinite(r0) && std::isfinite(r1);
    if (setDegenerateSource(cr, radial->stops, finite)) return;
    cairo_pattern_t* pattern =
        cairo_pattern_create_radial(center.x, center.y, std::max(0.0, r0), center.x, center.y, std::max(0.0, r1));
    addStops(pattern, radial->stops);
    setPatternSource(cr, pattern);
  } else if (const auto* angular = std::get_if<kit::AngularGradient>(&paint)) {
    if (setDegenerateSource(cr, angular->stops, isFinite(angular->center.in(bounds)))) return;
    cairo_pattern_t* pattern = createAngularGradientPattern(*angular, bounds);
    cairo_set_source(cr, pattern);
    cairo_pattern_destroy(pattern);
  }
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
