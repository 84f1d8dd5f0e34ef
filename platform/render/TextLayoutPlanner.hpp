#pragma once

#include <pango/pango.h>

#include <map>
#include <memory>
#include <optional>
#include <string>
#include <tuple>

#include "platform/kit/TextSystem.hpp"
#include "platform/render/FontProbe.hpp"

namespace zelto::render {

// A text shaped and broken into lines exactly as it is drawn.
struct LaidOutText {
  kit::TextMeasurement measurement;
  PangoLayout* layout = nullptr;  // owned; null for a text that draws nothing

  LaidOutText() = default;
  LaidOutText(const LaidOutText&) = delete;
  LaidOutText& operator=(const LaidOutText&) = delete;
  ~LaidOutText();
};

// Turns a text request and a proposal into Pango layouts: font resolution,
// tracking, tabular digits, wrapping, shrinking down to the minimum scale
// factor, and tail truncation by line limit and height.
//
// Not thread-safe: the owner serialises calls (Pango contexts are not
// shareable between threads).
class TextLayoutPlanner {
 public:
  TextLayoutPlanner(PangoContext* context, const FontProbe& probe) : context_(context), probe_(probe) {}
  ~TextLayoutPlanner();
  TextLayoutPlanner(const TextLayoutPlanner&) = delete;
  TextLayoutPlanner& operator=(const TextLayoutPlanner&) = delete;

  // `width` and `height` must be finite and non-negative when present.
  std::shared_ptr<const LaidOutText> layOut(const kit::TextRequest& request, std::optional<double> width,
                                            std::optional<double> height) const;

  // A Pango description of `font` at `pointSize` (caller frees).
  PangoFontDescription* fontDescription(const kit::Font& font, double pointSize) const;

  // Everything a plain layout of a text is built from: text, family,
  // weight, point size, letter spacing, tabular digits, alignment and width
  // (-1 for none).
  using BuildKey = std::tuple<std::string, std::string, int, double, double, bool, int, double>;

 private:
  PangoContext* context_;
  const FontProbe& probe_;
  // Plain layouts already built (one reference each), so that proposals
  // that start from the same layout (a narrow width with several heights,
  // the same scale tried again) shape it once. Never modified once built.
  mutable std::map<BuildKey, PangoLayout*> built_;
};

}  // namespace zelto::render
