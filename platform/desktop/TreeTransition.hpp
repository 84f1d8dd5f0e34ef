#pragma once

#include <cstddef>
#include <optional>

#include "platform/kit/DisplayList.hpp"
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

namespace zelto::desktop {

// The commands of a transition's frames that change while it runs: between
// `start` (the first frame's list) and `end` (the last one's), the range
// [first, last) spanning every command that differs, widened so that no layer
// and no clip or transform opened inside it is still open past it, and no
// layer opened before it is still open inside it. What lies before and after
// the range is the same in every frame of the transition, so it can be drawn
// once. Nothing when the lists differ in length or nothing differs.
struct MovingCommands {
  std::size_t first = 0;
  std::size_t last = 0;
};
std::optional<MovingCommands> movingCommands(const kit::DisplayList& start, const kit::DisplayList& end);

// The three parts of `list` around `moving`, each a list whose pushes and
// pops match: the commands before the range, those in it, and those after it,
// with the clips and transforms open at each boundary closed before it and
// opened again after it. Played one over the other they draw `list`.
struct SplitDisplayList {
  kit::DisplayList below;
  kit::DisplayList moving;
  kit::DisplayList above;
};
SplitDisplayList splitDisplayList(const kit::DisplayList& list, MovingCommands moving);

}  // namespace zelto::desktop
