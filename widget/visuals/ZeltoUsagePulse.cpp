#include "widget/visuals/ZeltoUsagePulse.hpp"

#include <optional>

#include "platform/kit/Shapes.hpp"
#include "platform/kit/Stacks.hpp"
#include "widget/model/UsageWeek.hpp"
#include "widget/visuals/UsageBarChart.hpp"
#include "widget/visuals/UsageFigures.hpp"
#include "widget/visuals/UsageSummaryMetric.hpp"
#include "widget/visuals/ZeltoPalette.hpp"

namespace zelto {

kit::View ZeltoUsagePulse::body(const kit::Environment& environment) const {
  using P = ZeltoPalette;
  const locale::Calendar& calendar = environment.effectiveCalendar();
  const locale::Locale& locale = environment.effectiveLocale();
  const std::optional<ZeltoUsageWeek> shown = week(usage, weekOffset, calendar, environment.now);
  if (!shown) return {};

  // 1. The tile: two figures split by a hairline.
  const bool current = shown->isCurrentWeek;
  const UsageSummaryMetric first =
      current ? UsageSummaryMetric{"TODAY", tokensFigure(shown->todayTokens, locale), compact}
              : UsageSummaryMetric{"WEEK TOTAL", tokensFigure(shown->totalTokens, locale), compact};
  const UsageSummaryMetric second =
      current ? UsageSummaryMetric{"STREAK", streakFigure(shown->currentStreakDays), compact}
              : UsageSummaryMetric{"PEAK DAY", tokensFigure(shown->peakTokens, locale), compact};
  const kit::View divider = kit::Rectangle()
                                .fill(P::hairline)
                                .frame(1, compact ? 22 : 27)
                                .padding(kit::Edges::horizontal(), compact ? 8 : 12);
  const double tileRadius = compact ? 9 : 11;
  const kit::View tile = kit::HStack(kit::VerticalAlignment::center, 0, {first, divider, second})
                             .padding(kit::Edges::horizontal(), compact ? 8 : 10)
                             .padding(kit::Edges::vertical(), horizontal ? 4 : (compact ? 6 : 8))
                             .background(kit::RoundedRectangle(tileRadius).fill(P::midnight.withOpacity(0.78)))
                             .overlay(kit::RoundedRectangle(tileRadius).stroke(P::periwinkle.withOpacity(0.13), 0.7));

  // 2. Tile and chart, side by side or one above the other.
  kit::View arrangement;
  if (horizontal) {
    arrangement = kit::HStack(kit::VerticalAlignment::center, 8,
                              {tile.frame(138, std::nullopt), UsageBarChart{*shown, true, calendar}});
  } else {
    arrangement = kit::VStack(kit::HorizontalAlignment::center, compact ? 6 : 8,
                              {tile, showsChart ? kit::View(UsageBarChart{*shown, compact, calendar}) : kit::View()});
  }

  // 3. The panel around them.
  const double panelRadius = compact ? 11 : 13;
  return arrangement.padding(horizontal ? 6 : (compact ? 7 : 9))
      .background(kit::RoundedRectangle(panelRadius).fill(kit::Color::black(0.11)))
      .overlay(kit::RoundedRectangle(panelRadius).stroke(P::hairline, 0.7))
      .animation(environment.reduceMotion ? std::nullopt : std::optional(usagePulseSpring), weekOffset)
      .viewName("ZeltoUsagePulse");
}

}  // namespace zelto
