#pragma once

#include "platform/kit/DisplayList.hpp"
#include "platform/kit/LaidOutTree.hpp"

namespace zelto::kit {

// The paint phase: the laid-out tree as drawing commands, back to front.
// Backgrounds come before their view and overlays after it; a shadow or a
// partial opacity wraps what it applies to in a layer; a rotation wraps it in
// a transform about its anchor; a disabled button's label is drawn in a layer
// at disabledButtonOpacity. Hidden views and fully transparent ones draw
// nothing; spacers, frames and stacks draw nothing of their own.
DisplayList paint(const LaidOutTree& tree);

}  // namespace zelto::kit
