#pragma once

#include "platform/kit/Environment.hpp"
#include "platform/kit/View.hpp"
#include "widget/model/SnapshotRecords.hpp"

namespace zelto {

// The medium widget for one account, in three columns split by hairlines:
// the account (header, credit badge, fetch age), up to two rings, and the
// time until the first credit expires when it has an expiry.
struct SingleAccountMediumView {
  ZeltoAccountSnapshot account;

  // Limits fetched longer ago than this are stale (the fetch age turns amber).
  static constexpr double staleAfterSeconds = 1800;

  kit::View body(const kit::Environment& environment) const;
};

}  // namespace zelto
