#pragma once

#include "platform/kit/View.hpp"

namespace zelto::desktop {

// The motion of a spring released from 0 towards 1, as a widget host plays
// a view's change: `response` is the period of the undamped oscillation in
// seconds, `dampingFraction` 1 is critically damped (no overshoot), below 1
// it overshoots and rings, above 1 it creeps.
class SpringCurve {
 public:
  explicit SpringCurve(const kit::SpringAnimation& spring);

  // Where the spring is `seconds` after its release: 0 at the start, 1 once
  // it has settled (and for every time after that).
  double progress(double seconds) const;

  // When the spring has come to rest: from then on it stays within a
  // thousandth of its target, less than one device pixel on any widget.
  double settlingTime() const { return settlingTime_; }

 private:
  double unsettledProgress(double seconds) const;

  double angularFrequency_;
  double dampingFraction_;
  double settlingTime_;
};

}  // namespace zelto::desktop
