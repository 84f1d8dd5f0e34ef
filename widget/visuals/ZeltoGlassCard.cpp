#include "widget/visuals/ZeltoGlassCard.hpp"

#include "platform/kit/Shapes.hpp"
#include "widget/visuals/ZeltoPalette.hpp"

namespace zelto {

using kit::Color;

kit::View ZeltoGlassCard::body() const {
  const kit::RoundedRectangle shape(cornerRadius);
  const kit::LinearGradient edgeLight{
      kit::evenlySpaced({Color::white(0.2), ZeltoPalette::indigo.withOpacity(0.14), Color::white(0.06)}),
      kit::UnitPoint::topLeading(), kit::UnitPoint::bottomTrailing()};
  const kit::View card =
      shape.fill(Color::white(0.072)).overlay(shape.stroke(edgeLight, 0.8)).shadow(Color::black(0.22), 12, 0, 7);
  return content.background(card).viewName("ZeltoGlassCard");
}

}  // namespace zelto
