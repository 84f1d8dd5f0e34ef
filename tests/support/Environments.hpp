#pragma once

#include <filesystem>
#include <string>

#include "platform/defaults/Suite.hpp"
#include "platform/host/RequestEnvironment.hpp"
#include "widget/model/SharedSnapshotStore.hpp"
#include "widget/model/SnapshotJson.hpp"

namespace zelto::testing {

// Wednesday 2025-03-12T10:00:00Z.
inline constexpr Date wednesdayMorning = 763466400;
inline constexpr double day = 86400;

inline host::RequestEnvironment environmentAt(Date now = wednesdayMorning, const std::string& timeZone = "UTC",
                                              int firstWeekday = 2) {
  return host::RequestEnvironment{now, *locale::Calendar::make(timeZone, firstWeekday), locale::Locale::make("en_US")};
}

// The app group's suite in `directory`.
inline SharedContainer containerIn(const std::filesystem::path& directory) {
  return SharedContainer{defaults::SuiteLocation{directory, "zelto-tests"}};
}

inline defaults::Suite suiteOf(const SharedContainer& container) {
  return defaults::Suite::open(container.suiteName, container.location);
}

inline void storeDashboard(const SharedContainer& container, const ZeltoDashboardSnapshot& dashboard) {
  suiteOf(container).setData(SharedSnapshotStore::dashboardKey, encodeJson(dashboard));
}

inline void storeOffset(const SharedContainer& container, std::int64_t offset) {
  suiteOf(container).setInteger(SharedSnapshotStore::weekOffsetKey, offset);
}

inline std::optional<std::int64_t> storedOffset(const SharedContainer& container) {
  return suiteOf(container).integer(SharedSnapshotStore::weekOffsetKey).value();
}

}  // namespace zelto::testing
