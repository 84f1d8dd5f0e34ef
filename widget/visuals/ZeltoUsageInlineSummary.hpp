#pragma once

#include <cstdint>

#include "platform/kit/Environment.hpp"
#include "platform/kit/View.hpp"
#include "widget/model/SnapshotRecords.hpp"

namespace zelto {

// An account's week of token usage on one line, read as one element:
// "TODAY 1.2M TOKENS / STREAK 4D" for the current week, "WEEK 8.1M TOKENS /
// PEAK 2.4M TOKENS" for a past one. The week is `weekOffset` weeks from the
// one containing now, in the environment's calendar; without one the
// summary draws nothing.
struct ZeltoUsageInlineSummary {
  ZeltoUsageSnapshot usage;
  std::int64_t weekOffset = 0;

  kit::View body(const kit::Environment& environment) const;
};

}  // namespace zelto
