#include "widget/visuals/UsageBarChart.hpp"

#include <algorithm>
#include <string>

#include "platform/kit/ForEach.hpp"
#include "platform/kit/GeometryReader.hpp"
#include "platform/kit/Shapes.hpp"
#include "platform/kit/Stacks.hpp"
#include "widget/visuals/ZeltoPalette.hpp"

namespace zelto {
namespace {

using P = ZeltoPalette;

// Height of a bar that shows no usage (a future day, a day without tokens,
// or a week whose peak is zero), and the least height of one that does.
constexpr double stubHeight = 3;
constexpr double leastUsageHeight = 5;
constexpr double leastBarWidth = 2;

struct BarStyle {
  double height = stubHeight;
  kit::Paint fill;
  bool glows = false;
};

BarStyle styleOf(const ZeltoUsageWeek& week, const ZeltoUsageWeek::Day& day, const locale::Calendar& calendar, Date now,
                 double chartHeight) {
  // 1. A day after today (by calendar day) has had no chance to use tokens.
  const bool future = calendar.daysBetween(now, day.date).value_or(0) > 0;
  // 2. The current week marks today; a past week marks its busiest days.
  const bool highlighted =
      week.isCurrentWeek ? calendar.isSameDay(day.date, now) : week.peakTokens > 0 && day.tokens == week.peakTokens;
  BarStyle style;
  if (!future && day.tokens >= 1 && week.peakTokens >= 1) {
    const double share = static_cast<double>(day.tokens) / static_cast<double>(week.peakTokens);
    style.height = std::max(leastUsageHeight, chartHeight * share);
  }
  if (future) {
    style.fill = kit::Color::white(0.07);
  } else if (highlighted) {
    style.fill = P::accentGradient();
    style.glows = true;
  } else {
    style.fill = P::periwinkle.withOpacity(0.52);
  }
  return style;
}

}  // namespace

kit::View UsageBarChart::body(const kit::Environment& environment) const {
  const double chartHeight = compact ? 25 : 34;
  const double spacing = compact ? 3 : 4;
  const Date now = environment.now;
  const locale::Locale& locale = environment.effectiveLocale();

  const auto bars = [week = week, calendar = calendar, locale, now, chartHeight, spacing](kit::Size size) {
    const double barWidth = std::max(leastBarWidth, (size.width - 6 * spacing) / 7);
    const auto bar = [&](const ZeltoUsageWeek::Day& day) {
      const BarStyle style = styleOf(week, day, calendar, now, chartHeight);
      kit::View capsule = kit::Capsule().fill(style.fill).frame(std::nullopt, style.height);
      // Only highlighted bars glow; the others' glow is clear, which draws nothing.
      if (style.glows) capsule = capsule.shadow(P::periwinkle.withOpacity(0.58), 4);
      const std::string spoken =
          locale.formatFullDate(day.date, calendar) + ", " + locale.formatInteger(day.tokens, true) + " tokens";
      return capsule.frame(barWidth, std::nullopt, kit::Alignment::bottom())
          .accessibilityElement(kit::AccessibilityChildren::ignore)
          .accessibilityLabel(spoken);
    };
    const kit::View row = kit::HStack(
        kit::VerticalAlignment::bottom, spacing,
        {kit::ForEach(
            week.days, [](const ZeltoUsageWeek::Day& day) { return std::to_string(static_cast<long long>(day.date)); },
            bar)});
    // Bars stand on the chart's bottom edge; too many for the width run past
    // its trailing edge rather than shrink below their least width.
    return row.frame(size.width, size.height, kit::Alignment::bottomLeading());
  };
  return kit::GeometryReader(bars).frame(std::nullopt, chartHeight).viewName("UsageBarChart");
}

}  // namespace zelto
