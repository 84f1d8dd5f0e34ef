#pragma once

#include <algorithm>
#include <cmath>

namespace zelto::kit {

// Points of the layout space; the renderer multiplies by the output scale.
struct Point {
  double x = 0;
  double y = 0;
  bool operator==(const Point&) const = default;
};

struct Size {
  double width = 0;
  double height = 0;
  bool operator==(const Size&) const = default;
};

struct Rect {
  double x = 0;
  double y = 0;
  double width = 0;
  double height = 0;

  double minX() const { return x; }
  double minY() const { return y; }
  double maxX() const { return x + width; }
  double maxY() const { return y + height; }
  double midX() const { return x + width / 2; }
  double midY() const { return y + height / 2; }
  Size size() const { return {width, height}; }
  bool contains(Point p) const { return p.x >= x && p.x < maxX() && p.y >= y && p.y < maxY(); }
  Rect offsetBy(double dx, double dy) const { return {x + dx, y + dy, width, height}; }
  Rect insetBy(double dx, double dy) const { return {x + dx, y + dy, width - 2 * dx, height - 2 * dy}; }
  Rect united(const Rect& o) const {
    const double left = std::min(x, o.x), top = std::min(y, o.y);
    return {left, top, std::max(maxX(), o.maxX()) - left, std::max(maxY(), o.maxY()) - top};
  }
  bool operator==(const Rect&) const = default;
};

// A point in a view's own bounds as fractions: (0, 0) top-leading, (1, 1)
// bottom-trailing. May lie outside [0, 1].
struct UnitPoint {
  double x = 0.5;
  double y = 0.5;

  static constexpr UnitPoint topLeading() { return {0, 0}; }
  static constexpr UnitPoint top() { return {0.5, 0}; }
  static constexpr UnitPoint topTrailing() { return {1, 0}; }
  static constexpr UnitPoint leading() { return {0, 0.5}; }
  static constexpr UnitPoint center() { return {0.5, 0.5}; }
  static constexpr UnitPoint trailing() { return {1, 0.5}; }
  static constexpr UnitPoint bottomLeading() { return {0, 1}; }
  static constexpr UnitPoint bottom() { return {0.5, 1}; }
  static constexpr UnitPoint bottomTrailing() { return {1, 1}; }

  Point in(const Rect& r) const { return {r.x + x * r.width, r.y + y * r.height}; }
  bool operator==(const UnitPoint&) const = default;
};

// A 2D affine transform: x' = a x + c y + tx, y' = b x + d y + ty.
struct AffineTransform {
  double a = 1, b = 0, c = 0, d = 1, tx = 0, ty = 0;

  static AffineTransform translation(double dx, double dy) { return {1, 0, 0, 1, dx, dy}; }
  static AffineTransform rotation(double radians) {
    const double cs = std::cos(radians), sn = std::sin(radians);
    return {cs, sn, -sn, cs, 0, 0};
  }
  // Rotation by `radians` (clockwise on screen for positive angles, since y
  // points down) about `center`.
  static AffineTransform rotation(double radians, Point center) {
    return translation(center.x, center.y).concatenating(rotation(radians)).concatenating(translation(-center.x, -center.y));
  }
  // this * other: apply `other` first, then this.
  AffineTransform concatenating(const AffineTransform& o) const {
    return {a * o.a + c * o.b, b * o.a + d * o.b, a * o.c + c * o.d, b * o.c + d * o.d, a * o.tx + c * o.ty + tx,
            b * o.tx + d * o.ty + ty};
  }
  Point apply(Point p) const { return {a * p.x + c * p.y + tx, b * p.x + d * p.y + ty}; }
  bool operator==(const AffineTransform&) const = default;
};

}  // namespace zelto::kit
