#pragma once

#include "platform/kit/Color.hpp"
#include "platform/kit/DisplayList.hpp"
#include "platform/kit/Path.hpp"
#include "platform/kit/View.hpp"

namespace zelto::kit {

enum class ShapeKind { rectangle, roundedRectangle, capsule, circle };

// Continuous corners ease into the straight edges (no visible kink where the
// curve starts); circular corners are quarter circles.
enum class RoundedCornerStyle { continuous, circular };

// The outline of a shape within whatever frame layout gives it.
struct ShapeGeometry {
  ShapeKind kind = ShapeKind::rectangle;
  double cornerRadius = 0;
  RoundedCornerStyle cornerStyle = RoundedCornerStyle::continuous;
  // The kept fraction of the outline (circles only), from 3 o'clock clockwise.
  double trimFrom = 0;
  double trimTo = 1;
  bool operator==(const ShapeGeometry&) const = default;
};

// The shape's outline in `frame`: a circle takes the largest centred square.
Path shapePath(const ShapeGeometry& geometry, const Rect& frame);

// A shape takes the whole size offered to it (10 pt where a dimension is left
// unspecified). As a view on its own it is filled with the foreground style.
class Shape : public View {
 public:
  View fill(const Paint& paint) const;
  // The line is centred on the outline, so half of it lies outside the frame.
  View stroke(const Paint& paint, const StrokeStyle& style) const;
  View stroke(const Paint& paint, double lineWidth = 1) const;

  const ShapeGeometry& geometry() const { return geometry_; }

 protected:
  explicit Shape(ShapeGeometry geometry);

 private:
  ShapeGeometry geometry_;
};

class Rectangle : public Shape {
 public:
  Rectangle();
};

class RoundedRectangle : public Shape {
 public:
  explicit RoundedRectangle(double cornerRadius, RoundedCornerStyle style = RoundedCornerStyle::continuous);
};

// A rounded rectangle whose radius is half its shorter side: true semicircular
// ends, whichever corner style is asked for.
class Capsule : public Shape {
 public:
  explicit Capsule(RoundedCornerStyle style = RoundedCornerStyle::continuous);
};

// Drawn in the largest centred square of its frame, starting at 3 o'clock and
// running clockwise on screen.
class Circle : public Shape {
 public:
  Circle();
  // Keeps the part of the outline between the fractions `from` and `to`
  // (clamped to 0...1); nothing when `to` is not past `from`.
  Circle trim(double from, double to) const;

 private:
  explicit Circle(ShapeGeometry geometry);
};

}  // namespace zelto::kit
