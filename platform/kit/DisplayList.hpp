#pragma once

#include <optional>
#include <string>
#include <variant>
#include <vector>

#include "platform/kit/Color.hpp"
#include "platform/kit/Geometry.hpp"
#include "platform/kit/Path.hpp"
#include "platform/kit/TextSystem.hpp"

namespace zelto::kit {

// Paint turns a laid-out tree into a flat list of these plain commands, in
// drawing order; the renderer plays them. Coordinates are layout points in
// the root's space; the current transform (PushTransform) applies to all.

enum class LineCap { butt, round, square };
enum class LineJoin { miter, round, bevel };

struct StrokeStyle {
  double lineWidth = 1;
  LineCap cap = LineCap::butt;
  LineJoin join = LineJoin::miter;
  double miterLimit = 10;
  std::vector<double> dash;
  double dashPhase = 0;
  bool operator==(const StrokeStyle&) const = default;
};

// Fill `path` with `paint`; unit points and angles of gradients refer to
// `paintBounds` (the filled shape's frame).
struct FillPath {
  Path path;
  Paint paint;
  Rect paintBounds;
  bool operator==(const FillPath&) const = default;
};

// Stroke `path`, the line centred on the outline.
struct StrokePath {
  Path path;
  Paint paint;
  Rect paintBounds;
  StrokeStyle style;
  bool operator==(const StrokePath&) const = default;
};

// Draw a text laid out by the TextSystem from `request` with `frame.width`
// as its width (and `frame.height` as its height limit), top-left at the
// frame's origin, in `paint`.
struct DrawText {
  TextRequest request;
  Rect frame;
  Paint paint;
  bool operator==(const DrawText&) const = default;
};

// Draw the named symbol into `frame` (as measured by measureSymbol).
struct DrawSymbol {
  SymbolRequest request;
  Rect frame;
  Paint paint;
  bool operator==(const DrawSymbol&) const = default;
};

// Everything until the matching PopLayer is drawn into a group, which is
// then composited: when `shadow` is set, first the group's coverage tinted
// with the shadow colour, blurred (Gaussian, standard deviation about
// `radius` points) and offset; then the group itself at `opacity`.
struct Shadow {
  Color color;
  double radius = 0;
  double x = 0;
  double y = 0;
  bool operator==(const Shadow&) const = default;
};

struct PushLayer {
  double opacity = 1;
  std::optional<Shadow> shadow;
  bool operator==(const PushLayer&) const = default;
};
struct PopLayer {
  bool operator==(const PopLayer&) const = default;
};

// Concatenates `transform` to the current one until the matching
// PopTransform.
struct PushTransform {
  AffineTransform transform;
  bool operator==(const PushTransform&) const = default;
};
struct PopTransform {
  bool operator==(const PopTransform&) const = default;
};

// Intersects the clip with `path` until the matching PopClip.
struct PushClip {
  Path path;
  bool operator==(const PushClip&) const = default;
};
struct PopClip {
  bool operator==(const PopClip&) const = default;
};

using DisplayCommand =
    std::variant<FillPath, StrokePath, DrawText, DrawSymbol, PushLayer, PopLayer, PushTransform, PopTransform, PushClip, PopClip>;

struct DisplayList {
  Size size;  // the canvas, in points
  std::vector<DisplayCommand> commands;
  bool operator==(const DisplayList&) const = default;
};

}  // namespace zelto::kit
