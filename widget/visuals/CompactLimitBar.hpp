#pragma once

#include "platform/kit/Environment.hpp"
#include "platform/kit/View.hpp"
#include "widget/model/SnapshotRecords.hpp"

namespace zelto {

// A labelled row of one limit window: the upper-cased title and the
// remaining percentage (in its tone) on one line, a 5-point track below
// and, when `showsReset` is set and the window has a reset time, a
// "RESET <span>" line. Its texts are read as they are.
struct CompactLimitBar {
  ZeltoLimitWindow window;
  bool showsReset = true;

  kit::View body(const kit::Environment& environment) const;
};

}  // namespace zelto
