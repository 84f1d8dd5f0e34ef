#include "platform/render/Symbols.hpp"

#include <cmath>

#include "platform/render/SymbolGeometry.hpp"

namespace zelto::render {

namespace {

using kit::Point;

// Designs are in em (fractions of the point size). Boxes include the
// strokes, so a heavier weight makes a symbol slightly larger, as the
// platform's symbols do.
constexpr double chevronWidth = 0.32;       // skeleton, tip to back
constexpr double chevronHalfHeight = 0.35;  // skeleton, tip to either end
constexpr double ecgWidth = 1.08;
constexpr double ecgHeight = 0.74;
constexpr double terminalWidth = 1.22;
constexpr double terminalHeight = 0.98;
constexpr double terminalRadius = 0.22;
constexpr double triangleWidth = 1.12;
constexpr double triangleHeight = 1.0;
constexpr double triangleRadius = 0.17;  // outer corner radius

enum class Symbol { chevronLeft, chevronRight, waveformPathEcg, terminalFill, triangle, triangleFill };

std::optional<Symbol> symbolNamed(std::string_view name) {
  if (name == "chevron.left") return Symbol::chevronLeft;
  if (name == "chevron.right") return Symbol::chevronRight;
  if (name == "waveform.path.ecg") return Symbol::waveformPathEcg;
  if (name == "terminal.fill") return Symbol::terminalFill;
  if (name == "exclamationmark.triangle") return Symbol::triangle;
  if (name == "exclamationmark.triangle.fill") return Symbol::triangleFill;
  return std::nullopt;
}

double strokeEm(kit::FontWeight weight) {
  switch (weight) {
    case kit::FontWeight::ultraLight:
      return 0.045;
    case kit::FontWeight::thin:
      return 0.055;
    case kit::FontWeight::light:
      return 0.075;
    case kit::FontWeight::regular:
      return 0.09;
    case kit::FontWeight::medium:
      return 0.10;
    case kit::FontWeight::semibold:
      return 0.115;
    case kit::FontWeight::bold:
      return 0.13;
    case kit::FontWeight::heavy:
      return 0.15;
    case kit::FontWeight::black:
      return 0.17;
  }
  return 0.09;
}

// Box of a symbol in em.
kit::Size boxEm(Symbol symbol, double stroke) {
  switch (symbol) {
    case Symbol::chevronLeft:
    case Symbol::chevronRight:
      return {chevronWidth + stroke, 2 * chevronHalfHeight + stroke};
    case Symbol::waveformPathEcg:
      return {ecgWidth + stroke, ecgHeight + stroke};
    case Symbol::terminalFill:
      return {terminalWidth, terminalHeight};
    case Symbol::triangle:
    case Symbol::triangleFill:
      return {triangleWidth, triangleHeight};
  }
  return {};
}

SymbolPart strokePart(kit::Path path, double width) { return {std::move(path), SymbolPart::Kind::stroke, width}; }
SymbolPart fillPart(kit::Path path) { return {std::move(path), SymbolPart::Kind::fill, 0}; }

kit::Path polyline(const std::vector<Point>& points) {
  kit::Path path;
  for (std::size_t i = 0; i < points.size(); ++i) {
    if (i == 0) {
      path.moveTo(points[i]);
    } else {
      path.lineTo(points[i]);
    }
  }
  return path;
}

std::vector<Point> chevronPoints(bool pointsRight, double stroke) {
  const double inset = stroke / 2;
  const double back = pointsRight ? inset : inset + chevronWidth;
  const double tip = pointsRight ? inset + chevronWidth : inset;
  return {{back, inset}, {tip, inset + chevronHalfHeight}, {back, inset + 2 * chevronHalfHeight}};
}

// An ECG trace: flat, a sharp rise, a deep fall, back to the line, a small
// rounded bump, flat again.
kit::Path ecgPath(double stroke) {
  const double inset = stroke / 2;
  auto at = [&](double fx, double fy) { return Point{inset + fx * ecgWidth, inset + fy * ecgHeight}; };
  kit::Path path;
  path.moveTo(at(0, 0.56));
  path.lineTo(at(0.2, 0.56));
  path.lineTo(at(0.34, 0));
  path.lineTo(at(0.5, 1));
  path.lineTo(at(0.62, 0.56));
  path.lineTo(at(0.68, 0.56));
  path.curveTo(at(0.71, 0.3), at(0.82, 0.3), at(0.85, 0.56));
  path.lineTo(at(1, 0.56));
  return path;
}

// The exclamation mark inside the triangle: a bar with round ends and a dot.
void appendExclamationMark(kit::Path& path, double stroke) {
  const double x = triangleWidth / 2;
  const double barHalfWidth = 0.62 * stroke;
  appendRoundStrokeOutline(path, {{x, 0.40 * triangleHeight}, {x, 0.62 * triangleHeight}}, barHalfWidth);
  appendCircle(path, {x, 0.78 * triangleHeight}, 0.7 * stroke);
}

// Vertex centres of the rounded triangle whose outer edge touches the box.
std::vector<Point> triangleCenters() {
  const double r = triangleRadius;
  return {{triangleWidth / 2, r}, {triangleWidth - r, triangleHeight - r}, {r, triangleHeight - r}};
}

SymbolShape shapeInEm(Symbol symbol, double stroke) {
  SymbolShape shape;
  shape.size = boxEm(symbol, stroke);
  switch (symbol) {
    case Symbol::chevronLeft:
    case Symbol::chevronRight:
      shape.parts.push_back(strokePart(polyline(chevronPoints(symbol == Symbol::chevronRight, stroke)), stroke));
      break;
    case Symbol::waveformPathEcg:
      shape.parts.push_back(strokePart(ecgPath(stroke), stroke));
      break;
    case Symbol::terminalFill: {
      // A filled rounded window with a prompt chevron and a cursor bar cut
      // out, so whatever is behind shows through.
      const double r = terminalRadius, w = terminalWidth, h = terminalHeight;
      kit::Path path;
      appendRoundedPolygon(path, {{r, r}, {w - r, r}, {w - r, h - r}, {r, h - r}}, r);
      const double half = stroke / 2;
      appendRoundStrokeOutline(path, {{0.25 * w, 0.28 * h}, {0.41 * w, 0.46 * h}, {0.25 * w, 0.64 * h}}, half);
      appendRoundStrokeOutline(path, {{0.52 * w, 0.64 * h}, {0.76 * w, 0.64 * h}}, half);
      shape.parts.push_back(fillPart(std::move(path)));
      break;
    }
    case Symbol::triangle: {
      kit::Path outline;
      appendRoundedPolygon(outline, triangleCenters(), triangleRadius - stroke / 2);
      shape.parts.push_back(strokePart(std::move(outline), stroke));
      kit::Path mark;
      appendExclamationMark(mark, stroke);
      shape.parts.push_back(fillPart(std::move(mark)));
      break;
    }
    case Symbol::triangleFill: {
      kit::Path path;
      appendRoundedPolygon(path, triangleCenters(), triangleRadius);
      appendExclamationMark(path, stroke);
      shape.parts.push_back(fillPart(std::move(path)));
      break;
    }
  }
  return shape;
}

Point scaledPoint(Point p, double s) { return {p.x * s, p.y * s}; }

kit::Path scaledPath(const kit::Path& path, double s) {
  kit::Path result;
  for (const auto& element : path.elements()) {
    if (const auto* move = std::get_if<kit::Path::MoveTo>(&element)) {
      result.moveTo(scaledPoint(move->to, s));
    } else if (const auto* line = std::get_if<kit::Path::LineTo>(&element)) {
      result.lineTo(scaledPoint(line->to, s));
    } else if (const auto* curve = std::get_if<kit::Path::CurveTo>(&element)) {
      result.curveTo(scaledPoint(curve->control1, s), scaledPoint(curve->control2, s), scaledPoint(curve->to, s));
    } else {
      result.close();
    }
  }
  return result;
}

bool isUsableSize(double pointSize) { return std::isfinite(pointSize) && pointSize > 0; }

}  // namespace

bool isKnownSymbol(std::string_view name) { return symbolNamed(name).has_value(); }

double symbolStrokeWidth(double pointSize, kit::FontWeight weight) { return strokeEm(weight) * pointSize; }

std::optional<kit::Size> symbolSize(std::string_view name, double pointSize, kit::FontWeight weight) {
  const auto symbol = symbolNamed(name);
  if (!symbol) return std::nullopt;
  if (!isUsableSize(pointSize)) return kit::Size{};
  const kit::Size em = boxEm(*symbol, strokeEm(weight));
  return kit::Size{em.width * pointSize, em.height * pointSize};
}

std::optional<SymbolShape> symbolShape(std::string_view name, double pointSize, kit::FontWeight weight) {
  const auto symbol = symbolNamed(name);
  if (!symbol || !isUsableSize(pointSize)) return std::nullopt;
  SymbolShape em = shapeInEm(*symbol, strokeEm(weight));
  SymbolShape shape;
  shape.size = {em.size.width * pointSize, em.size.height * pointSize};
  for (const SymbolPart& part : em.parts) {
    shape.parts.push_back({scaledPath(part.path, pointSize), part.kind, part.lineWidth * pointSize});
  }
  return shape;
}

}  // namespace zelto::render
