#pragma once

#include <string>
#include <vector>

#include "platform/kit/Button.hpp"
#include "platform/kit/Geometry.hpp"
#include "platform/kit/LaidOutTree.hpp"

namespace zelto::kit {

// Where an intent button can be clicked.
struct HitRegion {
  std::string identity;
  Rect frame;
  IntentReference intent;
  bool enabled = true;
  bool operator==(const HitRegion&) const = default;
};

// Every button that is drawn, in drawing order (later ones lie on top).
// Hidden buttons have no region. Frames are layout frames: a rotation effect
// does not turn them.
std::vector<HitRegion> hitRegions(const LaidOutTree& tree);

// The topmost region that contains `point`, enabled or not (a disabled
// button still takes the click, and nothing runs); nullptr where there is none.
const HitRegion* regionAt(const std::vector<HitRegion>& regions, Point point);

}  // namespace zelto::kit
