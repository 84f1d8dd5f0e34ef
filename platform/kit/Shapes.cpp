#include "platform/kit/Shapes.hpp"

#include <cmath>

#include "platform/kit/ViewNode.hpp"

namespace zelto::kit {

Path shapePath(const ShapeGeometry& geometry, const Rect& frame) {
  switch (geometry.kind) {
    case ShapeKind::rectangle:
      return Path::rectangle(frame);
    case ShapeKind::roundedRectangle:
      return geometry.cornerStyle == RoundedCornerStyle::continuous
                 ? Path::continuousRoundedRectangle(frame, geometry.cornerRadius)
                 : Path::circularRoundedRectangle(frame, geometry.cornerRadius);
    case ShapeKind::capsule:
      return Path::capsule(frame);
    case ShapeKind::circle:
      if (geometry.trimFrom <= 0 && geometry.trimTo >= 1) return Path::circle(frame);
      return Path::circleArc(frame, geometry.trimFrom, geometry.trimTo);
  }
  return {};
}

Shape::Shape(ShapeGeometry geometry)
    : View(detail::makeNode(detail::ShapeNode{geometry, std::nullopt})), geometry_(geometry) {}

View Shape::fill(const Paint& paint) const {
  return detail::ViewAccess::make(detail::makeNode(
      detail::ShapeNode{geometry_, detail::ShapeDrawing{detail::ShapeDrawing::Mode::fill, paint, {}}}));
}

View Shape::stroke(const Paint& paint, const StrokeStyle& style) const {
  StrokeStyle clean = style;
  if (!std::isfinite(clean.lineWidth) || clean.lineWidth < 0) clean.lineWidth = 0;
  if (!std::isfinite(clean.miterLimit) || clean.miterLimit < 1) clean.miterLimit = 10;
  return detail::ViewAccess::make(detail::makeNode(
      detail::ShapeNode{geometry_, detail::ShapeDrawing{detail::ShapeDrawing::Mode::stroke, paint, clean}}));
}

View Shape::stroke(const Paint& paint, double lineWidth) const {
  StrokeStyle style;
  style.lineWidth = lineWidth;
  return stroke(paint, style);
}

Rectangle::Rectangle() : Shape({ShapeKind::rectangle}) {}

RoundedRectangle::RoundedRectangle(double cornerRadius, RoundedCornerStyle style)
    : Shape({ShapeKind::roundedRectangle, std::isfinite(cornerRadius) ? std::max(0.0, cornerRadius) : 0, style}) {}

Capsule::Capsule(RoundedCornerStyle style) : Shape({ShapeKind::capsule, 0, style}) {}

Circle::Circle() : Shape({ShapeKind::circle}) {}

Circle::Circle(ShapeGeometry geometry) : Shape(geometry) {}

Circle Circle::trim(double from, double to) const {
  ShapeGeometry trimmed = geometry();
  const auto unit = [](double v) { return std::isfinite(v) ? std::clamp(v, 0.0, 1.0) : 0.0; };
  // Trimming a trimmed circle keeps the fractions of the part that is left.
  const double span = trimmed.trimTo - trimmed.trimFrom;
  const double newFrom = trimmed.trimFrom + span * unit(from);
  const double newTo = trimmed.trimFrom + span * unit(to);
  trimmed.trimFrom = newFrom;
  trimmed.trimTo = newTo;
  return Circle(trimmed);
}

}  // namespace zelto::kit
