#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "platform/defaults/Suite.hpp"
#include "widget/model/SnapshotRecords.hpp"

namespace zelto {

// The outcome of a read of the shared suite: what was found, or "could not
// read now" (defaults::SuiteBusy) when another process held the suite past
// the wait or the disk failed. Only the first can be "no data".
template <class T>
using StoreRead = defaults::SuiteRead<T>;

struct SharedContainer;

// The widget's only source of data: the suite shared with the companion
// application. One store serves one request: it opens the suite once, and
// every read and write of that request goes through the same suite, with at
// most one wait of 2 s in total for a suite another process holds. Nothing is
// cached: every read sees what is stored at that moment.
class SharedSnapshotStore {
 public:
  // The app-group identifier that the companion application writes to.
  static constexpr const char* appGroupIdentifier = "group.zelto.limits";
  static constexpr const char* dashboardKey = "zelto-dashboard-snapshot-v2";
  static constexpr const char* legacyLimitKey = "zelto-limit-snapshot-v1";
  static constexpr const char* weekOffsetKey = "zelto-usage-week-offset-v1";

  // Opens the container's suite, or the process's standard suite when that
  // one cannot be used.
  explicit SharedSnapshotStore(const SharedContainer& container);

  // The current record when it decodes; else the legacy single-account
  // record wrapped as a one-account dashboard; else nothing.
  StoreRead<std::optional<ZeltoDashboardSnapshot>> loadDashboard() const;

  // The stored week offset, 0 when missing, never above 0.
  StoreRead<std::int64_t> readWeekOffset() const;

  // Stores the offset, never above 0, even when unchanged. Says why when
  // the write did not happen.
  std::optional<defaults::SuiteError> writeWeekOffset(std::int64_t offset) const;

 private:
  defaults::Suite suite_;
};

// Where the widget's data lives: the folder of the suites and the app-group
// suite name that the widget and its companion application share. The
// programs find it; the host knows nothing of it.
struct SharedContainer {
  defaults::SuiteLocation location;
  std::string suiteName = SharedSnapshotStore::appGroupIdentifier;
};

}  // namespace zelto
