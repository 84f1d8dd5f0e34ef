#include "widget/visuals/ZeltoLimitTrack.hpp"

#include <algorithm>

#include "platform/kit/GeometryReader.hpp"
#include "platform/kit/Shapes.hpp"
#include "platform/kit/Stacks.hpp"
#include "widget/visuals/ZeltoPalette.hpp"

namespace zelto {

kit::View ZeltoLimitTrack::body() const {
  const kit::Color tone = ZeltoPalette::limitTone(remaining);
  const kit::Paint fillPaint =
      remaining >= 26 ? kit::Paint{ZeltoPalette::accentGradient()}
                      : kit::Paint{kit::LinearGradient{kit::evenlySpaced({tone.withOpacity(0.72), tone}),
                                                       kit::UnitPoint::leading(), kit::UnitPoint::trailing()}};
  const double share = static_cast<double>(remaining) / 100;
  return kit::GeometryReader([=](kit::Size size) -> kit::View {
           return kit::ZStack(kit::Alignment::leading(), {
                                                             kit::Capsule().fill(kit::Color::white(0.14)),
                                                             kit::Capsule()
                                                                 .fill(fillPaint)
                                                                 .frame(std::max(0.0, size.width * share), std::nullopt)
                                                                 .shadow(tone.withOpacity(0.52), 5),
                                                         });
         })
      .frame(std::nullopt, height)
      .accessibilityHidden()
      .viewName("ZeltoLimitTrack");
}

}  // namespace zelto
