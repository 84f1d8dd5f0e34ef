#pragma once

#include <cstdint>
#include <vector>

#include "platform/kit/Environment.hpp"
#include "platform/kit/View.hpp"
#include "widget/model/SnapshotRecords.hpp"

namespace zelto {

// The large widget's card of daily token usage: a "TOKEN ACTIVITY" header
// with the week navigator, then, for the accounts offered that have usage
// buckets (in the order given), either one chart column each for the first
// two of them (roomy) or a one-line summary row for every one (dense).
// Accounts without buckets are skipped; with none left the body is empty.
struct WidgetTokenActivityPanel {
  // The whole dashboard, for the navigator's week and its bounds.
  ZeltoDashboardSnapshot dashboard;
  std::vector<ZeltoAccountSnapshot> accounts;
  std::int64_t weekOffset = 0;
  bool dense = false;

  kit::View body(const kit::Environment& environment) const;
};

}  // namespace zelto
