#pragma once

#include <boost/json/value.hpp>

#include <cstdint>
#include <optional>
#include <ostream>

#include "platform/host/HostDriver.hpp"
#include "widget/model/SharedSnapshotStore.hpp"
#include "widget/model/UsageWeek.hpp"
#include "widget/runtime/LimitEntry.hpp"

namespace zelto::cli {

// {"date": D, "dashboard": S or null, "usageWeekOffset": N}
boost::json::value entryJson(const LimitEntry& entry);
// {"entries": [...], "reloadAfter": D}
boost::json::value timelineJson(const host::Timeline<LimitEntry>& timeline);
// The week with the record's field names, its range label and abbreviated
// figures; null without a week.
boost::json::value weekJson(const std::optional<ZeltoUsageWeek>& week, const host::RequestEnvironment& environment);

enum class WeekDirection { previous, next };

// Each runs one host operation for `environment` on the suite in
// `container` and prints its JSON with a trailing newline. They return the
// process exit status, and throw SuiteBusyError when the suite could not be
// read now (nothing is printed then) and UsageError when an intent cannot
// write the suite.
int runPlaceholder(const host::RequestEnvironment& environment, const SharedContainer& container, std::ostream& out);
int runSnapshot(const host::RequestEnvironment& environment, const SharedContainer& container, bool isPreview,
                std::ostream& out);
int runTimeline(const host::RequestEnvironment& environment, const SharedContainer& container, std::ostream& out);
// Runs the intent through the host driver, then prints the week offset the
// widget's new timeline shows and the kinds whose reload it asked for.
int runIntent(const host::RequestEnvironment& environment, const SharedContainer& container, WeekDirection direction,
              std::ostream& out);
int runWeek(const host::RequestEnvironment& environment, const SharedContainer& container,
            std::optional<std::int64_t> offset, std::ostream& out);

}  // namespace zelto::cli
