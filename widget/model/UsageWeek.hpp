#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "platform/locale/Calendar.hpp"
#include "widget/model/SnapshotRecords.hpp"

namespace zelto {

// Seven calendar days of one account's usage, derived on demand.
struct ZeltoUsageWeek {
  struct Day {
    Date date = 0;            // first instant of the day; the day's identity
    std::int64_t tokens = 0;  // never negative
    bool operator==(const Day&) const = default;
  };

  std::int64_t offset = 0;  // week shown: 0 current, negative past
  Date startDate = 0;       // first instant of the first day
  Date endDate = 0;         // first instant of the seventh day
  std::vector<Day> days;    // exactly seven, chronological
  std::optional<std::int64_t> currentStreakDays;
  bool isCurrentWeek = false;
  std::int64_t todayTokens = 0;
  std::int64_t totalTokens = 0;  // saturating sum
  std::int64_t peakTokens = 0;

  bool operator==(const ZeltoUsageWeek&) const = default;
};

// The week `offset` weeks from the one containing `now` (offsets above 0
// count as 0), or nothing without buckets or when the calendar fails.
std::optional<ZeltoUsageWeek> week(const ZeltoUsageSnapshot& usage, std::int64_t offset,
                                   const locale::Calendar& calendar, Date now);

// usageWeek() with `floor`, the dashboard's earliestUsageWeekOffset, already
// known.
std::optional<ZeltoUsageWeek> usageWeek(const ZeltoDashboardSnapshot& dashboard, std::int64_t offset,
                                        std::int64_t floor, const locale::Calendar& calendar, Date now);

// The week of the first account whose usage has buckets, with the offset
// bounded to [earliestUsageWeekOffset, 0].
std::optional<ZeltoUsageWeek> usageWeek(const ZeltoDashboardSnapshot& dashboard, std::int64_t offset,
                                        const locale::Calendar& calendar, Date now);

}  // namespace zelto
