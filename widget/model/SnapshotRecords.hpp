#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "platform/locale/Calendar.hpp"
#include "platform/locale/Date.hpp"

namespace zelto {

// The records the companion application stores as JSON. Plain values,
// compared field by field; absent optional fields are std::nullopt.

// One rate-limit window. Identity: `id`.
struct ZeltoLimitWindow {
  std::string id;
  std::string title;
  std::int64_t usedPercent = 0;  // nominally 0...100, kept as read
  std::optional<Date> resetsAt;
  std::optional<std::int64_t> durationMinutes;

  // 100 - usedPercent, clamped to 0...100, without overflow for any input.
  std::int64_t remainingPercent() const;

  bool operator==(const ZeltoLimitWindow&) const = default;
};

// One reset credit. Identity: `id`.
struct ZeltoResetCredit {
  std::string id;
  std::string title;
  std::optional<Date> expiresAt;

  bool operator==(const ZeltoResetCredit&) const = default;
};

// The rate-limit state of one account; also the whole record of the older
// single-account format.
struct ZeltoLimitSnapshot {
  Date fetchedAt = 0;
  std::optional<std::string> plan;
  std::vector<ZeltoLimitWindow> windows;
  std::optional<std::string> creditBalance;
  std::vector<ZeltoResetCredit> resetCredits;

  // The plan with its first user-perceived character upper-cased by the
  // locale-independent mapping; absent when the plan is absent or empty.
  std::optional<std::string> planDisplayName() const;

  // The shared sample, built once on first use (see sampleDashboard).
  static const ZeltoLimitSnapshot& sample(Date now, const locale::Calendar& calendar);

  bool operator==(const ZeltoLimitSnapshot&) const = default;
};

// One daily bucket. Identity: `startDate`.
struct ZeltoUsageDay {
  std::string startDate;  // a day key, "2025-03-09"
  std::int64_t tokens = 0;

  bool operator==(const ZeltoUsageDay&) const = default;
};

// Lifetime figures; each independent and optional.
struct ZeltoUsageSummary {
  std::optional<std::int64_t> currentStreakDays;
  std::optional<std::int64_t> lifetimeTokens;
  std::optional<std::int64_t> longestRunningTurnSec;
  std::optional<std::int64_t> longestStreakDays;
  std::optional<std::int64_t> peakDailyTokens;

  bool operator==(const ZeltoUsageSummary&) const = default;
};

// Token usage of one account.
struct ZeltoUsageSnapshot {
  Date fetchedAt = 0;
  std::vector<ZeltoUsageDay> dailyUsageBuckets;
  ZeltoUsageSummary summary;

  static const ZeltoUsageSnapshot& sample(Date now, const locale::Calendar& calendar);

  bool operator==(const ZeltoUsageSnapshot&) const = default;
};

// One account. Identity: `id`.
struct ZeltoAccountSnapshot {
  std::string id;
  std::string name;
  std::optional<std::string> email;
  std::optional<ZeltoLimitSnapshot> limits;
  std::optional<ZeltoUsageSnapshot> usage;
  std::optional<std::string> errorMessage;

  // `name` trimmed of Unicode white space and line breaks when that leaves
  // text; else `email` exactly as stored; else "Zelto Account".
  std::string displayName() const;

  bool operator==(const ZeltoAccountSnapshot&) const = default;
};

// The whole stored state of the current format.
struct ZeltoDashboardSnapshot {
  Date updatedAt = 0;
  std::vector<ZeltoAccountSnapshot> accounts;

  // The sample shown before real data exists: built once, at the first call,
  // with that call's `now` as build time and its calendar; every later call
  // returns the same value. Safe when first calls race.
  static const ZeltoDashboardSnapshot& sample(Date now, const locale::Calendar& calendar);

  bool operator==(const ZeltoDashboardSnapshot&) const = default;
};

}  // namespace zelto
