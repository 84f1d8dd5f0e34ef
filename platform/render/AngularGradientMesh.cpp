#include "platform/render/AngularGradientMesh.hpp"

#include <algorithm>
#include <cmath>
#include <numbers>
#include <optional>

namespace zelto::render {

namespace {

constexpr double fullTurn = 2 * std::numbers::pi;
constexpr int sectorsPerTurn = 128;

double clampUnit(double value) { return std::isfinite(value) ? std::clamp(value, 0.0, 1.0) : 0; }

kit::Color mix(const kit::Color& a, const kit::Color& b, double t) {
  return {a.red + (b.red - a.red) * t, a.green + (b.green - a.green) * t, a.blue + (b.blue - a.blue) * t,
          a.opacity + (b.opacity - a.opacity) * t};
}

// One stretch of the turn, from `from` to `to` radians, whose colour runs
// linearly from `fromColor` to `toColor`.
struct Span {
  double from;
  double to;
  kit::Color fromColor;
  kit::Color toColor;
};

struct Sweep {
  double start;
  double span;  // 0 < span <= one turn
};

// Sweep of a gradient, or nullopt for one that sweeps no angle.
std::optional<Sweep> sweepOf(const kit::AngularGradient& gradient) {
  const double start = gradient.startAngle, end = gradient.endAngle;
  if (!std::isfinite(start) || !std::isfinite(end) || end <= start) return std::nullopt;
  if (end - start > fullTurn) return Sweep{end - fullTurn, fullTurn};
  return Sweep{start, end - start};
}

// The whole turn from the sweep's start as spans: one per pair of adjacent
// stops inside the sweep, and the gap after it, half last colour, half first.
std::vector<Span> spansOf(const kit::AngularGradient& gradient, const std::vector<kit::GradientStop>& stops) {
  std::vector<Span> spans;
  const auto sweep = sweepOf(gradient);
  if (stops.empty()) return spans;
  const kit::Color first = stops.front().color, last = stops.back().color;
  if (!sweep) {
    spans.push_back({0, fullTurn, first, first});
    return spans;
  }
  const double start = sweep->start, span = sweep->span;
  auto angleAt = [&](double location) { return start + location * span; };
  if (stops.front().location > 0) spans.push_back({start, angleAt(stops.front().location), first, first});
  for (std::size_t i = 0; i + 1 < stops.size(); ++i) {
    spans.push_back({angleAt(stops[i].location), angleAt(stops[i + 1].location), stops[i].color, stops[i + 1].color});
  }
  if (stops.back().location < 1) spans.push_back({angleAt(stops.back().location), angleAt(1), last, last});
  const double end = start + span, gap = fullTurn - span;
  if (gap > 0) {
    spans.push_back({end, end + gap / 2, last, last});
    spans.push_back({end + gap / 2, start + fullTurn, first, first});
  }
  std::erase_if(spans, [](const Span& s) { return !(s.to > s.from); });
  return spans;
}

void setCornerColor(cairo_pattern_t* pattern, unsigned corner, const kit::Color& color) {
  cairo_mesh_pattern_set_corner_color_rgba(pattern, corner, color.red, color.green, color.blue, color.opacity);
}

}  // namespace

std::vector<kit::GradientStop> normalizedStops(const std::vector<kit::GradientStop>& stops) {
  std::vector<kit::GradientStop> result;
  result.reserve(stops.size());
  for (const kit::GradientStop& stop : stops) {
    const kit::Color& c = stop.color;
    result.push_back(
        {{clampUnit(c.red), clampUnit(c.green), clampUnit(c.blue), clampUnit(c.opacity)}, clampUnit(stop.location)});
  }
  std::stable_sort(result.begin(), result.end(),
                   [](const kit::GradientStop& a, const kit::GradientStop& b) { return a.location < b.location; });
  return result;
}

kit::Color colorAtLocation(const std::vector<kit::GradientStop>& stops, double location) {
  if (stops.empty()) return kit::Color::clear();
  if (!(location > stops.front().location)) return stops.front().color;
  for (std::size_t i = 0; i + 1 < stops.size(); ++i) {
    const kit::GradientStop &a = stops[i], &b = stops[i + 1];
    if (location <= b.location) {
      const double width = b.location - a.location;
      return width > 0 ? mix(a.color, b.color, (location - a.location) / width) : b.color;
    }
  }
  return stops.back().color;
}

kit::Color angularGradientColor(const kit::AngularGradient& gradient, double angle) {
  const auto stops = normalizedStops(gradient.stops);
  const auto spans = spansOf(gradient, stops);
  if (spans.empty()) return kit::Color::clear();
  const double base = spans.front().from;
  double a = std::fmod(angle - base, fullTurn);
  if (a < 0) a += fullTurn;
  a += base;
  for (const Span& span : spans) {
    if (a <= span.to) return mix(span.fromColor, span.toColor, (a - span.from) / (span.to - span.from));
  }
  return spans.back().toColor;
}

cairo_pattern_t* createAngularGradientPattern(const kit::AngularGradient& gradient, const kit::Rect& bounds,
                                              std::optional<Annulus> coverage) {
  cairo_pattern_t* pattern = cairo_pattern_create_mesh();
  const auto stops = normalizedStops(gradient.stops);
  const auto spans = spansOf(gradient, stops);
  const kit::Point center = gradient.center.in(bounds);
  if (spans.empty() || !std::isfinite(center.x) || !std::isfinite(center.y)) return pattern;
  // A pixel of margin on either side keeps antialiased edges covered.
  double inner = 0, outer = 1;
  if (coverage) {
    inner = std::max(0.0, coverage->inner - 1);
    outer = coverage->outer + 1;
  } else {
    for (const kit::Point corner :
         {kit::Point{bounds.minX(), bounds.minY()}, kit::Point{bounds.maxX(), bounds.minY()},
          kit::Point{bounds.minX(), bounds.maxY()}, kit::Point{bounds.maxX(), bounds.maxY()}}) {
      outer = std::max(outer, std::hypot(corner.x - center.x, corner.y - center.y) + 1);
    }
  }
  if (!std::isfinite(outer) || !std::isfinite(inner) || outer <= inner) return pattern;
  auto at = [&](double radius, double angle) {
    return kit::Point{center.x + radius * std::cos(angle), center.y + radius * std::sin(angle)};
  };
  for (const Span& span : spans) {
    const int sectors = std::max(1, static_cast<int>(std::ceil((span.to - span.from) / fullTurn * sectorsPerTurn)));
    const double step = (span.to - span.from) / sectors;
    // Cubic control distance, per unit of radius, for an arc of `step`.
    const double k = 4.0 / 3.0 * std::tan(step / 4);
    for (int i = 0; i < sectors; ++i) {
      const double a0 = span.from + i * step, a1 = a0 + step;
      const kit::Point outer0 = at(outer, a0), outer1 = at(outer, a1);
      // A four-corner patch bounded by the two radii and the two arcs; with
      // no inner radius the inner arc shrinks to the centre. Colour varies
      // with the angle only.
      cairo_mesh_pattern_begin_patch(pattern);
      const kit::Point inner0 = at(inner, a0), inner1 = at(inner, a1);
      cairo_mesh_pattern_move_to(pattern, inner0.x, inner0.y);
      cairo_mesh_pattern_line_to(pattern, outer0.x, outer0.y);
      cairo_mesh_pattern_curve_to(pattern, outer0.x - k * outer * std::sin(a0), outer0.y + k * outer * std::cos(a0),
                                  outer1.x + k * outer * std::sin(a1), outer1.y - k * outer * std::cos(a1), outer1.x,
                                  outer1.y);
      cairo_mesh_pattern_line_to(pattern, inner1.x, inner1.y);
      cairo_mesh_pattern_curve_to(pattern, inner1.x + k * inner * std::sin(a1), inner1.y - k * inner * std::cos(a1),
                                  inner0.x - k * inner * std::sin(a0), inner0.y + k * inner * std::cos(a0), inner0.x,
                                  inner0.y);
      const kit::Color c0 = mix(span.fromColor, span.toColor, static_cast<double>(i) / sectors);
      const kit::Color c1 = mix(span.fromColor, span.toColor, static_cast<double>(i + 1) / sectors);
      setCornerColor(pattern, 0, c0);
      setCornerColor(pattern, 1, c0);
      setCornerColor(pattern, 2, c1);
      setCornerColor(pattern, 3, c1);
      cairo_mesh_pattern_end_patch(pattern);
    }
  }
  return pattern;
}

}  // namespace zelto::render
