#include "widget/visuals/ZeltoAuroraBackground.hpp"

#include "platform/kit/Shapes.hpp"
#include "platform/kit/Stacks.hpp"
#include "widget/visuals/ZeltoPalette.hpp"

namespace zelto {

using kit::Color;
using kit::UnitPoint;

kit::View ZeltoAuroraBackground::body() const {
  using P = ZeltoPalette;
  const kit::LinearGradient wash{kit::evenlySpaced({P::night, P::midnight.withOpacity(0.94), Color::srgb8(30, 38, 99)}),
                                 UnitPoint::topLeading(), UnitPoint::bottomTrailing()};
  const kit::RadialGradient topGlow{
      kit::evenlySpaced({P::indigo.withOpacity(0.62), Color::clear()}), {1.05, -0.08}, 0, 260};
  const kit::RadialGradient bottomGlow{
      kit::evenlySpaced({Color::srgb8(59, 91, 210, 0.28), Color::clear()}), {-0.1, 1.08}, 0, 240};
  const kit::LinearGradient sheen{kit::evenlySpaced({Color::white(0.075), Color::clear(), Color::white(0.025)}),
                                  UnitPoint::top(), UnitPoint::bottom()};
  return kit::ZStack({
                         kit::Rectangle().fill(P::night),
                         kit::Rectangle().fill(wash),
                         kit::Rectangle().fill(topGlow),
                         kit::Rectangle().fill(bottomGlow),
                         kit::Rectangle().fill(sheen),
                     })
      .ignoresSafeArea()
      .viewName("ZeltoAuroraBackground");
}

}  // namespace zelto
