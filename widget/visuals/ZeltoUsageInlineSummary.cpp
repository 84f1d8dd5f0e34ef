#include "widget/visuals/ZeltoUsageInlineSummary.hpp"

#include <optional>
#include <string>

#include "platform/kit/Stacks.hpp"
#include "platform/kit/Text.hpp"
#include "widget/model/UsageWeek.hpp"
#include "widget/visuals/UsageFigures.hpp"
#include "widget/visuals/ZeltoFont.hpp"
#include "widget/visuals/ZeltoPalette.hpp"

namespace zelto {
namespace {

using P = ZeltoPalette;

// A key in the line's colour, then its value in periwinkle.
kit::View pair(const std::string& key, const std::string& value) {
  return kit::HStack(kit::VerticalAlignment::center, 2,
                     {kit::Text::verbatim(key), kit::Text::verbatim(value).foregroundStyle(P::periwinkle)});
}

}  // namespace

kit::View ZeltoUsageInlineSummary::body(const kit::Environment& environment) const {
  const locale::Locale& locale = environment.effectiveLocale();
  const std::optional<ZeltoUsageWeek> shown = week(usage, weekOffset, environment.effectiveCalendar(), environment.now);
  if (!shown) return {};
  const bool current = shown->isCurrentWeek;
  const kit::View first = current ? pair("TODAY", tokensFigure(shown->todayTokens, locale))
                                  : pair("WEEK", tokensFigure(shown->totalTokens, locale));
  const kit::View second = current ? pair("STREAK", compactStreakFigure(shown->currentStreakDays))
                                   : pair("PEAK", tokensFigure(shown->peakTokens, locale));
  const kit::View separator = kit::Text::verbatim("/").foregroundStyle(P::periwinkle.withOpacity(0.5));
  return kit::HStack(kit::VerticalAlignment::center, 5, {first, separator, second})
      .font(ZeltoFont::label(environment))
      .tracking(0.25)
      .foregroundStyle(P::secondaryText)
      .accessibilityElement(kit::AccessibilityChildren::combine)
      .viewName("ZeltoUsageInlineSummary");
}

}  // namespace zelto
