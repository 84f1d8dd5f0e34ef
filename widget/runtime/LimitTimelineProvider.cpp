#include "widget/runtime/LimitTimelineProvider.hpp"

#include <algorithm>

#include "widget/model/SharedSnapshotStore.hpp"
#include "widget/model/UsageHistoryBounds.hpp"

namespace zelto {
namespace {

SharedSnapshotStore storeOf(const host::RequestEnvironment& environment) {
  return SharedSnapshotStore(environment.container.location, environment.container.suiteName);
}

}  // namespace

LimitEntry LimitTimelineProvider::placeholder(const host::TimelineProviderContext& context) const {
  const auto& environment = context.environment;
  return LimitEntry{environment.now, ZeltoDashboardSnapshot::sample(environment.now, environment.calendar), 0};
}

void LimitTimelineProvider::getSnapshot(const host::TimelineProviderContext& context,
                                        const std::function<void(LimitEntry)>& completion) const {
  const auto& environment = context.environment;
  std::optional<ZeltoDashboardSnapshot> dashboard =
      context.isPreview ? std::optional(ZeltoDashboardSnapshot::sample(environment.now, environment.calendar))
                        : storeOf(environment).loadDashboard();
  completion(makeEntry(std::move(dashboard), environment));
}

void LimitTimelineProvider::getTimeline(const host::TimelineProviderContext& context,
                                        const std::function<void(host::Timeline<LimitEntry>)>& completion) const {
  const auto& environment = context.environment;
  host::Timeline<LimitEntry> timeline;
  timeline.entries.push_back(makeEntry(storeOf(environment).loadDashboard(), environment));
  timeline.policy = host::TimelineReloadPolicy::after(environment.now + reloadInterval);
  completion(std::move(timeline));
}

LimitEntry LimitTimelineProvider::makeEntry(std::optional<ZeltoDashboardSnapshot> dashboard,
                                            const host::RequestEnvironment& environment) {
  // 1. The stored offset is read in every case, already at most 0.
  const std::int64_t stored = storeOf(environment).readWeekOffset();
  LimitEntry entry;
  entry.date = environment.now;
  // 2. With a dashboard, the offset may reach back no further than its usage.
  if (dashboard) {
    const std::int64_t floor = earliestUsageWeekOffset(*dashboard, environment.calendar, environment.now);
    entry.usageWeekOffset = std::max(std::min<std::int64_t>(stored, 0), floor);
  }
  entry.dashboard = std::move(dashboard);
  return entry;
}

}  // namespace zelto
