#pragma once

#include <array>
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

// The seven days of the week `offset` weeks from the one containing `now`
// (offsets above 0 count as 0): what the weeks of every account share, so
// that several accounts' weeks can be found with one pass over the calendar.
struct ZeltoUsageWeekDays {
  std::int64_t offset = 0;  // as asked; 0 or above is the current week
  Date now = 0;
  std::string timeZoneId;  // the calendar they were found in
  int firstWeekday = 0;
  Date start = 0;                     // first instant of the week
  std::array<Date, 7> dates{};        // first instant of each day
  std::array<std::string, 7> keys;    // their day keys
  std::array<bool, 7> isToday{};      // whether the day is that of `now`

  // Whether these are the days week(usage, offset, calendar, now) would find.
  bool areFor(std::int64_t offset, const locale::Calendar& calendar, Date now) const;
};

// The days, or nothing when the calendar fails.
std::optional<ZeltoUsageWeekDays> weekDays(std::int64_t offset, const locale::Calendar& calendar, Date now);

// week() over days already found; nothing without buckets.
std::optional<ZeltoUsageWeek> week(const ZeltoUsageSnapshot& usage, const ZeltoUsageWeekDays& days);

// usageWeek() with `floor`, the dashboard's earliestUsageWeekOffset, already
// known, and over `days` when they are those of the bounded offset.
std::optional<ZeltoUsageWeek> usageWeek(const ZeltoDashboardSnapshot& dashboard, std::int64_t offset,
                                        std::int64_t floor, const locale::Calendar& calendar, Date now,
                                        const ZeltoUsageWeekDays* days = nullptr);

// The week of the first account whose usage has buckets, with the offset
// bounded to [earliestUsageWeekOffset, 0].
std::optional<ZeltoUsageWeek> usageWeek(const ZeltoDashboardSnapshot& dashboard, std::int64_t offset,
                                        const locale::Calendar& calendar, Date now);


}  // namespace zelto
