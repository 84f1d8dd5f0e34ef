#pragma once

#include <cstdint>
#include <set>
#include <string>
#include <vector>

#include "platform/host/RequestEnvironment.hpp"
#include "widget/model/SnapshotRecords.hpp"

namespace zelto::cli {

// One desktop notification to send, and the marks that say it was sent.
struct DueNotification {
  std::string id;     // also the notification's id on the desktop
  std::string title;  // "Personal · 5-hour"
  std::string body;   // "20% left · resets in 2 hr, 18 min"
  std::vector<std::string> marks;

  bool operator==(const DueNotification&) const = default;
};

// The notifications due for `dashboard` at the environment's clock, given
// the marks of those already sent. A window of a shown account (the first
// `shownAccounts` in the widget's order) warns once when its remaining falls
// to 25 % or below and once more at 10 % or below, per reset period (account
// id, window title and reset time); a window that is already at 10 % or
// below when first seen warns once. A reset credit of a shown account warns
// once when it expires within 24 hours. Windows whose reset time and credits
// whose expiry have passed are stale data and warn never.
std::vector<DueNotification> dueNotifications(const ZeltoDashboardSnapshot& dashboard, std::int64_t shownAccounts,
                                              const host::RequestEnvironment& environment,
                                              const std::set<std::string>& sent);

// The marks still worth keeping at `now`: those of reset periods and
// credits that have not ended.
std::set<std::string> liveMarks(const std::set<std::string>& marks, Date now);

}  // namespace zelto::cli
