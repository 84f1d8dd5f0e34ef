#pragma once

#include "platform/kit/DisplayList.hpp"
#include "platform/kit/LaidOutTree.hpp"

namespace zelto::kit {

// The paint phase: the laid-out tree as drawing commands, back to front.
// Backgrounds come before their view and overlays after it; a shadow wraps
// what it applies to in a layer; a rotation wraps it in a transform about its
// anchor. Opacity, a disabled button's dimming included, fades each drawn
// leaf on its own, so overlapping leaves show through each other; below a
// compositing group the leaves are drawn at their opacity relative to the
// group, and the group is one layer at its own. Hidden views and fully
// transparent ones draw nothing; spacers, frames and stacks draw nothing of
// their own.
DisplayList paint(const LaidOutTree& tree);

}  // namespace zelto::kit
