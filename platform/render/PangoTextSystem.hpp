#pragma once

#include <memory>
#include <optional>
#include <string>

#include "platform/kit/Geometry.hpp"
#include "platform/kit/TextSystem.hpp"
#include "platform/render/FontProbe.hpp"

typedef struct _cairo cairo_t;

namespace zelto::render {

// Measures and draws texts with Pango and the named symbols with our own
// vector drawings, for the kit's layout and for the renderer.
//
// Sizes are fractional points, identical at every output scale: metrics are
// not hinted and glyph positions are not rounded. Results are cached per
// request and proposal, so asking again is cheap. All members may be called
// from several threads (calls are serialised internally).
class PangoTextSystem final : public kit::TextSystem {
 public:
  // Fonts from the process's fontconfig configuration. Every such text
  // system shares the process's font probe and font map (fonts are loaded
  // once per process); each keeps its own laid-out texts.
  PangoTextSystem();
  // Fonts from `probe`'s configuration and font map (tests pin their fonts
  // with it).
  explicit PangoTextSystem(std::shared_ptr<const FontProbe> probe);
  ~PangoTextSystem() override;
  PangoTextSystem(const PangoTextSystem&) = delete;
  PangoTextSystem& operator=(const PangoTextSystem&) = delete;

  kit::TextMeasurement measure(const kit::TextRequest& request, std::optional<double> width,
                               std::optional<double> height) const override;
  kit::SymbolMeasurement measureSymbol(const kit::SymbolRequest& request) const override;
  std::string resolvedFamily(const kit::Font& font) const override;
  bool isFamilyInstalled(const std::string& family) const override;

  // Draws the text exactly as measure(request, frame.width, frame.height)
  // laid it out, its top-left at the frame's origin, with `cr`'s current
  // source.
  void drawText(cairo_t* cr, const kit::TextRequest& request, const kit::Rect& frame) const;

  // The cap height of the font `font` resolves to, in points at `pointSize`.
  double capHeight(const kit::Font& font, double pointSize) const;

  const FontProbe& probe() const;

 private:
  struct Impl;
  std::unique_ptr<Impl> impl_;
};

}  // namespace zelto::render
