#pragma once

#include <cstdint>

#include "platform/kit/Environment.hpp"
#include "platform/kit/View.hpp"
#include "widget/model/SnapshotRecords.hpp"

namespace zelto {

// An account's week of token usage in a rounded panel: a tile with two
// figures (today's tokens and the streak for the current week; the week's
// total and its peak day for a past week) and, below it or beside it, the
// week's bar chart. The week is `weekOffset` weeks from the one containing
// now, in the environment's calendar; without one the pulse draws nothing.
// A change of week springs into place unless the user asked for reduced
// motion.
struct ZeltoUsagePulse {
  ZeltoUsageSnapshot usage;
  std::int64_t weekOffset = 0;
  // Whether the chart follows the tile; the side-by-side arrangement always
  // shows it.
  bool showsChart = true;
  // Smaller paddings, radii and fonts.
  bool compact = false;
  // Tile and chart side by side (the chart then always in its compact size).
  bool horizontal = false;

  kit::View body(const kit::Environment& environment) const;
};

// How the pulse animates a change of week: a critically damped spring.
inline constexpr kit::SpringAnimation usagePulseSpring{0.34, 1, 0};

}  // namespace zelto
