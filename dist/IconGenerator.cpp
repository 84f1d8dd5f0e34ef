// zelto-limits-icon: writes the application icon, the account glyph drawn by
// the widget's own kit and renderer, as an SVG file (or a PNG). Run at build
// time.

#include <iostream>

#include "platform/kit/DisplayListPainter.hpp"
#include "platform/kit/Layout.hpp"
#include "platform/render/PangoTextSystem.hpp"
#include "platform/render/RenderOutput.hpp"
#include "widget/visuals/ZeltoAccountGlyph.hpp"

int main(int argc, char** argv) {
  using namespace zelto;
  if (argc != 2) {
    std::cerr << "usage: zelto-limits-icon OUTPUT.svg|OUTPUT.png\n";
    return 2;
  }
  // An 80-point glyph in the middle of a 128-point canvas: its glow (0.3 of
  // the diameter) reaches the canvas edges without being cut.
  constexpr double canvas = 128;
  const render::PangoTextSystem text;
  const kit::View icon = ZeltoAccountGlyph{80}.body().frame(canvas, canvas);
  const kit::DisplayList list = kit::paint(kit::layout(icon, {canvas, canvas}, kit::Environment{}, text));
  // PNG at 2x (256 pixels) for a quick look; SVG for the icon theme.
  const std::filesystem::path output = argv[1];
  const render::Renderer renderer(text);
  const render::RenderResult result =
      output.extension() == ".png" ? renderer.renderPng(list, 2, output) : renderer.renderSvg(list, output);
  if (!result.ok()) {
    std::cerr << "zelto-limits-icon: " << result.error << '\n';
    return 1;
  }
  return 0;
}
