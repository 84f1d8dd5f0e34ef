#include "widget/browsing/UsageWeekIntents.hpp"

#include <algorithm>
#include <limits>

#include "widget/model/SaturatingAdd.hpp"
#include "widget/model/SharedSnapshotStore.hpp"
#include "widget/model/UsageHistoryBounds.hpp"
#include "widget/model/WidgetKind.hpp"

namespace zelto {

std::int64_t steppedWeekOffset(const std::optional<ZeltoDashboardSnapshot>& dashboard, std::int64_t stored,
                               std::int64_t step, const locale::Calendar& calendar, Date now) {
  if (!dashboard) return 0;
  // The candidate saturates instead of wrapping: a stored offset at the most
  // negative value stepping back stays there, and the floor bounds it anyway.
  const std::int64_t candidate = saturatingAdd(stored, step);
  const std::int64_t floor = earliestUsageWeekOffset(*dashboard, calendar, now);
  return std::max(std::min<std::int64_t>(candidate, 0), floor);
}

host::IntentResult performWeekStep(std::int64_t step, const host::IntentContext& context) {
  const auto& environment = context.environment;
  const SharedSnapshotStore store(environment.container.location, environment.container.suiteName);
  // 1. Load the dashboard and the stored offset.
  const auto dashboard = store.loadDashboard();
  const std::int64_t stored = store.readWeekOffset();
  // 2. Step within the weeks that have data and store the result.
  store.writeWeekOffset(steppedWeekOffset(dashboard, stored, step, environment.calendar, environment.now));
  // 3. Have the host rebuild the widget with the new offset.
  context.widgetCenter.reloadTimelines(zeltoLimitsWidgetKind);
  return {};
}

}  // namespace zelto
