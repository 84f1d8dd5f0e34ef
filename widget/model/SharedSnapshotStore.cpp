#include "widget/model/SharedSnapshotStore.hpp"

#include <utility>

#include "widget/model/SnapshotJson.hpp"
#include "widget/model/UsageHistoryBounds.hpp"

namespace zelto {

SharedSnapshotStore::SharedSnapshotStore(const SharedContainer& container)
    : suite_(defaults::Suite::open(container.suiteName, container.location)) {}

StoreRead<std::optional<ZeltoDashboardSnapshot>> SharedSnapshotStore::loadDashboard() const {
  // 1. The current record wins whenever it decodes.
  auto bytes = suite_.data(dashboardKey);
  if (bytes.isBusy()) return bytes.busy();
  if (bytes.value()) {
    if (auto dashboard = decodeDashboardSnapshot(*bytes.value())) return std::optional(std::move(dashboard).value());
  }

  // 2. Otherwise an older single-account record, wrapped as a dashboard of
  // one account.
  auto legacyBytes = suite_.data(legacyLimitKey);
  if (legacyBytes.isBusy()) return legacyBytes.busy();
  if (!legacyBytes.value()) return std::optional<ZeltoDashboardSnapshot>();
  auto limits = decodeLimitSnapshot(*legacyBytes.value());
  if (!limits) return std::optional<ZeltoDashboardSnapshot>();

  ZeltoAccountSnapshot account;
  account.id = "default";
  account.name = "Default";
  account.limits = std::move(limits).value();
  ZeltoDashboardSnapshot dashboard;
  dashboard.updatedAt = account.limits->fetchedAt;
  dashboard.accounts.push_back(std::move(account));
  return std::optional(std::move(dashboard));
}

StoreRead<std::int64_t> SharedSnapshotStore::readWeekOffset() const {
  const auto stored = suite_.integer(weekOffsetKey);
  if (stored.isBusy()) return stored.busy();
  return atMostCurrentWeek(stored.value().value_or(0));
}

std::optional<defaults::SuiteError> SharedSnapshotStore::writeWeekOffset(std::int64_t offset) const {
  return suite_.setInteger(weekOffsetKey, atMostCurrentWeek(offset));
}

}  // namespace zelto
