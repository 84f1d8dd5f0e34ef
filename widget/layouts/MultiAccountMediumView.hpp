#pragma once

#include "platform/kit/Environment.hpp"
#include "platform/kit/View.hpp"
#include "widget/model/SnapshotRecords.hpp"

namespace zelto {

// One account in a glass card: header, its first window's title, percentage,
// gauge and reset time, and a footer with its reset credits.
struct CompactAccountCard {
  ZeltoAccountSnapshot account;

  kit::View body(const kit::Environment& environment) const;
};

// The medium widget for two accounts with limits: the two accounts that
// prioritization puts first, side by side in equal cards.
struct MultiAccountMediumView {
  ZeltoDashboardSnapshot dashboard;

  kit::View body(const kit::Environment& environment) const;
};

}  // namespace zelto
