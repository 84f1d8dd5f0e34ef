#include "widget/model/SharedSnapshotStore.hpp"

#include <algorithm>
#include <utility>

#include "platform/defaults/Suite.hpp"
#include "widget/model/SnapshotJson.hpp"

namespace zelto {

SharedSnapshotStore::SharedSnapshotStore(defaults::SuiteLocation location, std::string suiteName)
    : location_(std::move(location)), suiteName_(std::move(suiteName)) {}

std::optional<ZeltoDashboardSnapshot> SharedSnapshotStore::loadDashboard() const {
  // 1. The current record wins whenever it decodes.
  if (std::optional<std::string> bytes = defaults::Suite::open(suiteName_, location_).data(dashboardKey)) {
    if (auto dashboard = decodeDashboardSnapshot(*bytes)) return std::move(dashboard).value();
  }

  // 2. Otherwise an older single-account record, wrapped as a dashboard of
  // one account; the suite is opened anew for it.
  std::optional<std::string> legacyBytes = defaults::Suite::open(suiteName_, location_).data(legacyLimitKey);
  if (!legacyBytes) return std::nullopt;
  auto limits = decodeLimitSnapshot(*legacyBytes);
  if (!limits) return std::nullopt;

  ZeltoAccountSnapshot account;
  account.id = "default";
  account.name = "Default";
  account.limits = std::move(limits).value();
  ZeltoDashboardSnapshot dashboard;
  dashboard.updatedAt = account.limits->fetchedAt;
  dashboard.accounts.push_back(std::move(account));
  return dashboard;
}

std::int64_t SharedSnapshotStore::readWeekOffset() const {
  const std::int64_t stored = defaults::Suite::open(suiteName_, location_).integer(weekOffsetKey).value_or(0);
  return std::min<std::int64_t>(stored, 0);
}

void SharedSnapshotStore::writeWeekOffset(std::int64_t offset) const {
  // A failed write leaves the previous offset in place; like every other
  // store failure it is not reported.
  (void)defaults::Suite::open(suiteName_, location_).setInteger(weekOffsetKey, std::min<std::int64_t>(offset, 0));
}

}  // namespace zelto
