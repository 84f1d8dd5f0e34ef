// zelto-limits-icon: writes the application icon, the account glyph drawn by
// the widget's own renderer, as an SVG file. Run at build time.
//
// FIXME: draw the kit's ZeltoAccountGlyph view once it is in the tree, so
// that the glyph has one home; until then the same three layers are drawn
// here: a circle in the accent gradient with an indigo glow, and the
// "terminal.fill" symbol in white.

#include <iostream>

#include "platform/kit/DisplayList.hpp"
#include "platform/render/PangoTextSystem.hpp"
#include "platform/render/RenderOutput.hpp"

namespace {

using namespace zelto;

constexpr kit::Color indigo = kit::Color::srgb8(104, 118, 242);
constexpr kit::Color periwinkle = kit::Color::srgb8(174, 190, 255);

// The glyph of diameter `diameter` centred on a square canvas that also
// holds its glow (0.3 × diameter around it).
kit::DisplayList glyph(double diameter, const kit::TextSystem& text) {
  const double side = diameter * 1.6;
  const double inset = (side - diameter) / 2;
  const kit::Rect circle{inset, inset, diameter, diameter};
  const kit::SymbolRequest symbol{"terminal.fill",
                                  kit::Font::system(0.42 * diameter, kit::FontWeight::bold, kit::FontDesign::rounded)};
  const kit::Size symbolSize = text.measureSymbol(symbol).size;
  const kit::Rect symbolFrame{(side - symbolSize.width) / 2, (side - symbolSize.height) / 2, symbolSize.width,
                              symbolSize.height};
  const kit::LinearGradient accent{kit::evenlySpaced({periwinkle, indigo}), kit::UnitPoint::leading(),
                                   kit::UnitPoint::trailing()};
  return {{side, side},
          {kit::PushLayer{1, kit::Shadow{indigo.withOpacity(0.48), 0.3 * diameter, 0, 0}},
           kit::FillPath{kit::Path::circle(circle), accent, circle}, kit::PopLayer{},
           kit::DrawSymbol{symbol, symbolFrame, kit::Color::white(0.96)}}};
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::cerr << "usage: zelto-limits-icon OUTPUT.svg\n";
    return 2;
  }
  const render::PangoTextSystem text;
  const render::RenderResult result = render::Renderer(text).renderSvg(glyph(80, text), argv[1]);
  if (!result.ok()) {
    std::cerr << "zelto-limits-icon: " << result.error << '\n';
    return 1;
  }
  return 0;
}
