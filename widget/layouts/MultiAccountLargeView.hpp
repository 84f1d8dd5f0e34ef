#pragma once

#include <cstdint>

#include "platform/kit/Environment.hpp"
#include "platform/kit/View.hpp"
#include "widget/model/SnapshotRecords.hpp"

namespace zelto {

// One account's limits in a glass card: header, credit count, plan badge and
// up to two limit bars; a warning line when the account has no limits.
// `dense` tightens the spacing and shortens the texts.
struct LimitOnlyAccountRow {
  ZeltoAccountSnapshot account;
  bool dense = false;

  kit::View body(const kit::Environment& environment) const;
};

// The large widget: a header with the product title, the number of accounts
// and the dashboard's age; up to three account rows; and the token activity
// panel for the entry's week when a shown account has daily usage. With three
// or more accounts everything tightens.
struct MultiAccountLargeView {
  ZeltoDashboardSnapshot dashboard;
  std::int64_t usageWeekOffset = 0;

  // Accounts stored from which the layout tightens.
  static constexpr std::size_t crowdedFrom = 3;
  // Rows shown at most.
  static constexpr std::int64_t shownAccounts = 3;

  kit::View body(const kit::Environment& environment) const;
};

}  // namespace zelto
