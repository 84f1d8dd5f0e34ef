#pragma once

#include <variant>
#include <vector>

#include "platform/kit/Geometry.hpp"

namespace zelto::kit {

// sRGB colour with straight (not premultiplied) alpha; components in 0...1.
struct Color {
  double red = 0;
  double green = 0;
  double blue = 0;
  double opacity = 1;

  // 8-bit components used as the exact fraction n/255.
  static constexpr Color srgb8(int r, int g, int b, double opacity = 1) {
    return {r / 255.0, g / 255.0, b / 255.0, opacity};
  }
  static constexpr Color white(double opacity = 1) { return {1, 1, 1, opacity}; }
  static constexpr Color black(double opacity = 1) { return {0, 0, 0, opacity}; }
  static constexpr Color clear() { return {0, 0, 0, 0}; }

  // The toolkit's opacity modifier on a colour: multiplies the alpha.
  constexpr Color withOpacity(double factor) const { return {red, green, blue, opacity * factor}; }
  bool operator==(const Color&) const = default;
};

struct GradientStop {
  Color color;
  double location = 0;  // 0...1 along the gradient
  bool operator==(const GradientStop&) const = default;
};

// Stops evenly spaced from 0 to 1.
std::vector<GradientStop> evenlySpaced(const std::vector<Color>& colors);

// Start and end are unit points of the filled shape's bounds.
struct LinearGradient {
  std::vector<GradientStop> stops;
  UnitPoint startPoint = UnitPoint::top();
  UnitPoint endPoint = UnitPoint::bottom();
  bool operator==(const LinearGradient&) const = default;
};

// Centre is a unit point of the shape's bounds; radii are absolute points.
struct RadialGradient {
  std::vector<GradientStop> stops;
  UnitPoint center = UnitPoint::center();
  double startRadius = 0;
  double endRadius = 0;
  bool operator==(const RadialGradient&) const = default;
};

// Colours sweep clockwise on screen from startAngle to endAngle (radians,
// measured from +x) around a centre given as a unit point.
struct AngularGradient {
  std::vector<GradientStop> stops;
  UnitPoint center = UnitPoint::center();
  double startAngle = 0;
  double endAngle = 6.283185307179586;
  bool operator==(const AngularGradient&) const = default;
};

// What a shape is filled or stroked with, and what a text is drawn in.
using Paint = std::variant<Color, LinearGradient, RadialGradient, AngularGradient>;

// The paint with the alpha of each of its colours multiplied by `factor`.
Paint withOpacity(Paint paint, double factor);

}  // namespace zelto::kit
