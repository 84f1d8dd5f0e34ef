#pragma once

#include <cstdint>
#include <optional>
#include <string>

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
  // Set when the suite could not be read now (another process held it past
  // the wait, or the disk failed), with what went wrong. The entry then has
  // no dashboard, and is not "no data": a host keeps showing its last good
  // entry and asks again soon.
  std::optional<std::string> transientFailure;

  bool operator==(const LimitEntry&) const = default;
};

}  // namespace zelto
