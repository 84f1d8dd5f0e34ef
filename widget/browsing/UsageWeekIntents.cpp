#include "widget/browsing/UsageWeekIntents.hpp"

#include <limits>

#include "widget/model/SaturatingAdd.hpp"
#include "widget/model/UsageHistoryBounds.hpp"
#include "widget/model/WidgetKind.hpp"

namespace zelto {

std::int64_t steppedWeekOffset(const std::optional<ZeltoDashboardSnapshot>& dashboard, std::int64_t stored,
                               std::int64_t step, const locale::Calendar& calendar, Date now) {
  if (!dashboard) return 0;
  // The candidate saturates instead of wrapping: a stored offset at the most
  // negative value stepping back stays there, and the floor bounds it anyway.
  return boundedWeekOffset(saturatingAdd(stored, step), earliestUsageWeekOffset(*dashboard, calendar, now));
}

host::IntentResult performWeekStep(std::int64_t step, const SharedContainer& container,
                                   const host::IntentContext& context) {
  const auto& environment = context.environment;
  const SharedSnapshotStore store(container);
  // 1. Load the dashboard and the stored offset. A read that could not
  // complete must not turn into "no data": that would reset the offset.
  const auto dashboard = store.loadDashboard();
  if (dashboard.isBusy()) return host::IntentResult::notRunNow(dashboard.busy().message);
  const auto stored = store.readWeekOffset();
  if (stored.isBusy()) return host::IntentResult::notRunNow(stored.busy().message);
  // 2. Step within the weeks that have data and store the result.
  const std::int64_t offset =
      steppedWeekOffset(dashboard.value(), stored.value(), step, environment.calendar, environment.now);
  if (auto error = store.writeWeekOffset(offset)) {
    return error->isBusy() ? host::IntentResult::notRunNow(error->message) : host::IntentResult::failed(error->message);
  }
  // 3. Have the host rebuild the widget with the new offset.
  context.widgetCenter.reloadTimelines(zeltoLimitsWidgetKind);
  return host::IntentResult::done();
}

}  // namespace zelto
