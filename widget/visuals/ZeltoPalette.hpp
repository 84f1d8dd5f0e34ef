#pragma once

#include <cstdint>

#include "platform/kit/Color.hpp"

namespace zelto {

// The widget's one dark palette (it always draws on its own dark backdrop,
// so there is no light variant). Components are 8-bit sRGB values used as
// the exact fraction n/255. Every view draws with these names instead of
// repeating numbers; a colour derived at the point of use is a palette
// colour with its opacity multiplied (`indigo.withOpacity(0.48)`).
struct ZeltoPalette {
  // Accent, glyph and ring gradient stops, glows.
  static constexpr kit::Color indigo = kit::Color::srgb8(104, 118, 242);
  // Healthy tone; light end of the accent gradient.
  static constexpr kit::Color periwinkle = kit::Color::srgb8(174, 190, 255);
  // Deepest background colour.
  static constexpr kit::Color night = kit::Color::srgb8(7, 11, 35);
  // Second background colour; tile fills.
  static constexpr kit::Color midnight = kit::Color::srgb8(19, 27, 70);
  // Warning tone; error marker.
  static constexpr kit::Color amber = kit::Color::srgb8(255, 181, 112);
  // Critical tone.
  static constexpr kit::Color coral = kit::Color::srgb8(255, 91, 111);
  // Primary text and glyph colour.
  static constexpr kit::Color primaryText = kit::Color::white(0.96);
  // Secondary text: labels, dates, reset lines.
  static constexpr kit::Color secondaryText = kit::Color::srgb8(218, 226, 255, 0.72);
  // Thin separators and faint strokes.
  static constexpr kit::Color hairline = kit::Color::white(0.12);

  // Periwinkle to indigo, evenly spaced, from the leading to the trailing
  // edge. Built once, on first use, from any thread.
  static const kit::LinearGradient& accentGradient();

  // The warning tone of a remaining percentage. Each band includes its lower
  // bound: above 25 periwinkle, 10 to 25 amber, below 10 (negative values
  // too) coral.
  static kit::Color limitTone(std::int64_t remaining);
};

}  // namespace zelto
