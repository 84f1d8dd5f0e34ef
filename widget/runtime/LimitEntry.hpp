#pragma once

#include <cstdint>
#include <optional>

#include "platform/locale/Date.hpp"
#include "widget/model/SnapshotRecords.hpp"

namespace zelto {

// One timeline entry: the moment it stands for, the accounts to show (absent
// when the suite held nothing readable) and the usage week the large widget
// shows. Invariant: earliestUsageWeekOffset <= usageWeekOffset <= 0 with a
// dashboard, exactly 0 without one.
struct LimitEntry {
  Date date = 0;
  std::optional<ZeltoDashboardSnapshot> dashboard;
  std::int64_t usageWeekOffset = 0;

  bool operator==(const LimitEntry&) const = default;
};

}  // namespace zelto
