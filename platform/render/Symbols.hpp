#pragma once

#include <optional>
#include <string_view>
#include <vector>

#include "platform/kit/Font.hpp"
#include "platform/kit/Geometry.hpp"
#include "platform/kit/Path.hpp"

namespace zelto::render {

// The named symbols are our own vector drawings in the manner of the
// platform's symbol font: sized by the font's point size, their strokes
// growing with its weight, and centred on the middle of the cap height so
// they sit on a text line like a glyph.

struct SymbolPart {
  enum class Kind {
    fill,    // filled with the even-odd rule, so inner outlines cut holes
    stroke,  // stroked with round caps and round joins
  };
  kit::Path path;
  Kind kind = Kind::fill;
  double lineWidth = 0;
};

// One symbol drawn at a point size: its box (origin top-left) and parts.
struct SymbolShape {
  kit::Size size;
  std::vector<SymbolPart> parts;
};

// The symbol names the renderer draws.
bool isKnownSymbol(std::string_view name);

// Stroke width of symbol lines at `pointSize` for `weight`: 0.09 × size at
// regular, 0.13 × size at bold.
double symbolStrokeWidth(double pointSize, kit::FontWeight weight);

// The size of the symbol's box at `pointSize` and `weight`; nullopt for an
// unknown name.
std::optional<kit::Size> symbolSize(std::string_view name, double pointSize, kit::FontWeight weight);

// The symbol's drawing in its own box; nullopt for an unknown name or a
// size that is not a positive finite number.
std::optional<SymbolShape> symbolShape(std::string_view name, double pointSize, kit::FontWeight weight);

}  // namespace zelto::render
