#pragma once

#include <boost/json/value.hpp>

#include <cstdint>
#include <optional>
#include <ostream>

#include "platform/host/HostDriver.hpp"
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

// Each runs one host operation for `environment` and prints its JSON with a
// trailing newline. They return the process exit status.
int runPlaceholder(const host::RequestEnvironment& environment, std::ostream& out);
int runSnapshot(const host::RequestEnvironment& environment, bool isPreview, std::ostream& out);
int runTimeline(const host::RequestEnvironment& environment, std::ostream& out);
int runIntent(const host::RequestEnvironment& environment, WeekDirection direction, std::ostream& out);
int runWeek(const host::RequestEnvironment& environment, std::optional<std::int64_t> offset, std::ostream& out);

}  // namespace zelto::cli
