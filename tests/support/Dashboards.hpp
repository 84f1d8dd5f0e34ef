#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "widget/model/SnapshotRecords.hpp"
#include "widget/model/UsageHistoryBounds.hpp"

namespace zelto::testing {

// A window with the given used percentage.
inline ZeltoLimitWindow window(std::string id, std::int64_t usedPercent) {
  return ZeltoLimitWindow{std::move(id), "5-hour", usedPercent, std::nullopt, std::nullopt};
}

// An account with limits whose windows have the given remaining percentages.
inline ZeltoAccountSnapshot limitedAccount(std::string id, const std::vector<std::int64_t>& remaining) {
  ZeltoLimitSnapshot limits;
  for (std::size_t i = 0; i < remaining.size(); ++i) {
    limits.windows.push_back(window(id + "-" + std::to_string(i), 100 - remaining[i]));
  }
  ZeltoAccountSnapshot account;
  account.id = id;
  account.name = id;
  account.limits = std::move(limits);
  return account;
}

inline ZeltoAccountSnapshot plainAccount(std::string id) {
  ZeltoAccountSnapshot account;
  account.id = id;
  account.name = id;
  return account;
}

// Usage with one bucket on each of the given instants.
inline ZeltoUsageSnapshot usageOn(const std::vector<Date>& days, const locale::Calendar& calendar,
                                  std::int64_t tokens = 1000) {
  ZeltoUsageSnapshot usage;
  for (Date day : days) usage.dailyUsageBuckets.push_back({dayKey(day, calendar), tokens});
  return usage;
}

inline std::vector<std::string> idsOf(const std::vector<ZeltoAccountSnapshot>& accounts) {
  std::vector<std::string> ids;
  for (const auto& account : accounts) ids.push_back(account.id);
  return ids;
}

}  // namespace zelto::testing
