#pragma once

#include <optional>

#include "platform/kit/LaidOutTree.hpp"

namespace zelto::desktop {

// The spring with which to animate from `from` to `to`: that of the first
// view (in tree order) that carries an animation in both renders under the
// same identity and whose animated value changed. Nothing when no animated
// value changed.
std::optional<kit::SpringAnimation> changedAnimation(const kit::LaidOutTree& from, const kit::LaidOutTree& to);

// `to` on its way from `from`, `progress` of the way there (0 is where `from`
// had its views, 1 is `to`): inside every view whose animated value changed,
// each view that both renders have under the same identity moves and resizes
// from its old frame towards its new one; views new to `to` take their place
// at once. Contents (texts, colours) are those of `to`. Progress beyond 1
// (a spring's overshoot) extrapolates.
kit::LaidOutTree interpolatedTree(const kit::LaidOutTree& from, const kit::LaidOutTree& to, double progress);

}  // namespace zelto::desktop
