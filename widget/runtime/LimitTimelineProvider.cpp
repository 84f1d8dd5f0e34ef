#include "widget/runtime/LimitTimelineProvider.hpp"

#include "widget/model/UsageHistoryBounds.hpp"

namespace zelto {

LimitEntry LimitTimelineProvider::placeholder(const host::TimelineProviderContext& context) const {
  const auto& environment = context.environment;
  return LimitEntry{environment.now, ZeltoDashboardSnapshot::sample(environment.now, environment.calendar), 0, {}};
}

void LimitTimelineProvider::getSnapshot(const host::TimelineProviderContext& context,
                                        const std::function<void(LimitEntry)>& completion) const {
  const auto& environment = context.environment;
  const SharedSnapshotStore store(container_);
  if (context.isPreview) {
    completion(makeEntry(std::optional(ZeltoDashboardSnapshot::sample(environment.now, environment.calendar)), store,
                         environment));
  } else {
    completion(makeEntry(store.loadDashboard(), store, environment));
  }
}

void LimitTimelineProvider::getTimeline(const host::TimelineProviderContext& context,
                                        const std::function<void(host::Timeline<LimitEntry>)>& completion) const {
  const auto& environment = context.environment;
  const SharedSnapshotStore store(container_);
  host::Timeline<LimitEntry> timeline;
  timeline.entries.push_back(makeEntry(store.loadDashboard(), store, environment));
  const bool transient = timeline.entries.back().transientFailure.has_value();
  timeline.policy = host::TimelineReloadPolicy::after(environment.now + (transient ? retryInterval : reloadInterval));
  completion(std::move(timeline));
}

LimitEntry LimitTimelineProvider::makeEntry(StoreRead<std::optional<ZeltoDashboardSnapshot>> dashboard,
                                            const SharedSnapshotStore& store,
                                            const host::RequestEnvironment& environment) {
  LimitEntry entry;
  entry.date = environment.now;
  // 1. The stored offset is read in every case, already at most 0.
  const StoreRead<std::int64_t> stored = store.readWeekOffset();
  if (dashboard.isBusy() || stored.isBusy()) {
    entry.transientFailure = (dashboard.isBusy() ? dashboard.busy() : stored.busy()).message;
    return entry;
  }
  // 2. With a dashboard, the offset may reach back no further than its usage.
  entry.dashboard = std::move(dashboard).value();
  if (entry.dashboard) {
    entry.usageWeekOffset = boundedWeekOffset(
        stored.value(), earliestUsageWeekOffset(*entry.dashboard, environment.calendar, environment.now));
  }
  return entry;
}

}  // namespace zelto
