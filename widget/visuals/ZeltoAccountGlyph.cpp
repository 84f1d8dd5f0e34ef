#include "widget/visuals/ZeltoAccountGlyph.hpp"

#include "platform/kit/Image.hpp"
#include "platform/kit/Shapes.hpp"
#include "platform/kit/Stacks.hpp"
#include "widget/visuals/ZeltoPalette.hpp"

namespace zelto {

kit::View ZeltoAccountGlyph::body() const {
  return kit::ZStack({
                         kit::Circle()
                             .fill(ZeltoPalette::accentGradient())
                             .shadow(ZeltoPalette::indigo.withOpacity(0.48), 0.3 * size),
                         kit::Image("terminal.fill")
                             .font(kit::Font::system(0.42 * size, kit::FontWeight::bold, kit::FontDesign::rounded))
                             .foregroundStyle(kit::Color::white(0.96)),
                     })
      .frame(size, size)
      .accessibilityHidden()
      .viewName("ZeltoAccountGlyph");
}

}  // namespace zelto
