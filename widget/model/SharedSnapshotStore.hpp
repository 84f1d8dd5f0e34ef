#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "platform/defaults/SuiteLocation.hpp"
#include "widget/model/SnapshotRecords.hpp"

namespace zelto {

// The widget's only source of data: the suite shared with the companion
// application. Holds no state; every call opens the suite anew.
class SharedSnapshotStore {
 public:
  // The app-group identifier that the companion application writes to.
  static constexpr const char* appGroupIdentifier = "group.zelto.limits";
  static constexpr const char* dashboardKey = "zelto-dashboard-snapshot-v2";
  static constexpr const char* legacyLimitKey = "zelto-limit-snapshot-v1";
  static constexpr const char* weekOffsetKey = "zelto-usage-week-offset-v1";

  explicit SharedSnapshotStore(defaults::SuiteLocation location, std::string suiteName = appGroupIdentifier);

  // The current record when it decodes; else the legacy single-account
  // record wrapped as a one-account dashboard; else nothing.
  std::optional<ZeltoDashboardSnapshot> loadDashboard() const;

  // The stored week offset, 0 when missing, never above 0.
  std::int64_t readWeekOffset() const;

  // Stores min(offset, 0), even when unchanged.
  void writeWeekOffset(std::int64_t offset) const;

  const defaults::SuiteLocation& location() const { return location_; }
  const std::string& suiteName() const { return suiteName_; }

 private:
  defaults::SuiteLocation location_;
  std::string suiteName_;
};

}  // namespace zelto
