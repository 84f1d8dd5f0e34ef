#pragma once

#include "platform/kit/Environment.hpp"
#include "platform/kit/View.hpp"
#include "platform/locale/Calendar.hpp"
#include "widget/model/UsageWeek.hpp"

namespace zelto {

// Seven capsule bars, one per day of `week`, rising from a common bottom
// line across the whole width offered (34 points high, 25 when compact).
// Each bar's height is its share of the week's peak, with a floor of 5
// points so that any usage stays visible; days without usage, days still to
// come and weeks without any usage draw a 3-point stub. In the current week
// today's bar is highlighted; in a past week every day that reaches the peak
// is. Bars never get narrower than 2 points: a chart too narrow for them
// overflows to the trailing side. Each bar is read as "<full date>, <tokens>
// tokens".
struct UsageBarChart {
  ZeltoUsageWeek week;
  bool compact = false;
  // Decides which days are today and which lie in the future.
  locale::Calendar calendar;

  kit::View body(const kit::Environment& environment) const;
};

}  // namespace zelto
