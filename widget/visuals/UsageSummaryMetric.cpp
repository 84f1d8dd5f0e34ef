#include "widget/visuals/UsageSummaryMetric.hpp"

#include "platform/kit/Stacks.hpp"
#include "platform/kit/Text.hpp"
#include "widget/visuals/ZeltoFont.hpp"
#include "widget/visuals/ZeltoPalette.hpp"

namespace zelto {

kit::View UsageSummaryMetric::body(const kit::Environment& environment) const {
  using P = ZeltoPalette;
  const kit::View caption =
      kit::Text::verbatim(label).font(ZeltoFont::label(environment)).tracking(0.7).foregroundStyle(P::secondaryText);
  const kit::View figure = kit::Text::verbatim(value)
                               .font(compact ? ZeltoFont::label(environment) : ZeltoFont::caption(environment))
                               .monospacedDigit()
                               .foregroundStyle(P::periwinkle)
                               .lineLimit(1)
                               .allowsTightening(true)
                               .minimumScaleFactor(0.62);
  return kit::VStack(kit::HorizontalAlignment::leading, 1, {caption, figure})
      .frame(kit::FlexibleFrame{.maxWidth = kit::infinity, .alignment = kit::Alignment::leading()})
      .viewName("UsageSummaryMetric");
}

}  // namespace zelto
