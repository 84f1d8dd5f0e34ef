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

inline host::RequestEnvironment environmentIn(const std::filesystem::path& directory, Date now = wednesdayMorning,
                                              const std::string& timeZone = "UTC", int firstWeekday = 2) {
  return host::RequestEnvironment{now, *locale::Calendar::make(timeZone, firstWeekday), locale::Locale::make("en_US"),
                                  host::SharedContainer{defaults::SuiteLocation{directory, "zelto-tests"},
                                                        SharedSnapshotStore::appGroupIdentifier}};
}

inline defaults::Suite suiteOf(const host::RequestEnvironment& environment) {
  return defaults::Suite::open(environment.container.suiteName, environment.container.location);
}

inline void storeDashboard(const host::RequestEnvironment& environment, const ZeltoDashboardSnapshot& dashboard) {
  suiteOf(environment).setData(SharedSnapshotStore::dashboardKey, encodeJson(dashboard));
}

inline void storeOffset(const host::RequestEnvironment& environment, std::int64_t offset) {
  suiteOf(environment).setInteger(SharedSnapshotStore::weekOffsetKey, offset);
}

inline std::optional<std::int64_t> storedOffset(const host::RequestEnvironment& environment) {
  return suiteOf(environment).integer(SharedSnapshotStore::weekOffsetKey);
}

}  // namespace zelto::testing
