#pragma once

#include <variant>
#include <vector>

#include "platform/kit/Geometry.hpp"

namespace zelto::kit {

// A vector outline in layout points: the shapes' geometry, handed to the
// renderer as it is.
class Path {
 public:
  struct MoveTo { Point to; bool operator==(const MoveTo&) const = default; };
  struct LineTo { Point to; bool operator==(const LineTo&) const = default; };
  struct CurveTo { Point control1, control2, to; bool operator==(const CurveTo&) const = default; };
  struct Close { bool operator==(const Close&) const = default; };
  using Element = std::variant<MoveTo, LineTo, CurveTo, Close>;

  void moveTo(Point p) { elements_.push_back(MoveTo{p}); }
  void lineTo(Point p) { elements_.push_back(LineTo{p}); }
  void curveTo(Point c1, Point c2, Point to) { elements_.push_back(CurveTo{c1, c2, to}); }
  void close() { elements_.push_back(Close{}); }

  const std::vector<Element>& elements() const { return elements_; }
  bool empty() const { return elements_.empty(); }
  Path transformed(const AffineTransform& t) const;
  // Bounds of all points, control points included.
  Rect controlBounds() const;

  static Path rectangle(const Rect& r);
  // Rounded rectangle with continuous (smooth) corners; a radius past the
  // limit for the shorter side becomes a capsule with true semicircular ends.
  static Path continuousRoundedRectangle(const Rect& r, double radius);
  // Rounded rectangle with circular corners.
  static Path circularRoundedRectangle(const Rect& r, double radius);
  static Path capsule(const Rect& r);
  // Largest centred circle of `r`, starting at 3 o'clock and running
  // clockwise on screen.
  static Path circle(const Rect& r);
  // The first `to - from` fraction of the circle path (trim).
  static Path circleArc(const Rect& r, double from, double to);

  bool operator==(const Path&) const = default;

 private:
  std::vector<Element> elements_;
};

}  // namespace zelto::kit
