#pragma once

#include <cairo.h>

#include "platform/kit/DisplayList.hpp"
#include "platform/render/PangoTextSystem.hpp"

namespace zelto::render {

// Executes a display list on a Cairo context: shapes with their paints and
// strokes, texts and symbols, layers with opacity and Gaussian glows,
// transforms and clips.
//
// Bad data draws less, never crashes: commands with numbers that are not
// finite are skipped, a transform that cannot be inverted hides what it
// holds, a pop without its push is ignored and a push without its pop
// lasts to the end of the list.
class CairoPlayer {
 public:
  explicit CairoPlayer(const PangoTextSystem& text) : text_(text) {}

  // Plays `list` on `cr` with one layout point as `scale` units of `cr`'s
  // user space. `cr`'s state is as it was afterwards.
  void play(const kit::DisplayList& list, cairo_t* cr, double scale) const;

 private:
  const PangoTextSystem& text_;
};

// Drops every cached glow, clip mask and backdrop raster (benchmarks of a
// first frame start so).
void clearGlowRasterCache();

}  // namespace zelto::render
